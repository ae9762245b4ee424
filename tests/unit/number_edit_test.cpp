#include "controls/number_edit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "sim/sim_desktop.h"
#include "sim/sim_platform.h"
#include "sim/sim_ui.h"
#include "ui/form.h"

namespace wakumo {
namespace {

constexpr char kName[] = "EdNum";

struct Field {
  explicit Field(NumberSeparators seps = {}) {
    platform.locale.SetSeparators(seps);
    tk.UseClipboard(&platform.clipboard);
  }
  SimDesktop desktop;
  SimToolkit tk{desktop};
  SimPlatform platform;
  TForm form{tk, "Form1"};
  TEdit other{tk, &form, "Other"};
  TNumberEdit edit{tk, &form, kName, platform.keyboard, platform.clipboard, platform.locale};

  // The program puts a text in; then the user places the caret.
  void Put(const std::string& text, int caret, int length = 0) {
    edit.SetText(text);
    tk.Get<SimEditPeer>(kName).SetSel(caret, length);
  }
  void Type(std::string_view s) { tk.TypeChars(kName, s); }
  void Key(char32_t c) { tk.TypeChar(kName, c); }
  void Paste(const std::string& clip) {
    platform.clipboard.SetText(clip);
    tk.Paste(kName);
  }
  int Caret() const { return edit.SelStart(); }
};

TEST(NumberEdit, StartsWithZeroAndTheDescribedDefaults) {
  Field f;
  EXPECT_EQ(f.edit.Text(), "0");
  EXPECT_EQ(f.edit.Value(), 0);
  EXPECT_EQ(f.edit.Figure(), -1);
  EXPECT_EQ(f.edit.LimitOptions(), (TLimitOptions{TLimitOption::loMax, TLimitOption::loMin}));
  EXPECT_FALSE(f.edit.Limit());
  EXPECT_TRUE(f.edit.ZeroVisible());
  EXPECT_EQ(f.edit.RoundMode(), TRoundMode::rmDown);
  EXPECT_EQ(f.tk.Get<SimEditPeer>(kName).Alignment(), TAlignment::taRightJustify);
  EXPECT_TRUE(f.tk.Get<SimEditPeer>(kName).ImeClosed());
  f.edit.SetAlignment(TAlignment::taCenter);
  EXPECT_EQ(f.tk.Get<SimEditPeer>(kName).Alignment(), TAlignment::taCenter);
}

TEST(NumberEditTyping, TrailingSeparatorGoesAndFixedDigitsKeepTheCaretBesideThem) {
  Field f;
  f.Put("0", 0, 1);
  f.Type("1.");
  EXPECT_EQ(f.edit.Text(), "1") << "the rewrite drops a trailing separator";
  EXPECT_EQ(f.Caret(), 1);

  f.edit.SetFigure(2);
  f.edit.SetFixed(true);
  EXPECT_EQ(f.edit.Text(), "1.00");
  f.Put("1.00", 0, 4);
  f.Type("1");
  EXPECT_EQ(f.edit.Text(), "1.00");
  EXPECT_EQ(f.Caret(), 2) << "one further right as the text grew";
  f.Key(U'.');
  EXPECT_EQ(f.edit.Text(), "1.00") << "a second separator is refused";
  f.Key(U'9');
  EXPECT_EQ(f.edit.Text(), "1.90");
  EXPECT_EQ(f.Caret(), 2) << "one further left as the text shrank";
  EXPECT_DOUBLE_EQ(static_cast<double>(f.edit.Value()), 1.9);
}

struct SignRow {
  bool hex;
  std::string text;
  int caret, length;
  char32_t key;
  std::string expected;
  int expected_caret;
};

TEST(NumberEditTyping, SignKeysActOnTheFrontOfTheText) {
  const SignRow rows[] = {
      {false, "5", 1, 0, U'-', "-5", 2},
      {false, "-5", 2, 0, U'-', "5", 1},
      {false, "-5", 2, 0, U'+', "+5", 2},
      {false, "+5", 2, 0, U'+', "5", 1},
      {false, "+5", 1, 0, U'-', "-5", 1},
      {false, "-5", 0, 0, U'-', "5", 0},   // the caret never goes below 0
      {false, "123", 0, 2, U'-', "-3", 1},  // a selection at the front goes first
      {false, "0", 0, 1, U'-', "0", 1},     // a lone "-" reads as 0
      {true, "-FF", 3, 0, U'+', "FF", 2},
      {true, "FF", 2, 0, U'-', "-FF", 3},
  };
  for (const SignRow& r : rows) {
    SCOPED_TRACE(r.text + " key " + static_cast<char>(r.key));
    Field f;
    if (r.hex) {
      f.edit.SetValidMinus(true);
      f.edit.SetNumberType(TNumberType::ntHex);
    }
    f.Put(r.text, r.caret, r.length);
    f.Key(r.key);
    EXPECT_EQ(f.edit.Text(), r.expected);
    EXPECT_EQ(f.Caret(), r.expected_caret);
  }
  Field hex;
  hex.edit.SetNumberType(TNumberType::ntHex);
  hex.Put("FF", 2);
  hex.Key(U'-');
  hex.Key(U'+');
  EXPECT_EQ(hex.edit.Text(), "FF") << "no signs in hexadecimal without ValidMinus";

  Field hidden;
  hidden.edit.SetZeroVisible(false);
  EXPECT_EQ(hidden.edit.Text(), "");
  hidden.Key(U'-');
  EXPECT_EQ(hidden.edit.Text(), "");
}

TEST(NumberEditTyping, FilterRefusesWhatMakesNoNumberAndCtrlPassesEverything) {
  Field f;
  f.Put("-5", 0);
  for (char32_t c : {U'x', U' ', U',', U'e', U'3'}) f.Key(c);
  EXPECT_EQ(f.edit.Text(), "-5") << "letters, grouping and a digit in front of the sign";
  f.Put("12345678901234", 14);
  f.Type("56");
  EXPECT_EQ(f.edit.Text(), "123456789012345") << "typing stops below 1E15";

  EXPECT_FALSE(f.edit.IsKeyAccepted(U'x'));
  EXPECT_FALSE(f.edit.IsKeyAccepted(0x16));
  f.platform.keyboard.SetKeyDown(VK_CONTROL_, true);
  EXPECT_TRUE(f.edit.IsKeyAccepted(U'x'));
  EXPECT_TRUE(f.edit.IsKeyAccepted(0x16));
  f.Put("5", 1);
  f.Key(U'x');
  EXPECT_EQ(f.edit.Text(), "5") << "a character that makes no number still stays out";
  f.platform.clipboard.SetText("7");
  f.Key(0x16);
  EXPECT_EQ(f.edit.Text(), "57") << "Ctrl+V pastes";
  f.Put("15", 1);
  f.Key(U'E');
  EXPECT_EQ(f.edit.Text(), "15") << "nor does an exponent, though 1E5 would read";
}

TEST(NumberEditSeparators, SecondSeparatorRefusedByKeyAndByPaste) {
  Field f;
  f.Put("1.5", 3);
  f.Key(U'.');
  EXPECT_EQ(f.edit.Text(), "1.5");
  f.Paste("2.5");
  EXPECT_EQ(f.edit.Text(), "1.525");
  EXPECT_DOUBLE_EQ(static_cast<double>(f.edit.Value()), 1.525);
}

struct RoundRow {
  TRoundMode mode;
  int figure;
  bool fixed;
  std::string text, expected;
  double value;
};

TEST(NumberEditRounding, FigureFixedAndRoundModeShapeTheText) {
  using enum TRoundMode;
  const RoundRow rows[] = {
      {rmRound, 1, true, "1.96", "2.0", 2},     {rmRound, 1, true, "-1.96", "-2.0", -2},
      {rmDown, 1, true, "1.96", "1.9", 1.9},    {rmUp, 1, true, "1.91", "2.0", 2},
      {rmRound, 1, false, "1.96", "2", 2},      {rmDown, 1, false, "-1.96", "-1.9", -1.9},
      {rmUp, 0, true, "9.01", "10", 10},        {rmRound, 2, true, "0.5", "0.50", 0.5},
      {rmUp, 1, true, "-0.01", "-0.1", -0.1},   {rmDown, 0, false, "-0.9", "0", 0},
      {rmDown, -1, true, "1.23456", "1.23456", 1.23456},
  };
  for (const RoundRow& r : rows) {
    SCOPED_TRACE(r.text + " figure " + std::to_string(r.figure) + " mode " + std::to_string(static_cast<int>(r.mode)));
    Field f;
    f.edit.SetRoundMode(r.mode);
    f.edit.SetFigure(r.figure);
    f.edit.SetFixed(r.fixed);
    f.edit.SetText(r.text);
    EXPECT_EQ(f.edit.Text(), r.expected);
    EXPECT_DOUBLE_EQ(static_cast<double>(f.edit.Value()), r.value);
  }

  Field f;
  f.edit.SetRoundMode(rmUp);
  EXPECT_EQ(f.edit.RoundText("-0.96", 0), "-1.");
  EXPECT_EQ(f.edit.RoundText("1.2", 3), "1.2") << "no zeros are added";
  EXPECT_EQ(f.edit.RoundText("1.5", -1), "1.5");
  f.edit.SetRoundMode(rmRound);
  EXPECT_EQ(f.edit.RoundText("9.95", 1), "10.0");
  EXPECT_EQ(f.edit.RoundText("1,234.56", 1), "1234.6");
}

TEST(NumberEditComma, GroupsThousandsKeepingSignAndCaret) {
  Field f;
  f.edit.SetComma(true);
  const std::pair<long double, std::string> rows[] = {
      {1234567, "1,234,567"}, {-0.5L, "-0.5"}, {-1234.5L, "-1,234.5"}, {999, "999"}};
  for (const auto& [value, text] : rows) {
    f.edit.SetValue(value);
    EXPECT_EQ(f.edit.Text(), text);
  }
  f.edit.SetFigure(2);
  f.edit.SetFixed(true);
  f.edit.SetValue(1234.5L);
  EXPECT_EQ(f.edit.Text(), "1,234.50");
  EXPECT_DOUBLE_EQ(static_cast<double>(f.edit.ParseText("1,234.50").value_or(0)), 1234.5);

  Field g;
  g.edit.SetComma(true);
  g.Put("1,234", 5);
  g.Key(U'5');
  EXPECT_EQ(g.edit.Text(), "12,345");
  EXPECT_EQ(g.Caret(), 6);
  EXPECT_EQ(g.edit.Value(), 12345);
}

struct HexRow {
  bool valid_minus;
  THexCase hex_case;
  int figure;
  long double value;
  std::string expected;
  long double expected_value;
};

TEST(NumberEditHex, ShowsDigitsCaseAndSignAsConfigured) {
  using enum THexCase;
  const long double big = 1099511627776.0L;  // 2^40
  const HexRow rows[] = {
      {false, hcUpper, -1, -1, "FFFFFFFF", -1},   {true, hcUpper, -1, -1, "-1", -1},
      {false, hcLower, 4, 255, "00ff", 255},      {true, hcLower, 4, -255, "-00ff", -255},
      {false, hcUpper, -1, big, "7FFFFFFF", 2147483647}, {true, hcUpper, -1, big, "10000000000", big},
      {false, hcUpper, 0, 1.9L, "1", 1},
  };
  for (const HexRow& r : rows) {
    SCOPED_TRACE(r.expected);
    Field f;
    f.edit.SetNumberType(TNumberType::ntHex);
    f.edit.SetValidMinus(r.valid_minus);
    f.edit.SetHexCase(r.hex_case);
    f.edit.SetFigure(r.figure);
    f.edit.SetValue(r.value);
    EXPECT_EQ(f.edit.Text(), r.expected);
    EXPECT_EQ(f.edit.Value(), r.expected_value);
  }

  Field f;
  f.edit.SetNumberType(TNumberType::ntHex);
  EXPECT_EQ(f.edit.ParseText("FFFFFFFF"), -1);
  EXPECT_EQ(f.edit.ParseText("100000000"), std::nullopt) << "beyond 32 bits";
  f.Put("FFFFFFF", 7);
  f.Type("gFa");
  EXPECT_EQ(f.edit.Text(), "FFFFFFFF") << "g refused; a ninth digit would leave 32 bits";
  f.edit.SetValidMinus(true);
  EXPECT_EQ(f.edit.ParseText("-8000000000000000"), -9223372036854775808.0L);
  EXPECT_EQ(f.edit.ParseText("8000000000000000"), std::nullopt);
}

TEST(NumberEditHex, SwitchingTypeKeepsTheNumber) {
  Field f;
  f.edit.SetValue(-1);
  f.edit.SetNumberType(TNumberType::ntHex);
  EXPECT_EQ(f.edit.Text(), "FFFFFFFF");
  f.edit.SetNumberType(TNumberType::ntDecimal);
  EXPECT_EQ(f.edit.Text(), "-1");

  f.edit.SetValidMinus(true);
  f.edit.SetNumberType(TNumberType::ntHex);
  EXPECT_EQ(f.edit.Text(), "-1") << "with a sign -1 does not turn into 4294967295";
  f.edit.SetNumberType(TNumberType::ntDecimal);
  f.edit.SetValue(1e10L);
  f.edit.SetNumberType(TNumberType::ntHex);
  EXPECT_EQ(f.edit.Text(), "2540BE400") << "with a sign the whole 64-bit number shows";
  EXPECT_EQ(f.edit.Value(), 1e10L);
}

struct PasteRow {
  std::string text;
  int caret, length;
  std::string clip, expected;
  int expected_caret;
};

TEST(NumberEditPaste, TakesOnlyWhatFitsANumber) {
  const PasteRow rows[] = {
      {"0", 0, 1, "12a3", "123", 3},
      {"-3", 0, 0, "5", "-3", 0},          // in front of a sign: refused
      {"-3", 1, 0, "-5", "-53", 2},        // the second sign is skipped
      {"0", 0, 1, "-5", "-5", 2},
      {"0", 0, 1, "1,234.5\r\n", "1234.5", 6},
      {"123", 1, 1, "abc", "13", 1},       // nothing to insert: the selection goes
      {"12", 2, 0, "99999999999999999", "12", 2},  // would reach 1E15: refused
  };
  for (const PasteRow& r : rows) {
    SCOPED_TRACE(r.text + " + " + r.clip);
    Field f;
    f.Put(r.text, r.caret, r.length);
    f.Paste(r.clip);
    EXPECT_EQ(f.edit.Text(), r.expected);
    EXPECT_EQ(f.Caret(), r.expected_caret);
  }

  Field hex;
  hex.edit.SetNumberType(TNumberType::ntHex);
  hex.Put("ff", 2);
  hex.Paste("-1g0");
  EXPECT_EQ(hex.edit.Text(), "FF10");

  Field none;
  none.Put("42", 2);
  none.platform.clipboard.Clear();
  none.tk.Paste(kName);
  EXPECT_EQ(none.edit.Text(), "42");
}

TEST(NumberEditLimits, BoundSettersMoveOnlyAnEnforcedValue) {
  Field f;
  f.edit.SetMax(100);
  f.edit.SetValue(50);
  f.edit.SetMax(10);
  EXPECT_EQ(f.edit.Value(), 50) << "without Limit only the bound changes";
  EXPECT_EQ(f.edit.Text(), "50");
  f.edit.SetLimit(true);
  EXPECT_EQ(f.edit.Text(), "10");
  f.edit.SetMax(5);
  EXPECT_EQ(f.edit.Text(), "5");
  f.edit.SetMin(8);
  EXPECT_EQ(f.edit.Max(), 8) << "Min above Max lifts Max";
  EXPECT_EQ(f.edit.Text(), "8");
  f.edit.SetMax(-2);
  EXPECT_EQ(f.edit.Min(), -2);
  EXPECT_EQ(f.edit.Value(), -2);

  f.edit.SetMax(20);
  f.edit.SetMin(10);
  f.Put("15", 2);
  f.Key(U'0');
  EXPECT_EQ(f.edit.Text(), "20") << "typed numbers are held too";

  Field g;
  g.edit.SetLimit(true);
  g.edit.SetLimitOptions({TLimitOption::loMax});
  g.edit.SetMax(10);
  g.edit.SetValue(-5);
  g.edit.SetMax(20);
  EXPECT_EQ(g.edit.Value(), -5) << "a value below Min is no reason to jump to Max";
  g.edit.SetValue(std::numeric_limits<long double>::quiet_NaN());
  g.edit.SetMax(std::numeric_limits<long double>::infinity());
  EXPECT_EQ(g.edit.Value(), -5);
  EXPECT_EQ(g.edit.Max(), 20);
}

TEST(NumberEditMaxIntLength, LimitsIntegerDigitsOnly) {
  Field f;
  f.edit.SetMaxIntLength(3);
  f.Put("0", 0, 1);
  f.Type("1234");
  EXPECT_EQ(f.edit.Text(), "123");
  f.Put("123.5", 5);
  f.Key(U'6');
  EXPECT_EQ(f.edit.Text(), "123.56") << "fraction digits are free";
  f.Put("123.56", 3);
  f.Key(U'4');
  EXPECT_EQ(f.edit.Text(), "123.56");
  f.Key(U'-');
  EXPECT_EQ(f.edit.Text(), "-123.56");
  f.Put("12", 2);
  f.Paste("345");
  EXPECT_EQ(f.edit.Text(), "123") << "pasting cannot get past the limit either";
  f.Put("123", 0, 3);
  f.Key(U'4');
  EXPECT_EQ(f.edit.Text(), "4") << "digits typed over are not counted";
  f.Put("1.2345", 1, 2);
  f.Key(U'9');
  EXPECT_EQ(f.edit.Text(), "1.2345") << "nor may a selection across the separator join digits";
  f.Put("1.2345", 0, 2);
  f.Key(U'-');
  EXPECT_EQ(f.edit.Text(), "1.2345");

  f.Put("123", 1);
  f.platform.keyboard.SetKeyDown(VK_CONTROL_, true);
  EXPECT_TRUE(f.edit.IsKeyAccepted(0x16)) << "shortcuts still work with the integer part full";
  EXPECT_FALSE(f.edit.IsKeyAccepted(U'9'));
}

TEST(NumberEditZeroVisible, ZeroShowsEmptyAndComesBack) {
  Field f;
  f.edit.SetFigure(2);
  f.edit.SetFixed(true);
  f.edit.SetZeroVisible(false);
  EXPECT_EQ(f.edit.Text(), "");
  f.edit.SetValue(1);
  EXPECT_EQ(f.edit.Text(), "1.00");
  f.edit.SetValue(0);
  EXPECT_EQ(f.edit.Text(), "");
  f.edit.SetZeroVisible(true);
  EXPECT_EQ(f.edit.Text(), "0.00");
}

TEST(NumberEditLocale, DecimalCommaLocaleSwapsTheSymbols) {
  Field f({U',', U'.'});
  f.edit.SetText("1,5");
  EXPECT_DOUBLE_EQ(static_cast<double>(f.edit.Value()), 1.5);
  f.Put("1,5", 3);
  f.Key(U'.');
  EXPECT_EQ(f.edit.Text(), "1,5");
  f.edit.SetComma(true);
  f.edit.SetValue(1234567.5L);
  EXPECT_EQ(f.edit.Text(), "1.234.567,5");
  f.Put("0", 0, 1);
  f.Paste("2.345,6");
  EXPECT_EQ(f.edit.Text(), "2.345,6");
  EXPECT_DOUBLE_EQ(static_cast<double>(f.edit.Value()), 2345.6);
  f.edit.SetRoundMode(TRoundMode::rmRound);
  EXPECT_EQ(f.edit.RoundText("1,96", 1), "2,0");
}

TEST(NumberEditProgramText, UnreadableTextKeepsTheNumber) {
  Field f;
  f.edit.SetValue(5);
  for (const char* bad : {"abc", "12a3", "5-3", "99999999999999999999", "1e"}) {
    SCOPED_TRACE(bad);
    f.edit.SetText(bad);
    EXPECT_EQ(f.edit.Value(), 5);
    EXPECT_EQ(f.edit.Text(), "5");
  }
  f.edit.SetText("1.5E+20");
  EXPECT_EQ(f.edit.Value(), 1.5e20L) << "the general form of large numbers reads back";
  f.edit.SetValue(2e20L);
  EXPECT_EQ(f.edit.Text(), "2E+20");

  f.edit.SetText("+5");
  EXPECT_EQ(f.edit.Text(), "+5");
  f.edit.SetValue(-3);
  EXPECT_EQ(f.edit.Text(), "-3") << "a kept plus never stands before a minus";

  f.edit.SetValue(1.5L);
  f.edit.SetFixed(true);
  f.edit.SetFigure(std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(f.edit.Text(), "1." + std::string(255, '0').replace(0, 1, "5")) << "padding stops at 255 digits";

  TNumberEdit orphan(f.tk, nullptr, "Orphan", f.platform.keyboard, f.platform.clipboard, f.platform.locale);
  orphan.SetText("abc");
  EXPECT_EQ(orphan.Text(), "abc") << "no rewrite without a parent";
  EXPECT_EQ(orphan.Value(), 0);
  orphan.SetText("07");
  EXPECT_EQ(orphan.Value(), 7);
}

TEST(NumberEditFocus, EnterSelectsAndExitReportsTyping) {
  Field f;
  std::vector<std::string> log;
  f.edit.OnEnter = [&] { log.push_back("enter"); };
  f.edit.OnExit = [&] { log.push_back("exit"); };
  f.edit.OnChange = [&] { log.push_back("change " + f.edit.Text()); };
  f.edit.SetValue(123);
  ASSERT_TRUE(f.tk.SetFocusTo(kName));
  EXPECT_EQ(f.Caret(), 0);
  EXPECT_EQ(f.edit.SelLength(), 3);
  f.Key(U'7');
  ASSERT_TRUE(f.tk.SetFocusTo("Other"));
  EXPECT_TRUE(f.tk.Get<SimEditPeer>(kName).Modified());
  ASSERT_TRUE(f.tk.SetFocusTo(kName));
  ASSERT_TRUE(f.tk.SetFocusTo("Other"));
  EXPECT_FALSE(f.tk.Get<SimEditPeer>(kName).Modified()) << "the typed flag clears on entering";
  const std::vector<std::string> expected = {"change 123", "enter", "change 7", "exit", "enter", "exit"};
  EXPECT_EQ(log, expected);

  f.edit.SetAutoSelect(false);
  f.tk.SetFocusTo(kName);
  EXPECT_EQ(f.Caret(), 1);
  EXPECT_EQ(f.edit.SelLength(), 0);
}

}  // namespace
}  // namespace wakumo
