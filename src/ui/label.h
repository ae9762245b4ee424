#pragma once
#include "ui/control.h"

namespace wakumo {

class TLabel : public TControl {
 public:
  TLabel(UiToolkit& tk, TControl* parent, const std::string& name) : TControl(tk, ControlKind::Label, parent, name) {}
  void SetAlignment(TextAlign a) { Peer().SetAlignment(a); }
  void SetWordWrap(bool w) { Peer().SetWordWrap(w); }
};

}  // namespace wakumo
