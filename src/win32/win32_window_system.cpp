#include "win32/win32_window_system.h"

#include "win32/win32_dpi.h"
#include "win32/win32_handles.h"
#include "win32/win32_text.h"

namespace wakumo {

Point Win32WindowSystem::GetCursorPos() {
  POINT p{};
  if (!::GetCursorPos(&p)) return {};
  return ToPoint(p);
}

std::string Win32WindowSystem::GetClassName(WindowHandle w) {
  // Class names are at most 256 characters.
  wchar_t buf[257];
  const int n = GetClassNameW(ToHwnd(w), buf, 257);
  return n > 0 ? Narrow(std::wstring_view(buf, static_cast<std::size_t>(n))) : std::string();
}

std::string Win32WindowSystem::GetWindowText(WindowHandle w) {
  // The length may change between asking and reading (another process renames
  // its window), so grow the buffer until the text fits with room to spare.
  // For another process's window GetWindowTextW reads the stored caption
  // without sending a message, so a hung window cannot block a pick.
  HWND hwnd = ToHwnd(w);
  std::wstring buf(256, L'\0');
  for (;;) {
    const int n = GetWindowTextW(hwnd, buf.data(), static_cast<int>(buf.size()));
    if (n <= 0) return {};
    if (static_cast<std::size_t>(n) + 1 < buf.size() || buf.size() >= (1u << 20)) {
      return Narrow(std::wstring_view(buf.data(), static_cast<std::size_t>(n)));
    }
    buf.assign(buf.size() * 4, L'\0');
  }
}

Rect Win32WindowSystem::GetWorkArea() {
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) {
    r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return ToRect(r);
}

int Win32WindowSystem::GetSystemMetric(SystemMetric m) {
  switch (m) {
    case SystemMetric::CyCaption: return GetSystemMetrics(SM_CYCAPTION);
    case SystemMetric::CyFrame: return GetSystemMetrics(SM_CYFRAME);
    case SystemMetric::CxFrame: return GetSystemMetrics(SM_CXFRAME);
    case SystemMetric::CxDlgFrame: return GetSystemMetrics(SM_CXDLGFRAME);
    case SystemMetric::CyDlgFrame: return GetSystemMetrics(SM_CYDLGFRAME);
    case SystemMetric::CxScreen: return GetSystemMetrics(SM_CXSCREEN);
    case SystemMetric::CyScreen: return GetSystemMetrics(SM_CYSCREEN);
  }
  return 0;
}

int Win32WindowSystem::GetSystemMetricForDpi(SystemMetric m, int dpi) {
  const UINT at = dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
  switch (m) {
    case SystemMetric::CyCaption: return SystemMetricForDpi(SM_CYCAPTION, at);
    case SystemMetric::CyFrame: return SystemMetricForDpi(SM_CYFRAME, at);
    case SystemMetric::CxFrame: return SystemMetricForDpi(SM_CXFRAME, at);
    case SystemMetric::CxDlgFrame: return SystemMetricForDpi(SM_CXDLGFRAME, at);
    case SystemMetric::CyDlgFrame: return SystemMetricForDpi(SM_CYDLGFRAME, at);
    // The screen is measured in pixels, whatever a window's DPI.
    case SystemMetric::CxScreen: return GetSystemMetrics(SM_CXSCREEN);
    case SystemMetric::CyScreen: return GetSystemMetrics(SM_CYSCREEN);
  }
  return 0;
}

std::vector<WindowHandle> Win32WindowSystem::EnumWindows() {
  std::vector<WindowHandle> out;
  ::EnumWindows(
      [](HWND h, LPARAM l) -> BOOL {
        reinterpret_cast<std::vector<WindowHandle>*>(l)->push_back(ToHandle(h));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

void Win32WindowSystem::SetWindowPos(WindowHandle w, WindowHandle insert_after, int x, int y, int cx, int cy,
                                     std::uint32_t flags) {
  HWND after = insert_after == 0 ? HWND_TOP : ToHwnd(insert_after);
  ::SetWindowPos(ToHwnd(w), after, x, y, cx, cy, flags);
}

bool Win32WindowSystem::IsOwnProcessWindow(WindowHandle w) {
  DWORD pid = 0;
  // 0 for a handle that names no window.
  if (!w || !::GetWindowThreadProcessId(ToHwnd(w), &pid)) return false;
  return pid == ::GetCurrentProcessId();
}

void Win32WindowSystem::DrawXorFrame(const Rect& r) {
  HDC dc = GetDC(nullptr);
  if (!dc) return;
  HPEN pen = CreatePen(PS_SOLID, 2, RGB(255, 255, 255));
  if (pen) {
    HGDIOBJ old_pen = SelectObject(dc, pen);
    const int old_rop = SetROP2(dc, R2_XORPEN);
    // Every pixel is inverted the same way on each draw, so the second draw
    // of the same path restores the screen exactly.
    MoveToEx(dc, r.left, r.top, nullptr);
    LineTo(dc, r.right, r.top);
    LineTo(dc, r.right, r.bottom);
    LineTo(dc, r.left, r.bottom);
    LineTo(dc, r.left, r.top);
    SetROP2(dc, old_rop);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
  }
  ReleaseDC(nullptr, dc);
}

}  // namespace wakumo
