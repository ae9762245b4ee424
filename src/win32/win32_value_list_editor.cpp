#include "win32/win32_value_list_editor.h"

#include <algorithm>

#include "ui/value_list_editor.h"
#include "win32/win32_dpi.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

namespace {

constexpr const wchar_t* kGridClass = L"TValueListEditor";
constexpr int kRowHeight = 18;  // design pixels, not counting the line below
constexpr TColor kLineColor = RGBColor(192, 192, 192);

}  // namespace

Win32ValueListEditorPeer::Win32ValueListEditorPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events,
                                                   const std::string& name)
    : Win32ControlPeer(tk, ControlKind::ValueListEditor, parent, events, name, clWindow) {
  tk.RegisterWindowClass(kGridClass, CS_DBLCLKS, nullptr, false);
  CreateHwnd(kGridClass, WS_TABSTOP | WS_VSCROLL | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE, true);
  editor_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL | ES_LEFT, 0, 0, 0, 0, hwnd_, nullptr,
                            tk.Instance(), nullptr);
  if (editor_) {
    SetWindowSubclass(editor_, &EditorProc, 0, reinterpret_cast<DWORD_PTR>(this));
    SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont()), FALSE);
  }
  UpdateScrollBar();
}

Win32ValueListEditorPeer::~Win32ValueListEditorPeer() {
  // The editor's messages must not reach a peer that is going away.
  if (editor_) {
    RemoveWindowSubclass(editor_, &EditorProc, 0);
    DestroyWindow(editor_);
    editor_ = nullptr;
  }
  editing_ = false;
}

// ---------------------------------------------------------------- rows

void Win32ValueListEditorPeer::SetColumns(const std::vector<ListColumn>& columns) {
  if (!columns.empty()) key_width_ = std::max(0, columns[0].width);
  if (columns.size() > 1) value_width_ = std::max(0, columns[1].width);
  if (editing_) PlaceEditor();
  Invalidate();
}

std::vector<ListColumn> Win32ValueListEditorPeer::Columns() const {
  int value = value_width_;
  if (hwnd_) {
    const RECT cell = CellRect(top_, 1);
    value = UnscaleFromDpi(static_cast<int>(cell.right - cell.left), Dpi());
  }
  return {ListColumn{"", key_width_, 0, false}, ListColumn{"", value, 0, true}};
}

std::optional<std::string> Win32ValueListEditorPeer::AppendKeyValue(const std::string& key,
                                                                    const std::string& value) {
  std::vector<std::string> keys;
  keys.reserve(rows_.size());
  for (const Row& r : rows_) keys.push_back(r[0]);
  if (std::optional<std::string> refusal = RefuseGridKey(keys, RowCount(), key, RefusalWords())) return refusal;
  rows_.push_back({key, value});
  if (row_ < 0) {
    // A grid that gets its first row starts on that row's value.
    row_ = 0;
    col_ = 1;
    whole_row_ = false;
  }
  UpdateScrollBar();
  Invalidate();
  return std::nullopt;
}

void Win32ValueListEditorPeer::ClearRows() {
  EndEdit(false, EndReason::kProgram);
  rows_.clear();
  row_ = -1;
  col_ = 1;
  whole_row_ = false;
  top_ = 0;
  UpdateScrollBar();
  Invalidate();
}

std::vector<std::string> Win32ValueListEditorPeer::RowTexts(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  const Row& r = rows_[static_cast<std::size_t>(row)];
  return {r[0], r[1]};
}

void Win32ValueListEditorPeer::ExchangeRows(int a, int b) {
  if (a < 0 || b < 0 || a >= RowCount() || b >= RowCount()) return;
  EndEdit(true, EndReason::kProgram);
  std::swap(rows_[static_cast<std::size_t>(a)], rows_[static_cast<std::size_t>(b)]);
  Invalidate();
}

void Win32ValueListEditorPeer::DeleteRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  EndEdit(true, EndReason::kProgram);
  rows_.erase(rows_.begin() + row);
  row_ = rows_.empty() ? -1 : std::min(row_, RowCount() - 1);
  UpdateScrollBar();
  if (row_ >= 0) EnsureVisible(row_);
  Invalidate();
}

void Win32ValueListEditorPeer::SelectWholeRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  if (editing_ && row != edit_row_) EndEdit(true, EndReason::kProgram);
  row_ = row;
  whole_row_ = true;
  EnsureVisible(row);
  Invalidate();
}

void Win32ValueListEditorPeer::ApplyDpi() {
  Win32ControlPeer::ApplyDpi();
  if (editor_) SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont()), FALSE);
  UpdateScrollBar();
  if (editing_) PlaceEditor();
}

// ---------------------------------------------------------------- layout

int Win32ValueListEditorPeer::RowHeight() const { return std::max(1, Scale(kRowHeight)); }

int Win32ValueListEditorPeer::KeyWidth() const { return Scale(key_width_); }

int Win32ValueListEditorPeer::FullRowsVisible() const {
  RECT rc{};
  if (hwnd_) GetClientRect(hwnd_, &rc);
  return std::max(1, static_cast<int>(rc.bottom) / (RowHeight() + 1));
}

RECT Win32ValueListEditorPeer::CellRect(int row, int column) const {
  RECT client{};
  if (hwnd_) GetClientRect(hwnd_, &client);
  const int top = (row - top_) * (RowHeight() + 1);
  const int kw = KeyWidth();
  if (column == 0) return {0, top, kw, top + RowHeight()};
  // The value column fills the width, leaving room for its own right line.
  const int right = std::max(kw + 1, static_cast<int>(client.right) - 1);
  return {kw + 1, top, right, top + RowHeight()};
}

bool Win32ValueListEditorPeer::OnDivider(int x) const { return std::abs(x - KeyWidth()) <= std::max(2, Scale(2)); }

bool Win32ValueListEditorPeer::HitCell(POINT p, int& row, int& column) const {
  if (p.y < 0 || p.x < 0) return false;
  row = top_ + p.y / (RowHeight() + 1);
  if (row >= RowCount()) return false;
  const RECT value = CellRect(row, 1);
  if (p.x >= value.right) return false;
  column = p.x < KeyWidth() ? 0 : 1;
  return true;
}

void Win32ValueListEditorPeer::UpdateScrollBar() {
  if (!hwnd_ || updating_scroll_) return;
  // Showing or hiding the bar resizes the client area, which comes back here.
  updating_scroll_ = true;
  const int page = FullRowsVisible();
  top_ = std::clamp(top_, 0, std::max(0, RowCount() - page));
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = std::max(0, RowCount() - 1);
  si.nPage = static_cast<UINT>(page);
  si.nPos = top_;
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  updating_scroll_ = false;
}

void Win32ValueListEditorPeer::ScrollTo(int top) {
  top = std::clamp(top, 0, std::max(0, RowCount() - FullRowsVisible()));
  if (top == top_) return;
  // The editor would be left over a cell that moved away.
  EndEdit(true, EndReason::kProgram);
  top_ = top;
  UpdateScrollBar();
  Invalidate();
}

void Win32ValueListEditorPeer::EnsureVisible(int row) {
  if (row < 0 || row >= RowCount()) return;
  const int page = FullRowsVisible();
  if (row < top_) {
    ScrollTo(row);
  } else if (row >= top_ + page) {
    ScrollTo(row - page + 1);
  }
}

void Win32ValueListEditorPeer::MoveFocusCell(int row, int column) {
  if (row < 0 || row >= RowCount()) return;
  row_ = row;
  col_ = column;
  whole_row_ = false;
  EnsureVisible(row);
  Invalidate();
}

bool Win32ValueListEditorPeer::NextCell(bool back, int& row, int& column) const {
  if (row < 0 || row >= RowCount()) return false;
  if (!back) {
    if (column == 0) {
      column = 1;
      return true;
    }
    if (row + 1 >= RowCount()) return false;
    ++row;
    column = 0;
    return true;
  }
  if (column == 1) {
    column = 0;
    return true;
  }
  if (row == 0) return false;
  --row;
  column = 1;
  return true;
}

// ---------------------------------------------------------------- painting

void Win32ValueListEditorPeer::Paint(HDC dc, const RECT& rc) {
  FillRect(dc, &rc, tk_.Brush(color_));
  HGDIOBJ old_font = SelectObject(dc, CurrentFont());
  SetBkMode(dc, TRANSPARENT);
  const bool enabled = IsWindowEnabled(hwnd_) != FALSE;
  const bool focused = GetFocus() == hwnd_;
  const int rh = RowHeight();
  const HBRUSH line = tk_.Brush(kLineColor);
  int rows_bottom = 0;
  for (int r = top_; r < RowCount(); ++r) {
    const RECT key_cell = CellRect(r, 0);
    if (key_cell.top >= rc.bottom) break;
    for (int c = 0; c < 2; ++c) {
      RECT cell = CellRect(r, c);
      const bool edited_here = editing_ && r == edit_row_ && c == edit_col_;
      const bool selected = !edited_here && r == row_ && (whole_row_ || c == col_);
      if (selected) {
        FillRect(dc, &cell, GetSysColorBrush(COLOR_HIGHLIGHT));
      } else if (c == 0 && !edited_here) {
        // Keys are editable, but look like a fixed column.
        FillRect(dc, &cell, tk_.Brush(clBtnFace));
        RECT edge = cell;
        DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
      } else {
        FillRect(dc, &cell, tk_.Brush(color_));
      }
      if (!edited_here) {
        const std::wstring text = Wide(rows_[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
        SetTextColor(dc, !enabled ? GetSysColor(COLOR_GRAYTEXT)
                         : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                    : FontColor());
        RECT t = cell;
        t.left += Scale(kTextIndent);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
      }
      if (focused && !editing_ && r == row_ && c == col_) {
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &cell);
      }
    }
    const RECT value_cell = CellRect(r, 1);
    const RECT below{0, key_cell.top + rh, value_cell.right + 1, key_cell.top + rh + 1};
    FillRect(dc, &below, line);
    rows_bottom = below.bottom;
  }
  if (rows_bottom > 0) {
    const RECT value_cell = CellRect(top_, 1);
    const RECT between{value_cell.left - 1, 0, value_cell.left, rows_bottom};
    const RECT right{value_cell.right, 0, value_cell.right + 1, rows_bottom};
    FillRect(dc, &between, line);
    FillRect(dc, &right, line);
  }
  SelectObject(dc, old_font);
}

}  // namespace wakumo
