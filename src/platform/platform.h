#pragma once
// Ports for the platform facilities that are neither other windows nor
// widgets: time, the keyboard, a few system settings, the clipboard and the
// locale's number symbols. Each facility is its own small interface, so a
// feature takes only what it uses; `Platform` gathers them for start-up,
// with the notification area's ports (notify_area.h, message_windows.h,
// icons.h, worker_threads.h). Everything here is called on the
// user-interface thread unless it says otherwise.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ansi_code_page.h"
#include "platform/files.h"
#include "platform/icons.h"
#include "platform/message_windows.h"
#include "platform/notify_area.h"
#include "platform/worker_threads.h"
#include "platform/shell.h"
#include "platform/startup_trace.h"

namespace wakumo {

// Virtual-key codes, with the window system's values so that key data passed
// through untouched keeps its meaning.
inline constexpr int VK_LBUTTON_ = 0x01;
inline constexpr int VK_RBUTTON_ = 0x02;
inline constexpr int VK_MBUTTON_ = 0x04;
inline constexpr int VK_BACK_ = 0x08;
inline constexpr int VK_TAB_ = 0x09;
inline constexpr int VK_RETURN_ = 0x0D;
inline constexpr int VK_SHIFT_ = 0x10;
inline constexpr int VK_CONTROL_ = 0x11;
inline constexpr int VK_MENU_ = 0x12;  // Alt
inline constexpr int VK_ESCAPE_ = 0x1B;
inline constexpr int VK_SPACE_ = 0x20;
inline constexpr int VK_PRIOR_ = 0x21;
inline constexpr int VK_NEXT_ = 0x22;
inline constexpr int VK_END_ = 0x23;
inline constexpr int VK_HOME_ = 0x24;
inline constexpr int VK_LEFT_ = 0x25;
inline constexpr int VK_UP_ = 0x26;
inline constexpr int VK_RIGHT_ = 0x27;
inline constexpr int VK_DOWN_ = 0x28;
inline constexpr int VK_INSERT_ = 0x2D;
inline constexpr int VK_DELETE_ = 0x2E;

// Monotonic milliseconds; only differences mean anything.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint64_t NowMs() = 0;
};

// Blocks the calling thread. Only for the rare wait that the program's own
// rules ask for (a busy shell is given two seconds); timers are the way to
// wait otherwise.
class Sleeper {
 public:
  virtual ~Sleeper() = default;
  virtual void Sleep(std::uint32_t ms) = 0;
};

// 0 is never a valid timer.
using TimerId = std::uint32_t;
using TimerCallback = std::function<void()>;

// Repeating timers delivered through the message loop, one callback per due
// interval. Intervals below 10 ms run at 10 ms, as the window system's do.
class TimerService {
 public:
  virtual ~TimerService() = default;
  // The first tick comes one interval after the start. A callback may stop its
  // own timer and start others. Returns 0 when no timer could be made.
  virtual TimerId StartTimer(std::int32_t interval_ms, TimerCallback callback) = 0;
  // Unknown or already stopped ids are ignored.
  virtual void StopTimer(TimerId id) = 0;
};

class KeyboardState {
 public:
  virtual ~KeyboardState() = default;
  // The state of a key as the current thread's input has seen it, laid out as
  // the window system gives it: the high byte is non-zero while the key is
  // down (bit 15 set), bit 0 is the toggle state.
  virtual std::int16_t GetKeyState(int virtual_key) = 0;
};

// One key message as a keyboard hook sees it.
struct KeyEvent {
  int virtual_key = 0;
  int repeat = 1;         // the message's repeat count
  bool pressed = true;    // false while the key goes up
  bool was_down = false;  // the key was already down (auto-repeat, or going up)
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

// Returns true to swallow the key, so that no window gets it.
using KeyboardHookProc = std::function<bool(const KeyEvent& key)>;
using HookId = std::uint32_t;

// A keyboard hook on the user-interface thread. The procedure sees each key
// message once, when it is taken off the queue, before the focused window
// does; the adapter always passes the event on to other hooks.
class KeyboardHookService {
 public:
  virtual ~KeyboardHookService() = default;
  // 0 when the hook could not be installed.
  virtual HookId InstallKeyboardHook(KeyboardHookProc proc) = 0;
  // Unknown ids are ignored. Safe to call from inside a hook procedure.
  virtual void RemoveKeyboardHook(HookId id) = 0;
};

class SystemParameters {
 public:
  virtual ~SystemParameters() = default;
  // The user's keyboard repeat delay setting, 0 (shortest) to 3; nothing when
  // it cannot be read.
  virtual std::optional<std::uint32_t> KeyboardDelay() = 0;
  // The user's keyboard repeat speed setting, 0 (slowest) to 31; nothing when
  // it cannot be read.
  virtual std::optional<std::uint32_t> KeyboardSpeed() = 0;
  // Longest time between the clicks of a double click, in milliseconds.
  virtual std::uint32_t DoubleClickTime() = 0;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Plain text on the clipboard, UTF-8; nothing when there is none or the
  // clipboard cannot be opened.
  virtual std::optional<std::string> GetText() = 0;
  virtual bool SetText(std::string_view text) = 0;
};

// One character each. The two always differ: an adapter whose locale gives
// none, or the same symbol for both, falls back to "." and ",".
struct NumberSeparators {
  char32_t decimal = U'.';
  char32_t thousands = U',';
  friend bool operator==(const NumberSeparators&, const NumberSeparators&) = default;
};

class LocaleInfo {
 public:
  virtual ~LocaleInfo() = default;
  // The user's number symbols, read when asked (the user may change them).
  virtual NumberSeparators Separators() = 0;
};

struct Platform {
  Clock& clock;
  TimerService& timers;
  KeyboardState& keyboard;
  KeyboardHookService& keyboard_hook;
  SystemParameters& system;
  Clipboard& clipboard;
  LocaleInfo& locale;
  FileSystem& files;
  const AnsiCodePage& code_page;
  Sleeper& sleeper;
  NotifyArea& notify_area;
  MessageWindows& message_windows;
  TaskbarTooltip& taskbar_tooltip;
  IconStore& icons;
  WorkerThreads& workers;
  Shell& shell;
  StartupTrace& startup_trace;
};

}  // namespace wakumo
