#pragma once
// Deterministic stand-ins for the platform ports: time moves only when a test
// advances it, keys are down only when a test says so.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sim/sim_files.h"
#include "sim/sim_icons.h"
#include "sim/sim_message_windows.h"
#include "sim/sim_notify_area.h"
#include "sim/sim_shell.h"
#include "sim/sim_workers.h"

namespace wakumo {

// A manual clock with a timer queue. Advance fires every tick that falls due,
// in time order; ticks due at the same moment fire in the order the timers
// were started.
class ManualClock : public Clock, public TimerService, public Sleeper {
 public:
  std::uint64_t NowMs() override { return now_; }
  TimerId StartTimer(std::int32_t interval_ms, TimerCallback callback) override;
  void StopTimer(TimerId id) override;
  // A sleep of the user-interface thread: time moves on and no timer fires
  // meanwhile (the loop is blocked); ticks that fell due fire at the next
  // Advance. Every sleep is recorded.
  void Sleep(std::uint32_t ms) override;
  const std::vector<std::uint32_t>& Sleeps() const { return sleeps_; }
  std::uint64_t SleptMs() const;

  // Moves time forward by ms, firing due ticks on the way; the clock reads
  // each tick's due time while its callback runs. Not re-entrant: calling it
  // from a timer callback throws std::logic_error.
  void Advance(std::uint64_t ms);

  bool IsRunning(TimerId id) const { return timers_.count(id) != 0; }
  std::size_t RunningCount() const { return timers_.size(); }
  // The interval a timer actually runs at (after the 10 ms floor).
  std::optional<std::int32_t> IntervalOf(TimerId id) const;

  static constexpr std::int32_t kMinimumInterval = 10;

 private:
  struct Timer {
    std::int32_t interval;
    std::uint64_t due;
    TimerCallback callback;
  };
  std::uint64_t now_ = 0;
  TimerId next_id_ = 1;
  bool advancing_ = false;
  std::map<TimerId, Timer> timers_;
  std::vector<std::uint32_t> sleeps_;
};

class SimKeyboard : public KeyboardState {
 public:
  std::int16_t GetKeyState(int virtual_key) override;
  void SetKeyDown(int virtual_key, bool down);
  void SetToggled(int virtual_key, bool toggled);
  void ReleaseAll() { down_.clear(); }

 private:
  std::map<int, bool> down_;
  std::map<int, bool> toggled_;
};

// Keeps the installed hooks and lets a test feed key events through them.
class SimKeyboardHook : public KeyboardHookService {
 public:
  HookId InstallKeyboardHook(KeyboardHookProc proc) override;
  void RemoveKeyboardHook(HookId id) override;

  // Runs every installed hook, newest first as a hook chain does, and reports
  // whether any of them swallowed the key. Hooks removed by an earlier hook
  // during the same event are not called.
  bool Feed(const KeyEvent& key);
  bool FeedKeyDown(int virtual_key, bool auto_repeat = false) {
    return Feed(KeyEvent{virtual_key, 1, true, auto_repeat});
  }
  bool FeedKeyUp(int virtual_key) { return Feed(KeyEvent{virtual_key, 1, false, true}); }

  std::size_t InstalledCount() const { return hooks_.size(); }
  // A test can make the next installation fail.
  void FailNextInstall() { fail_next_ = true; }

 private:
  HookId next_id_ = 1;
  bool fail_next_ = false;
  std::map<HookId, KeyboardHookProc> hooks_;
};

class SimSystemParameters : public SystemParameters {
 public:
  std::optional<std::uint32_t> KeyboardDelay() override { return delay_; }
  std::optional<std::uint32_t> KeyboardSpeed() override { return speed_; }
  std::uint32_t DoubleClickTime() override { return double_click_; }

  // Values are held to the ranges the port promises; std::nullopt makes the
  // read fail.
  void SetKeyboardDelay(std::optional<std::uint32_t> v);
  void SetKeyboardSpeed(std::optional<std::uint32_t> v);
  void SetDoubleClickTime(std::uint32_t ms) { double_click_ = ms; }

 private:
  // The window system's defaults.
  std::optional<std::uint32_t> delay_ = 1;
  std::optional<std::uint32_t> speed_ = 31;
  std::uint32_t double_click_ = 500;
};

class SimClipboard : public Clipboard {
 public:
  std::optional<std::string> GetText() override { return text_; }
  bool SetText(std::string_view text) override {
    text_ = std::string(text);
    return true;
  }
  // Nothing: the clipboard holds no plain text (empty, or a picture).
  void Clear() { text_.reset(); }

 private:
  std::optional<std::string> text_;
};

class SimLocale : public LocaleInfo {
 public:
  NumberSeparators Separators() override { return separators_; }
  void SetSeparators(NumberSeparators s) { separators_ = s; }

 private:
  NumberSeparators separators_;
};

// The phases marked, in order, for tests of where start-up marks them.
class SimStartupTrace : public StartupTrace {
 public:
  void Mark(std::string_view phase) override { phases.emplace_back(phase); }
  std::vector<std::string> phases;
};

// All simulated facilities in one place, for a test to build and to poke.
class SimPlatform {
 public:
  ManualClock clock;
  SimKeyboard keyboard;
  SimKeyboardHook keyboard_hook;
  SimSystemParameters system;
  SimClipboard clipboard;
  SimLocale locale;
  SimFileSystem files;
  // The Japanese systems the program is made for.
  SimAnsiCodePage code_page{932};
  SimMessageWindows message_windows{clock};
  SimNotifyArea notify_area{message_windows};
  SimTaskbarTooltip taskbar_tooltip;
  SimIconStore icons;
  SimWorkers workers{clock};
  SimShell shell;
  SimStartupTrace startup_trace;

  Platform Ports() {
    return Platform{clock,     clock,       keyboard,     keyboard_hook,   system,          clipboard,
                    locale,    files,       code_page,    clock,           notify_area,     message_windows,
                    taskbar_tooltip, icons, workers, shell, startup_trace};
  }
};

}  // namespace wakumo
