#pragma once
// The ANSI code page port on kernel32's conversions.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ansi_code_page.h"
#include "win32/win32_api.h"

namespace wakumo {

class Win32AnsiCodePage : public AnsiCodePage {
 public:
  // CP_ACP is the system's code page, the one the program uses; tests may
  // name another installed one (1252, 932) to check its conversions.
  explicit Win32AnsiCodePage(UINT code_page = CP_ACP);
  bool Decodes(std::string_view ansi) const override;
  std::string ToUtf8(std::string_view ansi) const override;
  std::string FromUtf8(std::string_view utf8) const override;

 private:
  // The end of the conversion piece that starts at `start`, cut between characters.
  std::size_t PieceEnd(std::string_view ansi, std::size_t start) const;

  UINT code_page_;
  // WC_NO_BEST_FIT_CHARS, or 0 for the pages that take no flags (UTF-8).
  DWORD to_ansi_flags_ = WC_NO_BEST_FIT_CHARS;
  // MB_ERR_INVALID_CHARS, or 0 for the pages that refuse it.
  DWORD strict_flags_ = MB_ERR_INVALID_CHARS;
};

}  // namespace wakumo
