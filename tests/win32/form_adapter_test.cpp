// Forms and their control peers on real windows: names and tab order,
// events, sizing rules and border drags, modal forms, message boxes and a
// label's double click.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "ui/form.h"
#include "win32/win32_api.h"
#include "win32/win32_control_peer.h"
#include "win32/win32_dpi.h"
#include "win32/win32_handles.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"
#include "win32/win32_window_system.h"

#include "adapter_support.h"

namespace wakumo {
namespace {

// The main window's rule: the width never changes, the height may change
// only while allowed and not below a minimum.
struct HeightOnlyForm : PeerEvents {
  const FormPeer* form = nullptr;
  bool judging = false;  // off while the test places the form
  bool allow = true;
  int min_height = 0;
  bool PeerCanResize(int& width, int& height) override {
    if (!judging) return true;
    width = form->WindowRect().Width();
    return allow && height >= min_height;
  }
};

// A button whose click ends the modal form it sits on.
struct EndModalButton : PeerEvents {
  FormPeer* form = nullptr;
  void PeerClick() override { form->EndModal(ModalResult::mrOk); }
};

// The main window's "サイズ：" label sits on a panel; a double-click on it
// must reach its handler.
struct DoubleClickRecorder : PeerEvents {
  int double_clicks = 0;
  void PeerDblClick() override { ++double_clicks; }
};

}  // namespace

// A computer-based-training hook that refuses every window the thread makes
// while it is installed, as a system out of window handles would.
LRESULT CALLBACK RefuseCreation(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND) return 1;
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

void TestRefusedCreationIsReported() {
  g_test = "RefusedCreation";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe, ee, fe2;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkRefusedForm");
  using Made = std::tuple<ControlKind, ControlPeer*, const char*>;
  for (const auto& [kind, parent, name] :
       {Made{ControlKind::Edit, form.get(), "WkRefusedEdit"}, Made{ControlKind::Form, nullptr, "WkRefusedForm2"}}) {
    HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseCreation, nullptr, GetCurrentThreadId());
    if (!hook) {
      Skip("no hook could refuse window creation");
      return;
    }
    std::string what;
    try {
      auto refused = tk.CreateControl(kind, parent, ee, name);
      what = "(nothing thrown)";
    } catch (const WindowCreationError& e) {
      what = e.what();
    }
    UnhookWindowsHookEx(hook);
    Check(what.find(name) != std::string::npos, std::string("the refusal names the control: ") + what);
    // The toolkit is left as it was: the same control can be made again.
    auto again = tk.CreateControl(kind, parent, fe2, name);
    Check(again && IsWindow(ToHwnd(again->Handle())), std::string("made after the refusal: ") + name);
  }
}

void TestControlsCarryTheirNames() {
  g_test = "Names";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Win32WindowSystem ws;
  Recorder fe, pe, le, ie, be, ce, se, ee, ke;
  std::set<std::string> atoms;
  {
    auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkTestForm");
    auto panel = tk.Create<PanelPeer>(ControlKind::Panel, form.get(), pe, "WkTestPanel");
    auto label = tk.Create<LabelPeer>(ControlKind::Label, panel.get(), le, "WkTestLabel");
    auto image = tk.Create<PicturePeer>(ControlKind::Image, panel.get(), ie, "WkTestImage");
    auto button = tk.Create<ButtonPeer>(ControlKind::Button, form.get(), be, "WkTestButton");
    auto check = tk.Create<CheckBoxPeer>(ControlKind::CheckBox, form.get(), ce, "WkTestCheck");
    auto speed = tk.Create<SpeedButtonPeer>(ControlKind::SpeedButton, form.get(), se, "WkTestSpeed");
    auto edit = tk.Create<EditPeer>(ControlKind::Edit, panel.get(), ee, "WkTestEdit");
    auto combo = tk.Create<ItemsPeer>(ControlKind::ComboBox, form.get(), ke, "WkTestCombo");

    Check(ws.GetClassName(form->Handle()) == "TWkTestForm",
          "form class is \"T\" + name, got \"" + ws.GetClassName(form->Handle()) + "\"");
    form->SetCaption("Wakumo");
    Check(ws.GetWindowText(form->Handle()) == "Wakumo", "form caption: " + ws.GetWindowText(form->Handle()));
    label->SetCaption("タイトル：A & B");
    panel->SetCaption("640 x 480");

    // What a driver in another process does: walk the children, read the atoms.
    std::map<std::string, HWND> found;
    EnumChildWindows(
        ToHwnd(form->Handle()),
        [](HWND h, LPARAM l) -> BOOL {
          const std::string n = NameOf(h);
          if (!n.empty()) (*reinterpret_cast<std::map<std::string, HWND>*>(l))[n] = h;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    const std::vector<std::pair<std::string, ControlPeer*>> expected = {
        {"WkTestPanel", panel.get()}, {"WkTestLabel", label.get()}, {"WkTestImage", image.get()},
        {"WkTestButton", button.get()}, {"WkTestCheck", check.get()}, {"WkTestSpeed", speed.get()},
        {"WkTestEdit", edit.get()}, {"WkTestCombo", combo.get()}};
    for (const auto& [name, peer] : expected) {
      auto it = found.find(name);
      Check(it != found.end() && ToHandle(it->second) == peer->Handle(), "no child window named " + name);
      atoms.insert(name);
    }
    Check(NameOf(ToHwnd(form->Handle())) == "WkTestForm", "form name: " + NameOf(ToHwnd(form->Handle())));
    Check(found.count("WkTestLabel") && TextOf(found["WkTestLabel"]) == "タイトル：A & B",
          "label text by WM_GETTEXT: " + TextOf(found["WkTestLabel"]));
    Check(found.count("WkTestPanel") && TextOf(found["WkTestPanel"]) == "640 x 480",
          "panel text by WM_GETTEXT: " + TextOf(found["WkTestPanel"]));
    CheckEq(ws.GetParent(label->Handle()), panel->Handle(), "label's parent is the panel");
    Check(GlobalFindAtomW(L"WkTestLabel") != 0, "atom exists while the control does");

    // At 96 DPI design pixels are device pixels; elsewhere they are scaled.
    const UINT dpi = DpiForWindow(ToHwnd(form->Handle()));
    form->SetClientSize(348, 440);
    const Rect client = ws.GetClientRect(form->Handle());
    Check(client == Rect{0, 0, ScaleToDpi(348, dpi), ScaleToDpi(440, dpi)},
          "client area at " + std::to_string(dpi) + " DPI: " + Str(client));
    Check(form->ClientRect() == Rect{0, 0, 348, 440}, "design client rect: " + Str(form->ClientRect()));
    edit->SetBounds({10, 20, 58, 41});
    const Rect er = ws.GetWindowRect(edit->Handle());
    const Point tl = ws.ScreenToClient(panel->Handle(), {er.left, er.top});
    Check(tl == Point{ScaleToDpi(10, dpi), ScaleToDpi(20, dpi)} && er.Width() == ScaleToDpi(58, dpi) - ScaleToDpi(10, dpi),
          "edit bounds in the panel: " + Str(er));
    Check(edit->Bounds() == Rect{10, 20, 58, 41}, "edit design bounds: " + Str(edit->Bounds()));
  }
  // The peers are gone: so are their windows' atoms.
  for (const std::string& name : atoms) {
    Check(GlobalFindAtomW(Wide(name).c_str()) == 0, "atom " + name + " left behind");
  }
}

void TestFormGoingFirst() {
  g_test = "FormFirst";
  // Facades normally go children first; the other order must not leave
  // stale handles or atoms behind either.
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe, pe, le;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkFormGone");
  auto panel = tk.Create<PanelPeer>(ControlKind::Panel, form.get(), pe, "WkPanelGone");
  auto label = tk.Create<LabelPeer>(ControlKind::Label, panel.get(), le, "WkLabelGone");
  label->SetHint("ヒント");
  form.reset();
  Check(panel->Handle() == 0 && label->Handle() == 0, "children's windows went with the form");
  label->SetCaption("still safe");
  Check(label->Caption().empty() && !label->Visible(), "a control without its window answers empty");
  panel.reset();
  label.reset();
  Check(GlobalFindAtomW(L"WkLabelGone") == 0 && GlobalFindAtomW(L"WkPanelGone") == 0 &&
            GlobalFindAtomW(L"WkFormGone") == 0,
        "atoms deleted");
}

void TestPeerBehaviour() {
  g_test = "Peers";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Win32WindowSystem ws;
  Recorder fe, ae, be, ce, ke, le;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkForm2");
  auto a = tk.Create<SpeedButtonPeer>(ControlKind::SpeedButton, form.get(), ae, "WkSpeedA");
  auto b = tk.Create<SpeedButtonPeer>(ControlKind::SpeedButton, form.get(), be, "WkSpeedB");
  auto check = tk.Create<CheckBoxPeer>(ControlKind::CheckBox, form.get(), ce, "WkCheck");
  auto combo = tk.Create<ItemsPeer>(ControlKind::ComboBox, form.get(), ke, "WkCombo");
  auto list = tk.Create<ItemsPeer>(ControlKind::DropDownList, form.get(), le, "WkList");
  form->SetClientSize(300, 200);
  form->Show();
  a->SetBounds({0, 0, 28, 28});
  b->SetBounds({30, 0, 58, 28});
  check->SetBounds({0, 40, 80, 57});

  // Grouped speed buttons: one down at a time; a click on the down one lifts it
  // only when all-up is allowed.
  a->SetSpeedStyle(true, 1, true);
  b->SetSpeedStyle(true, 1, true);
  a->SetChecked(true);
  b->SetChecked(true);
  Check(!a->Checked() && b->Checked(), "B down releases A");
  HWND bh = ToHwnd(b->Handle());
  SendMessageW(bh, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(bh, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Check(!b->Checked(), "a click on the down button lifts it when all-up is allowed");
  Check(be.Joined() == "down 5,5|click|up", "speed button events: " + be.Joined());
  b->SetSpeedStyle(true, 1, false);
  b->SetChecked(true);
  SendMessageW(bh, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(bh, WM_LBUTTONUP, 0, MAKELPARAM(40, 5));
  Check(b->Checked() && be.log.size() == 5 && be.log[4] == "up", "a release outside is no click: " + be.Joined());

  // Check box: setting from code is silent; a click toggles and reports once.
  // (A click also moves the focus there: only the clicks count here.)
  check->SetFocus();
  ce.log.clear();
  check->SetChecked(true);
  Check(check->Checked() && ce.log.empty(), "SetChecked raises nothing: " + ce.Joined());
  SendMessageW(ToHwnd(check->Handle()), BM_CLICK, 0, 0);
  Check(!check->Checked() && ce.Joined() == "click", "BM_CLICK: checked " + std::to_string(check->Checked()) +
                                                           ", events " + ce.Joined());
  // A hint's tooltip subclasses the box: its clicks must still be told.
  check->SetHint("変更タイミング");
  ce.log.clear();
  SendMessageW(ToHwnd(check->Handle()), BM_CLICK, 0, 0);
  Check(check->Checked() && ce.Joined() == "click", "BM_CLICK with a hint: checked " +
                                                        std::to_string(check->Checked()) + ", events " + ce.Joined());

  // Combo box: new entries keep the typed text; entries keep their characters.
  combo->SetCaption("入力中");
  combo->SetItems({"800 x 600", "ｸﾗｲｱﾝﾄ", "𠀋"});
  Check(combo->Caption() == "入力中", "typed text after SetItems: " + combo->Caption());
  const auto items = combo->Items();
  Check(items == std::vector<std::string>{"800 x 600", "ｸﾗｲｱﾝﾄ", "𠀋"}, "items round trip");
  list->SetItems({"標準", "センタリング"});
  list->SetCaption("センタリング");
  Check(list->ItemIndex() == 1 && list->Caption() == "センタリング",
        "drop-down list text selects index " + std::to_string(list->ItemIndex()));
  list->SetItemIndex(0);
  Check(list->Caption() == "標準" && le.log.empty(), "SetItemIndex is silent: " + le.Joined());

  // Form: stay on top switches both ways; closing reports to the facade.
  form->SetStayOnTop(true);
  Check(form->StayOnTop() && (ws.GetExStyle(form->Handle()) & 0x8) != 0, "stay on top set");
  form->SetStayOnTop(false);
  Check(!form->StayOnTop(), "stay on top cleared");
  form->SetBorderIcons(true, true, false);
  const std::uint32_t style = ws.GetStyle(form->Handle());
  Check((style & WS_SYSMENU_) && (style & WS_MINIMIZEBOX_) && !(style & WS_MAXIMIZEBOX_) && !(style & WS_THICKFRAME_),
        "border icons: style " + Hex(style));
  Check(form->ClientRect() == Rect{0, 0, 300, 200}, "client size kept across a style change: " + Str(form->ClientRect()));
}

void TestSizeableForm() {
  g_test = "Sizeable";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkForm4");
  form->SetSizeable(true);
  form->Show();
  form->SetWindowRect({100, 100, 400, 400});
  fe.min_height = 250;
  fe.resizes = 0;
  form->SetWindowRect({100, 100, 420, 300});
  Check(form->WindowRect() == Rect{100, 100, 420, 350}, "adjusted to the facade's minimum: " + Str(form->WindowRect()));
  Check(fe.resizes >= 1, "resize reported");
  fe.refuse_width = 500;
  form->SetWindowRect({120, 110, 620, 500});
  Check(form->WindowRect() == Rect{120, 110, 440, 360}, "refused size kept, move done: " + Str(form->WindowRect()));
}

void TestBorderDrags() {
  g_test = "BorderDrags";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  HeightOnlyForm fe;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkDragForm");
  fe.form = form.get();
  form->SetSizeable(true);
  form->SetClientSize(300, 240);
  form->Show();
  const Rect home{300, 200, 620, 480};
  HWND h = ToHwnd(form->Handle());
  struct Edge {
    const char* name;
    POINT grip;   // a point on the border, from the window's corner
    POINT by;     // how far the mouse goes
    bool allow;
    int min_height;
    Rect want;    // the window afterwards, relative to home
  };
  const int w = home.Width(), hh = home.Height();
  const Edge edges[] = {
      // Width fixed: neither side moves.
      {"left", {1, hh / 2}, {-40, 0}, true, 0, {0, 0, w, hh}},
      {"right", {w - 2, hh / 2}, {40, 0}, true, 0, {0, 0, w, hh}},
      // Height granted: the opposite edge stays where it was.
      {"top up", {w / 2, 1}, {0, -30}, true, 0, {0, -30, w, hh}},
      {"bottom down", {w / 2, hh - 2}, {0, 30}, true, 0, {0, 0, w, hh + 30}},
      // Refused: the window stays where it was, not moved by the drag.
      {"top down below the minimum", {w / 2, 1}, {0, 40}, true, hh, {0, 0, w, hh}},
      {"top, every size refused", {w / 2, 1}, {0, -40}, false, 0, {0, 0, w, hh}},
      {"left, every size refused", {1, hh / 2}, {-30, 0}, false, 0, {0, 0, w, hh}},
  };
  for (const Edge& e : edges) {
    fe.judging = false;
    form->SetWindowRect(home);
    SetForegroundWindow(h);
    PumpUntil([&] { return GetForegroundWindow() == h; });
    fe.judging = true;
    fe.allow = e.allow;
    fe.min_height = e.min_height;
    const POINT from{home.left + e.grip.x, home.top + e.grip.y};
    Drag(from, {from.x + e.by.x, from.y + e.by.y});
    const Rect want{home.left + e.want.left, home.top + e.want.top, home.left + e.want.right,
                    home.top + e.want.bottom};
    // The window system's sizing loop may still be taking the last move.
    Check(PumpUntil([&] { return form->WindowRect() == want; }, 2000),
          std::string(e.name) + ": " + Str(form->WindowRect()) + ", expected " + Str(want));
  }
}

void TestModalForm() {
  g_test = "Modal";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder main_events, dialog_events;
  EndModalButton ok_events;
  auto main = tk.Create<FormPeer>(ControlKind::Form, nullptr, main_events, "WkModalMain");
  auto dialog = tk.Create<FormPeer>(ControlKind::Form, nullptr, dialog_events, "WkModalDialog");
  auto ok = tk.Create<ButtonPeer>(ControlKind::Button, dialog.get(), ok_events, "WkModalOk");
  ok_events.form = dialog.get();
  HWND hmain = ToHwnd(main->Handle());
  HWND hdialog = ToHwnd(dialog->Handle());
  // A hint makes the form's tooltip window, which must not keep the form
  // from staying on top.
  Recorder hinted_events;
  auto hinted = tk.Create<LabelPeer>(ControlKind::Label, main.get(), hinted_events, "WkModalHinted");
  hinted->SetHint("ヒント");
  main->SetClientSize(200, 120);
  main->SetWindowRect({100, 100, 320, 260});
  main->Show();
  main->SetStayOnTop(true);
  Check(main->StayOnTop(), "stay on top with a hinted control, ex style " +
                               Hex(static_cast<COLORREF>(GetWindowLongW(hmain, GWL_EXSTYLE))));
  // As the list editor asks: a single fixed border, no title-bar buttons.
  dialog->SetBorderIcons(false, false, false);
  dialog->SetSizeable(false);
  dialog->SetClientSize(289, 310);
  ok->SetBounds({82, 281, 135, 306});
  const DWORD style = static_cast<DWORD>(GetWindowLongW(hdialog, GWL_STYLE));
  Check((style & WS_CAPTION) == WS_CAPTION && !(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)),
        "dialog frame style " + Hex(style));
  Check(dialog->ClientRect() == Rect{0, 0, 289, 310}, "dialog client " + Str(dialog->ClientRect()));
  // Hidden, the dialog is nobody's: a window that owns another cannot be made
  // topmost, and the main window must stay able to.
  CheckEq(GetWindow(hdialog, GW_OWNER), nullptr, "the hidden dialog has no owner");
  main->SetStayOnTop(false);
  Check(!main->StayOnTop(), "stay on top off with the dialog made");
  main->SetStayOnTop(true);
  Check(main->StayOnTop(), "stay on top on again with the dialog made");

  // Open: the main window disabled, the dialog in front and above it even
  // though the main window stays on top; O K gives mrOk.
  struct Observed {
    bool shown = false, main_disabled = false, topmost = false, above_main = false, foreground = false,
         owned = false;
  } seen;
  std::thread watcher([&] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!(IsWindowVisible(hdialog) && GetForegroundWindow() == hdialog) && std::chrono::steady_clock::now() < deadline) {
      Sleep(10);
    }
    seen.shown = IsWindowVisible(hdialog) != FALSE;
    seen.foreground = GetForegroundWindow() == hdialog;
    seen.main_disabled = !IsWindowEnabled(hmain);
    seen.topmost = (GetWindowLongW(hdialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    seen.owned = GetWindow(hdialog, GW_OWNER) == hmain;
    for (HWND h = GetWindow(hmain, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV)) {
      if (h == hdialog) seen.above_main = true;
    }
    Click(CentreOfWindow(ToHwnd(ok->Handle())));
  });
  const ModalResult first = dialog->ShowModal();
  watcher.join();
  Check(seen.shown && seen.foreground && seen.main_disabled && seen.topmost && seen.above_main && seen.owned,
        "while open: shown " + std::to_string(seen.shown) + ", owned " + std::to_string(seen.owned) +
            ", foreground " + std::to_string(seen.foreground) +
            ", main disabled " + std::to_string(seen.main_disabled) + ", topmost " + std::to_string(seen.topmost) +
            ", above main " + std::to_string(seen.above_main));
  Check(first == ModalResult::mrOk, "O K gives mrOk, got " + std::to_string(static_cast<int>(first)));
  Check(IsWindowEnabled(hmain) && !IsWindowVisible(hdialog) && GetWindow(hdialog, GW_OWNER) == nullptr,
        "after: main enabled, dialog hidden and nobody's");
  main->SetStayOnTop(false);
  main->SetStayOnTop(true);
  Check(main->StayOnTop(), "stay on top after the dialog closed");
  Check(PumpUntil([&] { return GetForegroundWindow() == hmain; }), "the main window is active again");

  // Alt+F4 (the dialog has no close box) counts as Cancel; an EndModal
  // between two openings is no result of the next one.
  dialog->EndModal(ModalResult::mrOk);
  dialog_events.log.clear();
  std::thread closer([&] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (GetForegroundWindow() != hdialog && std::chrono::steady_clock::now() < deadline) Sleep(10);
    KeyInput(VK_MENU, false);
    Press(VK_F4);
    KeyInput(VK_MENU, true);
  });
  const ModalResult second = dialog->ShowModal();
  closer.join();
  Check(second == ModalResult::mrCancel && dialog_events.Joined() == "close",
        "Alt+F4 gives mrCancel, got " + std::to_string(static_cast<int>(second)) + ", events " + dialog_events.Joined());
  Check(IsWindowEnabled(hmain) && !IsWindowVisible(hdialog), "after Alt+F4: main enabled, dialog hidden");
}

void TestShowMessage() {
  g_test = "ShowMessage";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  tk.Application().SetTitle("Wakumo");
  Recorder fe;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkMessageForm");
  HWND hform = ToHwnd(form->Handle());
  form->SetClientSize(200, 100);
  form->Show();
  SetForegroundWindow(hform);
  PumpUntil([&] { return GetForegroundWindow() == hform; });
  MessageBoxClicker clicker;
  tk.Application().ShowMessage("設定ファイルを保存できません:\nC:\\wakumo.ini");
  const MessageBoxSeen seen = clicker.Seen();
  Check(seen.found && seen.title == "Wakumo" && seen.text == "設定ファイルを保存できません:\nC:\\wakumo.ini",
        "box: found " + std::to_string(seen.found) + ", title \"" + seen.title + "\", text \"" + seen.text + "\"");
  Check(seen.owner == hform && !seen.owner_enabled, "owned by the active form, which waits for it");
  Check(IsWindowEnabled(hform), "the form takes input again");
}

void TestLabelDoubleClick() {
  g_test = "LabelDblClick";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe, pe;
  DoubleClickRecorder le;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkDblForm");
  auto panel = tk.Create<PanelPeer>(ControlKind::Panel, form.get(), pe, "WkDblPanel");
  auto label = tk.Create<LabelPeer>(ControlKind::Label, panel.get(), le, "WkDblLabel");
  form->SetClientSize(200, 100);
  panel->SetBounds({0, 20, 200, 100});
  label->SetBounds({8, 40, 52, 53});
  label->SetCaption("サイズ：");
  form->Show();
  HWND hform = ToHwnd(form->Handle());
  SetForegroundWindow(hform);
  PumpUntil([&] { return GetForegroundWindow() == hform; });
  const POINT p = CentreOfWindow(ToHwnd(label->Handle()));
  Click(p);
  Click(p);
  Check(PumpUntil([&] { return le.double_clicks == 1; }), "double-clicks heard: " + std::to_string(le.double_clicks));
}

}  // namespace wakumo
