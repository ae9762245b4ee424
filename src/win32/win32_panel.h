#pragma once
// A panel: bevels, a colour fill, a centred caption, and room for controls.
#include "win32/win32_control_peer.h"

namespace wakumo {

// One bevel ring of `width` pixels: raised is light at the top left and dark
// at the bottom right, lowered the other way round. Shrinks `rc` past it.
void DrawBevel(HDC dc, RECT& rc, BevelKind kind, int width);

class Win32PanelPeer : public Win32ControlPeer, public PanelPeer {
 public:
  Win32PanelPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events, const std::string& name);

  void SetBevel(BevelKind outer, BevelKind inner) override;
  BevelKind BevelOuter() const override { return outer_; }
  BevelKind BevelInner() const override { return inner_; }
  void SetAlignment(TextAlign a) override;

 protected:
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  void Paint(HDC dc, RECT rc);

  BevelKind outer_ = BevelKind::bvRaised;
  BevelKind inner_ = BevelKind::bvNone;
  TextAlign alignment_ = TextAlign::taCenter;
};

}  // namespace wakumo
