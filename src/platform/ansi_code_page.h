#pragma once
// The system's ANSI code page: the encoding of the settings file. Features
// keep text as UTF-8 and convert only at the file's edge; rules that work on
// the file's bytes (separators, trimming, case folding) need to know which
// bytes start a double-byte character so that they never match a trail byte
// (in Shift-JIS "x", "[" and "]" are all possible trail bytes).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wakumo {

// Which byte values start a double-byte character. Empty for single-byte code
// pages.
class LeadByteSet {
 public:
  constexpr LeadByteSet() = default;
  constexpr void Add(std::uint8_t first, std::uint8_t last) {
    for (unsigned b = first; b <= last; ++b) lead_[b] = true;
  }
  constexpr bool IsLead(std::uint8_t b) const { return lead_[b]; }
  constexpr bool Empty() const {
    for (bool b : lead_) if (b) return false;
    return true;
  }

  // Bytes taken by the character at s[i]: 2 for a lead byte followed by a
  // possible trail byte, else 1. Every double-byte code page of the system has
  // its trail bytes at 0x40 and above, so a lead byte before a control
  // character, a blank, "=", "," or ";" stands alone and cannot hide it.
  constexpr std::size_t CharLength(std::string_view s, std::size_t i) const {
    if (!lead_[static_cast<std::uint8_t>(s[i])] || i + 1 >= s.size()) return 1;
    return static_cast<std::uint8_t>(s[i + 1]) >= 0x40 ? 2 : 1;
  }

 private:
  std::array<bool, 256> lead_{};
};

// Win32 adapter:
// - Number(): GetACP().
// - LeadBytes(): built once from GetCPInfo(CP_ACP).LeadByte ranges (the same
//   bytes IsDBCSLeadByteEx(CP_ACP, b) accepts). UTF-8 as the system code page
//   (65001) has none, which is right: no byte of a UTF-8 character above
//   ASCII can be taken for a separator.
// - Decodes(): MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ...)
//   succeeds. It refuses a lead byte without its trail byte and a pair the
//   page leaves undefined; Wine also refuses the single bytes of 932 that read
//   only as private-use characters (A0, FD-FF).
// - ToUtf8(): MultiByteToWideChar(CP_ACP, 0, ...) then UTF-16 to UTF-8. Bytes
//   with no character become what the system makes of them (U+30FB on 932);
//   never fails, never stops early (the text holds no NUL).
// - FromUtf8(): UTF-8 to UTF-16 then WideCharToMultiByte(CP_ACP,
//   WC_NO_BEST_FIT_CHARS, ..., default char NULL). Characters the code page
//   lacks become "?" — never a best-fit look-alike, which could turn a
//   full-width "＝" or "；" into a separator of the file.
// Empty input gives empty output.
class AnsiCodePage {
 public:
  virtual ~AnsiCodePage() = default;
  // 1252, 932, ...
  std::uint32_t Number() const { return number_; }
  const LeadByteSet& LeadBytes() const { return lead_; }
  // Whether every byte of `ansi` belongs to a character of the page, so that
  // ToUtf8 gives that character rather than the page's stand-in.
  virtual bool Decodes(std::string_view ansi) const = 0;
  virtual std::string ToUtf8(std::string_view ansi) const = 0;
  virtual std::string FromUtf8(std::string_view utf8) const = 0;

 protected:
  // Facts of the page, set once by the adapter's constructor.
  std::uint32_t number_ = 0;
  LeadByteSet lead_;
};

}  // namespace wakumo
