#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "presets/split_pair.h"
#include "sim/sim_files.h"

namespace wakumo {
namespace {

struct Row {
  std::string text;
  std::optional<NumberPair> result;
};

TEST(SplitPair, ReadsSizeAndPositionTexts) {
  const Row rows[] = {
      // Preset texts in the standard forms and their near misses.
      {"640 x 480", NumberPair{640, 480}},
      {"640x480", NumberPair{640, 480}},
      {"100,200", NumberPair{100, 200}},
      {"-8 , 0", NumberPair{-8, 0}},
      {"1x2x3", NumberPair{0, 3}},
      {"640X480", std::nullopt},
      {"abc", std::nullopt},
      {"640 x", NumberPair{640, 0}},
      // Beyond it.
      {"", std::nullopt},
      {"x", NumberPair{0, 0}},
      {",", NumberPair{0, 0}},
      {"1,2x3", NumberPair{0, 3}},
      {"1x2,3", NumberPair{0, 3}},
      {"0640x0480", NumberPair{640, 480}},
      {"+3 x -4", NumberPair{3, -4}},
      {"\t5\tx\r6\n", NumberPair{5, 6}},
      {"9999999999x1", NumberPair{0, 1}},
      {"1.5x2", NumberPair{0, 2}},
      {"2147483647 , -2147483648", NumberPair{INT_MAX, INT_MIN}},
  };
  const SimAnsiCodePage sjis(932);
  for (const Row& r : rows) {
    SCOPED_TRACE("text: " + r.text);
    EXPECT_EQ(SplitPair(r.text), r.result);
    // Plain ASCII reads the same in a double-byte code page.
    EXPECT_EQ(SplitPair(r.text, sjis.LeadBytes()), r.result);
  }
}

TEST(SplitPair, NeverSplitsAtATrailByte) {
  const SimAnsiCodePage sjis(932);
  const SimAnsiCodePage western(1252);
  // Ｙ is 82 78 and 度 is 93 78 in Shift-JIS: their trail byte is an "x".
  const std::string full_width_y = "\x82\x78";
  const std::string degree = "\x93\x78";

  EXPECT_EQ(SplitPair("1," + full_width_y, sjis.LeadBytes()), (NumberPair{1, 0}));
  EXPECT_EQ(SplitPair(degree, sjis.LeadBytes()), std::nullopt);
  EXPECT_EQ(SplitPair("640x480" + degree, sjis.LeadBytes()), (NumberPair{640, 0}));
  // In a single-byte code page the same bytes are two characters, one an "x".
  EXPECT_EQ(SplitPair("1," + full_width_y, western.LeadBytes()), (NumberPair{0, 0}));
  EXPECT_EQ(SplitPair(degree, western.LeadBytes()), (NumberPair{0, 0}));
  // UTF-8 text has no bytes of that kind at all.
  EXPECT_EQ(SplitPair("1,\xEF\xBC\xB9"), (NumberPair{1, 0}));
  EXPECT_EQ(SplitPair("\xE5\xBA\xA6"), std::nullopt);
}

TEST(PresetTexts, AreWrittenInTheStandardFormAndReadBack) {
  EXPECT_EQ(SizeText(640, 480), "640 x 480");
  EXPECT_EQ(PositionText(-8, 0), "-8 , 0");
  const NumberPair pairs[] = {{0, 0}, {1, -1}, {INT_MIN, INT_MAX}, {9999, -9999}};
  for (const NumberPair& p : pairs) {
    EXPECT_EQ(SplitPair(SizeText(p.first, p.second)), p);
    EXPECT_EQ(SplitPair(PositionText(p.first, p.second)), p);
  }
}

}  // namespace
}  // namespace wakumo
