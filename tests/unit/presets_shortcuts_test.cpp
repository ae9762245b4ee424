// The shortcut combo box and its menu: add, delete, sort, choose.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "presets_fixture.h"
#include "ui/text_case.h"

namespace wakumo::testing {
namespace {

using ::testing::IsEmpty;

class ShortcutsTest : public PresetsFixture {
 protected:
  ShortcutsTest() { Start(); }
  // Types the four numbers (the position through a ticked 左上：, which is
  // left as it was) and the name, then chooses 追加.
  void Add(const char* name, int w, int h, int x, int y) {
    const bool base = form->BaseChk.Checked();
    if (!base) {
      ASSERT_TRUE(tk.Click("BaseChk"));
    }
    ASSERT_TRUE(tk.TypeText("EdSizeX", std::to_string(w)));
    ASSERT_TRUE(tk.TypeText("EdSizeY", std::to_string(h)));
    ASSERT_TRUE(tk.TypeText("EdBaseX", std::to_string(x)));
    ASSERT_TRUE(tk.TypeText("EdBaseY", std::to_string(y)));
    if (!base) {
      ASSERT_TRUE(tk.Click("BaseChk"));
    }
    ASSERT_TRUE(tk.TypeText("ComboBox1", name));
    ASSERT_TRUE(tk.ChooseMenuItem("mSetAdd"));
  }
  std::vector<std::string> Names() const { return form->ComboBox1.Items(); }
  std::vector<std::string> Fields() const {
    return {Text("EdSizeX"), Text("EdSizeY"), Text("EdBaseX"), Text("EdBaseY")};
  }
  void Choose(const std::string& name) {
    const std::vector<std::string> names = Names();
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i] == name) {
        ASSERT_TRUE(tk.Select("ComboBox1", static_cast<int>(i)));
        return;
      }
    }
    FAIL() << "no entry " << name;
  }
};

TEST_F(ShortcutsTest, AddRefusesEmptyAndExistingNamesAndKeepsThePosition) {
  ASSERT_TRUE(tk.TypeText("ComboBox1", ""));
  ASSERT_TRUE(tk.ChooseMenuItem("mSetAdd"));
  EXPECT_THAT(Names(), IsEmpty());

  Add("Small", 320, 240, 7, 8);
  EXPECT_EQ(Names(), std::vector<std::string>{"Small"});
  EXPECT_EQ(Text("ComboBox1"), "Small") << "the typed name stays";
  EXPECT_FALSE(form->BaseChk.Checked());
  Add("small", 999, 999, 9, 9);
  EXPECT_EQ(Names(), std::vector<std::string>{"Small"});
  Add("Big", 800, 600, -1, -2);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Small", "Big"})) << "unsorted: at the end";

  // Choosing fills all four fields and leaves 左上： as it was.
  Choose("Small");
  EXPECT_EQ(Fields(), (std::vector<std::string>{"320", "240", "7", "8"})) << "Small was not updated";
  EXPECT_FALSE(form->BaseChk.Checked());
  EXPECT_FALSE(form->EdBaseX.Enabled());

  Close();
  EXPECT_NE(Ini().find("[ShortCut]\r\nSmall=320,240,7,8\r\nBig=800,600,-1,-2\r\n\r\n"), std::string::npos) << Ini();
}

TEST_F(ShortcutsTest, DeleteRemovesTheNamedEntryAndEmptiesTheTextField) {
  Add("One", 100, 100, 0, 0);
  Add("Two", 200, 200, 0, 0);
  for (const char* name : {"", "Three"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(tk.TypeText("ComboBox1", name));
    ASSERT_TRUE(tk.ChooseMenuItem("mSetDel"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(Text("ComboBox1"), name);
  }
  ASSERT_TRUE(tk.TypeText("ComboBox1", "oNE"));
  ASSERT_TRUE(tk.ChooseMenuItem("mSetDel"));
  EXPECT_EQ(Names(), std::vector<std::string>{"Two"});
  EXPECT_EQ(Text("ComboBox1"), "");
  Choose("Two");
  EXPECT_EQ(Text("EdSizeX"), "200") << "the shortcuts stay with their names";
}

TEST_F(ShortcutsTest, NamesTheFileCannotGiveBackAreRefusedWithAMessage) {
  // "a=b" would come back as a name "a" with a broken value, ";x" as a
  // comment: either shortcut would be gone at the next start.
  Add("Keep", 320, 240, 1, 2);
  Add("a=b", 640, 480, 0, 0);
  Add("  ;x", 800, 600, 0, 0);
  Add("x;y", 100, 50, 0, 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Keep", "x;y"}));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"名前に \"=\" は使えません: \"a=b\"",
                                                  "名前を \";\" で始めることはできません: \"  ;x\""}));
  EXPECT_EQ(Text("ComboBox1"), "x;y");

  Restart();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Keep", "x;y"})) << "what was added comes back";
  Choose("x;y");
  EXPECT_EQ(Fields(), (std::vector<std::string>{"100", "50", "0", "0"}));
}

TEST_F(ShortcutsTest, SortOrdersByNameAndKeepsTheOrderWhenSwitchedOff) {
  Add("b", 2, 2, 0, 0);
  Add("C", 3, 3, 0, 0);
  Add("a", 1, 1, 0, 0);
  ASSERT_TRUE(tk.TypeText("ComboBox1", "c"));
  ASSERT_TRUE(tk.ChooseMenuItem("mSetSort"));
  EXPECT_TRUE(form->mSetSort->Checked());
  EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "C"}));
  EXPECT_EQ(Text("ComboBox1"), "C") << "the typed name's entry becomes selected";
  EXPECT_EQ(form->ComboBox1.ItemIndex(), 2);

  Add("B2", 4, 4, 0, 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "B2", "C"})) << "sorted: at its place";

  ASSERT_TRUE(tk.TypeText("ComboBox1", "zzz"));
  ASSERT_TRUE(tk.ChooseMenuItem("mSetSort"));
  EXPECT_FALSE(form->mSetSort->Checked());
  EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "B2", "C"}));
  EXPECT_EQ(Text("ComboBox1"), "") << "a name of no entry is cleared";
  EXPECT_EQ(form->ComboBox1.ItemIndex(), -1);
  Add("0", 5, 5, 0, 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "B2", "C", "0"})) << "unsorted again: at the end";
  const std::vector<std::pair<std::string, std::string>> widths{{"a", "1"}, {"b", "2"}, {"C", "3"}, {"B2", "4"}, {"0", "5"}};
  for (const auto& [name, width] : widths) {
    SCOPED_TRACE(name);
    Choose(name);
    EXPECT_EQ(Text("EdSizeX"), width) << "each name keeps its own shortcut";
  }
}

TEST_F(ShortcutsTest, ClosingTheListMovesTheFocusToSetWhenSetIsUsable) {
  Add("One", 100, 100, 0, 0);
  ASSERT_TRUE(tk.Select("ComboBox1", 0));
  EXPECT_TRUE(form->SetBtn.Peer().Focused());

  ASSERT_TRUE(tk.SetFocusTo("EdSizeX"));
  ASSERT_TRUE(tk.Click("Timing"));
  ASSERT_TRUE(tk.Select("ComboBox1", 0));
  EXPECT_FALSE(form->SetBtn.Peer().Focused()) << "Set is disabled while 即 is ticked";
}

TEST_F(ShortcutsTest, ShortcutButtonOpensItsMenuBesideItAndComesBackUp) {
  tk.ScriptMenuChoice("mSetSort");
  ASSERT_TRUE(tk.Click("ScutBtn"));
  EXPECT_EQ(tk.LastPopupMenu(), "ScutMenu");
  EXPECT_EQ(tk.LastPopupPoint(), tk.Get("Panel1").ClientToScreen({form->ScutBtn.Left() + 2, form->ScutBtn.Top()}));
  EXPECT_TRUE(form->mSetSort->Checked());
  EXPECT_FALSE(form->ScutBtn.Down());
  EXPECT_EQ(MenuCaptions("ScutMenu"), (std::vector<std::string>{"追加", "削除", "-", "ソート"}));
}

TEST(TextCaseTest, LettersFoldAcrossAlphabetsAndOtherCharactersOrderByCodePoint) {
  EXPECT_TRUE(SameTextIgnoreCase("Small", "sMALL"));
  EXPECT_TRUE(SameTextIgnoreCase("ＡＢＣ", "ａｂｃ"));
  EXPECT_TRUE(SameTextIgnoreCase("Ärger", "ärger"));
  EXPECT_TRUE(SameTextIgnoreCase("ΑΒΓ", "αβγ"));
  EXPECT_TRUE(SameTextIgnoreCase("ДОМ", "дом"));
  EXPECT_FALSE(SameTextIgnoreCase("×", "÷"));
  EXPECT_FALSE(SameTextIgnoreCase("a", "a "));
  EXPECT_LT(CompareTextIgnoreCase("B", "c"), 0);
  EXPECT_LT(CompareTextIgnoreCase("b", "C"), 0);
  EXPECT_LT(CompareTextIgnoreCase("Z", "小"), 0);
  EXPECT_LT(CompareTextIgnoreCase("小", "支度"), 0);
  // Malformed UTF-8 still orders consistently.
  EXPECT_GT(CompareTextIgnoreCase("\xE5", "A"), 0);
  EXPECT_LT(CompareTextIgnoreCase("A", "\xE5"), 0);
}

}  // namespace
}  // namespace wakumo::testing
