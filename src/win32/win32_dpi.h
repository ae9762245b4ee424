#pragma once
// Design pixels (96 DPI) to device pixels. The exe is per-monitor DPI aware,
// so every window is scaled by the DPI of the monitor it is on.
#include "win32/win32_api.h"

namespace wakumo {

inline constexpr UINT kDesignDpi = 96;

// DPI of the window's monitor; the system DPI where the system cannot tell.
UINT DpiForWindow(HWND hwnd);
inline int ScaleToDpi(int v, UINT dpi) { return MulDiv(v, static_cast<int>(dpi), static_cast<int>(kDesignDpi)); }
inline int UnscaleFromDpi(int v, UINT dpi) { return MulDiv(v, static_cast<int>(kDesignDpi), static_cast<int>(dpi)); }
// A system metric as it is at the given DPI. Where the system cannot tell
// (before Windows 10 1607, older Wine), the plain metric, which is in pixels
// of the system DPI, scaled.
int SystemMetricForDpi(int index, UINT dpi);
// Outer size of a window whose client area is `client`, at the given DPI.
RECT AdjustWindowRectForDpi(const RECT& client, DWORD style, DWORD ex_style, UINT dpi);

}  // namespace wakumo
