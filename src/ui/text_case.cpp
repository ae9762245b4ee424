#include "ui/text_case.h"

#include "core/text.h"

namespace wakumo {

namespace {

// Next code point of UTF-8 text; a malformed byte stands for itself, so that
// any text orders consistently.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
  const DecodedChar d = DecodeUtf8At(s, i);
  i += d.length;
  return d.code_point;
}

char32_t Fold(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;                  // full-width Ａ-Ｚ
  if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) return c + 0x20;   // À-Þ but ×
  if (c >= 0x0391 && c <= 0x03A9 && c != 0x03A2) return c + 0x20;   // Greek
  if (c >= 0x0410 && c <= 0x042F) return c + 0x20;                  // Cyrillic А-Я
  if (c >= 0x0400 && c <= 0x040F) return c + 0x50;                  // Ѐ-Џ
  return c;
}

}  // namespace

int CompareTextIgnoreCase(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const char32_t x = Fold(NextCodePoint(a, i));
    const char32_t y = Fold(NextCodePoint(b, j));
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

}  // namespace wakumo
