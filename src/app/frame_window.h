#pragma once
#include <string>

#include "app/window_system/window_system.h"

namespace wakumo {

// The innermost ancestor-or-self that is visible, not minimised and has a
// sizing border or system menu; when none qualifies, the outermost window of
// the chain; 0 for 0.
WindowHandle FindFrameWindow(WindowSystem& ws, WindowHandle w);

// The parent of w when w lives inside its client area, as a document window
// in its container does (the parent has WS_CHILD); else 0. w's rectangles are
// then given in the parent's client coordinates.
WindowHandle ContainerOf(WindowSystem& ws, WindowHandle w);

// Whether a frame window may be resized and outlined.
bool IsSizableTarget(WindowSystem& ws, WindowHandle w);

// The shell's taskbar ("Shell_TrayWnd").
bool IsTaskbar(WindowSystem& ws, WindowHandle w);

// Class name and title as an 80-character buffer holds them: at most 79
// UTF-16 units.
std::string ReadClassName80(WindowSystem& ws, WindowHandle w);
std::string ReadWindowText80(WindowSystem& ws, WindowHandle w);

// A window of this outer size centred on the primary screen.
Rect CentredOnScreen(WindowSystem& ws, int width, int height);

// "640 x 480" for a rectangle 640 wide and 480 high; saturated as Rect's sizes are.
std::string SizeText(const Rect& r);

}  // namespace wakumo
