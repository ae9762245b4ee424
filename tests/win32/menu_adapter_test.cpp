// Popup menus on real windows: a chosen entry's click, and what tray mode
// relies on (a bold default entry, radio dots, a minimised form).
#include <string>
#include <vector>

#include "win32/win32_api.h"
#include "win32/win32_handles.h"
#include "win32/win32_menu.h"
#include "win32/win32_toolkit.h"
#include "win32/win32_window_system.h"

#include "adapter_support.h"

namespace wakumo {
namespace {

struct MenuRecorder : MenuItemEvents {
  std::vector<std::string>* log = nullptr;
  std::string name;
  void PeerClick() override { log->push_back(name); }
};

// What tray mode relies on: a bold default entry and radio dots in a menu,
// a minimised main form that answers where it comes back to, the program
// restored from hidden and minimised, and windows told from other processes'.
HMENU g_open_menu = nullptr;

void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
  if (HWND popup = FindWindowW(L"#32768", nullptr); popup && IsWindowVisible(popup)) {
    g_open_menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
  }
  if (g_open_menu) {
    const UINT default_item = GetMenuDefaultItem(g_open_menu, TRUE, 0);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    GetMenuItemInfoW(g_open_menu, 1, TRUE, &info);
    Check(default_item == 0, "default entry at " + std::to_string(static_cast<int>(default_item)));
    Check((info.fType & MFT_RADIOCHECK) && (info.fState & MFS_CHECKED),
          "second entry: type 0x" + Hex(info.fType) + ", state 0x" + Hex(info.fState));
    EndMenu();
  }
}

// A form that keeps its size against every change asked of it, as the main
// window does while its list is hidden: minimising and restoring are not
// such changes.
struct FixedSizeForm : Recorder {
  bool PeerCanResize(int&, int&) override { return false; }
};

}  // namespace

void TestPopupMenuChoice() {
  g_test = "Menu";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkMenuForm");
  form->SetClientSize(200, 100);
  form->Show();
  SetForegroundWindow(ToHwnd(form->Handle()));
  std::vector<std::string> clicks;
  MenuRecorder r1, r2, r3, r4;
  r1.log = r2.log = r3.log = r4.log = &clicks;
  r1.name = "TopChk";
  r2.name = "Disabled";
  r3.name = "Sep";
  r4.name = "About1";
  auto menu = tk.CreatePopupMenu("WkPopup");
  auto i1 = tk.CreateMenuItem(r1, "TopChk");
  auto i2 = tk.CreateMenuItem(r2, "Disabled");
  auto i3 = tk.CreateMenuItem(r3, "N1");
  auto i4 = tk.CreateMenuItem(r4, "About1");
  i1->SetCaption("常に前");
  i1->SetChecked(true);
  i2->SetCaption("使えない");
  i2->SetEnabled(false);
  i3->SetCaption("-");
  i4->SetCaption("バージョン情報...");
  i4->SetPicture("MAXBOTH");
  menu->Items().Insert(0, i1.get());
  menu->Items().Insert(1, i2.get());
  menu->Items().Insert(2, i3.get());
  menu->Items().Insert(3, i4.get());
  // Keys typed before the menu opens are read by its loop: End goes to the
  // last entry, past the disabled one and the separator; Enter chooses it.
  std::vector<INPUT> keys;
  for (WORD key : {VK_END, VK_RETURN}) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    keys.push_back(in);
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    keys.push_back(in);
  }
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  const RECT area = [&] {
    RECT r{};
    GetWindowRect(ToHwnd(form->Handle()), &r);
    return r;
  }();
  // Should the keys go astray, the menu is closed after a deadline rather
  // than waiting for a user.
  const UINT_PTR deadline = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
  menu->Popup({area.left + 10, area.top + 40});
  KillTimer(nullptr, deadline);
  Check(clicks == std::vector<std::string>{"About1"},
        "chosen by keyboard: " + (clicks.empty() ? std::string("nothing") : clicks.front()));
  // An entry removed from the tree is never clicked, even if chosen.
  menu->Items().Remove(i4.get());
  CheckEq(menu->Items().Children().size(), 3, "entry removed");
}

void TestTrayModeSupport() {
  g_test = "TrayMode";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  FixedSizeForm fe;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkTrayForm");
  HWND hform = ToHwnd(form->Handle());
  form->SetClientSize(200, 100);
  form->SetWindowRect({120, 140, 420, 300});
  form->SetSizeable(true);
  form->Show();
  SetForegroundWindow(hform);

  MenuRecorder r1, r2;
  std::vector<std::string> clicks;
  r1.log = r2.log = &clicks;
  auto menu = tk.CreatePopupMenu("WkTrayMenu");
  auto set = tk.CreateMenuItem(r1, "mTraySet");
  auto choice = tk.CreateMenuItem(r2, "Choice");
  set->SetCaption("Set");
  set->SetDefault(true);
  choice->SetCaption("センタリング");
  choice->SetRadioItem(true);
  choice->SetChecked(true);
  menu->Items().Insert(0, set.get());
  menu->Items().Insert(1, choice.get());
  g_open_menu = nullptr;
  const UINT_PTR reader = SetTimer(nullptr, 0, 200, ReadOpenMenu);
  const UINT_PTR deadline = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
  menu->Popup({200, 200});
  KillTimer(nullptr, reader);
  KillTimer(nullptr, deadline);
  Check(g_open_menu != nullptr, "the open menu was found");
  Check(clicks.empty(), "nothing chosen");

  Win32WindowSystem ws;
  Check(ws.IsOwnProcessWindow(form->Handle()), "the form is ours");
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  HWND foreign = taskbar ? taskbar : GetShellWindow();
  Check(foreign && !ws.IsOwnProcessWindow(ToHandle(foreign)), "the shell's window is not ours");
  Check(!ws.IsOwnProcessWindow(0), "no window is not ours");

  int restores = 0;
  tk.Application().SetOnRestore([&] { ++restores; });
  const Rect normal = form->WindowRect();
  ShowWindow(hform, SW_MINIMIZE);
  RECT iconic{};
  GetWindowRect(hform, &iconic);
  Check(IsIconic(hform) && form->WindowRect() == normal,
        "minimised: " + Str(form->WindowRect()) + ", restored " + Str(normal) + ", on the screen " + Str(ToRect(iconic)));
  ShowWindow(hform, SW_HIDE);
  tk.Application().Restore();
  Check(IsWindowVisible(hform) && !IsIconic(hform), "restored from hidden and minimised");
  Check(restores == 1, "restore handler ran " + std::to_string(restores) + " times");
  Check(form->WindowRect() == normal, "back at " + Str(form->WindowRect()) + ", was " + Str(normal));
  tk.Application().Restore();
  Check(restores == 1, "restoring a shown window is no restore: " + std::to_string(restores));
  tk.Application().SetOnRestore(nullptr);
}

}  // namespace wakumo
