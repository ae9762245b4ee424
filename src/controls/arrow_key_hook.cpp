#include "controls/arrow_key_hook.h"

#include <algorithm>

namespace wakumo {

ArrowKeyHook::~ArrowKeyHook() {
  if (hook_ != 0) service_.RemoveKeyboardHook(hook_);
}

void ArrowKeyHook::Install() {
  if (hook_ != 0) return;
  hook_ = service_.InstallKeyboardHook([this](const KeyEvent& key) { return HandleKey(key); });
}

void ArrowKeyHook::Register(ArrowKeyTarget& target) {
  if (!IsRegistered(target)) targets_.push_back(&target);
  Install();
}

void ArrowKeyHook::Unregister(ArrowKeyTarget& target) {
  auto it = std::find(targets_.begin(), targets_.end(), &target);
  if (it == targets_.end()) return;
  targets_.erase(it);
  if (targets_.empty() && hook_ != 0) {
    service_.RemoveKeyboardHook(hook_);
    hook_ = 0;
  }
}

bool ArrowKeyHook::IsRegistered(const ArrowKeyTarget& target) const {
  return std::find(targets_.begin(), targets_.end(), &target) != targets_.end();
}

bool ArrowKeyHook::HandleKey(const KeyEvent& key) {
  // A step raises OnChange, whose handler may unregister or destroy
  // controls: work on a copy and skip those that left meanwhile.
  const std::vector<ArrowKeyTarget*> snapshot = targets_;
  bool asked_any = false;
  bool all_stepped = true;
  for (ArrowKeyTarget* target : snapshot) {
    if (std::find(targets_.begin(), targets_.end(), target) == targets_.end()) continue;
    asked_any = true;
    if (!target->ArrowKey(key)) all_stepped = false;
  }
  return asked_any && all_stepped;
}

}  // namespace wakumo
