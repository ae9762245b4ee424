// The tooltip style: entering and leaving the icon, single clicks told from
// double clicks, the poller, the tooltip's colours and Assign.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tray/icon.h"
#include "tray_fixture.h"

namespace wakumo {
namespace {

struct StyleFixture : TrayFixture {
  OwnerLog owner;
  std::unique_ptr<TTaskTrayIcon> icon;
  WindowHandle w = 0;

  explicit StyleFixture(bool check_single_double_click = true, WindowHandle tooltip = 0) {
    platform.taskbar_tooltip.SetTooltip(tooltip);
    icon = std::make_unique<TTaskTrayIcon>(services);
    icon->SetIconHandle(platform.icons.ApplicationIcon());
    icon->SetOwner(owner.Owner());
    icon->ToolTipStyle().SetCheckSingleDoubleClick(check_single_double_click);
    EXPECT_TRUE(icon->Show());
    w = icon->Handle();
  }
  TToolTipStyle& Style() { return icon->ToolTipStyle(); }
  std::uint32_t DoubleClickTime() { return platform.system.DoubleClickTime(); }
};

TEST(TrayToolTipStyle, ClicksWithTheCheckWaitForTheDoubleClickTime) {
  StyleFixture f(true);
  f.Report(f.w, WM_MOUSEMOVE_);
  f.Click(f.w, WM_LBUTTONDOWN_, WM_LBUTTONUP_);
  EXPECT_EQ(f.owner.Take(), (Names{"enter", "move", "down L", "up L"}));
  EXPECT_TRUE(f.Style().ClickPending());
  EXPECT_TRUE(f.windows.TimerRunning(f.w, 7));
  f.platform.clock.Advance(f.DoubleClickTime() - 1);
  EXPECT_EQ(f.owner.Take(), Names{}) << "no click before the double-click time";
  f.platform.clock.Advance(1);
  EXPECT_EQ(f.owner.Take(), Names{"click L"});
  EXPECT_FALSE(f.windows.TimerRunning(f.w, 7));
  EXPECT_FALSE(f.Style().Pressed(MouseButton::mbLeft));

  // A double click: no click at all, and the re-posted button-down at the end.
  f.DoubleClick(f.w, WM_LBUTTONDOWN_, WM_LBUTTONUP_, WM_LBUTTONDBLCLK_);
  EXPECT_EQ(f.windows.DispatchPosted(), 1);
  f.platform.clock.Advance(f.DoubleClickTime() * 3);
  EXPECT_EQ(f.owner.Take(), (Names{"down L", "up L", "dblclk L", "up L", "down L (reposted)"}));
  EXPECT_FALSE(f.Style().ClickPending());

  // The right button the same way.
  f.Click(f.w, WM_RBUTTONDOWN_, WM_RBUTTONUP_);
  f.platform.clock.Advance(f.DoubleClickTime());
  f.DoubleClick(f.w, WM_RBUTTONDOWN_, WM_RBUTTONUP_, WM_RBUTTONDBLCLK_);
  f.windows.DispatchPosted();
  f.platform.clock.Advance(f.DoubleClickTime());
  EXPECT_EQ(f.owner.Take(), (Names{"down R", "up R", "click R", "down R", "up R", "dblclk R", "up R",
                                   "down R (reposted)"}));
}

TEST(TrayToolTipStyle, ClicksWithoutTheCheckComeAtOnceAndOnlyOncePerDoubleClick) {
  StyleFixture f(false);
  f.Report(f.w, WM_MOUSEMOVE_);
  f.owner.Take();
  f.Click(f.w, WM_LBUTTONDOWN_, WM_LBUTTONUP_);
  EXPECT_EQ(f.owner.Take(), (Names{"down L", "click L", "up L"}));
  f.DoubleClick(f.w, WM_LBUTTONDOWN_, WM_LBUTTONUP_, WM_LBUTTONDBLCLK_);
  f.windows.DispatchPosted();
  f.platform.clock.Advance(f.DoubleClickTime() * 2);
  EXPECT_EQ(f.owner.Take(), (Names{"down L", "click L", "up L", "dblclk L", "up L", "down L (reposted)"}));

  // The middle button: click, and a double click that the style turns into nothing more.
  f.Click(f.w, WM_MBUTTONDOWN_, WM_MBUTTONUP_);
  EXPECT_EQ(f.owner.Take(), (Names{"down M", "click M", "up M"}));
}

TEST(TrayToolTipStyle, ARepostedButtonDownNeverMarksAButtonPressed) {
  StyleFixture f(false);
  f.windows.SendMessage(f.w, kTrayCallbackMessage, kRepostedButtonDown, WM_LBUTTONDOWN_);
  EXPECT_FALSE(f.Style().Pressed(MouseButton::mbLeft));
  f.Report(f.w, WM_LBUTTONUP_);
  EXPECT_EQ(f.owner.Take(), (Names{"down L (reposted)", "up L"})) << "no click from a re-posted button-down";
}

TEST(TrayToolTipStyle, APendingClickIsReportedOnceForTheFirstPressedButton) {
  StyleFixture f(true);
  // Left pressed and released, then the right one while the click waits.
  f.Click(f.w, WM_LBUTTONDOWN_, WM_LBUTTONUP_);
  f.platform.clock.Advance(f.DoubleClickTime() / 2);
  f.Click(f.w, WM_RBUTTONDOWN_, WM_RBUTTONUP_);
  f.owner.Take();
  f.platform.clock.Advance(f.DoubleClickTime() / 2);
  EXPECT_EQ(f.owner.Take(), Names{"click L"}) << "the timer of the first release, not restarted";
  f.platform.clock.Advance(f.DoubleClickTime() * 2);
  EXPECT_EQ(f.owner.Take(), Names{});

  // Right pressed first, left released first: left still comes first.
  StyleFixture g(true);
  g.Report(g.w, WM_RBUTTONDOWN_);
  g.Report(g.w, WM_LBUTTONDOWN_);
  g.Report(g.w, WM_RBUTTONUP_);
  g.Report(g.w, WM_LBUTTONUP_);
  g.owner.Take();
  g.platform.clock.Advance(g.DoubleClickTime());
  EXPECT_EQ(g.owner.Take(), Names{"click L"});

  // A timer that cannot be made: no click, nothing pending, the button stays pressed.
  StyleFixture h(true);
  h.windows.FailNextSetTimer();
  h.Click(h.w, WM_LBUTTONDOWN_, WM_LBUTTONUP_);
  h.platform.clock.Advance(h.DoubleClickTime() * 2);
  EXPECT_EQ(h.owner.Take(), (Names{"down L", "up L"}));
  EXPECT_FALSE(h.Style().ClickPending());
  EXPECT_TRUE(h.Style().Pressed(MouseButton::mbLeft));
}

TEST(TrayToolTipStyle, TheCursorBoxGrowsToThirtyTwoPixelsAndThenStartsAgain) {
  StyleFixture f;
  const Point p = TrayFixture::kIconPoint;
  f.Report(f.w, WM_MOUSEMOVE_, p);
  f.Report(f.w, WM_MOUSEMOVE_, {p.x - 8, p.y + 3});
  f.Report(f.w, WM_MOUSEMOVE_, {p.x + 24, p.y - 29});
  EXPECT_EQ(f.Style().CursorBox(), (Rect{p.x - 8, p.y - 29, p.x + 24, p.y + 3}));
  EXPECT_EQ(f.owner.Take(), (Names{"enter", "move", "move", "move"})) << "one enter for moves inside the box";

  // One pixel more than 32 across: the box is the new point alone, and the cursor is still inside.
  const Point far{p.x + 25, p.y};
  f.Report(f.w, WM_MOUSEMOVE_, far);
  EXPECT_EQ(f.Style().CursorBox(), (Rect{far.x, far.y, far.x, far.y}));
  EXPECT_TRUE(f.Style().Inside());
  EXPECT_EQ(f.owner.Take(), Names{"move"});

  // A new registration starts with an empty box.
  ASSERT_TRUE(f.icon->Delete());
  ASSERT_TRUE(f.icon->Show());
  EXPECT_EQ(f.Style().CursorBox(), std::nullopt);
}

TEST(TrayToolTipStyle, LeavingTheBoxIsReportedWithinOnePollAndThePollerPauses) {
  const WindowHandle tooltip = SimTaskbarTooltip::kTooltipHandle;
  StyleFixture f(true, tooltip);
  EXPECT_EQ(f.Style().TooltipWindow(), tooltip);
  f.Style().SetUseDefault(false);
  f.Style().SetBackGroundColor(RGBColor(1, 2, 3));
  f.Style().SetTextColor(clWindowText);
  f.platform.taskbar_tooltip.SetSystemColor(8, RGBColor(9, 9, 9));
  const Point p = TrayFixture::kIconPoint;
  f.Report(f.w, WM_MOUSEMOVE_, p);
  f.Report(f.w, WM_MOUSEMOVE_, {p.x + 10, p.y + 10});
  EXPECT_EQ(f.windows.ForeignSends(),
            (std::vector<SimMessage>{{tooltip, TTM_SETTIPBKCOLOR_, RGBColor(1, 2, 3), 0},
                                     {tooltip, TTM_SETTIPTEXTCOLOR_, RGBColor(9, 9, 9), 0}}))
      << "colours go to the tooltip as RGB values, a system colour resolved first";
  f.windows.ClearForeignSends();
  EXPECT_EQ(f.platform.workers.LiveCount(), 1u);
  EXPECT_EQ(f.platform.workers.SleepingCount(), 1u);

  // Still inside (the box's edges count): the poller turns and finds nothing.
  f.desk.SetCursorPos({p.x + 10, p.y});
  f.platform.clock.Advance(300);
  EXPECT_EQ(f.owner.Take(), (Names{"enter", "move", "move"}));
  EXPECT_EQ(f.platform.workers.StepsRun(), 3);

  // Off the box: the next turn reports the leave, at most 100 ms later.
  f.platform.clock.Advance(50);
  f.desk.SetCursorPos({p.x + 11, p.y});
  f.platform.clock.Advance(49);
  EXPECT_EQ(f.owner.Take(), Names{});
  f.platform.clock.Advance(1);
  EXPECT_EQ(f.owner.Take(), Names{"leave"});
  EXPECT_FALSE(f.Style().Inside());
  EXPECT_EQ(f.windows.ForeignSends(),
            (std::vector<SimMessage>{{tooltip, TTM_POP_, 0, 0},
                                     {tooltip, TTM_SETTIPBKCOLOR_, RGBColor(255, 255, 225), 0},
                                     {tooltip, TTM_SETTIPTEXTCOLOR_, 0, 0}}));
  EXPECT_EQ(f.platform.workers.PausedCount(), 1u);
  const int steps = f.platform.workers.StepsRun();
  f.platform.clock.Advance(1000);
  EXPECT_EQ(f.platform.workers.StepsRun(), steps) << "a paused poller does not turn";

  // Coming back resumes the same poller.
  f.Report(f.w, WM_MOUSEMOVE_, p);
  EXPECT_EQ(f.owner.Take(), (Names{"enter", "move"}));
  EXPECT_EQ(f.platform.workers.CreatedCount(), 1);
  EXPECT_EQ(f.platform.workers.SleepingCount(), 1u);
}

TEST(TrayToolTipStyle, WithTheDefaultColoursOrNoTooltipNothingIsSentToTheTooltip) {
  StyleFixture f(true, SimTaskbarTooltip::kTooltipHandle);
  f.Report(f.w, WM_MOUSEMOVE_);
  f.desk.SetCursorPos({0, 0});
  f.platform.clock.Advance(100);
  EXPECT_EQ(f.owner.Take(), (Names{"enter", "move", "leave"}));
  EXPECT_EQ(f.windows.ForeignSends(), std::vector<SimMessage>{});

  StyleFixture g(true, 0);
  g.Style().SetUseDefault(false);
  g.Click(g.w, WM_LBUTTONDOWN_, WM_LBUTTONUP_);
  g.Report(g.w, WM_MOUSEMOVE_);
  g.desk.SetCursorPos({0, 0});
  g.platform.clock.Advance(g.DoubleClickTime());
  EXPECT_EQ(g.owner.Take(), (Names{"down L", "up L", "enter", "move", "leave", "click L"}));
  EXPECT_EQ(g.windows.ForeignSends(), std::vector<SimMessage>{});

  // A tooltip the taskbar makes later (with its first icon) is found at the next entering.
  const WindowHandle tooltip = SimTaskbarTooltip::kTooltipHandle;
  g.platform.taskbar_tooltip.SetTooltip(tooltip);
  g.Report(g.w, WM_MOUSEMOVE_);
  EXPECT_EQ(g.Style().TooltipWindow(), tooltip);
  EXPECT_EQ(g.windows.ForeignSends(), (std::vector<SimMessage>{{tooltip, TTM_SETTIPBKCOLOR_, clBlack, 0},
                                                               {tooltip, TTM_SETTIPTEXTCOLOR_, RGBColor(8, 8, 8), 0}}))
      << "the default text colour, clWindowText, resolved";
}

TEST(TrayToolTipStyle, EndingNeverWaitsForeverAndDropsAnUnrunLeaveCheck) {
  {
    // The poller asleep.
    StyleFixture f;
    f.Report(f.w, WM_MOUSEMOVE_);
    EXPECT_EQ(f.platform.workers.SleepingCount(), 1u);
    f.icon.reset();
    EXPECT_EQ(f.platform.workers.LiveCount(), 0u);
  }
  {
    // A leave check handed over while the loop is busy: never run.
    StyleFixture f;
    f.platform.workers.SetRunHandOffsAtOnce(false);
    f.Report(f.w, WM_MOUSEMOVE_);
    f.desk.SetCursorPos({0, 0});
    f.platform.clock.Advance(100);
    EXPECT_EQ(f.platform.workers.PendingHandOffs(), 1u);
    f.owner.Take();
    f.icon.reset();
    EXPECT_EQ(f.platform.workers.LiveCount(), 0u);
    EXPECT_EQ(f.platform.workers.RunHandOffs(), 0);
    EXPECT_EQ(f.owner.Take(), Names{}) << "no leave reported by an ended style";
  }
  {
    // Ended from inside its own leave check, by the owner that hears the leave.
    StyleFixture f;
    f.icon->SetOwner([&f](MessageRecord& r) {
      if (r.msg == kTrayCallbackMessage && r.lparam == kTrayMouseLeft) f.icon.reset();
    });
    f.Report(f.w, WM_MOUSEMOVE_);
    f.desk.SetCursorPos({0, 0});
    f.platform.clock.Advance(100);
    EXPECT_EQ(f.icon, nullptr);
    EXPECT_EQ(f.platform.workers.LiveCount(), 0u);
    EXPECT_EQ(f.shell.IconCount(), 0u);
    f.platform.clock.Advance(1000);
  }
}

TEST(TrayToolTipStyle, ColoursByIndexAndAssign) {
  StyleFixture f;
  TToolTipStyle& s = f.Style();
  EXPECT_TRUE(s.UseDefault());
  EXPECT_EQ(s.BackGroundColor(), clBlack);
  EXPECT_EQ(s.TextColor(), clWindowText);
  EXPECT_TRUE(s.CheckSingleDoubleClick());
  s.SetColor(1, clNavy);
  s.SetColor(2, clLime);
  s.SetColor(3, clWhite);
  EXPECT_EQ(s.GetColor(1), clNavy);
  EXPECT_EQ(s.GetColor(2), clLime);
  EXPECT_EQ(s.GetColor(3), 0u);
  EXPECT_EQ(s.GetColor(0), 0u);

  TTaskTrayIcon other(f.services);
  TToolTipStyle& source = other.ToolTipStyle();
  source.SetUseDefault(false);
  source.SetBackGroundColor(clSilver);
  source.SetTextColor(clBlue);
  source.SetCheckSingleDoubleClick(false);
  s.Assign(source);
  EXPECT_FALSE(s.UseDefault());
  EXPECT_EQ(s.BackGroundColor(), clSilver);
  EXPECT_EQ(s.TextColor(), clBlue) << "the text colour is copied too";
  EXPECT_TRUE(s.CheckSingleDoubleClick()) << "not a setting of the style";

  TIcon icon(f.platform.icons);
  try {
    s.Assign(icon);
    ADD_FAILURE() << "an icon is no tooltip style";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "TIcon を TToolTipStyle に代入することはできません");
  }
  EXPECT_EQ(s.BackGroundColor(), clSilver);
}

}  // namespace
}  // namespace wakumo
