#pragma once
#include "ui/control.h"

namespace wakumo {

// Setting Checked from code runs OnClick when the state changes, as a click
// would, so dependent controls stay consistent.
class TCheckBox : public TKindControl<CheckBoxPeer> {
 public:
  TCheckBox(UiToolkit& tk, TControl* parent, const std::string& name) : TKindControl(tk, ControlKind::CheckBox, parent, name) {}
  void SetChecked(bool c) {
    if (Peer().Checked() == c) return;
    Peer().SetChecked(c);
    if (OnClick) OnClick();
  }
  bool Checked() const { return Peer().Checked(); }
  void SetRightAligned(bool r) { Peer().SetRightAligned(r); }
};

}  // namespace wakumo
