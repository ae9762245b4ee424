#pragma once
// UTF-8 (the core's text) <-> UTF-16 (the W functions).
#include <string>
#include <string_view>

#include "core/text.h"
#include "win32/win32_api.h"

namespace wakumo {

inline std::wstring Wide(std::string_view s) {
  const std::u16string u = Utf8ToUtf16(s);
  return std::wstring(u.begin(), u.end());
}

inline std::string Narrow(std::wstring_view w) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(w.data()), w.size()));
}

// A window's text as it answers WM_GETTEXT; empty when it has none.
std::wstring WindowText(HWND hwnd);

}  // namespace wakumo
