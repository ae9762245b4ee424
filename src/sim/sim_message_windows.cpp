#include "sim/sim_message_windows.h"

#include <algorithm>
#include <ostream>

namespace wakumo {

void PrintTo(const SimMessage& m, std::ostream* os) {
  *os << "{window 0x" << std::hex << m.window << ", msg 0x" << m.msg << std::dec << ", wparam "
      << static_cast<std::int64_t>(m.wparam) << ", lparam " << m.lparam << "}";
}

SimMessageWindows::~SimMessageWindows() {
  for (const auto& [key, id] : timers_by_window_) timers_.StopTimer(id);
}

bool SimMessageWindows::RegisterClass(const std::string& class_name, const std::string& icon_resource,
                                      MessageWindowProc proc) {
  // As the system does: a second registration of a live class fails.
  if (class_name.empty() || !proc || classes_.count(class_name)) return false;
  classes_[class_name] = Class{icon_resource, std::move(proc)};
  return true;
}

void SimMessageWindows::UnregisterClass(const std::string& class_name) {
  // The system refuses while windows of the class live.
  for (const auto& [w, cls] : windows_) {
    if (cls == class_name) return;
  }
  classes_.erase(class_name);
}

WindowHandle SimMessageWindows::CreateWindow(const std::string& class_name) {
  if (fail_next_create_ || !classes_.count(class_name)) {
    fail_next_create_ = false;
    return 0;
  }
  const WindowHandle w = next_handle_;
  next_handle_ += 0x10;
  windows_[w] = class_name;
  creation_order_.push_back(w);
  if (SendMessage(w, WM_NCCREATE_, 0, 0) == 0) {
    DestroyWindow(w);
    return 0;
  }
  SendMessage(w, WM_CREATE_, 0, 0);
  return w;
}

void SimMessageWindows::DestroyWindow(WindowHandle w) {
  if (!Exists(w)) return;
  SendMessage(w, WM_DESTROY_, 0, 0);
  SendMessage(w, WM_NCDESTROY_, 0, 0);
  for (auto it = timers_by_window_.begin(); it != timers_by_window_.end();) {
    if (it->first.first == w) {
      timers_.StopTimer(it->second);
      it = timers_by_window_.erase(it);
    } else {
      ++it;
    }
  }
  std::erase_if(posted_, [w](const SimMessage& m) { return m.window == w; });
  std::erase(creation_order_, w);
  windows_.erase(w);
}

std::int64_t SimMessageWindows::DefWindowProc(WindowHandle w, std::uint32_t msg, std::uint64_t wparam,
                                              std::int64_t lparam) {
  default_processed_.push_back({w, msg, wparam, lparam});
  return msg == WM_NCCREATE_ ? 1 : 0;
}

std::uint32_t SimMessageWindows::RegisterWindowMessage(const std::string& name) {
  if (name.empty()) return 0;
  auto it = registered_.find(name);
  if (it != registered_.end()) return it->second;
  const auto id = kFirstRegisteredMessage + static_cast<std::uint32_t>(registered_.size());
  registered_[name] = id;
  return id;
}

std::uint32_t SimMessageWindows::RegisteredMessage(const std::string& name) const {
  auto it = registered_.find(name);
  return it == registered_.end() ? 0 : it->second;
}

std::int64_t SimMessageWindows::SendMessage(WindowHandle w, std::uint32_t msg, std::uint64_t wparam,
                                            std::int64_t lparam) {
  auto win = windows_.find(w);
  if (win == windows_.end()) {
    foreign_sends_.push_back({w, msg, wparam, lparam});
    return 0;
  }
  auto cls = classes_.find(win->second);
  if (cls == classes_.end()) return DefWindowProc(w, msg, wparam, lparam);
  // The procedure may unregister its class (its last window going), which
  // would destroy the function while it runs.
  const MessageWindowProc proc = cls->second.proc;
  return proc(w, msg, wparam, lparam);
}

bool SimMessageWindows::PostMessage(WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam) {
  if (!Exists(w)) return false;
  posted_.push_back({w, msg, wparam, lparam});
  return true;
}

int SimMessageWindows::DispatchPosted() {
  int count = 0;
  while (!posted_.empty()) {
    const SimMessage m = posted_.front();
    posted_.pop_front();
    SendMessage(m.window, m.msg, m.wparam, m.lparam);
    ++count;
  }
  return count;
}

void SimMessageWindows::Broadcast(std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam) {
  // A window may go while another handles the message.
  const std::vector<WindowHandle> order = creation_order_;
  for (WindowHandle w : order) {
    if (Exists(w)) SendMessage(w, msg, wparam, lparam);
  }
}

bool SimMessageWindows::SetTimer(WindowHandle w, std::uint64_t id, std::uint32_t interval_ms) {
  if (fail_next_set_timer_ || !Exists(w)) {
    fail_next_set_timer_ = false;
    return false;
  }
  KillTimer(w, id);
  const TimerId timer = timers_.StartTimer(static_cast<std::int32_t>(std::min<std::uint32_t>(interval_ms, 0x7FFFFFFF)),
                                           [this, w, id] { SendMessage(w, WM_TIMER_, id, 0); });
  if (timer == 0) return false;
  timers_by_window_[{w, id}] = timer;
  return true;
}

void SimMessageWindows::KillTimer(WindowHandle w, std::uint64_t id) {
  auto it = timers_by_window_.find({w, id});
  if (it == timers_by_window_.end()) return;
  timers_.StopTimer(it->second);
  timers_by_window_.erase(it);
}

std::string SimMessageWindows::ClassOf(WindowHandle w) const {
  auto it = windows_.find(w);
  return it == windows_.end() ? std::string() : it->second;
}

std::string SimMessageWindows::ClassIcon(const std::string& class_name) const {
  auto it = classes_.find(class_name);
  return it == classes_.end() ? std::string() : it->second.icon;
}

}  // namespace wakumo
