#pragma once
// A speed button: a painted button that takes no focus and shows a glyph.
// Flat ones show their frame only under the mouse or while down; with a group
// index a button stays down until another of its group goes down (or, with
// all-up allowed, until it is clicked again).
#include <string>

#include "win32/win32_control_peer.h"

namespace wakumo {

class Win32SpeedButtonPeer : public Win32ControlPeer, public SpeedButtonPeer {
 public:
  Win32SpeedButtonPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events, const std::string& name);

  void SetPicture(const std::string& resource, bool transparent) override;
  std::string Picture() const override { return glyph_; }
  void SetChecked(bool down) override;
  bool Checked() const override { return down_; }
  void SetSpeedStyle(bool flat, int group, bool allow_all_up) override;
  void SetEnabled(bool e) override;

 protected:
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;
  void HoverChanged() override;

 private:
  void Paint(HDC dc, RECT rc);
  // Puts this button down or up; down releases the others of its group.
  void SetDownState(bool down);
  bool Sunken() const { return down_ || (pressed_ && mouse_inside_); }

  std::string glyph_;
  bool flat_ = false;
  int group_ = 0;
  bool allow_all_up_ = false;
  bool down_ = false;
  bool pressed_ = false;
  bool mouse_inside_ = false;
};

}  // namespace wakumo
