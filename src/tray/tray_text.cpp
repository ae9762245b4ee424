#include "tray/tray_text.h"

#include <algorithm>

#include "core/text.h"

namespace wakumo {

std::string CutToAnsiBytes(std::string_view text, std::size_t max_bytes, const AnsiCodePage& code_page) {
  text = text.substr(0, text.find('\0'));
  std::size_t bytes = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    // A broken sequence counts byte by byte.
    const std::size_t len = DecodeUtf8At(text, i).length;
    // ASCII is one byte in every ANSI code page.
    const std::size_t ansi = len == 1 && static_cast<unsigned char>(text[i]) < 0x80
                                 ? 1
                                 : code_page.FromUtf8(text.substr(i, len)).size();
    if (bytes + ansi > max_bytes) break;
    bytes += ansi;
    i += len;
  }
  return std::string(text.substr(0, i));
}

std::string CrLfToBlank(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out.push_back(' ');
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::uint32_t ShellVersionFromFileVersion(std::string_view text) {
  auto number = [&text](std::size_t& i, std::uint32_t& value) {
    const std::size_t start = i;
    value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      value = std::min<std::uint32_t>(value * 10 + static_cast<std::uint32_t>(text[i] - '0'), 0xFFFF);
      ++i;
    }
    return i > start;
  };
  std::size_t i = 0;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  if (!number(i, major) || i >= text.size() || text[i] != '.') return 0;
  ++i;
  if (!number(i, minor)) return 0;
  return ShellVersionNumber(major, minor);
}

std::uint32_t DetermineShellVersion(NotifyArea& shell) {
  std::uint32_t version = 0;
  if (const auto text = shell.Shell32FileVersion()) version = ShellVersionFromFileVersion(*text);
  if (const auto dll = shell.Shell32DllVersion()) {
    version = ShellVersionNumber(std::min<std::uint32_t>(dll->major, 0xFFFF), dll->minor);
  }
  return version;
}

}  // namespace wakumo
