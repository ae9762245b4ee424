#pragma once
// Hidden top-level windows whose messages all go to their class's procedure
// in the features. Each window finds its class's procedure through its user
// data, set when it is created, so that a class registered before by
// another instance works as well.
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/message_windows.h"
#include "win32/win32_api.h"
#include "win32/win32_handles.h"

namespace wakumo {

class Win32MessageWindows : public MessageWindows {
 public:
  explicit Win32MessageWindows(HINSTANCE instance) : instance_(instance) {}
  Win32MessageWindows(const Win32MessageWindows&) = delete;
  Win32MessageWindows& operator=(const Win32MessageWindows&) = delete;

  bool RegisterClass(const std::string& class_name, const std::string& icon_resource, MessageWindowProc proc) override;
  void UnregisterClass(const std::string& class_name) override;
  WindowHandle CreateWindow(const std::string& class_name) override;
  void DestroyWindow(WindowHandle w) override {
    if (w && IsWindow(ToHwnd(w))) ::DestroyWindow(ToHwnd(w));
  }
  std::int64_t DefWindowProc(WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam) override {
    return DefWindowProcW(ToHwnd(w), msg, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  }
  std::uint32_t RegisterWindowMessage(const std::string& name) override;
  std::int64_t SendMessage(WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam) override {
    return SendMessageW(ToHwnd(w), msg, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  }
  bool PostMessage(WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam) override {
    // Never to the thread's queue, which a null window would mean.
    return w && PostMessageW(ToHwnd(w), msg, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  }
  bool SetTimer(WindowHandle w, std::uint64_t id, std::uint32_t interval_ms) override {
    // A null window would make a thread timer with an id of the system's choosing.
    return w && ::SetTimer(ToHwnd(w), static_cast<UINT_PTR>(id), interval_ms, nullptr) != 0;
  }
  void KillTimer(WindowHandle w, std::uint64_t id) override {
    if (w) ::KillTimer(ToHwnd(w), static_cast<UINT_PTR>(id));
  }

 private:
  struct Class {
    std::wstring name;
    // Empty once unregistered; the entry stays, as windows may point at it.
    MessageWindowProc proc;
  };
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

  HINSTANCE instance_;
  std::map<std::string, std::unique_ptr<Class>> classes_;
};

}  // namespace wakumo
