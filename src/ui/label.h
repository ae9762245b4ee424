#pragma once
#include "ui/control.h"

namespace wakumo {

class TLabel : public TKindControl<LabelPeer> {
 public:
  TLabel(UiToolkit& tk, TControl* parent, const std::string& name) : TKindControl(tk, ControlKind::Label, parent, name) {}
  void SetAlignment(TextAlign a) { Peer().SetAlignment(a); }
  void SetWordWrap(bool w) { Peer().SetWordWrap(w); }
};

}  // namespace wakumo
