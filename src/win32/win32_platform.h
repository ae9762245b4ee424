#pragma once
// The platform ports on user32 and kernel32: time, timers, the keyboard, a
// few system settings, the clipboard and the locale's number symbols.
// Everything here lives on the user-interface thread.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "win32/win32_api.h"
#include "win32/win32_hidden_window.h"
#include "win32/win32_icons.h"
#include "win32/win32_message_windows.h"
#include "win32/win32_notify_area.h"
#include "win32/win32_shell.h"
#include "win32/win32_startup_trace.h"
#include "win32/win32_taskbar_tooltip.h"
#include "win32/win32_workers.h"

namespace wakumo {

class Win32Clock : public Clock, public Sleeper {
 public:
  std::uint64_t NowMs() override { return GetTickCount64(); }
  void Sleep(std::uint32_t ms) override { ::Sleep(ms); }
};

// SetTimer on a hidden window: WM_TIMER reaches it from any message loop,
// menus' and dialogs' modal loops included.
class Win32TimerService : public TimerService {
 public:
  Win32TimerService();
  ~Win32TimerService() override;
  TimerId StartTimer(std::int32_t interval_ms, TimerCallback callback) override;
  void StopTimer(TimerId id) override;
  std::size_t RunningCount() const { return timers_.size(); }

  static constexpr std::int32_t kMinimumInterval = 10;

 private:
  static bool Handle(void* self, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  void Tick(TimerId id);

  HiddenMessageWindow window_;
  std::map<TimerId, TimerCallback> timers_;
  TimerId next_id_ = 1;
};

class Win32KeyboardState : public KeyboardState {
 public:
  std::int16_t GetKeyState(int virtual_key) override { return static_cast<std::int16_t>(::GetKeyState(virtual_key)); }
};

// Every service of a thread shares one WH_KEYBOARD thread hook: a hook
// procedure cannot tell which of several hooks it was called for.
class Win32KeyboardHookService : public KeyboardHookService {
 public:
  ~Win32KeyboardHookService() override;
  HookId InstallKeyboardHook(KeyboardHookProc proc) override;
  void RemoveKeyboardHook(HookId id) override;
};

class Win32SystemParameters : public SystemParameters {
 public:
  std::optional<std::uint32_t> KeyboardDelay() override;
  std::optional<std::uint32_t> KeyboardSpeed() override;
  std::uint32_t DoubleClickTime() override { return GetDoubleClickTime(); }
};

class Win32Clipboard : public Clipboard {
 public:
  Win32Clipboard();
  std::optional<std::string> GetText() override;
  bool SetText(std::string_view text) override;

 private:
  bool Open();
  // The clipboard's owner: with no owner window, SetClipboardData fails.
  HiddenMessageWindow window_;
};

class Win32LocaleInfo : public LocaleInfo {
 public:
  NumberSeparators Separators() override;
};

// The rule behind Win32LocaleInfo: the first character of each symbol, a
// missing one replaced by "." or "," (whichever the other is not), and the
// defaults when both come out the same.
NumberSeparators SeparatorsFrom(std::wstring_view decimal, std::wstring_view thousands);

// Width of a vertical scroll bar in 96-DPI design pixels.
int ScrollBarWidthDesignPixels();

// All real facilities in one place, for start-up to hand out.
class Win32Platform {
 public:
  // First, so that its first mark is as near the process's start as can be.
  Win32StartupTrace startup_trace;
  Win32Clock clock;
  Win32TimerService timers;
  Win32KeyboardState keyboard;
  Win32KeyboardHookService keyboard_hook;
  Win32SystemParameters system;
  Win32Clipboard clipboard;
  Win32LocaleInfo locale;
  Win32NotifyArea notify_area;
  Win32MessageWindows message_windows{GetModuleHandleW(nullptr)};
  Win32TaskbarTooltip taskbar_tooltip;
  Win32IconStore icons{GetModuleHandleW(nullptr)};
  Win32WorkerThreads workers;
  Win32Shell shell;

  // The file system and the ANSI code page come from start-up.
  Platform Ports(FileSystem& files, const AnsiCodePage& code_page) {
    return Platform{clock,  timers,      keyboard,        keyboard_hook,   system, clipboard, locale, files,
                    code_page, clock, notify_area, message_windows, taskbar_tooltip, icons, workers, shell,
                    startup_trace};
  }
};

}  // namespace wakumo
