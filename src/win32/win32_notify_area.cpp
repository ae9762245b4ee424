#include "win32/win32_notify_area.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "core/text.h"
#include "win32/win32_api.h"
#include "win32/win32_handles.h"
#include "win32/win32_text.h"

#include <shellapi.h>
#include <shlwapi.h>

namespace wakumo {

namespace {

// The text cut to the field's characters (one is kept for the NUL), never
// halving a surrogate pair. The caller's byte limits are the stricter ones
// except for characters outside the ANSI code page.
template <std::size_t N>
void CopyText(wchar_t (&field)[N], std::size_t capacity, const std::string& utf8) {
  const std::wstring w = Wide(CutToUtf16Units(utf8, std::min(capacity, N) - 1));
  std::copy(w.begin(), w.end(), field);
  field[w.size()] = L'\0';
}

DWORD ToNim(NotifyIconMessage m) {
  switch (m) {
    case NotifyIconMessage::nimAdd: return NIM_ADD;
    case NotifyIconMessage::nimModify: return NIM_MODIFY;
    case NotifyIconMessage::nimDelete: return NIM_DELETE;
  }
  return NIM_MODIFY;
}

std::wstring Shell32Path() {
  wchar_t dir[MAX_PATH];
  const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return L"shell32.dll";
  return std::wstring(dir, n) + L"\\shell32.dll";
}

}  // namespace

bool Win32NotifyArea::NotifyIcon(NotifyIconMessage message, const NotifyIconData& d) {
  NOTIFYICONDATAW nid{};
  const bool v2 = d.layout == NotifyIconLayout::kVersion2;
  nid.cbSize = v2 ? NOTIFYICONDATAW_V2_SIZE : NOTIFYICONDATAW_V1_SIZE;
  nid.hWnd = ToHwnd(d.hWnd);
  nid.uID = d.uID;
  nid.uFlags = d.uFlags;
  nid.uCallbackMessage = d.uCallbackMessage;
  nid.hIcon = ToHicon(d.hIcon);
  // The version-1 record ends after 64 characters of tip.
  CopyText(nid.szTip, v2 ? 128 : 64, d.szTip);
  if (v2) {
    nid.dwState = d.dwState;
    nid.dwStateMask = d.dwStateMask;
    CopyText(nid.szInfo, 256, d.szInfo);
    nid.uTimeout = d.uTimeout;
    CopyText(nid.szInfoTitle, 64, d.szInfoTitle);
    nid.dwInfoFlags = d.dwInfoFlags;
  }
  SetLastError(0);
  if (Shell_NotifyIconW(ToNim(message), &nid)) return true;
  last_error_ = GetLastError();
  return false;
}

std::optional<std::string> Win32NotifyArea::Shell32FileVersion() {
  const std::wstring path = Shell32Path();
  DWORD unused = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &unused);
  if (size == 0) return std::nullopt;
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return std::nullopt;
  struct Translation {
    WORD language;
    WORD code_page;
  };
  Translation* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof(Translation)) {
    return std::nullopt;
  }
  wchar_t sub_block[64];
  swprintf(sub_block, 64, L"\\StringFileInfo\\%04X%04X\\FileVersion", translation->language, translation->code_page);
  wchar_t* text = nullptr;
  if (!VerQueryValueW(block.data(), sub_block, reinterpret_cast<void**>(&text), &length) || !text) return std::nullopt;
  return Narrow(std::wstring_view(text, wcsnlen(text, length)));
}

std::optional<ShellDllVersion> Win32NotifyArea::Shell32DllVersion() {
  // No message box if the file were missing.
  const UINT old_mode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  HMODULE shell32 = LoadLibraryW(L"shell32.dll");
  SetErrorMode(old_mode);
  if (!shell32) return std::nullopt;
  std::optional<ShellDllVersion> version;
  const auto get_version =
      reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(shell32, "DllGetVersion")));
  if (get_version) {
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    if (SUCCEEDED(get_version(&info))) version = ShellDllVersion{info.dwMajorVersion, info.dwMinorVersion};
  }
  FreeLibrary(shell32);
  return version;
}

}  // namespace wakumo
