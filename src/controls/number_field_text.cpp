// The number field's own texts: read strictly, rounded digit by digit and
// written by the field's mode. The lenient reading and the patterns are in
// number_text.cpp.
#include <algorithm>
#include <cmath>
#include <limits>

#include "controls/number_text.h"
#include "core/text.h"

namespace wakumo {

namespace {

// Fixed fraction digits and hexadecimal digits are padded to at most this
// many, so a huge Figure cannot make a text too long to hold.
constexpr std::int32_t kMaxPaddedDigits = 255;
// Typed and pasted decimal numbers stay below this: from here on the general
// form shows an exponent and no longer the digits that were typed.
constexpr long double kTypedMagnitude = 1e15L;
constexpr std::uint64_t kInt64Max = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

// Decimal texts drop the thousands separators and control characters before
// they are read.
std::u32string Clean(std::u32string_view s, char32_t thousands) {
  std::u32string out;
  for (char32_t c : s) {
    if (c != thousands && c >= 0x20) out.push_back(c);
  }
  return out;
}

// A cleaned decimal text: [sign] digits [separator digits] [E [sign] digits].
// The exponent only comes from the general form of numbers from 1E15 on.
struct DecimalText {
  char32_t sign = 0;
  std::u32string int_digits;
  bool separator = false;
  std::u32string frac_digits;
  bool exponent = false;
  bool exp_negative = false;
  std::u32string exp_digits;
};

std::optional<DecimalText> SplitDecimal(std::u32string_view s, char32_t separator) {
  DecimalText d;
  std::size_t i = 0;
  auto digits = [&](std::u32string& out) {
    while (i < s.size() && IsDecimalDigit(s[i])) out.push_back(s[i++]);
  };
  if (i < s.size() && IsSignChar(s[i])) d.sign = s[i++];
  digits(d.int_digits);
  if (i < s.size() && s[i] == separator) {
    d.separator = true;
    ++i;
    digits(d.frac_digits);
  }
  if (i < s.size() && (s[i] == U'E' || s[i] == U'e') && !(d.int_digits.empty() && d.frac_digits.empty())) {
    d.exponent = true;
    ++i;
    if (i < s.size() && IsSignChar(s[i])) d.exp_negative = s[i++] == U'-';
    digits(d.exp_digits);
    if (d.exp_digits.empty()) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  return d;
}

// Digits in `base` as long as the number stays within `limit`.
std::optional<std::uint64_t> DigitsValue(std::u32string_view digits, unsigned base, std::uint64_t limit) {
  std::uint64_t v = 0;
  for (char32_t c : digits) {
    unsigned d;
    if (IsDecimalDigit(c)) {
      d = c - U'0';
    } else if (c >= U'A' && c <= U'F') {
      d = c - U'A' + 10;
    } else {
      d = c - U'a' + 10;
    }
    if (v > (limit - d) / base) return std::nullopt;
    v = v * base + d;
  }
  return v;
}

// A cleaned decimal text: whole numbers read as 64-bit integers, others as
// extended values; nothing for a malformed text or one beyond those ranges.
std::optional<long double> ReadDecimal(std::u32string_view s, char32_t separator) {
  if (s.empty()) return 0.0L;
  const std::optional<DecimalText> d = SplitDecimal(s, separator);
  if (!d) return std::nullopt;
  const bool negative = d->sign == U'-';
  if (!d->separator && !d->exponent) {
    const std::optional<std::uint64_t> m = DigitsValue(d->int_digits, 10, negative ? kInt64Max + 1 : kInt64Max);
    if (!m) return std::nullopt;
    const long double v = static_cast<long double>(*m);
    return negative && *m != 0 ? -v : v;
  }
  std::string ascii = negative ? "-" : "";
  ascii += d->int_digits.empty() ? "0" : Utf32ToUtf8(d->int_digits);
  ascii += '.';
  ascii += Utf32ToUtf8(d->frac_digits);
  if (d->exponent) {
    ascii += d->exp_negative ? "e-" : "e";
    ascii += Utf32ToUtf8(d->exp_digits);
  }
  // The text is well formed here, so the lenient reader reads it exactly;
  // it only tells overflow (infinity) from underflow (zero) for us.
  const long double v = ExtractNumber(ascii, U'.').value;
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<long double> ReadHex(std::u32string_view s, bool valid_minus) {
  bool negative = false;
  if (valid_minus && !s.empty() && s.front() == U'-') {
    negative = true;
    s.remove_prefix(1);
  }
  if (s.empty() || !std::all_of(s.begin(), s.end(), IsHexDigitChar)) return std::nullopt;
  if (valid_minus) {
    const std::optional<std::uint64_t> m = DigitsValue(s, 16, negative ? kInt64Max + 1 : kInt64Max);
    if (!m) return std::nullopt;
    const long double v = static_cast<long double>(*m);
    return negative ? -v : v;
  }
  const std::optional<std::uint64_t> m = DigitsValue(s, 16, 0xFFFFFFFFu);
  if (!m) return std::nullopt;
  // Eight digits with the top bit set are a negative 32-bit number.
  return static_cast<long double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(*m)));
}

std::int64_t ClampToInt64(long double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9223372036854775808.0L) return std::numeric_limits<std::int64_t>::max();
  if (v <= -9223372036854775808.0L) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(v);
}

std::u32string GroupThousands(std::u32string_view digits, char32_t separator) {
  std::size_t lead = 0;
  while (lead + 1 < digits.size() && digits[lead] == U'0') ++lead;
  digits.remove_prefix(lead);
  if (digits.empty()) return U"0";
  std::u32string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(separator);
    out.push_back(digits[i]);
  }
  return out;
}

std::u32string DecimalFieldText(long double value, const NumberFieldMode& m, bool keep_plus) {
  const NumberSeparators& seps = m.separators;
  const std::u32string rounded = RoundFieldText(GeneralText(value, seps), m.figure, m);
  // sign, integer digits, fraction (with its separator), exponent
  std::size_t i = 0;
  std::u32string sign;
  if (i < rounded.size() && IsSignChar(rounded[i])) sign.push_back(rounded[i++]);
  const std::size_t int_start = i;
  while (i < rounded.size() && IsDecimalDigit(rounded[i])) ++i;
  std::u32string int_part = rounded.substr(int_start, i - int_start);
  const std::size_t exp = rounded.find(U'E', i);
  std::u32string frac = rounded.substr(i, exp == std::u32string::npos ? std::u32string::npos : exp - i);
  const std::u32string exponent = exp == std::u32string::npos ? std::u32string() : rounded.substr(exp);

  if (m.comma) int_part = GroupThousands(int_part, seps.thousands);
  // A mantissa's digits are no fraction digits of the number: Fixed leaves them.
  if (m.fixed && m.figure >= 0 && exponent.empty()) {
    const std::size_t figure = static_cast<std::size_t>(std::min(m.figure, kMaxPaddedDigits));
    if (frac.empty()) {
      if (figure >= 1) frac = seps.decimal + std::u32string(figure, U'0');
    } else if (figure == 0) {
      frac.clear();
    } else {
      // Rounding already happened: pad or cut.
      std::u32string digits = frac.substr(1);
      digits.resize(figure, U'0');
      frac = seps.decimal + digits;
    }
  }
  std::u32string s = sign + int_part + frac + exponent;
  // A "+" the user typed stays, but never in front of a minus.
  if (keep_plus && !s.starts_with(U'-')) s.insert(s.begin(), U'+');
  if (!s.empty() && s.back() == seps.decimal) s.pop_back();
  return s;
}

}  // namespace

std::int32_t IntegerDigits(std::u32string_view s, const NumberSeparators& seps) {
  std::int32_t count = 0;
  for (char32_t c : s.substr(0, s.find(seps.decimal))) count += !IsSignChar(c) && c != seps.thousands;
  return count;
}

std::u32string GeneralText(long double value, const NumberSeparators& seps) {
  return Utf8ToUtf32(FormatGeneral(value, seps));
}

std::optional<long double> ReadFieldText(std::u32string_view text, const NumberFieldMode& m) {
  if (text.empty() || text == U"-" || text == U"+") return 0.0L;
  if (m.type == TNumberType::ntHex) return ReadHex(text, m.valid_minus);
  return ReadDecimal(Clean(text, m.separators.thousands), m.separators.decimal);
}

std::optional<long double> ReadRoundedDecimal(std::u32string_view text, const NumberFieldMode& m) {
  return ReadDecimal(RoundFieldText(text, m.figure, m), m.separators.decimal);
}

bool IsEnterableFieldText(std::u32string_view text, const NumberFieldMode& m) {
  const std::optional<long double> v = ReadFieldText(text, m);
  if (!v) return false;
  if (m.type == TNumberType::ntHex) return true;
  // The exponent is the field's own notation for large numbers, not an input.
  return std::fabs(*v) < kTypedMagnitude && text.find_first_of(U"Ee") == std::u32string::npos;
}

std::u32string RoundFieldText(std::u32string_view text, int n, const NumberFieldMode& m) {
  const NumberSeparators& seps = m.separators;
  const std::u32string cleaned = Clean(text, seps.thousands);
  const std::optional<DecimalText> d = SplitDecimal(cleaned, seps.decimal);
  if (!d) return cleaned;
  if (d->exponent) {
    // Only the general form of large numbers carries an exponent, and those
    // have no fraction digits to drop; an edited one is rounded positionally.
    const std::optional<long double> v = ReadDecimal(cleaned, seps.decimal);
    if (!v) return cleaned;
    const std::u32string positional = GeneralText(*v, seps);
    if (positional.find(U'E') != std::u32string::npos) return cleaned;
    return RoundFieldText(positional, n, m);
  }
  if (!d->separator || d->frac_digits.empty() || n < 0) return cleaned;
  const std::size_t keep = static_cast<std::size_t>(n);
  if (d->frac_digits.size() <= keep) return cleaned;

  bool carry = false;
  switch (m.round_mode) {
    case TRoundMode::rmDown:
      break;
    case TRoundMode::rmRound:
      carry = d->frac_digits[keep] >= U'5';
      break;
    case TRoundMode::rmUp:
      carry = d->frac_digits.find_first_not_of(U'0', keep) != std::u32string::npos;
      break;
  }
  std::u32string kept = d->frac_digits.substr(0, keep);
  std::u32string int_digits = d->int_digits;
  if (carry) {
    std::size_t i = kept.size();
    while (i > 0 && kept[i - 1] == U'9') kept[--i] = U'0';
    if (i > 0) {
      ++kept[i - 1];
    } else {
      // Into the integer part, growing its magnitude: -0 gives -1, 9 gives 10.
      std::size_t j = int_digits.size();
      while (j > 0 && int_digits[j - 1] == U'9') int_digits[--j] = U'0';
      if (j > 0) {
        ++int_digits[j - 1];
      } else {
        int_digits.insert(int_digits.begin(), U'1');
      }
    }
  }
  std::u32string out;
  if (d->sign) out.push_back(d->sign);
  out += int_digits;
  out.push_back(seps.decimal);
  out += kept;
  return out;
}

std::int64_t RoundedInteger(long double value, const NumberFieldMode& m) {
  const std::u32string rounded = RoundFieldText(GeneralText(value, m.separators), 0, m);
  return ClampToInt64(ReadDecimal(rounded, m.separators.decimal).value_or(value));
}

std::u32string HexFieldText(std::int64_t i, bool with_sign, std::int32_t figure) {
  bool negative = false;
  std::uint64_t magnitude;
  if (with_sign) {
    negative = i < 0;
    magnitude = negative ? static_cast<std::uint64_t>(-(i + 1)) + 1 : static_cast<std::uint64_t>(i);
  } else {
    // Negative numbers show their 32-bit pattern: -1 is FFFFFFFF.
    magnitude = static_cast<std::uint32_t>(static_cast<std::int32_t>(i));
  }
  std::u32string digits;
  do {
    digits.insert(digits.begin(), U"0123456789ABCDEF"[magnitude % 16]);
    magnitude /= 16;
  } while (magnitude != 0);
  const std::size_t least = static_cast<std::size_t>(std::clamp(figure, 1, kMaxPaddedDigits));
  if (digits.size() < least) digits.insert(0, least - digits.size(), U'0');
  if (negative) digits.insert(digits.begin(), U'-');
  return digits;
}

ShownNumber FormatFieldText(long double value, const NumberFieldMode& m, bool keep_plus) {
  ShownNumber shown{{}, value};
  if (m.type == TNumberType::ntHex) {
    std::int64_t i = RoundedInteger(value, m);
    if (!m.valid_minus) {
      i = std::clamp<std::int64_t>(i, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
    }
    shown.value = static_cast<long double>(i);
    shown.text = HexFieldText(i, m.valid_minus, m.figure);
    if (m.hex_case == THexCase::hcLower) {
      for (char32_t& c : shown.text) {
        if (c >= U'A' && c <= U'F') c = c - U'A' + U'a';
      }
    }
  } else {
    shown.text = DecimalFieldText(value, m, keep_plus);
  }
  if (!m.zero_visible) {
    const std::optional<long double> read = ReadFieldText(shown.text, m);
    if (read && *read == 0) shown.text.clear();
  }
  return shown;
}

}  // namespace wakumo
