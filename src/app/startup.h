#pragma once
#include "app/window_system/window_system.h"
#include "platform/platform.h"
#include "ui/peer.h"

namespace wakumo {

// The whole program on the given ports: application title, main window,
// message loop. Returns when the main window has closed.
int RunWakumo(WindowSystem& ws, UiToolkit& ui, const Platform& platform);

}  // namespace wakumo
