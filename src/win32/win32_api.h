#pragma once
// The single entry to <windows.h> for the adapters, with the settings they all
// rely on: wide-character functions, no min/max macros.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

// The ports have members with these names; the W functions are called by
// their full names, so the macros only get in the way.
#undef GetClassName
#undef GetWindowText
#undef DrawText
#undef TextOut
#undef GetTextMetrics
#undef ReplaceFile
#undef RegisterClass
#undef UnregisterClass
#undef CreateWindow
#undef DefWindowProc
#undef RegisterWindowMessage
#undef SendMessage
#undef PostMessage
#undef LoadIcon
