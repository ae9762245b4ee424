#include <gtest/gtest.h>

#include <string>

#include "core/text.h"

namespace wakumo {
namespace {

struct Utf8Row {
  std::string utf8;
  std::u16string utf16;
};

TEST(Utf8ToUtf16, EachMalformedByteBecomesOneReplacementAndTheRestIsKept) {
  const Utf8Row rows[] = {
      {"abc", u"abc"},
      {"\xE3\x81\x82", u"\u3042"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"a\xFFz", u"a\uFFFDz"},
      {"\xE3\x41", u"\uFFFDA"},
      // Cut short by the end of the text: the characters after the lead byte stay.
      {"x\xE3" "a", u"x\uFFFDa"},
      {"x\xF0" "ab", u"x\uFFFDab"},
      {"\xE3\x81", u"\uFFFD\uFFFD"},
      // Beyond U+10FFFF: no surrogate pair can hold it.
      {"\xF4\x90\x80\x80", u"\uFFFD"},
      {"\xF7\xBF\xBF\xBF!", u"\uFFFD!"},
  };
  for (const Utf8Row& row : rows) {
    SCOPED_TRACE(row.utf8);
    EXPECT_EQ(Utf8ToUtf16(row.utf8), row.utf16);
  }
}

TEST(Utf16ToUtf8, PairsCombineAndLoneSurrogatesBecomeReplacements) {
  EXPECT_EQ(Utf16ToUtf8(u"a\U0001F600b"), "a\xF0\x9F\x98\x80" "b");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', char16_t{0xD800}, u'b'}), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t{0xDC00}}), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t{0xD83D}}), "\xEF\xBF\xBD") << "a high surrogate at the end";
  EXPECT_EQ(Utf16ToUtf8(u"\u00E9\u3042"), "\xC3\xA9\xE3\x81\x82");
}

TEST(CutToUtf16Units, CountsUnitsAndNeverSplitsAPair) {
  EXPECT_EQ(CutToUtf16Units("abcdef", 4), "abcd");
  EXPECT_EQ(CutToUtf16Units("abc", 79), "abc");
  EXPECT_EQ(CutToUtf16Units("a\xF0\x9F\x98\x80" "b", 2), "a") << "the pair would be cut";
  EXPECT_EQ(CutToUtf16Units("a\xF0\x9F\x98\x80" "b", 3), "a\xF0\x9F\x98\x80");
  EXPECT_EQ(CutToUtf16Units("\xE3\x81\x82\xE3\x81\x84", 1), "\xE3\x81\x82");
  EXPECT_EQ(CutToUtf16Units("abc", 0), "");
}

struct Decode8Row {
  std::string text;
  char32_t code_point;
  std::size_t length;
  bool valid;
};

TEST(DecodeUtf8At, ReadsOneSequenceOrTakesAMalformedByteAlone) {
  const Decode8Row rows[] = {
      {"A", U'A', 1, true},
      {"\xC3\xA9", 0xE9, 2, true},
      {"\xE3\x81\x82", 0x3042, 3, true},
      {"\xF0\x9F\x98\x80", 0x1F600, 4, true},
      {"\xF4\x90\x80\x80", 0x110000, 4, true},
      {"\x81", 0x81, 1, false},
      {"\xF8\x80", 0xF8, 1, false},
      {"\xE3\x81", 0xE3, 1, false},
      {"\xE3" "AB", 0xE3, 1, false},
  };
  for (const Decode8Row& row : rows) {
    SCOPED_TRACE(row.text);
    const DecodedChar d = DecodeUtf8At(row.text, 0);
    EXPECT_EQ(d.code_point, row.code_point);
    EXPECT_EQ(d.length, row.length);
    EXPECT_EQ(d.valid, row.valid);
  }
}

TEST(DecodeUtf16At, CombinesOnlyAHighSurrogateFollowedByALowOne) {
  const std::u16string pair = u"\U0001F600";
  EXPECT_EQ(DecodeUtf16At(pair, 0).code_point, U'\U0001F600');
  EXPECT_EQ(DecodeUtf16At(pair, 0).length, 2u);
  EXPECT_EQ(DecodeUtf16At(pair, 1).code_point, char32_t{0xDE00}) << "the low half read alone";
  const std::u16string high_then_letter{char16_t{0xD83D}, u'a'};
  EXPECT_EQ(DecodeUtf16At(high_then_letter, 0).code_point, char32_t{0xD83D});
  EXPECT_EQ(DecodeUtf16At(high_then_letter, 0).length, 1u);
}

TEST(AppendUtf16, WritesPairsAboveTheBasicPlaneAndReplacesWhatNoPairHolds) {
  std::u16string out;
  AppendUtf16(out, U'a');
  AppendUtf16(out, U'\U0001F600');
  AppendUtf16(out, 0x110000);
  EXPECT_EQ(out, u"a\U0001F600\uFFFD");
}

TEST(Utf32, CharactersRoundTripAndLoneSurrogatesShowAsReplacements) {
  EXPECT_EQ(Utf8ToUtf32("a\xE3\x81\x82\xF0\x9F\x98\x80"), U"a\u3042\U0001F600");
  EXPECT_EQ(Utf8ToUtf32("\xFF"), U"\uFFFD");
  EXPECT_EQ(Utf8ToUtf32("\xED\xA0\x80"), std::u32string{0xD800}) << "an encoded surrogate stays one";
  EXPECT_EQ(Utf32ToUtf8(U"a\u3042\U0001F600"), "a\xE3\x81\x82\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf32ToUtf8(std::u32string{0xD800, U'b', 0x110000}), "\xEF\xBF\xBD" "b" "\xEF\xBF\xBD");
}

TEST(HexByte, GivesTwoUpperCaseDigits) {
  EXPECT_EQ(HexByte(0x00), "00");
  EXPECT_EQ(HexByte(0x0F), "0F");
  EXPECT_EQ(HexByte(0xE9), "E9");
  EXPECT_EQ(HexByte(0xFF), "FF");
}

}  // namespace
}  // namespace wakumo
