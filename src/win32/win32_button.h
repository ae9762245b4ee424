#pragma once
// A push button.
#include "win32/win32_control_peer.h"

namespace wakumo {

class Win32ButtonPeer : public Win32ControlPeer {
 public:
  Win32ButtonPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events, const std::string& name);
  void OnCommand(int code) override;
};

}  // namespace wakumo
