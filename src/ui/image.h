#pragma once
#include "ui/control.h"

namespace wakumo {

class TImage : public TKindControl<PicturePeer> {
 public:
  TImage(UiToolkit& tk, TControl* parent, const std::string& name) : TKindControl(tk, ControlKind::Image, parent, name) {}
  void SetPicture(const std::string& resource, bool transparent) { Peer().SetPicture(resource, transparent); }
  std::string Picture() const { return Peer().Picture(); }
};

}  // namespace wakumo
