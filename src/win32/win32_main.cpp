// Entry point of wakumo.exe: the real window system, widget set and platform,
// handed to the portable program.
#include "app/startup.h"
#include "win32/win32_ansi_code_page.h"
#include "win32/win32_api.h"
#include "win32/win32_files.h"
#include "win32/win32_platform.h"
#include "win32/win32_toolkit.h"
#include "win32/win32_window_system.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  wakumo::Win32WindowSystem ws;
  wakumo::Win32Toolkit tk(instance);
  // Hidden windows of its own: made on the user-interface thread.
  wakumo::Win32Platform platform;
  wakumo::Win32FileSystem files;
  wakumo::Win32AnsiCodePage code_page;
  return wakumo::RunWakumo(ws, tk, platform.Ports(files, code_page));
}
