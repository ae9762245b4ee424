#include "core/text.h"

namespace wakumo {

namespace {
constexpr char32_t kReplacement = 0xFFFD;
}  // namespace

DecodedChar DecodeUtf8At(std::string_view s, std::size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  const DecodedChar malformed{lead, 1, false};
  char32_t cp;
  std::size_t len;
  if (lead < 0x80) {
    return {lead, 1, true};
  } else if ((lead & 0xE0) == 0xC0) {
    cp = lead & 0x1F;
    len = 2;
  } else if ((lead & 0xF0) == 0xE0) {
    cp = lead & 0x0F;
    len = 3;
  } else if ((lead & 0xF8) == 0xF0) {
    cp = lead & 0x07;
    len = 4;
  } else {
    return malformed;
  }
  if (i + len > s.size()) return malformed;
  for (std::size_t k = 1; k < len; ++k) {
    const auto next = static_cast<unsigned char>(s[i + k]);
    if ((next & 0xC0) != 0x80) return malformed;
    cp = (cp << 6) | (next & 0x3F);
  }
  return {cp, len, true};
}

DecodedChar DecodeUtf16At(std::u16string_view s, std::size_t i) {
  const char32_t u = s[i];
  if (IsHighSurrogate(u) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) return {CombineSurrogates(u, s[i + 1]), 2};
  return {u, 1};
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || IsSurrogate(c)) c = kReplacement;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c > 0x10FFFF) c = kReplacement;
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
    return;
  }
  c -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const DecodedChar d = DecodeUtf8At(s, i);
    AppendUtf16(out, d.valid ? d.code_point : kReplacement);
    i += d.length;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const DecodedChar d = DecodeUtf16At(s, i);
    AppendUtf8(out, d.code_point);
    i += d.length;
  }
  return out;
}

std::u32string Utf8ToUtf32(std::string_view s) {
  // Through UTF-16, so that a character reads the same here as in a field.
  const std::u16string units = Utf8ToUtf16(s);
  std::u32string out;
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size();) {
    const DecodedChar d = DecodeUtf16At(units, i);
    out.push_back(d.code_point);
    i += d.length;
  }
  return out;
}

std::string Utf32ToUtf8(std::u32string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char32_t c : s) AppendUtf8(out, c);
  return out;
}

std::string CutToUtf16Units(std::string_view s, std::size_t units) {
  std::u16string w = Utf8ToUtf16(s);
  if (w.size() <= units) return std::string(s);
  std::size_t n = units;
  // A lone high surrogate at the cut would make an invalid character.
  if (n > 0 && IsHighSurrogate(w[n - 1])) --n;
  return Utf16ToUtf8(std::u16string_view(w).substr(0, n));
}

std::string HexByte(unsigned char b) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[b >> 4], kDigits[b & 0xF]};
}

}  // namespace wakumo
