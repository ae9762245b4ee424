#pragma once
// The hint window: a bordered popup in the tooltip colours, owned by its
// form, above every window, never active and transparent to the mouse. Its
// text is its window text, so other processes can read what it shows.
#include <string>

#include "win32/win32_control_peer.h"

namespace wakumo {

class Win32HintWindowPeer : public Win32ControlPeer, public HintWindowPeer {
 public:
  Win32HintWindowPeer(Win32Toolkit& tk, PeerEvents& events, const std::string& name);
  ~Win32HintWindowPeer() override;

  TextSize HintSize(const std::string& text, int max_width) override;
  void ShowHint(const Rect& screen, const std::string& text) override;
  // Screen pixels: the window is top-level.
  void SetBounds(const Rect& r) override;
  Rect Bounds() const override;
  void ApplyDpi() override {}

 protected:
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  // Room between the border and the text.
  int PadX() const { return Scale(2); }
  int PadY() const { return Scale(1); }
  HFONT HintFont();

  HFONT font_ = nullptr;
};

}  // namespace wakumo
