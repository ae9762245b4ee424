#pragma once
// The window-system port on user32 and gdi32.
#include "app/window_system/window_system.h"
#include "win32/win32_api.h"

namespace wakumo {

class Win32WindowSystem : public WindowSystem {
 public:
  Point GetCursorPos() override;
  WindowHandle WindowFromPoint(Point p) override;
  WindowHandle GetParent(WindowHandle w) override;
  std::uint32_t GetStyle(WindowHandle w) override;
  std::uint32_t GetExStyle(WindowHandle w) override;
  bool IsWindowVisible(WindowHandle w) override;
  bool IsIconic(WindowHandle w) override;
  bool IsZoomed(WindowHandle w) override;
  std::string GetClassName(WindowHandle w) override;
  std::string GetWindowText(WindowHandle w) override;
  Rect GetWindowRect(WindowHandle w) override;
  Rect GetClientRect(WindowHandle w) override;
  Point ScreenToClient(WindowHandle w, Point p) override;
  Rect GetWorkArea() override;
  int GetSystemMetric(SystemMetric m) override;
  int GetSystemMetricForDpi(SystemMetric m, int dpi) override;
  int GetShowCmd(WindowHandle w) override;
  std::vector<WindowHandle> EnumWindows() override;
  void SetWindowPos(WindowHandle w, WindowHandle insert_after, int x, int y, int cx, int cy,
                    std::uint32_t flags) override;
  void ShowWindow(WindowHandle w, int cmd) override;
  WindowHandle GetForegroundWindow() override;
  void SetForegroundWindow(WindowHandle w) override;
  bool IsOwnProcessWindow(WindowHandle w) override;
  void SetCapture(WindowHandle w) override;
  void ReleaseCapture() override;
  void DrawXorFrame(const Rect& r) override;
};

}  // namespace wakumo
