#pragma once
#include <string>

#include "ui/control.h"

namespace wakumo {

class TEdit : public TControl {
 public:
  TEdit(UiToolkit& tk, TControl* parent, const std::string& name) : TControl(tk, ControlKind::Edit, parent, name) {}
  std::string Text() const { return Peer().Caption(); }
  void SetText(const std::string& t) { Peer().SetCaption(t); }

  TNotifyEvent OnChange;

 protected:
  void PeerChange() override { if (OnChange) OnChange(); }
};

}  // namespace wakumo
