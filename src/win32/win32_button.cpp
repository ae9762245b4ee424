#include "win32/win32_button.h"

namespace wakumo {

Win32ButtonPeer::Win32ButtonPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events,
                                 const std::string& name)
    : Win32ControlPeer(tk, ControlKind::Button, parent, events, name, clBtnFace) {
  CreateHwnd(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, false);
}

void Win32ButtonPeer::OnCommand(int code) {
  if (code != BN_CLICKED) return;
  if (PeerEvents* e = Events()) e->PeerClick();
}

void Win32ButtonPeer::SetDefault(bool on) {
  default_ = on;
  if (hwnd_) SendMessageW(hwnd_, BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

Win32ButtonPeer* FindDialogButton(Win32ControlPeer& root, bool default_button) {
  for (Win32ControlPeer* child : root.Children()) {
    if (child->Kind() == ControlKind::Button) {
      auto* button = static_cast<Win32ButtonPeer*>(child);
      const bool wanted = default_button ? button->IsDefault() : button->IsCancel();
      HWND h = button->Hwnd();
      if (wanted && h && IsWindowEnabled(h) && IsWindowVisible(h)) return button;
    }
    if (Win32ButtonPeer* inner = FindDialogButton(*child, default_button)) return inner;
  }
  return nullptr;
}

}  // namespace wakumo
