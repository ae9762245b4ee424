#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "controls/number_text.h"
#include "core/text.h"

namespace wakumo {
namespace {

struct ExtractRow {
  std::string text;
  long double value;
  bool has_digit;
};

TEST(ExtractNumber, ReadsNumbersOutOfArbitraryText) {
  const ExtractRow rows[] = {
      {"1,234.50", 1234.5L, true},
      {"-007", -7, true},
      {"2.5e-3x", 0.0025L, true},
      {".5", 0.5L, true},
      {"-", 0, false},
      {"", 0, false},
      {"abc", 0, false},
      {".", 0, false},
      {"0", 0, true},
      {"  +42 px", 42, true},
      {"--5", -5, true},
      {"1-2", 12, true},
      {"1e", 1, true},
      {"1e-", 1, true},
      {"3E2", 300, true},
      {"1e-05", 0.00001L, true},
      {"1.2.3", 1.23L, true},
      {"-.25", -0.25L, true},
      {"x9y", 9, true},
      {"\xef\xbc\x91\xef\xbc\x92", 0, false},  // full-width digits are not digits
      {"\xff\xfe" "7", 7, true},                // broken UTF-8 is skipped like any other byte
  };
  for (const ExtractRow& r : rows) {
    SCOPED_TRACE("text \"" + r.text + "\"");
    ExtractedNumber n = ExtractNumber(r.text);
    EXPECT_EQ(n.value, r.value);
    EXPECT_EQ(n.has_digit, r.has_digit);
  }
}

TEST(ExtractNumber, OutOfRangeTextsSaturateInsteadOfFailing) {
  const long double inf = std::numeric_limits<long double>::infinity();
  EXPECT_EQ(ExtractNumber("1e99999").value, inf);
  EXPECT_EQ(ExtractNumber("-1e99999").value, -inf);
  EXPECT_EQ(ExtractNumber(std::string(6000, '9')).value, inf);
  EXPECT_EQ(ExtractNumber("1e-99999").value, 0);
  EXPECT_EQ(ExtractNumber("0." + std::string(6000, '0') + "1").value, 0);
  EXPECT_EQ(ExtractNumber("1e999999999999999999999999").value, inf) << "an exponent beyond any integer";
}

TEST(ExtractNumber, LocaleSeparatorReadsBackWhatTheFormatterWrote) {
  EXPECT_EQ(ExtractNumber("1.234,50", U',').value, 1234.5L);
  EXPECT_EQ(ExtractNumber("3\xd9\xab" "25", U'\u066B').value, 3.25L) << "a separator of more than one byte";
  EXPECT_EQ(ExtractNumber("1,5").value, 15) << "with the default '.', a comma is grouping";

  const NumberSeparators comma{U',', U'.'};
  for (long double v : {0.0L, 1.5L, -1234.56L, 9999.0L, 1234567.89L}) {
    SCOPED_TRACE(static_cast<double>(v));
    std::string text = FormatNumberPattern(v, "#,##0.00", comma);
    EXPECT_EQ(ExtractNumber(text, comma.decimal).value, v) << text;
  }
}

struct FormatRow {
  std::string pattern;
  long double value;
  std::string expected;
};

TEST(FormatNumberPattern, PlaceholdersGroupingAndHalfAwayFromZero) {
  const FormatRow rows[] = {
      {"#0", 1234.5L, "1235"},
      {"#0", 2.5L, "3"},
      {"#0", -2.5L, "-3"},
      {"#0", 0.4L, "0"},
      {"#0", -0.4L, "0"},
      {"#0", -0.0L, "0"},
      {"#0", 9999, "9999"},
      {"#0", -9999, "-9999"},
      {"0.00", 2.675L, "2.68"},
      {"0.00", 0.125L, "0.13"},
      {"0.00", -0.125L, "-0.13"},
      {"0.00", 1.994L, "1.99"},
      {"0.00", 9.995L, "10.00"},
      {"0.00", 7, "7.00"},
      {"#,##0", 1234567, "1,234,567"},
      {"#,##0", 999, "999"},
      {"#,##0", 1000, "1,000"},
      {"#,##0", -1234, "-1,234"},
      {"#,##0", 0, "0"},
      {"#,##0", 123456789012.0L, "123,456,789,012"},
      {"#,##0.00", 1234.5L, "1,234.50"},
      {"#,##0.00", -0.004L, "0.00"},
      {"#,##0.00", -0.005L, "-0.01"},
      {"0.0#", 1.5L, "1.5"},
      {"0.0#", 1.25L, "1.25"},
      {"0.0#", 1, "1.0"},
      {"#.##", 0.5L, ".5"},
      {"#", 0, ""},
      {"000", 7, "007"},
      {"#0", 1e20L, "100000000000000000000"},
      {"$#,##0.00", -5, "-$5.00"},
      {"#0 px", 12, "12 px"},
      {"", 1.5L, "1.5"},
      {"abc", 2, "2"},
  };
  for (const FormatRow& r : rows) {
    SCOPED_TRACE("pattern \"" + r.pattern + "\" value " + std::to_string(static_cast<double>(r.value)));
    EXPECT_EQ(FormatNumberPattern(r.value, r.pattern), r.expected);
  }
}

TEST(FormatNumberPattern, LocaleSymbolsAndNonFiniteValues) {
  EXPECT_EQ(FormatNumberPattern(1234.5L, "#,##0.00", {U',', U'.'}), "1.234,50");
  EXPECT_EQ(FormatNumberPattern(1234567, "#,##0", {U'.', U'\u00A0'}), "1\xc2\xa0" "234\xc2\xa0" "567");
  EXPECT_EQ(FormatNumberPattern(std::numeric_limits<long double>::infinity(), "#0"), "INF");
  EXPECT_EQ(FormatNumberPattern(-std::numeric_limits<long double>::infinity(), "#0"), "-INF");
  EXPECT_EQ(FormatNumberPattern(std::numeric_limits<long double>::quiet_NaN(), "#0"), "NAN");
}

TEST(FormatGeneral, FifteenSignificantDigitsInFixedNotation) {
  const FormatRow rows[] = {
      {"", 1234.5L, "1234.5"},
      {"", 0.1L + 0.2L, "0.3"},
      {"", 1.0L / 3, "0.333333333333333"},
      {"", 123456789012345.0L, "123456789012345"},
      {"", 1e15L, "1E+15"},
      {"", 1.5e20L, "1.5E+20"},
      {"", -0.5L, "-0.5"},
      {"", 1e-7L, "0.0000001"},
      {"", 100, "100"},
      {"", 0, "0"},
      {"", -0.0L, "0"},
  };
  for (const FormatRow& r : rows) {
    SCOPED_TRACE(std::to_string(static_cast<double>(r.value)));
    EXPECT_EQ(FormatGeneral(r.value), r.expected);
  }
  EXPECT_EQ(FormatGeneral(-2.25L, {U',', U'.'}), "-2,25");
}

// The field's own arithmetic, compared as UTF-8 so that failures print.
std::optional<long double> Read(const std::string& text, const NumberFieldMode& m) {
  return ReadFieldText(Utf8ToUtf32(text), m);
}
std::string Shown(long double value, const NumberFieldMode& m, bool keep_plus = false) {
  return Utf32ToUtf8(FormatFieldText(value, m, keep_plus).text);
}

TEST(ReadFieldText, ReadsOnlyNumbersOfTheModeWithinTheirConversionsRange) {
  NumberFieldMode m;
  m.separators = {U',', U'.'};
  EXPECT_EQ(Read("1.234,5", m), 1234.5L) << "thousands dropped, decimal comma";
  EXPECT_EQ(Read("", m), 0.0L);
  EXPECT_EQ(Read("-", m), 0.0L);
  EXPECT_EQ(Read("1,2,3", m), std::nullopt);
  EXPECT_EQ(Read("12a", m), std::nullopt);
  EXPECT_EQ(Read("9223372036854775807", m), 9223372036854775807.0L);
  EXPECT_EQ(Read("9223372036854775808", m), std::nullopt) << "a whole number must fit 64 bits";
  EXPECT_EQ(Read("-9223372036854775808", m), -9223372036854775808.0L);

  m.type = TNumberType::ntHex;
  EXPECT_EQ(Read("FFFFFFFF", m), -1.0L) << "without a sign: a 32-bit pattern";
  EXPECT_EQ(Read("100000000", m), std::nullopt);
  EXPECT_EQ(Read("-1", m), std::nullopt);
  m.valid_minus = true;
  EXPECT_EQ(Read("-1", m), -1.0L);
  EXPECT_EQ(Read("100000000", m), 4294967296.0L);
}

TEST(IsEnterableFieldText, RefusesExponentsAndDecimalsFromOneE15On) {
  NumberFieldMode m;
  EXPECT_TRUE(IsEnterableFieldText(U"999999999999999", m));
  EXPECT_FALSE(IsEnterableFieldText(U"1000000000000000", m));
  EXPECT_FALSE(IsEnterableFieldText(U"1E3", m));
  EXPECT_FALSE(IsEnterableFieldText(U"1-", m));
  m.type = TNumberType::ntHex;
  EXPECT_TRUE(IsEnterableFieldText(U"7FFFFFFF", m));
}

TEST(FormatFieldText, HexadecimalShowsTheRoundedIntegerItHolds) {
  NumberFieldMode m;
  m.type = TNumberType::ntHex;
  m.figure = 4;
  m.round_mode = TRoundMode::rmRound;
  const ShownNumber shown = FormatFieldText(254.6L, m, false);
  EXPECT_EQ(Utf32ToUtf8(shown.text), "00FF");
  EXPECT_EQ(shown.value, 255.0L) << "the value becomes the integer shown";
  EXPECT_EQ(Shown(-1, m), "FFFFFFFF");
  EXPECT_EQ(Shown(5e12L, m), "7FFFFFFF") << "held to 32 bits without a sign";
  m.hex_case = THexCase::hcLower;
  m.valid_minus = true;
  EXPECT_EQ(Shown(-171, m), "-00ab");
}

TEST(FormatFieldText, DecimalRoundsGroupsPadsAndKeepsATypedPlus) {
  NumberFieldMode m;
  m.figure = 2;
  EXPECT_EQ(Shown(2.678L, m), "2.67") << "rounded down by default";
  m.comma = true;
  m.fixed = true;
  EXPECT_EQ(Shown(1234567, m), "1,234,567.00");
  EXPECT_EQ(Shown(5, m, true), "+5.00");
  EXPECT_EQ(Shown(-5, m, true), "-5.00") << "no plus in front of a minus";
  EXPECT_EQ(Shown(1.5e20L, m), "1.5E+20") << "a mantissa gets no fixed digits";
  m.zero_visible = false;
  EXPECT_EQ(Shown(0.001L, m), "") << "shows as zero, so nothing shows";
}

}  // namespace
}  // namespace wakumo
