#pragma once
// The one keyboard hook that lets Up and Down step the slide up-down control
// whose associate has the focus. All controls of a program share it: the
// object that owns the controls owns one of these and hands it to each.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace wakumo {

class ArrowKeyTarget {
 public:
  virtual ~ArrowKeyTarget() = default;
  // Every key event reaches every registered control; true when the control
  // stepped its number.
  virtual bool ArrowKey(const KeyEvent& key) = 0;
};

class ArrowKeyHook {
 public:
  explicit ArrowKeyHook(KeyboardHookService& service) : service_(service) {}
  // Every control must have unregistered (or never registered) by now.
  ~ArrowKeyHook();
  ArrowKeyHook(const ArrowKeyHook&) = delete;
  ArrowKeyHook& operator=(const ArrowKeyHook&) = delete;

  // A target is kept at most once. The first one installs the hook; when
  // installing fails, the next registration tries again.
  void Register(ArrowKeyTarget& target);
  // Removing the last target removes the hook. Unknown targets are ignored.
  void Unregister(ArrowKeyTarget& target);
  bool IsRegistered(const ArrowKeyTarget& target) const;
  std::size_t Count() const { return targets_.size(); }
  bool Installed() const { return hook_ != 0; }

  // The hook procedure: asks every registered target, and swallows the key
  // only when each of them stepped (so with several controls, the focused
  // field still gets its key).
  bool HandleKey(const KeyEvent& key);

 private:
  void Install();

  KeyboardHookService& service_;
  std::vector<ArrowKeyTarget*> targets_;
  HookId hook_ = 0;
};

}  // namespace wakumo
