// The window list: what it lists, choosing a row, and the main window's
// height rules with the list shown and hidden.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "form_fixture.h"

namespace wakumo {
namespace {

using ::testing::IsEmpty;

// The scene's flags, window style and call list.
using namespace testing;

using Rows = std::vector<std::vector<std::string>>;

class WindowListTest : public testing::FormFixture {
 protected:
  WindowListTest() {
    b = desk.Create({.class_name = "B", .title = "second", .style = kOverlapped, .rect = {900, 50, 1100, 250}});
    untitled = desk.Create({.class_name = "Empty", .style = kOverlapped, .rect = {900, 300, 1100, 350}});
    minimised = desk.Create({.class_name = "Min", .title = "small", .style = kOverlapped, .rect = {0, 0, 100, 100}});
    desk.Minimise(minimised);
    hidden = desk.Create({.class_name = "Hidden", .title = "ghost", .style = kOverlapped,
                          .rect = {0, 0, 100, 100}, .visible = false});
  }
  Rows ListedRows() const {
    Rows rows;
    for (int i = 0; i < form.WinList.RowCount(); ++i) rows.push_back(form.WinList.RowTexts(i));
    return rows;
  }
  int RowOf(WindowHandle w) const {
    for (std::size_t i = 0; i < form.WinHandles->size(); ++i) {
      if ((*form.WinHandles)[i] == w) return static_cast<int>(i);
    }
    return -1;
  }
  int Height() const { return form.WindowRect().Height(); }

  WindowHandle b = 0, untitled = 0, minimised = 0, hidden = 0;
};

TEST_F(WindowListTest, ListsVisibleWindowsInEnumerationOrderButNotMinimisedOrOurOwn) {
  EXPECT_EQ(form.WinList.Columns(),
            (std::vector<ListColumn>{{"タイトル", 200, 4, false}, {"クラス名", 0, 0, true}}));
  EXPECT_FALSE(tk.Get("WinList").TabStop());
  EXPECT_FALSE(form.WinHandles.has_value());

  ASSERT_TRUE(tk.Click("WListBtn"));
  EXPECT_TRUE(form.WListBtn.Down());
  EXPECT_EQ(ListedRows(), (Rows{{"", "Empty"}, {"second", "B"}, {"memo.txt", "Notepad"}}));
  ASSERT_TRUE(form.WinHandles.has_value());
  EXPECT_EQ(*form.WinHandles, (std::vector<WindowHandle>{untitled, b, app}));
  EXPECT_TRUE(tk.Get("WinList").TabStop());
  // The designed height comes back, and the list fills the client area below the panel.
  EXPECT_EQ(form.ClientHeight(), 440);
  EXPECT_EQ(form.WinList.Top(), 245);
  EXPECT_EQ(form.WinList.Height(), 195);

  // Filled once: a window opened meanwhile shows only after reopening.
  auto later = desk.Create({.class_name = "Later", .title = "new", .style = kOverlapped, .rect = {10, 10, 60, 60}});
  EXPECT_EQ(form.WinList.RowCount(), 3);

  ASSERT_TRUE(tk.Click("WListBtn"));
  EXPECT_FALSE(form.WListBtn.Down());
  EXPECT_EQ(Height(), form.HeightWithoutList);
  EXPECT_EQ(form.WinList.RowCount(), 0);
  EXPECT_FALSE(form.WinHandles.has_value());
  EXPECT_FALSE(tk.Get("WinList").TabStop());

  ASSERT_TRUE(tk.Click("WListBtn"));
  EXPECT_EQ(form.WinHandles->front(), later);
  EXPECT_EQ(form.WinList.RowCount(), 4);
}

TEST_F(WindowListTest, RowChoiceShowsTheStoredTextsAndAppliesOnlyWithTiming) {
  ASSERT_TRUE(tk.Click("WListBtn"));
  desk.SetTitle(app, "renamed since");
  desk.ClearLogs();
  ASSERT_TRUE(tk.SelectRow("WinList", RowOf(app)));
  EXPECT_EQ(form.TargetHandle, app);
  EXPECT_EQ(form.Label1.Caption(), "Notepad");
  EXPECT_EQ(form.Label2.Caption(), "memo.txt");
  EXPECT_EQ(form.TargetRect, (Rect{100, 600, 620, 960}));
  EXPECT_EQ(form.CurSize.Caption(), "520 x 360");
  EXPECT_THAT(desk.SetWindowPosCalls(), IsEmpty());
  EXPECT_EQ(desk.XorDrawCount(), 0u);

  // A click beside the rows chooses nothing and changes nothing.
  ASSERT_TRUE(tk.SelectRow("WinList", -1));
  EXPECT_EQ(form.TargetHandle, app);

  TypeSize(800, 600);
  ASSERT_TRUE(tk.Click("Timing"));
  ASSERT_TRUE(tk.SelectRow("WinList", RowOf(b)));
  EXPECT_EQ(desk.SetWindowPosCalls(), (Calls{{b, 0, 0, 0, 800, 600, kFront | SWP_NOMOVE_}}));
  EXPECT_TRUE(form.UndoBtn.Enabled());
  // The list stays open.
  EXPECT_TRUE(form.WListBtn.Down());
  EXPECT_EQ(form.WinList.RowCount(), 3);
}

TEST_F(WindowListTest, RowChoiceAfterAShiftPickSizesTheWholeWindow) {
  Pick(child, /*shift=*/true);
  ASSERT_TRUE(form.ChildMode);
  ASSERT_EQ(form.ClientLED.Color(), clLime);
  ASSERT_TRUE(tk.Click("WListBtn"));
  ASSERT_TRUE(tk.SelectRow("WinList", RowOf(app)));
  EXPECT_FALSE(form.ChildMode);
  EXPECT_EQ(form.ClientLED.Color(), clBtnShadow);
  TypeSize(640, 480);
  EXPECT_EQ(Set(), (Calls{{app, 0, 0, 0, 640, 480, kFront | SWP_NOMOVE_}}));
}

TEST_F(WindowListTest, ClosedWindowRowStillBecomesTheTarget) {
  ASSERT_TRUE(tk.Click("WListBtn"));
  ASSERT_TRUE(tk.SelectRow("WinList", RowOf(app)));
  const int row = RowOf(b);
  desk.Destroy(b);
  ASSERT_TRUE(tk.SelectRow("WinList", row));
  EXPECT_EQ(form.TargetHandle, b);
  EXPECT_EQ(form.Label1.Caption(), "B");
  EXPECT_EQ(form.Label2.Caption(), "second");
  // Its rectangle cannot be read: the previous one stays and is shown.
  EXPECT_EQ(form.TargetRect, (Rect{100, 600, 620, 960}));
  EXPECT_EQ(form.CurSize.Caption(), "520 x 360");
  TypeSize(300, 200);
  EXPECT_EQ(Set(), (Calls{{b, 0, 0, 0, 300, 200, kFront | SWP_NOMOVE_}}));
}

TEST_F(WindowListTest, HeightRulesWithTheListShownAndHidden) {
  const int width = form.WindowRect().Width();
  const int initial_with_list = form.HeightWithList;
  ASSERT_EQ(Height(), form.HeightWithoutList);

  // Hidden: every drag is refused.
  EXPECT_TRUE(tk.ResizeForm("Form1", width + 40, Height() + 100));
  EXPECT_EQ(form.WindowRect().Width(), width);
  EXPECT_EQ(Height(), form.HeightWithoutList);
  EXPECT_TRUE(tk.ResizeForm("Form1", width, Height() - 20));
  EXPECT_EQ(Height(), form.HeightWithoutList);

  ASSERT_TRUE(tk.Click("WListBtn"));
  ASSERT_EQ(Height(), initial_with_list);
  // Shown: taller or shorter down to the minimum, never wider or narrower.
  tk.ResizeForm("Form1", width + 50, form.MinHeightWithList - 1);
  EXPECT_EQ(Height(), initial_with_list);
  tk.ResizeForm("Form1", width + 50, form.MinHeightWithList);
  EXPECT_EQ(Height(), form.MinHeightWithList);
  EXPECT_EQ(form.WindowRect().Width(), width);
  EXPECT_EQ(form.WinList.Height(), form.ClientHeight() - 245);
  tk.ResizeForm("Form1", width - 30, 600);
  EXPECT_EQ(Height(), 600);
  EXPECT_EQ(form.WindowRect().Width(), width);
  EXPECT_EQ(form.WinList.Height(), form.ClientHeight() - 245);

  // Closing goes through once; after that the hidden state refuses again.
  ASSERT_TRUE(tk.Click("WListBtn"));
  EXPECT_EQ(Height(), form.HeightWithoutList);
  tk.ResizeForm("Form1", width, 500);
  EXPECT_EQ(Height(), form.HeightWithoutList);

  // Reopening brings back the last accepted height.
  ASSERT_TRUE(tk.Click("WListBtn"));
  EXPECT_EQ(Height(), 600);
}

// The simulated desktop's caption is 18 px and its sizing frame 4 px at 96
// DPI, so c is 22 there and 33 at 144 DPI (27 + 6).
TEST_F(WindowListTest, HeightsFollowADpiChangeWithTheListHidden) {
  ASSERT_EQ(form.HeightWithoutList, 269);
  ASSERT_EQ(form.MinHeightWithList, 291);
  ASSERT_EQ(form.HeightWithList, 466) << "the designed client of 440 and the frame";

  tk.Get<SimFormPeer>("Form1").ChangeDpi(144);
  // 245 design pixels are 368 at 144 DPI.
  EXPECT_EQ(form.HeightWithoutList, 368 + 33 + 2);
  EXPECT_EQ(form.MinHeightWithList, 403 + 33);
  EXPECT_EQ(Height(), 403);
  EXPECT_FALSE(form.WListBtn.Down());
  EXPECT_EQ(form.ClientWidth(), 348) << "the client keeps its design width";
  // The list part of the designed height grows with the controls: 197 px at
  // 96 DPI are 296 at 144 (295.5 rounded).
  EXPECT_EQ(form.HeightWithList, 403 + 296);
  // Still hidden: the user's drags are refused as before.
  const int width = form.WindowRect().Width();
  EXPECT_TRUE(tk.ResizeForm("Form1", width, 600));
  EXPECT_EQ(Height(), 403);

  ASSERT_TRUE(tk.Click("WListBtn"));
  EXPECT_EQ(Height(), form.HeightWithList);
  EXPECT_EQ(form.WindowRect().Width(), width);
}

TEST_F(WindowListTest, HeightsFollowADpiChangeWithTheListShown) {
  ASSERT_TRUE(tk.Click("WListBtn"));
  const int width = form.WindowRect().Width();
  tk.ResizeForm("Form1", width, 600);
  ASSERT_EQ(Height(), 600);

  tk.Get<SimFormPeer>("Form1").ChangeDpi(144);
  EXPECT_TRUE(form.WListBtn.Down());
  // 331 px of list part at 96 DPI are 497 at 144 (496.5 rounded).
  EXPECT_EQ(Height(), 403 + 497);
  EXPECT_EQ(form.HeightWithList, 900);
  EXPECT_EQ(form.WinList.Height(), form.ClientHeight() - 245);
  // The user's drags are judged by the new minimum.
  const int wide = form.WindowRect().Width();
  tk.ResizeForm("Form1", wide, 435);
  EXPECT_EQ(Height(), 900);
  tk.ResizeForm("Form1", wide, 436);
  EXPECT_EQ(Height(), 436);

  ASSERT_TRUE(tk.Click("WListBtn"));
  EXPECT_EQ(Height(), 403);
  // Back at 96 DPI the list part shrinks again: 436 - 403 = 33 px are 22.
  tk.Get<SimFormPeer>("Form1").ChangeDpi(96);
  EXPECT_EQ(Height(), 269);
  ASSERT_TRUE(tk.Click("WListBtn"));
  EXPECT_EQ(Height(), 269 + 22);
  EXPECT_EQ(form.WindowRect().Width(), width);
}

}  // namespace
}  // namespace wakumo
