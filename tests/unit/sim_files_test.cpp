#include <gtest/gtest.h>

#include <string>

#include "sim/sim_cp932_table.h"
#include "sim/sim_files.h"

namespace wakumo {
namespace {

TEST(SimAnsiCodePage, ShiftJisMapsAsTheSystemDoes) {
  const SimAnsiCodePage cp(932);
  EXPECT_EQ(cp.Number(), 932u);
  struct Row {
    std::string ansi, utf8;
  };
  // Pairs as Python's cp932 codec gives them.
  const Row rows[] = {
      {"abc 09", "abc 09"},     {"\xB1\xDF", "ｱﾟ"},       {"\x82\xA0\x82\xF1", "あん"},
      {"\x83\x5C\x95\x5C", "ソ表"}, {"\x82\x78", "Ｙ"},       {"\x81\x5F\x81\x60", "＼～"},
      {"\x90\xDD\x92\xE8", "設定"}, {"\x91\xA6", "即"},        {"\x80\xA0\xFD", "\xC2\x80\xEF\xA3\xB0\xEF\xA3\xB1"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.utf8);
    EXPECT_EQ(cp.ToUtf8(r.ansi), r.utf8);
    EXPECT_EQ(cp.FromUtf8(r.utf8), r.ansi);
  }
  // Undefined or cut characters read as ・; missing characters write as ?.
  EXPECT_EQ(cp.ToUtf8("\x85\x40"), "・");
  EXPECT_EQ(cp.ToUtf8("a\x82"), "a・");
  EXPECT_EQ(cp.ToUtf8("\x82="), "・=") << "a lead byte never swallows a separator";
  EXPECT_EQ(cp.FromUtf8("é😀"), "??");
  // Every listed character survives both ways, but for the row-13 twins of
  // row-2 symbols, which are written back as those.
  for (const Cp932Pair& p : Cp932DoubleBytePairs()) {
    const std::string bytes{static_cast<char>(p.sjis >> 8), static_cast<char>(p.sjis & 0xFF)};
    EXPECT_TRUE(cp.Decodes(bytes)) << std::hex << p.sjis;
    if (p.sjis >> 8 == 0x87) continue;
    EXPECT_EQ(cp.FromUtf8(cp.ToUtf8(bytes)), bytes) << std::hex << p.sjis;
  }
  EXPECT_EQ(cp.ToUtf8("\x87\x90"), "≒");
  EXPECT_EQ(cp.FromUtf8("≒"), "\x81\xE0");
}

TEST(SimAnsiCodePage, ShiftJisDecodesOnlyWholeDefinedCharacters) {
  const SimAnsiCodePage cp(932);
  struct Row {
    std::string ansi;
    bool decodes;
  };
  const Row rows[] = {
      {"", true},
      {"abc \x83\x5C\x95\x5C\xB1", true},  // ソ表ｱ
      {"\x81\x45", true},                     // a real ・
      {"Caf\xE9", false},                      // a lead byte at the end
      {"\x82=1", false},                       // a lead byte before a separator
      {"\x85\x40", false},                    // a pair the page leaves undefined
      {"\x81\x7F", false},                    // a lead byte before a byte that is no trail byte
      {"\xA0", false},                         // single bytes that read only as private-use characters
      {"\xFD", false},
      {"\x80", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(cp.ToUtf8(r.ansi));
    EXPECT_EQ(cp.Decodes(r.ansi), r.decodes);
  }
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_TRUE(SimAnsiCodePage(1252).Decodes(all)) << "1252 has a character for every byte";
}

TEST(SimAnsiCodePage, WesternIsSingleByteWithTheWindowsUpperHalf) {
  const SimAnsiCodePage cp(1252);
  EXPECT_TRUE(cp.LeadBytes().Empty());
  EXPECT_EQ(cp.ToUtf8("Caf\xE9 \x80\x81\x9F"), "Café €\xC2\x81Ÿ");
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(cp.FromUtf8(cp.ToUtf8(all)), all);
  EXPECT_EQ(cp.FromUtf8("あ"), "?");
}

TEST(SimFileSystem, PathsIgnoreCaseAndSlashKind) {
  SimFileSystem fs;
  fs.PutFile("C:\\Tools\\A.ini", "x");
  EXPECT_EQ(fs.ReadWholeFile("c:/tools/a.INI").bytes, "x");
  const FileRead missing = fs.ReadWholeFile("C:\\Tools\\b.ini");
  EXPECT_FALSE(missing.bytes);
  EXPECT_FALSE(missing.error);
  EXPECT_EQ(fs.FilesIn("C:\\TOOLS"), std::vector<std::string>{"C:\\Tools\\A.ini"});
}

}  // namespace
}  // namespace wakumo
