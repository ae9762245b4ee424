// Names that code page 932 cannot read as text, through the main window: the
// menus, the shortcut box and the list editor show the same text for them,
// and every path that keeps a name keeps its bytes for the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "presets_fixture.h"
#include "settings_text.h"

namespace wakumo::testing {
namespace {

// From a code-page-1252 system (E9 is a 932 lead byte), cut after a lead byte
// (名前 8E), a lead byte before a byte that is no trail byte, and ≒ as row 13
// has it (87 90), which 932 writes back as 81 E0. Laid out as Wakumo writes.
const std::string kCafe = "Caf\xE9";
const std::string kCut = "\x96\xBC\x91\x4F\x8E";
const std::string kBadTrail = "A\x81\x7F" "B";
const std::string kTwin = "\x87\x90";

std::string Sections(const std::string& sizes, const std::string& bases, const std::string& shortcuts,
                     const std::string& list_sort) {
  return "[Sizes]\r\n" + sizes + "\r\n[Bases]\r\n" + bases + "\r\n[ShortCut]\r\n" + shortcuts +
         "\r\n[Option]\r\nTiming=0\r\nToFront=1\r\nBase=0\r\nOnTop=1\r\nWinPos=0\r\nListSort=" + list_sort + "\r\n";
}

const std::string kSizes = Crlf({"640x480=" + kCafe, "800x600=" + kCut, "1024x768=XGA"});
const std::string kBases = Crlf({"0,0=" + kBadTrail, "-8,0=" + kTwin});
const std::string kShortcuts = Crlf({kCafe + "=320,240,5,6", "Big=800,600,10,20", "\x8E=1024,768,1,2"});
const std::string kFile = Sections(kSizes, kBases, kShortcuts, "0");

class NameBytesTest : public PresetsFixture {
 protected:
  NameBytesTest() {
    platform.files.PutFile(kIniPath, kFile);
    Start();
  }
  std::vector<std::string> Names(std::string_view menu) const {
    const std::vector<std::string> hints = MenuHints(menu);
    return {hints.begin() + 3, hints.end()};
  }
  std::vector<std::string> GridRow(const char* grid, int row) const {
    return tk.Get<SimGridPeer>(std::string("Form4.") + grid).RowTexts(row);
  }
  void Press(const char* button) { ASSERT_TRUE(tk.Click(std::string("Form4.") + button)); }
  std::vector<std::string> Fields() const {
    return {Text("EdSizeX"), Text("EdSizeY"), Text("EdBaseX"), Text("EdBaseY")};
  }
};

TEST_F(NameBytesTest, MenusShortcutsAndListEditorShowOneTextAndTheFileComesBackByteForByte) {
  EXPECT_EQ(Names("SizeList"), (std::vector<std::string>{"Caf〈E9〉", "名前〈8E〉", "XGA"}));
  EXPECT_EQ(Names("BaseList"), (std::vector<std::string>{"A〈81〉〈7F〉B", "≒"}));
  EXPECT_EQ(form->ComboBox1.Items(), (std::vector<std::string>{"Caf〈E9〉", "Big", "〈8E〉"}));

  // Choosing still goes by the captions and the entries.
  tk.ScriptMenuChoice("800 x 600");
  ASSERT_TRUE(tk.Click("SlstBtn"));
  EXPECT_EQ(Text("EdSizeX"), "800");
  ASSERT_TRUE(tk.Select("ComboBox1", 0));
  EXPECT_EQ(Fields(), (std::vector<std::string>{"320", "240", "5", "6"}));
  EXPECT_EQ(Text("ComboBox1"), "Caf〈E9〉");

  // The list editor shows the menus' texts; O K without an edit rebuilds them.
  tk.ScriptModal([&](SimFormPeer&) {
    EXPECT_EQ(GridRow("SizeList", 0), (std::vector<std::string>{"640 x 480", "Caf〈E9〉"}));
    EXPECT_EQ(GridRow("SizeList", 1), (std::vector<std::string>{"800 x 600", "名前〈8E〉"}));
    EXPECT_EQ(GridRow("BaseList", 1), (std::vector<std::string>{"-8 , 0", "≒"}));
    Press("Button7");
  });
  ASSERT_TRUE(tk.ChooseMenuItem("mListEdit"));
  EXPECT_EQ(tk.PendingModalScripts(), 0u) << "the dialog opened";
  EXPECT_EQ(Names("SizeList"), (std::vector<std::string>{"Caf〈E9〉", "名前〈8E〉", "XGA"}));

  Close();
  EXPECT_EQ(Ini(), kFile);
}

TEST_F(NameBytesTest, SortingAddingAndDeletingShortcutsKeepEachNamesBytes) {
  ASSERT_TRUE(tk.ChooseMenuItem("mSetSort"));
  EXPECT_EQ(form->ComboBox1.Items(), (std::vector<std::string>{"Big", "Caf〈E9〉", "〈8E〉"}));
  // Deleting and adding by the text shown.
  ASSERT_TRUE(tk.TypeText("ComboBox1", "〈8e〉"));
  ASSERT_TRUE(tk.ChooseMenuItem("mSetDel"));
  ASSERT_TRUE(tk.TypeText("ComboBox1", "caf〈e9〉"));
  ASSERT_TRUE(tk.ChooseMenuItem("mSetAdd"));
  ASSERT_TRUE(tk.TypeText("ComboBox1", "Abc"));
  ASSERT_TRUE(tk.ChooseMenuItem("mSetAdd"));
  EXPECT_EQ(form->ComboBox1.Items(), (std::vector<std::string>{"Abc", "Big", "Caf〈E9〉"}));
  ASSERT_TRUE(tk.Select("ComboBox1", 2));
  EXPECT_EQ(Fields(), (std::vector<std::string>{"320", "240", "5", "6"})) << "the entry kept its shortcut";
  Close();
  EXPECT_EQ(Ini(), Sections(kSizes, kBases, Crlf({"Abc=640,480,0,0", "Big=800,600,10,20", kCafe + "=320,240,5,6"}), "1"));
}

TEST_F(NameBytesTest, ListEditorMovesBytesWithTheirRowsAndWritesEditedNamesAsTyped) {
  tk.ScriptModal([&](SimFormPeer&) {
    ASSERT_TRUE(tk.ClickCell("Form4.SizeList", 1, 1));
    Press("SUpBtn");
    // A new key: the name stays as it was.
    ASSERT_TRUE(tk.EditKey("Form4.SizeList", 1, "641x480"));
    // Typed to look like another row's name: written as typed all the same.
    ASSERT_TRUE(tk.EditValue("Form4.SizeList", 2, "Caf〈E9〉"));
    ASSERT_TRUE(tk.ClickCell("Form4.BaseList", 0, 0));
    Press("BDelBtn");
    EXPECT_EQ(GridRow("BaseList", 0), (std::vector<std::string>{"-8 , 0", "≒"}));
    Press("Button7");
  });
  ASSERT_TRUE(tk.ChooseMenuItem("mListEdit"));
  ASSERT_EQ(tk.PendingModalScripts(), 0u) << "the dialog opened";
  EXPECT_EQ(Names("SizeList"), (std::vector<std::string>{"名前〈8E〉", "Caf〈E9〉", "Caf〈E9〉"}));
  tk.ScriptMenuChoice("641x480");
  ASSERT_TRUE(tk.Click("SlstBtn"));
  EXPECT_EQ(Text("EdSizeX"), "641");

  Close();
  const std::string typed_cafe = "Caf\x81\x71" "E9\x81\x72";
  EXPECT_EQ(Ini(), Sections(Crlf({"800x600=" + kCut, "641x480=" + kCafe, "1024x768=" + typed_cafe}),
                            Crlf({"-8,0=" + kTwin}), kShortcuts, "0"));
}

}  // namespace
}  // namespace wakumo::testing
