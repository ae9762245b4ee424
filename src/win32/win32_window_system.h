#pragma once
// The window-system port on user32 and gdi32. The calls that map one to one
// are written beside their declarations.
#include "app/window_system/window_system.h"
#include "win32/win32_api.h"
#include "win32/win32_handles.h"

namespace wakumo {

class Win32WindowSystem : public WindowSystem {
 public:
  Point GetCursorPos() override;
  WindowHandle WindowFromPoint(Point p) override { return ToHandle(::WindowFromPoint(ToPOINT(p))); }
  WindowHandle GetParent(WindowHandle w) override { return ToHandle(::GetParent(ToHwnd(w))); }
  std::uint32_t GetStyle(WindowHandle w) override {
    return static_cast<std::uint32_t>(GetWindowLongW(ToHwnd(w), GWL_STYLE));
  }
  std::uint32_t GetExStyle(WindowHandle w) override {
    return static_cast<std::uint32_t>(GetWindowLongW(ToHwnd(w), GWL_EXSTYLE));
  }
  bool IsWindowVisible(WindowHandle w) override { return ::IsWindowVisible(ToHwnd(w)) != FALSE; }
  bool IsIconic(WindowHandle w) override { return ::IsIconic(ToHwnd(w)) != FALSE; }
  bool IsZoomed(WindowHandle w) override { return ::IsZoomed(ToHwnd(w)) != FALSE; }
  std::string GetClassName(WindowHandle w) override;
  std::string GetWindowText(WindowHandle w) override;
  Rect GetWindowRect(WindowHandle w) override {
    RECT r{};
    return ::GetWindowRect(ToHwnd(w), &r) ? ToRect(r) : Rect{};
  }
  Rect GetClientRect(WindowHandle w) override {
    RECT r{};
    return ::GetClientRect(ToHwnd(w), &r) ? ToRect(r) : Rect{};
  }
  Point ScreenToClient(WindowHandle w, Point p) override {
    POINT pt = ToPOINT(p);
    ::ScreenToClient(ToHwnd(w), &pt);
    return ToPoint(pt);
  }
  Rect GetWorkArea() override;
  int GetSystemMetric(SystemMetric m) override;
  int GetSystemMetricForDpi(SystemMetric m, int dpi) override;
  int GetShowCmd(WindowHandle w) override {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    return GetWindowPlacement(ToHwnd(w), &wp) ? static_cast<int>(wp.showCmd) : 0;
  }
  std::vector<WindowHandle> EnumWindows() override;
  void SetWindowPos(WindowHandle w, WindowHandle insert_after, int x, int y, int cx, int cy,
                    std::uint32_t flags) override;
  void ShowWindow(WindowHandle w, int cmd) override { ::ShowWindow(ToHwnd(w), cmd); }
  WindowHandle GetForegroundWindow() override { return ToHandle(::GetForegroundWindow()); }
  void SetForegroundWindow(WindowHandle w) override { ::SetForegroundWindow(ToHwnd(w)); }
  bool IsOwnProcessWindow(WindowHandle w) override;
  void SetCapture(WindowHandle w) override { ::SetCapture(ToHwnd(w)); }
  void ReleaseCapture() override { ::ReleaseCapture(); }
  void DrawXorFrame(const Rect& r) override;
};

}  // namespace wakumo
