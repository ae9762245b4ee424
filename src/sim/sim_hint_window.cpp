#include "sim/sim_hint_window.h"

#include <algorithm>

#include "sim/raster_canvas.h"

namespace wakumo {

TextSize SimHintWindowPeer::HintSize(const std::string& text, int max_width) {
  RasterCanvas canvas(1, 1);
  FontSpec font;
  font.height = kFontHeight;
  canvas.SetFont(font);
  Rect r{0, 0, std::max(max_width, 0), 0};
  canvas.DrawText(text, r, DT_CALCRECT_ | DT_LEFT_ | DT_WORDBREAK_ | DT_NOPREFIX_);
  return {r.Width() + kExtraWidth, r.Height() + kExtraHeight};
}

void SimHintWindowPeer::ShowHint(const Rect& screen, const std::string& text) {
  ++show_count_;
  SetCaption(text);
  Desktop().SetRect(handle_, screen);
  SetVisible(true);
  Desktop().Raise(handle_);
}

void SimHintWindowPeer::SetBounds(const Rect& r) { Desktop().SetRect(handle_, r); }

Rect SimHintWindowPeer::Bounds() const { return Desktop().ScreenRect(handle_); }

}  // namespace wakumo
