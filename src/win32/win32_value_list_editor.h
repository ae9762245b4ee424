#pragma once
// A key/value grid drawn by itself: no title row, the key column looking like
// a fixed column, the value column taking the rest of the width. Both columns
// are edited in place by an EDIT laid over the cell. The rows live here and
// nowhere else; WM_GETTEXT answers them as "key=value" lines, so a program
// outside can read them.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "win32/win32_control_peer.h"

namespace wakumo {

class Win32ValueListEditorPeer : public Win32ControlPeer, public GridPeer {
 public:
  Win32ValueListEditorPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events, const std::string& name);
  ~Win32ValueListEditorPeer() override;

  void SetColumns(const std::vector<ListColumn>& columns) override;
  std::vector<ListColumn> Columns() const override;
  std::optional<std::string> AppendKeyValue(const std::string& key, const std::string& value) override;
  void ClearRows() override;
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  std::vector<std::string> RowTexts(int row) const override;
  int SelectedRow() const override { return row_; }
  void ExchangeRows(int a, int b) override;
  void DeleteRow(int row) override;
  void SelectWholeRow(int row) override;
  void SetTabBetweenCells(bool on) override { tab_between_cells_ = on; }
  void ApplyDpi() override;

  // The focus cell's column, whether the whole row is selected, the open
  // editor (null when none) and a cell's rectangle in client pixels.
  int FocusColumn() const { return col_; }
  bool WholeRowSelected() const { return whole_row_; }
  HWND Editor() const { return editing_ ? editor_ : nullptr; }
  RECT CellRect(int row, int column) const;

 protected:
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  using Row = std::array<std::string, 2>;
  static constexpr int kTextIndent = 2;  // design pixels before a cell's text
  static constexpr int kMinColumn = 8;   // narrowest a column may be dragged

  // Device-pixel layout.
  int RowHeight() const;
  int KeyWidth() const;
  int FullRowsVisible() const;
  bool OnDivider(int x) const;
  // Row and column under a client point; false beside the cells.
  bool HitCell(POINT p, int& row, int& column) const;

  void Paint(HDC dc, const RECT& rc);
  void UpdateScrollBar();
  void ScrollTo(int top);
  void EnsureVisible(int row);
  void MoveFocusCell(int row, int column);
  // The next (or previous) cell in reading order; false past either end.
  bool NextCell(bool back, int& row, int& column) const;
  UINT DialogCode(const MSG* msg) const;
  bool OnKeyDown(WPARAM key);

  // Handlers of the window's messages.
  void OnSize();
  void OnSetFont(HFONT font);
  void OnEnable(bool enabled);
  // The rows as "key=value" lines, the window's text for other programs.
  std::wstring RowsText() const;
  LRESULT OnGetText(wchar_t* buf, std::size_t capacity) const;
  void OnSetFocus(HWND from);
  void OnKillFocus(HWND to);
  bool OnChar(UINT msg, WPARAM ch, LPARAM l, LRESULT& result);
  void OnLButtonDown(POINT p, bool double_click);
  bool OnMouseMove(POINT p);
  void OnLButtonUp(POINT p);
  bool OnSetCursor(HWND over, UINT hit_test);
  void OnVScroll(int code);
  void ShowPendingRefusals();

  // In-place editing. Why an edit ends decides where the focus goes and when
  // a refused key's message shows: at once after a key, posted for later
  // while the focus is on its way elsewhere or the program changes the rows.
  enum class EndReason { kKey, kFocusLost, kProgram };
  void BeginEdit(bool select_all);
  void EndEdit(bool commit, EndReason reason);
  void PlaceEditor();
  void Refuse(const std::string& text, bool report_now);
  // The facade gives the words; while it is going away none are asked of it.
  PeerEvents& RefusalWords() {
    static PeerEvents wordless;
    PeerEvents* events = Events();
    return events ? *events : wordless;
  }
  static LRESULT CALLBACK EditorProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR data);
  LRESULT OnEditorMessage(UINT msg, WPARAM w, LPARAM l);
  // Tab out of the grid to the next (or previous) control of the form.
  void LeaveByTab(bool back);

  std::vector<Row> rows_;
  int row_ = -1;  // focus cell; -1 while the grid is empty
  int col_ = 1;
  bool whole_row_ = false;
  int top_ = 0;  // first row shown
  int key_width_ = 80;    // design pixels
  int value_width_ = 154;  // as asked; the column fills whatever is left
  bool tab_between_cells_ = false;

  HWND editor_ = nullptr;
  bool editing_ = false;
  int edit_row_ = -1;
  int edit_col_ = 0;

  // A press in a cell: which one, and whether it was selected already.
  bool pressing_ = false;
  int press_row_ = -1;
  int press_col_ = 0;
  bool press_on_selected_ = false;
  bool sizing_ = false;  // dragging the line between the columns

  std::vector<std::string> pending_refusals_;
  bool updating_scroll_ = false;
};

}  // namespace wakumo
