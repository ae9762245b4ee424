// Entry point of wakumo.exe: the real window system, widget set and platform,
// handed to the portable program.
#include <exception>

#include "app/startup.h"
#include "win32/win32_ansi_code_page.h"
#include "win32/win32_api.h"
#include "win32/win32_files.h"
#include "win32/win32_platform.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"
#include "win32/win32_window_system.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Hidden windows of its own: made on the user-interface thread. First, for
  // its start-up trace.
  wakumo::Win32Platform platform;
  wakumo::Win32WindowSystem ws;
  wakumo::Win32Toolkit tk(instance);
  wakumo::Win32FileSystem files;
  wakumo::Win32AnsiCodePage code_page;
  // The first time the message queue runs dry everything shown is painted.
  tk.ApplicationImpl().SetOnFirstIdle([&platform] {
    platform.startup_trace.Mark("first paint");
    platform.startup_trace.Finish();
  });
  try {
    return wakumo::RunWakumo(ws, tk, platform.Ports(files, code_page));
  } catch (const std::exception& e) {
    // A window the program cannot do without could not be made.
    MessageBoxW(nullptr, wakumo::Wide(e.what()).c_str(), L"Wakumo", MB_OK | MB_ICONERROR);
    return 1;
  }
}
