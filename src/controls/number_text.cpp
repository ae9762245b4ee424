#include "controls/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <system_error>

#include "core/text.h"

namespace wakumo {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// `number` is a well-formed -?digits[.digits][e-?digits] text that the
// conversion found out of range: decide between infinity and zero from its
// decimal magnitude.
long double OutOfRangeValue(std::string_view number) {
  bool negative = !number.empty() && number.front() == '-';
  if (negative) number.remove_prefix(1);
  std::size_t e = number.find('e');
  std::string_view mantissa = number.substr(0, e);
  long long exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view ex = number.substr(e + 1);
    bool exp_negative = !ex.empty() && ex.front() == '-';
    if (exp_negative) ex.remove_prefix(1);
    for (char c : ex) {
      exponent = std::min<long long>(exponent * 10 + (c - '0'), 1000000);
    }
    if (exp_negative) exponent = -exponent;
  }
  std::size_t point = mantissa.find('.');
  std::string_view int_part = mantissa.substr(0, point);
  long long magnitude;
  if (!int_part.empty() && int_part != "0") {
    magnitude = static_cast<long long>(int_part.size()) - 1;
  } else {
    std::string_view frac = point == std::string_view::npos ? std::string_view{} : mantissa.substr(point + 1);
    std::size_t zeros = 0;
    while (zeros < frac.size() && frac[zeros] == '0') ++zeros;
    magnitude = -static_cast<long long>(zeros) - 1;
  }
  long double v = magnitude + exponent >= 0 ? std::numeric_limits<long double>::infinity() : 0.0L;
  return negative ? -v : v;
}

// Decimal digits of |value| rounded to `significant` digits: value ~ 0.d1d2... x 10^point.
struct Digits {
  std::string digits;
  int point = 0;  // digits before the decimal point; may be <= 0 or beyond the digits
};

Digits SignificantDigits(long double value, int significant) {
  // printf rather than std::to_chars: both round correctly, but to_chars for
  // long double brings about 150 KB of tables into the exe. Only digits and
  // the exponent are read, so the locale's decimal point does not matter.
  char buf[64];
  const int n = std::snprintf(buf, sizeof buf, "%.*Le", significant - 1, std::fabs(value));
  std::string_view text(buf, n > 0 ? std::min(static_cast<std::size_t>(n), sizeof buf - 1) : 0);
  Digits d;
  const std::size_t e = text.find('e');
  if (e == std::string_view::npos || e + 1 >= text.size()) return d;  // not finite: no digits
  for (char c : text.substr(0, e)) {
    if (IsDigit(c)) d.digits.push_back(c);
  }
  int exponent = 0;
  std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);
  d.point = exponent + 1;
  return d;
}

// |value| in fixed notation with exactly `frac` fraction digits, rounded half
// away from zero from its 18 significant digits. The integer digits carry no
// leading zeros (empty for zero).
void FixedDigits(long double value, int frac, std::string& int_digits, std::string& frac_digits) {
  // 18 significant digits hold every long double to within its own precision,
  // so a value typed as 2.675 rounds as 2.675 and not as its binary neighbour.
  Digits d = SignificantDigits(value, 18);
  long long keep = static_cast<long long>(d.point) + frac;
  std::string kept;
  long long point = d.point;
  if (keep >= 0) {
    if (keep >= static_cast<long long>(d.digits.size())) {
      kept = d.digits;
      kept.append(static_cast<std::size_t>(keep) - d.digits.size(), '0');
    } else {
      kept = d.digits.substr(0, static_cast<std::size_t>(keep));
      if (d.digits[static_cast<std::size_t>(keep)] >= '5') {
        long long i = static_cast<long long>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') kept[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
          ++kept[static_cast<std::size_t>(i)];
        } else {
          kept.insert(kept.begin(), '1');
          ++point;
        }
      }
    }
  }
  // kept now holds the digits from 10^(point-1) down to 10^-frac (or nothing: zero).
  if (kept.empty()) {
    int_digits.clear();
    frac_digits.assign(static_cast<std::size_t>(frac), '0');
    return;
  }
  if (point > 0) {
    int_digits = kept.substr(0, static_cast<std::size_t>(point));
    frac_digits = kept.substr(static_cast<std::size_t>(point));
  } else {
    int_digits.clear();
    frac_digits.assign(static_cast<std::size_t>(-point), '0');
    frac_digits += kept;
  }
  std::size_t lead = 0;
  while (lead < int_digits.size() && int_digits[lead] == '0') ++lead;
  int_digits.erase(0, lead);
}

std::string Group(const std::string& digits, char32_t separator) {
  std::string sep;
  AppendUtf8(sep, separator);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += sep;
    out.push_back(digits[i]);
  }
  return out;
}

bool NonFinite(long double value, std::string& out) {
  if (std::isnan(value)) {
    out = "NAN";
    return true;
  }
  if (std::isinf(value)) {
    out = value < 0 ? "-INF" : "INF";
    return true;
  }
  return false;
}

}  // namespace

ExtractedNumber ExtractNumber(std::string_view text, char32_t decimal_separator) {
  std::string separator;
  AppendUtf8(separator, decimal_separator);
  std::string number;
  bool started = false, minus = false, point = false, exponent = false;
  ExtractedNumber result;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.substr(i).starts_with(separator)) {
      i += separator.size();
      if (point || exponent) continue;
      if (!started) {
        number.push_back('0');
        started = true;
      }
      number.push_back('.');
      point = true;
      continue;
    }
    char c = text[i++];
    if (c == '-') {
      if (!minus && !started) {
        number.push_back('-');
        minus = true;
      }
    } else if (c == '0') {
      result.has_digit = true;
      if (started) number.push_back('0');  // leading zeros are dropped
    } else if (c >= '1' && c <= '9') {
      result.has_digit = true;
      number.push_back(c);
      started = true;
    } else if (c == 'e' || c == 'E') {
      if (started && !exponent) {
        number.push_back('e');
        exponent = true;
        // The exponent may have its own sign and drops its own leading zeros.
        minus = false;
        started = false;
      }
    }
  }
  while (!number.empty() && !IsDigit(number.back())) number.pop_back();
  if (number.empty()) number = "0";

  long double value = 0;
  auto res = std::from_chars(number.data(), number.data() + number.size(), value);
  if (res.ec == std::errc::result_out_of_range) value = OutOfRangeValue(number);
  result.value = value;
  return result;
}

std::string FormatGeneral(long double value, const NumberSeparators& separators) {
  std::string out;
  if (NonFinite(value, out)) return out;
  if (value == 0) return "0";
  Digits d = SignificantDigits(value, 15);
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  if (value < 0) out.push_back('-');
  if (d.point > 15) {
    out.push_back(d.digits[0]);
    if (d.digits.size() > 1) {
      AppendUtf8(out, separators.decimal);
      out.append(d.digits, 1);
    }
    out += "E+" + std::to_string(d.point - 1);
    return out;
  }
  if (d.point > 0) {
    std::size_t p = static_cast<std::size_t>(d.point);
    if (d.digits.size() <= p) {
      out += d.digits;
      out.append(p - d.digits.size(), '0');
    } else {
      out.append(d.digits, 0, p);
      AppendUtf8(out, separators.decimal);
      out.append(d.digits, p);
    }
  } else {
    out.push_back('0');
    AppendUtf8(out, separators.decimal);
    out.append(static_cast<std::size_t>(-d.point), '0');
    out += d.digits;
  }
  return out;
}

std::string FormatNumberPattern(long double value, std::string_view pattern, const NumberSeparators& separators) {
  std::string out;
  if (NonFinite(value, out)) return out;
  if (pattern.find_first_of("0#") == std::string_view::npos) return FormatGeneral(value, separators);

  const std::size_t first = pattern.find_first_of("0#.,");
  const std::size_t last = pattern.find_last_of("0#.,");
  std::string_view prefix = pattern.substr(0, first);
  std::string_view suffix = pattern.substr(last + 1);
  std::string_view body = pattern.substr(first, last + 1 - first);
  const std::size_t point = body.find('.');
  std::string_view int_part = body.substr(0, point);
  std::string_view frac_part = point == std::string_view::npos ? std::string_view{} : body.substr(point + 1);

  const bool group = int_part.find(',') != std::string_view::npos;
  int min_int = 0;
  bool counting = false;
  for (char c : int_part) {
    if (c == '0') counting = true;
    if (counting && (c == '0' || c == '#')) ++min_int;
  }
  int max_frac = 0, min_frac = 0;
  for (char c : frac_part) {
    if (c == '0' || c == '#') ++max_frac;
    if (c == '0') min_frac = max_frac;
  }

  std::string int_digits, frac_digits;
  FixedDigits(value, max_frac, int_digits, frac_digits);
  while (static_cast<int>(frac_digits.size()) > min_frac && frac_digits.back() == '0') frac_digits.pop_back();
  if (static_cast<int>(int_digits.size()) < min_int) int_digits.insert(0, static_cast<std::size_t>(min_int) - int_digits.size(), '0');

  const bool shows_nonzero = int_digits.find_first_not_of('0') != std::string::npos ||
                             frac_digits.find_first_not_of('0') != std::string::npos;
  if (value < 0 && shows_nonzero) out.push_back('-');
  out += prefix;
  out += group ? Group(int_digits, separators.thousands) : int_digits;
  if (!frac_digits.empty()) {
    AppendUtf8(out, separators.decimal);
    out += frac_digits;
  }
  out += suffix;
  return out;
}

}  // namespace wakumo
