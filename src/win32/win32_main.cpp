// Entry point of wakumo.exe: the real window system and widget set, handed to
// the portable program.
#include "app/startup.h"
#include "win32/win32_api.h"
#include "win32/win32_toolkit.h"
#include "win32/win32_window_system.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  wakumo::Win32WindowSystem ws;
  wakumo::Win32Toolkit tk(instance);
  return wakumo::RunWakumo(ws, tk);
}
