// Names whose bytes the ANSI code page cannot read as text: how they show,
// and that the file is written back byte for byte all the same.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "presets/ansi_text.h"
#include "presets/settings.h"
#include "settings_text.h"

namespace wakumo {
namespace {

using testing::Crlf;
using testing::kJapanese;
using testing::kWestern;

TEST(ShownText, EachByteThatIsNoCharacterShowsAsItsValue) {
  struct Row {
    std::string ansi, shown;
  };
  const Row rows[] = {
      {"", ""},
      {"\x96\xBC\x91\x4F", "名前"},
      {"\x81\x45", "・"},                       // the real ・, not a stand-in
      {"\x87\x90", "≒"},                        // read as it is, although written back as 81 E0
      {"Caf\xE9", "Caf〈E9〉"},                 // a code-page-1252 name: E9 is a lead byte here
      {"\x96\xBC\x91\x4F\x8E", "名前〈8E〉"},   // cut after a lead byte
      {"A\x81\x7F" "B", "A〈81〉〈7F〉B"},       // a lead byte before a byte that is no trail byte
      {"\x85\x40", "〈85〉〈40〉"},              // a pair the code page leaves undefined
      {"\x81 \x81", "〈81〉 〈81〉"},            // the blank after a stray lead byte stays
      {"\xA0\xFD", "〈A0〉〈FD〉"},              // bytes that read only as private-use characters
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.shown);
    EXPECT_EQ(ShownText(r.ansi, kJapanese), r.shown);
  }
  // Every byte is a character of 1252.
  EXPECT_EQ(ShownText("Caf\xE9 \x81", kWestern), "Café \xC2\x81");
}

// A settings file as Wakumo writes it, with names that 932 cannot read as
// text: from a code-page-1252 system, cut after a lead byte, a lead byte
// before a non-trail byte, and a row-13 twin that 932 writes back otherwise.
const std::string kForeignFile =
    Crlf({"[Sizes]", "640x480=Caf\xE9", "800x600=\x96\xBC\x91\x4F\x8E", "1024x768=VGA", "", "[Bases]",
          "0,0=A\x81\x7F" "B", "-8,0=\x87\x90", "", "[ShortCut]", "Caf\xE9=320,240,0,0", "\x8E=1,2,3,4", "",
          "[Option]", "Timing=0", "ToFront=1", "Base=0", "OnTop=1", "WinPos=0", "ListSort=0"});

TEST(SettingsNameBytes, UnreadableNamesShowTheirBytesAndAreRewrittenByteForByte) {
  const SettingsData d = ParseSettings(kForeignFile, kJapanese);
  EXPECT_EQ(d.sizes, (std::vector<NamedPreset>{{"640 x 480", "Caf〈E9〉", "Caf\xE9"},
                                               {"800 x 600", "名前〈8E〉", "\x96\xBC\x91\x4F\x8E"},
                                               {"1024 x 768", "VGA"}}));
  EXPECT_EQ(d.bases, (std::vector<NamedPreset>{{"0 , 0", "A〈81〉〈7F〉B", "A\x81\x7F" "B"},
                                               {"-8 , 0", "≒", "\x87\x90"}}));
  EXPECT_EQ(d.shortcuts, (std::vector<NamedShortCut>{{"Caf〈E9〉", {320, 240, 0, 0}, "Caf\xE9"},
                                                     {"〈8E〉", {1, 2, 3, 4}, "\x8E"}}));
  EXPECT_EQ(FormatSettings(d, kJapanese), kForeignFile);

  // The same file read where it was written: every byte is text, none is kept aside.
  const SettingsData w = ParseSettings(kForeignFile, kWestern);
  EXPECT_EQ(w.sizes.front(), (NamedPreset{"640 x 480", "Café"}));
  EXPECT_EQ(FormatSettings(w, kWestern), kForeignFile);
}

TEST(SettingsNameBytes, AnEditedNameIsWrittenAsTypedAndTheOthersKeepTheirBytes) {
  SettingsData d = ParseSettings(kForeignFile, kJapanese);
  d.sizes[0].name = "Cafe";               // retyped
  d.sizes[1].name = "名前〈8E〉 2";        // the shown text with more typed after it
  d.bases[1].caption = "5 , 5";           // a new caption; the name is untouched
  d.shortcuts[1].name = "〈8E〉";          // typed again exactly as shown: the same name
  std::swap(d.shortcuts[0], d.shortcuts[1]);
  const std::string bytes = FormatSettings(d, kJapanese);
  EXPECT_EQ(bytes, Crlf({"[Sizes]", "640x480=Cafe", "800x600=\x96\xBC\x91\x4F\x81\x71" "8E\x81\x72 2",
                         "1024x768=VGA", "", "[Bases]", "0,0=A\x81\x7F" "B", "5,5=\x87\x90", "", "[ShortCut]",
                         "\x8E=1,2,3,4", "Caf\xE9=320,240,0,0", "", "[Option]", "Timing=0", "ToFront=1", "Base=0",
                         "OnTop=1", "WinPos=0", "ListSort=0"}));
}

TEST(SettingsNameBytes, LineBreaksAndNulInKeptBytesAreStillWrittenAsBlanks) {
  // The file never gives such bytes; a caller might, and the file must stay whole.
  SettingsData d;
  d.sizes = {{"1 x 1", ShownText("a\r\n[Option]\x8E", kJapanese), std::string("a\r\n[Option]\x8E")}};
  d.shortcuts = {{ShownText(std::string("n\0\x8E", 3), kJapanese), {1, 2, 3, 4}, std::string("n\0\x8E", 3)}};
  const std::string bytes = FormatSettings(d, kJapanese);
  EXPECT_NE(bytes.find("\r\n1x1=a  [Option]\x8E\r\n"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("\r\nn \x8E=1,2,3,4\r\n"), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find('\0'), std::string::npos);
}

}  // namespace
}  // namespace wakumo
