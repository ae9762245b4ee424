#include "win32/win32_ansi_code_page.h"

#include <algorithm>
#include <climits>

#include "win32/win32_text.h"

namespace wakumo {

namespace {

// The conversions count in int; longer texts go in pieces of this size,
// cut between characters.
constexpr std::size_t kPiece = 1u << 20;

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

Win32AnsiCodePage::Win32AnsiCodePage(UINT code_page)
    : code_page_(code_page) {
  number_ = code_page == CP_ACP ? GetACP() : code_page;
  CPINFO info{};
  if (GetCPInfo(code_page_, &info)) {
    for (int i = 0; i + 1 < MAX_LEADBYTES && (info.LeadByte[i] != 0 || info.LeadByte[i + 1] != 0); i += 2) {
      lead_.Add(info.LeadByte[i], info.LeadByte[i + 1]);
    }
  }
  // UTF-8 and a few others refuse WC_NO_BEST_FIT_CHARS; they have no best fit
  // to turn off anyway.
  char probe[4];
  if (WideCharToMultiByte(code_page_, WC_NO_BEST_FIT_CHARS, L"a", 1, probe, 4, nullptr, nullptr) == 0 &&
      GetLastError() == ERROR_INVALID_FLAGS) {
    to_ansi_flags_ = 0;
  }
  // The same for the strict reading; without it only a failed conversion counts.
  wchar_t wide_probe[4];
  if (MultiByteToWideChar(code_page_, MB_ERR_INVALID_CHARS, "a", 1, wide_probe, 4) == 0 &&
      GetLastError() == ERROR_INVALID_FLAGS) {
    strict_flags_ = 0;
  }
}

std::size_t Win32AnsiCodePage::PieceEnd(std::string_view ansi, std::size_t start) const {
  std::size_t end = start;
  while (end < ansi.size() && end - start < kPiece) end += lead_.CharLength(ansi, end);
  end = std::min(end, ansi.size());
  // UTF-8 as the system code page has no lead bytes to go by.
  while (end < ansi.size() && IsUtf8Continuation(ansi[end]) && number_ == CP_UTF8) ++end;
  return end;
}

bool Win32AnsiCodePage::Decodes(std::string_view ansi) const {
  for (std::size_t start = 0; start < ansi.size();) {
    const std::size_t end = PieceEnd(ansi, start);
    if (MultiByteToWideChar(code_page_, strict_flags_, ansi.data() + start, static_cast<int>(end - start),
                            nullptr, 0) <= 0) {
      return false;
    }
    start = end;
  }
  return true;
}

std::string Win32AnsiCodePage::ToUtf8(std::string_view ansi) const {
  std::wstring wide;
  std::size_t start = 0;
  while (start < ansi.size()) {
    const std::size_t end = PieceEnd(ansi, start);
    const auto n = static_cast<int>(end - start);
    const int length = MultiByteToWideChar(code_page_, 0, ansi.data() + start, n, nullptr, 0);
    if (length > 0) {
      const std::size_t at = wide.size();
      wide.resize(at + static_cast<std::size_t>(length));
      MultiByteToWideChar(code_page_, 0, ansi.data() + start, n, wide.data() + at, length);
    } else {
      // Not expected from a system code page; keep ASCII and mark the rest.
      for (std::size_t i = start; i < end; ++i) {
        const auto b = static_cast<unsigned char>(ansi[i]);
        wide.push_back(b < 0x80 ? static_cast<wchar_t>(b) : L'\uFFFD');
      }
    }
    start = end;
  }
  return Narrow(wide);
}

std::string Win32AnsiCodePage::FromUtf8(std::string_view utf8) const {
  const std::wstring wide = Wide(utf8);
  std::string out;
  std::size_t start = 0;
  while (start < wide.size()) {
    std::size_t end = std::min(wide.size(), start + kPiece);
    // Never part a surrogate pair.
    if (end < wide.size() && IsHighSurrogate(wide[end - 1])) --end;
    const auto n = static_cast<int>(end - start);
    // No default character given: the page's own ("?"), and no best fit, so
    // a full-width "＝" never becomes a real "=".
    const int length =
        WideCharToMultiByte(code_page_, to_ansi_flags_, wide.data() + start, n, nullptr, 0, nullptr, nullptr);
    if (length > 0) {
      const std::size_t at = out.size();
      out.resize(at + static_cast<std::size_t>(length));
      WideCharToMultiByte(code_page_, to_ansi_flags_, wide.data() + start, n, out.data() + at, length, nullptr,
                          nullptr);
    } else {
      for (std::size_t i = start; i < end; ++i) out.push_back(wide[i] < 0x80 ? static_cast<char>(wide[i]) : '?');
    }
    start = end;
  }
  return out;
}

}  // namespace wakumo
