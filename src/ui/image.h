#pragma once
#include "ui/control.h"

namespace wakumo {

class TImage : public TControl {
 public:
  TImage(UiToolkit& tk, TControl* parent, const std::string& name) : TControl(tk, ControlKind::Image, parent, name) {}
  void SetPicture(const std::string& resource, bool transparent) { Peer().SetPicture(resource, transparent); }
  std::string Picture() const { return Peer().Picture(); }
};

}  // namespace wakumo
