#pragma once
#include "ui/control.h"

namespace wakumo {

class TPanel : public TKindControl<PanelPeer> {
 public:
  TPanel(UiToolkit& tk, TControl* parent, const std::string& name) : TKindControl(tk, ControlKind::Panel, parent, name) {}
  void SetBevelOuter(BevelKind b) { Peer().SetBevel(b, Peer().BevelInner()); }
  void SetBevelInner(BevelKind b) { Peer().SetBevel(Peer().BevelOuter(), b); }
  BevelKind BevelOuter() const { return Peer().BevelOuter(); }
  BevelKind BevelInner() const { return Peer().BevelInner(); }
  void SetAlignment(TextAlign a) { Peer().SetAlignment(a); }
};

}  // namespace wakumo
