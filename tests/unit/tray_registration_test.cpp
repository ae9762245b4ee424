// The registration object: the record, the requests, the retry policy for a
// busy shell, the taskbar's restart and the routing of the hidden windows'
// messages.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tray/tray_text.h"
#include "tray_fixture.h"

namespace wakumo {
namespace {

using M = NotifyIconMessage;
const std::vector<M> kNone;

struct Registration : TrayFixture {
  std::unique_ptr<TTaskTrayIcon> icon;
  OwnerLog owner;

  TTaskTrayIcon& Make() {
    icon = std::make_unique<TTaskTrayIcon>(services);
    icon->SetIconHandle(platform.icons.ApplicationIcon());
    owner.taskbar_created = windows.RegisteredMessage(kTaskbarCreatedName);
    return *icon;
  }
};

TEST(TrayRegistration, ShowAddsOnceWithTheDescribedRecord) {
  Registration f;
  TTaskTrayIcon& t = f.Make();
  t.SetTipText("Wakumo");
  ASSERT_TRUE(t.Show());
  EXPECT_EQ(f.ShellMessages(), std::vector<M>{M::nimAdd});
  const NotifyIconData& sent = f.shell.Calls().at(0).data;
  EXPECT_EQ(sent.layout, NotifyIconLayout::kVersion2);
  EXPECT_EQ(sent.hWnd, t.Handle());
  EXPECT_EQ(f.windows.ClassOf(t.Handle()), "TaskTrayHandle");
  EXPECT_EQ(f.windows.ClassIcon("TaskTrayHandle"), "MAINICON");
  EXPECT_EQ(sent.uID, 1u);
  EXPECT_EQ(sent.uFlags, 7u);
  EXPECT_EQ(sent.uCallbackMessage, 1224u);
  EXPECT_EQ(sent.dwState, NIS_SHAREDICON_);
  EXPECT_EQ(sent.dwStateMask, 0u);
  EXPECT_EQ(sent.szTip, "Wakumo");
  EXPECT_TRUE(t.Added());
  EXPECT_TRUE(t.Shown());

  EXPECT_TRUE(t.Show()) << "already shown";
  EXPECT_EQ(f.shell.Calls().size(), 1u) << "Show on a shown icon must not ask the shell again";
}

TEST(TrayRegistration, NoIconHandleMeansNoShellCall) {
  Registration f;
  TTaskTrayIcon& t = f.Make();
  t.SetIconHandle(0);
  EXPECT_FALSE(t.Show());
  EXPECT_FALSE(t.Update());
  EXPECT_EQ(f.ShellMessages(), kNone);
  EXPECT_EQ(t.Record().uID, 1u) << "the record is filled all the same";
  EXPECT_NE(t.Record().hWnd, 0u);
  EXPECT_FALSE(t.Added());
}

TEST(TrayRegistration, HideAndShowKeepTheRegistrationOnShell5AndRedoItBelow) {
  struct Row {
    std::uint32_t major, minor;
    std::vector<M> hide_then_show;
    NotifyIconLayout layout;
  };
  const std::vector<Row> rows{{5, 0, {M::nimModify, M::nimModify}, NotifyIconLayout::kVersion2},
                              {6, 1, {M::nimModify, M::nimModify}, NotifyIconLayout::kVersion2},
                              {4, 71, {M::nimDelete, M::nimAdd}, NotifyIconLayout::kVersion1}};
  for (const Row& row : rows) {
    SCOPED_TRACE("shell " + std::to_string(row.major) + "." + std::to_string(row.minor));
    Registration f;
    f.UseShell(row.major, row.minor);
    TTaskTrayIcon& t = f.Make();
    ASSERT_TRUE(t.Show());
    EXPECT_EQ(f.shell.Calls().at(0).data.layout, row.layout);
    f.shell.ClearCalls();
    EXPECT_TRUE(t.Hide());
    EXPECT_FALSE(t.Shown());
    EXPECT_EQ(f.shell.VisibleIconCount(), 0u);
    EXPECT_TRUE(t.Show());
    EXPECT_EQ(f.ShellMessages(), row.hide_then_show);
    EXPECT_EQ(f.shell.VisibleIconCount(), 1u);
    if (row.major >= 5) {
      const NotifyIconData& hide = f.shell.Calls().at(0).data;
      EXPECT_EQ(hide.uFlags, NIF_STATE_);
      EXPECT_EQ(hide.dwState, NIS_HIDDEN_);
      EXPECT_EQ(hide.dwStateMask, 3u);
      const NotifyIconData& show = f.shell.Calls().at(1).data;
      EXPECT_EQ(show.uFlags, 15u);
      EXPECT_EQ(show.dwState, 0u);
      EXPECT_EQ(show.dwStateMask, 3u);
      EXPECT_TRUE(t.Added()) << "a hidden icon stays registered";
    }
  }
}

TEST(TrayRegistration, TimedOutAddThatLandedCostsOnePause) {
  Registration f;
  TTaskTrayIcon& t = f.Make();
  f.shell.FailNext(M::nimAdd, ERROR_TIMEOUT_, /*applied=*/true);
  EXPECT_TRUE(t.Show());
  EXPECT_EQ(f.ShellMessages(), (std::vector<M>{M::nimAdd, M::nimModify}));
  EXPECT_EQ(f.platform.clock.Sleeps(), std::vector<std::uint32_t>{2000});
  EXPECT_TRUE(t.Added());
  EXPECT_TRUE(t.Shown());
  EXPECT_EQ(f.shell.IconCount(), 1u);
}

TEST(TrayRegistration, TimeoutsAreRetriedUntilTheSeventhAddThenTheChangeErrorIsRaised) {
  Registration f;
  TTaskTrayIcon& t = f.Make();
  // Two lost adds: each retry's modify finds nothing, its add times out once more, then lands.
  f.shell.FailNext(M::nimAdd, ERROR_TIMEOUT_);
  f.shell.FailNext(M::nimAdd, ERROR_TIMEOUT_);
  EXPECT_TRUE(t.Show());
  EXPECT_EQ(f.ShellMessages(), (std::vector<M>{M::nimAdd, M::nimModify, M::nimAdd, M::nimModify, M::nimAdd}));
  EXPECT_EQ(f.platform.clock.SleptMs(), 4000u);
  ASSERT_TRUE(t.Delete());

  Registration g;
  TTaskTrayIcon& u = g.Make();
  g.shell.FailAlways(M::nimAdd, ERROR_TIMEOUT_);
  try {
    u.Show();
    ADD_FAILURE() << "a shell that keeps timing out must end in an error";
  } catch (const ENotifyIconError& e) {
    EXPECT_STREQ(e.what(), "タスクトレイのアイコンを変更できません。");
  }
  EXPECT_EQ(g.platform.clock.Sleeps(), std::vector<std::uint32_t>(6, 2000));
  EXPECT_EQ(g.platform.clock.NowMs(), 12000u);
  std::size_t adds = 0;
  for (M m : g.ShellMessages()) adds += m == M::nimAdd ? 1 : 0;
  EXPECT_EQ(adds, 7u);
  EXPECT_FALSE(u.Added());
  EXPECT_FALSE(u.Shown());
  g.shell.StopFailing();
  EXPECT_TRUE(u.Show()) << "a later Show starts again";
}

TEST(TrayRegistration, AnyOtherErrorRaisesTheRegistrationErrorAtOnce) {
  constexpr std::uint32_t kAccessDenied = 5;
  Registration f;
  TTaskTrayIcon& t = f.Make();
  f.shell.FailNext(M::nimAdd, kAccessDenied);
  try {
    t.Show();
    ADD_FAILURE() << "a refused add must raise";
  } catch (const ENotifyIconError& e) {
    EXPECT_STREQ(e.what(), "タスクトレイにアイコンを登録できません。");
  }
  EXPECT_EQ(f.platform.clock.Sleeps(), std::vector<std::uint32_t>{});
  EXPECT_FALSE(t.Added());
  EXPECT_FALSE(t.Shown());

  // A timeout, then a refusal: one pause, then the registration error.
  f.shell.FailNext(M::nimAdd, ERROR_TIMEOUT_);
  f.shell.FailNext(M::nimAdd, kAccessDenied);
  EXPECT_THROW(t.Show(), ENotifyIconError);
  EXPECT_EQ(f.platform.clock.Sleeps(), std::vector<std::uint32_t>{2000});
  EXPECT_FALSE(t.Shown());

  // The hidden window cannot be made: no icon could ever report a click.
  Registration g;
  g.windows.FailNextCreate();
  TTaskTrayIcon& u = g.Make();
  EXPECT_THROW(u.Show(), ENotifyIconError);
  EXPECT_EQ(g.ShellMessages(), kNone);
  EXPECT_TRUE(u.Show()) << "the window is made on the next try";
}

TEST(TrayRegistration, UpdateSendsTheRecordAndRegistersAForgottenIconWithoutRaising) {
  Registration f;
  TTaskTrayIcon& t = f.Make();
  EXPECT_TRUE(t.Update()) << "not shown yet: Update shows";
  EXPECT_EQ(f.ShellMessages(), std::vector<M>{M::nimAdd});
  f.shell.ClearCalls();

  t.SetTipText("new tip");
  EXPECT_TRUE(t.Update());
  EXPECT_EQ(f.ShellMessages(), std::vector<M>{M::nimModify});
  EXPECT_EQ(f.shell.Find(t.Handle(), 1)->data.szTip, "new tip");

  f.shell.ClearCalls();
  f.shell.FailNext(M::nimModify, ERROR_TIMEOUT_);
  EXPECT_TRUE(t.Update()) << "a timeout is not retried and changes nothing";
  EXPECT_EQ(f.ShellMessages(), std::vector<M>{M::nimModify});

  // The shell lost the icon: the modify is refused and the icon is added anew.
  f.shell.ClearCalls();
  ASSERT_TRUE(f.shell.NotifyIcon(M::nimDelete, t.Record()));
  f.shell.ClearCalls();
  EXPECT_TRUE(t.Update());
  EXPECT_EQ(f.ShellMessages(), (std::vector<M>{M::nimModify, M::nimAdd}));

  // And when that add is refused too, Update says so but does not raise.
  ASSERT_TRUE(f.shell.NotifyIcon(M::nimDelete, t.Record()));
  f.shell.FailAlways(M::nimAdd, 5);
  bool shown = true;
  EXPECT_NO_THROW(shown = t.Update());
  EXPECT_FALSE(shown);
  EXPECT_FALSE(t.Added());
}

TEST(TrayRegistration, TaskbarCreatedRegistersAnIconOnViewAgainAndForwardsIt) {
  Registration f;
  TTaskTrayIcon& t = f.Make();
  t.SetOwner(f.owner.Owner());
  ASSERT_TRUE(t.Show());
  f.shell.ClearCalls();
  f.shell.RestartTaskbar();
  EXPECT_EQ(f.ShellMessages(), std::vector<M>{M::nimAdd});
  EXPECT_EQ(f.shell.VisibleIconCount(), 1u);
  EXPECT_TRUE(t.Shown());
  EXPECT_EQ(f.owner.Take(), (Names{"restarted", "TaskbarCreated"}));

  // A hidden icon is only forgotten: the next Show adds a new one.
  ASSERT_TRUE(t.Hide());
  f.shell.ClearCalls();
  f.shell.RestartTaskbar();
  EXPECT_EQ(f.ShellMessages(), kNone);
  EXPECT_FALSE(t.Added());
  EXPECT_EQ(f.owner.Take(), (Names{"restarted", "TaskbarCreated"}));
  EXPECT_TRUE(t.Show());
  EXPECT_EQ(f.ShellMessages(), std::vector<M>{M::nimAdd});

  // A restart whose new registration is refused leaves the flags clear for
  // the owner to see, and raises nothing into the message loop.
  f.shell.FailAlways(M::nimAdd, 5);
  bool shown_when_heard = true;
  t.SetOwner([&](MessageRecord& r) {
    if (r.msg == kTaskbarRestartedMessage) shown_when_heard = t.Shown();
  });
  EXPECT_NO_THROW(f.shell.RestartTaskbar());
  EXPECT_FALSE(shown_when_heard);
}

TEST(TrayRegistration, TextsAreCutInBytesOfTheAnsiCodePage) {
  const std::string ascii200(200, 'x');
  std::string kana100;  // 200 bytes in Shift-JIS
  for (int i = 0; i < 100; ++i) kana100 += "あ";
  struct Row {
    std::uint32_t major;
    std::string tip;
    std::string expected;
  };
  const std::vector<Row> rows{
      {6, ascii200, std::string(127, 'x')},
      {4, ascii200, std::string(63, 'x')},
      // 63 characters take 126 bytes; the 64th would need bytes 127 and 128.
      {6, kana100, kana100.substr(0, 63 * 3)},
      {4, kana100, kana100.substr(0, 31 * 3)},
      // One byte before: the cut falls just before a lead byte.
      {4, "a" + kana100, "a" + kana100.substr(0, 31 * 3)},
      {4, "ab" + kana100, "ab" + kana100.substr(0, 30 * 3)},
      {4, "line 1\r\nline 2", "line 1 line 2"},
      {6, "line 1\r\nline 2", "line 1\r\nline 2"},
      {6, "", ""},
      // Characters the code page lacks become one "?" byte each.
      {4, std::string(62, 'x') + "\xF0\x9F\x98\x80" + "yz", std::string(62, 'x') + "\xF0\x9F\x98\x80"},
      {6, std::string("tip\0hidden", 10), "tip"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("shell " + std::to_string(row.major) + ", tip of " + std::to_string(row.tip.size()) + " bytes");
    Registration f;
    f.UseShell(row.major, 0);
    TTaskTrayIcon& t = f.Make();
    t.SetTipText(row.tip);
    EXPECT_EQ(t.TipText(), row.expected);
    ASSERT_TRUE(t.Show());
    EXPECT_EQ(f.shell.Calls().at(0).data.szTip, row.expected);
  }

  Registration f;
  TTaskTrayIcon& t = f.Make();
  t.SetBalloonTitle(ascii200);
  t.SetBalloonText(std::string(300, 'y'));
  EXPECT_EQ(t.BalloonTitle(), std::string(63, 'x'));
  EXPECT_EQ(t.BalloonText(), std::string(255, 'y'));
  t.SetBalloonTimeOut(5000);
  EXPECT_THROW(t.SetBalloonTimeOut(-1), std::out_of_range);
  EXPECT_EQ(t.BalloonTimeOut(), 5000);
  t.SetBalloonIcon(TBalloonIconType::bitError);
  EXPECT_EQ(t.Record().dwInfoFlags, 3u);
  EXPECT_EQ(t.Record().uFlags & NIF_INFO_, 0u) << "no balloon is ever asked for";
}

TEST(TrayRegistration, ShellVersionComesFromTheFileVersionOrDllGetVersion) {
  const std::vector<std::pair<std::string, std::uint32_t>> texts{
      {"4.72.3110.1", ShellVersionNumber(4, 72)}, {"6.00.2900.2180", ShellVersionNumber(6, 0)},
      {"5.0.3700.6705", ShellVersionNumber(5, 0)}, {"10.0.19041.1", ShellVersionNumber(10, 0)},
      {"", 0},      {"shell", 0},    {"6", 0},    {"6.", 0},    {".6", 0}};
  for (const auto& [text, version] : texts) {
    SCOPED_TRACE("\"" + text + "\"");
    EXPECT_EQ(ShellVersionFromFileVersion(text), version);
  }
  EXPECT_TRUE(IsShell5(ShellVersionNumber(5, 0)));
  EXPECT_FALSE(IsShell5(ShellVersionNumber(4, 72)));

  Registration f;
  f.shell.SetFileVersion("4.72.3110.1");
  f.shell.SetDllVersion(ShellDllVersion{6, 1});
  EXPECT_EQ(f.Make().ShellVersion(), ShellVersionNumber(6, 1)) << "DllGetVersion wins";
  f.icon.reset();
  f.shell.SetDllVersion(std::nullopt);
  EXPECT_EQ(f.Make().ShellVersion(), ShellVersionNumber(4, 72));
  f.icon.reset();
  f.shell.SetFileVersion(std::nullopt);
  EXPECT_EQ(f.Make().ShellVersion(), 0u);
  ASSERT_TRUE(f.icon->Show());
  EXPECT_EQ(f.shell.Calls().back().data.layout, NotifyIconLayout::kVersion1) << "an unknown shell gets the old record";
}

TEST(TrayRegistration, DoForegroundWindowBringsTheHiddenWindowForwardBeforeEachRequest) {
  Registration f;
  TTaskTrayIcon& t = f.Make();
  ASSERT_TRUE(t.Show());
  EXPECT_EQ(f.desk.CallCount("SetForegroundWindow"), 0);
  ASSERT_TRUE(t.Delete());
  t.SetDoForegroundWindow(true);
  f.shell.FailNext(M::nimAdd, ERROR_TIMEOUT_);
  ASSERT_TRUE(t.Show());  // add, then the retry's modify (refused) and add
  EXPECT_EQ(f.desk.CallCount("SetForegroundWindow"), 2);
  ASSERT_TRUE(t.Update());
  EXPECT_EQ(f.desk.CallCount("SetForegroundWindow"), 3);
}

TEST(TrayRegistration, DestroyingDeletesEvenAHiddenIconAndTheRegistryGoesWithTheLastObject) {
  Registration f;
  TTaskTrayIcon& t = f.Make();
  auto second = std::make_unique<TTaskTrayIcon>(f.services);
  ASSERT_TRUE(t.Show());
  ASSERT_TRUE(t.Hide());
  const WindowHandle w = t.Handle();
  f.shell.ClearCalls();
  f.icon.reset();
  EXPECT_EQ(f.ShellMessages(), std::vector<M>{M::nimDelete});
  EXPECT_EQ(f.shell.IconCount(), 0u);
  EXPECT_FALSE(f.windows.Exists(w));
  EXPECT_TRUE(f.services.HasRegistry()) << "another registration object still lives";
  EXPECT_TRUE(f.windows.ClassRegistered("TaskTrayHandle"));
  second.reset();
  EXPECT_FALSE(f.services.HasRegistry());
  EXPECT_FALSE(f.windows.ClassRegistered("TaskTrayHandle"));
  EXPECT_EQ(f.ShellMessages(), std::vector<M>{M::nimDelete}) << "an object never shown asks the shell nothing";
}

TEST(TrayRegistration, MessagesAreRoutedByWindowAndOthersGetDefaultProcessing) {
  Registration f;
  // Before the objects: their owners still hear the messages of their end.
  std::vector<std::uint32_t> first_saw, second_saw;
  TTaskTrayIcon& t = f.Make();
  TTaskTrayIcon other(f.services);
  t.SetOwner([&](MessageRecord& r) {
    first_saw.push_back(r.msg);
    if (r.msg == WM_USER_ + 1) r.result = 42;
  });
  other.SetOwner([&](MessageRecord& r) { second_saw.push_back(r.msg); });
  const WindowHandle w = t.Handle();
  const WindowHandle w2 = other.Handle();
  f.windows.ClearDefaultProcessed();

  EXPECT_EQ(f.windows.SendMessage(w, WM_USER_ + 1, 0, 0), 42);
  EXPECT_EQ(f.windows.SendMessage(w2, WM_USER_ + 2, 0, 0), 0);
  EXPECT_EQ(first_saw, std::vector<std::uint32_t>{WM_USER_ + 1});
  EXPECT_EQ(second_saw, std::vector<std::uint32_t>{WM_USER_ + 2});
  EXPECT_EQ(f.windows.DefaultProcessed(), std::vector<SimMessage>{}) << "an owner's messages get no default processing";

  // A window of the class that no registration object owns.
  const WindowHandle stray = f.windows.CreateWindow("TaskTrayHandle");
  ASSERT_NE(stray, 0u) << "its creation message must get the default answer";
  f.windows.ClearDefaultProcessed();
  f.windows.SendMessage(stray, WM_USER_ + 3, 7, 8);
  EXPECT_EQ(f.windows.DefaultProcessed(), (std::vector<SimMessage>{{stray, WM_USER_ + 3, 7, 8}}));
  f.windows.DestroyWindow(stray);

  // Without an owner, the object's own window gets the default processing.
  t.SetOwner(nullptr);
  f.windows.ClearDefaultProcessed();
  f.windows.SendMessage(w, WM_USER_ + 4, 0, 0);
  EXPECT_EQ(f.windows.DefaultProcessed(), (std::vector<SimMessage>{{w, WM_USER_ + 4, 0, 0}}));
}

}  // namespace
}  // namespace wakumo
