// Waiting in the Wine adapter tests: the message loop runs until a condition
// holds or a deadline passes, never a fixed sleep.
#pragma once

#include <chrono>
#include <functional>

#include "win32/win32_api.h"

namespace wakumo {

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

}  // namespace wakumo
