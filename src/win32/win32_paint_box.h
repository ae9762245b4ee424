#pragma once
// A paint box: its facade paints the whole client area on a canvas.
#include "win32/win32_control_peer.h"

namespace wakumo {

class Win32PaintBoxPeer : public Win32ControlPeer {
 public:
  Win32PaintBoxPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events, const std::string& name);

 protected:
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;
};

}  // namespace wakumo
