// The size and position menus, their buttons and the two swaps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "presets_fixture.h"

namespace wakumo::testing {
namespace {

class PresetMenusTest : public PresetsFixture {
 protected:
  PresetMenusTest() { Start(); }
  void TypeSize(const char* w, const char* h) {
    ASSERT_TRUE(tk.TypeText("EdSizeX", w));
    ASSERT_TRUE(tk.TypeText("EdSizeY", h));
  }
  void TypeBase(const char* x, const char* y) {
    ASSERT_TRUE(tk.TypeText("EdBaseX", x));
    ASSERT_TRUE(tk.TypeText("EdBaseY", y));
  }
  Point Panel1At(int x, int y) const { return tk.Get("Panel1").ClientToScreen({x, y}); }
};

TEST_F(PresetMenusTest, ListButtonsOpenTheirMenuAtTheButtonsRightEdge) {
  TPopupMenu* open_during_click = nullptr;
  form->mSadd->OnClick = [&] { open_during_click = form->OpenListMenu; };
  tk.ScriptMenuChoice("mSadd");
  ASSERT_TRUE(tk.Click("SlstBtn"));
  EXPECT_EQ(tk.LastPopupMenu(), "SizeList");
  EXPECT_EQ(tk.LastPopupPoint(), Panel1At(form->SlstBtn.Left() + 16, form->SlstBtn.Top()));
  EXPECT_EQ(open_during_click, &form->SizeList);
  EXPECT_EQ(form->OpenListMenu, nullptr) << "only while the menu is open";

  // The position menu cannot be opened while 左上： is unticked.
  EXPECT_FALSE(tk.Click("BlstBtn"));
  ASSERT_TRUE(tk.Click("BaseChk"));
  ASSERT_TRUE(tk.Click("BlstBtn"));
  EXPECT_EQ(tk.LastPopupMenu(), "BaseList");
  EXPECT_EQ(tk.LastPopupPoint(), Panel1At(form->BlstBtn.Left() + 16, form->BlstBtn.Top()));
}

TEST_F(PresetMenusTest, ChoosingAPresetFillsOnlyItsTwoFields) {
  TypeSize("1", "1");
  tk.ScriptMenuChoice("800 x 600");
  ASSERT_TRUE(tk.Click("SlstBtn"));
  EXPECT_EQ(Text("EdSizeX"), "800");
  EXPECT_EQ(Text("EdSizeY"), "600");

  ASSERT_TRUE(tk.Click("BaseChk"));
  TypeBase("5", "6");
  ASSERT_TRUE(tk.ChooseMenuItem("mBadd"));
  TypeBase("-8", "0");
  ASSERT_TRUE(tk.ChooseMenuItem("mBadd"));
  ASSERT_TRUE(tk.Click("BaseChk"));
  ASSERT_TRUE(tk.ChooseMenuItem("5 , 6"));
  EXPECT_EQ(Text("EdBaseX"), "5");
  EXPECT_EQ(Text("EdBaseY"), "6");
  EXPECT_FALSE(form->BaseChk.Checked()) << "choosing a position does not tick 左上：";
  EXPECT_EQ(Text("EdSizeX"), "800");
}

TEST_F(PresetMenusTest, AddAppendsTheCurrentPairUnlessItsCaptionIsThere) {
  const std::vector<std::string> before = MenuCaptions("SizeList");
  TypeSize("640", "480");
  ASSERT_TRUE(tk.ChooseMenuItem("mSadd"));
  EXPECT_EQ(MenuCaptions("SizeList"), before);

  TypeSize("641", "480");
  ASSERT_TRUE(tk.ChooseMenuItem("mSadd"));
  std::vector<std::string> expected = before;
  expected.push_back("641 x 480");
  EXPECT_EQ(MenuCaptions("SizeList"), expected);
  EXPECT_EQ(MenuHints("SizeList").back(), "");
  ASSERT_TRUE(tk.ChooseMenuItem("mSadd"));
  EXPECT_EQ(MenuCaptions("SizeList"), expected) << "added once only";

  // Captions compare without letter case: "641 X 480" (typed so in the list
  // editor) is the same size.
  form->SizeList.Item(form->SizeList.Count() - 1).SetCaption("641 X 480");
  ASSERT_TRUE(tk.ChooseMenuItem("mSadd"));
  EXPECT_EQ(MenuCaptions("SizeList").size(), expected.size());
  form->SizeList.Item(form->SizeList.Count() - 1).SetCaption("641 x 480");

  // Numbers are rounded as the fields show them.
  TypeSize("99.6", "10.4");
  EXPECT_EQ(Text("EdSizeX"), "99.6");
  ASSERT_TRUE(tk.ChooseMenuItem("mSadd"));
  EXPECT_EQ(MenuCaptions("SizeList").back(), "100 x 10");
  EXPECT_EQ(Text("EdSizeX"), "100");
  EXPECT_EQ(Text("EdSizeY"), "10");

  ASSERT_TRUE(tk.Click("BaseChk"));
  TypeBase("-8", "0");
  ASSERT_TRUE(tk.ChooseMenuItem("mBadd"));
  ASSERT_TRUE(tk.ChooseMenuItem("mBadd"));
  EXPECT_EQ(MenuCaptions("BaseList"), (std::vector<std::string>{"座標追加", "XY入れ替え", "-", "-8 , 0"}));

  // The new presets are chosen like the loaded ones and are saved.
  TypeSize("1", "1");
  ASSERT_TRUE(tk.ChooseMenuItem("100 x 10"));
  EXPECT_EQ(Text("EdSizeX"), "100");
  Close();
  EXPECT_NE(Ini().find("1600x1200=UXGA\r\n641x480=\r\n100x10=\r\n\r\n[Bases]\r\n-8,0=\r\n"), std::string::npos) << Ini();
}

TEST_F(PresetMenusTest, SwapsExchangeTheirPairs) {
  TypeSize("300", "200");
  ASSERT_TRUE(tk.ChooseMenuItem("mSinvert"));
  EXPECT_EQ(Text("EdSizeX"), "200");
  EXPECT_EQ(Text("EdSizeY"), "300");
  ASSERT_TRUE(tk.DblClick("Label5"));
  EXPECT_EQ(Text("EdSizeX"), "300");
  EXPECT_EQ(Text("EdSizeY"), "200");

  // XY入れ替え does nothing while 左上： is unticked.
  ASSERT_TRUE(tk.Click("BaseChk"));
  TypeBase("10", "-20");
  ASSERT_TRUE(tk.Click("BaseChk"));
  ASSERT_TRUE(tk.ChooseMenuItem("mBinvert"));
  EXPECT_EQ(Text("EdBaseX"), "10");
  EXPECT_EQ(Text("EdBaseY"), "-20");
  ASSERT_TRUE(tk.Click("BaseChk"));
  ASSERT_TRUE(tk.ChooseMenuItem("mBinvert"));
  EXPECT_EQ(Text("EdBaseX"), "-20");
  EXPECT_EQ(Text("EdBaseY"), "10");
}

TEST_F(PresetMenusTest, PresetsThatGiveNoUsableNumbers) {
  // Captions as the list editor may leave them.
  form->SizeList.Item(3).SetCaption("abc");
  form->SizeList.Item(4).SetCaption("0 x 480");
  form->SizeList.Item(5).SetCaption("800x600");
  TypeSize("50", "60");
  ASSERT_TRUE(tk.ChooseMenuItem("abc"));
  EXPECT_EQ(Text("EdSizeX"), "50") << "no numbers: nothing changes";
  EXPECT_EQ(Text("EdSizeY"), "60");
  ASSERT_TRUE(tk.ChooseMenuItem("0 x 480"));
  EXPECT_EQ(Text("EdSizeX"), "1") << "confined by the spinner";
  EXPECT_EQ(Text("EdSizeY"), "480");
  ASSERT_TRUE(tk.ChooseMenuItem("800x600"));
  EXPECT_EQ(Text("EdSizeX"), "800");
  EXPECT_EQ(Text("EdSizeY"), "600");
}

}  // namespace
}  // namespace wakumo::testing
