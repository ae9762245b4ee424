#pragma once
#include "ui/control.h"

namespace wakumo {

class TButton : public TControl {
 public:
  TButton(UiToolkit& tk, TControl* parent, const std::string& name) : TControl(tk, ControlKind::Button, parent, name) {}
};

}  // namespace wakumo
