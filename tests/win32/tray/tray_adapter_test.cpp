// The tray icon component on the real shell: an icon in the virtual
// desktop's taskbar, found by what changes on the screen at the taskbar's
// right end, driven with real input (xdotool on the X display under Wine).
// Prints PASS / FAIL / SKIP per case and ends with "N passed, N failed,
// N skipped". With --out, screenshots of the icon and of its menu are kept
// in that (Unix) folder.
//   tray_adapter_test.exe [--xdotool PATH] [--out DIR]

// First: it removes the A/W macros that would rename the ports' members.
#include "win32/win32_api.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "harness.h"
#include "input_screen.h"
#include "../pump.h"
#include "tray/tray_icon.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "win32/win32_ansi_code_page.h"
#include "win32/win32_files.h"
#include "win32/win32_handles.h"
#include "win32/win32_platform.h"
#include "win32/win32_toolkit.h"
#include "win32/win32_window_system.h"

namespace wakumo {
namespace {

using e2e::Fail;
using e2e::Format;

struct Event {
  std::string name;
  ULONGLONG at;
  DWORD thread;
};

std::string Names(const std::vector<Event>& events) {
  std::string s;
  for (const Event& e : events) s += (s.empty() ? "" : ", ") + e.name;
  return "[" + s + "]";
}

// Input on a thread of its own while this one runs the message loop: the
// tray's callbacks, and a menu's modal loop, need it running.
void WithInput(const std::function<void()>& act, int timeout_ms = 15000) {
  std::atomic<bool> finished{false};
  std::exception_ptr failure;
  std::thread t([&] {
    try {
      act();
    } catch (...) {
      failure = std::current_exception();
    }
    finished = true;
  });
  const bool ok = PumpUntil([&] { return finished.load(); }, timeout_ms);
  if (!ok) {
    // The input thread is stuck in a command with its own deadline; wait for it.
    t.join();
    Fail("the input did not finish in time");
  }
  t.join();
  if (failure) std::rethrow_exception(failure);
}

using e2e::ChangedBox;
using e2e::IsEmptyRect;
POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class TrayTest {
 public:
  TrayTest(const std::string& xdotool, std::string out)
      : out_(std::move(out)),
        tk_(GetModuleHandleW(nullptr)),
        ports_(platform_.Ports(files_, code_page_)),
        services_(ws_, ports_),
        unix_("/tmp"),
        input_(&unix_, xdotool),
        xdotool_(xdotool.empty() ? "xdotool" : xdotool),
        form_(tk_, "TrayTestForm") {
    form_.SetClientSize(240, 80);
    form_.SetCaption("Tray test");
    form_.Show();
    ui_thread_ = GetCurrentThreadId();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    // The right end of the taskbar, below the work area.
    watch_ = RECT{sw - 240, work.bottom, sw, sh};
    e2e::Log(Format("tray: input by %s, taskbar area %s", input_.Backend().c_str(), e2e::RectText(watch_).c_str()));
  }

  void Run() {
    suite_.Run("tray.icon_appears_in_the_taskbar", [&] { IconAppears(); });
    if (IsEmptyRect(icon_)) {
      for (const char* id : {"tray.enter_click_double_click_leave", "tray.hide_and_show", "tray.taskbar_created",
                             "tray.tooltip_colours", "tray.right_button_menu", "tray.minimized_follows_the_program",
                             "tray.ending"}) {
        suite_.FailWithout(id, "no icon was found in the taskbar");
      }
    } else {
      suite_.Run("tray.enter_click_double_click_leave", [&] { EnterClickDoubleClickLeave(); });
      suite_.Run("tray.hide_and_show", [&] { HideAndShow(); });
      TooltipColours();
      suite_.Run("tray.taskbar_created", [&] { TaskbarCreated(); });
      suite_.Run("tray.right_button_menu", [&] { RightButtonMenu(); });
      suite_.Run("tray.minimized_follows_the_program", [&] { MinimizedFollowsTheProgram(); });
      suite_.Run("tray.ending", [&] { Ending(); });
    }
    e2e::Log(Format("tray: %d passed, %d failed, %d skipped", suite_.passed, suite_.failed, suite_.skipped));
  }
  bool Passed() const { return suite_.failed == 0; }

 private:
  void MakeTray() {
    tray_ = std::make_unique<TTrayIcon>(services_, tk_, form_.Handle());
    auto note = [this](std::string name) {
      return [this, name] { events_.push_back({name, GetTickCount64(), GetCurrentThreadId()}); };
    };
    auto mouse = [this](std::string what) {
      return [this, what](MouseButton b, ShiftState, int, int) {
        const char* button = b == MouseButton::mbLeft ? " L" : b == MouseButton::mbRight ? " R" : " M";
        events_.push_back({what + button, GetTickCount64(), GetCurrentThreadId()});
      };
    };
    tray_->OnMouseEnter = note("enter");
    tray_->OnMouseExit = note("exit");
    tray_->OnDblClick = note("dblclick");
    tray_->OnRestartTaskbar = note("restart");
    tray_->OnMouseDown = mouse("down");
    tray_->OnMouseUp = mouse("up");
    tray_->OnMouseClick = mouse("click");
    tray_->SetTipHelp("サイズ:800x600/センタリング");
    events_.clear();
  }

  e2e::ScreenArea Capture() const { return e2e::ScreenArea::Capture(watch_); }

  // Waits until the watched area shows the icon (or its absence): the box
  // of pixels that differ from the empty taskbar.
  RECT WaitForIcon(bool present) {
    RECT box{};
    PumpUntil([&] {
      box = ChangedBox(empty_, Capture());
      return IsEmptyRect(box) != present;
    },
         5000);
    return box;
  }

  void IconAppears() {
    empty_ = Capture();
    MakeTray();
    if (!tray_->ShowIcon()) Fail("ShowIcon reported failure");
    const std::uint32_t version = tray_->Registration().ShellVersion();
    e2e::Log(Format("tray: shell version %u.%u", version >> 16, version & 0xFFFF));
    if ((version >> 16) < 5) Fail(Format("shell version %u.%u, expected 5.0 or later", version >> 16, version & 0xFFFF));
    icon_ = WaitForIcon(true);
    if (IsEmptyRect(icon_)) Fail("nothing changed at the taskbar's right end " + e2e::RectText(watch_));
    const LONG w = icon_.right - icon_.left, h = icon_.bottom - icon_.top;
    e2e::Log("tray: icon at " + e2e::RectText(icon_));
    if (w < 8 || w > 32 || h < 8 || h > 32) Fail("the changed area is not icon-sized: " + e2e::RectText(icon_));
    Screenshot("tray_icon.png");
  }

  void EnterClickDoubleClickLeave() {
    const POINT at = Centre(icon_);
    const UINT double_click = GetDoubleClickTime();
    WithInput([&] {
      input_.MoveTo({at.x - 200, at.y - 300});
      input_.MoveTo(at);
    });
    if (!PumpUntil([&] { return Has("enter"); }, 3000)) Fail("no enter after moving onto the icon: " + Names(events_));
    events_.clear();

    WithInput([&] { input_.Click(at); });
    if (!PumpUntil([&] { return Has("click L"); }, static_cast<int>(double_click) + 3000))
      Fail("no click after a single click: " + Names(events_));
    Expect({"down L", "up L", "click L"}, "single click");
    const ULONGLONG up = At("up L"), click = At("click L");
    e2e::Log(Format("tray: single click reported %llu ms after the release (double-click time %u ms)",
                    static_cast<unsigned long long>(click - up), double_click));
    if (click < up + double_click - 60)
      Fail(Format("the click came %llu ms after the release; the double-click time is %u ms",
                  static_cast<unsigned long long>(click - up), double_click));
    events_.clear();

    WithInput([&] { X(Format("click --repeat 2 --delay 80 1")); });
    PumpUntil([&] { return false; }, static_cast<int>(double_click) + 500);
    e2e::Log("tray: double click gave " + Names(events_));
    if (!Has("dblclick")) Fail("no double click: " + Names(events_));
    if (Has("click L")) Fail("a click was reported for a double click: " + Names(events_));
    std::vector<std::string> start;
    for (std::size_t i = 0; i < events_.size() && i < 3; ++i) start.push_back(events_[i].name);
    if (start != std::vector<std::string>{"down L", "up L", "dblclick"})
      Fail("a double click should begin with down, up, double click: " + Names(events_));
    if (Count("up L") != 2 || Count("down L") != 2)
      Fail("the second release and the re-posted press should follow: " + Names(events_));
    events_.clear();

    WithInput([&] { input_.MoveTo({at.x - 300, at.y - 400}); });
    if (!PumpUntil([&] { return Has("exit"); }, 2000)) Fail("no exit after moving off the icon: " + Names(events_));
    for (const Event& e : events_) {
      if (e.thread != ui_thread_) Fail(e.name + " was reported on another thread than the user-interface thread");
    }
  }

  void HideAndShow() {
    tray_->SetVisible(false);
    if (!IsEmptyRect(WaitForIcon(false))) Fail("the icon is still on the screen after Visible := False");
    if (!tray_->Registration().Added()) Fail("a hidden icon should stay registered with the shell");
    tray_->SetVisible(true);
    const RECT again = WaitForIcon(true);
    if (!EqualRect(&again, &icon_)) Fail("the icon came back at " + e2e::RectText(again) + ", not " + e2e::RectText(icon_));
  }

  void TooltipColours() {
    // Wine's taskbar makes its tooltip windows with the first icon.
    const HWND tooltip = ToHwnd(platform_.taskbar_tooltip.FindTrayTooltip());
    if (!tooltip) {
      suite_.Skip("tray.tooltip_colours", "the taskbar shows no tooltips_class32 window of its own process");
      return;
    }
    suite_.Run("tray.tooltip_colours", [&] {
      const COLORREF ours = RGB(200, 40, 10);
      tray_->ToolTipStyle().SetUseDefault(false);
      tray_->ToolTipStyle().SetBackGroundColor(ours);
      const POINT at = Centre(icon_);
      events_.clear();
      WithInput([&] { input_.MoveTo(at); });
      if (!PumpUntil([&] { return Has("enter"); }, 3000)) Fail("no enter: " + Names(events_));
      const auto background = static_cast<COLORREF>(SendMessageW(tooltip, TTM_GETTIPBKCOLOR, 0, 0));
      if (background != ours) Fail("the tooltip's background is " + e2e::ColorText(background));
      if (ToHwnd(tray_->ToolTipStyle().TooltipWindow()) != tooltip) Fail("the style found another tooltip window");
      WithInput([&] { input_.MoveTo({at.x - 300, at.y - 400}); });
      if (!PumpUntil([&] { return Has("exit"); }, 2000)) Fail("no exit: " + Names(events_));
      const auto restored = static_cast<COLORREF>(SendMessageW(tooltip, TTM_GETTIPBKCOLOR, 0, 0));
      if (restored != GetSysColor(COLOR_INFOBK)) Fail("the tooltip's background after leaving is " + e2e::ColorText(restored));
      tray_->ToolTipStyle().SetUseDefault(true);
    });
  }

  void TaskbarCreated() {
    // The shell forgets the icon (as a restarted taskbar has), then the
    // message a new taskbar broadcasts arrives.
    NOTIFYICONDATAW nid{};
    nid.cbSize = NOTIFYICONDATAW_V2_SIZE;
    nid.hWnd = ToHwnd(tray_->Registration().Record().hWnd);
    nid.uID = kTrayIconId;
    if (!Shell_NotifyIconW(NIM_DELETE, &nid)) Fail(Format("NIM_DELETE behind the component failed, error %lu", GetLastError()));
    if (!IsEmptyRect(WaitForIcon(false))) Fail("the icon did not leave after NIM_DELETE");
    events_.clear();
    SendMessageW(nid.hWnd, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    if (!Has("restart")) Fail("no OnRestartTaskbar: " + Names(events_));
    const RECT again = WaitForIcon(true);
    if (IsEmptyRect(again)) Fail("the icon was not registered again");
    if (!tray_->Registration().Shown()) Fail("the registration is not shown after the restart");
  }

  void RightButtonMenu() {
    TPopupMenu menu(tk_, "TrayTestMenu");
    std::string chosen;
    menu.Add(tk_, "mFirst", "最初").OnClick = [&] { chosen = "first"; };
    menu.Add(tk_, "mSecond", "二番目").OnClick = [&] { chosen = "second"; };
    tray_->SetRButtonPopupMenu(&menu);
    const POINT at = Centre(icon_);
    RECT item{};
    WithInput([&] {
      input_.MoveTo(at);
      X("click 3");
      HWND popup = nullptr;
      if (!e2e::PollUntil([&] {
            popup = FindWindowW(L"#32768", nullptr);
            return popup && IsWindowVisible(popup);
          },
                          5000))
        Fail("no menu opened on the right button");
      // Our own menu: its item rectangles can be asked for.
      HMENU hmenu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
      if (!hmenu || !GetMenuItemRect(nullptr, hmenu, 1, &item)) {
        RECT r{};
        GetWindowRect(popup, &r);
        item = RECT{r.left + 3, r.top + 3 + 17, r.right - 3, r.top + 3 + 34};  // the default theme's geometry
      }
      const POINT target = Centre(item);
      input_.MoveInSteps(target, 8);
      Screenshot("tray_menu.png");
      input_.Click(target);
    });
    if (!PumpUntil([&] { return !chosen.empty(); }, 3000)) Fail("the menu's second item was not chosen; item " + e2e::RectText(item));
    if (chosen != "second") Fail("chosen: " + chosen);
    if (Has("down R")) Fail("a button-down that pops up a menu fires no OnMouseDown: " + Names(events_));
    tray_->SetRButtonPopupMenu(nullptr);
  }

  void MinimizedFollowsTheProgram() {
    tray_->SetMinimized(true);
    if (!IsEmptyRect(WaitForIcon(false))) Fail("Minimized: the icon stays while the program is on the screen");
    HWND form = ToHwnd(form_.Handle());
    ShowWindow(form, SW_MINIMIZE);
    if (IsEmptyRect(WaitForIcon(true))) Fail("the icon did not come when the program was minimised");
    ShowWindow(form, SW_RESTORE);
    if (!IsEmptyRect(WaitForIcon(false))) Fail("the icon did not go when the program was restored");
    if (!PumpUntil([&] { return GetForegroundWindow() == form; }, 2000)) Fail("the owning form is not in front after the restore");
    tray_->SetMinimized(false);
    if (IsEmptyRect(WaitForIcon(true))) Fail("the icon did not come back with Minimized := False");
  }

  void Ending() {
    // An animation running, and the poller (the pointer is on the icon).
    tray_->SetResourceIconList({"MAINICON"});
    std::vector<DWORD> step_threads;
    tray_->OnIconAnimation = [&] { step_threads.push_back(GetCurrentThreadId()); };
    tray_->SetInterval(50);
    const POINT at = Centre(icon_);
    WithInput([&] { input_.MoveTo(at); });
    if (!PumpUntil([&] { return step_threads.size() >= 4; }, 3000))
      Fail(Format("%d animation steps in 3 s at 50 ms", static_cast<int>(step_threads.size())));
    for (DWORD t : step_threads) {
      if (t != ui_thread_) Fail("an animation step ran on another thread than the user-interface thread");
    }
    // Ended by its own OnMouseExit: inside the poller's leave check, while
    // the animation keeps handing over steps.
    const HWND window = ToHwnd(tray_->Registration().Record().hWnd);
    tray_->OnMouseExit = [this] { tray_.reset(); };
    WithInput([&] { input_.MoveTo({at.x - 300, at.y - 400}); });
    if (!PumpUntil([&] { return tray_ == nullptr; }, 3000)) Fail("the leave check did not end the component");
    if (IsWindow(window)) Fail("the hidden window outlived the component");
    if (!IsEmptyRect(WaitForIcon(false))) Fail("the icon is still in the taskbar after the component ended");
  }

  // ---- helpers ----
  void Screenshot(const std::string& name) {
    if (out_.empty() || !unix_.Available()) return;
    const std::string path = out_ + "/" + name;
    if (unix_.Run("mkdir -p " + e2e::ShellQuoted(out_) + " && import -window root " + e2e::ShellQuoted(path), 10000) == 0)
      e2e::Log("tray: screenshot " + path);
  }
  void X(const std::string& args) {
    if (!unix_.Available()) Fail("no xdotool outside Wine");
    const int rc = unix_.Run(e2e::ShellQuoted(xdotool_) + " " + args, 10000);
    if (rc != 0) Fail(Format("xdotool %s ended with status %d", args.c_str(), rc));
  }
  bool Has(const std::string& name) const { return Count(name) > 0; }
  int Count(const std::string& name) const {
    return static_cast<int>(std::count_if(events_.begin(), events_.end(), [&](const Event& e) { return e.name == name; }));
  }
  ULONGLONG At(const std::string& name) const {
    for (const Event& e : events_) {
      if (e.name == name) return e.at;
    }
    return 0;
  }
  void Expect(const std::vector<std::string>& names, const std::string& what) const {
    std::vector<std::string> got;
    for (const Event& e : events_) got.push_back(e.name);
    if (got != names) Fail(what + ": events " + Names(events_));
  }

  std::string out_;
  Win32WindowSystem ws_;
  Win32Toolkit tk_;
  Win32Platform platform_;
  Win32FileSystem files_;
  Win32AnsiCodePage code_page_;
  Platform ports_;
  TrayServices services_;
  e2e::UnixShell unix_;
  e2e::Input input_;
  std::string xdotool_;
  TForm form_;
  std::unique_ptr<TTrayIcon> tray_;
  std::vector<Event> events_;
  e2e::Suite suite_;
  DWORD ui_thread_ = 0;
  RECT watch_{};
  RECT icon_{};
  e2e::ScreenArea empty_;
};

}  // namespace
}  // namespace wakumo

int wmain(int argc, wchar_t** argv) {
  std::string xdotool;
  std::string out;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wstring(argv[i]) == L"--xdotool") xdotool = e2e::Utf8(argv[i + 1]);
    if (std::wstring(argv[i]) == L"--out") out = e2e::Utf8(argv[i + 1]);
  }
  wakumo::TrayTest test(xdotool, out);
  test.Run();
  return test.Passed() ? 0 : 1;
}
