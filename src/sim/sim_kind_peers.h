#pragma once
// The simulated controls of the kinds with properties of their own, each
// holding only its kind's state. Tests reach them with SimToolkit::Get<P>.
#include <string>
#include <vector>

#include "sim/sim_ui.h"

namespace wakumo {

class SimFormPeer : public SimControlPeer, public FormPeer {
 public:
  SimFormPeer(SimToolkit& tk, SimControlPeer* parent, PeerEvents& events, std::string name);

  int ScreenDpi() const override { return dpi_; }
  void SetBounds(const Rect& r) override;
  Rect Bounds() const override;
  void SetClientSize(int width, int height) override;
  Rect ClientRect() const override;
  void SetBorderIcons(bool system_menu, bool minimize, bool maximize) override;
  void SetStayOnTop(bool on) override;
  bool StayOnTop() const override;
  void SetPopupMenu(PopupMenuPeer* menu) override { popup_menu_ = menu; }
  // Shows, raises and activates the window.
  void Show() override;
  // Raises PeerClose, then hides; closing the main form ends the
  // application (SimApplication::Terminated()).
  void Close() override;
  Rect WindowRect() const override;
  void SetWindowRect(const Rect& r) override;
  // A sizing border. Every size change of a sizeable form, the program's own
  // included, asks PeerCanResize first; a refused one keeps the old size (a
  // move still happens). PeerResize follows any change.
  void SetSizeable(bool on) override;
  // A dialog frame (WS_EX_DLGMODALFRAME_, no sizing border).
  void SetDialogFrame(bool on) override;
  // See SimToolkit::ScriptModal.
  ModalResult ShowModal() override;
  void EndModal(ModalResult result) override;

  // ---- Test side ----
  PopupMenuPeer* PopupMenu() const { return popup_menu_; }
  // Show() was called on it.
  bool Shown() const { return shown_; }
  bool Sizeable() const { return sizeable_; }
  // Until its position is set, a form stays centred on the screen.
  bool Centred() const { return centred_; }
  // Between ShowModal and EndModal.
  bool ModalOpen() const { return modal_open_; }
  // The move to a monitor of another DPI, as the window system makes it: the
  // old rectangle scaled, the client size kept in design pixels, then
  // PeerDpiChanged; none of these size changes asks PeerCanResize.
  void ChangeDpi(int new_dpi);
  bool DialogFrame() const { return dialog_frame_; }

 private:
  friend class SimToolkit;
  void Recentre();
  void SetFormRect(Rect r);
  int ScaleDesign(int v) const;

  PopupMenuPeer* popup_menu_ = nullptr;
  bool shown_ = false;
  bool centred_ = true;
  bool sizeable_ = false;
  bool modal_open_ = false;
  ModalResult modal_result_ = ModalResult::mrNone;
  int dpi_ = 96;
  bool dpi_changing_ = false;
  bool dialog_frame_ = false;
};

class SimPanelPeer : public SimControlPeer, public PanelPeer {
 public:
  using SimControlPeer::SimControlPeer;
  void SetBevel(BevelKind outer, BevelKind inner) override { bevel_outer_ = outer; bevel_inner_ = inner; }
  BevelKind BevelOuter() const override { return bevel_outer_; }
  BevelKind BevelInner() const override { return bevel_inner_; }
  void SetAlignment(TextAlign a) override { alignment_ = a; }
  TextAlign Alignment() const { return alignment_; }

 private:
  BevelKind bevel_outer_ = BevelKind::bvNone;
  BevelKind bevel_inner_ = BevelKind::bvNone;
  TextAlign alignment_ = TextAlign::taLeftJustify;
};

class SimLabelPeer : public SimControlPeer, public LabelPeer {
 public:
  using SimControlPeer::SimControlPeer;
  void SetAlignment(TextAlign a) override { alignment_ = a; }
  void SetWordWrap(bool w) override { word_wrap_ = w; }
  TextAlign Alignment() const { return alignment_; }
  bool WordWrap() const { return word_wrap_; }

 private:
  TextAlign alignment_ = TextAlign::taLeftJustify;
  bool word_wrap_ = false;
};

// Images; speed buttons show their glyph the same way.
class SimPicturePeer : public SimControlPeer, public virtual PicturePeer {
 public:
  using SimControlPeer::SimControlPeer;
  void SetPicture(const std::string& resource, bool transparent) override;
  std::string Picture() const override { return picture_; }
  bool PictureTransparent() const { return picture_transparent_; }

 private:
  std::string picture_;
  bool picture_transparent_ = false;
};

// Clicked by SimToolkit::Click: with a group it goes down (releasing the
// others of its group), or up when it was down and all-up is allowed.
class SimSpeedButtonPeer : public SimPicturePeer, public SpeedButtonPeer {
 public:
  using SimPicturePeer::SimPicturePeer;
  void SetChecked(bool c) override { checked_ = c; }
  bool Checked() const override { return checked_; }
  void SetSpeedStyle(bool flat, int group, bool allow_all_up) override;
  bool Flat() const { return flat_; }
  int GroupIndex() const { return group_index_; }
  bool AllowAllUp() const { return allow_all_up_; }

 private:
  friend class SimToolkit;
  bool checked_ = false;
  bool flat_ = false;
  int group_index_ = 0;
  bool allow_all_up_ = false;
};

// SimToolkit::Click toggles it.
class SimCheckBoxPeer : public SimControlPeer, public CheckBoxPeer {
 public:
  using SimControlPeer::SimControlPeer;
  void SetChecked(bool c) override { checked_ = c; }
  bool Checked() const override { return checked_; }
  void SetRightAligned(bool r) override { right_aligned_ = r; }
  bool RightAligned() const { return right_aligned_; }

 private:
  friend class SimToolkit;
  bool checked_ = false;
  bool right_aligned_ = false;
};

// Clicked by SimToolkit::PressDialogKey.
class SimButtonPeer : public SimControlPeer, public ButtonPeer {
 public:
  using SimControlPeer::SimControlPeer;
};

// Combo boxes and drop-down lists.
class SimItemsPeer : public SimControlPeer, public ItemsPeer {
 public:
  using SimControlPeer::SimControlPeer;
  // New entries clear the selection (and a drop-down list's text).
  void SetItems(const std::vector<std::string>& items) override;
  std::vector<std::string> Items() const override { return items_; }
  // An index out of range selects nothing and empties the text, as the
  // real control does; no event is raised.
  void SetItemIndex(int index) override;
  int ItemIndex() const override { return item_index_; }

 private:
  friend class SimToolkit;
  std::vector<std::string> items_;
  int item_index_ = -1;
};

// Caret and selection in UTF-16 units, the modified state, and whether the
// window has a parent. Setting the text (the program's, not the user's) puts
// the caret at the start, clears the modified state and raises one change at
// once, as the real edit does. Read-only and the maximum length are kept for
// tests to read; the simulated typing does not apply them.
class SimEditPeer : public SimControlPeer, public EditPeer {
 public:
  using SimControlPeer::SimControlPeer;
  void SetCaption(const std::string& text) override;
  void SetAlignment(TextAlign a) override { alignment_ = a; }
  int SelStart() const override { return sel_start_; }
  int SelLength() const override { return sel_length_; }
  void SetSel(int start, int length) override;
  bool Modified() const override { return modified_; }
  void SetModified(bool m) override { modified_ = m; }
  void SetReadOnly(bool r) override { read_only_ = r; }
  void SetMaxLength(int n) override { max_length_ = n; }
  bool HasParentWindow() const override { return parent_ != nullptr; }
  void SetImeClosed(bool closed) override { ime_closed_ = closed; }

  // ---- Test side ----
  TextAlign Alignment() const { return alignment_; }
  bool ImeClosed() const { return ime_closed_; }
  bool ReadOnly() const { return read_only_; }
  int MaxLength() const { return max_length_; }

 private:
  friend class SimToolkit;
  // The user's edit: new text and caret, modified, no event yet.
  void ReplaceEditText(const std::string& text, int caret);

  TextAlign alignment_ = TextAlign::taLeftJustify;
  int sel_start_ = 0;
  int sel_length_ = 0;
  bool modified_ = false;
  bool read_only_ = false;
  int max_length_ = 0;
  bool ime_closed_ = false;
};

// The rows and columns list views and grids share.
class SimRowsPeer : public SimControlPeer, public virtual RowsPeer {
 public:
  using SimControlPeer::SimControlPeer;
  void SetColumns(const std::vector<ListColumn>& columns) override { columns_ = columns; }
  std::vector<ListColumn> Columns() const override { return columns_; }
  void ClearRows() override;
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  std::vector<std::string> RowTexts(int row) const override;
  int SelectedRow() const override { return selected_row_; }

 protected:
  friend class SimToolkit;
  std::vector<ListColumn> columns_;
  std::vector<std::vector<std::string>> rows_;
  int selected_row_ = -1;
};

class SimListViewPeer : public SimRowsPeer, public ListViewPeer {
 public:
  using SimRowsPeer::SimRowsPeer;
  void AddRow(const std::vector<std::string>& texts) override { rows_.push_back(texts); }
};

// Key/value grids; rows_ hold {key, value}.
class SimGridPeer : public SimRowsPeer, public GridPeer {
 public:
  using SimRowsPeer::SimRowsPeer;
  std::optional<std::string> AppendKeyValue(const std::string& key, const std::string& value) override;
  void ExchangeRows(int a, int b) override;
  void DeleteRow(int row) override;
  void SelectWholeRow(int row) override;
  void SetTabBetweenCells(bool on) override { tab_between_cells_ = on; }

  // ---- Test side ----
  // The selection covers both cells of its row, or only the cell in
  // SelectedColumn (0 key, 1 value).
  bool WholeRowSelected() const { return whole_row_; }
  int SelectedColumn() const { return selected_column_; }
  bool TabBetweenCells() const { return tab_between_cells_; }

 private:
  friend class SimToolkit;
  int selected_column_ = 1;
  bool whole_row_ = false;
  bool tab_between_cells_ = false;
};

}  // namespace wakumo
