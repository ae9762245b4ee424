#pragma once
// Hidden message windows for tests: classes with their procedures, windows
// with handles of their own range, registered messages, sends that call the
// procedure at once, a queue of posted messages that a test dispatches, and
// window timers on the simulated clock. Messages sent to windows that are
// not ours (the taskbar's tooltip) are recorded.
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/message_windows.h"
#include "platform/platform.h"

namespace wakumo {

inline constexpr std::uint32_t WM_CREATE_ = 0x0001;
inline constexpr std::uint32_t WM_NCCREATE_ = 0x0081;
inline constexpr std::uint32_t WM_NCDESTROY_ = 0x0082;

struct SimMessage {
  WindowHandle window = 0;
  std::uint32_t msg = 0;
  std::uint64_t wparam = 0;
  std::int64_t lparam = 0;
  friend bool operator==(const SimMessage&, const SimMessage&) = default;
};
void PrintTo(const SimMessage& m, std::ostream* os);

class SimMessageWindows : public MessageWindows {
 public:
  // Handles of the hidden windows start here, clear of the simulated
  // desktop's.
  static constexpr WindowHandle kFirstHandle = 0x7F000010;
  static constexpr std::uint32_t kFirstRegisteredMessage = 0xC000;

  explicit SimMessageWindows(TimerService& timers) : timers_(timers) {}
  ~SimMessageWindows() override;
  SimMessageWindows(const SimMessageWindows&) = delete;
  SimMessageWindows& operator=(const SimMessageWindows&) = delete;

  // ---- MessageWindows ----
  bool RegisterClass(const std::string& class_name, const std::string& icon_resource, MessageWindowProc proc) override;
  void UnregisterClass(const std::string& class_name) override;
  // Sends WM_NCCREATE_ (refused when its answer is 0) and WM_CREATE_.
  WindowHandle CreateWindow(const std::string& class_name) override;
  // Sends WM_DESTROY_ and WM_NCDESTROY_; the window's timers and queued
  // messages go with it.
  void DestroyWindow(WindowHandle w) override;
  // 1 for WM_NCCREATE_, else 0; every call is recorded.
  std::int64_t DefWindowProc(WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam) override;
  std::uint32_t RegisterWindowMessage(const std::string& name) override;
  std::int64_t SendMessage(WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam) override;
  bool PostMessage(WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam) override;
  bool SetTimer(WindowHandle w, std::uint64_t id, std::uint32_t interval_ms) override;
  void KillTimer(WindowHandle w, std::uint64_t id) override;

  // ---- Test side ----
  // Runs the queued messages oldest first, those posted meanwhile included,
  // and returns how many ran.
  int DispatchPosted();
  std::vector<SimMessage> Posted() const { return {posted_.begin(), posted_.end()}; }
  // The message to every window of ours, in creation order, as a broadcast
  // reaches top-level windows.
  void Broadcast(std::uint32_t msg, std::uint64_t wparam = 0, std::int64_t lparam = 0);
  // The number RegisterWindowMessage gave the name; 0 when none asked.
  std::uint32_t RegisteredMessage(const std::string& name) const;
  // The next CreateWindow fails; the next SetTimer fails.
  void FailNextCreate() { fail_next_create_ = true; }
  void FailNextSetTimer() { fail_next_set_timer_ = true; }
  bool Exists(WindowHandle w) const { return windows_.count(w) != 0; }
  std::size_t WindowCount() const { return windows_.size(); }
  std::string ClassOf(WindowHandle w) const;
  bool ClassRegistered(const std::string& class_name) const { return classes_.count(class_name) != 0; }
  std::string ClassIcon(const std::string& class_name) const;
  bool TimerRunning(WindowHandle w, std::uint64_t id) const { return timers_by_window_.count({w, id}) != 0; }
  // Sends to windows that are not ours, in order.
  const std::vector<SimMessage>& ForeignSends() const { return foreign_sends_; }
  void ClearForeignSends() { foreign_sends_.clear(); }
  const std::vector<SimMessage>& DefaultProcessed() const { return default_processed_; }
  void ClearDefaultProcessed() { default_processed_.clear(); }

 private:
  struct Class {
    std::string icon;
    MessageWindowProc proc;
  };

  TimerService& timers_;
  std::map<std::string, Class> classes_;
  std::map<WindowHandle, std::string> windows_;  // handle to class
  std::vector<WindowHandle> creation_order_;
  std::map<std::string, std::uint32_t> registered_;
  std::map<std::pair<WindowHandle, std::uint64_t>, TimerId> timers_by_window_;
  std::deque<SimMessage> posted_;
  std::vector<SimMessage> foreign_sends_;
  std::vector<SimMessage> default_processed_;
  WindowHandle next_handle_ = kFirstHandle;
  bool fail_next_create_ = false;
  bool fail_next_set_timer_ = false;
};

}  // namespace wakumo
