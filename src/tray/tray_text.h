#pragma once
// Rules on the texts and numbers of the notification-area record: limits
// counted in bytes of the ANSI code page, and the shell's version.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ansi_code_page.h"
#include "platform/notify_area.h"

namespace wakumo {

// The longest start of `text` (UTF-8) whose ANSI form takes at most
// `max_bytes` bytes, cut between characters: a double-byte character that
// does not fit whole is left out, never halved. The text ends at its first
// NUL, as a C string in the record would.
std::string CutToAnsiBytes(std::string_view text, std::size_t max_bytes, const AnsiCodePage& code_page);

// Every CR LF pair replaced by one blank (old shells show no line breaks).
std::string CrLfToBlank(std::string_view text);

// The shell's version packed as major << 16 | minor.
constexpr std::uint32_t ShellVersionNumber(std::uint32_t major, std::uint32_t minor) {
  return (major << 16) | (minor & 0xFFFFu);
}
constexpr bool IsShell5(std::uint32_t version) { return (version >> 16) >= 5; }

// A version text such as "4.72.3110.1" or "6.00.2900.2180": the number
// before the first dot is the major version, the one after it the minor.
// 0 when the text does not start with a number and a dot.
std::uint32_t ShellVersionFromFileVersion(std::string_view text);

// The file version of shell32.dll, replaced by what its DllGetVersion
// answers when it answers.
std::uint32_t DetermineShellVersion(NotifyArea& shell);

}  // namespace wakumo
