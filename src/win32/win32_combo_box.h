#pragma once
// A combo box: editable text with a drop-down of entries, or (drop-down list)
// a choice among fixed entries.
#include <string>
#include <vector>

#include "win32/win32_control_peer.h"

namespace wakumo {

class Win32ComboBoxPeer : public Win32ControlPeer, public ItemsPeer {
 public:
  Win32ComboBoxPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events, const std::string& name,
                    bool drop_down_list);

  void SetCaption(const std::string& text) override;
  void SetItems(const std::vector<std::string>& items) override;
  std::vector<std::string> Items() const override;
  void SetItemIndex(int i) override;
  int ItemIndex() const override;
  void OnCommand(int code) override;

 protected:
  void ApplyBounds() override;
  // Focus comes as notifications: the text field inside takes the focus.
  bool HandleStandardMessage(UINT, WPARAM, LPARAM, LRESULT&) override { return false; }

 private:
  std::string ItemText(int i) const;

  bool drop_down_list_;
};

}  // namespace wakumo
