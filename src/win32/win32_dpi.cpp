#include "win32/win32_dpi.h"

namespace wakumo {

namespace {

// Looked up at run time: older systems and Wine may lack them.
template <typename Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

UINT SystemDpi() {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

}  // namespace

UINT DpiForWindow(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (get_dpi && hwnd) {
    const UINT dpi = get_dpi(hwnd);
    if (dpi != 0) return dpi;
  }
  return SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto for_dpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (for_dpi) {
    const int v = for_dpi(index, dpi);
    if (v > 0) return v;
  }
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

RECT AdjustWindowRectForDpi(const RECT& client, DWORD style, DWORD ex_style, UINT dpi) {
  using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = User32Function<AdjustFn>("AdjustWindowRectExForDpi");
  RECT r = client;
  if (!(adjust && adjust(&r, style, FALSE, ex_style, dpi))) {
    r = client;
    AdjustWindowRectEx(&r, style, FALSE, ex_style);
  }
  return r;
}

}  // namespace wakumo
