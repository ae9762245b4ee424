#include "sim/sim_platform.h"

#include <algorithm>
#include <stdexcept>

namespace wakumo {

TimerId ManualClock::StartTimer(std::int32_t interval_ms, TimerCallback callback) {
  std::int32_t interval = std::max(interval_ms, kMinimumInterval);
  TimerId id = next_id_++;
  timers_.emplace(id, Timer{interval, now_ + static_cast<std::uint64_t>(interval), std::move(callback)});
  return id;
}

void ManualClock::StopTimer(TimerId id) { timers_.erase(id); }

void ManualClock::Sleep(std::uint32_t ms) {
  sleeps_.push_back(ms);
  now_ += ms;
}

std::uint64_t ManualClock::SleptMs() const {
  std::uint64_t total = 0;
  for (std::uint32_t ms : sleeps_) total += ms;
  return total;
}

std::optional<std::int32_t> ManualClock::IntervalOf(TimerId id) const {
  auto it = timers_.find(id);
  if (it == timers_.end()) return std::nullopt;
  return it->second.interval;
}

void ManualClock::Advance(std::uint64_t ms) {
  if (advancing_) throw std::logic_error("ManualClock::Advance called from a timer callback");
  advancing_ = true;
  const std::uint64_t target = now_ + ms;
  try {
    for (;;) {
      // Earliest due tick; the map's id order breaks ties by start order.
      auto next = timers_.end();
      for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.due <= target && (next == timers_.end() || it->second.due < next->second.due)) next = it;
      }
      if (next == timers_.end()) break;
      now_ = next->second.due;
      next->second.due += static_cast<std::uint64_t>(next->second.interval);
      // The callback may stop this timer (erasing the entry), so run a copy.
      TimerCallback callback = next->second.callback;
      if (callback) callback();
    }
  } catch (...) {
    advancing_ = false;
    throw;
  }
  now_ = target;
  advancing_ = false;
}

std::int16_t SimKeyboard::GetKeyState(int virtual_key) {
  std::uint16_t state = 0;
  auto d = down_.find(virtual_key);
  if (d != down_.end() && d->second) state |= 0xFF80u;  // what the window system reports for a held key
  auto t = toggled_.find(virtual_key);
  if (t != toggled_.end() && t->second) state |= 0x0001u;
  return static_cast<std::int16_t>(state);
}

void SimKeyboard::SetKeyDown(int virtual_key, bool down) { down_[virtual_key] = down; }
void SimKeyboard::SetToggled(int virtual_key, bool toggled) { toggled_[virtual_key] = toggled; }

HookId SimKeyboardHook::InstallKeyboardHook(KeyboardHookProc proc) {
  if (fail_next_) {
    fail_next_ = false;
    return 0;
  }
  HookId id = next_id_++;
  hooks_.emplace(id, std::move(proc));
  return id;
}

void SimKeyboardHook::RemoveKeyboardHook(HookId id) { hooks_.erase(id); }

bool SimKeyboardHook::Feed(const KeyEvent& key) {
  std::vector<HookId> order;
  for (const auto& [id, proc] : hooks_) order.push_back(id);
  bool swallowed = false;
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    auto found = hooks_.find(*it);
    if (found == hooks_.end()) continue;
    KeyboardHookProc proc = found->second;  // the hook may remove itself
    if (proc && proc(key)) swallowed = true;
  }
  return swallowed;
}

void SimSystemParameters::SetKeyboardDelay(std::optional<std::uint32_t> v) {
  if (v) v = std::min<std::uint32_t>(*v, 3);
  delay_ = v;
}

void SimSystemParameters::SetKeyboardSpeed(std::optional<std::uint32_t> v) {
  if (v) v = std::min<std::uint32_t>(*v, 31);
  speed_ = v;
}

}  // namespace wakumo
