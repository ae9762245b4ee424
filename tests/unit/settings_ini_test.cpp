#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "presets/ansi_text.h"
#include "presets/ini_file.h"
#include "sim/sim_files.h"

namespace wakumo {
namespace {

using namespace std::string_literals;

const LeadByteSet kSingleByte;
const LeadByteSet& ShiftJis() {
  static const SimAnsiCodePage cp(932);
  return cp.LeadBytes();
}

std::vector<std::string> Keys(const IniFile& ini, std::string_view section) {
  std::vector<std::string> keys;
  for (const IniLine& l : ini.Section(section)) keys.emplace_back(l.is_pair ? l.key : "(bare) " + std::string(l.text));
  return keys;
}

TEST(IniFile, SplitsAtCrLfLoneCrAndLoneLfAndStopsAtNul) {
  const IniFile ini("[A]\r\na=1\rb=2\nc=3\r\r\n\n\rd=4\r\n[B]\nx=1\0\ny=2\r\n"s, kSingleByte);
  EXPECT_EQ(Keys(ini, "A"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(ini.ValueOr("A", "d", "-"), "4");
  EXPECT_EQ(Keys(ini, "B"), (std::vector<std::string>{"x"}));

  // A missing file and an empty one have no sections.
  EXPECT_FALSE(IniFile("", kSingleByte).HasSection("A"));
  // A signature written by a Unicode editor does not hide the first header.
  EXPECT_EQ(IniFile("\xEF\xBB\xBF[A]\r\nk=v\r\n", kSingleByte).ValueOr("A", "k", "-"), "v");
}

TEST(IniFile, TrimsLinesKeysAndValuesAndSkipsComments) {
  const IniFile ini(" \t[ Opt ] \r\n  key  =  two words  \r\n;c=5\r\n   ;d=6\r\n\x01" "e=7\x1f\r\nf = a = b\r\n", kSingleByte);
  EXPECT_EQ(ini.ValueOr("Opt", "key", "-"), "two words");
  EXPECT_FALSE(ini.Value("Opt", "c"));
  EXPECT_FALSE(ini.Value("Opt", ";c"));
  EXPECT_FALSE(ini.Value("Opt", "d"));
  EXPECT_EQ(ini.ValueOr("Opt", "e", "-"), "7");
  EXPECT_EQ(ini.ValueOr("Opt", "f", "-"), "a = b") << "split at the first =";
}

TEST(IniFile, SectionsIgnoreCaseAndTheLastOfANameWins) {
  const IniFile ini("a=0\r\n[Opt]\r\na=1\r\n[Other]\r\nz=9\r\n[opt]\r\nb=2\r\n[OPT\r\nc=3\r\n[]\r\nd=4\r\n", kSingleByte);
  EXPECT_EQ(Keys(ini, "OPT"), (std::vector<std::string>{"b", "(bare) [OPT", "c"})) << "'[OPT' opens nothing";
  EXPECT_FALSE(ini.Value("Opt", "a")) << "the earlier [Opt] is never consulted";
  EXPECT_EQ(ini.ValueOr("other", "Z", "-"), "9");
  EXPECT_EQ(ini.ValueOr("", "d", "-"), "4");
  // The line before the first section belongs to none.
  for (std::string_view s : {"Opt", "Other", ""}) EXPECT_NE(ini.ValueOr(s, "a", "-"), "0") << s;
}

TEST(IniFile, KeysIgnoreCaseTheLastLineAnswersAndBareLinesHaveNoKey) {
  const IniFile ini("[S]\r\nTiming=1\r\ntiming=0\r\nbare line\r\n=v\r\n", kSingleByte);
  EXPECT_EQ(ini.ValueOr("s", "TIMING", "-"), "0");
  EXPECT_EQ(ini.ValueOr("S", "missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ValueOr("Nowhere", "Timing", "dflt"), "dflt");
  const auto lines = ini.Section("S");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_FALSE(lines[2].is_pair);
  EXPECT_EQ(lines[2].key, "");
  EXPECT_EQ(lines[2].value, "");
  EXPECT_EQ(lines[2].text, "bare line");
  EXPECT_TRUE(lines[3].is_pair);
  EXPECT_EQ(lines[3].key, "");
  EXPECT_EQ(lines[3].value, "v");
}

TEST(IniFile, DoubleByteCharactersAreNeverTakenApart) {
  // "[ゾ" ends in 0x5D, the trail byte of ゾ: no section header in Shift-JIS,
  // a header named "\x83" when every byte is a character of its own.
  const std::string text = "[S]\r\n[\x83\x5D\r\nk=v\r\n";
  const IniFile sjis(text, ShiftJis());
  EXPECT_EQ(sjis.ValueOr("S", "k", "-"), "v");
  EXPECT_EQ(Keys(sjis, "S"), (std::vector<std::string>{"(bare) [\x83\x5D", "k"}));
  EXPECT_EQ(IniFile(text, kSingleByte).ValueOr("\x83", "k", "-"), "v");

  // ア (83 41) and ツ (83 61) differ only in a trail byte that looks like A / a.
  const std::string katakana = "[\x83\x41]\r\nk=v\r\n";
  EXPECT_FALSE(IniFile(katakana, ShiftJis()).HasSection("\x83\x61"));
  EXPECT_TRUE(IniFile(katakana, ShiftJis()).HasSection("\x83\x41"));
  EXPECT_TRUE(IniFile(katakana, kSingleByte).HasSection("\x83\x61"));
}

TEST(CommaList, FieldsEndAtCommasOrBlanksAndMayBeQuoted) {
  struct Row {
    std::string text;
    std::vector<std::string> fields;
  };
  const Row rows[] = {
      {"", {}},
      {"   ", {}},
      {"320,240,0,0", {"320", "240", "0", "0"}},
      {" 1 , 2 ,3", {"1", "2", "3"}},
      {"1 2", {"1", "2"}},
      {"1,,2", {"1", "", "2"}},
      {"1, ,2", {"1", "", "2"}},
      {"1,", {"1", ""}},
      {",", {"", ""}},
      {"\"a,b\",c", {"a,b", "c"}},
      {"\"a\"\"b\"", {"a\"b"}},
      {"\"open, still", {"open, still"}},
      {"\"a\"b,c", {"a", "b", "c"}},
      {"a\"b", {"a\"b"}},
      {"b=320,240", {"b=320", "240"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE("text: " + r.text);
    EXPECT_EQ(SplitCommaList(r.text), r.fields);
  }
}

TEST(ParseDecimal, WholeTextWithOptionalSignWithin32Bits) {
  struct Row {
    std::string text;
    std::optional<std::int32_t> value;
  };
  const Row rows[] = {
      {"0", 0},           {"-8", -8},          {"+5", 5},
      {"007", 7},         {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"2147483648", {}}, {"-2147483649", {}}, {"99999999999999999999", {}},
      {"", {}},           {"-", {}},           {"+", {}},
      {" 1", {}},         {"1 ", {}},          {"1e3", {}},
      {"0x10", {}},       {"$10", {}},         {"--1", {}},
      {"\xEF\xBC\x91", {}},  // full-width 1
  };
  for (const Row& r : rows) {
    SCOPED_TRACE("text: " + r.text);
    EXPECT_EQ(ParseDecimal(r.text), r.value);
  }
  EXPECT_EQ(DecimalOrZero("\t 42 \r"), 42);
  EXPECT_EQ(DecimalOrZero("4 2"), 0);
}

}  // namespace
}  // namespace wakumo
