#include "win32/win32_edit.h"

#include "win32/win32_toolkit.h"

namespace wakumo {

namespace {

ShiftState KeyboardShiftState() {
  ShiftState s;
  s.shift = GetKeyState(VK_SHIFT) < 0;
  s.ctrl = GetKeyState(VK_CONTROL) < 0;
  s.alt = GetKeyState(VK_MENU) < 0;
  return s;
}

}  // namespace

Win32EditPeer::Win32EditPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events,
                             const std::string& name)
    : Win32ControlPeer(tk, ControlKind::Edit, parent, events, name, clWindow) {
  CreateHwnd(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, false);
}

void Win32EditPeer::SetAlignment(TextAlign a) {
  const DWORD align = a == TextAlign::taRightJustify ? ES_RIGHT : a == TextAlign::taCenter ? ES_CENTER : ES_LEFT;
  ChangeStyle(align, ES_LEFT | ES_CENTER | ES_RIGHT);
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
    ch = 0x10000 + ((static_cast<char32_t>(pending_high_surrogate_) - 0xD800) << 10) + (u - 0xDC00);
  }
  pending_high_surrogate_ = 0;
  PeerEvents* e = Events();
  if (e && !e->PeerKeyPress(ch)) return true;
  if (ch == 0 || ch > 0x10FFFF || (ch >= 0xD800 && ch < 0xE000)) return true;
  if (ch < 0x10000) {
    result = DefSubclassProc(hwnd_, WM_CHAR, static_cast<WPARAM>(ch), l);
  } else {
    const char32_t v = ch - 0x10000;
    DefSubclassProc(hwnd_, WM_CHAR, static_cast<WPARAM>(0xD800 + (v >> 10)), l);
    result = DefSubclassProc(hwnd_, WM_CHAR, static_cast<WPARAM>(0xDC00 + (v & 0x3FF)), l);
  }
  return true;
}

bool Win32EditPeer::HandleStandardMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_CHAR:
      return OnChar(w, l, result);
    case WM_KEYDOWN:
      if (PeerEvents* e = Events()) e->PeerKeyDown(static_cast<int>(w), KeyboardShiftState());
      return false;
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

}  // namespace wakumo
