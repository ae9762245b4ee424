#pragma once
// A push button.
#include "win32/win32_control_peer.h"

namespace wakumo {

class Win32ButtonPeer : public Win32ControlPeer, public ButtonPeer {
 public:
  Win32ButtonPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events, const std::string& name);
  void OnCommand(int code) override;
  // The default button also shows the default frame.
  void SetDefault(bool on) override;
};

// The enabled, visible default (or cancel) button among `root`'s controls.
Win32ButtonPeer* FindDialogButton(Win32ControlPeer& root, bool default_button);

}  // namespace wakumo
