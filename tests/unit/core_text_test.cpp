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

}  // namespace
}  // namespace wakumo
