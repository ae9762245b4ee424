#pragma once
// The operations the features perform on windows of any process. Everything
// the features know about other windows comes through this port, so the same
// logic runs on the real desktop and on a simulated one.
#include <cstdint>
#include <string>
#include <vector>

#include "core/geometry.h"

namespace wakumo {

// Style bits, with the window system's values so stored numbers agree.
inline constexpr std::uint32_t WS_CHILD_ = 0x40000000u;
inline constexpr std::uint32_t WS_POPUP_ = 0x80000000u;
inline constexpr std::uint32_t WS_VISIBLE_ = 0x10000000u;
inline constexpr std::uint32_t WS_MINIMIZE_ = 0x20000000u;
inline constexpr std::uint32_t WS_MAXIMIZE_ = 0x01000000u;
inline constexpr std::uint32_t WS_CAPTION_ = 0x00C00000u;
inline constexpr std::uint32_t WS_SYSMENU_ = 0x00080000u;
inline constexpr std::uint32_t WS_THICKFRAME_ = 0x00040000u;
inline constexpr std::uint32_t WS_MINIMIZEBOX_ = 0x00020000u;
inline constexpr std::uint32_t WS_MAXIMIZEBOX_ = 0x00010000u;
inline constexpr std::uint32_t WS_EX_DLGMODALFRAME_ = 0x00000001u;
inline constexpr std::uint32_t WS_EX_TOOLWINDOW_ = 0x00000080u;

// SetWindowPos flags.
inline constexpr std::uint32_t SWP_NOSIZE_ = 0x0001;
inline constexpr std::uint32_t SWP_NOMOVE_ = 0x0002;
inline constexpr std::uint32_t SWP_NOZORDER_ = 0x0004;
inline constexpr std::uint32_t SWP_NOACTIVATE_ = 0x0010;
inline constexpr std::uint32_t SWP_FRAMECHANGED_ = 0x0020;

// ShowWindow commands and WINDOWPLACEMENT showCmd values.
inline constexpr int SW_HIDE_ = 0;
inline constexpr int SW_SHOWNORMAL_ = 1;
inline constexpr int SW_SHOWMINIMIZED_ = 2;
inline constexpr int SW_SHOWMAXIMIZED_ = 3;
inline constexpr int SW_RESTORE_ = 9;

enum class SystemMetric { CyCaption, CyFrame, CxFrame, CxDlgFrame, CyDlgFrame, CxScreen, CyScreen };

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  virtual Point GetCursorPos() = 0;
  // The deepest visible window under the point; 0 where there is none.
  virtual WindowHandle WindowFromPoint(Point p) = 0;
  // Parent of a child window, owner of an owned top-level window, else 0.
  virtual WindowHandle GetParent(WindowHandle w) = 0;
  virtual std::uint32_t GetStyle(WindowHandle w) = 0;
  virtual std::uint32_t GetExStyle(WindowHandle w) = 0;
  virtual bool IsWindowVisible(WindowHandle w) = 0;
  virtual bool IsIconic(WindowHandle w) = 0;
  virtual bool IsZoomed(WindowHandle w) = 0;
  // Whole texts, UTF-8; callers cut them to their own buffer lengths.
  virtual std::string GetClassName(WindowHandle w) = 0;
  virtual std::string GetWindowText(WindowHandle w) = 0;
  // Outer rectangle in screen coordinates; (0,0,0,0) for a vanished window.
  virtual Rect GetWindowRect(WindowHandle w) = 0;
  // Client rectangle, origin 0, 0.
  virtual Rect GetClientRect(WindowHandle w) = 0;
  virtual Point ScreenToClient(WindowHandle w, Point p) = 0;
  virtual Rect GetWorkArea() = 0;
  virtual int GetSystemMetric(SystemMetric m) = 0;
  // The same for a window shown at `dpi` dots per inch (the caption and
  // frames grow with it; the screen's size does not).
  virtual int GetSystemMetricForDpi(SystemMetric m, int dpi) = 0;
  // showCmd of the window's placement (SW_SHOWMINIMIZED_ for a minimised one).
  virtual int GetShowCmd(WindowHandle w) = 0;
  // Every top-level window once, top of the stacking order first.
  virtual std::vector<WindowHandle> EnumWindows() = 0;
  // insert_after 0 is HWND_TOP. The result is not examined by the features.
  virtual void SetWindowPos(WindowHandle w, WindowHandle insert_after, int x, int y, int cx, int cy,
                            std::uint32_t flags) = 0;
  virtual void ShowWindow(WindowHandle w, int cmd) = 0;
  virtual WindowHandle GetForegroundWindow() = 0;
  virtual void SetForegroundWindow(WindowHandle w) = 0;
  // Whether w is a window of this program's own process (its forms, its
  // hidden windows, the owner of its menus); false for a vanished one.
  virtual bool IsOwnProcessWindow(WindowHandle w) = 0;
  virtual void SetCapture(WindowHandle w) = 0;
  virtual void ReleaseCapture() = 0;
  // The closed path (left,top)-(right,top)-(right,bottom)-(left,bottom)-(left,top)
  // with a 2 px white pen in XOR mode directly on the screen: drawing the same
  // rectangle twice leaves the screen as it was.
  virtual void DrawXorFrame(const Rect& r) = 0;
};

}  // namespace wakumo
