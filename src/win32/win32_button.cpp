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

}  // namespace wakumo
