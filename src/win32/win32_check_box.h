#pragma once
// A check box; right-aligned puts the box on the right of its text.
#include "win32/win32_control_peer.h"

namespace wakumo {

class Win32CheckBoxPeer : public Win32ControlPeer, public CheckBoxPeer {
 public:
  Win32CheckBoxPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events, const std::string& name);

  void SetChecked(bool c) override;
  bool Checked() const override;
  void SetRightAligned(bool r) override;
  void OnCommand(int code) override;
  HBRUSH OnCtlColor(UINT msg, HDC dc) override;
};

}  // namespace wakumo
