#include "win32/win32_message_windows.h"

#include "win32/win32_handles.h"
#include "win32/win32_text.h"

namespace wakumo {

bool Win32MessageWindows::RegisterClass(const std::string& class_name, const std::string& icon_resource,
                                        MessageWindowProc proc) {
  auto& entry = classes_[class_name];
  if (!entry) entry = std::make_unique<Class>();
  entry->name = Wide(class_name);
  entry->proc = std::move(proc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &WindowProc;
  wc.hInstance = instance_;
  const std::wstring icon = Wide(icon_resource);
  wc.hIcon = icon.empty() ? nullptr : LoadIconW(instance_, icon.c_str());
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = entry->name.c_str();
  if (RegisterClassExW(&wc)) return true;
  if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  // Registered before, by this module: the same procedure serves.
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  return GetClassInfoExW(instance_, entry->name.c_str(), &existing) && existing.lpfnWndProc == &WindowProc;
}

void Win32MessageWindows::UnregisterClass(const std::string& class_name) {
  auto it = classes_.find(class_name);
  if (it == classes_.end()) return;
  UnregisterClassW(it->second->name.c_str(), instance_);
  it->second->proc = nullptr;
}

WindowHandle Win32MessageWindows::CreateWindow(const std::string& class_name) {
  auto it = classes_.find(class_name);
  if (it == classes_.end() || !it->second->proc) return 0;
  // Top-level, not message-only: the taskbar's broadcasts reach top-level
  // windows only. A tool window never gets a taskbar button.
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, it->second->name.c_str(), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              instance_, it->second.get());
  return ToHandle(hwnd);
}

LRESULT CALLBACK Win32MessageWindows::WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  const auto* entry = reinterpret_cast<const Class*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!entry || !entry->proc) return DefWindowProcW(hwnd, msg, wparam, lparam);
  // A copy: the procedure may unregister its class (its last window going).
  const MessageWindowProc proc = entry->proc;
  try {
    return static_cast<LRESULT>(proc(ToHandle(hwnd), msg, static_cast<std::uint64_t>(wparam),
                                     static_cast<std::int64_t>(lparam)));
  } catch (...) {
    // An exception must not cross the system's call into us.
    return 0;
  }
}

std::uint32_t Win32MessageWindows::RegisterWindowMessage(const std::string& name) {
  return RegisterWindowMessageW(Wide(name).c_str());
}

}  // namespace wakumo
