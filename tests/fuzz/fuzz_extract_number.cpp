// Reads arbitrary text as a number and formats numbers with arbitrary
// patterns. Besides the sanitizers' findings it checks that the digit flag is
// right, that no NaN comes out of text, and that what the formatters write
// reads back as the number, within the rounding the pattern asks for.
//
// Input: byte 0 picks the locale symbols; the rest is "pattern\ntext" (or
// only text when there is no line break).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "controls/number_text.h"

namespace {

using wakumo::ExtractNumber;
using wakumo::NumberSeparators;

constexpr NumberSeparators kSeparators[] = {
    {U'.', U','}, {U',', U'.'}, {U'\u066B', U'\u066C'}, {U'.', U'\u00A0'}};

[[noreturn]] void Fail(const char* what, std::string_view subject, long double expected, long double got) {
  std::fprintf(stderr, "%s: \"%.*s\" expected %.21Lg got %.21Lg\n", what, static_cast<int>(subject.size()),
               subject.data(), expected, got);
  std::abort();
}

bool HasAsciiDigit(std::string_view s) {
  for (char c : s) {
    if (c >= '0' && c <= '9') return true;
  }
  return false;
}

// Patterns made of placeholders only, whose output holds nothing but the number.
bool PlainPattern(std::string_view p) {
  return p.find_first_not_of("0#.,") == std::string_view::npos && p.find_first_of("0#") != std::string_view::npos;
}

int FractionPlaces(std::string_view p) {
  std::size_t point = p.find('.');
  if (point == std::string_view::npos) return 0;
  int n = 0;
  for (char c : p.substr(point + 1)) n += (c == '0' || c == '#') ? 1 : 0;
  return n;
}

// A value of any magnitude, subnormals included, from raw bytes.
long double RawValue(std::string_view bytes) {
  if (bytes.size() < 10) return 0;
  std::uint64_t mantissa;
  std::int16_t exponent;
  std::memcpy(&mantissa, bytes.data(), 8);
  std::memcpy(&exponent, bytes.data() + 8, 2);
  long double v = std::ldexp(static_cast<long double>(mantissa >> 1), exponent % 16500);
  return (mantissa & 1) ? -v : v;
}

void CheckFormatting(long double v, std::string_view pattern, const NumberSeparators& seps) {
  const std::string patterned = wakumo::FormatNumberPattern(v, pattern, seps);
  const std::string general = wakumo::FormatGeneral(v, seps);
  if (!std::isfinite(v)) return;
  // Subnormals read back as zero; allow for that below the normal range.
  const long double floor = std::numeric_limits<long double>::min() * 4;

  if (PlainPattern(pattern)) {
    const long double back = ExtractNumber(patterned, seps.decimal).value;
    const long double unit = std::pow(10.0L, -static_cast<long double>(FractionPlaces(pattern)));
    const long double tolerance = unit / 2 + std::fabs(v) * 1e-17L + floor;
    if (!(std::fabs(back - v) <= tolerance)) Fail("pattern read-back", patterned, v, back);
  }
  const long double back = ExtractNumber(general, seps.decimal).value;
  if (!(std::fabs(back - v) <= std::fabs(v) * 1e-14L + floor)) Fail("general read-back", general, v, back);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const NumberSeparators& seps = kSeparators[data[0] % 4];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string_view pattern, text = rest;
  if (std::size_t nl = rest.find('\n'); nl != std::string_view::npos) {
    pattern = rest.substr(0, std::min<std::size_t>(nl, 64));
    text = rest.substr(nl + 1);
  }

  const wakumo::ExtractedNumber n = ExtractNumber(text, seps.decimal);
  if (n.has_digit != HasAsciiDigit(text)) Fail("digit flag", text, HasAsciiDigit(text), n.has_digit);
  if (std::isnan(n.value)) Fail("NaN from text", text, 0, n.value);
  if (!n.has_digit && n.value != 0) Fail("number without digits", text, 0, n.value);

  CheckFormatting(n.value, pattern, seps);
  CheckFormatting(RawValue(text), pattern, seps);
  return 0;
}
