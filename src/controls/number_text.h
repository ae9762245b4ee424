#pragma once
// Numbers to text and back for the input controls. Texts are UTF-8, but the
// number field's own arithmetic works on whole characters (UTF-32); the
// separators are single characters, usually the locale's.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace wakumo {

struct ExtractedNumber {
  long double value = 0;
  bool has_digit = false;  // the text held any digit 0-9
};

// Reads a number out of any text, skipping what does not belong to one
// (spaces, "+", letters, grouping): "1,234.50" gives 1234.5, "2.5e-3x" gives
// 0.0025, "abc" gives 0 without a digit. `decimal_separator` is the character
// read as the decimal point; a "." that is not the separator counts as
// grouping, so a text written for a locale with a decimal comma reads back
// as it was meant. Never fails: numbers beyond the range of long double read
// as infinity, those too small for it as zero, each with its sign.
ExtractedNumber ExtractNumber(std::string_view text, char32_t decimal_separator = U'.');

// Formats with the small number pattern language: "0" is a digit always shown,
// "#" a digit shown only when significant, "." the place of the decimal
// separator, a "," before it groups the integer part by thousands. The value
// is rounded half away from zero to as many fraction digits as the pattern
// has placeholders after the point; fraction digits beyond the last "0" are
// dropped while they are zero. Text before the first and after the last of
// the four pattern characters is copied as it is; other characters between
// them are ignored. A pattern without any "0" or "#" gives the general form.
// "#0": 1234.5 -> "1235"; "#,##0.00": 1234.5 -> "1,234.50".
// A minus sign leads the text only when a non-zero digit is shown.
// Not-a-number and infinities show as "NAN", "INF" and "-INF".
std::string FormatNumberPattern(long double value, std::string_view pattern, const NumberSeparators& separators = {});

// The general form: at most 15 significant digits, no grouping, no trailing
// fraction zeros, fixed notation below 1E15 and d.dddE+nn from there on.
std::string FormatGeneral(long double value, const NumberSeparators& separators = {});

// ---------------------------------------------------------------- the number field's texts
// (number_field_text.cpp)

enum class TNumberType { ntDecimal, ntHex };
enum class THexCase { hcUpper, hcLower };
enum class TRoundMode { rmDown, rmRound, rmUp };

constexpr bool IsDecimalDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
constexpr bool IsHexDigitChar(char32_t c) {
  return IsDecimalDigit(c) || (c >= U'A' && c <= U'F') || (c >= U'a' && c <= U'f');
}
constexpr bool IsSignChar(char32_t c) { return c == U'+' || c == U'-'; }

// How a number field reads and writes its text.
struct NumberFieldMode {
  TNumberType type = TNumberType::ntDecimal;
  // Hexadecimal: with a sign, 64 bits; without, 32-bit patterns.
  bool valid_minus = false;
  THexCase hex_case = THexCase::hcUpper;
  bool comma = false;
  // Fraction digits to round to (negative: none); in hexadecimal the least
  // number of digits shown.
  std::int32_t figure = -1;
  bool fixed = false;
  TRoundMode round_mode = TRoundMode::rmDown;
  bool zero_visible = true;
  NumberSeparators separators;
};

// The number a text stands for; nothing when it is not a number of the mode
// or lies beyond the range its conversion reads: a whole decimal or
// hexadecimal number with valid_minus must fit 64 bits signed, hexadecimal
// without it 32 bits, any other decimal a finite extended value. An empty
// text and a lone sign read as 0.
std::optional<long double> ReadFieldText(std::u32string_view text, const NumberFieldMode& mode);
// A decimal text as it reads once rounded to `figure` fraction digits.
std::optional<long double> ReadRoundedDecimal(std::u32string_view text, const NumberFieldMode& mode);
// Whether typing or pasting may lead to this text: it must read, and in
// decimal stay below 1E15 without an exponent.
bool IsEnterableFieldText(std::u32string_view text, const NumberFieldMode& mode);
// Characters of the integer part other than signs and thousands separators.
std::int32_t IntegerDigits(std::u32string_view text, const NumberSeparators& separators);
// A decimal text without its thousands separators, rounded to n fraction
// digits by the round mode digit by digit; a text that does not read comes
// back cleaned only.
std::u32string RoundFieldText(std::u32string_view text, int n, const NumberFieldMode& mode);
// The value rounded by the round mode and held to 64 bits signed.
std::int64_t RoundedInteger(long double value, const NumberFieldMode& mode);
// Upper-case digits, at least max(figure, 1) of them; without a sign a
// negative number shows its 32-bit pattern.
std::u32string HexFieldText(std::int64_t value, bool with_sign, std::int32_t figure);
std::u32string GeneralText(long double value, const NumberSeparators& separators);

// The text a field shows for a value, and the value it then holds: in
// hexadecimal the integer shown.
struct ShownNumber {
  std::u32string text;
  long double value = 0;
};
// `keep_plus`: the text shown now begins with a "+" the user typed.
ShownNumber FormatFieldText(long double value, const NumberFieldMode& mode, bool keep_plus);

}  // namespace wakumo
