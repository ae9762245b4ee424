#include "win32/win32_value_list_editor.h"

#include <algorithm>

#include "ui/value_list_editor.h"
#include "win32/win32_dpi.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

namespace {

constexpr const wchar_t* kGridClass = L"TValueListEditor";
// Posted to ourselves: show the refusals of keys committed while the focus
// was leaving the editor (a message box in the middle of a focus change
// would swallow the click that caused it).
constexpr UINT kShowRefusals = WM_USER + 1;
constexpr int kRowHeight = 18;  // design pixels, not counting the line below
constexpr int kTextIndent = 2;
constexpr int kMinColumn = 8;
constexpr TColor kLineColor = RGBColor(192, 192, 192);

std::wstring WindowTextOf(HWND h) {
  const int n = GetWindowTextLengthW(h);
  if (n <= 0) return {};
  std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(h, buf.data(), n + 1);
  buf.resize(static_cast<std::size_t>(std::max(got, 0)));
  return buf;
}

bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }

}  // namespace

Win32ValueListEditorPeer::Win32ValueListEditorPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events,
                                                   const std::string& name)
    : Win32ControlPeer(tk, ControlKind::ValueListEditor, parent, events, name, clWindow) {
  tk.RegisterWindowClass(kGridClass, CS_DBLCLKS, nullptr, false);
  CreateHwnd(kGridClass, WS_TABSTOP | WS_VSCROLL | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE, true);
  if (!hwnd_) return;
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
  if (std::optional<std::string> refusal = GridKeyRefusal(keys, RowCount(), key)) return refusal;
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

// ---------------------------------------------------------------- keyboard

UINT Win32ValueListEditorPeer::DialogCode(const MSG* msg) const {
  UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (!msg || msg->message != WM_KEYDOWN || rows_.empty()) return code;
  // Enter opens the editor; Tab stays inside only while there is a cell to go to.
  if (msg->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
  if (msg->wParam == VK_TAB && tab_between_cells_) {
    int r = row_;
    int c = col_;
    if (NextCell(ShiftDown(), r, c)) code |= DLGC_WANTTAB;
  }
  return code;
}

bool Win32ValueListEditorPeer::OnKeyDown(WPARAM key) {
  if (rows_.empty()) return key == VK_TAB ? (LeaveByTab(ShiftDown()), true) : false;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const int last = RowCount() - 1;
  const int page = FullRowsVisible();
  int r = std::clamp(row_, 0, last);
  int c = col_;
  switch (key) {
    case VK_UP: r = std::max(0, r - 1); break;
    case VK_DOWN: r = std::min(last, r + 1); break;
    case VK_PRIOR: r = std::max(0, r - page); break;
    case VK_NEXT: r = std::min(last, r + page); break;
    case VK_LEFT: c = 0; break;
    case VK_RIGHT: c = 1; break;
    case VK_HOME:
      if (ctrl) r = 0;
      c = 0;
      break;
    case VK_END:
      if (ctrl) r = last;
      c = 1;
      break;
    case VK_TAB:
      if (!(tab_between_cells_ && NextCell(ShiftDown(), r, c))) {
        LeaveByTab(ShiftDown());
        return true;
      }
      break;
    case VK_F2:
    case VK_RETURN:
      BeginEdit(key == VK_RETURN);
      return true;
    default:
      return false;
  }
  MoveFocusCell(r, c);
  return true;
}

void Win32ValueListEditorPeer::LeaveByTab(bool back) {
  HWND root = GetAncestor(hwnd_, GA_ROOT);
  HWND next = root ? GetNextDlgTabItem(root, hwnd_, back ? TRUE : FALSE) : nullptr;
  if (next && next != hwnd_) ::SetFocus(next);
}

// ---------------------------------------------------------------- in-place editing

void Win32ValueListEditorPeer::BeginEdit(bool select_all) {
  if (editing_ || !editor_ || row_ < 0 || row_ >= RowCount() || !IsWindowEnabled(hwnd_)) return;
  EnsureVisible(row_);
  edit_row_ = row_;
  edit_col_ = col_;
  editing_ = true;
  SetWindowTextW(editor_, Wide(rows_[static_cast<std::size_t>(edit_row_)][static_cast<std::size_t>(edit_col_)]).c_str());
  PlaceEditor();
  ShowWindow(editor_, SW_SHOW);
  ::SetFocus(editor_);
  const int length = GetWindowTextLengthW(editor_);
  SendMessageW(editor_, EM_SETSEL, select_all ? 0 : static_cast<WPARAM>(length), length);
  Invalidate();
}

void Win32ValueListEditorPeer::PlaceEditor() {
  if (!editor_ || !editing_) return;
  const RECT cell = CellRect(edit_row_, edit_col_);
  HDC dc = GetDC(editor_);
  HGDIOBJ old = SelectObject(dc, CurrentFont());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(editor_, dc);
  const int height = std::min<int>(tm.tmHeight > 0 ? tm.tmHeight : RowHeight(), cell.bottom - cell.top);
  // The text stays where the cell drew it.
  SendMessageW(editor_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(Scale(kTextIndent), 0));
  SetWindowPos(editor_, nullptr, cell.left, cell.top + (cell.bottom - cell.top - height) / 2, cell.right - cell.left,
               height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32ValueListEditorPeer::EndEdit(bool commit, EndReason reason) {
  if (!editing_ || !editor_) return;
  // Over before anything below can move the focus and come back here.
  editing_ = false;
  const std::string text = Narrow(WindowTextOf(editor_));
  const int row = edit_row_;
  const int col = edit_col_;
  if (reason != EndReason::kFocusLost && GetFocus() == editor_) ::SetFocus(hwnd_);
  ShowWindow(editor_, SW_HIDE);
  Invalidate();
  if (!commit || row < 0 || row >= RowCount()) return;
  Row& target = rows_[static_cast<std::size_t>(row)];
  if (col == 1) {
    target[1] = text;
    return;
  }
  if (text == target[0]) return;
  std::vector<std::string> keys;
  keys.reserve(rows_.size());
  for (const Row& r : rows_) keys.push_back(r[0]);
  if (std::optional<std::string> refusal = GridKeyRefusal(keys, row, text)) {
    // The old key stays.
    Refuse(*refusal, reason == EndReason::kKey);
    return;
  }
  target[0] = text;
}

void Win32ValueListEditorPeer::Refuse(const std::string& text, bool report_now) {
  if (report_now) {
    tk_.Application().ShowMessage(text);
    return;
  }
  pending_refusals_.push_back(text);
  if (hwnd_) PostMessageW(hwnd_, kShowRefusals, 0, 0);
}

LRESULT CALLBACK Win32ValueListEditorPeer::EditorProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR,
                                                      DWORD_PTR data) {
  auto* self = reinterpret_cast<Win32ValueListEditorPeer*>(data);
  if (msg == WM_NCDESTROY) {
    // Gone with the grid's window.
    RemoveWindowSubclass(hwnd, &EditorProc, 0);
    if (self && self->editor_ == hwnd) {
      self->editor_ = nullptr;
      self->editing_ = false;
    }
    return DefSubclassProc(hwnd, msg, w, l);
  }
  if (!self || self->editor_ != hwnd) return DefSubclassProc(hwnd, msg, w, l);
  return self->OnEditorMessage(msg, w, l);
}

LRESULT Win32ValueListEditorPeer::OnEditorMessage(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_GETDLGCODE:
      // Enter, Esc and Tab end the edit instead of reaching the form.
      return DefSubclassProc(editor_, msg, w, l) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      switch (w) {
        case VK_RETURN:
          EndEdit(true, EndReason::kKey);
          return 0;
        case VK_ESCAPE:
          EndEdit(false, EndReason::kKey);
          return 0;
        case VK_TAB:
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
          EndEdit(true, EndReason::kKey);
          OnKeyDown(w);
          return 0;
        default:
          break;
      }
      break;
    case WM_CHAR:
      // Their keys were handled above; the edit would only beep at them.
      if (w == L'\r' || w == L'\t' || w == 0x1B) return 0;
      break;
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(editor_, msg, w, l);
      HWND to = reinterpret_cast<HWND>(w);
      if (editing_) EndEdit(true, EndReason::kFocusLost);
      if (to != hwnd_) RaiseExit();
      return result;
    }
    default:
      break;
  }
  return DefSubclassProc(editor_, msg, w, l);
}

// ---------------------------------------------------------------- messages

bool Win32ValueListEditorPeer::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  if (HandlePaintAndPrint(msg, w, [this](HDC dc, const RECT& rc) { Paint(dc, rc); }, result)) return true;
  switch (msg) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_SIZE:
      UpdateScrollBar();
      if (editing_) PlaceEditor();
      Invalidate();
      return false;
    case WM_SETFONT:
      if (editor_) SendMessageW(editor_, WM_SETFONT, w, FALSE);
      if (editing_) PlaceEditor();
      Invalidate();
      result = 0;
      return true;
    case WM_ENABLE:
      if (!w) EndEdit(true, EndReason::kProgram);
      Invalidate();
      return false;
    case WM_SETTEXT:
      // The rows are the text; there is no caption to keep.
      result = TRUE;
      return true;
    case WM_GETTEXTLENGTH:
    case WM_GETTEXT: {
      std::wstring lines;
      for (const Row& r : rows_) lines += Wide(r[0]) + L"=" + Wide(r[1]) + L"\r\n";
      if (msg == WM_GETTEXTLENGTH) {
        result = static_cast<LRESULT>(lines.size());
        return true;
      }
      auto* buf = reinterpret_cast<wchar_t*>(l);
      if (!buf || w == 0) {
        result = 0;
        return true;
      }
      const std::size_t n = std::min<std::size_t>(lines.size(), static_cast<std::size_t>(w) - 1);
      std::copy_n(lines.data(), n, buf);
      buf[n] = L'\0';
      result = static_cast<LRESULT>(n);
      return true;
    }
    case WM_GETDLGCODE:
      result = DialogCode(reinterpret_cast<const MSG*>(l));
      return true;
    case WM_SETFOCUS:
      Invalidate();
      if (reinterpret_cast<HWND>(w) != editor_ || !editor_) RaiseEnter();
      result = 0;
      return true;
    case WM_KILLFOCUS:
      Invalidate();
      if (!editor_ || reinterpret_cast<HWND>(w) != editor_) RaiseExit();
      result = 0;
      return true;
    case WM_KEYDOWN:
      if (!OnKeyDown(w)) return false;
      result = 0;
      return true;
    case WM_CHAR:
      if (editing_ && editor_) {
        // Characters queued behind the one that opened the editor (input
        // method results, surrogate halves) belong to it too.
        result = SendMessageW(editor_, msg, w, l);
        return true;
      }
      if (w < 0x20 || w == 0x7F || rows_.empty()) return false;
      // Typing replaces the focus cell's text.
      BeginEdit(true);
      if (editing_) SendMessageW(editor_, msg, w, l);
      result = 0;
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      const bool had_focus = GetFocus() == hwnd_ || editing_;
      // Takes the focus from the editor too, which commits its text.
      if (GetFocus() != hwnd_) ::SetFocus(hwnd_);
      result = 0;
      if (!RowCount()) return true;
      const RECT last = CellRect(RowCount() - 1, 1);
      if (msg == WM_LBUTTONDOWN && OnDivider(p.x) && p.y < last.bottom + 1) {
        sizing_ = true;
        ::SetCapture(hwnd_);
        return true;
      }
      int r = 0;
      int c = 0;
      if (!HitCell(p, r, c)) return true;
      if (msg == WM_LBUTTONDBLCLK) {
        pressing_ = false;
        if (r == row_ && c == col_) BeginEdit(true);
        return true;
      }
      press_on_selected_ = had_focus && r == row_ && (whole_row_ || c == col_);
      pressing_ = true;
      press_row_ = r;
      press_col_ = c;
      ::SetCapture(hwnd_);
      MoveFocusCell(r, c);
      return true;
    }
    case WM_MOUSEMOVE:
      if (sizing_) {
        RECT client{};
        GetClientRect(hwnd_, &client);
        const int x = std::clamp(static_cast<int>(GET_X_LPARAM(l)), Scale(kMinColumn),
                                 std::max(Scale(kMinColumn), static_cast<int>(client.right) - 1 - Scale(kMinColumn)));
        key_width_ = UnscaleFromDpi(x, Dpi());
        Invalidate();
        result = 0;
        return true;
      }
      return false;
    case WM_LBUTTONUP: {
      result = 0;
      if (sizing_) {
        sizing_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
        return true;
      }
      if (!pressing_) return true;
      pressing_ = false;
      if (GetCapture() == hwnd_) ReleaseCapture();
      const int r = press_row_;
      const int c = press_col_;
      int up_row = -1;
      int up_col = -1;
      const bool same_cell = HitCell({GET_X_LPARAM(l), GET_Y_LPARAM(l)}, up_row, up_col) && up_row == r && up_col == c;
      // The press has moved the selection; the facade hears of the click now.
      if (PeerEvents* e = Events()) e->PeerClick();
      if (same_cell && press_on_selected_ && row_ == r && col_ == c) BeginEdit(true);
      return true;
    }
    case WM_CAPTURECHANGED:
      pressing_ = false;
      sizing_ = false;
      return false;
    case WM_SETCURSOR: {
      if (reinterpret_cast<HWND>(w) != hwnd_ || LOWORD(l) != HTCLIENT) return false;
      if (tk_.ScreenImpl().ApplyScreenCursor()) {
        result = TRUE;
        return true;
      }
      POINT p{};
      GetCursorPos(&p);
      ScreenToClient(hwnd_, &p);
      const bool over_rows = RowCount() > 0 && p.y <= CellRect(RowCount() - 1, 1).bottom;
      if (sizing_ || (over_rows && OnDivider(p.x))) {
        ::SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
        result = TRUE;
        return true;
      }
      return false;
    }
    case WM_VSCROLL: {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_ALL;
      GetScrollInfo(hwnd_, SB_VERT, &si);
      const int page = FullRowsVisible();
      int top = top_;
      switch (LOWORD(w)) {
        case SB_LINEUP: --top; break;
        case SB_LINEDOWN: ++top; break;
        case SB_PAGEUP: top -= page; break;
        case SB_PAGEDOWN: top += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top = si.nTrackPos; break;
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = RowCount(); break;
        default: break;
      }
      ScrollTo(top);
      result = 0;
      return true;
    }
    case WM_MOUSEWHEEL: {
      const int notches = GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA;
      ScrollTo(top_ - notches * 3);
      result = 0;
      return true;
    }
    case kShowRefusals: {
      std::vector<std::string> refusals;
      refusals.swap(pending_refusals_);
      for (const std::string& text : refusals) tk_.Application().ShowMessage(text);
      result = 0;
      return true;
    }
    default:
      break;
  }
  return HandleContainerMessage(msg, w, l, result);
}

}  // namespace wakumo
