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
  // Every listed character survives both ways.
  for (const Cp932Pair& p : Cp932DoubleBytePairs()) {
    const std::string bytes{static_cast<char>(p.sjis >> 8), static_cast<char>(p.sjis & 0xFF)};
    EXPECT_EQ(cp.FromUtf8(cp.ToUtf8(bytes)), bytes) << std::hex << p.sjis;
  }
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
