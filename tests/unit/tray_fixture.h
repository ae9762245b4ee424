#pragma once
// The notification area on the simulated platform, with a recorder of what
// a registration object's owner hears and helpers that play the shell's
// mouse reports.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim_desktop.h"
#include "sim/sim_platform.h"
#include "sim/sim_ui.h"
#include "tray/task_tray_icon.h"
#include "tray/tool_tip_style.h"
#include "tray/tray_services.h"

namespace wakumo {

inline std::string TrayMessageName(const MessageRecord& r, std::uint32_t taskbar_created) {
  if (r.msg == kTaskbarRestartedMessage) return "restarted";
  if (r.msg == taskbar_created && r.msg != 0) return "TaskbarCreated";
  if (r.msg == WM_TIMER_) return "timer " + std::to_string(r.wparam);
  if (r.msg != kTrayCallbackMessage) return "msg " + std::to_string(r.msg);
  const std::string reposted = static_cast<std::int64_t>(r.wparam) < 0 ? " (reposted)" : "";
  switch (r.lparam) {
    case WM_MOUSEMOVE_: return "move";
    case WM_LBUTTONDOWN_: return "down L" + reposted;
    case WM_RBUTTONDOWN_: return "down R" + reposted;
    case WM_MBUTTONDOWN_: return "down M" + reposted;
    case WM_LBUTTONUP_: return "up L";
    case WM_RBUTTONUP_: return "up R";
    case WM_MBUTTONUP_: return "up M";
    case WM_LBUTTONDBLCLK_: return "dblclk L";
    case WM_RBUTTONDBLCLK_: return "dblclk R";
    case WM_MBUTTONDBLCLK_: return "dblclk M";
    case kTrayMouseEntered: return "enter";
    case kTrayMouseLeft: return "leave";
    case kTrayClick: return "click " + std::string(r.wparam == 0 ? "L" : r.wparam == 1 ? "R" : "M");
    default: return "callback " + std::to_string(r.lparam);
  }
}

struct TrayFixture {
  SimDesktop desk;
  SimToolkit tk{desk};
  SimPlatform platform;
  TrayServices services{desk, platform.Ports()};
  SimNotifyArea& shell = platform.notify_area;
  SimMessageWindows& windows = platform.message_windows;

  // Where the shell shows the first icon in the virtual desktop measured here.
  static constexpr Point kIconPoint{1262, 1010};

  void UseShell(std::uint32_t major, std::uint32_t minor) {
    shell.SetDllVersion(ShellDllVersion{major, minor});
  }
  // The shell's report of a mouse message over the icon of `w`, the cursor
  // at `at`.
  void Report(WindowHandle w, std::uint32_t mouse_message, Point at = kIconPoint) {
    desk.SetCursorPos(at);
    windows.SendMessage(w, kTrayCallbackMessage, kTrayIconId, mouse_message);
  }
  void Click(WindowHandle w, std::uint32_t down, std::uint32_t up, Point at = kIconPoint) {
    Report(w, down, at);
    Report(w, up, at);
  }
  // As the shell reports a double click: down, up, double-click, up.
  void DoubleClick(WindowHandle w, std::uint32_t down, std::uint32_t up, std::uint32_t dblclk,
                   Point at = kIconPoint) {
    Report(w, down, at);
    Report(w, up, at);
    Report(w, dblclk, at);
    Report(w, up, at);
  }
  std::vector<NotifyIconMessage> ShellMessages() const { return shell.Messages(); }
};

// Records what the owner of a registration object hears, by name, leaving
// out what the shell's reports do not concern (creation, timers).
struct OwnerLog {
  std::vector<std::string> names;
  std::uint32_t taskbar_created = 0;
  TTaskTrayIcon::Owner Owner() {
    return [this](MessageRecord& r) {
      const std::string name = TrayMessageName(r, taskbar_created);
      if (name.rfind("msg ", 0) == 0 || name.rfind("timer", 0) == 0) return;
      names.push_back(name);
    };
  }
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(names);
    return out;
  }
};

using Names = std::vector<std::string>;

}  // namespace wakumo
