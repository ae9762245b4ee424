#include "app/frame_window.h"

#include "core/text.h"

namespace wakumo {

namespace {
constexpr std::size_t kTextUnits = 79;
}

WindowHandle FindFrameWindow(WindowSystem& ws, WindowHandle w) {
  WindowHandle last = w;
  while (w != 0) {
    last = w;
    if (ws.IsWindowVisible(w) && !ws.IsIconic(w) && (ws.GetStyle(w) & (WS_THICKFRAME_ | WS_SYSMENU_)) != 0) return w;
    w = ws.GetParent(w);
  }
  return last;
}

WindowHandle ContainerOf(WindowSystem& ws, WindowHandle w) {
  const WindowHandle parent = ws.GetParent(w);
  return parent != 0 && (ws.GetStyle(parent) & WS_CHILD_) != 0 ? parent : 0;
}

bool IsSizableTarget(WindowSystem& ws, WindowHandle w) {
  if (IsTaskbar(ws, w)) return false;
  if (ws.GetStyle(w) & WS_THICKFRAME_) return true;
  if (ws.GetExStyle(w) & WS_EX_DLGMODALFRAME_) return false;
  if (ws.GetStyle(w) & WS_POPUP_) return false;
  return true;
}

bool IsTaskbar(WindowSystem& ws, WindowHandle w) { return ReadClassName80(ws, w) == "Shell_TrayWnd"; }

std::string ReadClassName80(WindowSystem& ws, WindowHandle w) { return CutToUtf16Units(ws.GetClassName(w), kTextUnits); }

std::string ReadWindowText80(WindowSystem& ws, WindowHandle w) { return CutToUtf16Units(ws.GetWindowText(w), kTextUnits); }

Rect CentredOnScreen(WindowSystem& ws, int width, int height) {
  const int left = (ws.GetSystemMetric(SystemMetric::CxScreen) - width) / 2;
  const int top = (ws.GetSystemMetric(SystemMetric::CyScreen) - height) / 2;
  return {left, top, left + width, top + height};
}

std::string SizeText(const Rect& r) { return std::to_string(r.Width()) + " x " + std::to_string(r.Height()); }

}  // namespace wakumo
