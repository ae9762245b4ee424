#pragma once
// An image: a bitmap from the resources, drawn at the top left, its silver
// background see-through when asked.
#include "win32/win32_control_peer.h"

namespace wakumo {

class Win32ImagePeer : public Win32ControlPeer, public PicturePeer {
 public:
  Win32ImagePeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events, const std::string& name);

  void SetPicture(const std::string& resource, bool transparent) override;
  std::string Picture() const override { return picture_; }

 protected:
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  std::string picture_;
  bool transparent_ = false;
};

}  // namespace wakumo
