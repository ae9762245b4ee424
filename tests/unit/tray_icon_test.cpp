// The tray icon component: its image and index rules, when the icon is
// present, its events and menus, the program's minimise and restore, the
// animation and its end.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tray/tray_icon.h"
#include "tray_fixture.h"
#include "ui/form.h"
#include "ui/menu.h"

namespace wakumo {
namespace {

using M = NotifyIconMessage;
const std::vector<M> kNone;

std::string ButtonName(MouseButton b) {
  return b == MouseButton::mbLeft ? "L" : b == MouseButton::mbRight ? "R" : "M";
}

std::string ShiftName(ShiftState s) {
  return std::string(s.left ? "l" : "") + (s.right ? "r" : "") + (s.middle ? "m" : "") + (s.shift ? "s" : "");
}

struct IconFixture : TrayFixture {
  TForm form{tk, "Form1"};
  std::unique_ptr<TTrayIcon> tray;
  std::vector<std::string> events;

  IconFixture() {
    form.Show();
    for (const char* name : {"ICON1", "ICON2", "ICON3"}) platform.icons.AddResource(name);
    Make();
  }
  void Make() {
    tray = std::make_unique<TTrayIcon>(services, tk, form.Handle());
    auto mouse = [this](const char* what) {
      return [this, what](MouseButton b, ShiftState s, int x, int y) {
        events.push_back(std::string(what) + " " + ButtonName(b) + " [" + ShiftName(s) + "] " + std::to_string(x) +
                         "," + std::to_string(y));
      };
    };
    auto note = [this](const char* what) { return [this, what] { events.push_back(what); }; };
    tray->OnMouseDown = mouse("down");
    tray->OnMouseUp = mouse("up");
    tray->OnMouseClick = mouse("click");
    tray->OnMouseMove = [this](ShiftState s, int x, int y) {
      events.push_back("move [" + ShiftName(s) + "] " + std::to_string(x) + "," + std::to_string(y));
    };
    tray->OnDblClick = note("dblclick");
    tray->OnRDblClick = note("rdblclick");
    tray->OnMouseEnter = note("enter");
    tray->OnMouseExit = note("exit");
    tray->OnRestartTaskbar = note("restart");
  }
  WindowHandle W() const { return tray->Registration().Record().hWnd; }
  // The resource of the image the shell shows now; "" when it holds none.
  std::string ShownImage() const {
    const SimNotifyArea::Icon* icon = shell.Find(W(), kTrayIconId);
    if (!icon || icon->hidden) return "";
    return platform.icons.ResourceOf(icon->data.hIcon);
  }
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(events);
    return out;
  }
};

TEST(TrayIcon, IntervalAndResourceIconIDFollowTheirRules) {
  IconFixture f;
  TTrayIcon& t = *f.tray;
  EXPECT_EQ(t.Interval(), 0u);
  t.SetInterval(20);
  EXPECT_EQ(t.Interval(), 50u);
  t.SetInterval(49);
  EXPECT_EQ(t.Interval(), 50u);
  t.SetInterval(100);
  EXPECT_EQ(t.Interval(), 100u);
  EXPECT_TRUE(t.HasAnimation());
  t.SetInterval(0);
  EXPECT_EQ(t.Interval(), 0u);
  EXPECT_EQ(f.platform.workers.RunHandOffs(), 1);
  EXPECT_EQ(f.ShellMessages(), kNone) << "a step that comes after Interval 0 does nothing";
  EXPECT_EQ(f.platform.workers.PausedCount(), 1u);

  EXPECT_EQ(t.ResourceIconID(), -1);
  t.SetResourceIconList({"ICON1", "ICON2", "ICON3"});
  EXPECT_EQ(f.ShownImage(), "MAINICON") << "index -1: the program's own icon";
  t.SetResourceIconID(10);
  EXPECT_EQ(t.ResourceIconID(), 2);
  EXPECT_EQ(f.ShownImage(), "ICON3");
  t.SetResourceIconID(-5);
  EXPECT_EQ(t.ResourceIconID(), -1);
  t.SetResourceIconID(1);
  f.shell.ClearCalls();
  t.SetResourceIconID(1);
  EXPECT_EQ(f.ShellMessages(), kNone) << "the index it has already";
  t.SetResourceIconID(0);
  f.shell.ClearCalls();
  t.Icon().LoadFromResource("ICON3");
  f.shell.ClearCalls();
  t.SetResourceIconID(0);
  EXPECT_TRUE(t.Icon().Empty()) << "0 again still drops the explicit icon";
  EXPECT_EQ(f.ShellMessages(), std::vector<M>{M::nimModify});
  EXPECT_EQ(f.ShownImage(), "ICON1");

  // A stored index past the list's end reads back as 0.
  IconFixture g;
  g.tray->BeginLoading();
  g.tray->SetResourceIconID(7);
  g.tray->SetResourceIconList({"ICON1", "ICON2"});
  EXPECT_EQ(g.tray->ResourceIconID(), 0);
  IconFixture h;
  h.tray->SetResourceIconList({"ICON1", "ICON2", "ICON3"});
  h.tray->SetResourceIconID(2);
  h.tray->SetResourceIconList({"ICON2"});
  EXPECT_EQ(h.tray->ResourceIconID(), 0);
  EXPECT_EQ(h.ShownImage(), "ICON2");
  h.tray->SetResourceIconList({});
  EXPECT_EQ(h.tray->ResourceIconID(), -1);
  EXPECT_EQ(h.ShownImage(), "MAINICON");
}

TEST(TrayIcon, AnExplicitIconWinsUntilAnIndexOrAnAnimationStepDropsIt) {
  IconFixture f;
  TTrayIcon& t = *f.tray;
  t.SetResourceIconList({"ICON1", "ICON2", "ICON3"});
  t.SetResourceIconID(0);
  TIcon own(f.platform.icons);
  ASSERT_TRUE(own.LoadFromResource("ICON3"));
  t.SetIcon(own);
  EXPECT_EQ(f.ShownImage(), "ICON3");
  EXPECT_FALSE(f.platform.icons.IsShared(t.Icon().Handle())) << "a copy of its own";
  t.SetResourceIconID(1);
  EXPECT_TRUE(t.Icon().Empty());
  EXPECT_EQ(f.ShownImage(), "ICON2");

  // The built-in step: the next index, back to 0 after the last, the explicit icon dropped.
  t.SetIcon(own);
  t.SetInterval(100);
  ASSERT_TRUE(t.HasAnimation());
  EXPECT_EQ(f.ShownImage(), "ICON3");
  EXPECT_EQ(f.platform.workers.RunHandOffs(), 1) << "the first step follows the resume at once";
  EXPECT_TRUE(t.Icon().Empty());
  EXPECT_EQ(t.ResourceIconID(), 2);
  EXPECT_EQ(f.ShownImage(), "ICON3");
  f.platform.clock.Advance(100);
  EXPECT_EQ(f.ShownImage(), "ICON1");
  f.platform.clock.Advance(100);
  EXPECT_EQ(f.ShownImage(), "ICON2");
  f.platform.clock.Advance(99);
  EXPECT_EQ(f.ShownImage(), "ICON2");

  // Hiding stops it; showing starts it again with a step at once.
  t.SetVisible(false);
  f.platform.clock.Advance(1000);
  EXPECT_EQ(t.ResourceIconID(), 1);
  t.SetVisible(true);
  f.platform.clock.Advance(1);
  f.platform.workers.RunHandOffs();
  EXPECT_EQ(t.ResourceIconID(), 2);

  // A handler in place of the built-in step, followed by a refresh.
  t.OnIconAnimation = [&t] { t.Icon().LoadFromResource("ICON1"); };
  f.shell.ClearCalls();
  f.platform.clock.Advance(100);
  EXPECT_EQ(f.ShownImage(), "ICON1");
  EXPECT_EQ(t.ResourceIconID(), 2);

  // No list and no explicit icon: the program's icon, and the step keeps -1.
  IconFixture g;
  g.tray->SetInterval(50);
  g.tray->ShowIcon();
  g.platform.workers.RunHandOffs();
  g.platform.clock.Advance(200);
  EXPECT_EQ(g.tray->ResourceIconID(), -1);
  EXPECT_EQ(g.ShownImage(), "MAINICON");

  f.tray.reset();
  g.tray.reset();
  EXPECT_EQ(f.platform.icons.OwnedCount(), 1u) << "only `own` is left";
  EXPECT_EQ(f.platform.icons.BadDestroys(), 0);
  EXPECT_EQ(g.platform.icons.BadDestroys(), 0);
}

TEST(TrayIcon, AMissingIconResourceShowsNothing) {
  IconFixture f;
  f.tray->BeginLoading();
  f.tray->SetResourceIconList({"NOSUCHICON"});
  f.tray->SetResourceIconID(0);
  f.tray->Loaded();
  EXPECT_EQ(f.ShellMessages(), kNone);
  EXPECT_FALSE(f.tray->Registration().Shown());
  EXPECT_TRUE(f.tray->Visible());
}

TEST(TrayIcon, MinimizedShowsTheIconOnlyWhileTheProgramIsMinimised) {
  IconFixture f;
  f.tray.reset();
  int earlier_minimize = 0;
  int earlier_restore = 0;
  f.tk.Application().SetOnMinimize([&] { ++earlier_minimize; });
  f.tk.Application().SetOnRestore([&] { ++earlier_restore; });
  f.Make();
  TTrayIcon& t = *f.tray;
  t.SetMinimized(true);
  t.SetTipHelp("tip");
  EXPECT_EQ(f.ShellMessages(), kNone) << "the program is on the screen";

  const WindowHandle other = f.desk.Create({.class_name = "Other", .rect = {0, 0, 100, 100}});
  f.tk.Application().Minimize();
  EXPECT_EQ(earlier_minimize, 1) << "the handler installed before is called";
  EXPECT_EQ(f.ShellMessages(), std::vector<M>{M::nimAdd});
  EXPECT_EQ(f.ShownImage(), "MAINICON");
  f.desk.SetForeground(other);
  f.tk.Application().Restore();
  EXPECT_EQ(earlier_restore, 1);
  EXPECT_EQ(f.ShownImage(), "");
  EXPECT_EQ(f.ShellMessages(), (std::vector<M>{M::nimAdd, M::nimModify})) << "hidden, still registered";
  EXPECT_EQ(f.desk.Foreground(), f.form.Handle()) << "the owning form comes to the front";

  // HideOnTaskBar: minimising hides the program's taskbar button.
  t.SetHideOnTaskBar(true);
  f.desk.ClearLogs();
  f.tk.Application().Minimize();
  EXPECT_EQ(f.desk.ShowWindowCalls(), (std::vector<ShowWindowCall>{{f.form.Handle(), SW_HIDE_}}));
  EXPECT_EQ(f.ShownImage(), "MAINICON");

  // A refused registration reaches the code that minimised: shown as a message.
  f.tk.Application().Restore();
  f.tray.reset();
  f.Make();
  f.tray->SetMinimized(true);
  f.shell.FailAlways(M::nimAdd, 5);
  f.shell.FailAlways(M::nimModify, 5);
  f.tk.Application().Minimize();
  EXPECT_EQ(f.tk.Application().Messages(), std::vector<std::string>{"タスクトレイにアイコンを登録できません。"});

  // The earlier handlers come back when the component goes.
  f.tray.reset();
  f.tk.Application().Restore();
  EXPECT_EQ(earlier_restore, 3);
}

TEST(TrayIcon, ShellReportsBecomeEventsWithTheCursorAndTheButtonsFlag) {
  IconFixture f;
  f.tray->SetCheckSingleDoubleClick(false);
  ASSERT_TRUE(f.tray->ShowIcon());
  const WindowHandle w = f.W();
  const Point p{1250, 1012};
  f.Report(w, WM_MOUSEMOVE_, p);
  EXPECT_EQ(f.Take(), (Names{"enter", "move [] 1250,1012"}));
  struct Row {
    std::uint32_t message;
    Names events;
  };
  const std::vector<Row> rows{
      {WM_LBUTTONDOWN_, {"down L [l] 1250,1012"}},
      {WM_LBUTTONUP_, {"click L [] 1250,1012", "up L [l] 1250,1012"}},
      {WM_RBUTTONDOWN_, {"down R [r] 1250,1012"}},
      {WM_RBUTTONUP_, {"click R [] 1250,1012", "up R [r] 1250,1012"}},
      {WM_MBUTTONDOWN_, {"down M [m] 1250,1012"}},
      {WM_MBUTTONUP_, {"click M [] 1250,1012", "up M [m] 1250,1012"}},
      {WM_LBUTTONDBLCLK_, {"dblclick"}},
      {WM_RBUTTONDBLCLK_, {"rdblclick"}},
      {WM_MBUTTONDBLCLK_, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("mouse message 0x" + std::to_string(row.message));
    f.Report(w, row.message, p);
    EXPECT_EQ(f.Take(), row.events);
  }
  // The double clicks' re-posted button-downs arrive as plain button-downs.
  f.windows.DispatchPosted();
  EXPECT_EQ(f.Take(), (Names{"down L [l] 1250,1012", "down R [r] 1250,1012", "down M [m] 1250,1012"}));
  f.windows.SendMessage(w, kTrayCallbackMessage, 9, kTrayClick);
  EXPECT_EQ(f.Take(), Names{}) << "no such button";

  EXPECT_EQ(f.windows.SendMessage(w, WM_QUERYENDSESSION_, 0, 0), 1) << "logging off may go ahead";

  f.desk.SetCursorPos({0, 0});
  f.platform.clock.Advance(100);
  EXPECT_EQ(f.Take(), Names{"exit"});
}

TEST(TrayIcon, AButtonDownPopsUpItsMenuWhenThereIsOne) {
  IconFixture f;
  TPopupMenu menu(f.tk, "TrayMenu");
  TMenuItem& set = menu.Add(f.tk, "mTraySet", "Set");
  int chosen = 0;
  set.OnClick = [&] { ++chosen; };
  f.tray->SetRButtonPopupMenu(&menu);
  ASSERT_TRUE(f.tray->ShowIcon());
  const WindowHandle w = f.W();
  const WindowHandle other = f.desk.Create({.class_name = "Other", .rect = {0, 0, 100, 100}});
  f.desk.SetForeground(other);

  f.tk.ScriptMenuChoice("Set");
  f.Report(w, WM_RBUTTONDOWN_, {1260, 1008});
  EXPECT_EQ(f.tk.PopupCount(), 1);
  EXPECT_EQ(f.tk.LastPopupPoint(), (Point{1260, 1008}));
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(f.desk.Foreground(), f.form.Handle()) << "the program comes forward first";
  EXPECT_EQ(f.tk.Application().ProcessMessagesCount(), 1);
  EXPECT_EQ(f.Take(), Names{}) << "no OnMouseDown for a button that pops up a menu";
  // The menu cannot be wanted for the left button, which has none.
  f.Report(w, WM_LBUTTONDOWN_, {1260, 1008});
  EXPECT_EQ(f.Take(), Names{"down L [l] 1260,1008"});

  f.tray->SetAutoPopup(false);
  f.Report(w, WM_RBUTTONDOWN_, {1260, 1008});
  EXPECT_EQ(f.tk.PopupCount(), 1);
  EXPECT_EQ(f.Take(), Names{"down R [r] 1260,1008"});

  // Both buttons on one menu, and the menu destroyed: both properties cleared.
  f.tray->SetAutoPopup(true);
  {
    TPopupMenu shared(f.tk, "Shared");
    f.tray->SetLButtonPopupMenu(&shared);
    f.tray->SetRButtonPopupMenu(&shared);
  }
  EXPECT_EQ(f.tray->LButtonPopupMenu(), nullptr);
  EXPECT_EQ(f.tray->RButtonPopupMenu(), nullptr);
  f.Report(w, WM_RBUTTONDOWN_, {1260, 1008});
  EXPECT_EQ(f.Take(), Names{"down R [r] 1260,1008"});
  f.tray->SetRButtonPopupMenu(&menu);
}

TEST(TrayIcon, TheTipGoesToTheShellAtOnceOnlyWhileTheIconIsWanted) {
  IconFixture f;
  TTrayIcon& t = *f.tray;
  EXPECT_EQ(t.TipHelp(), "TipHelp");
  ASSERT_TRUE(t.ShowIcon());
  f.shell.ClearCalls();
  t.SetTipHelp("サイズ:800x600/センタリング");
  EXPECT_EQ(f.ShellMessages(), std::vector<M>{M::nimModify});
  EXPECT_EQ(f.shell.Find(f.W(), 1)->data.szTip, "サイズ:800x600/センタリング");
  t.SetVisible(false);
  f.shell.ClearCalls();
  t.SetTipHelp("サイズ:640x480/左上:0,0");
  EXPECT_EQ(f.ShellMessages(), kNone);
  EXPECT_EQ(t.TipHelp(), "サイズ:640x480/左上:0,0");
  t.SetVisible(true);
  EXPECT_EQ(f.shell.Find(f.W(), 1)->data.szTip, "サイズ:640x480/左上:0,0");

  // Balloon settings only fill the record; a negative timeout is refused.
  t.SetBalloonHelpTimeOut(3000);
  EXPECT_THROW(t.SetBalloonHelpTimeOut(-10), std::out_of_range);
  EXPECT_EQ(t.BalloonHelpTimeOut(), 3000);
  t.SetBalloonHelpIcon(TBalloonIconType::bitWarning);
  EXPECT_EQ(t.BalloonHelpIcon(), TBalloonIconType::bitWarning);
  t.SetDoForegroundWindow(true);
  EXPECT_TRUE(t.Registration().DoForegroundWindow());
  TTrayIcon other(f.services, f.tk);
  other.ToolTipStyle().SetUseDefault(false);
  other.ToolTipStyle().SetBackGroundColor(clNavy);
  t.SetToolTipStyle(other.ToolTipStyle());
  EXPECT_FALSE(t.ToolTipStyle().UseDefault());
  EXPECT_EQ(t.ToolTipStyle().BackGroundColor(), clNavy);
}

TEST(TrayIcon, LoadingOnlyStoresUntilTheFormIsRead) {
  IconFixture f;
  TTrayIcon& t = *f.tray;
  t.BeginLoading();
  t.SetTipHelp("stored");
  t.SetResourceIconID(2);
  t.SetResourceIconList({"ICON1", "ICON2", "ICON3"});
  t.SetInterval(100);
  t.SetMinimized(false);
  EXPECT_EQ(f.ShellMessages(), kNone);
  EXPECT_EQ(f.platform.workers.CreatedCount(), 0);
  EXPECT_EQ(t.ResourceIconID(), 2) << "stored as it came, the list following later";
  t.Loaded();
  EXPECT_EQ(f.ShellMessages(), std::vector<M>{M::nimAdd});
  EXPECT_EQ(f.ShownImage(), "ICON3");
  EXPECT_TRUE(t.HasAnimation());

  IconFixture g;
  g.tray->BeginLoading();
  g.tray->SetVisible(false);
  g.tray->Loaded();
  EXPECT_EQ(g.ShellMessages(), kNone);
}

TEST(TrayIcon, ATaskbarRestartBringsTheIconBackAndRestartsTheAnimation) {
  IconFixture f;
  TTrayIcon& t = *f.tray;
  t.SetResourceIconList({"ICON1", "ICON2"});
  t.SetInterval(100);
  ASSERT_TRUE(t.HasAnimation());
  f.platform.workers.RunHandOffs();
  EXPECT_EQ(f.platform.workers.CreatedCount(), 1);
  f.Take();
  f.shell.RestartTaskbar();
  EXPECT_EQ(f.shell.VisibleIconCount(), 1u);
  EXPECT_EQ(f.Take(), Names{"restart"});
  EXPECT_EQ(f.platform.workers.CreatedCount(), 2);
  EXPECT_EQ(f.platform.workers.LiveCount(), 1u);
  const std::string before = f.ShownImage();
  f.platform.workers.RunHandOffs();
  EXPECT_NE(f.ShownImage(), before) << "the new thread steps the icon";
}

TEST(TrayIcon, EndingWithARunningAnimationAndPollerIsClean) {
  IconFixture f;
  f.tray->SetResourceIconList({"ICON1", "ICON2"});
  f.tray->SetInterval(50);
  f.Report(f.W(), WM_MOUSEMOVE_);
  f.platform.workers.RunHandOffs();
  f.platform.clock.Advance(250);
  EXPECT_EQ(f.platform.workers.LiveCount(), 2u);
  f.shell.ClearCalls();
  f.tray.reset();
  EXPECT_EQ(f.platform.workers.LiveCount(), 0u);
  EXPECT_EQ(f.ShellMessages(), (std::vector<M>{M::nimModify, M::nimDelete})) << "hidden, then deleted";
  EXPECT_EQ(f.shell.IconCount(), 0u);
  EXPECT_FALSE(f.services.HasRegistry());
  f.platform.clock.Advance(1000);

  // Ended by its own OnMouseExit, inside the poller's leave check, while the
  // animation has a step waiting.
  f.Make();
  f.tray->SetResourceIconList({"ICON1", "ICON2"});
  f.tray->SetInterval(50);
  f.tray->OnMouseExit = [&f] { f.tray.reset(); };
  f.Report(f.W(), WM_MOUSEMOVE_);
  f.desk.SetCursorPos({0, 0});
  f.platform.clock.Advance(100);
  EXPECT_EQ(f.tray, nullptr);
  EXPECT_EQ(f.platform.workers.LiveCount(), 0u);
  EXPECT_EQ(f.shell.IconCount(), 0u);
  f.platform.clock.Advance(1000);
  EXPECT_EQ(f.platform.workers.RunHandOffs(), 0);
}

}  // namespace
}  // namespace wakumo
