// Tray mode under Wine, with a Wakumo of its own and a target window of
// another process: Wakumo's own minimise command swaps its window and
// taskbar button for an icon at the taskbar's right end; the icon's double
// click and menu size and place the window that was in front when the
// pointer came onto the icon; a left click brings Wakumo back; "終 了" from
// the tray writes the settings as a normal close does.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "context.h"
#include "foreign.h"
#include "form_ops.h"
#include "popups.h"
#include "settings_ops.h"

namespace e2e {

namespace {

// Clear of each other: clicks on either land on the window meant.
constexpr LONG kMainLeft = 300, kMainTop = 200;
const RECT kTargetStart{760, 120, 1160, 420};

// Entries of the tray menu and of its placement submenu, as offsets of their
// middle from the menu's top, by the entries and separators above them
// (3-px border, 17-px entries, 9-px separators in Wine's default theme).
constexpr int kEntry = 17, kSeparator = 9, kBorder = 3;
constexpr int Middle(int entries, int separators) { return kBorder + entries * kEntry + separators * kSeparator + 8; }
constexpr int kSetEntry = Middle(0, 0);
constexpr int kUndoEntry = Middle(1, 0);
constexpr int kBaseListEntry = Middle(4, 1);
constexpr int kAboutEntry = Middle(6, 2);
constexpr int kExitEntry = Middle(8, 2);
constexpr int kTrayMenuHeight = 2 * kBorder + 9 * kEntry + 2 * kSeparator;
constexpr int kBottomRightEntry = Middle(5, 0);

RECT WorkArea() {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

// The taskbar's right end, where the shell shows notification icons.
RECT TrayArea() {
  const RECT work = WorkArea();
  const LONG sw = GetSystemMetrics(SM_CXSCREEN);
  return {sw - 240, work.bottom, sw, GetSystemMetrics(SM_CYSCREEN)};
}

// Wine's taskbar shows one owner-drawn button per window, a child of the
// taskbar whose id is the window's handle; nothing when it shows none
// (another shell draws its buttons itself).
std::optional<bool> HasTaskbarButton(HWND window) {
  const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (!taskbar) return std::nullopt;
  struct Search {
    HWND window;
    bool buttons = false;
    bool found = false;
  } s{window};
  EnumChildWindows(
      taskbar,
      [](HWND child, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (ClassName(child) != L"Button") return TRUE;
        s->buttons = true;
        if (IsWindowVisible(child) && GetWindowLongPtrW(child, GWLP_ID) == reinterpret_cast<LONG_PTR>(s->window))
          s->found = true;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  if (!s.buttons) return std::nullopt;
  return s.found;
}

// A point of the window's minimise button, found by asking the window what
// lies under points along its caption.
POINT MinimiseButton(HWND window) {
  const RECT r = WindowRect(window);
  const int y = r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  for (LONG x = r.right - 2; x > r.left; --x) {
    DWORD_PTR hit = 0;
    SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 3000, &hit);
    if (hit == HTMINBUTTON) return {x - 3, y};
  }
  Fail("no minimise button along the caption of " + Quoted(WindowText(window)) + " " + RectText(r));
}

class TrayCase {
 public:
  explicit TrayCase(Context& c) : c_(c) {}

  void Run() {
    StartWakumo(c_, L"tray", DefaultFileText(Format("%ld,%ld", kMainLeft, kMainTop)));
    main_ = c_.wakumo.main();
    main_rect_ = WindowRect(main_);
    if (main_rect_.left != kMainLeft || main_rect_.top != kMainTop)
      Fail("WinPos=" + Format("%ld,%ld", kMainLeft, kMainTop) + ": the main window starts at " + RectText(main_rect_));
    std::string error;
    if (!target_.Start(kTargetStart, error)) Fail(error);
    TypeInto(c_, L"EdSizeX", "320");
    TypeInto(c_, L"EdSizeY", "240");
    empty_tray_ = ScreenArea::Capture(TrayArea());

    Minimise("first minimise");
    const RECT at_start = WindowRect(target_.window());
    BringTargetForward();
    c_.input->MoveTo({icon_centre_.x - 300, icon_centre_.y - 300});
    c_.input->DoubleClick(icon_centre_);
    ExpectWindowRect(target_.window(), MakeRect(at_start.left, at_start.top, 320, 240),
                     "a double click on the icon: the current size, no move");
    const RECT sized = WindowRect(target_.window());

    ChooseBottomRight();
    ChooseFromTrayMenu(kSetEntry, "Set");
    const RECT work = WorkArea();
    ExpectWindowRect(target_.window(), {work.right - 320, work.bottom - 240, work.right, work.bottom},
                     "Set with デスクトップ右下");
    ChooseFromTrayMenu(kUndoEntry, "Undo");
    ExpectWindowRect(target_.window(), sized, "the tray's Undo");
    AboutFromTray();

    LeftClickRestores();
    Minimise("second minimise");
    EndFromTray();
  }

 private:
  void Minimise(const std::string& what) {
    c_.input->Click(MinimiseButton(main_));
    if (!PollUntil([&] { return !IsWindowVisible(main_); }, kTextDeadlineMs))
      Fail(what + ": the main window is still shown; Wakumo's windows: " + VisibleWindowsOf(c_.wakumo.process_id()));
    if (!HasTaskbarButton(main_)) {
      Log("  (" + what + ": the taskbar's buttons are not windows here; the hidden window has none)");
    } else if (!PollUntil([&] { return !HasTaskbarButton(main_).value_or(false); }, kTextDeadlineMs)) {
      Fail(what + ": the taskbar still shows a button for the main window");
    }
    RECT icon{};
    if (!PollUntil([&] { return !IsEmptyRect(icon = ChangedBox(empty_tray_, ScreenArea::Capture(TrayArea()))); },
                   kTextDeadlineMs))
      Fail(what + ": no icon appeared at the taskbar's right end " + RectText(TrayArea()));
    const LONG w = icon.right - icon.left, h = icon.bottom - icon.top;
    if (w < 8 || w > 32 || h < 8 || h > 32) Fail(what + ": the change at the taskbar's right end is not an icon: " + RectText(icon));
    icon_centre_ = Centre(icon);
    Log("  " + what + ": icon at " + RectText(icon));
  }

  // The user clicks the target, which comes to the front.
  void BringTargetForward() {
    RECT client{};
    GetClientRect(target_.window(), &client);
    c_.input->Click(ScreenPoint(target_.window(), client.right / 2, client.bottom / 2));
    target_.RaiseItself();
    if (!PollUntil([&] { return GetForegroundWindow() == target_.window(); }, kTextDeadlineMs))
      Fail("a click on the target left " + Quoted(ClassName(GetForegroundWindow())) + " in front");
  }

  // The pointer comes back onto the icon (from wherever the last menu left
  // it) and the right button opens the tray menu.
  RECT OpenTrayMenu(const std::string& what) {
    c_.input->MoveTo({icon_centre_.x - 300, icon_centre_.y - 300});
    c_.input->RightClick(icon_centre_);
    const HWND menu = WaitForTopLevel(c_, kMenuClass, what + ": a right click on the icon");
    const RECT r = WindowRect(menu);
    if (r.bottom - r.top != kTrayMenuHeight)
      Fail(what + Format(": the tray menu is %ld px high, not the %d px its entries give in the default theme; ",
                         r.bottom - r.top, kTrayMenuHeight) + RectText(r));
    if (IsWindowVisible(main_)) Fail(what + ": the right button brought the main window back");
    return r;
  }

  void WaitForMenusClosed(const std::string& what) {
    if (!PollUntil([&] { return VisibleTopLevels(c_, kMenuClass).empty(); }, kTextDeadlineMs))
      Fail(what + ": a menu is still open");
  }

  void ChooseFromTrayMenu(int entry_middle, const std::string& entry) {
    const RECT r = OpenTrayMenu("\"" + entry + "\"");
    c_.input->Click({(r.left + r.right) / 2, r.top + entry_middle});
    WaitForMenusClosed("after choosing \"" + entry + "\"");
  }

  // 左上座標 › デスクトップ右下, with the mouse: hovering opens the submenu.
  void ChooseBottomRight() {
    const RECT r = OpenTrayMenu("左上座標");
    const HWND tray_menu = VisibleTopLevel(c_, kMenuClass);
    c_.input->MoveTo({(r.left + r.right) / 2, r.top + kBaseListEntry});
    HWND sub = nullptr;
    if (!PollUntil([&] {
          for (HWND m : VisibleTopLevels(c_, kMenuClass))
            if (m != tray_menu) sub = m;
          return sub != nullptr;
        }, kTextDeadlineMs))
      Fail("hovering 左上座標 opened no submenu");
    const RECT s = WindowRect(sub);
    SaveScreenshot(c_, "tray_menu.png", nullptr);
    c_.input->MoveTo({(s.left + s.right) / 2, s.top + kBottomRightEntry});
    c_.input->Click({(s.left + s.right) / 2, s.top + kBottomRightEntry});
    WaitForMenusClosed("after choosing デスクトップ右下");
  }

  void AboutFromTray() {
    ChooseFromTrayMenu(kAboutEntry, "バージョン情報...");
    const HWND box = ExpectAboutBox(c_, "バージョン情報... of the tray menu");
    c_.input->Click(Centre(WindowRect(BoxControl(box, L"OKButton"))));
    ExpectClosed(c_, box, "after OK in the about box opened from the tray");
    if (IsWindowVisible(main_)) Fail("the about box from the tray brought the main window back");
  }

  void LeftClickRestores() {
    c_.input->MoveTo({icon_centre_.x - 300, icon_centre_.y - 300});
    c_.input->Click(icon_centre_);
    // The click is told from a double click only after the double-click time.
    if (!PollUntil([&] { return IsWindowVisible(main_) && !IsIconic(main_); },
                   static_cast<int>(GetDoubleClickTime()) + kTextDeadlineMs))
      Fail("a left click on the icon did not bring the main window back; Wakumo's windows: " +
           VisibleWindowsOf(c_.wakumo.process_id()));
    ExpectWindowRect(main_, main_rect_, "the main window restored");
    if (!(GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST))
      Fail("the restored main window no longer stays on top (常に前 is on)");
    if (const std::optional<bool> button = HasTaskbarButton(main_); button && !*button) {
      if (!PollUntil([&] { return HasTaskbarButton(main_).value_or(true); }, kTextDeadlineMs))
        Fail("the restored main window has no taskbar button");
    }
    if (!PollUntil([&] { return IsEmptyRect(ChangedBox(empty_tray_, ScreenArea::Capture(TrayArea()))); },
                   kTextDeadlineMs))
      Fail("the icon stays at the taskbar's right end after the main window came back");
    if (AutoPosIndex(c_) != 5)
      Fail(Format("位置 shows entry %d; the tray's デスクトップ右下 (5) should have come back", AutoPosIndex(c_)));
    ExpectChecked(c_, L"BaseChk", false, "after the carry-back of a placement");
    ExpectFieldText(c_, L"EdSizeX", "320", "the tray's numbers are not copied back");
    SaveScreenshot(c_, "tray_restored.png", nullptr);
  }

  void EndFromTray() {
    const RECT r = OpenTrayMenu("終 了");
    c_.input->Click({(r.left + r.right) / 2, r.top + kExitEntry});
    if (WaitForSingleObject(c_.wakumo.process(), 15000) != WAIT_OBJECT_0)
      Fail("Wakumo did not end within 15 s of 終 了; its windows: " + VisibleWindowsOf(c_.wakumo.process_id()));
    DWORD code = 0;
    GetExitCodeProcess(c_.wakumo.process(), &code);
    if (code != 0) Fail(Format("Wakumo ended with exit code %lu", code));
    ExpectFileBytes(ReadSettingsFile(c_), DefaultFileText(Format("%ld,%ld", kMainLeft, kMainTop)),
                    "the settings file after 終 了 from the tray");
    ExpectOnlyExeAndSettings(c_);
    if (!PollUntil([&] { return IsEmptyRect(ChangedBox(empty_tray_, ScreenArea::Capture(TrayArea()))); },
                   kTextDeadlineMs))
      Fail("the icon outlived the program");
  }

  Context& c_;
  ForeignProcess target_;
  HWND main_ = nullptr;
  RECT main_rect_{};
  ScreenArea empty_tray_;
  POINT icon_centre_{};
};

}  // namespace

void RunTrayCases(Context& c, Suite& suite) {
  suite.Run("t-tray-mode", [&] { TrayCase(c).Run(); });
  c.wakumo.Discard();
}

}  // namespace e2e
