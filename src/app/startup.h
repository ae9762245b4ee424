#pragma once
#include "app/window_system/window_system.h"
#include "platform/platform.h"
#include "ui/peer.h"

namespace wakumo {

// Resource names of the executable, shared by the features and the adapters.
inline constexpr const char* kSightCursorResource = "MYCURSOR";
inline constexpr const char* kSightPictureResource = "SIGHT";
inline constexpr const char* kGetGlyphResource = "GETGLYPH";
inline constexpr const char* kWListGlyphResource = "WLISTGLYPH";
inline constexpr const char* kWsGlyphResource = "WSGLYPH";
inline constexpr const char* kListGlyphResource = "LISTGLYPH";
// Small pictures of the maximise-size menu: both directions, vertical only,
// horizontal only.
inline constexpr const char* kMaxBothPictureResource = "MAXBOTH";
inline constexpr const char* kMaxVertPictureResource = "MAXVERT";
inline constexpr const char* kMaxHorzPictureResource = "MAXHORZ";

// The whole program on the given ports: application title, main window,
// message loop. Returns when the main window has closed.
int RunWakumo(WindowSystem& ws, UiToolkit& ui, const Platform& platform);

}  // namespace wakumo
