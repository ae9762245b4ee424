#include "win32/win32_edit.h"

#include <utility>

#include "core/text.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

Win32EditPeer::Win32EditPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events,
                             const std::string& name)
    : Win32ControlPeer(tk, ControlKind::Edit, parent, events, name, clWindow) {
  CreateHwnd(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, false);
}

void Win32EditPeer::SetAlignment(TextAlign a) {
  if (!hwnd_) return;
  const DWORD align = a == TextAlign::taRightJustify ? ES_RIGHT : a == TextAlign::taCenter ? ES_CENTER : ES_LEFT;
  // An edit reads its alignment only when it is made.
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const LRESULT modified = SendMessageW(hwnd_, EM_GETMODIFY, 0, 0);
  const LRESULT limit = SendMessageW(hwnd_, EM_GETLIMITTEXT, 0, 0);
  HWND before = hwnd_;
  if (!RecreateHwnd(align, ES_LEFT | ES_CENTER | ES_RIGHT) || hwnd_ == before) return;
  SendMessageW(hwnd_, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
  SendMessageW(hwnd_, EM_SETSEL, start, static_cast<LPARAM>(end));
  SendMessageW(hwnd_, EM_SETMODIFY, modified ? TRUE : FALSE, 0);
  if (ime_closed_) ApplyIme();
}

void Win32EditPeer::SetImeClosed(bool closed) {
  ime_closed_ = closed;
  ApplyIme();
}

void Win32EditPeer::ApplyIme() {
  // Looked up at run time: imm32 is the system's, but not every build links it.
  using AssociateFn = BOOL(WINAPI*)(HWND, void*, DWORD);
  static const AssociateFn associate = [] {
    HMODULE imm = GetModuleHandleW(L"imm32.dll");
    if (!imm) imm = LoadLibraryExW(L"imm32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return imm ? reinterpret_cast<AssociateFn>(reinterpret_cast<void*>(GetProcAddress(imm, "ImmAssociateContextEx")))
               : nullptr;
  }();
  constexpr DWORD kDefaultContext = 0x0010;  // IACE_DEFAULT
  // No input context at all: the input method cannot open in this field.
  if (associate && hwnd_) associate(hwnd_, nullptr, ime_closed_ ? 0 : kDefaultContext);
}

int Win32EditPeer::SelStart() const {
  if (!hwnd_) return 0;
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

int Win32EditPeer::SelLength() const {
  if (!hwnd_) return 0;
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return end > start ? static_cast<int>(end - start) : 0;
}

void Win32EditPeer::SetSel(int start, int length) {
  if (!hwnd_) return;
  const int from = start < 0 ? 0 : start;
  const int to = length < 0 ? from : from + length;
  SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
}

bool Win32EditPeer::Modified() const { return hwnd_ && SendMessageW(hwnd_, EM_GETMODIFY, 0, 0) != 0; }

void Win32EditPeer::SetModified(bool m) {
  if (hwnd_) SendMessageW(hwnd_, EM_SETMODIFY, m ? TRUE : FALSE, 0);
}

void Win32EditPeer::SetReadOnly(bool r) {
  if (hwnd_) SendMessageW(hwnd_, EM_SETREADONLY, r ? TRUE : FALSE, 0);
}

void Win32EditPeer::SetMaxLength(int n) {
  // 0 means no limit of our own; the control's largest limit then applies.
  if (hwnd_) SendMessageW(hwnd_, EM_SETLIMITTEXT, n > 0 ? static_cast<WPARAM>(n) : 0, 0);
}

void Win32EditPeer::OnCommand(int code) {
  if (code != EN_CHANGE) return;
  if (PeerEvents* e = Events()) e->PeerChange();
}

HBRUSH Win32EditPeer::OnCtlColor(UINT msg, HDC dc) {
  // Disabled and read-only fields keep the system's look.
  if (msg != WM_CTLCOLOREDIT) return nullptr;
  if (color_ == clWindow && font_.color == clWindowText) return nullptr;
  SetTextColor(dc, FontColor());
  SetBkColor(dc, ToColorRef(color_));
  return tk_.Brush(color_);
}

bool Win32EditPeer::OnChar(WPARAM unit, LPARAM l, LRESULT& result) {
  result = 0;
  const auto u = static_cast<wchar_t>(unit);
  char32_t ch = u;
  if (IS_HIGH_SURROGATE(u)) {
    pending_high_surrogate_ = u;
    return true;
  }
  if (IS_LOW_SURROGATE(u)) {
    if (!pending_high_surrogate_) return true;  // half a character: nothing to type
    ch = CombineSurrogates(pending_high_surrogate_, u);
  }
  pending_high_surrogate_ = 0;
  PeerEvents* e = Events();
  if (e && !e->PeerKeyPress(ch)) return true;
  if (ch == 0 || ch > 0x10FFFF || IsSurrogate(ch)) return true;
  std::u16string units;
  AppendUtf16(units, ch);
  for (const char16_t unit : units) result = CallBase(WM_CHAR, static_cast<WPARAM>(unit), l);
  return true;
}

// The edit takes the focus first (the facade may select all on entering)
// and then puts the caret where the click was, which would undo that; a
// selection made on entering is kept, and the press starts no drag.
LRESULT Win32EditPeer::OnFocusingClick(WPARAM w, LPARAM l) {
  focusing_click_ = true;
  const LRESULT result = CallBase(WM_LBUTTONDOWN, w, l);
  focusing_click_ = false;
  if (std::exchange(entered_by_click_, false) && hwnd_ && GetFocus() == hwnd_ && entered_end_ > entered_start_) {
    if (GetCapture() == hwnd_) ReleaseCapture();
    SendMessageW(hwnd_, EM_SETSEL, entered_start_, static_cast<LPARAM>(entered_end_));
  }
  return result;
}

// A click on a field of an inactive form: the form gets activated first and
// gives the focus back to this field before the press itself arrives.
bool Win32EditPeer::PressIsOnField() const {
  const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  // The press being handled, or (where the key state lags) the button itself.
  if (GetKeyState(button) >= 0 && GetAsyncKeyState(button) >= 0) return false;
  POINT pt{};
  return GetCursorPos(&pt) && WindowFromPoint(pt) == hwnd_;
}

bool Win32EditPeer::HandleStandardMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_CHAR:
      return OnChar(w, l, result);
    case WM_LBUTTONDOWN:
      if (GetFocus() == hwnd_ && !entered_by_click_) return false;
      result = OnFocusingClick(w, l);
      return true;
    case WM_SETFOCUS: {
      const bool handled = Win32ControlPeer::HandleStandardMessage(msg, w, l, result);
      if (hwnd_ && (focusing_click_ || PressIsOnField())) {
        entered_by_click_ = true;
        SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&entered_start_),
                     reinterpret_cast<LPARAM>(&entered_end_));
      }
      return handled;
    }
    case WM_KILLFOCUS:
      entered_by_click_ = false;
      return Win32ControlPeer::HandleStandardMessage(msg, w, l, result);
    case WM_KEYDOWN: {
      const ShiftState shift = KeyboardShiftState();
      if (PeerEvents* e = Events()) e->PeerKeyDown(static_cast<int>(w), shift);
      // Shift+Insert pastes without a WM_PASTE in some edit implementations
      // (Wine's); asking by message lets the facade take it like Ctrl+V.
      if (hwnd_ && w == VK_INSERT && shift.shift && !shift.ctrl && !shift.alt) {
        if (!(GetWindowLongW(hwnd_, GWL_STYLE) & ES_READONLY)) SendMessageW(hwnd_, WM_PASTE, 0, 0);
        result = 0;
        return true;
      }
      return false;
    }
    case WM_PASTE:
      // Keyboard, context menu or message: the facade may paste its own way.
      if (PeerEvents* e = Events(); e && e->PeerPaste()) {
        result = 0;
        return true;
      }
      return false;
    default:
      return Win32ControlPeer::HandleStandardMessage(msg, w, l, result);
  }
}

bool Win32EditPeer::HasParentWindow() const { return hwnd_ && ParentPeer() && ParentPeer()->Hwnd(); }

}  // namespace wakumo
