// The key/value grid's input: keys, the mouse, the in-place editor and the
// messages of its window, each taken apart once and handed to a handler.
#include <algorithm>

#include "ui/value_list_editor.h"
#include "win32/win32_dpi.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"
#include "win32/win32_value_list_editor.h"

namespace wakumo {

namespace {

// Posted to ourselves: show the refusals of keys committed while the focus
// was leaving the editor (a message box in the middle of a focus change
// would swallow the click that caused it).
constexpr UINT kShowRefusals = WM_USER + 1;

}  // namespace

// ---------------------------------------------------------------- keyboard

UINT Win32ValueListEditorPeer::DialogCode(const MSG* msg) const {
  UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (!msg || msg->message != WM_KEYDOWN || rows_.empty()) return code;
  // Enter opens the editor; Tab stays inside only while there is a cell to go to.
  if (msg->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
  if (msg->wParam == VK_TAB && tab_between_cells_) {
    int r = row_;
    int c = col_;
    if (NextCell(KeyboardShiftState().shift, r, c)) code |= DLGC_WANTTAB;
  }
  return code;
}

bool Win32ValueListEditorPeer::OnKeyDown(WPARAM key) {
  if (rows_.empty()) return key == VK_TAB ? (LeaveByTab(KeyboardShiftState().shift), true) : false;
  const bool ctrl = KeyboardShiftState().ctrl;
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
      if (!(tab_between_cells_ && NextCell(KeyboardShiftState().shift, r, c))) {
        LeaveByTab(KeyboardShiftState().shift);
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
  const std::string text = Narrow(WindowText(editor_));
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
  if (std::optional<std::string> refusal = RefuseGridKey(keys, row, text, RefusalWords())) {
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

// Each message is taken apart here once; the handlers below do the work.
bool Win32ValueListEditorPeer::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  if (HandlePaintAndPrint(msg, w, [this](HDC dc, const RECT& rc) { Paint(dc, rc); }, result)) return true;
  const POINT at{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  result = 0;
  switch (msg) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_SIZE:
      OnSize();
      return false;
    case WM_SETFONT:
      OnSetFont(reinterpret_cast<HFONT>(w));
      return true;
    case WM_ENABLE:
      OnEnable(w != 0);
      return false;
    case WM_SETTEXT:
      // The rows are the text; there is no caption to keep.
      result = TRUE;
      return true;
    case WM_GETTEXTLENGTH:
      result = static_cast<LRESULT>(RowsText().size());
      return true;
    case WM_GETTEXT:
      result = OnGetText(reinterpret_cast<wchar_t*>(l), static_cast<std::size_t>(w));
      return true;
    case WM_GETDLGCODE:
      result = DialogCode(reinterpret_cast<const MSG*>(l));
      return true;
    case WM_SETFOCUS:
      OnSetFocus(reinterpret_cast<HWND>(w));
      return true;
    case WM_KILLFOCUS:
      OnKillFocus(reinterpret_cast<HWND>(w));
      return true;
    case WM_KEYDOWN:
      return OnKeyDown(w);
    case WM_CHAR:
      return OnChar(msg, w, l, result);
    case WM_LBUTTONDOWN:
      OnLButtonDown(at, false);
      return true;
    case WM_LBUTTONDBLCLK:
      OnLButtonDown(at, true);
      return true;
    case WM_MOUSEMOVE:
      return OnMouseMove(at);
    case WM_LBUTTONUP:
      OnLButtonUp(at);
      return true;
    case WM_CAPTURECHANGED:
      pressing_ = false;
      sizing_ = false;
      return false;
    case WM_SETCURSOR:
      if (!OnSetCursor(reinterpret_cast<HWND>(w), LOWORD(l))) return false;
      result = TRUE;
      return true;
    case WM_VSCROLL:
      OnVScroll(LOWORD(w));
      return true;
    case WM_MOUSEWHEEL:
      ScrollTo(top_ - GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA * 3);
      return true;
    case kShowRefusals:
      ShowPendingRefusals();
      return true;
    default:
      return HandleContainerMessage(msg, w, l, result);
  }
}

void Win32ValueListEditorPeer::OnSize() {
  UpdateScrollBar();
  if (editing_) PlaceEditor();
  Invalidate();
}

void Win32ValueListEditorPeer::OnSetFont(HFONT font) {
  if (editor_) SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (editing_) PlaceEditor();
  Invalidate();
}

void Win32ValueListEditorPeer::OnEnable(bool enabled) {
  if (!enabled) EndEdit(true, EndReason::kProgram);
  Invalidate();
}

std::wstring Win32ValueListEditorPeer::RowsText() const {
  std::wstring lines;
  for (const Row& r : rows_) lines += Wide(r[0]) + L"=" + Wide(r[1]) + L"\r\n";
  return lines;
}

LRESULT Win32ValueListEditorPeer::OnGetText(wchar_t* buf, std::size_t capacity) const {
  if (!buf || capacity == 0) return 0;
  const std::wstring lines = RowsText();
  const std::size_t n = std::min(lines.size(), capacity - 1);
  std::copy_n(lines.data(), n, buf);
  buf[n] = L'\0';
  return static_cast<LRESULT>(n);
}

void Win32ValueListEditorPeer::OnSetFocus(HWND from) {
  Invalidate();
  if (from != editor_ || !editor_) RaiseEnter();
}

void Win32ValueListEditorPeer::OnKillFocus(HWND to) {
  Invalidate();
  if (!editor_ || to != editor_) RaiseExit();
}

bool Win32ValueListEditorPeer::OnChar(UINT msg, WPARAM ch, LPARAM l, LRESULT& result) {
  if (editing_ && editor_) {
    // Characters queued behind the one that opened the editor (input
    // method results, surrogate halves) belong to it too.
    result = SendMessageW(editor_, msg, ch, l);
    return true;
  }
  if (ch < 0x20 || ch == 0x7F || rows_.empty()) return false;
  // Typing replaces the focus cell's text.
  BeginEdit(true);
  if (editing_) SendMessageW(editor_, msg, ch, l);
  return true;
}

void Win32ValueListEditorPeer::OnLButtonDown(POINT p, bool double_click) {
  const bool had_focus = GetFocus() == hwnd_ || editing_;
  // Takes the focus from the editor too, which commits its text.
  if (GetFocus() != hwnd_) ::SetFocus(hwnd_);
  if (!RowCount()) return;
  const RECT last = CellRect(RowCount() - 1, 1);
  if (!double_click && OnDivider(p.x) && p.y < last.bottom + 1) {
    sizing_ = true;
    ::SetCapture(hwnd_);
    return;
  }
  int r = 0;
  int c = 0;
  if (!HitCell(p, r, c)) return;
  if (double_click) {
    pressing_ = false;
    if (r == row_ && c == col_) BeginEdit(true);
    return;
  }
  press_on_selected_ = had_focus && r == row_ && (whole_row_ || c == col_);
  pressing_ = true;
  press_row_ = r;
  press_col_ = c;
  ::SetCapture(hwnd_);
  MoveFocusCell(r, c);
}

bool Win32ValueListEditorPeer::OnMouseMove(POINT p) {
  if (!sizing_) return false;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int x = std::clamp(static_cast<int>(p.x), Scale(kMinColumn),
                           std::max(Scale(kMinColumn), static_cast<int>(client.right) - 1 - Scale(kMinColumn)));
  key_width_ = UnscaleFromDpi(x, Dpi());
  Invalidate();
  return true;
}

void Win32ValueListEditorPeer::OnLButtonUp(POINT p) {
  if (sizing_) {
    sizing_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
    return;
  }
  if (!pressing_) return;
  pressing_ = false;
  if (GetCapture() == hwnd_) ReleaseCapture();
  const int r = press_row_;
  const int c = press_col_;
  int up_row = -1;
  int up_col = -1;
  const bool same_cell = HitCell(p, up_row, up_col) && up_row == r && up_col == c;
  // The press has moved the selection; the facade hears of the click now.
  if (PeerEvents* e = Events()) e->PeerClick();
  if (same_cell && press_on_selected_ && row_ == r && col_ == c) BeginEdit(true);
}

bool Win32ValueListEditorPeer::OnSetCursor(HWND over, UINT hit_test) {
  if (over != hwnd_ || hit_test != HTCLIENT) return false;
  if (tk_.ScreenImpl().ApplyScreenCursor()) return true;
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(hwnd_, &p);
  const bool over_rows = RowCount() > 0 && p.y <= CellRect(RowCount() - 1, 1).bottom;
  if (!(sizing_ || (over_rows && OnDivider(p.x)))) return false;
  ::SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
  return true;
}

void Win32ValueListEditorPeer::OnVScroll(int code) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(hwnd_, SB_VERT, &si);
  const int page = FullRowsVisible();
  int top = top_;
  switch (code) {
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
}

void Win32ValueListEditorPeer::ShowPendingRefusals() {
  std::vector<std::string> refusals;
  refusals.swap(pending_refusals_);
  for (const std::string& text : refusals) tk_.Application().ShowMessage(text);
}

}  // namespace wakumo
