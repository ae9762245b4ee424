#include "win32/win32_taskbar_tooltip.h"

#include "win32/win32_api.h"
#include "win32/win32_handles.h"

namespace wakumo {

WindowHandle Win32TaskbarTooltip::FindTrayTooltip() {
  HWND taskbar = FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr);
  if (!taskbar) return 0;
  DWORD taskbar_process = 0;
  GetWindowThreadProcessId(taskbar, &taskbar_process);
  // The taskbar's other tooltips (its buttons') are the ones with TTS_NOPREFIX.
  for (HWND w = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w;
       w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr)) {
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (process == taskbar_process && !(GetWindowLongW(w, GWL_STYLE) & TTS_NOPREFIX)) return ToHandle(w);
  }
  return 0;
}

TColor Win32TaskbarTooltip::SystemColor(int index) { return GetSysColor(index); }

}  // namespace wakumo
