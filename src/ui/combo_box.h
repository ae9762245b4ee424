#pragma once
#include <string>
#include <vector>

#include "ui/control.h"

namespace wakumo {

// Editable text with a drop-down of entries (ControlKind::ComboBox), or a choice
// among fixed entries (ControlKind::DropDownList).
class TComboBox : public TKindControl<ItemsPeer> {
 public:
  TComboBox(UiToolkit& tk, TControl* parent, const std::string& name, bool drop_down_list)
      : TKindControl(tk, drop_down_list ? ControlKind::DropDownList : ControlKind::ComboBox, parent, name) {}
  void SetItems(const std::vector<std::string>& items) { Peer().SetItems(items); }
  std::vector<std::string> Items() const { return Peer().Items(); }
  void SetItemIndex(int i) { Peer().SetItemIndex(i); }
  int ItemIndex() const { return Peer().ItemIndex(); }
  std::string Text() const { return Peer().Caption(); }
  void SetText(const std::string& t) { Peer().SetCaption(t); }

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnCloseUp;

 protected:
  void PeerChange() override { if (OnChange) OnChange(); }
  void PeerSelect() override { if (OnSelect) OnSelect(); }
  void PeerCloseUp() override { if (OnCloseUp) OnCloseUp(); }
};

}  // namespace wakumo
