// Message pumps, real input and what the checks print, shared by the Win32
// adapter tests.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "checks.h"
#include "core/geometry.h"
#include "win32/win32_api.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

inline std::string Str(const Rect& r) { return Shown(r); }

inline std::string Hex(COLORREF c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06lx", static_cast<unsigned long>(c));
  return buf;
}

// Runs the message loop until `done` holds or the deadline passes.
inline bool PumpUntil(const std::function<bool()>& done, int timeout_ms = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Runs the message loop as the program's own loops do (keyboard navigation
// between controls included) until `done` holds or the deadline passes.
inline bool PumpRoutedUntil(Win32Toolkit& tk, const std::function<bool()>& done, int timeout_ms = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) tk.RouteMessage(msg);
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

inline void MouseInput(POINT screen, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  const int cx = GetSystemMetrics(SM_CXSCREEN);
  const int cy = GetSystemMetrics(SM_CYSCREEN);
  // The plain formula lands a pixel short.
  in.mi.dx = static_cast<LONG>(((2LL * screen.x + 1) * 65536) / (2LL * cx));
  in.mi.dy = static_cast<LONG>(((2LL * screen.y + 1) * 65536) / (2LL * cy));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
  SendInput(1, &in, sizeof(in));
}

inline void KeyInput(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof(in));
}

// Moves there and waits until the cursor has stayed put for a moment: a
// SendInput move can snap back under Wine.
inline bool SettleCursorAt(POINT at) {
  MouseInput(at, 0);
  auto settled_since = std::chrono::steady_clock::now();
  return PumpUntil([&] {
    POINT p{};
    GetCursorPos(&p);
    const auto now = std::chrono::steady_clock::now();
    if (p.x != at.x || p.y != at.y) {
      settled_since = now;
      MouseInput(at, 0);
      return false;
    }
    return now - settled_since >= std::chrono::milliseconds(150);
  });
}

inline void Click(POINT screen) {
  MouseInput(screen, 0);
  MouseInput(screen, MOUSEEVENTF_LEFTDOWN);
  MouseInput(screen, MOUSEEVENTF_LEFTUP);
}

inline void Press(WORD vk) {
  KeyInput(vk, false);
  KeyInput(vk, true);
}

inline POINT CentreOfWindow(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace wakumo
