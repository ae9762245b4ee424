#include "win32/win32_shell.h"

#include "win32/win32_api.h"
// After <windows.h>, which it needs.
#include <shellapi.h>

#include "win32/win32_handles.h"
#include "win32/win32_text.h"

namespace wakumo {

bool Win32Shell::Open(WindowHandle owner, std::string_view target) {
  const std::wstring file = Wide(target);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  // A missing file or program is the caller's silence, not a system message.
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.hwnd = ToHwnd(owner);
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.lpParameters = L"";
  info.nShow = SW_SHOW;
  return ShellExecuteExW(&info) != FALSE;
}

}  // namespace wakumo
