#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "presets/settings.h"
#include "settings_text.h"

namespace wakumo {
namespace {

using ::testing::IsEmpty;

using testing::Crlf;
using testing::kJapanese;
using testing::kWestern;

SettingsData Parse(std::string_view bytes, const AnsiCodePage& cp = kWestern) { return ParseSettings(bytes, cp); }

const std::string kDefaultFile = Crlf({"[Sizes]", "120x60=", "256x256=", "320x240=QVGA", "640x480=VGA", "800x600=SVGA",
                                       "1024x768=XGA", "1280x1024=SXGA", "1600x1200=UXGA", "", "[Bases]", "",
                                       "[ShortCut]", "", "[Option]", "Timing=0", "ToFront=1", "Base=0", "OnTop=1",
                                       "WinPos=0", "ListSort=0"});

TEST(SettingsFile, NoFileGivesTheDefaultsAndTheDescribedDefaultText) {
  const SettingsData d = Parse("");
  EXPECT_EQ(d.sizes, DefaultSizes());
  ASSERT_EQ(d.sizes.size(), 8u);
  EXPECT_EQ(d.sizes.front(), (NamedPreset{"120 x 60", ""}));
  EXPECT_EQ(d.sizes[4], (NamedPreset{"800 x 600", "SVGA"}));
  EXPECT_THAT(d.bases, IsEmpty());
  EXPECT_THAT(d.shortcuts, IsEmpty());
  EXPECT_FALSE(d.timing);
  EXPECT_TRUE(d.to_front);
  EXPECT_FALSE(d.base);
  EXPECT_TRUE(d.on_top);
  EXPECT_FALSE(d.win_pos);
  EXPECT_FALSE(d.list_sort);

  EXPECT_EQ(FormatSettings(d, kWestern), kDefaultFile);
  EXPECT_EQ(FormatSettings(d, kJapanese), kDefaultFile);
  // And the default text reads back as the defaults.
  EXPECT_EQ(Parse(kDefaultFile), d);
}

TEST(SettingsFile, SizeLines) {
  struct Row {
    std::string sizes;  // lines of [Sizes]
    std::vector<NamedPreset> expected;
  };
  const Row rows[] = {
      {"640,480=VGA", {{"640 x 480", "VGA"}}},
      {"640X480=VGA\r\n1x1=one", {{"1 x 1", "one"}}},
      {"0x480=A\r\n1x1=one", {{"1 x 1", "one"}}},
      {"640x480", {{"640 x 480", ""}}},
      {"800x600=A\r\n800x600=B", {{"800 x 600", "A"}, {"800 x 600", "B"}}},
      {"0640x0480=Z", {{"640 x 480", "Z"}}},
      {"  640 x 480  =  Wide name  ", {{"640 x 480", "Wide name"}}},
      {"640x480=A=B", {{"640 x 480", "A=B"}}},
      {"-5x-7=neg", {{"-5 x -7", "neg"}}},
      {"abcx480=Z\r\n1x1=one", {{"1 x 1", "one"}}},  // width reads as 0
      // Nothing valid: the built-in presets, as with no section.
      {"640X480=VGA\r\n0x480=A\r\n320x0=B\r\n=C\r\nabc\r\nx=D", DefaultSizes()},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE("[Sizes] " + r.sizes);
    EXPECT_EQ(Parse("[Sizes]\r\n" + r.sizes + "\r\n").sizes, r.expected);
  }
  // A bare line is written back with its "=".
  EXPECT_NE(FormatSettings(Parse("[Sizes]\r\n640x480\r\n"), kWestern).find("\r\n640x480=\r\n"), std::string::npos);
}

TEST(SettingsFile, LowerCaseSectionNamesAndTheLaterOfTwoSections) {
  const SettingsData d = Parse(Crlf({"[sizes]", "1x1=early", "[SIZES]", "2x2=late", "[bases]", "3,3=", "[option]",
                                     "Timing=1", "[Option]", "ToFront=0"}));
  EXPECT_EQ(d.sizes, (std::vector<NamedPreset>{{"2 x 2", "late"}}));
  EXPECT_EQ(d.bases, (std::vector<NamedPreset>{{"3 , 3", ""}}));
  EXPECT_FALSE(d.timing) << "the earlier Option section is not read";
  EXPECT_FALSE(d.to_front);
}

TEST(SettingsFile, PositionLinesAllowZeros) {
  const SettingsData d = Parse(Crlf({"[Bases]", "0,0=Origin", "-8x0=", "5,5", "abc=skipped", "  7 , -9 = Far  "}));
  EXPECT_EQ(d.bases, (std::vector<NamedPreset>{{"0 , 0", "Origin"}, {"-8 , 0", ""}, {"5 , 5", ""}, {"7 , -9", "Far"}}));
}

TEST(SettingsFile, ShortCutLines) {
  const SettingsData d = Parse(Crlf({
      "[ShortCut]",
      "Small=320,240,0,0",
      "Zero=0,240,0,0",
      "a=b=320,240,0,0",
      ";Hidden=320,240,0,0",
      "  Padded  = 1 , 2 , 3 , 4 ",
      "Small=640,480,10,20",           // duplicate names are kept
      "Two=320,240",                   // missing X and Y read as 0
      "One=320",                       // missing height: skipped
      "Quoted=\"640\",480,-8,0",
      "Junk=a,240,1,2",                // width not a number: skipped
      "More=1,2,3,4,5",
      "Bare line",
      "=9,9,9,9",
  }));
  const std::vector<NamedShortCut> expected{
      {"Small", {320, 240, 0, 0}}, {"Padded", {1, 2, 3, 4}},  {"Small", {640, 480, 10, 20}}, {"Two", {320, 240, 0, 0}},
      {"Quoted", {640, 480, -8, 0}}, {"More", {1, 2, 3, 4}}, {"", {9, 9, 9, 9}},
  };
  EXPECT_EQ(d.shortcuts, expected);
}

TEST(SettingsFile, OptionLines) {
  struct Row {
    std::string option;  // lines of [Option]
    bool timing, to_front, on_top, list_sort;
    std::optional<NumberPair> base, win_pos;
  };
  const std::nullopt_t off = std::nullopt;
  const Row rows[] = {
      {"", false, true, true, false, off, off},
      {"Timing=1\r\nTiming=0", false, true, true, false, off, off},
      {"Timing=0\r\ntiming=1", true, true, true, false, off, off},
      {"Timing=2\r\nToFront=0\r\nOnTop=0\r\nListSort=1", false, false, false, true, off, off},
      {"Timing=01\r\nToFront=abc\r\nOnTop=", true, false, false, false, off, off},
      {"Base=0,0", false, true, true, false, NumberPair{0, 0}, off},
      {"Base=0", false, true, true, false, off, off},
      {"Base=5", false, true, true, false, off, off},
      {"Base=100,50", false, true, true, false, NumberPair{100, 50}, off},
      {"Base= 100 , -50 , 7", false, true, true, false, NumberPair{100, -50}, off},
      {"Base=a,b", false, true, true, false, off, off},
      {"Base=10,x", false, true, true, false, off, off},
      {"Base=", false, true, true, false, off, off},
      {"WinPos=0,0", false, true, true, false, off, NumberPair{0, 0}},
      {"WinPos=0", false, true, true, false, off, off},
      {"WinPos=abc", false, true, true, false, off, off},
      {"WinPos=-32000x-32000", false, true, true, false, off, NumberPair{-32000, -32000}},
      {"WinPos=a,b", false, true, true, false, off, NumberPair{0, 0}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE("[Option] " + r.option);
    const SettingsData d = Parse("[Option]\r\n" + r.option + "\r\n");
    EXPECT_EQ(d.timing, r.timing);
    EXPECT_EQ(d.to_front, r.to_front);
    EXPECT_EQ(d.on_top, r.on_top);
    EXPECT_EQ(d.list_sort, r.list_sort);
    EXPECT_EQ(d.base, r.base);
    EXPECT_EQ(d.win_pos, r.win_pos);
  }
}

TEST(SettingsFile, WritesEveryPartInOrder) {
  SettingsData d;
  d.sizes = {{"640 x 480", "VGA"}, {"800x600", ""}, {"abc", "dropped"}, {"0 x 5", "zero"}};
  d.bases = {{"-8 , 0", "Left"}, {"nothing", "dropped"}, {"10,20", ""}};
  d.shortcuts = {{"Small", {320, 240, 0, 0}}, {"a=b", {1, 2, -3, -4}}};
  d.timing = true;
  d.to_front = false;
  d.base = NumberPair{100, -50};
  d.on_top = false;
  d.win_pos = NumberPair{-4, 7};
  d.list_sort = true;
  EXPECT_EQ(FormatSettings(d, kWestern),
            Crlf({"[Sizes]", "640x480=VGA", "800x600=", "0x5=zero", "", "[Bases]", "-8,0=Left", "10,20=", "",
                  "[ShortCut]", "Small=320,240,0,0", "a=b=1,2,-3,-4", "", "[Option]", "Timing=1", "ToFront=0",
                  "Base=100,-50", "OnTop=0", "WinPos=-4,7", "ListSort=1"}));
}

TEST(SettingsFile, RoundTripKeepsListsOrderAndOptions) {
  SettingsData clean;
  clean.sizes = {{"1600 x 1200", "UXGA"}, {"640 x 480", ""}, {"640 x 480", "again"}, {"-1 x 2", "odd"}};
  clean.bases = {{"0 , 0", "Origin"}, {"-8 , 0", ""}};
  clean.shortcuts = {{"Zeta", {1, 2, 3, 4}}, {"alpha", {5, 6, -7, -8}}, {"Zeta", {9, 9, 0, 0}}};
  clean.timing = true;
  clean.base = NumberPair{0, 0};
  clean.win_pos = NumberPair{0, 0};
  clean.list_sort = true;
  EXPECT_EQ(Parse(FormatSettings(clean, kWestern)), clean);
  clean.base.reset();
  clean.win_pos.reset();
  clean.to_front = clean.on_top = false;
  EXPECT_EQ(Parse(FormatSettings(clean, kWestern)), clean);
}

TEST(SettingsFile, RoundTripExceptionsAreExactlyTheListedOnes) {
  SettingsData d;
  d.sizes = {{"800x600", " spaced "}, {"abc", "unsplittable"}, {"0 x 5", "zero"}, {"1 x 1", "kept"}};
  d.bases = {{"3,4", ""}, {"none", "x"}};
  d.shortcuts = {{"a=b", {320, 240, 0, 0}}, {";semi", {1, 1, 1, 1}}, {" blank ", {2, 2, 2, 2}}};
  const SettingsData back = Parse(FormatSettings(d, kWestern));
  EXPECT_EQ(back.sizes, (std::vector<NamedPreset>{{"800 x 600", "spaced"}, {"1 x 1", "kept"}}));
  EXPECT_EQ(back.bases, (std::vector<NamedPreset>{{"3 , 4", ""}}));
  EXPECT_EQ(back.shortcuts, (std::vector<NamedShortCut>{{"blank", {2, 2, 2, 2}}}));

  // An empty size list comes back as the built-in presets.
  SettingsData empty;
  empty.sizes.clear();
  EXPECT_EQ(Parse(FormatSettings(empty, kWestern)).sizes, DefaultSizes());
}

TEST(SettingsFile, NamesCannotBreakTheFileIntoLines) {
  SettingsData d;
  d.sizes = {{"1 x 1", "evil\r\n[Option]\r\nTiming=1"}};
  d.shortcuts = {{"two\nlines", {5, 6, 7, 8}}, {std::string("nul\0cut", 7), {1, 2, 3, 4}}};
  const std::string bytes = FormatSettings(d, kWestern);
  EXPECT_EQ(bytes.find('\0'), std::string::npos);
  const SettingsData back = Parse(bytes);
  EXPECT_FALSE(back.timing);
  EXPECT_EQ(back.sizes, (std::vector<NamedPreset>{{"1 x 1", "evil  [Option]  Timing=1"}}));
  EXPECT_EQ(back.shortcuts, (std::vector<NamedShortCut>{{"two lines", {5, 6, 7, 8}}, {"nul cut", {1, 2, 3, 4}}}));
  EXPECT_EQ(FormatSettings(back, kWestern), bytes);
}

TEST(SettingsFile, ShiftJisNamesSurviveByteForByte) {
  // ﾃｽﾄ (half-width), 横長, 表示ソ (5C trail bytes), 度Ｙ (78 trail bytes), あ.
  const std::string half_width = "\xC3\xBD\xC4";
  const std::string wide = "\x89\xA1\x92\xB7";
  const std::string yen_trail = "\x95\x5C\x8E\xA6\x83\x5C";
  const std::string x_trail = "\x93\x78\x82\x78";
  const std::string file = Crlf({"[Sizes]", "320x240=" + half_width, "640x480=" + wide, "", "[Bases]",
                                 "0,0=" + yen_trail, "", "[ShortCut]", x_trail + "=800,600,1,2", "\x82\xA0=1,1,0,0", "",
                                 "[Option]", "Timing=0", "ToFront=1", "Base=100,50", "OnTop=1", "WinPos=0,0",
                                 "ListSort=1"});
  const SettingsData d = ParseSettings(file, kJapanese);
  EXPECT_EQ(d.sizes, (std::vector<NamedPreset>{{"320 x 240", "ﾃｽﾄ"}, {"640 x 480", "横長"}}));
  EXPECT_EQ(d.bases, (std::vector<NamedPreset>{{"0 , 0", "表示ソ"}}));
  EXPECT_EQ(d.shortcuts, (std::vector<NamedShortCut>{{"度Ｙ", {800, 600, 1, 2}}, {"あ", {1, 1, 0, 0}}}));
  EXPECT_EQ(FormatSettings(d, kJapanese), file);

  // Western text the same way.
  const std::string cafe = Crlf({"[Sizes]", "1x1=Caf\xE9 \x80", "", "[Bases]", "", "[ShortCut]", "", "[Option]",
                                 "Timing=0", "ToFront=1", "Base=0", "OnTop=1", "WinPos=0", "ListSort=0"});
  const SettingsData w = ParseSettings(cafe, kWestern);
  EXPECT_EQ(w.sizes.front().name, "Café €");
  EXPECT_EQ(FormatSettings(w, kWestern), cafe);
}

TEST(SettingsFile, PathIsTheExecutablesWithIni) {
  EXPECT_EQ(SettingsPathFor("C:\\Tools\\wakumo.exe"), "C:\\Tools\\wakumo.ini");
  EXPECT_EQ(SettingsPathFor("C:\\Tools\\wakumo.v2.EXE"), "C:\\Tools\\wakumo.v2.ini");
  EXPECT_EQ(SettingsPathFor("C:\\My.Tools\\wakumo"), "C:\\My.Tools\\wakumo.ini");
  EXPECT_EQ(SettingsPathFor("\\\\server\\share.d\\w"), "\\\\server\\share.d\\w.ini");
}

}  // namespace
}  // namespace wakumo
