#pragma once
// The main window's designed geometry, at 96 DPI; peers scale it to the real DPI.

namespace wakumo {

inline constexpr int kClientWidth = 348;
inline constexpr int kClientHeight = 440;
// The window list fills the client area from here down.
inline constexpr int kWinListTop = 245;
inline constexpr int kWinListHeight = 192;

// Tag bits of the maximise-size entries.
inline constexpr int kMaxVertical = 1;
inline constexpr int kMaxHorizontal = 2;

}  // namespace wakumo
