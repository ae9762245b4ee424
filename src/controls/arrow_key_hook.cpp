#include "controls/arrow_key_hook.h"

#include <algorithm>

namespace wakumo {

ArrowKeyHook::~ArrowKeyHook() {
  if (hook_ != 0) service_.RemoveKeyboardHook(hook_);
}

void ArrowKeyHook::Install() {
  if (hook_ != 0) return;
  hook_ = service_.InstallKeyboardHook([this](int vk, std::uint32_t data) { return HandleKey(vk, data); });
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

bool ArrowKeyHook::HandleKey(int virtual_key, std::uint32_t key_data) {
  const std::intptr_t going_down = (key_data & kKeyDataGoingUp) == 0 ? 1 : 0;
  // A step raises OnChange, whose handler may unregister or destroy
  // controls: work on a copy and skip those that left meanwhile.
  const std::vector<ArrowKeyTarget*> snapshot = targets_;
  bool asked_any = false;
  bool all_stepped = true;
  for (ArrowKeyTarget* target : snapshot) {
    if (std::find(targets_.begin(), targets_.end(), target) == targets_.end()) continue;
    asked_any = true;
    const std::int32_t answer =
        target->Perform(SUD_ARROWKEY, static_cast<std::uintptr_t>(static_cast<unsigned>(virtual_key)), going_down);
    if (answer != 1) all_stepped = false;
  }
  return asked_any && all_stepped;
}

}  // namespace wakumo
