#pragma once
// Numbers to text and back for the input controls. Texts are UTF-8; the
// separators are single characters, usually the locale's.
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

}  // namespace wakumo
