// The list editor dialog and the main window's リスト編集....
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "presets/list_editor.h"
#include "presets_fixture.h"

namespace wakumo::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class ListEditorTest : public PresetsFixture {
 protected:
  // Two position presets besides the built-in sizes.
  ListEditorTest() {
    platform.files.PutFile(kIniPath, "[Bases]\r\n0,0=Origin\r\n-8,0=Left\r\n");
    Start();
  }
  // Opens the dialog from the context menu; `user` plays the user while it is open.
  void Edit(const std::function<void(SimFormPeer&)>& user) {
    tk.ScriptModal(user);
    ASSERT_TRUE(tk.ChooseMenuItem("mListEdit"));
    EXPECT_EQ(tk.PendingModalScripts(), 0u) << "the dialog opened";
  }
  SimGridPeer& Grid(const char* name) const { return tk.Get<SimGridPeer>(std::string("Form4.") + name); }
  Rows GridRows(const char* name) const {
    Rows out;
    SimGridPeer& g = Grid(name);
    for (int i = 0; i < g.RowCount(); ++i) out.push_back(g.RowTexts(i));
    return out;
  }
  void Press(const char* button) { ASSERT_TRUE(tk.Click(std::string("Form4.") + button)); }
  std::vector<std::string> Presets(std::string_view menu) const {
    std::vector<std::string> captions = MenuCaptions(menu);
    return {captions.begin() + 3, captions.end()};
  }
  std::vector<std::string> Names(std::string_view menu) const {
    std::vector<std::string> hints = MenuHints(menu);
    return {hints.begin() + 3, hints.end()};
  }
};

TEST_F(ListEditorTest, DialogAsStoredOpensBesideTheMainWindowWithBothListsAsRows) {
  SimFormPeer& dialog = tk.Get<SimFormPeer>("Form4");
  EXPECT_EQ(dialog.Caption(), "Wakumo- リスト編集");
  EXPECT_EQ(dialog.ClientRect(), (Rect{0, 0, 289, 310}));
  EXPECT_EQ(dialog.Font().height, 12);
  EXPECT_FALSE(dialog.Sizeable());
  EXPECT_EQ(desk.StyleOf(dialog.Handle()) & (WS_SYSMENU_ | WS_MINIMIZEBOX_ | WS_MAXIMIZEBOX_), 0u) << "no title-bar buttons";
  EXPECT_FALSE(dialog.Visible()) << "hidden until used";
  EXPECT_TRUE(Grid("SizeList").TabBetweenCells());
  EXPECT_FALSE(Grid("BaseList").TabBetweenCells());

  const Rect main = form->WindowRect();
  Edit([&](SimFormPeer& d) {
    EXPECT_TRUE(d.Visible());
    EXPECT_EQ(d.WindowRect().left, main.right + 2);
    EXPECT_EQ(d.WindowRect().top, main.top);
    EXPECT_EQ(GridRows("SizeList"), (Rows{{"120 x 60", ""},
                                          {"256 x 256", ""},
                                          {"320 x 240", "QVGA"},
                                          {"640 x 480", "VGA"},
                                          {"800 x 600", "SVGA"},
                                          {"1024 x 768", "XGA"},
                                          {"1280 x 1024", "SXGA"},
                                          {"1600 x 1200", "UXGA"}}));
    EXPECT_EQ(GridRows("BaseList"), (Rows{{"0 , 0", "Origin"}, {"-8 , 0", "Left"}}));
    // FormShow widens each grid's selection to its whole row.
    EXPECT_EQ(Grid("SizeList").SelectedRow(), 0);
    EXPECT_TRUE(Grid("SizeList").WholeRowSelected());
    EXPECT_TRUE(Grid("BaseList").WholeRowSelected());
    // Modal: the main window takes no input meanwhile.
    EXPECT_FALSE(tk.Click("SetBtn"));
    // A click in a cell selects its whole row.
    ASSERT_TRUE(tk.ClickCell("Form4.BaseList", 1, 1));
    EXPECT_EQ(Grid("BaseList").SelectedRow(), 1);
    EXPECT_TRUE(Grid("BaseList").WholeRowSelected());
    Press("Button8");
  });
  EXPECT_FALSE(tk.Get("Form4").Visible());
  EXPECT_TRUE(tk.Click("SetBtn")) << "the main window is usable again";
}

TEST_F(ListEditorTest, CancelChangesNothing) {
  const std::vector<std::string> sizes = MenuCaptions("SizeList");
  const std::vector<std::string> hints = MenuHints("SizeList");
  const std::vector<std::string> bases = MenuCaptions("BaseList");
  Edit([&](SimFormPeer&) {
    ASSERT_TRUE(tk.EditKey("Form4.SizeList", 0, "999 x 999"));
    ASSERT_TRUE(tk.EditValue("Form4.SizeList", 1, "renamed"));
    Press("SDelBtn");
    Press("BDelBtn");
    Press("Button8");
  });
  EXPECT_EQ(MenuCaptions("SizeList"), sizes);
  EXPECT_EQ(MenuHints("SizeList"), hints);
  EXPECT_EQ(MenuCaptions("BaseList"), bases);
  // The next opening shows the menus again, not the abandoned edits.
  Edit([&](SimFormPeer&) {
    EXPECT_EQ(Grid("SizeList").RowTexts(0), (std::vector<std::string>{"120 x 60", ""}));
    EXPECT_EQ(Grid("BaseList").RowCount(), 2);
    Press("Button8");
  });
}

TEST_F(ListEditorTest, OkWithoutEditsRebuildsTheSameMenus) {
  const std::vector<std::string> sizes = MenuCaptions("SizeList");
  const std::vector<std::string> hints = MenuHints("SizeList");
  const std::vector<std::string> bases = MenuCaptions("BaseList");
  const std::vector<std::string> base_hints = MenuHints("BaseList");
  Edit([&](SimFormPeer&) { Press("Button7"); });
  EXPECT_EQ(MenuCaptions("SizeList"), sizes);
  EXPECT_EQ(MenuHints("SizeList"), hints);
  EXPECT_EQ(MenuCaptions("BaseList"), bases);
  EXPECT_EQ(MenuHints("BaseList"), base_hints);
  // The new entries choose as the old ones did.
  ASSERT_TRUE(tk.ChooseMenuItem("1024 x 768"));
  EXPECT_EQ(Text("EdSizeX"), "1024");
  ASSERT_TRUE(tk.ChooseMenuItem("-8 , 0"));
  EXPECT_EQ(Text("EdBaseX"), "-8");
}

TEST_F(ListEditorTest, UpAndDownMoveTheSelectedRowWhichStaysSelected) {
  Edit([&](SimFormPeer&) {
    SimGridPeer& sizes = Grid("SizeList");
    const Rows before = GridRows("SizeList");
    Press("SUpBtn");  // on the first row
    EXPECT_EQ(GridRows("SizeList"), before);
    EXPECT_EQ(sizes.SelectedRow(), 0);

    ASSERT_TRUE(tk.ClickCell("Form4.SizeList", 7, 0));
    Press("SDwnBtn");  // on the last row
    EXPECT_EQ(GridRows("SizeList"), before);
    EXPECT_EQ(sizes.SelectedRow(), 7);

    ASSERT_TRUE(tk.ClickCell("Form4.SizeList", 4, 1));
    Press("SUpBtn");
    Press("SUpBtn");
    EXPECT_EQ(sizes.SelectedRow(), 2);
    EXPECT_TRUE(sizes.WholeRowSelected());
    EXPECT_EQ(sizes.RowTexts(2), (std::vector<std::string>{"800 x 600", "SVGA"})) << "key and value move together";
    EXPECT_EQ(sizes.RowTexts(3), (std::vector<std::string>{"320 x 240", "QVGA"}));
    EXPECT_EQ(sizes.RowTexts(4), (std::vector<std::string>{"640 x 480", "VGA"}));
    Press("SDwnBtn");
    EXPECT_EQ(sizes.SelectedRow(), 3);
    EXPECT_EQ(sizes.RowTexts(3), (std::vector<std::string>{"800 x 600", "SVGA"}));

    // The position buttons move the position grid only.
    Press("BDwnBtn");
    EXPECT_EQ(GridRows("BaseList"), (Rows{{"-8 , 0", "Left"}, {"0 , 0", "Origin"}}));
    EXPECT_EQ(sizes.RowTexts(3), (std::vector<std::string>{"800 x 600", "SVGA"}));
    Press("Button7");
  });
  EXPECT_EQ(Presets("SizeList"), (std::vector<std::string>{"120 x 60", "256 x 256", "320 x 240", "800 x 600", "640 x 480",
                                                           "1024 x 768", "1280 x 1024", "1600 x 1200"}));
  EXPECT_EQ(Names("SizeList"), (std::vector<std::string>{"", "", "QVGA", "SVGA", "VGA", "XGA", "SXGA", "UXGA"}));
  EXPECT_EQ(Presets("BaseList"), (std::vector<std::string>{"-8 , 0", "0 , 0"}));
}

TEST_F(ListEditorTest, DeletingEverySizeRowGivesTheBuiltInPresetsAtTheNextStart) {
  Edit([&](SimFormPeer&) {
    for (int i = 0; i < 8; ++i) Press("SDelBtn");
    EXPECT_EQ(Grid("SizeList").RowCount(), 0);
    EXPECT_EQ(Grid("SizeList").SelectedRow(), -1);
    // DEL, DOWN and UP on an empty grid do nothing.
    Press("SDelBtn");
    Press("SDwnBtn");
    Press("SUpBtn");
    EXPECT_EQ(Grid("SizeList").RowCount(), 0);
    ASSERT_TRUE(tk.ClickCell("Form4.BaseList", 1, 0));
    Press("BDelBtn");
    EXPECT_EQ(GridRows("BaseList"), (Rows{{"0 , 0", "Origin"}}));
    Press("Button7");
  });
  EXPECT_EQ(MenuCaptions("SizeList"), (std::vector<std::string>{"サイズ追加", "縦横入れ替え", "-"}));
  EXPECT_EQ(Presets("BaseList"), std::vector<std::string>{"0 , 0"});
  Restart();
  EXPECT_NE(Ini().find("[Sizes]\r\n\r\n[Bases]\r\n0,0=Origin\r\n\r\n"), std::string::npos) << Ini();
  EXPECT_EQ(Presets("SizeList").size(), 8u);
  EXPECT_EQ(Presets("SizeList").front(), "120 x 60");
  EXPECT_EQ(Names("SizeList").back(), "UXGA");
}

TEST_F(ListEditorTest, EditedKeysBecomeCaptionsAndTheGridRefusesDuplicatesAndEquals) {
  Edit([&](SimFormPeer&) {
    // Another row's key, letter case ignored, or a key with "=": refused, the key stays.
    EXPECT_FALSE(tk.EditKey("Form4.SizeList", 0, "640 X 480"));
    EXPECT_FALSE(tk.EditKey("Form4.SizeList", 0, "a=b"));
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_NE(Messages()[0].find("640 X 480"), std::string::npos) << Messages()[0];
    EXPECT_NE(Messages()[1].find("a=b"), std::string::npos) << Messages()[1];
    EXPECT_EQ(Grid("SizeList").RowTexts(0)[0], "120 x 60");
    // The same key in the other grid, or the row's own key in other letters, is fine.
    EXPECT_TRUE(tk.EditKey("Form4.BaseList", 0, "640 x 480"));
    EXPECT_TRUE(tk.EditKey("Form4.BaseList", 0, "0 , 0"));
    ASSERT_TRUE(tk.EditKey("Form4.SizeList", 4, "800x600"));
    ASSERT_TRUE(tk.EditValue("Form4.SizeList", 4, "= wide ="));
    ASSERT_TRUE(tk.EditKey("Form4.SizeList", 0, "abc"));
    Press("Button7");
  });
  EXPECT_EQ(Presets("SizeList")[4], "800x600");
  EXPECT_EQ(Names("SizeList")[4], "= wide =");
  ASSERT_TRUE(tk.ChooseMenuItem("800x600"));
  EXPECT_EQ(Text("EdSizeX"), "800");
  EXPECT_EQ(Text("EdSizeY"), "600");
  Restart();
  EXPECT_EQ(Presets("SizeList").front(), "256 x 256") << "a caption without numbers is not written";
  EXPECT_EQ(Presets("SizeList")[3], "800 x 600") << "read back in the standard form";
  EXPECT_EQ(Names("SizeList")[3], "= wide =");
}

TEST_F(ListEditorTest, CaptionsEqualApartFromCaseKeepTheDialogShutWithTheGridsMessage) {
  Close();
  form.reset();
  platform.files.PutFile(kIniPath, "[Sizes]\r\n800x600=A\r\n800x600=B\r\n");
  Start();
  ASSERT_EQ(Presets("SizeList"), (std::vector<std::string>{"800 x 600", "800 x 600"}));
  tk.Application().ClearMessages();
  ASSERT_TRUE(tk.ChooseMenuItem("mListEdit"));
  EXPECT_EQ(tk.ModalCount(), 0) << "the dialog does not open";
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("800 x 600"), std::string::npos) << Messages()[0];
  // The program carries on with its menus as they were.
  EXPECT_EQ(Names("SizeList"), (std::vector<std::string>{"A", "B"}));
  ASSERT_TRUE(tk.ChooseMenuItem("mSadd"));
  EXPECT_EQ(Presets("SizeList").size(), 2u);
  EXPECT_TRUE(tk.Click("SetBtn"));
}

}  // namespace
}  // namespace wakumo::testing
