#pragma once
#include "ui/control.h"

namespace wakumo {

class TButton : public TKindControl<ButtonPeer> {
 public:
  TButton(UiToolkit& tk, TControl* parent, const std::string& name) : TKindControl(tk, ControlKind::Button, parent, name) {}
  // Enter on the form clicks the default button, Escape the cancel button.
  void SetDefault(bool on) { Peer().SetDefault(on); }
  void SetCancel(bool on) { Peer().SetCancel(on); }
};

}  // namespace wakumo
