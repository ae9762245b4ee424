#pragma once
#include "ui/control.h"

namespace wakumo {

// A button without focus that shows a glyph; with a group index it stays down.
class TSpeedButton : public TKindControl<SpeedButtonPeer> {
 public:
  TSpeedButton(UiToolkit& tk, TControl* parent, const std::string& name)
      : TKindControl(tk, ControlKind::SpeedButton, parent, name) {}
  void SetStyle(bool flat, int group_index, bool allow_all_up) { Peer().SetSpeedStyle(flat, group_index, allow_all_up); }
  void SetGlyph(const std::string& resource) { Peer().SetPicture(resource, true); }
  std::string Glyph() const { return Peer().Picture(); }
  void SetDown(bool d) { Peer().SetChecked(d); }
  bool Down() const { return Peer().Checked(); }
};

}  // namespace wakumo
