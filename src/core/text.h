#pragma once
// Text helpers. Features keep text as UTF-8; the window system counts in
// UTF-16 units, so limits such as "79 characters" are measured in those.
// Every conversion between the encodings lives here, once.
#include <cstddef>
#include <string>
#include <string_view>

namespace wakumo {

constexpr bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u < 0xDC00; }
constexpr bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u < 0xE000; }
constexpr bool IsSurrogate(char32_t u) { return u >= 0xD800 && u < 0xE000; }
constexpr char32_t CombineSurrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}
// UTF-16 units a character takes.
constexpr std::size_t Utf16Length(char32_t c) { return c >= 0x10000 ? 2 : 1; }

// One character read out of encoded text, and how many bytes or units it took.
struct DecodedChar {
  char32_t code_point = 0;
  std::size_t length = 1;
  // False for a byte that starts no well-formed sequence; it then counts
  // alone and code_point holds the byte.
  bool valid = true;
};

// The UTF-8 sequence at s[i] (i < s.size()). Its code point is the one the
// bytes spell, which may lie beyond U+10FFFF for lead bytes F4 to F7.
DecodedChar DecodeUtf8At(std::string_view s, std::size_t i);
// The character at s[i] (i < s.size()): a surrogate pair combined; a lone
// surrogate comes as itself, one unit long.
DecodedChar DecodeUtf16At(std::u16string_view s, std::size_t i);

// Append one character; surrogates (UTF-8 only) and code points beyond
// U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, char32_t c);
void AppendUtf16(std::u16string& out, char32_t c);

// Malformed bytes become U+FFFD, one for each byte; lone surrogates too.
std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);
// As UTF-16 would carry them: lone surrogates stay themselves.
std::u32string Utf8ToUtf32(std::string_view s);
std::string Utf32ToUtf8(std::u32string_view s);

// First `units` UTF-16 units of `s`, never splitting a surrogate pair, as a
// read into a buffer of units + 1 characters leaves it.
std::string CutToUtf16Units(std::string_view s, std::size_t units);

// The two hexadecimal digits of a byte, upper case: "E9".
std::string HexByte(unsigned char b);

}  // namespace wakumo
