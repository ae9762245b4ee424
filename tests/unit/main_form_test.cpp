// The main window on the simulated desktop: start-up state, the frame-window
// rules and the pick state machine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "app/frame_window.h"
#include "form_fixture.h"

namespace wakumo {
namespace {

using ::testing::IsEmpty;

using testing::kOverlapped;

// The form fixture, with the sight's press, moves and release one at a time.
class MainFormTest : public testing::FormFixture {
 protected:
  void Press() { ASSERT_TRUE(tk.MouseDown("Image1", MouseButton::mbLeft, {}, {15, 15})); }
  void MoveTo(Point p, bool shift = false) { tk.MouseMoveOnScreen(p, ShiftState{.shift = shift}); }
  void Release(Point p) { tk.MouseUpOnScreen(p); }
};

TEST(FrameWindowTest, FindFrameWindowClimbsToTheInnermostFrame) {
  SimDesktop desk;
  auto dlg = desk.Create({.class_name = "#32770", .style = WS_POPUP_ | WS_CAPTION_ | WS_SYSMENU_, .rect = {10, 10, 310, 210}});
  auto button = desk.Create({.class_name = "Button", .style = WS_CHILD_, .parent = dlg, .rect = {5, 5, 80, 30}});
  EXPECT_EQ(FindFrameWindow(desk, button), dlg);
  EXPECT_EQ(FindFrameWindow(desk, dlg), dlg);
  EXPECT_EQ(FindFrameWindow(desk, 0), 0u);

  // A hidden or minimised sizable window in the chain is skipped.
  auto top = desk.Create({.class_name = "Top", .style = kOverlapped, .rect = {0, 0, 600, 500}});
  auto inner = desk.Create({.class_name = "Inner", .style = WS_CHILD_ | WS_THICKFRAME_, .parent = top, .rect = {0, 0, 300, 300}});
  auto leaf = desk.Create({.class_name = "Leaf", .style = WS_CHILD_, .parent = inner, .rect = {0, 0, 50, 50}});
  EXPECT_EQ(FindFrameWindow(desk, leaf), inner);
  desk.SetVisible(inner, false);
  EXPECT_EQ(FindFrameWindow(desk, leaf), top);
  desk.SetVisible(inner, true);
  desk.Minimise(inner);
  EXPECT_EQ(FindFrameWindow(desk, leaf), top);

  // No qualifying ancestor: the outermost window of the chain.
  auto bare = desk.Create({.class_name = "Bare", .style = WS_POPUP_, .rect = {0, 0, 100, 100}});
  auto bare_child = desk.Create({.class_name = "BareChild", .style = WS_CHILD_, .parent = bare, .rect = {0, 0, 10, 10}});
  EXPECT_EQ(FindFrameWindow(desk, bare_child), bare);
}

TEST(FrameWindowTest, IsSizableTargetRefusesTaskbarPopupsAndDialogFrames) {
  SimDesktop desk;
  struct Row {
    const char* what;
    const char* cls;
    std::uint32_t style;
    std::uint32_t ex_style;
    bool sizable;
  } rows[] = {
      {"taskbar, even with a sizing border", "Shell_TrayWnd", WS_POPUP_ | WS_THICKFRAME_, 0, false},
      {"popup without sizing border", "tooltips_class32", WS_POPUP_, 0, false},
      {"popup with sizing border", "Splash", WS_POPUP_ | WS_THICKFRAME_, 0, true},
      {"dialog frame", "#32770", WS_CAPTION_ | WS_SYSMENU_, WS_EX_DLGMODALFRAME_, false},
      {"overlapped without sizing border", "Fixed", WS_CAPTION_ | WS_SYSMENU_, 0, true},
      {"overlapped with sizing border", "Normal", kOverlapped, 0, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    auto w = desk.Create({.class_name = row.cls, .style = row.style, .ex_style = row.ex_style, .rect = {0, 0, 100, 100}});
    EXPECT_EQ(IsSizableTarget(desk, w), row.sizable);
  }
}

TEST_F(MainFormTest, StartsWithEmptyDisplayAndTheSightRegistered) {
  EXPECT_EQ(form.OwnHandle, form.Handle());
  EXPECT_EQ(form.TargetRect, kEmptyMarker);
  EXPECT_EQ(form.Label1.Caption(), "");
  EXPECT_EQ(form.Label2.Caption(), "");
  EXPECT_EQ(form.CurSize.Caption(), "");
  EXPECT_FALSE(form.UndoBtn.Enabled());
  EXPECT_FALSE(form.EdBaseX.Enabled());
  EXPECT_FALSE(form.EdBaseY.Enabled());
  EXPECT_EQ(form.ClientLED.Color(), clBtnShadow);
  EXPECT_EQ(tk.Screen().CursorResource(crSight), "MYCURSOR");
  EXPECT_EQ(form.ClientWidth(), 348);
  // The list part is cut off: the list's top (245) with the 18 px caption,
  // the 4 px frame and 2 px more.
  EXPECT_EQ(form.WindowRect().Height(), 269);
  EXPECT_EQ(form.HeightWithoutList, 269);
  EXPECT_EQ(form.MinHeightWithList, 291);
}

TEST_F(MainFormTest, AlwaysOnTopIsOnAtStartAndTwoClicksRestoreIt) {
  EXPECT_TRUE(form.TopChk->Checked());
  EXPECT_TRUE(form.StayOnTop());
  ASSERT_NE(tk.FindMenuItem("TopChk"), nullptr);
  tk.ChooseMenuItem("TopChk");
  EXPECT_FALSE(form.TopChk->Checked());
  EXPECT_FALSE(form.StayOnTop());
  tk.ChooseMenuItem("TopChk");
  EXPECT_TRUE(form.TopChk->Checked());
  EXPECT_TRUE(form.StayOnTop());
}

TEST_F(MainFormTest, PressAndReleaseWithoutMovingChoosesNothing) {
  Press();
  EXPECT_TRUE(form.Picking);
  EXPECT_EQ(desk.Capture(), form.Handle());
  EXPECT_EQ(tk.Screen().Cursor(), crSight);
  EXPECT_EQ(form.Pick.BevelOuter(), BevelKind::bvLowered);
  Release(desk.CursorPos());
  EXPECT_FALSE(form.Picking);
  EXPECT_EQ(desk.Capture(), 0u);
  EXPECT_EQ(tk.Screen().Cursor(), 0);
  EXPECT_EQ(form.Pick.BevelOuter(), BevelKind::bvRaised);
  EXPECT_EQ(form.TargetHandle, form.OwnHandle);
  EXPECT_EQ(form.Label1.Caption(), "");
  EXPECT_EQ(form.CurSize.Caption(), "");
  EXPECT_EQ(desk.XorDrawCount(), 0u);
  EXPECT_THAT(desk.SetWindowPosCalls(), IsEmpty());
}

TEST_F(MainFormTest, PickOutlinesASizableWindowOnceAndErasesItOnRelease) {
  Press();
  const Point p = Centre(child);
  MoveTo(p);
  ASSERT_EQ(form.TargetHandle, app);
  EXPECT_EQ(form.Label1.Caption(), "Notepad");
  EXPECT_EQ(form.Label2.Caption(), "memo.txt");
  EXPECT_EQ(form.CurSize.Caption(), "520 x 360");
  ASSERT_EQ(desk.Outlines().size(), 1u);
  EXPECT_EQ(desk.Outlines()[0], (Rect{100, 600, 620, 960}));

  // More moves over the same window change nothing and draw nothing.
  const long calls = desk.XorDrawCount();
  form.Label1.SetCaption("marker");
  MoveTo({p.x + 3, p.y + 2});
  MoveTo({p.x - 3, p.y - 2});
  EXPECT_EQ(desk.XorDrawCount(), static_cast<std::size_t>(calls));
  EXPECT_EQ(form.Label1.Caption(), "marker");
  form.Label1.SetCaption("Notepad");

  Release(p);
  EXPECT_THAT(desk.Outlines(), IsEmpty());
  EXPECT_EQ(form.TargetHandle, app);
  EXPECT_EQ(form.TargetRect, (Rect{100, 600, 620, 960}));
  EXPECT_EQ(form.CurSize.Caption(), "520 x 360");
}

TEST_F(MainFormTest, MovingBetweenWindowsKeepsAtMostOneOutline) {
  auto other = desk.Create({.class_name = "Other", .title = "two", .style = kOverlapped, .rect = {700, 100, 900, 300}});
  Press();
  MoveTo(Centre(app));
  MoveTo(Centre(other));
  ASSERT_EQ(desk.Outlines().size(), 1u);
  EXPECT_EQ(desk.Outlines()[0], (Rect{700, 100, 900, 300}));
  // Back over our own window: its frame is never outlined.
  MoveTo(Centre(form.Handle()));
  EXPECT_THAT(desk.Outlines(), IsEmpty());
  EXPECT_EQ(form.Label1.Caption(), "TForm1");
  Release(Centre(form.Handle()));
  EXPECT_EQ(form.TargetHandle, form.OwnHandle);
  EXPECT_THAT(desk.Outlines(), IsEmpty());
}

TEST_F(MainFormTest, TaskbarIsShownButNotOutlined) {
  auto bar = desk.Create({.class_name = "Shell_TrayWnd", .style = WS_POPUP_ | WS_THICKFRAME_, .rect = {0, 994, 1280, 1024}});
  Press();
  MoveTo({640, 1010});
  EXPECT_EQ(form.TargetHandle, bar);
  EXPECT_EQ(form.Label1.Caption(), "Shell_TrayWnd");
  EXPECT_EQ(form.CurSize.Caption(), "1280 x 30");
  EXPECT_EQ(desk.XorDrawCount(), 0u);
  Release({640, 1010});
  EXPECT_EQ(form.TargetHandle, bar);
  EXPECT_EQ(form.TargetRect, kEmptyMarker);
}

TEST_F(MainFormTest, ShiftPicksTheChildAndLettingGoSwitchesBackOnTheNextMove) {
  Press();
  const Point p = Centre(child);
  MoveTo(p, /*shift=*/true);
  EXPECT_TRUE(form.ChildMode);
  EXPECT_EQ(form.TargetHandle, child);
  EXPECT_EQ(form.ClientLED.Color(), clLime);
  EXPECT_EQ(form.Label1.Caption(), "Notepad");
  EXPECT_EQ(form.Label2.Caption(), "memo.txt");
  EXPECT_EQ(form.CurSize.Caption(), "500 x 300");
  ASSERT_EQ(desk.Outlines().size(), 1u);
  EXPECT_EQ(desk.Outlines()[0], desk.ScreenRect(child));

  MoveTo(p, /*shift=*/false);
  EXPECT_FALSE(form.ChildMode);
  EXPECT_EQ(form.TargetHandle, app);
  EXPECT_EQ(form.ClientLED.Color(), clBtnShadow);
  EXPECT_EQ(form.CurSize.Caption(), "520 x 360");
  ASSERT_EQ(desk.Outlines().size(), 1u);
  EXPECT_EQ(desk.Outlines()[0], desk.ScreenRect(app));

  MoveTo(p, /*shift=*/true);
  Release(p);
  EXPECT_TRUE(form.ChildMode);
  EXPECT_EQ(form.TargetHandle, child);
  EXPECT_EQ(form.TargetRect, desk.ScreenRect(child));
  EXPECT_THAT(desk.Outlines(), IsEmpty());
  // The next pick starts in child mode until its first move says otherwise.
  Press();
  EXPECT_EQ(form.Label1.Caption(), "");
  EXPECT_TRUE(form.ChildMode);
}

TEST_F(MainFormTest, DocumentWindowEndsInItsContainersClientCoordinates) {
  auto frame = desk.Create({.class_name = "MDIFrame", .title = "Editor", .style = kOverlapped, .rect = {200, 100, 1000, 700}});
  auto client = desk.Create({.class_name = "MDIClient", .style = WS_CHILD_, .parent = frame, .rect = {0, 0, 780, 560}});
  auto doc = desk.Create({.class_name = "Doc", .title = "doc1", .style = WS_CHILD_ | kOverlapped, .parent = client,
                          .rect = {30, 40, 430, 340}});
  Press();
  MoveTo(Centre(doc));
  ASSERT_EQ(form.TargetHandle, doc);
  EXPECT_EQ(form.Label2.Caption(), "doc1");
  EXPECT_EQ(desk.Outlines().size(), 1u);
  Release(Centre(doc));
  EXPECT_EQ(form.TargetRect, (Rect{30, 40, 430, 340}));
  EXPECT_THAT(desk.Outlines(), IsEmpty());
}

TEST_F(MainFormTest, LongTitleShowsItsFirst79Characters) {
  std::string title;
  for (int i = 0; i < 100; ++i) title += static_cast<char>('a' + i % 26);
  desk.SetTitle(app, title);
  Press();
  MoveTo(Centre(app));
  EXPECT_EQ(form.Label2.Caption(), title.substr(0, 79));
  // Japanese titles are cut by characters, not bytes.
  std::string jp;
  for (int i = 0; i < 90; ++i) jp += "あ";
  desk.SetTitle(app, jp);
  MoveTo(Centre(form.Handle()));
  MoveTo(Centre(app));
  EXPECT_EQ(form.Label2.Caption(), jp.substr(0, 79 * 3));
}

TEST_F(MainFormTest, NoWindowUnderTheCursorOutlinesNothing) {
  desk.SetVisible(form.Handle(), true);
  Press();
  MoveTo(Centre(app));
  MoveTo({1270, 20});  // bare desktop
  EXPECT_EQ(form.TargetHandle, 0u);
  EXPECT_THAT(desk.Outlines(), IsEmpty());
  EXPECT_EQ(form.CurSize.Caption(), "");
  Release({1270, 20});
  EXPECT_THAT(desk.Outlines(), IsEmpty());
}

}  // namespace
}  // namespace wakumo
