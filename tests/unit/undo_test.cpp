// The undo history and Undo: newest change first, across windows, with the
// container's position and the "前へ" box as they are at undo time.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/undo_list.h"
#include "form_fixture.h"

namespace wakumo {
namespace {

using ::testing::IsEmpty;

// The scene's flags, window style and call list.
using namespace testing;

TEST(UndoListTest, LastInFirstOut) {
  CUndoList list;
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_FALSE(list.Pop().has_value());
  list.Push({1, {0, 0, 10, 10}});
  list.Push({2, {5, 5, 20, 30}});
  list.Push({1, {-7, 3, 0, 9}});
  EXPECT_FALSE(list.IsEmpty());
  const WindowHandle handles[] = {1, 2, 1};
  const Rect rects[] = {{-7, 3, 0, 9}, {5, 5, 20, 30}, {0, 0, 10, 10}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    auto r = list.Pop();
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->Handle, handles[i]);
    EXPECT_EQ(r->Rect, rects[i]);
  }
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_FALSE(list.Pop().has_value());
}

TEST(UndoListTest, AMillionRecordsAreFreedWithoutRecursion) {
  // Freed node by node; a recursive teardown would overflow the stack here.
  auto list = std::make_unique<CUndoList>();
  for (int i = 0; i < 1'000'000; ++i) list->Push({static_cast<WindowHandle>(i), {i, i, i + 1, i + 1}});
  EXPECT_EQ(list->Pop()->Handle, 999'999u);
  list.reset();
}

class UndoTest : public testing::FormFixture {
 protected:
  // The picked app and then a second window B, each set to 400 x 300: two
  // records, B's newest. Gives B.
  WindowHandle SetAppThenAnother() {
    const WindowHandle b = desk.Create({.class_name = "B", .style = kOverlapped, .rect = {900, 50, 1100, 250}});
    TypeSize(400, 300);
    Pick(app);
    Set();
    Pick(b);
    Set();
    return b;
  }
};

TEST_F(UndoTest, ThreeAppliesThenThreeUndosRestoreTheFirstRectangle) {
  Pick(app);
  const int sizes[][4] = {{10, 20, 300, 200}, {40, 50, 640, 480}, {70, 80, 800, 600}};
  for (const auto& s : sizes) {
    TypeBase(s[0], s[1]);
    TypeSize(s[2], s[3]);
    Set();
  }
  EXPECT_EQ(Undo(), (Calls{{app, 0, 40, 50, 640, 480, kFront}}));
  EXPECT_TRUE(form.UndoBtn.Enabled());
  EXPECT_EQ(Undo(), (Calls{{app, 0, 10, 20, 300, 200, kFront}}));
  EXPECT_TRUE(form.UndoBtn.Enabled());
  EXPECT_EQ(Undo(), (Calls{{app, 0, 100, 600, 520, 360, kFront}}));
  EXPECT_EQ(desk.ScreenRect(app), (Rect{100, 600, 620, 960}));
  EXPECT_FALSE(form.UndoBtn.Enabled());

  // An empty history does nothing, even when asked directly.
  desk.ClearLogs();
  form.UndoBtnClick();
  EXPECT_THAT(desk.SetWindowPosCalls(), IsEmpty());
  EXPECT_FALSE(form.UndoBtn.Enabled());
}

TEST_F(UndoTest, NewestChangeFirstAcrossWindows) {
  const WindowHandle b = SetAppThenAnother();
  EXPECT_EQ(Undo(), (Calls{{b, 0, 900, 50, 200, 200, kFront}}));
  EXPECT_EQ(Undo(), (Calls{{app, 0, 100, 600, 520, 360, kFront}}));
  EXPECT_FALSE(form.UndoBtn.Enabled());
}

TEST_F(UndoTest, FrontChkAtUndoTimeDecides) {
  Pick(app);
  TypeSize(400, 300);
  Set();
  Set();
  SetChecked("FrontChk", false);
  desk.SetForeground(form.Handle());
  EXPECT_EQ(Undo(), (Calls{{app, 0, 100, 600, 400, 300, kQuiet}}));
  EXPECT_EQ(desk.Foreground(), form.Handle());
  SetChecked("FrontChk", true);
  EXPECT_EQ(Undo(), (Calls{{app, 0, 100, 600, 520, 360, kFront}}));
  EXPECT_EQ(desk.Foreground(), app);
}

TEST_F(UndoTest, DocumentWindowGoesBackByTheContainersPositionAtUndoTime) {
  auto frame = desk.Create({.class_name = "MDIFrame", .style = kOverlapped, .rect = {200, 100, 1000, 700}});
  auto mdi = desk.Create({.class_name = "MDIClient", .style = WS_CHILD_, .parent = frame, .rect = {0, 0, 780, 560}});
  auto doc = desk.Create({.class_name = "Doc", .style = WS_CHILD_ | kOverlapped, .parent = mdi, .rect = {30, 40, 430, 340}});
  Pick(doc);
  TypeSize(300, 200);
  TypeBase(0, 0);
  EXPECT_EQ(Set(), (Calls{{doc, 0, 0, 0, 300, 200, kFront}}));

  // Unmoved container: the document returns to its place inside it.
  EXPECT_EQ(Undo(), (Calls{{doc, 0, 30, 40, 400, 300, kFront}}));
  EXPECT_EQ(desk.LocalRect(doc), (Rect{30, 40, 430, 340}));

  // Moved by 50, 30 in between: the same screen place, another place inside.
  Set();
  desk.SetRect(frame, {250, 130, 1050, 730});
  EXPECT_EQ(Undo(), (Calls{{doc, 0, -20, 10, 400, 300, kFront}}));
  EXPECT_EQ(desk.ScreenRect(doc), (Rect{234, 162, 634, 462}));
}

TEST_F(UndoTest, UndoOfAClosedWindowConsumesItsRecord) {
  const WindowHandle b = SetAppThenAnother();
  desk.Destroy(b);
  EXPECT_EQ(Undo(), (Calls{{b, 0, 900, 50, 200, 200, kFront}}));
  EXPECT_TRUE(form.UndoBtn.Enabled());
  EXPECT_EQ(Undo(), (Calls{{app, 0, 100, 600, 520, 360, kFront}}));
  EXPECT_FALSE(form.UndoBtn.Enabled());
}

}  // namespace
}  // namespace wakumo
