#pragma once
// Conversions between the core's geometry and handle types and Win32's.
#include <cstdint>

#include "core/geometry.h"
#include "platform/icons.h"
#include "win32/win32_api.h"

namespace wakumo {

inline HWND ToHwnd(WindowHandle h) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(h)); }
inline WindowHandle ToHandle(HWND h) { return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(h)); }

inline HICON ToHicon(IconHandle h) { return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(h)); }
inline IconHandle ToIconHandle(HICON h) { return static_cast<IconHandle>(reinterpret_cast<std::uintptr_t>(h)); }

inline Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
inline Point ToPoint(const POINT& p) { return {p.x, p.y}; }
inline POINT ToPOINT(const Point& p) { return {p.x, p.y}; }

}  // namespace wakumo
