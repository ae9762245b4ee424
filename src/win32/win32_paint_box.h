#pragma once
// A paint box: its facade paints the whole client area on a canvas, in 96-DPI
// design pixels, and hears the mouse in design pixels too.
#include <functional>

#include "win32/win32_control_peer.h"

namespace wakumo {

class Canvas;

class Win32PaintBoxPeer : public Win32ControlPeer {
 public:
  Win32PaintBoxPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events, const std::string& name);

  // Only invalidates: the picture follows with the next WM_PAINT.
  void Repaint() override;
  void SetMouseCapture(bool on) override;
  Point ClientToScreen(Point p) const override;

 protected:
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;
  Point EventPoint(Point device) const override;

 private:
  void LoseCapture();

  bool left_down_ = false;  // the left button went down here and has not come up
  bool releasing_ = false;  // the capture goes because we release it
};

// Paints `design` (width and height in design pixels) with `paint` onto `dc`,
// whose area of `device` pixels already shows the background. At 96 DPI the
// canvas draws straight on `dc`; at any other DPI it draws on a bitmap of the
// design size, which is then stretched pixel for pixel over the device area,
// so every line and arrow keeps its shape.
void PaintInDesignPixels(Win32Toolkit& tk, HDC dc, SIZE device, SIZE design, UINT dpi,
                         const std::function<void(Canvas&)>& paint);

}  // namespace wakumo
