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

namespace wakumo {

class Win32MessageWindows : public MessageWindows {
 public:
  explicit Win32MessageWindows(HINSTANCE instance) : instance_(instance) {}
  Win32MessageWindows(const Win32MessageWindows&) = delete;
  Win32MessageWindows& operator=(const Win32MessageWindows&) = delete;

  bool RegisterClass(const std::string& class_name, const std::string& icon_resource, MessageWindowProc proc) override;
  void UnregisterClass(const std::string& class_name) override;
  WindowHandle CreateWindow(const std::string& class_name) override;
  void DestroyWindow(WindowHandle w) override;
  std::int64_t DefWindowProc(WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam) override;
  std::uint32_t RegisterWindowMessage(const std::string& name) override;
  std::int64_t SendMessage(WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam) override;
  bool PostMessage(WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam) override;
  bool SetTimer(WindowHandle w, std::uint64_t id, std::uint32_t interval_ms) override;
  void KillTimer(WindowHandle w, std::uint64_t id) override;

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
