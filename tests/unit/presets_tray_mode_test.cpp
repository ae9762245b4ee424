// Tray mode: minimised, the main window lives as an icon in the notification
// area whose menu sizes and places the window that was in front when the
// pointer came onto the icon.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form_fixture.h"
#include "presets_fixture.h"

namespace wakumo::testing {
namespace {

using Strings = std::vector<std::string>;

constexpr Point kIconPoint{1262, 1010};
constexpr Point kAwayFromIcon{640, 500};
const Rect kTargetRect{100, 100, 500, 400};

class TrayModeTest : public PresetsFixture {
 protected:
  void StartWith(const std::string& ini) {
    platform.files.PutFile(kIniPath, ini);
    Start();
    desk.SetForeground(form->Handle());
    target = desk.Create({.class_name = "Notepad", .title = "memo.txt", .style = kOverlapped, .rect = kTargetRect});
  }
  void Minimise() { tk.Application().Minimize(); }
  WindowHandle IconWindow() const { return form->TrayIcon1->Registration().Record().hWnd; }
  void Report(std::uint32_t mouse_message) {
    desk.SetCursorPos(kIconPoint);
    platform.message_windows.SendMessage(IconWindow(), kTrayCallbackMessage, kTrayIconId, mouse_message);
  }
  // The pointer comes onto the icon while `front` is in front, after it
  // was away long enough for the icon to hear it leave.
  void EnterIcon(WindowHandle front) {
    desk.SetCursorPos(kAwayFromIcon);
    platform.clock.Advance(300);
    desk.SetForeground(front);
    Report(WM_MOUSEMOVE_);
  }
  // The right button opens the tray menu; the user chooses `entry` there.
  void Choose(const std::string& entry) {
    tk.ScriptMenuChoice(entry);
    Report(WM_RBUTTONDOWN_);
    Report(WM_RBUTTONUP_);
    EXPECT_EQ(tk.PendingMenuChoices(), 0u) << "the tray menu did not offer " << entry;
  }
  void DoubleClickIcon() {
    for (std::uint32_t m : {WM_LBUTTONDOWN_, WM_LBUTTONUP_, WM_LBUTTONDBLCLK_, WM_LBUTTONUP_}) Report(m);
    platform.message_windows.DispatchPosted();
    platform.clock.Advance(platform.system.DoubleClickTime());
  }
  void LeftClickIcon() {
    Report(WM_MOUSEMOVE_);
    Report(WM_LBUTTONDOWN_);
    Report(WM_LBUTTONUP_);
    platform.clock.Advance(platform.system.DoubleClickTime());
  }
  static Strings Captions(TMenuItem& sub) {
    Strings out;
    for (std::size_t i = 0; i < sub.Count(); ++i) out.push_back(sub.Item(i).Caption());
    return out;
  }
  // The indexes of the checked entries.
  static std::vector<int> Checked(TMenuItem& sub) {
    std::vector<int> out;
    for (std::size_t i = 0; i < sub.Count(); ++i) {
      if (sub.Item(i).Checked()) out.push_back(static_cast<int>(i));
    }
    return out;
  }
  bool MainShown() const { return desk.VisibleFlag(form->Handle()) && !desk.MinimisedFlag(form->Handle()); }
  std::size_t IconsShown() const { return platform.notify_area.VisibleIconCount(); }
  std::string TipShown() const {
    const SimNotifyArea::Icon* icon = platform.notify_area.Find(form->TrayIcon1->Registration().Record().hWnd, kTrayIconId);
    return icon ? icon->data.szTip : "<no icon>";
  }

  WindowHandle target = 0;
};

TEST_F(TrayModeTest, MinimisingSwapsTheWindowForTheIconMadeAsStored) {
  StartWith("[Bases]\r\n-8,0=Left\r\n[ShortCut]\r\nCaf\xE9=320,240,5,6\r\nBig=800,600,10,20\r\n");
  EXPECT_EQ(tk.FindPopupMenu("TrayMenu")->Items().Captions(),
            (Strings{"Set", "Undo", "-", "ショートカット", "サイズ", "左上座標", "リスト編集...", "-",
                     "バージョン情報...", "ヘルプ...", "終 了"}));
  EXPECT_TRUE(form->mTraySet->Default()) << "Set is the menu's bold default entry";
  EXPECT_FALSE(form->mTrayUndo->Default());
  EXPECT_EQ(form->TrayIcon1, nullptr) << "nothing of the shell is touched before the first minimise";
  EXPECT_EQ(platform.message_windows.WindowCount(), 0u);

  Minimise();
  ASSERT_NE(form->TrayIcon1, nullptr);
  TTrayIcon& icon = *form->TrayIcon1;
  EXPECT_EQ(IconsShown(), 1u);
  EXPECT_TRUE(icon.Visible());
  EXPECT_EQ(icon.TipHelp(), "TipHelp");
  EXPECT_EQ(icon.ResourceIconID(), -1);
  EXPECT_TRUE(icon.CheckSingleDoubleClick());
  EXPECT_EQ(icon.BalloonHelpTimeOut(), 0);
  EXPECT_TRUE(icon.ToolTipStyle().UseDefault());
  EXPECT_EQ(icon.RButtonPopupMenu(), &form->TrayMenu);
  EXPECT_FALSE(desk.VisibleFlag(form->Handle())) << "the taskbar button went with the window";
  EXPECT_EQ(desk.ShowWindowCalls().back(), (ShowWindowCall{form->Handle(), SW_HIDE_}));

  EXPECT_EQ(Captions(*form->mScutList), (Strings{"Caf〈E9〉", "Big"}));
  EXPECT_EQ(form->mScutList->Item(0).Data(), "Caf\xE9") << "the name's own bytes go along";
  EXPECT_EQ(form->mScutList->Item(1).Tag(), 1);
  EXPECT_EQ(Checked(*form->mScutList), std::vector<int>{});
  EXPECT_EQ(Captions(*form->mSizeList), (Strings{"120 x 60", "120 x 60", "256 x 256", "320 x 240", "640 x 480",
                                                 "800 x 600", "1024 x 768", "1280 x 1024", "1600 x 1200"}));
  EXPECT_EQ(form->mSizeList->Item(3).Hint(), "QVGA");
  EXPECT_EQ(Captions(*form->mBaseList),
            (Strings{"移動なし", "センタリング", "デスクトップ左上", "デスクトップ右上", "デスクトップ左下",
                     "デスクトップ右下", "-", "0 , 0", "-8 , 0"}));
  EXPECT_EQ(form->mBaseList->Item(8).Hint(), "Left");
  for (TMenuItem* sub : {form->mSizeList, form->mBaseList}) {
    for (std::size_t i = 0; i < sub->Count(); ++i) {
      SCOPED_TRACE(sub->Name() + " entry " + std::to_string(i));
      EXPECT_EQ(sub->Item(i).Tag(), static_cast<int>(i));
      EXPECT_EQ(sub->Item(i).RadioItem(), sub->Item(i).Caption() != "-");
    }
  }
}

TEST_F(TrayModeTest, TheSelectionsFollowTheMainWindowAtEachMinimise) {
  StartWith("");
  struct Row {
    const char* what;
    int auto_pos;
    bool base_chk;
    int want_base;
    const char* entry7;
  };
  const Row rows[] = {
      {"センタリング", 1, false, 1, "0 , 0"},
      {"左上： 100 , 50", 0, true, 7, "100 , 50"},
      {"neither", 0, false, 0, "100 , 50"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    tk.Application().Restore();
    if (form->BaseChk.Checked() != row.base_chk) {
      ASSERT_TRUE(tk.Click("BaseChk"));
    }
    if (row.base_chk) {
      ASSERT_TRUE(tk.TypeText("EdBaseX", "100"));
      ASSERT_TRUE(tk.TypeText("EdBaseY", "50"));
    }
    ASSERT_TRUE(tk.Select("AutoPos", row.auto_pos));
    ASSERT_TRUE(tk.TypeText("EdSizeX", "800"));
    Minimise();
    EXPECT_EQ(Checked(*form->mSizeList), std::vector<int>{0});
    EXPECT_EQ(form->mSizeList->Tag(), 0);
    EXPECT_EQ(form->mSizeList->Item(0).Caption(), "800 x 60") << "the current size, as the fields hold it";
    EXPECT_EQ(Checked(*form->mBaseList), std::vector<int>{row.want_base});
    EXPECT_EQ(form->mBaseList->Tag(), row.want_base);
    EXPECT_EQ(form->mBaseList->Item(7).Caption(), row.entry7);
  }
}

TEST_F(TrayModeTest, TheTooltipNamesTheSizeAndThePlacement) {
  StartWith("[Bases]\r\n-8,0=Left\r\n");
  Minimise();
  struct Row {
    const char* choose;  // in the tray menu; null: as minimised
    const char* tip;
  };
  const Row rows[] = {
      {nullptr, "サイズ:120x60/移動なし"},
      {"800 x 600", "サイズ:800x600/移動なし"},
      {"センタリング", "サイズ:800x600/センタリング"},
      {"デスクトップ右下", "サイズ:800x600/デスクトップ右下"},
      {"0 , 0", "サイズ:800x600/左上:0,0"},
      {"-8 , 0", "サイズ:800x600/左上:-8,0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.tip);
    if (row.choose) Choose(row.choose);
    EnterIcon(target);
    EXPECT_EQ(form->TrayIcon1->TipHelp(), row.tip);
    EXPECT_EQ(TipShown(), row.tip) << "the shell shows the new tip at once";
  }
}

TEST_F(TrayModeTest, AShortcutFillsTheCurrentEntriesButKeepsACentring) {
  StartWith("[ShortCut]\r\nSmall=640,480,10,20\r\nWide=1000,300,-5,7\r\n");
  Minimise();
  Choose("Small");
  EXPECT_EQ(form->mSizeList->Item(0).Caption(), "640 x 480");
  EXPECT_EQ(Checked(*form->mSizeList), std::vector<int>{0});
  EXPECT_EQ(form->mBaseList->Item(7).Caption(), "10 , 20");
  EXPECT_EQ(Checked(*form->mBaseList), std::vector<int>{7});
  EXPECT_EQ(form->mBaseList->Tag(), 7);
  EXPECT_EQ(Text("EdSizeX"), "120") << "the main window's fields stay as they were";
  EXPECT_EQ(Text("EdBaseX"), "0");

  Choose("256 x 256");
  Choose("センタリング");
  Choose("Wide");
  EXPECT_EQ(form->mSizeList->Item(0).Caption(), "1000 x 300");
  EXPECT_EQ(Checked(*form->mSizeList), std::vector<int>{0}) << "the size moves back to entry 0";
  EXPECT_EQ(form->mBaseList->Item(7).Caption(), "-5 , 7");
  EXPECT_EQ(Checked(*form->mBaseList), std::vector<int>{1}) << "the centring stays";
  EXPECT_EQ(form->mBaseList->Tag(), 1);
}

TEST_F(TrayModeTest, SetSizesAndPlacesTheWindowThatWasInFrontAndUndoPutsItBack) {
  StartWith("");
  Minimise();
  desk.ClearLogs();
  form->mTraySetClick();
  EXPECT_EQ(desk.SetWindowPosCalls(), Calls{}) << "Set before the pointer was ever on the icon";
  EXPECT_FALSE(form->mTrayUndo->Enabled()) << "nothing to undo yet";

  EnterIcon(target);
  desk.ClearLogs();
  DoubleClickIcon();
  EXPECT_EQ(desk.SetWindowPosCalls(), (Calls{{target, 0, 0, 0, 120, 60, kFront | SWP_NOMOVE_}}))
      << "移動なし: the size only";
  EXPECT_EQ(desk.ScreenRect(target), (Rect{100, 100, 220, 160}));
  EXPECT_TRUE(form->mTrayUndo->Enabled());
  EXPECT_FALSE(MainShown()) << "a double click stays in tray mode";

  Choose("デスクトップ右下");
  EXPECT_TRUE(desk.IsOwnProcessWindow(desk.Foreground())) << "the menu brought Wakumo to the front";
  EnterIcon(desk.Foreground());
  Choose("Set");
  EXPECT_EQ(desk.ScreenRect(target), (Rect{1160, 934, 1280, 994})) << "the work area's bottom-right corner";

  Choose("Undo");
  EXPECT_EQ(desk.ScreenRect(target), (Rect{100, 100, 220, 160}));
  EXPECT_TRUE(form->mTrayUndo->Enabled());
  Choose("Undo");
  EXPECT_EQ(desk.ScreenRect(target), kTargetRect);
  EXPECT_FALSE(form->mTrayUndo->Enabled()) << "the history is empty";
  EXPECT_FALSE(form->UndoBtn.Enabled());

  // A change made from the main window can be undone from the next tray mode.
  LeftClickIcon();
  form->TargetHandle = target;
  ASSERT_TRUE(tk.Click("SetBtn"));
  Minimise();
  EXPECT_TRUE(form->mTrayUndo->Enabled());
  Choose("Undo");
  EXPECT_EQ(desk.ScreenRect(target), kTargetRect);
}

TEST_F(TrayModeTest, OnlyAnOutsideWindowInFrontBecomesTheTarget) {
  StartWith("");
  const WindowHandle other = desk.Create({.class_name = "Other", .style = kOverlapped, .rect = {600, 100, 900, 300}});
  const WindowHandle menu_owner =
      desk.Create({.class_name = "WakumoUtilWindow", .style = WS_POPUP_, .visible = false, .own_process = true});
  const WindowHandle taskbar = desk.Create({.class_name = "Shell_TrayWnd", .style = WS_POPUP_, .rect = {0, 994, 1280, 1024}});
  Minimise();
  struct Row {
    const char* what;
    WindowHandle front;
    WindowHandle want;  // the window Set changes; 0: none
  };
  const Row rows[] = {
      {"another program's window", target, target},
      {"the tray menu's owner", menu_owner, target},
      {"the hidden main window", form->Handle(), target},
      {"the taskbar", taskbar, target},
      {"a second program's window", other, other},
      {"no window at all", 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EnterIcon(row.front);
    desk.ClearLogs();
    Choose("Set");
    const Calls calls = desk.SetWindowPosCalls();
    ASSERT_EQ(calls.size(), row.want ? 1u : 0u);
    if (row.want) {
      EXPECT_EQ(calls[0].window, row.want);
    }
  }

  // A remembered window that has closed since: nothing else is touched.
  EnterIcon(target);
  desk.Destroy(target);
  desk.ClearLogs();
  Choose("Set");
  for (const SetWindowPosCall& c : desk.SetWindowPosCalls()) EXPECT_EQ(c.window, target);
  EXPECT_EQ(desk.ScreenRect(other), (Rect{600, 100, 720, 160})) << "the second window keeps its last change";
}

TEST_F(TrayModeTest, ALeftClickRestoresTheWindowAndCarriesThePlacementBack) {
  StartWith("[ShortCut]\r\nSmall=640,480,10,20\r\n");
  Minimise();
  const int popups = tk.PopupCount();
  Report(WM_RBUTTONDOWN_);
  Report(WM_RBUTTONUP_);
  platform.clock.Advance(platform.system.DoubleClickTime());
  EXPECT_EQ(tk.PopupCount(), popups + 1);
  EXPECT_EQ(tk.LastPopupMenu(), "TrayMenu");
  EXPECT_FALSE(MainShown()) << "the right button does not leave tray mode";
  EXPECT_EQ(IconsShown(), 1u);

  struct Row {
    const char* choose;
    int auto_pos;
    bool base_chk;
  };
  const Row rows[] = {
      {"Small", 0, true},              // a position entry
      {"デスクトップ左下", 4, false},
      {"センタリング", 1, false},
      {"移動なし", 0, false},           // also takes a centring back
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.choose);
    Choose(row.choose);
    LeftClickIcon();
    EXPECT_TRUE(MainShown());
    EXPECT_EQ(desk.Foreground(), form->Handle());
    EXPECT_EQ(IconsShown(), 0u);
    EXPECT_FALSE(form->TrayIcon1->Visible());
    EXPECT_EQ(form->AutoPos.ItemIndex(), row.auto_pos);
    EXPECT_EQ(form->BaseChk.Checked(), row.base_chk);
    EXPECT_EQ(form->EdBaseX.Enabled(), row.base_chk);
    EXPECT_EQ((Strings{Text("EdSizeX"), Text("EdSizeY"), Text("EdBaseX"), Text("EdBaseY")}),
              (Strings{"120", "60", "0", "0"}))
        << "the tray's numbers are not copied";
    Minimise();
  }
}

TEST_F(TrayModeTest, WithoutAnIconTheMainWindowComesBackAndTheErrorShowsOnce) {
  StartWith("");
  struct Row {
    const char* what;
    std::uint32_t error;  // 0: the program's icon cannot be loaded
    const char* message;
  };
  // The missing icon first: once loaded, a shared icon stays.
  const Row rows[] = {
      {"no icon to show", 0, kCannotRegisterIconText},
      {"the shell refuses", 5, kCannotRegisterIconText},
      {"the shell stays busy", ERROR_TIMEOUT_, kCannotChangeIconText},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Restart();
    tk.Application().ClearMessages();
    if (row.error) {
      platform.notify_area.FailAlways(NotifyIconMessage::nimAdd, row.error);
      platform.notify_area.FailAlways(NotifyIconMessage::nimModify, row.error);
    } else {
      platform.icons.RemoveResource("MAINICON");
    }
    Minimise();
    EXPECT_TRUE(MainShown()) << "the window is back on the screen and in the taskbar";
    EXPECT_EQ(desk.Foreground(), form->Handle());
    EXPECT_EQ(Messages(), Strings{row.message});
    EXPECT_FALSE(form->TrayIcon1->Visible());
    EXPECT_EQ(IconsShown(), 0u);

    platform.notify_area.StopFailing();
    platform.icons.AddResource("MAINICON");
    Minimise();
    EXPECT_EQ(IconsShown(), 1u) << "the next minimise tries again";
    EXPECT_FALSE(desk.VisibleFlag(form->Handle()));
    EXPECT_EQ(Messages().size(), 1u);
  }
}

TEST_F(TrayModeTest, TheListEditorsOkRefreshesTheSubmenusWhileTheIconIsShown) {
  StartWith("");
  Minimise();
  Choose("センタリング");
  const Rect main = form->WindowRect();
  EXPECT_EQ(main, desk.RestoreRect(form->Handle())) << "a minimised window answers where it comes back to";
  tk.ScriptModal([&](SimFormPeer& dialog) {
    EXPECT_EQ(dialog.WindowRect().left, main.right + 2) << "beside the main window, not beside its icon";
    ASSERT_TRUE(tk.EditKey("Form4.SizeList", 0, "abc"));
    ASSERT_TRUE(tk.EditKey("Form4.SizeList", 1, "0x20000"));
    ASSERT_TRUE(tk.Click("Form4.Button7"));
  });
  Choose("リスト編集...");
  EXPECT_EQ(tk.PendingModalScripts(), 0u);
  const Strings sizes = Captions(*form->mSizeList);
  EXPECT_EQ(Strings(sizes.begin(), sizes.begin() + 4), (Strings{"120 x 60", "abc", "0x20000", "320 x 240"}));
  EXPECT_EQ(Checked(*form->mBaseList), std::vector<int>{0}) << "the selections are the main window's again";
  EXPECT_FALSE(MainShown());
  EXPECT_EQ(IconsShown(), 1u);

  // A preset that gives no numbers cannot be chosen; if it were selected,
  // the tooltip shows it as it stands and Set does nothing.
  EXPECT_FALSE(form->mSizeList->Item(1).Enabled());
  EXPECT_TRUE(form->mSizeList->Item(2).Enabled());
  form->mTraySizeClick(form->mSizeList->Item(1));
  EnterIcon(target);
  EXPECT_EQ(form->TrayIcon1->TipHelp(), "サイズ:abc/移動なし");
  desk.ClearLogs();
  Choose("Set");
  EXPECT_EQ(desk.SetWindowPosCalls(), Calls{});
  EXPECT_FALSE(form->mTrayUndo->Enabled()) << "nothing was recorded";

  // Numbers beyond the spinners' ranges are confined as the spinners would.
  Choose("0x20000");
  EnterIcon(target);
  EXPECT_EQ(form->TrayIcon1->TipHelp(), "サイズ:1x9999/移動なし");
  Choose("Set");
  EXPECT_EQ(desk.SetWindowPosCalls(), (Calls{{target, 0, 0, 0, 1, 9999, kFront | SWP_NOMOVE_}}));
}

TEST_F(TrayModeTest, EndingFromTheTrayWritesTheSettingsAsANormalClose) {
  const std::string ini = std::string(kDefaultIni).replace(std::string(kDefaultIni).find("WinPos=0"), 8,
                                                           "WinPos=200,150");
  StartWith(ini);
  Minimise();
  Choose("終 了");
  EXPECT_TRUE(tk.Application().Terminated());
  EXPECT_EQ(Ini(), ini) << "the position is where the window comes back to, not its icon's";
  EXPECT_EQ(IconsShown(), 0u) << "the icon goes with the program";
}

TEST_F(TrayModeTest, TheAboutAndHelpEntriesOpenWhatTheMainWindowsDo) {
  StartWith(std::string(kDefaultIni));
  Minimise();
  std::string version;
  tk.ScriptModal([&](SimFormPeer&) {
    version = form->AboutBox->Version.Caption();
    EXPECT_TRUE(tk.Click("AboutBox.OKButton"));
  });
  Choose("バージョン情報...");
  EXPECT_EQ(tk.PendingModalScripts(), 0u) << "the about box did not open";
  EXPECT_EQ(version, "1.74");

  Choose("ヘルプ...");
  ASSERT_EQ(platform.shell.Calls().size(), 1u);
  EXPECT_EQ(platform.shell.Calls()[0].target, form->HelpFilePath);
  EXPECT_EQ(IconsShown(), 1u) << "both leave tray mode as it was";
  EXPECT_FALSE(MainShown());
}

}  // namespace
}  // namespace wakumo::testing
