#pragma once
// The simulated hint window: a hidden top-level popup owned by its form,
// shown where the program puts it. The text is measured in the test font of
// the raster canvas at 12 pixels, wrapped at the given width, inside a
// 1-pixel border with 2 pixels of room left and right and 1 above and below.
#include <string>

#include "sim/sim_ui.h"

namespace wakumo {

class SimHintWindowPeer : public SimControlPeer, public HintWindowPeer {
 public:
  using SimControlPeer::SimControlPeer;

  static constexpr int kFontHeight = 12;
  static constexpr int kExtraWidth = 6;
  static constexpr int kExtraHeight = 4;

  TextSize HintSize(const std::string& text, int max_width) override;
  void ShowHint(const Rect& screen, const std::string& text) override;
  // Screen coordinates, as the window is top-level.
  void SetBounds(const Rect& r) override;
  Rect Bounds() const override;

  // ---- Test side ----
  int ShowCount() const { return show_count_; }

 private:
  int show_count_ = 0;
};

}  // namespace wakumo
