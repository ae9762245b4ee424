// Applying size and position to the target: the exact SetWindowPos calls for
// each kind of window and placement, and the controls around Set.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "form_fixture.h"

namespace wakumo {
namespace {

using ::testing::IsEmpty;

// The scene's flags, window style and call list.
using namespace testing;

class ApplyTest : public testing::FormFixture {};

TEST_F(ApplyTest, StandardPlacementMovesOnlyWithBaseChk) {
  Pick(app);
  ASSERT_EQ(form.TargetHandle, app);
  TypeSize(800, 600);
  TypeBase(30, 40);
  ASSERT_TRUE(tk.Click("BaseChk"));  // off again; the typed numbers stay

  // Without a top-left the window keeps its place; x and y ride along unused.
  EXPECT_EQ(Set(), (Calls{{app, 0, 30, 40, 800, 600, kFront | SWP_NOMOVE_}}));
  EXPECT_EQ(desk.ScreenRect(app), (Rect{100, 600, 900, 1200}));
  EXPECT_EQ(desk.Foreground(), app);

  ASSERT_TRUE(tk.Click("BaseChk"));
  EXPECT_EQ(Set(), (Calls{{app, 0, 30, 40, 800, 600, kFront}}));
  EXPECT_EQ(desk.ScreenRect(app), (Rect{30, 40, 830, 640}));
  EXPECT_THAT(desk.ShowWindowCalls(), IsEmpty());
}

TEST_F(ApplyTest, FrontChkDecidesRaisingAndActivation) {
  Pick(app);
  auto other = desk.Create({.class_name = "Other", .style = kOverlapped, .rect = {900, 100, 1200, 300}});
  const auto above = [&](WindowHandle a, WindowHandle b) {
    const auto z = desk.TopLevelWindows();
    return std::find(z.begin(), z.end(), a) < std::find(z.begin(), z.end(), b);
  };
  ASSERT_TRUE(above(other, app));
  TypeSize(600, 400);
  SetChecked("FrontChk", false);
  EXPECT_EQ(Set(), (Calls{{app, 0, 0, 0, 600, 400, kQuiet | SWP_NOMOVE_}}));
  EXPECT_EQ(desk.Foreground(), form.Handle());
  EXPECT_TRUE(above(other, app));

  SetChecked("FrontChk", true);
  EXPECT_EQ(Set(), (Calls{{app, 0, 0, 0, 600, 400, kFront | SWP_NOMOVE_}}));
  EXPECT_EQ(desk.Foreground(), app);
  EXPECT_TRUE(above(app, other));
}

TEST_F(ApplyTest, CentringHalvesTowardZero) {
  Pick(app);
  ASSERT_TRUE(tk.Select("AutoPos", 1));
  struct Row {
    const char* what;
    Rect work_area;
    int width, height;
    int x, y;
  } rows[] = {
      {"801 wide in 1024", {0, 0, 1024, 768}, 801, 600, 111, 84},
      {"wider than the area: -7 / 2 is -3", {0, 0, 1024, 768}, 1031, 775, -3, -3},
      {"area not at the origin", {100, 50, 1124, 818}, 801, 600, 211, 134},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    desk.SetWorkArea(row.work_area);
    TypeSize(row.width, row.height);
    EXPECT_EQ(Set(), (Calls{{app, 0, row.x, row.y, row.width, row.height, kFront}}));
  }
}

TEST_F(ApplyTest, CornersOfTheWorkArea) {
  desk.SetWorkArea({0, 0, 1280, 994});
  Pick(app);
  TypeSize(800, 600);
  struct Row {
    int index;
    int x, y;
  } rows[] = {{2, 0, 0}, {3, 480, 0}, {4, 0, 394}, {5, 480, 394}};
  for (const Row& row : rows) {
    SCOPED_TRACE(form.AutoPos.Items()[static_cast<std::size_t>(row.index)]);
    ASSERT_TRUE(tk.Select("AutoPos", row.index));
    EXPECT_EQ(Set(), (Calls{{app, 0, row.x, row.y, 800, 600, kFront}}));
  }
  // "デスクトップ右下": the window's bottom-right is the work area's.
  EXPECT_EQ(desk.ScreenRect(app), (Rect{480, 394, 1280, 994}));

  // An index beyond the table leaves x and y as passed, and still moves.
  desk.ClearLogs();
  form.ApplyWindowPos(app, 800, 600, 7, 8, 9, false);
  EXPECT_EQ(desk.SetWindowPosCalls(), (Calls{{app, 0, 7, 8, 800, 600, kFront}}));
}

TEST_F(ApplyTest, MaximisedTargetIsRestoredFirstAndUndoGivesTheRestoredRectangle) {
  desk.Maximise(app);
  form.TargetHandle = app;
  TypeSize(800, 600);
  EXPECT_EQ(Set(), (Calls{{app, 0, 0, 0, 800, 600, kFront | SWP_NOMOVE_}}));
  EXPECT_EQ(desk.ShowWindowCalls(), (std::vector<ShowWindowCall>{{app, SW_RESTORE_}}));
  // Sized after the restore: not maximised, at the restored top-left.
  EXPECT_FALSE(desk.IsZoomed(app));
  EXPECT_EQ(desk.ScreenRect(app), (Rect{100, 600, 900, 1200}));

  EXPECT_EQ(Undo(), (Calls{{app, 0, 100, 600, 520, 360, kFront}}));
  EXPECT_EQ(desk.ScreenRect(app), (Rect{100, 600, 620, 960}));
  EXPECT_FALSE(desk.IsZoomed(app));
}

TEST_F(ApplyTest, MinimisedTargetIsChangedWhereItIs) {
  desk.Minimise(app);
  form.TargetHandle = app;
  TypeSize(800, 600);
  EXPECT_EQ(Set(), (Calls{{app, 0, 0, 0, 800, 600, kFront | SWP_NOMOVE_}}));
  EXPECT_THAT(desk.ShowWindowCalls(), IsEmpty());
  EXPECT_TRUE(desk.IsIconic(app));
}

TEST_F(ApplyTest, DialogFrameKeepsItsSize) {
  auto dlg = desk.Create({.class_name = "#32770", .title = "Options", .style = WS_POPUP_ | WS_CAPTION_ | WS_SYSMENU_ | kSimWsDlgFrame,
                          .ex_style = WS_EX_DLGMODALFRAME_, .rect = {50, 50, 350, 250}});
  Pick(dlg);
  ASSERT_EQ(form.TargetHandle, dlg);
  TypeSize(800, 600);
  EXPECT_EQ(Set(), (Calls{{dlg, 0, 0, 0, 300, 200, kFront | SWP_NOSIZE_ | SWP_NOMOVE_}}));
  TypeBase(10, 20);
  EXPECT_EQ(Set(), (Calls{{dlg, 0, 10, 20, 300, 200, kFront | SWP_NOSIZE_}}));
  // Placements use the size it keeps.
  ASSERT_TRUE(tk.Select("AutoPos", 1));
  EXPECT_EQ(Set(), (Calls{{dlg, 0, 490, 397, 300, 200, kFront | SWP_NOSIZE_}}));
  EXPECT_EQ(desk.ScreenRect(dlg), (Rect{490, 397, 790, 597}));
}

TEST_F(ApplyTest, NoOpApplyStillEnablesUndo) {
  auto splash = desk.Create({.class_name = "Splash", .style = WS_POPUP_, .rect = {10, 10, 210, 110}});
  Pick(splash);
  ASSERT_EQ(form.TargetHandle, splash);
  SetChecked("FrontChk", false);
  TypeSize(800, 600);
  ASSERT_FALSE(form.UndoBtn.Enabled());
  EXPECT_EQ(Set(), (Calls{{splash, 0, 0, 0, 200, 100, kQuiet | SWP_NOSIZE_ | SWP_NOMOVE_}}));
  EXPECT_EQ(desk.ScreenRect(splash), (Rect{10, 10, 210, 110}));
  EXPECT_TRUE(form.UndoBtn.Enabled());
}

TEST_F(ApplyTest, ChildModeGrowsTheFrameByItsMarginsAndLandsTheClientTopLeft) {
  Pick(child, /*shift=*/true);
  ASSERT_TRUE(form.ChildMode);
  ASSERT_EQ(form.TargetHandle, child);
  TypeSize(640, 480);
  // 520 x 360 around 500 x 300: the frame becomes 660 x 540.
  EXPECT_EQ(Set(), (Calls{{app, 0, 0, 0, 660, 540, kFront | SWP_NOMOVE_}}));
  EXPECT_EQ(desk.ScreenRect(app), (Rect{100, 600, 760, 1140}));
  // The application lays its child out again, keeping the margins.
  desk.SetRect(child, {0, 0, 640, 480});

  TypeBase(0, 0);
  ASSERT_TRUE(tk.Click("ClientChk"));
  // The child sits 4, 22 inside the frame, so the frame goes to -4, -22.
  EXPECT_EQ(Set(), (Calls{{app, 0, 0, 0, 660, 540, kFront}, {app, 0, -4, -22, 660, 540, kFront}}));
  EXPECT_EQ(desk.ScreenRect(child).left, 0);
  EXPECT_EQ(desk.ScreenRect(child).top, 0);

  // Without ClientChk the frame's own top-left is meant.
  ASSERT_TRUE(tk.Click("ClientChk"));
  EXPECT_EQ(Set(), (Calls{{app, 0, 0, 0, 660, 540, kFront}}));
}

class ContainerTest : public testing::FormFixture {
 protected:
  ContainerTest() {
    frame = desk.Create({.class_name = "MDIFrame", .title = "Editor", .style = kOverlapped, .rect = {200, 100, 1000, 700}});
    mdi = desk.Create({.class_name = "MDIClient", .style = WS_CHILD_, .parent = frame, .rect = {0, 0, 780, 560}});
    doc = desk.Create({.class_name = "Doc", .title = "doc1", .style = WS_CHILD_ | kOverlapped, .parent = mdi,
                       .rect = {30, 40, 430, 340}});
    // 300 x 200 inside the document's 392 x 274 client area.
    field = desk.Create({.class_name = "Field", .style = WS_CHILD_, .parent = doc, .rect = {10, 10, 310, 210}});
  }
  Point InContainer(WindowHandle w) const {
    const Rect c = desk.ClientScreenRect(mdi);
    const Rect r = desk.ScreenRect(w);
    return {r.left - c.left, r.top - c.top};
  }
  WindowHandle frame = 0, mdi = 0, doc = 0, field = 0;
};

TEST_F(ContainerTest, DocumentWindowIsPlacedInTheContainersClientArea) {
  Pick(doc);
  ASSERT_EQ(form.TargetHandle, doc);
  TypeSize(400, 300);
  ASSERT_TRUE(tk.Select("AutoPos", 1));
  EXPECT_EQ(Set(), (Calls{{doc, 0, 190, 130, 400, 300, kFront}}));
  EXPECT_EQ(InContainer(doc), (Point{190, 130}));
  ASSERT_TRUE(tk.Select("AutoPos", 5));
  EXPECT_EQ(Set(), (Calls{{doc, 0, 380, 260, 400, 300, kFront}}));
  // A typed top-left is in the container's coordinates too.
  TypeBase(5, 6);
  EXPECT_EQ(Set(), (Calls{{doc, 0, 5, 6, 400, 300, kFront}}));
  EXPECT_EQ(InContainer(doc), (Point{5, 6}));
}

TEST_F(ContainerTest, ClientTopLeftOfAChildInsideADocumentWindow) {
  Pick(field, /*shift=*/true);
  ASSERT_EQ(form.TargetHandle, field);
  TypeSize(400, 300);
  TypeBase(10, 10);
  ASSERT_TRUE(tk.Click("ClientChk"));
  // Frame 400 x 300 around 300 x 200; the field sits 14, 32 inside it.
  EXPECT_EQ(Set(), (Calls{{doc, 0, 10, 10, 500, 400, kFront}, {doc, 0, -4, -22, 500, 400, kFront}}));
  EXPECT_EQ(InContainer(field), (Point{10, 10}));
}

TEST_F(ApplyTest, CheckBoxesAndPlacementExcludeEachOther) {
  EXPECT_FALSE(form.EdBaseX.Enabled());
  EXPECT_FALSE(form.BlstBtn.Enabled());

  ASSERT_TRUE(tk.Select("AutoPos", 3));
  ASSERT_TRUE(tk.Click("ClientChk"));
  EXPECT_TRUE(form.ClientChk.Checked());
  EXPECT_TRUE(form.BaseChk.Checked());
  EXPECT_EQ(form.AutoPos.ItemIndex(), 0);
  EXPECT_TRUE(form.EdBaseX.Enabled());
  EXPECT_TRUE(form.EdBaseY.Enabled());
  EXPECT_TRUE(form.BlstBtn.Enabled());

  ASSERT_TRUE(tk.Click("BaseChk"));
  EXPECT_FALSE(form.BaseChk.Checked());
  EXPECT_FALSE(form.ClientChk.Checked());
  EXPECT_FALSE(form.EdBaseX.Enabled());
  EXPECT_FALSE(form.BlstBtn.Enabled());

  ASSERT_TRUE(tk.Click("ClientChk"));
  ASSERT_TRUE(tk.Select("AutoPos", 2));
  EXPECT_FALSE(form.BaseChk.Checked());
  EXPECT_FALSE(form.ClientChk.Checked());
  EXPECT_FALSE(form.EdBaseX.Enabled());
  EXPECT_FALSE(form.EdBaseY.Enabled());
  EXPECT_EQ(form.AutoPos.ItemIndex(), 2);

  // "左上：" alone leaves the client box alone; "標準" changes nothing else.
  ASSERT_TRUE(tk.Click("BaseChk"));
  EXPECT_FALSE(form.ClientChk.Checked());
  EXPECT_EQ(form.AutoPos.ItemIndex(), 0);
  ASSERT_TRUE(tk.Select("AutoPos", 0));
  EXPECT_TRUE(form.BaseChk.Checked());
  EXPECT_TRUE(form.EdBaseX.Enabled());
}

TEST_F(ApplyTest, ImmediateApplyDisablesSetAndAppliesOnPick) {
  TypeSize(800, 600);
  ASSERT_TRUE(tk.Click("Timing"));
  EXPECT_FALSE(form.SetBtn.Enabled());

  desk.ClearLogs();
  Pick(app);
  EXPECT_EQ(desk.SetWindowPosCalls(), (Calls{{app, 0, 0, 0, 800, 600, kFront | SWP_NOMOVE_}}));
  EXPECT_TRUE(form.UndoBtn.Enabled());
  EXPECT_THAT(desk.Outlines(), IsEmpty());

  // A pick that chose nothing applies nothing.
  desk.ClearLogs();
  ASSERT_TRUE(tk.MouseDown("Image1", MouseButton::mbLeft, {}, {15, 15}));
  tk.MouseUpOnScreen(desk.CursorPos());
  EXPECT_THAT(desk.SetWindowPosCalls(), IsEmpty());

  ASSERT_TRUE(tk.Click("Timing"));
  EXPECT_TRUE(form.SetBtn.Enabled());
}

TEST_F(ApplyTest, SetIgnoresNoTargetAndOurOwnWindow) {
  TypeSize(800, 600);
  EXPECT_THAT(Set(), IsEmpty());  // no target yet

  ASSERT_TRUE(tk.MouseDown("Image1", MouseButton::mbLeft, {}, {15, 15}));
  tk.MouseUpOnScreen(desk.CursorPos());
  ASSERT_EQ(form.TargetHandle, form.OwnHandle);
  EXPECT_THAT(Set(), IsEmpty());

  // One of our own controls, picked with Shift: its frame is our window.
  Pick(form.EdSizeY.Handle(), /*shift=*/true);
  ASSERT_EQ(form.TargetHandle, form.EdSizeY.Handle());
  const Rect own = form.WindowRect();
  EXPECT_THAT(Set(), IsEmpty());
  EXPECT_EQ(form.WindowRect(), own);
  EXPECT_FALSE(form.UndoBtn.Enabled());
}

TEST_F(ApplyTest, NumbersAreTakenInConfinedToTheirRanges) {
  Pick(app);
  ASSERT_TRUE(tk.TypeText("EdSizeX", "12000"));
  // Text that is no number leaves the number as it was (60, from the first
  // built-in size preset); typed keys that are no part of a number never
  // reach the field.
  ASSERT_TRUE(tk.TypeText("EdSizeY", "abc"));
  TypeBase(0, 0);
  ASSERT_TRUE(tk.TypeText("EdBaseX", "-20000"));
  ASSERT_TRUE(tk.TypeText("EdBaseY", ""));
  ASSERT_TRUE(tk.TypeChars("EdBaseY", " 4a2 "));
  EXPECT_EQ(Set(), (Calls{{app, 0, -9999, 42, 9999, 60, kFront}}));
  EXPECT_EQ(form.EdSizeX.Text(), "9999");
  EXPECT_EQ(form.EdSizeY.Text(), "60");
  EXPECT_EQ(form.EdBaseX.Text(), "-9999");
  EXPECT_EQ(form.EdBaseY.Text(), "42");
}

TEST_F(ApplyTest, GetTakesTheStoredRectangleIntoTheNumbers) {
  TypeSize(111, 222);
  ASSERT_TRUE(tk.Click("GetBtn"));  // nothing shown yet: nothing taken
  EXPECT_EQ(form.EdSizeX.Text(), "111");
  EXPECT_EQ(form.EdSizeY.Text(), "222");

  Pick(app);
  ASSERT_TRUE(tk.Click("GetBtn"));
  EXPECT_EQ(form.EdBaseX.Text(), "100");
  EXPECT_EQ(form.EdBaseY.Text(), "600");
  EXPECT_EQ(form.EdSizeX.Text(), "520");
  EXPECT_EQ(form.EdSizeY.Text(), "360");
  EXPECT_FALSE(form.BaseChk.Checked());
  EXPECT_THAT(desk.SetWindowPosCalls(), IsEmpty());

  // A pick that drew no outline stores the empty marker.
  auto splash = desk.Create({.class_name = "Splash", .style = WS_POPUP_, .rect = {10, 10, 210, 110}});
  Pick(splash);
  ASSERT_EQ(form.TargetRect, kEmptyMarker);
  ASSERT_TRUE(tk.Click("GetBtn"));
  EXPECT_EQ(form.EdBaseX.Text(), "-1");
  EXPECT_EQ(form.EdBaseY.Text(), "-1");
  EXPECT_EQ(form.EdSizeX.Text(), "1");
  EXPECT_EQ(form.EdSizeY.Text(), "1");
}

TEST_F(ApplyTest, MaximiseSizeMenuSetsOnlyTheNumbers) {
  ASSERT_EQ(form.PopupMenu2.Count(), 3u);
  const struct {
    const char* name;
    const char* caption;
    int tag;
    const char* picture;
  } entries[] = {{"mHVmax", "最大", 3, "MAXBOTH"}, {"mVmax", "縦のみ", 1, "MAXVERT"}, {"mHmax", "横のみ", 2, "MAXHORZ"}};
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(entries[i].name);
    TMenuItem& item = form.PopupMenu2.Item(i);
    EXPECT_EQ(item.Name(), entries[i].name);
    EXPECT_EQ(item.Caption(), entries[i].caption);
    EXPECT_EQ(item.Tag(), entries[i].tag);
    EXPECT_EQ(tk.FindMenuItem(entries[i].name)->Picture(), entries[i].picture);
  }

  desk.SetWorkArea({0, 0, 1280, 994});
  TypeSize(300, 200);
  TypeBase(7, 8);
  ASSERT_TRUE(tk.Click("BaseChk"));
  tk.ScriptMenuChoice("縦のみ");
  ASSERT_TRUE(tk.Click("WsBtn"));
  EXPECT_EQ(tk.LastPopupMenu(), "PopupMenu2");
  EXPECT_EQ(tk.LastPopupPoint(), tk.Get("WsBtn").ClientToScreen({0, 0}));
  EXPECT_EQ(form.EdBaseY.Text(), "0");
  EXPECT_EQ(form.EdSizeY.Text(), "994");
  EXPECT_EQ(form.EdBaseX.Text(), "7");
  EXPECT_EQ(form.EdSizeX.Text(), "300");
  EXPECT_FALSE(form.BaseChk.Checked());
  EXPECT_THAT(desk.SetWindowPosCalls(), IsEmpty());

  desk.SetWorkArea({10, 20, 1210, 900});
  tk.ScriptMenuChoice("mHmax");
  ASSERT_TRUE(tk.Click("WsBtn"));
  EXPECT_EQ(form.EdBaseX.Text(), "10");
  EXPECT_EQ(form.EdSizeX.Text(), "1200");
  EXPECT_EQ(form.EdSizeY.Text(), "994");

  // A child target measures its parent's client area.
  Pick(child, /*shift=*/true);
  tk.ScriptMenuChoice("mHVmax");
  ASSERT_TRUE(tk.Click("WsBtn"));
  EXPECT_EQ(form.EdBaseX.Text(), "0");
  EXPECT_EQ(form.EdBaseY.Text(), "0");
  EXPECT_EQ(form.EdSizeX.Text(), "512");
  EXPECT_EQ(form.EdSizeY.Text(), "334");
}

TEST_F(ApplyTest, EnteringANumberFieldSelectsItsWholeText) {
  TypeSize(1234, 56);
  TypeBase(-789, 0);
  for (const char* name : {"EdSizeX", "EdSizeY", "EdBaseX"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(tk.SetFocusTo(name));
    EXPECT_EQ(tk.Get<SimEditPeer>(name).SelStart(), 0);
    EXPECT_EQ(tk.Get<SimEditPeer>(name).SelLength(), static_cast<int>(tk.Get(name).Caption().size()));
  }
}

}  // namespace
}  // namespace wakumo
