#pragma once
// The widget set's port. Facades (TLabel, TPanel, ...) keep no state of their
// own: every property lives in the peer, the real control on Win32 or an
// in-memory one in tests, so there is one source of truth.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/geometry.h"

namespace wakumo {

enum class MouseButton { mbLeft, mbRight, mbMiddle };

struct ShiftState {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  // Mouse buttons held.
  bool left = false;
  bool right = false;
  bool middle = false;
  friend bool operator==(const ShiftState&, const ShiftState&) = default;
};

enum class BevelKind { bvNone, bvLowered, bvRaised };
enum class TextAlign { taLeftJustify, taCenter, taRightJustify };

struct FontSpec {
  std::string name;  // face; the program names it for its forms, "" leaves it to the window system
  int height = 13;  // pixels at 96 DPI
  bool bold = false;
  TColor color = clWindowText;
  bool underline = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Why a key/value grid refuses a key.
enum class GridKeyFault {
  kHoldsEquals,  // "=" separates a row's key from its value in the grid's text form
  kDuplicate,    // another row has it, letter case ignored
};

enum class ControlKind {
  Form,
  Panel,
  Image,
  Label,
  Button,
  SpeedButton,
  CheckBox,
  ComboBox,      // editable text with a drop-down of entries
  DropDownList,  // choice among fixed entries
  Edit,
  PaintBox,      // drawn by its facade on a canvas
  ListView,      // report style: read-only rows of texts under column headers
                 // that do not react to clicks, whole-row selection
  ValueListEditor,  // grid of key/value rows, both editable, no title row
  HintWindow,    // a bordered top-level text box beside its owner form,
                 // hidden until shown; never takes the focus or the mouse
};

// How a modal form was closed.
enum class ModalResult { mrNone, mrOk, mrCancel };

// A column of a report-style list view. A filling column takes the width
// left over by the others (at least min_width).
struct ListColumn {
  std::string caption;
  int width = 50;  // pixels at 96 DPI
  int min_width = 0;
  bool fill = false;
  friend bool operator==(const ListColumn&, const ListColumn&) = default;
};

class Canvas;

struct TextSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TextSize&, const TextSize&) = default;
};

// Events a peer raises into its facade; coordinates are the control's client ones.
class PeerEvents {
 public:
  virtual ~PeerEvents() = default;
  virtual void PeerClick() {}
  virtual void PeerDblClick() {}
  virtual void PeerMouseDown(MouseButton, ShiftState, Point) {}
  virtual void PeerMouseMove(ShiftState, Point) {}
  virtual void PeerMouseUp(MouseButton, ShiftState, Point) {}
  virtual void PeerChange() {}
  virtual void PeerSelect() {}
  virtual void PeerCloseUp() {}
  // The user or the system asks the form to close; the facade runs OnClose.
  virtual void PeerClose() {}
  // A form's size is about to change (proposed outer width and height, which
  // the facade may adjust); false refuses the change.
  virtual bool PeerCanResize(int& width, int& height) { (void)width; (void)height; return true; }
  virtual void PeerResize() {}
  // A form moved to a monitor of another DPI (from old_dpi to new_dpi): its
  // controls are rescaled and its width fits its client width. Size changes
  // the facade makes from here are not put to PeerCanResize.
  virtual void PeerDpiChanged(int old_dpi, int new_dpi) { (void)old_dpi; (void)new_dpi; }
  // Edits: a typed character (control characters included) before it reaches
  // the text; the facade may change it; false drops it.
  virtual bool PeerKeyPress(char32_t& ch) { (void)ch; return true; }
  // Edits: the user asks to paste (keyboard or context menu); true when the
  // facade handled it, so the peer pastes nothing itself.
  virtual bool PeerPaste() { return false; }
  virtual void PeerKeyDown(int virtual_key, ShiftState) { (void)virtual_key; }
  virtual void PeerEnter() {}
  virtual void PeerExit() {}
  virtual void PeerMouseEnter() {}
  virtual void PeerMouseLeave() {}
  // Paint boxes: draw the whole client area.
  virtual void PeerPaint(Canvas& canvas) { (void)canvas; }
  // Key/value grids: the words a refused key is reported with. The widget
  // set has none of its own; "" when the program gives none.
  virtual std::string PeerKeyRefusal(GridKeyFault fault, const std::string& key) {
    (void)fault;
    (void)key;
    return {};
  }
};

class PopupMenuPeer;

// What every control has. A kind's own properties are in its interface below
// (FormPeer, EditPeer, ...), which its peer implements besides this one; a
// facade reaches it through PeerAs (at the end of this file).
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;

  virtual ControlKind Kind() const = 0;
  virtual const std::string& Name() const = 0;
  // The window-system handle of a windowed control; 0 for a windowless one.
  virtual WindowHandle Handle() const = 0;
  // Dots per inch the control is shown at; geometry given to peers is at 96.
  virtual int ScreenDpi() const = 0;

  // Left, top, width, height in the parent's client pixels at 96 DPI.
  virtual void SetBounds(const Rect& r) = 0;
  virtual Rect Bounds() const = 0;
  virtual void SetCaption(const std::string& text) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetVisible(bool v) = 0;
  virtual bool Visible() const = 0;
  virtual void SetEnabled(bool e) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetHint(const std::string& hint) = 0;
  virtual std::string Hint() const = 0;
  virtual void SetFont(const FontSpec& f) = 0;
  virtual FontSpec Font() const = 0;
  virtual void SetColor(TColor c) = 0;
  virtual TColor Color() const = 0;
  virtual void Repaint() = 0;

  // Focus and keyboard.
  virtual bool Focused() const = 0;
  virtual void SetFocus() = 0;
  virtual void SetTabStop(bool) = 0;

  // Mouse capture to this control, and its place on the screen.
  virtual void SetMouseCapture(bool) = 0;
  virtual bool MouseCaptured() const = 0;
  virtual Point ClientToScreen(Point p) const = 0;
  // The screen cursor number (CursorId) shown while the mouse is over the control.
  virtual void SetCursor(int cursor) = 0;
  virtual int Cursor() const = 0;
};

// Forms.
class FormPeer : public virtual ControlPeer {
 public:
  // A sizing border; the form asks PeerCanResize before every size change.
  virtual void SetSizeable(bool) = 0;
  virtual void SetClientSize(int width, int height) = 0;
  virtual Rect ClientRect() const = 0;
  virtual void SetBorderIcons(bool system_menu, bool minimize, bool maximize) = 0;
  virtual void SetStayOnTop(bool) = 0;
  virtual bool StayOnTop() const = 0;
  virtual void SetPopupMenu(PopupMenuPeer*) = 0;
  virtual void Show() = 0;
  virtual void Close() = 0;
  // Shows the form modally, the program's other forms disabled, and returns
  // once EndModal has hidden it again, with the result given there.
  virtual ModalResult ShowModal() = 0;
  virtual void EndModal(ModalResult result) = 0;
  // Outer rectangle in screen pixels. A minimised form answers the
  // rectangle it has when restored, not the place of its icon.
  virtual Rect WindowRect() const = 0;
  virtual void SetWindowRect(const Rect&) = 0;
  // The dialog frame (caption and close box, no sizing, no icon).
  virtual void SetDialogFrame(bool) = 0;
};

// Controls that place their text left, centred or right: labels, panels, edits.
class AlignablePeer : public virtual ControlPeer {
 public:
  virtual void SetAlignment(TextAlign) = 0;
};

class LabelPeer : public virtual AlignablePeer {
 public:
  virtual void SetWordWrap(bool) = 0;
};

class PanelPeer : public virtual AlignablePeer {
 public:
  virtual void SetBevel(BevelKind outer, BevelKind inner) = 0;
  virtual BevelKind BevelOuter() const = 0;
  virtual BevelKind BevelInner() const = 0;
};

// A picture from the program's resources; for images and button glyphs.
class PicturePeer : public virtual ControlPeer {
 public:
  virtual void SetPicture(const std::string& resource, bool transparent) = 0;
  virtual std::string Picture() const = 0;
};

// Check boxes and toggle speed buttons.
class CheckablePeer : public virtual ControlPeer {
 public:
  virtual void SetChecked(bool) = 0;
  virtual bool Checked() const = 0;
};

class CheckBoxPeer : public virtual CheckablePeer {
 public:
  // The box on the right of its text.
  virtual void SetRightAligned(bool) = 0;
};

class SpeedButtonPeer : public virtual CheckablePeer, public virtual PicturePeer {
 public:
  // Flat look; group index (0: a plain push button); all-up allowed.
  virtual void SetSpeedStyle(bool flat, int group, bool allow_all_up) = 0;
};

class ButtonPeer : public virtual ControlPeer {
 public:
  // Enter (default) or Escape (cancel) on the form clicks them; the adapter
  // reads the flags when such a key comes. The default button may also look
  // different.
  virtual void SetDefault(bool on) { default_ = on; }
  void SetCancel(bool on) { cancel_ = on; }
  bool IsDefault() const { return default_; }
  bool IsCancel() const { return cancel_; }

 protected:
  bool default_ = false;
  bool cancel_ = false;
};

// Combo box and drop-down list entries.
class ItemsPeer : public virtual ControlPeer {
 public:
  virtual void SetItems(const std::vector<std::string>&) = 0;
  virtual std::vector<std::string> Items() const = 0;
  virtual void SetItemIndex(int) = 0;
  virtual int ItemIndex() const = 0;
};

class EditPeer : public virtual AlignablePeer {
 public:
  // Caret and selection in UTF-16 units, 0-based; the modified state.
  virtual int SelStart() const = 0;
  virtual int SelLength() const = 0;
  virtual void SetSel(int start, int length) = 0;
  virtual bool Modified() const = 0;
  virtual void SetModified(bool) = 0;
  virtual void SetReadOnly(bool) = 0;
  virtual void SetMaxLength(int) = 0;
  // Whether the control's window exists with a parent, so it can show text.
  virtual bool HasParentWindow() const = 0;
  // Keeps the input method editor closed while the edit has the focus, so
  // that digits arrive as they are typed, not as composed text.
  virtual void SetImeClosed(bool) = 0;
};

// Rows of texts under columns: report-style list views and key/value grids.
class RowsPeer : public virtual ControlPeer {
 public:
  virtual void SetColumns(const std::vector<ListColumn>&) = 0;
  virtual std::vector<ListColumn> Columns() const = 0;
  virtual void ClearRows() = 0;
  virtual int RowCount() const = 0;
  virtual std::vector<std::string> RowTexts(int row) const = 0;
  virtual int SelectedRow() const = 0;
};

// Report-style list views. Rows are added at the end; selecting a row (the
// user's click) raises PeerClick, as does a click beside the rows, which
// leaves nothing selected (index -1).
class ListViewPeer : public virtual RowsPeer {
 public:
  virtual void AddRow(const std::vector<std::string>& texts) = 0;
};

// Key/value grids. Each row is a key and a value (RowTexts gives both); the
// first column shows the keys, the second the values (SetColumns gives their
// widths, the filling one follows the grid's width). Keys stay unique within
// the grid, letter case ignored (SameTextIgnoreCase), and never hold "=": a
// key breaking that is refused (RefuseGridKey in ui/value_list_editor.h) in
// the words PeerKeyRefusal gives. The program's append gets the words back
// and adds nothing; the user's edit of a key is refused with the words shown
// by the peer (as ApplicationPeer::ShowMessage does), the old key staying.
// Values are free. SelectedRow is the top row of the selection, -1 when the
// grid is empty. Filling an empty grid puts the selection on the first row's
// value cell.
class GridPeer : public virtual RowsPeer {
 public:
  virtual std::optional<std::string> AppendKeyValue(const std::string& key, const std::string& value) = 0;
  // Two rows trade keys and values; the selection stays where it is. An
  // exchange can never break the key rule.
  virtual void ExchangeRows(int a, int b) = 0;
  // The rows below move up; the selection stays at its index, or moves to
  // the new last row.
  virtual void DeleteRow(int row) = 0;
  // The selection becomes the whole row (both cells); out of range: ignored.
  virtual void SelectWholeRow(int row) = 0;
  // Whether Tab moves from cell to cell (true) or on to the next control.
  virtual void SetTabBetweenCells(bool) = 0;
};

// Hint windows, in screen pixels: the outer size the text needs, wrapped at
// `max_width`; and showing the text in a rectangle, above every window.
// SetVisible(false) hides it again.
class HintWindowPeer : public virtual ControlPeer {
 public:
  virtual TextSize HintSize(const std::string& text, int max_width) = 0;
  virtual void ShowHint(const Rect& screen, const std::string& text) = 0;
};

class MenuItemPeer;

class MenuItemEvents {
 public:
  virtual ~MenuItemEvents() = default;
  virtual void PeerClick() {}
};

// A menu entry's properties are plain data that the adapter reads when it
// shows the menu; only the tree of entries is the adapter's own.
class MenuItemPeer {
 public:
  explicit MenuItemPeer(std::string name) : name_(std::move(name)) {}
  virtual ~MenuItemPeer() = default;
  const std::string& Name() const { return name_; }
  // "-" makes a separator.
  void SetCaption(const std::string& c) { caption_ = c; }
  std::string Caption() const { return caption_; }
  void SetChecked(bool c) { checked_ = c; }
  bool Checked() const { return checked_; }
  void SetEnabled(bool e) { enabled_ = e; }
  bool Enabled() const { return enabled_; }
  void SetHint(const std::string& h) { hint_ = h; }
  std::string Hint() const { return hint_; }
  // A small picture from the program's resources beside the caption; "" for none.
  void SetPicture(const std::string& resource) { picture_ = resource; }
  std::string Picture() const { return picture_; }
  // The menu's default entry, shown bold.
  void SetDefault(bool d) { default_ = d; }
  bool Default() const { return default_; }
  // A check mark drawn as a dot, for one choice among several.
  void SetRadioItem(bool r) { radio_ = r; }
  bool RadioItem() const { return radio_; }
  // Child entries, owned by the facade; the peer only keeps their order.
  virtual void Insert(int index, MenuItemPeer* child) = 0;
  virtual void Remove(MenuItemPeer* child) = 0;
  virtual std::vector<MenuItemPeer*> Children() const = 0;

 protected:
  std::string name_;
  std::string caption_;
  std::string hint_;
  std::string picture_;
  bool checked_ = false;
  bool enabled_ = true;
  bool default_ = false;
  bool radio_ = false;
};

class PopupMenuPeer {
 public:
  virtual ~PopupMenuPeer() = default;
  virtual MenuItemPeer& Items() = 0;
  // Shows the menu at a screen point; returns when it closes, after the
  // chosen entry's click has run.
  virtual void Popup(Point screen) = 0;
  // While the menu is open (during Popup): the index among its entries
  // (separators counted) of the one at a screen point, -1 where there is
  // none; and an entry's rectangle on the screen, empty for a bad index.
  // Closed: -1 and empty.
  virtual int ItemFromPoint(Point screen) const = 0;
  virtual Rect ItemRect(int index) const = 0;
};

enum class CursorId : int { crDefault = 0, crVSplit = -12 };

class ScreenPeer {
 public:
  virtual ~ScreenPeer() = default;
  // Registers a cursor from the program's resources under a screen cursor number.
  virtual void RegisterCursor(int id, const std::string& resource) = 0;
  virtual void SetCursor(int id) = 0;
  virtual int Cursor() const = 0;
};

class ApplicationEvents {
 public:
  virtual ~ApplicationEvents() = default;
  // The hint text changed (see ApplicationPeer::Hint).
  virtual void PeerHint() {}
};

class ApplicationPeer {
 public:
  virtual ~ApplicationPeer() = default;
  // The long hint (LongHint) of what the user points at or highlights now: a
  // control under the mouse, an entry of an open menu (by mouse or keys); ""
  // for none and once a menu closes. Listeners hear each change, only then.
  virtual std::string Hint() const = 0;
  virtual void AddEvents(ApplicationEvents* events) = 0;
  virtual void RemoveEvents(ApplicationEvents* events) = 0;
  virtual void SetTitle(const std::string&) = 0;
  virtual std::string Title() const = 0;
  // Runs the message loop until the main form closes.
  virtual void Run() = 0;
  virtual void Terminate() = 0;
  // A message box with the application's title and an OK button; returns
  // when the user has dismissed it. `text` may hold line breaks ("\n").
  virtual void ShowMessage(const std::string& text) = 0;
  // The window whose taskbar button stands for the program (the main
  // form's); 0 while there is none.
  virtual WindowHandle Handle() const = 0;
  // Run when the program is minimised, and when it is restored from that.
  // A component that installs its own keeps the one before it and calls it.
  // An exception from a handler is shown as a message.
  virtual void SetOnMinimize(std::function<void()> handler) = 0;
  virtual std::function<void()> OnMinimize() const = 0;
  virtual void SetOnRestore(std::function<void()> handler) = 0;
  virtual std::function<void()> OnRestore() const = 0;
  // Handles the messages already waiting, then returns.
  virtual void ProcessMessages() = 0;
  // Brings the program back from minimised or hidden: the main form and its
  // taskbar button are shown, the form restored and activated; the restore
  // handler runs when the form was minimised.
  virtual void Restore() = 0;
};

class UiToolkit {
 public:
  virtual ~UiToolkit() = default;
  // parent is null for a form. `name` is the control's name in the form.
  virtual std::unique_ptr<ControlPeer> CreateControl(ControlKind kind, ControlPeer* parent, PeerEvents& events,
                                                     const std::string& name) = 0;
  // CreateControl for code that wants the kind's interface (FormPeer, EditPeer, ...) at once.
  template <class P>
  std::unique_ptr<P> Create(ControlKind kind, ControlPeer* parent, PeerEvents& events, const std::string& name);
  virtual std::unique_ptr<MenuItemPeer> CreateMenuItem(MenuItemEvents& events, const std::string& name) = 0;
  virtual std::unique_ptr<PopupMenuPeer> CreatePopupMenu(const std::string& name) = 0;
  virtual ScreenPeer& Screen() = 0;
  virtual ApplicationPeer& Application() = 0;
};

// The interface a peer has for its kind (FormPeer, EditPeer, ...). A peer
// without it is a program error, reported with the control's name.
template <class P>
P& PeerAs(ControlPeer& peer) {
  if (auto* typed = dynamic_cast<P*>(&peer)) return *typed;
  throw std::logic_error("control " + peer.Name() + " lacks the interface its kind needs");
}

template <class P>
std::unique_ptr<P> UiToolkit::Create(ControlKind kind, ControlPeer* parent, PeerEvents& events,
                                     const std::string& name) {
  std::unique_ptr<ControlPeer> peer = CreateControl(kind, parent, events, name);
  P& typed = PeerAs<P>(*peer);
  peer.release();
  return std::unique_ptr<P>(&typed);
}

}  // namespace wakumo
