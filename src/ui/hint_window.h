#pragma once
// A hint window: a small bordered box of text in the tooltip colours that
// the program places itself, beside a menu entry for instance.
#include <string>

#include "ui/control.h"

namespace wakumo {

class THintWindow : public TKindControl<HintWindowPeer> {
 public:
  // `owner`: the form the box belongs to (it goes with it).
  THintWindow(UiToolkit& tk, TControl* owner, const std::string& name)
      : TKindControl(tk, ControlKind::HintWindow, owner, name) {}

  // The rectangle (origin 0, 0, screen pixels) that shows `text` wrapped at
  // `max_width`, border included.
  Rect CalcHintRect(int max_width, const std::string& text) {
    const TextSize s = Peer().HintSize(text, max_width);
    return {0, 0, s.cx, s.cy};
  }
  // Shows the text in a screen rectangle, above every window.
  void ActivateHint(const Rect& screen, const std::string& text) { Peer().ShowHint(screen, text); }
  void Hide() { SetVisible(false); }
};

}  // namespace wakumo
