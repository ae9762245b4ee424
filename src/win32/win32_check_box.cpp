#include "win32/win32_check_box.h"

#include "win32/win32_toolkit.h"

namespace wakumo {

Win32CheckBoxPeer::Win32CheckBoxPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events,
                                     const std::string& name)
    : Win32ControlPeer(tk, ControlKind::CheckBox, parent, events, name, clBtnFace) {
  CreateHwnd(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, false);
}

void Win32CheckBoxPeer::SetChecked(bool c) {
  // BM_SETCHECK raises no BN_CLICKED: the facade decides about OnClick.
  if (hwnd_) SendMessageW(hwnd_, BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32CheckBoxPeer::Checked() const {
  return hwnd_ && SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32CheckBoxPeer::SetRightAligned(bool r) {
  if (r) {
    ChangeStyle(BS_LEFTTEXT | BS_RIGHT, 0);
  } else {
    ChangeStyle(0, BS_LEFTTEXT | BS_RIGHT);
  }
}

void Win32CheckBoxPeer::OnCommand(int code) {
  if (code != BN_CLICKED) return;
  if (PeerEvents* e = Events()) e->PeerClick();
}

HBRUSH Win32CheckBoxPeer::OnCtlColor(UINT, HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, FontColor());
  const Win32ControlPeer* parent = ParentPeer();
  return tk_.Brush(parent ? parent->BackgroundColor() : clBtnFace);
}

}  // namespace wakumo
