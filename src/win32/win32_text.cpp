#include "win32/win32_text.h"

#include <algorithm>

namespace wakumo {

std::wstring WindowText(HWND hwnd) {
  const int n = hwnd ? GetWindowTextLengthW(hwnd) : 0;
  if (n <= 0) return {};
  std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, buf.data(), n + 1);
  buf.resize(static_cast<std::size_t>(std::clamp(got, 0, n)));
  return buf;
}

}  // namespace wakumo
