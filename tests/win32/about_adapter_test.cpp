// The adapters behind the menu hints, the about box and the help command:
// the hint window, an open menu's entries and the application's hint, the
// dialog keys and frame, underlined fonts and the shell's open request.
#include <memory>
#include <string>
#include <vector>

#include "ui/peer.h"
#include "win32/win32_api.h"
#include "win32/win32_dpi.h"
#include "win32/win32_handles.h"
#include "win32/win32_shell.h"
#include "win32/win32_toolkit.h"

#include "adapter_support.h"

namespace wakumo {

namespace {

struct Clicks : PeerEvents {
  int clicks = 0;
  void PeerClick() override { ++clicks; }
};

struct HintListener : ApplicationEvents {
  std::vector<std::string> heard;
  ApplicationPeer* app = nullptr;
  void PeerHint() override { heard.push_back(app->Hint()); }
};

std::string Joined(const std::vector<std::string>& v) {
  std::string s;
  for (const std::string& e : v) s += (s.empty() ? "\"" : ", \"") + e + "\"";
  return s.empty() ? "nothing" : s;
}

std::unique_ptr<FormPeer> ShownForm(Win32Toolkit& tk, PeerEvents& events, const std::string& name) {
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, events, name);
  form->SetClientSize(240, 120);
  form->Show();
  HWND h = ToHwnd(form->Handle());
  SetForegroundWindow(h);
  PumpUntil([&] { return GetForegroundWindow() == h; });
  return form;
}

}  // namespace

void TestHintWindow() {
  g_test = "HintWindow";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Clicks fe, he;
  auto form = ShownForm(tk, fe, "WkHintForm");
  HWND hform = ToHwnd(form->Handle());
  auto hint = tk.Create<HintWindowPeer>(ControlKind::HintWindow, form.get(), he, "WkHint");
  HWND h = ToHwnd(hint->Handle());
  const LONG style = GetWindowLongW(h, GWL_STYLE);
  const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
  Check(h && !IsWindowVisible(h), "made hidden");
  // Owned by nobody: a form that owns a window cannot be made topmost.
  CheckEq(GetWindow(h, GW_OWNER), nullptr, "no owner");
  form->SetStayOnTop(true);
  Check(form->StayOnTop(), "its form can still stay on top");
  form->SetStayOnTop(false);
  Check((style & WS_POPUP) && !(style & WS_CHILD), "a popup, not a child");
  Check((ex & WS_EX_TOPMOST) && (ex & WS_EX_NOACTIVATE) && (ex & WS_EX_TOOLWINDOW),
        "topmost, never active, no taskbar button: ex style " + Hex(static_cast<COLORREF>(ex)));

  const TextSize one = hint->HintSize("QVGA", 512);
  const TextSize three = hint->HintSize("QVGA QVGA QVGA", 512);
  const TextSize wrapped = hint->HintSize("QVGA QVGA QVGA", 40);
  Check(one.cx > 0 && one.cy > 0 && three.cx > one.cx && three.cy == one.cy,
        "one line grows in width: " + std::to_string(one.cx) + " x " + std::to_string(one.cy) + ", then " +
            std::to_string(three.cx) + " x " + std::to_string(three.cy));
  Check(wrapped.cy > one.cy && wrapped.cx < three.cx,
        "wraps at the width given: " + std::to_string(wrapped.cx) + " x " + std::to_string(wrapped.cy));

  hint->SetColor(clInfoBk);
  const Rect at{100, 120, 100 + one.cx, 120 + one.cy};
  hint->ShowHint(at, "QVGA");
  RECT r{};
  GetWindowRect(h, &r);
  wchar_t text[32] = {};
  GetWindowTextW(h, text, 32);
  Check(IsWindowVisible(h) && ToRect(r) == at, "shown at " + Str(ToRect(r)) + ", asked " + Str(at));
  Check(std::wstring(text) == L"QVGA", "its text is its window text");
  CheckEq(GetForegroundWindow(), hform, "the form stays active");
  const POINT centre = CentreOfWindow(h);
  Check(WindowFromPoint(centre) != h, "the mouse goes through it");
  COLORREF px = CLR_INVALID;
  PumpUntil([&] {
    HDC dc = GetDC(nullptr);
    px = GetPixel(dc, r.right - 3, r.bottom - 3);
    ReleaseDC(nullptr, dc);
    return px == GetSysColor(COLOR_INFOBK);
  });
  Check(px == GetSysColor(COLOR_INFOBK), "painted in the tooltip colour: " + Hex(px));
  hint->SetVisible(false);
  Check(!IsWindowVisible(h), "hidden again");
  hint.reset();
  Check(!IsWindow(h), "its window goes with it");
}

namespace {

// What the timer saw while the menu was open.
struct OpenMenuSeen {
  PopupMenuPeer* menu = nullptr;
  ApplicationPeer* app = nullptr;
  int step = 0;
  std::vector<Rect> rects;
  int index_at_third = -2;
  int index_far_away = -2;
  std::vector<std::string> hints;
};
OpenMenuSeen* g_open = nullptr;

// Runs inside the menu's own loop: reads the entries, then highlights them
// one by one with the Down key and closes the menu.
void CALLBACK MenuStep(HWND, UINT, UINT_PTR, DWORD) {
  OpenMenuSeen& s = *g_open;
  if (s.step == 0) {
    for (int i = 0; i < 4; ++i) s.rects.push_back(s.menu->ItemRect(i));
    const Rect c = s.rects[2];
    s.index_at_third = s.menu->ItemFromPoint({(c.left + c.right) / 2, (c.top + c.bottom) / 2});
    s.index_far_away = s.menu->ItemFromPoint({c.left - 500, c.top - 500});
  } else {
    s.hints.push_back(s.app->Hint());
  }
  if (s.step < 3) {
    Press(VK_DOWN);
  } else {
    EndMenu();
  }
  ++s.step;
}

struct NoClick : MenuItemEvents {};

}  // namespace

void TestMenuEntriesAndHints() {
  g_test = "MenuHints";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Clicks fe;
  auto form = ShownForm(tk, fe, "WkHintMenuForm");
  HintListener listener;
  listener.app = &tk.Application();
  tk.Application().AddEvents(&listener);
  NoClick events;
  auto menu = tk.CreatePopupMenu("WkHintMenu");
  std::vector<std::unique_ptr<MenuItemPeer>> items;
  const char* captions[] = {"640 x 480", "-", "800 x 600", "1024 x 768"};
  const char* hints[] = {"short|VGA long", "", "", "XGA"};
  for (int i = 0; i < 4; ++i) {
    items.push_back(tk.CreateMenuItem(events, "WkItem" + std::to_string(i)));
    items.back()->SetCaption(captions[i]);
    items.back()->SetHint(hints[i]);
    menu->Items().Insert(i, items.back().get());
  }
  Check(menu->ItemFromPoint({10, 10}) == -1 && menu->ItemRect(0) == Rect{}, "a closed menu has no entries on the screen");

  OpenMenuSeen seen;
  seen.menu = menu.get();
  seen.app = &tk.Application();
  g_open = &seen;
  const UINT_PTR timer = SetTimer(nullptr, 0, 150, MenuStep);
  RECT fr{};
  GetWindowRect(ToHwnd(form->Handle()), &fr);
  menu->Popup({fr.left + 20, fr.top + 30});
  KillTimer(nullptr, timer);
  g_open = nullptr;

  if (seen.rects.size() == 4) {
    const Rect& a = seen.rects[0];
    const Rect& sep = seen.rects[1];
    const Rect& b = seen.rects[2];
    Check(a.left >= fr.left + 20 && a.top >= fr.top + 30 && a.top < fr.top + 40 && a.Width() > 0,
          "the first entry " + Str(a) + " lies at the popup point (" + std::to_string(fr.left + 20) + ", " +
              std::to_string(fr.top + 30) + ")");
    Check(sep.top == a.bottom && b.top == sep.bottom && sep.Height() < a.Height(),
          "entries below each other, the separator thinner: " + Str(a) + " " + Str(sep) + " " + Str(b));
  } else {
    Check(false, "the timer read " + std::to_string(seen.rects.size()) + " entry rectangles while the menu was open");
  }
  Check(seen.index_at_third == 2, "the entry at the third one's centre: " + std::to_string(seen.index_at_third));
  Check(seen.index_far_away == -1, "no entry far from the menu: " + std::to_string(seen.index_far_away));
  // Down goes to the first entry, over the separator to the second, then the third.
  Check(seen.hints == (std::vector<std::string>{"VGA long", "", "XGA"}),
        "hints of the highlighted entries: " + Joined(seen.hints));
  Check(tk.Application().Hint().empty() && !listener.heard.empty() && listener.heard.back().empty(),
        "the close empties the hint; heard " + Joined(listener.heard));
  CheckEq(menu->ItemFromPoint({fr.left + 30, fr.top + 40}), -1, "closed again: no entry");
  tk.Application().RemoveEvents(&listener);
}

void TestDialogButtonsAndFrame() {
  g_test = "DialogKeys";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Clicks fe, oe, ce, ee;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkDialogForm");
  form->SetBorderIcons(true, false, false);
  form->SetDialogFrame(true);
  form->SetClientSize(239, 121);
  HWND hform = ToHwnd(form->Handle());
  const LONG ex = GetWindowLongW(hform, GWL_EXSTYLE);
  const LONG style = GetWindowLongW(hform, GWL_STYLE);
  RECT client{};
  GetClientRect(hform, &client);
  const UINT dpi = DpiForWindow(hform);
  Check((ex & WS_EX_DLGMODALFRAME) && !(style & WS_THICKFRAME), "a dialog frame without a sizing border");
  Check(client.right == ScaleToDpi(239, dpi) && client.bottom == ScaleToDpi(121, dpi),
        "client " + std::to_string(client.right) + " x " + std::to_string(client.bottom));

  auto ok = tk.Create<ButtonPeer>(ControlKind::Button, form.get(), oe, "WkOk");
  auto cancel = tk.Create<ButtonPeer>(ControlKind::Button, form.get(), ce, "WkCancel");
  auto edit = tk.Create<EditPeer>(ControlKind::Edit, form.get(), ee, "WkEdit");
  ok->SetBounds({10, 90, 70, 111});
  cancel->SetBounds({80, 90, 140, 111});
  edit->SetBounds({10, 10, 200, 31});
  ok->SetDefault(true);
  cancel->SetCancel(true);
  Check((GetWindowLongW(ToHwnd(ok->Handle()), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON, "the default button's frame");
  form->Show();
  SetForegroundWindow(hform);
  PumpRoutedUntil(tk, [&] { return GetForegroundWindow() == hform; });
  edit->SetFocus();
  Press(VK_RETURN);
  Check(PumpRoutedUntil(tk, [&] { return oe.clicks == 1; }) && ce.clicks == 0,
        "Enter in the edit clicks the default button: " + std::to_string(oe.clicks) + ", " + std::to_string(ce.clicks));
  edit->SetFocus();
  Press(VK_ESCAPE);
  Check(PumpRoutedUntil(tk, [&] { return ce.clicks == 1; }) && oe.clicks == 1,
        "Escape clicks the cancel button: " + std::to_string(oe.clicks) + ", " + std::to_string(ce.clicks));
  // A disabled default button is not clicked.
  ok->SetEnabled(false);
  edit->SetFocus();
  Press(VK_RETURN);
  PumpRoutedUntil(tk, [] { return false; }, 300);
  Check(oe.clicks == 1, "a disabled default button stays unclicked: " + std::to_string(oe.clicks));

  FontSpec plain;
  FontSpec underlined = plain;
  underlined.underline = true;
  LOGFONTW lf{};
  GetObjectW(tk.Font(underlined, 96), sizeof(lf), &lf);
  LOGFONTW lp{};
  GetObjectW(tk.Font(plain, 96), sizeof(lp), &lp);
  Check(lf.lfUnderline && !lp.lfUnderline, "underlined and plain fonts are two fonts");

  // The desktop's open request for a file that is not there: refused, and
  // nothing of the system's own shows.
  Win32Shell shell;
  Check(!shell.Open(ToHandle(hform), "C:\\no\\such\\folder\\wakumo.chm"), "a missing file is refused");
  HWND message = nullptr;
  PumpRoutedUntil(tk, [&] { return (message = FindWindowW(L"#32770", nullptr)) != nullptr; }, 1000);
  Check(message == nullptr || !IsWindowVisible(message), "no message box about the missing file");
}

void TestApplicationHintFollowsTheMouse() {
  g_test = "AppHint";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Clicks fe, be, pe;
  auto form = ShownForm(tk, fe, "WkAppHintForm");
  auto panel = tk.Create<PanelPeer>(ControlKind::Panel, form.get(), pe, "WkAppHintPanel");
  auto button = tk.Create<ButtonPeer>(ControlKind::Button, panel.get(), be, "WkAppHintButton");
  panel->SetBounds({0, 0, 240, 60});
  panel->SetHint("パネル");
  button->SetBounds({10, 10, 100, 40});
  button->SetHint("ボタン|ボタンの説明");
  PumpUntil([] { return false; }, 200);
  ApplicationPeer& app = tk.Application();
  // Two moves each: a move onto the point the mouse is already at reports nothing.
  const auto move_to = [](POINT p) {
    MouseInput({p.x - 3, p.y}, 0);
    MouseInput(p, 0);
  };
  move_to(CentreOfWindow(ToHwnd(button->Handle())));
  Check(PumpUntil([&] { return app.Hint() == "ボタンの説明"; }), "over the button: \"" + app.Hint() + "\"");
  RECT pr{};
  GetWindowRect(ToHwnd(panel->Handle()), &pr);
  move_to({pr.right - 20, pr.bottom - 10});
  Check(PumpUntil([&] { return app.Hint() == "パネル"; }), "over the panel: \"" + app.Hint() + "\"");
  RECT fr{};
  GetWindowRect(ToHwnd(form->Handle()), &fr);
  move_to({(fr.left + fr.right) / 2, fr.bottom - 15});
  Check(PumpUntil([&] { return app.Hint().empty(); }), "over the bare form: \"" + app.Hint() + "\"");
}

}  // namespace wakumo
