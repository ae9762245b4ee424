#pragma once
#include <string>

#include "core/text.h"
#include "ui/control.h"

namespace wakumo {

class TEdit : public TKindControl<EditPeer> {
 public:
  TEdit(UiToolkit& tk, TControl* parent, const std::string& name) : TKindControl(tk, ControlKind::Edit, parent, name) {}
  std::string Text() const { return Peer().Caption(); }
  void SetText(const std::string& t) { Peer().SetCaption(t); }
  void SelectAll() { Peer().SetSel(0, static_cast<int>(Utf8ToUtf16(Peer().Caption()).size())); }
  int SelStart() const { return Peer().SelStart(); }
  int SelLength() const { return Peer().SelLength(); }

  TNotifyEvent OnChange;
  // The field received the focus.
  TNotifyEvent OnEnter;

 protected:
  void PeerChange() override { if (OnChange) OnChange(); }
  void PeerEnter() override { if (OnEnter) OnEnter(); }
};

}  // namespace wakumo
