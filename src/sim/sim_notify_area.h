#pragma once
// A scriptable shell for tests: it keeps the icons it holds, records every
// request with the record as it was passed, fails requests as a test
// scripts (a busy shell's ERROR_TIMEOUT_, or any other error), reports a
// chosen shell version, and can be restarted, which drops every icon and
// broadcasts "TaskbarCreated" to the hidden windows.
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/notify_area.h"
#include "sim/sim_message_windows.h"

namespace wakumo {

void PrintTo(NotifyIconMessage m, std::ostream* os);

class SimNotifyArea : public NotifyArea {
 public:
  // The error of a request the shell refuses outright (an add of an icon it
  // holds, a change or delete of one it does not).
  static constexpr std::uint32_t kRefusedError = 31;  // ERROR_GEN_FAILURE

  explicit SimNotifyArea(SimMessageWindows& windows) : windows_(windows) {}

  // ---- NotifyArea ----
  bool NotifyIcon(NotifyIconMessage message, const NotifyIconData& data) override;
  std::uint32_t LastError() override { return last_error_; }
  std::optional<std::string> Shell32FileVersion() override { return file_version_; }
  std::optional<ShellDllVersion> Shell32DllVersion() override { return dll_version_; }

  // ---- Test side ----
  struct Call {
    NotifyIconMessage message;
    NotifyIconData data;
    bool ok;
  };
  const std::vector<Call>& Calls() const { return calls_; }
  std::vector<NotifyIconMessage> Messages() const;
  void ClearCalls() { calls_.clear(); }

  // The next request of that kind fails with `error`; `applied` makes the
  // shell carry it out all the same (a busy shell that answered late).
  // Scripts queue up.
  void FailNext(NotifyIconMessage message, std::uint32_t error, bool applied = false);
  // Every request of that kind fails with `error` until StopFailing.
  void FailAlways(NotifyIconMessage message, std::uint32_t error);
  void StopFailing();

  void SetFileVersion(std::optional<std::string> text) { file_version_ = std::move(text); }
  void SetDllVersion(std::optional<ShellDllVersion> v) { dll_version_ = v; }

  // An icon the shell holds now.
  struct Icon {
    NotifyIconData data;
    bool hidden = false;
  };
  const Icon* Find(WindowHandle w, std::uint32_t id) const;
  std::size_t IconCount() const { return icons_.size(); }
  std::size_t VisibleIconCount() const;
  // The taskbar is made again: every icon is gone and "TaskbarCreated" goes
  // to every hidden window.
  void RestartTaskbar();

 private:
  bool Apply(NotifyIconMessage message, const NotifyIconData& data);
  std::optional<std::pair<std::uint32_t, bool>> ScriptedFailure(NotifyIconMessage message);

  SimMessageWindows& windows_;
  std::map<std::pair<WindowHandle, std::uint32_t>, Icon> icons_;
  std::vector<Call> calls_;
  struct Script {
    NotifyIconMessage message;
    std::uint32_t error;
    bool applied;
  };
  std::deque<Script> scripts_;
  std::map<NotifyIconMessage, std::uint32_t> always_;
  std::uint32_t last_error_ = 0;
  // A shell of the 6.0 line, as every supported system has.
  std::optional<std::string> file_version_ = "6.0.2900.5512";
  std::optional<ShellDllVersion> dll_version_ = ShellDllVersion{6, 0};
};

// The taskbar's tooltip window and the system colours, as a test sets them.
class SimTaskbarTooltip : public TaskbarTooltip {
 public:
  // Once a test gives the taskbar a tooltip window, a handle of its own.
  static constexpr WindowHandle kTooltipHandle = 0x7E000010;

  WindowHandle FindTrayTooltip() override {
    ++lookups_;
    return tooltip_;
  }
  TColor SystemColor(int index) override;

  void SetTooltip(WindowHandle w) { tooltip_ = w; }
  void SetSystemColor(int index, TColor rgb) { colors_[index] = rgb; }
  int Lookups() const { return lookups_; }

 private:
  WindowHandle tooltip_ = 0;
  int lookups_ = 0;
  std::map<int, TColor> colors_;
};

}  // namespace wakumo
