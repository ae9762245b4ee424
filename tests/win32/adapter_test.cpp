// The Win32 adapters against the real user32, gdi32 and comctl32 (run under
// Wine on Linux). Prints one line per failed check with the actual values and
// ends with "N passed, N failed".
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "controls/arrow_key_hook.h"
#include "controls/number_edit.h"
#include "controls/slide_up_down.h"
#include "presets/list_editor.h"
#include "ui/form.h"
#include "ui/value_list_editor.h"
#include "win32/win32_api.h"
#include "win32/win32_canvas.h"
#include "win32/win32_control_peer.h"
#include "win32/win32_dpi.h"
#include "win32/win32_handles.h"
#include "win32/win32_menu.h"
#include "win32/win32_paint_box.h"
#include "win32/win32_platform.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"
#include "win32/win32_value_list_editor.h"
#include "win32/win32_window_system.h"

#include "adapter_support.h"

namespace wakumo {
namespace {

struct Recorder : PeerEvents {
  std::vector<std::string> log;
  void PeerClick() override { log.push_back("click"); }
  void PeerChange() override { log.push_back("change"); }
  void PeerSelect() override { log.push_back("select"); }
  void PeerMouseDown(MouseButton, ShiftState s, Point p) override {
    log.push_back("down " + std::to_string(p.x) + "," + std::to_string(p.y) + (s.shift ? " shift" : ""));
  }
  void PeerMouseUp(MouseButton, ShiftState, Point) override { log.push_back("up"); }
  void PeerClose() override { log.push_back("close"); }
  void PeerEnter() override { log.push_back("enter"); }
  void PeerExit() override { log.push_back("exit"); }
  void PeerResize() override { ++resizes; }
  bool PeerCanResize(int& width, int& height) override {
    if (width == refuse_width) return false;
    if (height < min_height) height = min_height;
    return true;
  }
  // Typing: 'a' becomes 'b', 'x' is dropped, everything is recorded.
  bool PeerKeyPress(char32_t& ch) override {
    typed.push_back(ch);
    if (ch == U'x') return false;
    if (ch == U'a') ch = U'b';
    return true;
  }
  bool PeerPaste() override {
    log.push_back("paste");
    return take_paste;
  }
  std::u32string typed;
  bool take_paste = false;
  int resizes = 0;
  int refuse_width = -1;
  int min_height = 0;
  std::string Joined() const {
    std::string s;
    for (const auto& e : log) s += (s.empty() ? "" : "|") + e;
    return s;
  }
};

// The tooltip window that holds the tools of `form`'s controls; it has no
// owner, so it is found by its tools.
HWND TooltipsOf(HWND form) {
  for (HWND tips = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tips;
       tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)) {
    const int count = static_cast<int>(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      TTTOOLINFOW ti{};
      ti.cbSize = sizeof(ti);
      if (SendMessageW(tips, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&ti)) &&
          ti.hwnd == form)
        return tips;
    }
  }
  return nullptr;
}

// A top-level window painted in four vertical colour bands, for screen tests.
constexpr COLORREF kBands[4] = {RGB(200, 30, 60), RGB(20, 160, 90), RGB(40, 70, 210), RGB(230, 200, 20)};

LRESULT CALLBACK BandsProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    for (int i = 0; i < 4; ++i) {
      RECT band{rc.right * i / 4, 0, rc.right * (i + 1) / 4, rc.bottom};
      HBRUSH b = CreateSolidBrush(kBands[i]);
      FillRect(dc, &band, b);
      DeleteObject(b);
    }
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProcW(h, m, w, l);
}

// The screen pixels of `r`, read in one copy.
std::vector<COLORREF> Capture(const RECT& r) {
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  std::vector<COLORREF> out(static_cast<std::size_t>(w * h));
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* px = static_cast<const DWORD*>(bits);
  for (int i = 0; i < w * h; ++i) {
    const DWORD v = px[i];  // 0x00RRGGBB
    out[static_cast<std::size_t>(i)] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return out;
}

void TestXorFrameDrawnTwiceRestoresScreen() {
  g_test = "XorFrame";
  WNDCLASSW wc{};
  wc.lpfnWndProc = BandsProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"WakumoTestBands";
  RegisterClassW(&wc);
  HWND bands = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"WakumoTestBands", L"", WS_POPUP | WS_VISIBLE, 100,
                               100, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
  UpdateWindow(bands);
  HDC screen = GetDC(nullptr);
  const bool painted = PumpUntil([&] {
    return GetPixel(screen, 110, 110) == kBands[0] && GetPixel(screen, 490, 390) == kBands[3];
  });
  Check(painted, "the test window never showed its colours; at (110,110) " + Hex(GetPixel(screen, 110, 110)));

  Win32WindowSystem ws;
  const RECT area{100, 100, 500, 400};
  const Rect frame{150, 140, 450, 350};
  const std::vector<COLORREF> before = Capture(area);
  ws.DrawXorFrame(frame);
  const std::vector<COLORREF> once = Capture(area);
  ws.DrawXorFrame(frame);
  const std::vector<COLORREF> twice = Capture(area);

  // First draw: the pixels that changed were inverted, and they lie on the path.
  int changed = 0;
  int not_inverted = 0;
  int off_path = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const std::size_t i = static_cast<std::size_t>((y - area.top) * (area.right - area.left) + (x - area.left));
      if (once[i] == before[i]) continue;
      ++changed;
      if (once[i] != (before[i] ^ 0xFFFFFF)) ++not_inverted;
      const bool near_vertical = (std::abs(x - frame.left) <= 1 || std::abs(x - frame.right) <= 1) &&
                                 y >= frame.top - 1 && y <= frame.bottom + 1;
      const bool near_horizontal = (std::abs(y - frame.top) <= 1 || std::abs(y - frame.bottom) <= 1) &&
                                   x >= frame.left - 1 && x <= frame.right + 1;
      if (!near_vertical && !near_horizontal) ++off_path;
    }
  }
  const int perimeter = 2 * (frame.Width() + frame.Height());
  Check(changed >= perimeter * 2 - 16 && changed <= perimeter * 2 + 16,
        "a 2 px outline of " + Str(frame) + " changes about " + std::to_string(perimeter * 2) + " pixels, got " +
            std::to_string(changed));
  Check(not_inverted == 0, std::to_string(not_inverted) + " changed pixels were not the inverse");
  Check(off_path == 0, std::to_string(off_path) + " changed pixels lie off the outline");

  // Mid-points of the four sides, read with GetPixel: inverted after one draw.
  const POINT mids[4] = {{300, frame.top}, {frame.right, 245}, {300, frame.bottom}, {frame.left, 245}};
  for (const POINT& p : mids) {
    const std::size_t i = static_cast<std::size_t>((p.y - area.top) * (area.right - area.left) + (p.x - area.left));
    const std::size_t i_above = i - static_cast<std::size_t>(area.right - area.left);
    const std::size_t i_left = i - 1;
    const bool inverted = once[i] == (before[i] ^ 0xFFFFFF) || once[i_above] == (before[i_above] ^ 0xFFFFFF) ||
                          once[i_left] == (before[i_left] ^ 0xFFFFFF);
    Check(inverted, "side point (" + std::to_string(p.x) + ", " + std::to_string(p.y) + ") not inverted: " +
                        Hex(before[i]) + " -> " + Hex(once[i]));
    Check(GetPixel(screen, p.x, p.y) == before[i],
          "after the second draw GetPixel(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ") is " +
              Hex(GetPixel(screen, p.x, p.y)) + ", was " + Hex(before[i]));
  }

  // Second draw: every pixel as before.
  int differ = 0;
  for (std::size_t i = 0; i < before.size(); ++i) differ += twice[i] != before[i];
  Check(differ == 0, std::to_string(differ) + " pixels differ after drawing the outline twice");

  ReleaseDC(nullptr, screen);
  DestroyWindow(bands);
}

std::string NameOf(HWND h) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(h, kNameProperty)));
  if (!atom) return {};
  wchar_t buf[256];
  const UINT n = GlobalGetAtomNameW(atom, buf, 256);
  return Narrow(std::wstring_view(buf, n));
}

std::string TextOf(HWND h) {
  wchar_t buf[512];
  const LRESULT n = SendMessageW(h, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf));
  return Narrow(std::wstring_view(buf, static_cast<std::size_t>(n)));
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
    Check(ws.GetParent(label->Handle()) == panel->Handle(), "label's parent is the panel");
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

void TestResourcesAndCursor() {
  g_test = "Resources";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  const ResourceBitmap* sight = tk.Bitmap("SIGHT");
  Check(sight && sight->Width() == 28 && sight->Height() == 28, "SIGHT is 28 x 28");
  for (const char* glyph : {"GETGLYPH", "WLISTGLYPH", "WSGLYPH", "LISTGLYPH"}) {
    Check(tk.Bitmap(glyph) != nullptr, std::string("bitmap ") + glyph + " loads");
  }
  Check(tk.Bitmap("NOSUCHBITMAP") == nullptr, "a missing bitmap is null, not a crash");

  HCURSOR sight_cursor = LoadCursorW(GetModuleHandleW(nullptr), L"MYCURSOR");
  ICONINFO info{};
  Check(sight_cursor && GetIconInfo(sight_cursor, &info), "MYCURSOR loads");
  if (sight_cursor) {
    Check(info.xHotspot == 15 && info.yHotspot == 15,
          "hot spot (" + std::to_string(info.xHotspot) + ", " + std::to_string(info.yHotspot) + ")");
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
  }
  ScreenPeer& screen = tk.Screen();
  screen.RegisterCursor(5, "MYCURSOR");
  screen.SetCursor(5);
  Check(screen.Cursor() == 5 && GetCursor() == sight_cursor, "screen cursor 5 is in force at once");
  screen.SetCursor(0);
  Check(screen.Cursor() == 0 && GetCursor() != sight_cursor, "crDefault puts it away");
}

void TestWindowSystemTexts() {
  g_test = "WindowSystem";
  Win32WindowSystem ws;
  // A long title comes back whole; cutting is the caller's business.
  std::string title;
  for (int i = 0; i < 40; ++i) title += "ウィンドウ𠀋";
  HWND w = CreateWindowExW(0, L"STATIC", Wide(title).c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  Check(ws.GetWindowText(ToHandle(w)) == title, "long title read whole, got " +
                                                    std::to_string(ws.GetWindowText(ToHandle(w)).size()) + " bytes");
  Check(ws.GetClassName(ToHandle(w)) == "Static", "class name: " + ws.GetClassName(ToHandle(w)));
  const auto all = ws.EnumWindows();
  Check(std::find(all.begin(), all.end(), ToHandle(w)) != all.end(), "EnumWindows lists our window");
  DestroyWindow(w);
  // A vanished window gives empty answers.
  Check(ws.GetWindowRect(ToHandle(w)) == Rect{}, "vanished window rect: " + Str(ws.GetWindowRect(ToHandle(w))));
  Check(ws.GetWindowText(ToHandle(w)).empty() && ws.GetClassName(ToHandle(w)).empty(), "vanished window texts");
  const Rect work = ws.GetWorkArea();
  Check(work.Width() > 0 && work.Height() > 0, "work area " + Str(work));
}

struct MenuRecorder : MenuItemEvents {
  std::vector<std::string>* log = nullptr;
  std::string name;
  void PeerClick() override { log->push_back(name); }
};

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
  Check(menu->Items().Children().size() == 3, "entry removed");
}

void TestPaintedLooks() {
  g_test = "Looks";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe, pe, ke;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkLooks");
  auto panel = tk.Create<PanelPeer>(ControlKind::Panel, form.get(), pe, "WkBevel");
  auto combo = tk.Create<ItemsPeer>(ControlKind::ComboBox, form.get(), ke, "WkCombo2");
  form->SetClientSize(200, 100);
  panel->SetBounds({10, 10, 42, 42});
  combo->SetBounds({50, 10, 150, 31});
  // Raised: light top-left, dark bottom-right; lowered the other way round.
  const auto pixels = [&](BevelKind outer) {
    panel->SetBevel(outer, BevelKind::bvNone);
    panel->SetColor(clLime);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = SelectObject(mem, bmp);
    SendMessageW(ToHwnd(panel->Handle()), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
    std::vector<COLORREF> out = {GetPixel(mem, 0, 5), GetPixel(mem, 31, 5), GetPixel(mem, 16, 16)};
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return out;
  };
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
  const auto raised = pixels(BevelKind::bvRaised);
  Check(raised[0] == light && raised[1] == dark && raised[2] == RGB(0, 255, 0),
        "raised bevel: left " + Hex(raised[0]) + ", right " + Hex(raised[1]) + ", inside " + Hex(raised[2]));
  const auto lowered = pixels(BevelKind::bvLowered);
  Check(lowered[0] == dark && lowered[1] == light, "lowered bevel: left " + Hex(lowered[0]) + ", right " + Hex(lowered[1]));

  // Choosing an entry: the text follows the choice before the facade hears
  // change, then select.
  combo->SetItems({"800 x 600", "1024 x 768"});
  SendMessageW(ToHwnd(combo->Handle()), CB_SETCURSEL, 1, 0);
  SendMessageW(ToHwnd(form->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(ToHwnd(combo->Handle())), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(ToHwnd(combo->Handle())));
  Check(ke.Joined() == "change|select" && combo->Caption() == "1024 x 768",
        "selection events " + ke.Joined() + ", text " + combo->Caption());

  // One tooltip tool per control with a hint; an empty hint removes it.
  panel->SetHint("照準|長い説明");
  combo->SetHint("ショートカット");
  HWND tips = TooltipsOf(ToHwnd(form->Handle()));
  Check(tips && SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0) == 2, "two tools");
  if (tips) {
    wchar_t text[80] = {};
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = ToHwnd(form->Handle());
    ti.uId = reinterpret_cast<UINT_PTR>(ToHwnd(panel->Handle()));
    ti.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&ti));
    Check(Narrow(text) == "照準", "the short part of the hint is shown: " + Narrow(text));
    combo->SetHint("");
    Check(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0) == 1, "empty hint removes the tool");
  }
}

void TestEditKeyboard() {
  g_test = "EditKeys";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe, ee, oe;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkForm3");
  auto edit = tk.Create<EditPeer>(ControlKind::Edit, form.get(), ee, "WkEdit");
  auto other = tk.Create<EditPeer>(ControlKind::Edit, form.get(), oe, "WkOther");
  form->SetClientSize(200, 100);
  edit->SetBounds({0, 0, 100, 21});
  other->SetBounds({0, 30, 100, 51});
  form->Show();
  HWND h = ToHwnd(edit->Handle());
  for (wchar_t c : std::wstring(L"axc")) SendMessageW(h, WM_CHAR, c, 1);
  // U+2000B arrives as two units and reaches the facade as one character.
  SendMessageW(h, WM_CHAR, 0xD840, 1);
  SendMessageW(h, WM_CHAR, 0xDC0B, 1);
  Check(edit->Caption() == "bc\xF0\xA0\x80\x8B", "typed text: " + edit->Caption());
  Check(ee.typed == std::u32string{U'a', U'x', U'c', U'\U0002000B'}, "key presses seen: " + std::to_string(ee.typed.size()));
  Check(edit->SelStart() == 4 && edit->SelLength() == 0, "caret after typing: " + std::to_string(edit->SelStart()));
  edit->SetSel(1, 2);
  Check(edit->SelStart() == 1 && edit->SelLength() == 2, "selection set: " + std::to_string(edit->SelStart()) + "+" +
                                                             std::to_string(edit->SelLength()));
  // A paste the facade takes leaves the text alone.
  ee.take_paste = true;
  SendMessageW(h, WM_PASTE, 0, 0);
  Check(edit->Caption() == "bc\xF0\xA0\x80\x8B" && ee.log.back() == "paste", "paste taken by the facade");
  // Focus: the one losing it hears exit before the other hears enter.
  edit->SetFocus();
  ee.log.clear();
  other->SetFocus();
  Check(edit->Focused() == false && other->Focused(), "focus moved");
  Check(ee.Joined() == "exit" && oe.log.size() == 1 && oe.log[0] == "enter", "focus events: " + ee.Joined() + " / " +
                                                                                oe.Joined());
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

void TestListView() {
  g_test = "ListView";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe, le;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkForm5");
  auto list = tk.Create<ListViewPeer>(ControlKind::ListView, form.get(), le, "WkList");
  form->SetClientSize(348, 200);
  list->SetBounds({0, 0, 348, 192});
  list->SetColumns({ListColumn{"タイトル", 200, 4, false}, ListColumn{"クラス名", 0, 0, true}});
  list->AddRow({"(無題) - メモ帳", "Notepad"});
  list->AddRow({std::string(300, 'w'), "Shell_TrayWnd"});
  Check(list->RowCount() == 2, "rows: " + std::to_string(list->RowCount()));
  const auto row = list->RowTexts(1);
  Check(row.size() == 2 && row[0] == std::string(300, 'w') && row[1] == "Shell_TrayWnd", "long row texts come back whole");
  Check(list->RowTexts(0) == std::vector<std::string>{"(無題) - メモ帳", "Notepad"}, "row 0 texts");
  Check(list->SelectedRow() == -1, "nothing selected at first");
  HWND h = ToHwnd(list->Handle());
  RECT client{};
  GetClientRect(h, &client);
  const int fill = static_cast<int>(SendMessageW(h, LVM_GETCOLUMNWIDTH, 1, 0));
  Check(fill == client.right - ScaleToDpi(200, DpiForWindow(h)), "filling column width " + std::to_string(fill) +
                                                                     " of client " + std::to_string(client.right));
  list->ClearRows();
  Check(list->RowCount() == 0 && list->RowTexts(0).empty(), "cleared");
}

void TestOffscreenCanvas() {
  g_test = "Canvas";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  HDC screen = GetDC(nullptr);
  GdiCanvas canvas(tk, screen, 96);
  auto off = canvas.CreateOffscreen(20, 10);
  Check(off->ToBitmap() == Bitmap24(20, 10, clBlack), "black to start with");
  off->SetBrush({RGBColor(255, 0, 0), BrushStyle::bsSolid});
  off->FillRect({2, 2, 6, 5});
  off->SetPen({clWhite, 1, PenStyle::psSolid});
  off->MoveTo({0, 9});
  off->LineTo({5, 9});
  Bitmap24 pic(3, 2, clLime);
  pic.SetPixel(0, 1, clBlue);  // bottom-left: the transparent colour
  pic.SetPixel(2, 1, clBlue);
  off->Draw({10, 0}, pic, true);
  const Bitmap24 got = off->ToBitmap();
  Check(got.Pixel(2, 2) == RGBColor(255, 0, 0) && got.Pixel(5, 4) == RGBColor(255, 0, 0),
        "filled rectangle inside");
  Check(got.Pixel(6, 4) == clBlack && got.Pixel(5, 5) == clBlack, "right column and bottom row left out");
  Check(got.Pixel(4, 9) == clWhite && got.Pixel(5, 9) == clBlack, "a line leaves out its last pixel");
  Check(got.Pixel(10, 0) == clLime && got.Pixel(10, 1) == clBlack && got.Pixel(11, 1) == clLime,
        "transparent draw skips the bottom-left colour");
  off->SetFont(FontSpec{});
  const TextSize ts = off->TextExtent("ＡＢ");
  Check(ts.cx > 0 && ts.cy >= 12, "text extent " + std::to_string(ts.cx) + " x " + std::to_string(ts.cy));
  Check(off->GetPixel({25, 0}) == kInvalidColor, "outside the surface");
  ReleaseDC(nullptr, screen);

  // Menu pictures are measured and drawn by the menu's owner window.
  const ResourceBitmap* pic16 = tk.Bitmap("MAXBOTH");
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = reinterpret_cast<ULONG_PTR>(pic16);
  LRESULT result = 0;
  Check(pic16 && HandleMenuPictureMessage(WM_MEASUREITEM, reinterpret_cast<LPARAM>(&measure), 96, result) &&
            measure.itemWidth == 16 && measure.itemHeight == 16,
        "menu picture measured " + std::to_string(measure.itemWidth) + " x " + std::to_string(measure.itemHeight));
  measure.CtlType = ODT_BUTTON;
  Check(!HandleMenuPictureMessage(WM_MEASUREITEM, reinterpret_cast<LPARAM>(&measure), 96, result),
        "other owner-drawn items are not ours");
}


// ---- Paint boxes, the edit's contract, and the spinner on real windows ------

std::string PointStr(Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

// A paint box's facade: fills its design area with one colour and records
// the mouse; the press takes the capture and the release gives it back, as
// the keep buttons do.
struct PaintBoxRecorder : PeerEvents {
  explicit PaintBoxRecorder(TColor f) : fill(f) {}
  TColor fill;
  ControlPeer* self = nullptr;
  int paints = 0;
  Point design_size{};
  std::vector<std::string> log;
  void PeerPaint(Canvas& c) override {
    ++paints;
    if (self) design_size = {self->Bounds().Width(), self->Bounds().Height()};
    c.SetBrush({fill, BrushStyle::bsSolid});
    c.FillRect({0, 0, design_size.x, design_size.y});
  }
  void PeerMouseDown(MouseButton, ShiftState, Point p) override {
    log.push_back("down " + PointStr(p));
    if (self) self->SetMouseCapture(true);
  }
  void PeerMouseMove(ShiftState, Point p) override { log.push_back("move " + PointStr(p)); }
  void PeerMouseUp(MouseButton, ShiftState, Point p) override {
    log.push_back("up " + PointStr(p));
    if (self) self->SetMouseCapture(false);
  }
  void PeerMouseEnter() override { log.push_back("enter"); }
  void PeerMouseLeave() override { log.push_back("leave"); }
  std::string Joined() const {
    std::string s;
    for (const auto& e : log) s += (s.empty() ? "" : "|") + e;
    return s;
  }
  int Count(const std::string& prefix) const {
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
  }
};

std::vector<HWND> ChildrenTopDown(HWND parent) {
  std::vector<HWND> out;
  for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) out.push_back(h);
  return out;
}

// The screen colour at a point of a window's client area.
COLORREF ClientPixel(HWND h, int x, int y) {
  POINT p{x, y};
  ClientToScreen(h, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

void TestPaintBoxes() {
  g_test = "PaintBox";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe, pe, e1, e2;
  PaintBoxRecorder sr(RGBColor(250, 0, 0)), ur(RGBColor(0, 250, 0)), dr(RGBColor(0, 0, 250));
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkPaintForm");
  auto panel = tk.Create<PanelPeer>(ControlKind::Panel, form.get(), pe, "WkPaintPanel");
  // As a spinner makes them: the strip first, then the arrows over it; the
  // edits around them keep their (tab) order.
  auto edit1 = tk.Create<EditPeer>(ControlKind::Edit, panel.get(), e1, "WkPaintEdit1");
  auto slider = tk.CreateControl(ControlKind::PaintBox, panel.get(), sr, "WkPaintSlider");
  auto up = tk.CreateControl(ControlKind::PaintBox, panel.get(), ur, "WkPaintUp");
  auto down = tk.CreateControl(ControlKind::PaintBox, panel.get(), dr, "WkPaintDown");
  auto edit2 = tk.Create<EditPeer>(ControlKind::Edit, panel.get(), e2, "WkPaintEdit2");
  sr.self = slider.get();
  ur.self = up.get();
  dr.self = down.get();
  form->SetClientSize(200, 100);
  panel->SetBounds({10, 10, 110, 70});
  edit1->SetBounds({0, 0, 48, 21});
  slider->SetBounds({48, 0, 60, 21});
  up->SetBounds({48, 0, 60, 9});
  down->SetBounds({48, 12, 60, 21});
  edit2->SetBounds({0, 30, 48, 51});
  HWND ph = ToHwnd(panel->Handle());
  HWND sh = ToHwnd(slider->Handle());
  HWND uh = ToHwnd(up->Handle());
  HWND dh = ToHwnd(down->Handle());
  const std::vector<HWND> order = ChildrenTopDown(ph);
  const std::vector<HWND> expected = {ToHwnd(edit1->Handle()), ToHwnd(edit2->Handle()), dh, uh, sh};
  std::string names;
  for (HWND h : order) names += NameOf(h) + " ";
  Check(order == expected, "z-order top down: " + names);
  const UINT dpi = DpiForWindow(ph);
  const auto at = [&](int x, int y) {
    return NameOf(ChildWindowFromPointEx(ph, POINT{ScaleToDpi(x, dpi), ScaleToDpi(y, dpi)}, CWP_SKIPINVISIBLE));
  };
  Check(at(50, 4) == "WkPaintUp" && at(50, 10) == "WkPaintSlider" && at(50, 15) == "WkPaintDown",
        "hit: " + at(50, 4) + " / " + at(50, 10) + " / " + at(50, 15));

  // Painting: each shows its own colour, the strip only in the gap.
  form->Show();
  SetForegroundWindow(ToHwnd(form->Handle()));
  const bool painted = PumpUntil([&] {
    return ClientPixel(uh, 2, 2) == ToColorRef(ur.fill) && ClientPixel(sh, 2, 10) == ToColorRef(sr.fill) &&
           ClientPixel(dh, 2, 2) == ToColorRef(dr.fill);
  });
  Check(painted, "colours on screen: up " + Hex(ClientPixel(uh, 2, 2)) + ", gap " + Hex(ClientPixel(sh, 2, 10)) +
                     ", down " + Hex(ClientPixel(dh, 2, 2)));
  Check(ur.design_size == Point{12, 9}, "painted in design pixels " + PointStr(ur.design_size));
  HDC dc = GetDC(uh);
  Check(SendMessageW(uh, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) != 0 &&
            ClientPixel(uh, 2, 2) == ToColorRef(ur.fill),
        "background erasing is left out");
  ReleaseDC(uh, dc);
  // Repaint only invalidates; the picture comes with the next WM_PAINT.
  const int paints = ur.paints;
  ur.fill = RGBColor(0, 120, 0);
  up->Repaint();
  Check(ur.paints == paints && GetUpdateRect(uh, nullptr, FALSE), "Repaint invalidated without painting");
  Check(PumpUntil([&] { return ClientPixel(uh, 2, 2) == RGB(0, 120, 0); }), "repainted in the new colour");

  // Mouse: design pixels; moves while captured, also outside, with enter and
  // leave from the point.
  SendMessageW(uh, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ScaleToDpi(3, dpi), ScaleToDpi(4, dpi)));
  Check(GetCapture() == uh && up->MouseCaptured(), "press took the capture");
  SendMessageW(uh, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ScaleToDpi(4, dpi), ScaleToDpi(4, dpi)));
  SendMessageW(uh, WM_MOUSEMOVE, MK_LBUTTON,
               MAKELPARAM(static_cast<WORD>(static_cast<short>(ScaleToDpi(-5, dpi))), ScaleToDpi(30, dpi)));
  SendMessageW(uh, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ScaleToDpi(2, dpi), ScaleToDpi(2, dpi)));
  Check(ur.Joined() == "down 3,4|move 4,4|enter|move -5,30|leave|move 2,2|enter",
        "press and captured moves: " + ur.Joined());
  // Someone else takes the mouse: the press ends.
  ur.log.clear();
  SetCapture(ToHwnd(edit1->Handle()));
  Check(ur.Count("up") == 1, "capture lost mid-press raises one release: " + ur.Joined());
  ReleaseCapture();
  // A plain release (which gives the capture back) raises exactly one.
  ur.log.clear();
  SendMessageW(uh, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(uh, WM_LBUTTONUP, 0, MAKELPARAM(ScaleToDpi(5, dpi), ScaleToDpi(6, dpi)));
  Check(ur.Count("up") == 1 && ur.Count("up 5,6") == 1 && GetCapture() != uh,
        "release: " + ur.Joined());

  // The slider strip's cursor.
  tk.Screen().SetCursor(0);
  slider->SetCursor(static_cast<int>(CursorId::crVSplit));
  const LRESULT set = SendMessageW(sh, WM_SETCURSOR, reinterpret_cast<WPARAM>(sh), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  Check(set == TRUE && GetCursor() == LoadCursorW(nullptr, IDC_SIZENS), "crVSplit shows the north-south arrows");
  POINT origin{0, 0};
  ClientToScreen(uh, &origin);
  const Point screen = up->ClientToScreen({1, 2});
  Check(screen == Point{origin.x + ScaleToDpi(1, dpi), origin.y + ScaleToDpi(2, dpi)},
        "ClientToScreen " + PointStr(screen));
}

void TestCanvasInDesignPixels() {
  g_test = "DesignPixels";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 24, 18);
  HGDIOBJ old = SelectObject(mem, bmp);
  ReleaseDC(nullptr, screen);
  const COLORREF background = RGB(10, 20, 200);
  const RECT all{0, 0, 24, 18};
  HBRUSH bg = CreateSolidBrush(background);
  FillRect(mem, &all, bg);
  Point seen{};
  // At 192 DPI a 12 x 9 picture covers 24 x 18 device pixels, each design
  // pixel a 2 x 2 block; what is not painted keeps the background.
  PaintInDesignPixels(tk, mem, SIZE{24, 18}, SIZE{12, 9}, 192, [&](Canvas& c) {
    seen = {c.GetPixel({11, 8}) == kInvalidColor ? -1 : 12, c.GetPixel({12, 9}) == kInvalidColor ? 9 : -1};
    c.SetPixel({1, 1}, RGBColor(255, 0, 0));
    c.SetPen({clWhite, 1, PenStyle::psSolid});
    c.MoveTo({0, 8});
    c.LineTo({4, 8});
  });
  Check(seen == Point{12, 9}, "the canvas is 12 x 9");
  Check(GetPixel(mem, 2, 2) == RGB(255, 0, 0) && GetPixel(mem, 3, 3) == RGB(255, 0, 0) &&
            GetPixel(mem, 4, 2) == background && GetPixel(mem, 1, 1) == background,
        "pixel (1, 1) became the block (2..3, 2..3): " + Hex(GetPixel(mem, 2, 2)) + " " + Hex(GetPixel(mem, 4, 2)));
  Check(GetPixel(mem, 0, 16) == RGB(255, 255, 255) && GetPixel(mem, 7, 17) == RGB(255, 255, 255) &&
            GetPixel(mem, 8, 16) == background,
        "line of 4 design pixels is 8 device pixels: " + Hex(GetPixel(mem, 7, 17)) + " " + Hex(GetPixel(mem, 8, 16)));
  // At 96 DPI the canvas draws straight on the device context.
  FillRect(mem, &all, bg);
  PaintInDesignPixels(tk, mem, SIZE{24, 18}, SIZE{24, 18}, 96, [&](Canvas& c) { c.SetPixel({1, 1}, clWhite); });
  Check(GetPixel(mem, 1, 1) == RGB(255, 255, 255) && GetPixel(mem, 2, 2) == background, "96 DPI: one pixel");
  DeleteObject(bg);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);

  // System colours, and a polygon filled with the brush and outlined by the pen.
  screen = GetDC(nullptr);
  GdiCanvas canvas(tk, screen, 96);
  auto off = canvas.CreateOffscreen(16, 16);
  off->SetPen({clBtnShadow, 1, PenStyle::psSolid});
  off->MoveTo({0, 0});
  off->LineTo({5, 0});
  off->SetPen({clBlue, 1, PenStyle::psSolid});
  off->SetBrush({RGBColor(255, 0, 0), BrushStyle::bsSolid});
  off->Polygon({{2, 12}, {12, 12}, {7, 7}});
  const Bitmap24 got = off->ToBitmap();
  ReleaseDC(nullptr, screen);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  Check(got.Pixel(0, 0) == static_cast<TColor>(shadow), "clBtnShadow is the system's " + Hex(shadow) + ", got " +
                                                            Hex(got.Pixel(0, 0)));
  Check(got.Pixel(7, 11) == RGBColor(255, 0, 0) && got.Pixel(2, 12) == clBlue && got.Pixel(7, 7) == clBlue,
        "polygon inside " + Hex(got.Pixel(7, 11)) + ", corners " + Hex(got.Pixel(2, 12)) + " " + Hex(got.Pixel(7, 7)));
}

// Records the edit's events; entering selects all, as the main window's fields do.
struct EditRecorder : PeerEvents {
  EditPeer* self = nullptr;
  std::vector<std::string> log;
  std::u32string typed;
  bool take_paste = true;
  bool select_on_enter = true;
  std::string nested;  // written once from inside the change handler
  void PeerChange() override {
    log.push_back("change:" + (self ? self->Caption() : std::string()));
    if (!nested.empty() && self) {
      const std::string text = std::exchange(nested, std::string());
      self->SetCaption(text);
    }
  }
  bool PeerKeyPress(char32_t& ch) override {
    typed.push_back(ch);
    return ch != U'x';
  }
  bool PeerPaste() override {
    log.push_back("paste");
    return take_paste;
  }
  void PeerEnter() override {
    log.push_back("enter");
    if (select_on_enter && self) self->SetSel(0, static_cast<int>(Wide(self->Caption()).size()));
  }
  void PeerExit() override { log.push_back("exit"); }
  std::string Joined() const {
    std::string s;
    for (const auto& e : log) s += (s.empty() ? "" : "|") + e;
    return s;
  }
  int Count(const std::string& entry) const { return static_cast<int>(std::count(log.begin(), log.end(), entry)); }
};

std::string SelStr(const EditPeer& e) { return std::to_string(e.SelStart()) + "+" + std::to_string(e.SelLength()); }

void TestEditPeerContract() {
  g_test = "EditContract";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe, be;
  EditRecorder er, or_;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkEditForm");
  auto before = tk.Create<ButtonPeer>(ControlKind::Button, form.get(), be, "WkEditBefore");
  auto edit = tk.Create<EditPeer>(ControlKind::Edit, form.get(), er, "WkEditNum");
  auto other = tk.Create<EditPeer>(ControlKind::Edit, form.get(), or_, "WkEditOther");
  er.self = edit.get();
  or_.self = other.get();
  form->SetClientSize(200, 100);
  before->SetBounds({0, 0, 40, 21});
  edit->SetBounds({50, 0, 98, 21});
  other->SetBounds({50, 30, 98, 51});
  form->Show();
  SetForegroundWindow(ToHwnd(form->Handle()));
  Check(edit->HasParentWindow(), "an edit on a form has its parent window");
  HWND h = ToHwnd(edit->Handle());

  // Control characters reach the facade; Ctrl+V's character becomes a paste
  // request, as do Shift+Insert and the message itself.
  edit->SetCaption("12");
  er.log.clear();
  for (wchar_t c : {L'\x03', L'\x18', L'\x1A', L'\x08', L'\x16'}) SendMessageW(h, WM_CHAR, c, 1);
  Check(er.typed == std::u32string{3, 0x18, 0x1A, 8, 0x16}, "control characters seen: " + std::to_string(er.typed.size()));
  Check(er.Count("paste") == 1, "Ctrl+V asks the facade: " + er.Joined());
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  BYTE shifted[256];
  std::copy(std::begin(keys), std::end(keys), std::begin(shifted));
  shifted[VK_SHIFT] = 0x80;
  SetKeyboardState(shifted);
  SendMessageW(h, WM_KEYDOWN, VK_INSERT, 1);
  SetKeyboardState(keys);
  Check(er.Count("paste") == 2, "Shift+Insert asks the facade: " + er.Joined());
  // The context menu's Paste: keys typed before the menu opens are read by
  // its loop (P is the entry's access key; the entry needs text to paste).
  Win32Clipboard clipboard;
  clipboard.SetText("7");
  edit->SetFocus();
  er.log.clear();
  KeyInput('P', false);
  KeyInput('P', true);
  const UINT_PTR deadline = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
  RECT wr{};
  GetWindowRect(h, &wr);
  SendMessageW(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), MAKELPARAM(wr.left + 5, wr.top + 5));
  KillTimer(nullptr, deadline);
  Check(er.Count("paste") == 1, "the context menu's Paste asks the facade: " + er.Joined());
  er.take_paste = false;
  er.log.clear();
  edit->SetSel(2, 0);
  SendMessageW(h, WM_PASTE, 0, 0);
  Check(edit->Caption() == "127" && er.Joined() == "paste|change:127", "a paste the facade leaves: " + er.Joined());

  // Text changes are reported at once, also nested ones from inside the handler.
  er.log.clear();
  edit->SetCaption("345");
  Check(er.Joined() == "change:345", "WM_SETTEXT reports a change: " + er.Joined());
  Check(edit->SelStart() == 0 && edit->SelLength() == 0, "caret at 0 after WM_SETTEXT: " + SelStr(*edit));
  er.log.clear();
  er.nested = "6,789";
  edit->SetCaption("6789");
  Check(er.Joined() == "change:6789|change:6,789" && edit->Caption() == "6,789",
        "nested change delivered: " + er.Joined() + ", text " + edit->Caption());
  er.log.clear();
  edit->SetSel(0, 2);
  SendMessageW(h, WM_CUT, 0, 0);
  Check(edit->Caption() == "789" && er.Count("change:789") == 1, "cut reports: " + er.Joined());
  SendMessageW(h, WM_UNDO, 0, 0);
  // (Wine's undo reports its change twice; the facade rereads the same text.)
  Check(edit->Caption() == "6,789" && er.Count("change:6,789") >= 1, "undo reports: " + er.Joined());
  // Selection in UTF-16 units.
  edit->SetCaption("𠀋12");
  edit->SetSel(2, 1);
  Check(edit->SelStart() == 2 && edit->SelLength() == 1, "selection past a surrogate pair: " + SelStr(*edit));
  edit->SetModified(true);
  Check(edit->Modified(), "modified set");
  edit->SetModified(false);
  Check(!edit->Modified(), "modified cleared");

  // A click that gives the focus keeps what entering selected; a click in
  // the focused field places the caret.
  edit->SetCaption("12345");
  other->SetFocus();
  er.log.clear();
  const UINT dpi = DpiForWindow(h);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ScaleToDpi(6, dpi), ScaleToDpi(8, dpi)));
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ScaleToDpi(7, dpi), ScaleToDpi(8, dpi)));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(ScaleToDpi(7, dpi), ScaleToDpi(8, dpi)));
  Check(edit->Focused() && er.Joined() == "enter" && edit->SelStart() == 0 && edit->SelLength() == 5,
        "focusing click keeps the select-all: " + er.Joined() + ", selection " + SelStr(*edit));
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ScaleToDpi(6, dpi), ScaleToDpi(8, dpi)));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(ScaleToDpi(6, dpi), ScaleToDpi(8, dpi)));
  Check(edit->SelLength() == 0, "a click in the focused field places the caret: " + SelStr(*edit));

  // Alignment makes the window anew and keeps everything about it.
  edit->SetHint("幅");
  edit->SetFont(FontSpec{"Arial", 15, true, clWindowText});
  edit->SetCaption("4321");
  edit->SetSel(1, 2);
  edit->SetModified(true);
  edit->SetMaxLength(6);
  edit->SetFocus();
  RECT old_rect{};
  GetWindowRect(h, &old_rect);
  const LRESULT old_font = SendMessageW(h, WM_GETFONT, 0, 0);
  er.log.clear();
  edit->SetAlignment(TextAlign::taRightJustify);
  HWND n = ToHwnd(edit->Handle());
  RECT new_rect{};
  GetWindowRect(n, &new_rect);
  Check(n && n != h && !IsWindow(h), "a new window replaced the old one");
  Check((GetWindowLongW(n, GWL_STYLE) & ES_RIGHT) != 0 && (GetWindowLongW(n, GWL_STYLE) & WS_TABSTOP) != 0,
        "right-aligned style");
  Check(edit->Caption() == "4321" && edit->SelStart() == 1 && edit->SelLength() == 2 && edit->Modified(),
        "text, selection, modified kept: " + edit->Caption() + " " + SelStr(*edit));
  Check(SendMessageW(n, EM_GETLIMITTEXT, 0, 0) == 6, "text limit kept");
  Check(SendMessageW(n, WM_GETFONT, 0, 0) == old_font, "font kept");
  Check(NameOf(n) == "WkEditNum" && EqualRect(&old_rect, &new_rect), "name and place kept");
  Check(GetWindow(n, GW_HWNDPREV) == ToHwnd(before->Handle()) && GetWindow(n, GW_HWNDNEXT) == ToHwnd(other->Handle()),
        "z-order (tab order) kept");
  Check(GetFocus() == n && er.log.empty(), "focus kept, facade not told: " + er.Joined());
  Check(GetDlgCtrlID(n) != 0 && GetParent(n) == ToHwnd(form->Handle()), "id and parent kept");
  er.typed.clear();
  SendMessageW(n, WM_CHAR, L'x', 1);
  SendMessageW(n, WM_CHAR, L'9', 1);
  // "9" replaces the kept selection "32".
  Check(er.typed == U"x9" && edit->Caption() == "491", "the new window is subclassed: " + edit->Caption());
  HWND tips = TooltipsOf(ToHwnd(form->Handle()));
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = ToHwnd(form->Handle());
  ti.uId = reinterpret_cast<UINT_PTR>(n);
  Check(tips && SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0) == 1 &&
            SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)),
        "the hint moved to the new window");
  edit->SetAlignment(TextAlign::taRightJustify);
  Check(ToHwnd(edit->Handle()) == n, "the same alignment again keeps the window");

  // The input method stays closed: no input context at all.
  using GetContextFn = void*(WINAPI*)(HWND);
  using ReleaseContextFn = BOOL(WINAPI*)(HWND, void*);
  HMODULE imm = LoadLibraryW(L"imm32.dll");
  auto get_context = imm ? reinterpret_cast<GetContextFn>(reinterpret_cast<void*>(GetProcAddress(imm, "ImmGetContext"))) : nullptr;
  auto release_context =
      imm ? reinterpret_cast<ReleaseContextFn>(reinterpret_cast<void*>(GetProcAddress(imm, "ImmReleaseContext"))) : nullptr;
  Check(get_context && release_context, "imm32 present");
  if (get_context && release_context) {
    void* open_context = get_context(n);
    if (open_context) release_context(n, open_context);
    edit->SetImeClosed(true);
    void* closed = get_context(ToHwnd(edit->Handle()));
    Check(closed == nullptr && open_context != nullptr, "input context before " + std::to_string(open_context != nullptr) +
                                                            ", after closing " + std::to_string(closed != nullptr));
    if (closed) release_context(ToHwnd(edit->Handle()), closed);
    edit->SetAlignment(TextAlign::taCenter);
    void* after = get_context(ToHwnd(edit->Handle()));
    Check(after == nullptr, "still closed after the window was made anew");
    if (after) release_context(ToHwnd(edit->Handle()), after);
    edit->SetImeClosed(false);
    void* reopened = get_context(ToHwnd(edit->Handle()));
    Check(reopened != nullptr, "opened again");
    if (reopened) release_context(ToHwnd(edit->Handle()), reopened);
  }

  // A real click on the field of an inactive form: activating the form gives
  // the field the focus back before the press arrives; the press keeps the
  // selection made on entering all the same.
  edit->SetCaption("24680");
  edit->SetFocus();
  Recorder ae;
  auto away = tk.Create<FormPeer>(ControlKind::Form, nullptr, ae, "WkEditAway");
  away->SetClientSize(100, 50);
  away->Show();
  // Clear of the field.
  RECT fr{};
  GetWindowRect(ToHwnd(form->Handle()), &fr);
  away->SetWindowRect({fr.right + 20, fr.top, fr.right + 160, fr.top + 80});
  SetForegroundWindow(ToHwnd(away->Handle()));
  Check(PumpUntil([&] { return GetForegroundWindow() == ToHwnd(away->Handle()); }), "the other form came forward");
  er.log.clear();
  RECT er_rect{};
  GetWindowRect(ToHwnd(edit->Handle()), &er_rect);
  const POINT mid{(er_rect.left + er_rect.right) / 2, (er_rect.top + er_rect.bottom) / 2};
  MouseInput(mid, 0);
  // Wine's cursor may snap back to its previous place for a moment after a
  // SendInput move: press only once it has stayed on the field.
  auto settled_since = std::chrono::steady_clock::now();
  Check(PumpUntil([&] {
          POINT p{};
          GetCursorPos(&p);
          const auto now = std::chrono::steady_clock::now();
          if (p.x != mid.x || p.y != mid.y) {
            settled_since = now;
            MouseInput(mid, 0);
            return false;
          }
          return now - settled_since >= std::chrono::milliseconds(200);
        }),
        "the cursor stays on the field");
  MouseInput(mid, MOUSEEVENTF_LEFTDOWN);
  MouseInput(mid, MOUSEEVENTF_LEFTUP);
  const bool back = PumpUntil([&] {
    return GetForegroundWindow() == ToHwnd(form->Handle()) && edit->Focused() && GetCapture() == nullptr &&
           GetAsyncKeyState(VK_LBUTTON) >= 0 && er.Count("enter") == 1 &&
           HIWORD(GetQueueStatus(QS_MOUSEBUTTON)) == 0;  // the release handled too
  });
  Check(back && edit->SelStart() == 0 && edit->SelLength() == 5,
        "click into an inactive form keeps the select-all: " + er.Joined() + ", selection " + SelStr(*edit) +
            ", foreground " + NameOf(GetForegroundWindow()) + ", focus " + NameOf(GetFocus()));
}

// ---- The spinner and its number field on real windows ----------------------

// Screen point of a design point in a control's client area.
POINT ScreenOf(TControl& c, int x, int y) {
  HWND h = ToHwnd(c.Handle());
  const UINT dpi = DpiForWindow(h);
  POINT p{ScaleToDpi(x, dpi), ScaleToDpi(y, dpi)};
  ClientToScreen(h, &p);
  return p;
}

int g_keydowns = 0;
LRESULT CALLBACK CountKeyDowns(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
  if (msg == WM_KEYDOWN && (w == VK_UP || w == VK_DOWN)) ++g_keydowns;
  return DefSubclassProc(h, msg, w, l);
}

// The main window's number fields: a size field and a position field, each
// with its spinner, set as they are stored.
struct SpinnerRig {
  Win32Toolkit tk{GetModuleHandleW(nullptr)};
  Win32Platform platform;
  ArrowKeyHook arrow_keys{platform.keyboard_hook};
  TForm form{tk, "WkSpinForm"};
  TNumberEdit size_edit{tk, &form, "WkEdSize", platform.keyboard, platform.clipboard, platform.locale};
  TSlideUpDown size{tk, &form, "WkSize", Context()};
  TNumberEdit pos_edit{tk, &form, "WkEdPos", platform.keyboard, platform.clipboard, platform.locale};
  TSlideUpDown pos{tk, &form, "WkPos", Context()};

  SlideUpDownContext Context() { return SlideUpDownContext{platform.timers, platform.system, platform.locale, arrow_keys}; }

  SpinnerRig() {
    form.SetClientSize(200, 80);
    size_edit.SetBounds(90, 10, 48, 21);
    size_edit.SetLimitOptions({TLimitOption::loMin});
    size_edit.SetMax(1);
    size_edit.SetMin(1);
    size_edit.SetValue(1);
    Load(size_edit, size, true);
    pos_edit.SetBounds(90, 40, 48, 21);
    pos_edit.SetLimitOptions({});
    Load(pos_edit, pos, false);
    for (TNumberEdit* e : {&size_edit, &pos_edit}) {
      e->OnEnter = [e] { e->SelectAll(); };
    }
  }

  void Load(TNumberEdit& field, TSlideUpDown& spinner, bool is_size) {
    TSlideUpDownValues v;
    v.Bounds = Rect{field.Left() + field.Width(), field.Top(), field.Left() + field.Width() + 12, field.Top() + field.Height()};
    v.Buttons = {TBody::bdFull, false, 500, 33, true, 1.0L};
    v.Slider = {TBody::bdLight, false, static_cast<int>(CursorId::crVSplit), 3, 1.0L};
    v.Associate = &field;
    if (is_size) v.Position = 1;
    v.Quantity = 1;
    v.Rate = 1;
    v.Increment = 1;
    v.FunctionKind = TFunctionKind::fkLinear;
    v.Format = "#0";
    v.Max = 9999;
    v.Min = is_size ? 1 : -9999;
    v.Wrap = false;
    spinner.Load(v);
  }
};

void TestSpinnerOnWindows() {
  g_test = "Spinner";
  SpinnerRig rig;
  TSlideUpDown& size = rig.size;
  HWND form = ToHwnd(rig.form.Handle());
  rig.form.Show();
  SetForegroundWindow(form);
  HWND up = ToHwnd(size.UpButton().Handle());
  HWND slider = ToHwnd(size.SliderPart().Handle());
  HWND down = ToHwnd(size.DownButton().Handle());
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  // The 12 x 9 arrows: up tip (5, 4) over the base (4..6, 5); down base
  // (4..6, 3) over the tip (5, 4); the strip's raised bevel in the gap.
  const bool drawn = PumpUntil([&] {
    return ClientPixel(up, 5, 4) == text && ClientPixel(up, 4, 5) == text && ClientPixel(up, 6, 5) == text &&
           ClientPixel(down, 5, 4) == text && ClientPixel(down, 4, 3) == text;
  });
  Check(drawn, "arrows: up tip " + Hex(ClientPixel(up, 5, 4)) + ", down tip " + Hex(ClientPixel(down, 5, 4)));
  Check(ClientPixel(up, 4, 4) == face && ClientPixel(up, 5, 3) == face && ClientPixel(up, 3, 5) == face,
        "around the up arrow: " + Hex(ClientPixel(up, 4, 4)) + " " + Hex(ClientPixel(up, 5, 3)));
  Check(ClientPixel(up, 0, 4) == GetSysColor(COLOR_3DLIGHT) && ClientPixel(up, 11, 4) == GetSysColor(COLOR_3DDKSHADOW),
        "up button's outer bevel: " + Hex(ClientPixel(up, 0, 4)) + " " + Hex(ClientPixel(up, 11, 4)));
  Check(ClientPixel(slider, 0, 10) == GetSysColor(COLOR_BTNHIGHLIGHT) &&
            ClientPixel(slider, 11, 10) == GetSysColor(COLOR_BTNSHADOW) && ClientPixel(slider, 5, 10) == face,
        "strip in the gap: " + Hex(ClientPixel(slider, 0, 10)) + " " + Hex(ClientPixel(slider, 5, 10)) + " " +
            Hex(ClientPixel(slider, 11, 10)));
  RECT sr{};
  GetWindowRect(ToHwnd(size.Handle()), &sr);
  RECT er{};
  GetWindowRect(ToHwnd(rig.size_edit.Handle()), &er);
  Check(sr.left == er.right && sr.top == er.top && sr.bottom == er.bottom, "flush right of its field");

  // The field shows its number on the right.
  HWND edit = ToHwnd(rig.size_edit.Handle());
  Check(rig.size_edit.Text() == "1" && (GetWindowLongW(edit, GWL_STYLE) & ES_RIGHT) != 0, "right-aligned 1");
  RECT client{};
  GetClientRect(edit, &client);
  int leftmost_ink = client.right;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) {
      if (ClientPixel(edit, x, y) == text) leftmost_ink = std::min(leftmost_ink, x);
    }
  }
  Check(leftmost_ink > client.right / 2, "the digit sits in the right half, from x " + std::to_string(leftmost_ink) +
                                             " of " + std::to_string(client.right));

  // Holding the up arrow: 2 at the press, then counting on while held.
  const POINT up_middle = ScreenOf(size.UpButton(), 5, 4);
  // Pressed only once the pointer stays on the arrow: under load Wine may put
  // it back where it was, and a button held with the pointer off it pauses.
  SettleCursorAt(up_middle);
  MouseInput(up_middle, MOUSEEVENTF_LEFTDOWN);
  Check(PumpUntil([&] { return rig.size_edit.Text() == "2"; }), "press steps to 2, shows " + rig.size_edit.Text());
  Check(PumpUntil([&] { return std::atoi(rig.size_edit.Text().c_str()) >= 6; }, 4000),
        "held: counts on, shows " + rig.size_edit.Text());
  MouseInput(up_middle, MOUSEEVENTF_LEFTUP);
  PumpUntil([&] { return GetCapture() != up; });
  const std::string held = rig.size_edit.Text();
  Check(!PumpUntil([&] { return rig.size_edit.Text() != held; }, 400), "released: stays " + held + ", shows " +
                                                                             rig.size_edit.Text());
  Check(GetFocus() == edit, "the arrow gave its field the focus");

  // Typed 12345 stays until the arrow reads the position: 9999, the top.
  rig.size_edit.SetText("");
  for (wchar_t c : std::wstring(L"12345")) SendMessageW(edit, WM_CHAR, c, 1);
  Check(rig.size_edit.Text() == "12345", "typed: " + rig.size_edit.Text());
  MouseInput(up_middle, MOUSEEVENTF_LEFTDOWN);
  MouseInput(up_middle, MOUSEEVENTF_LEFTUP);
  Check(PumpUntil([&] { return rig.size_edit.Text() == "9999" && GetCapture() != up; }),
        "the arrow confines and steps: " + rig.size_edit.Text());

  // Dragging the strip: up 5 pixels is 5 more, down 5 is 5 less.
  TSlideUpDown& pos = rig.pos;
  Check(rig.pos_edit.Text() == "0", "position field starts at 0: " + rig.pos_edit.Text());
  const POINT grip = ScreenOf(pos.SliderPart(), 5, 10);
  const UINT dpi = DpiForWindow(form);
  MouseInput(grip, 0);
  MouseInput(grip, MOUSEEVENTF_LEFTDOWN);
  PumpUntil([&] { return GetCapture() == ToHwnd(pos.SliderPart().Handle()); });
  MouseInput({grip.x, grip.y - ScaleToDpi(5, dpi)}, 0);
  Check(PumpUntil([&] { return rig.pos_edit.Text() == "5"; }), "dragged up 5: " + rig.pos_edit.Text());
  MouseInput({grip.x + 40, grip.y + ScaleToDpi(5, dpi)}, 0);
  Check(PumpUntil([&] { return rig.pos_edit.Text() == "-5"; }), "dragged down 5, off the strip: " + rig.pos_edit.Text());
  MouseInput({grip.x + 40, grip.y + ScaleToDpi(5, dpi)}, MOUSEEVENTF_LEFTUP);
  Check(PumpUntil([&] { return GetCapture() == nullptr; }), "release gave the capture back");
  Check(GetFocus() == ToHwnd(rig.pos_edit.Handle()), "the strip gave its field the focus");

  // Up in a field steps its own spinner only, and the field gets the key too.
  SetWindowSubclass(ToHwnd(rig.pos_edit.Handle()), CountKeyDowns, 77, 0);
  g_keydowns = 0;
  const std::string size_before = rig.size_edit.Text();
  KeyInput(VK_UP, false);
  KeyInput(VK_UP, true);
  Check(PumpUntil([&] { return rig.pos_edit.Text() == "-4" && g_keydowns == 1; }),
        "Up: field " + rig.pos_edit.Text() + ", key downs " + std::to_string(g_keydowns));
  Check(rig.size_edit.Text() == size_before, "the other spinner kept " + rig.size_edit.Text());
  RemoveWindowSubclass(ToHwnd(rig.pos_edit.Handle()), CountKeyDowns, 77);
}


// ---- The key/value grid, modal forms and message boxes ---------------------

POINT CentreOnScreen(HWND h, const RECT& client_rect) {
  POINT p{(client_rect.left + client_rect.right) / 2, (client_rect.top + client_rect.bottom) / 2};
  ClientToScreen(h, &p);
  return p;
}

std::string Rows(const RowsPeer& grid) {
  std::string s;
  for (int i = 0; i < grid.RowCount(); ++i) {
    const auto texts = grid.RowTexts(i);
    s += (i ? " | " : "") + (texts.size() == 2 ? texts[0] + "=" + texts[1] : std::string("?"));
  }
  return s;
}

// What a message box of ours showed.
struct MessageBoxSeen {
  bool found = false;
  std::string title;
  std::string text;
  HWND owner = nullptr;
  bool owner_enabled = true;
};

// Waits in a thread of its own for a message box of this process (polling
// with a deadline), reads it and clicks its OK button, so that the UI thread
// can sit in the box's own loop meanwhile.
class MessageBoxClicker {
 public:
  explicit MessageBoxClicker(int timeout_ms = 5000) : thread_([this, timeout_ms] { Run(timeout_ms); }) {}
  ~MessageBoxClicker() {
    if (thread_.joinable()) thread_.join();
  }
  bool Done() const { return done_; }
  MessageBoxSeen Seen() {
    if (thread_.joinable()) thread_.join();
    return seen_;
  }

 private:
  static HWND FindBox() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND h, LPARAM l) -> BOOL {
          DWORD pid = 0;
          GetWindowThreadProcessId(h, &pid);
          wchar_t cls[32] = {};
          GetClassNameW(h, cls, 32);
          if (pid != GetCurrentProcessId() || std::wstring(cls) != L"#32770" || !IsWindowVisible(h)) return TRUE;
          *reinterpret_cast<HWND*>(l) = h;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  }

  void Run(int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    HWND box = nullptr;
    while (!(box = FindBox()) && std::chrono::steady_clock::now() < deadline) Sleep(10);
    if (box) {
      seen_.found = true;
      seen_.title = TextOf(box);
      seen_.owner = GetWindow(box, GW_OWNER);
      seen_.owner_enabled = seen_.owner && IsWindowEnabled(seen_.owner);
      // The text is the static child that is not the icon.
      for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        GetClassNameW(c, cls, 32);
        const std::string t = TextOf(c);
        if (_wcsicmp(cls, L"Static") == 0 && !t.empty()) seen_.text = t;
      }
      HWND ok = GetDlgItem(box, IDOK);
      while (IsWindow(box) && std::chrono::steady_clock::now() < deadline) {
        if (ok) {
          SetForegroundWindow(box);
          Click(CentreOfWindow(ok));
        }
        for (int i = 0; i < 50 && IsWindow(box) && IsWindowVisible(box); ++i) Sleep(10);
        if (!IsWindowVisible(box)) break;
      }
      // Never leave the test waiting for a person.
      if (IsWindow(box) && IsWindowVisible(box)) PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    done_ = true;
  }

  MessageBoxSeen seen_;
  std::atomic<bool> done_{false};
  std::thread thread_;
};

// A grid's events: the selection as it stood when each click was heard; the
// click widens the selection to the whole row, as the list editor does.
struct GridRecorder : PeerEvents {
  Win32ValueListEditorPeer* grid = nullptr;
  std::vector<std::string> clicks;
  bool widen = true;
  std::string PeerKeyRefusal(GridKeyFault fault, const std::string& key) override { return GridKeyRefusalText(fault, key); }
  void PeerClick() override {
    clicks.push_back(std::to_string(grid->SelectedRow()) + "," + std::to_string(grid->FocusColumn()));
    if (widen) grid->SelectWholeRow(grid->SelectedRow());
  }
};

struct GridRig {
  Win32Toolkit tk{GetModuleHandleW(nullptr)};
  Recorder form_events, after_events;
  GridRecorder grid_events;
  std::unique_ptr<FormPeer> form = tk.Create<FormPeer>(ControlKind::Form, nullptr, form_events, "WkGridForm");
  std::unique_ptr<GridPeer> grid_peer = tk.Create<GridPeer>(ControlKind::ValueListEditor, form.get(), grid_events, "WkGrid");
  std::unique_ptr<EditPeer> after = tk.Create<EditPeer>(ControlKind::Edit, form.get(), after_events, "WkAfterGrid");
  Win32ValueListEditorPeer* grid = dynamic_cast<Win32ValueListEditorPeer*>(grid_peer.get());
  HWND hgrid = ToHwnd(grid_peer->Handle());

  GridRig() {
    tk.Application().SetTitle("Wakumo");
    grid_events.grid = grid;
    FontSpec f;
    f.name = "ＭＳ Ｐゴシック";
    f.height = 12;
    form->SetFont(f);
    form->SetClientSize(289, 200);
    grid_peer->SetBounds({0, 18, 240, 130});
    grid_peer->SetColumns({ListColumn{"", 80, 0, false}, ListColumn{"", 154, 0, true}});
    after->SetBounds({0, 140, 100, 161});
  }
  std::vector<std::string> Keys() const {
    std::vector<std::string> keys;
    for (int i = 0; i < grid->RowCount(); ++i) keys.push_back(grid->RowTexts(i)[0]);
    return keys;
  }
  POINT Cell(int row, int column) const { return CentreOnScreen(hgrid, grid->CellRect(row, column)); }
};

void TestGridRows() {
  g_test = "GridRows";
  GridRig rig;
  Check(rig.grid != nullptr, "the grid kind has a grid peer");
  if (!rig.grid) return;
  GridPeer& grid = *rig.grid;
  Check(NameOf(rig.hgrid) == "WkGrid" && GetParent(rig.hgrid) == ToHwnd(rig.form->Handle()),
        "a child window named WkGrid: " + NameOf(rig.hgrid));
  Check(grid.RowCount() == 0 && grid.SelectedRow() == -1, "empty: selection " + std::to_string(grid.SelectedRow()));

  for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
           {"640 x 480", "VGA"}, {"800 x 600", "SVGA"}, {"1024 x 768", "ＸＧＡ"}}) {
    const auto refusal = grid.AppendKeyValue(key, value);
    Check(!refusal, "appending " + key + " refused: " + refusal.value_or(""));
  }
  Check(grid.SelectedRow() == 0 && rig.grid->FocusColumn() == 1 && !rig.grid->WholeRowSelected(),
        "filling selects row 0's value: row " + std::to_string(grid.SelectedRow()) + " column " +
            std::to_string(rig.grid->FocusColumn()));

  // Refused keys come back with the shared text, and nothing is added.
  const std::vector<std::string> keys = rig.Keys();
  for (const std::string& bad : {std::string("800 X 600"), std::string("a=b"), std::string("640 x 480")}) {
    const auto refusal = grid.AppendKeyValue(bad, "dup");
    const auto expected = GridKeyRefusal(keys, 3, bad);
    Check(refusal && expected && *refusal == *expected,
          "append " + bad + ": " + refusal.value_or("(accepted)") + " vs " + expected.value_or("(none)"));
  }
  Check(Rows(grid) == "640 x 480=VGA | 800 x 600=SVGA | 1024 x 768=ＸＧＡ", "rows after refusals: " + Rows(grid));
  // Another process reads the rows as the window's text.
  Check(TextOf(rig.hgrid) == "640 x 480=VGA\r\n800 x 600=SVGA\r\n1024 x 768=ＸＧＡ\r\n",
        "window text: " + TextOf(rig.hgrid));

  // Two columns: the key 80 wide, the value filling the rest, lines between.
  RECT client{};
  GetClientRect(rig.hgrid, &client);
  const UINT dpi = DpiForWindow(rig.hgrid);
  const RECT key_cell = rig.grid->CellRect(0, 0);
  const RECT value_cell = rig.grid->CellRect(0, 1);
  Check(key_cell.left == 0 && key_cell.right == ScaleToDpi(80, dpi) && value_cell.left == key_cell.right + 1 &&
            value_cell.right == client.right - 1,
        "cells " + Str(ToRect(key_cell)) + " " + Str(ToRect(value_cell)) + " in " + Str(ToRect(client)));
  Check(grid.Columns().size() == 2 && grid.Columns()[0].width == 80 && grid.Columns()[1].fill,
        "columns: key " + std::to_string(grid.Columns()[0].width));

  // Exchange: texts trade places, the selection stays.
  grid.SelectWholeRow(1);
  grid.ExchangeRows(0, 2);
  Check(Rows(grid) == "1024 x 768=ＸＧＡ | 800 x 600=SVGA | 640 x 480=VGA" && grid.SelectedRow() == 1 &&
            rig.grid->WholeRowSelected(),
        "exchanged: " + Rows(grid) + ", selection " + std::to_string(grid.SelectedRow()));
  grid.SelectWholeRow(5);
  grid.SelectWholeRow(-1);
  Check(grid.SelectedRow() == 1, "out of range selection ignored: " + std::to_string(grid.SelectedRow()));

  // Delete: the selection keeps its index, clamped to the last row.
  grid.SelectWholeRow(2);
  grid.DeleteRow(0);
  Check(Rows(grid) == "800 x 600=SVGA | 640 x 480=VGA" && grid.SelectedRow() == 1,
        "deleted row 0: " + Rows(grid) + ", selection " + std::to_string(grid.SelectedRow()));
  grid.SelectWholeRow(0);
  grid.DeleteRow(0);
  Check(Rows(grid) == "640 x 480=VGA" && grid.SelectedRow() == 0, "selection 0 stays 0: " + std::to_string(grid.SelectedRow()));
  grid.DeleteRow(3);
  grid.DeleteRow(0);
  Check(grid.RowCount() == 0 && grid.SelectedRow() == -1, "emptied: selection " + std::to_string(grid.SelectedRow()));
  grid.ExchangeRows(0, 1);
  grid.DeleteRow(0);
  Check(grid.RowCount() == 0, "calls on an empty grid do nothing");

  // More rows than fit: the selected row is scrolled into view.
  for (int i = 1; i <= 30; ++i) grid.AppendKeyValue(std::to_string(i) + " x " + std::to_string(i), "");
  Check(grid.SelectedRow() == 0 && rig.grid->FocusColumn() == 1, "refilled: selection on row 0's value again");
  grid.SelectWholeRow(29);
  GetClientRect(rig.hgrid, &client);
  const RECT last = rig.grid->CellRect(29, 0);
  Check(last.top >= 0 && last.bottom <= client.bottom, "last row in view: " + Str(ToRect(last)) + " of " + Str(ToRect(client)));
  Check((GetWindowLongW(rig.hgrid, GWL_STYLE) & WS_VSCROLL) != 0, "a scroll bar for 30 rows");
  grid.ClearRows();
  Check(grid.RowCount() == 0 && grid.SelectedRow() == -1 && TextOf(rig.hgrid).empty(), "cleared");
}

void TestGridEditing() {
  g_test = "GridEdit";
  GridRig rig;
  if (!rig.grid) return;
  GridPeer& grid = *rig.grid;
  for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
           {"640 x 480", "VGA"}, {"800 x 600", "SVGA"}, {"1024 x 768", "XGA"}}) {
    grid.AppendKeyValue(key, value);
  }
  HWND form = ToHwnd(rig.form->Handle());
  rig.form->Show();
  SetForegroundWindow(form);
  Check(PumpRoutedUntil(rig.tk, [&] { return GetForegroundWindow() == form; }), "the grid's form came forward");
  rig.after->SetFocus();

  // A click moves the selection first, then the facade hears it.
  Click(rig.Cell(1, 0));
  Check(PumpRoutedUntil(rig.tk, [&] { return !rig.grid_events.clicks.empty() && GetAsyncKeyState(VK_LBUTTON) >= 0; }),
        "click heard");
  Check(rig.grid_events.clicks == std::vector<std::string>{"1,0"} && grid.Focused() && rig.grid->WholeRowSelected() &&
            !rig.grid->Editor(),
        "clicked row 1's key: clicks " + std::to_string(rig.grid_events.clicks.size()) + " first " +
            (rig.grid_events.clicks.empty() ? "-" : rig.grid_events.clicks[0]));

  // A click on the selected cell opens the editor on it; Enter commits.
  Click(rig.Cell(1, 0));
  Check(PumpRoutedUntil(rig.tk, [&] { return rig.grid->Editor() != nullptr && GetFocus() == rig.grid->Editor(); }),
        "second click opens the editor");
  HWND editor = rig.grid->Editor();
  Check(editor && TextOf(editor) == "800 x 600", "editor holds the key: " + (editor ? TextOf(editor) : "-"));
  if (editor) SetWindowTextW(editor, L"800x600");
  Press(VK_RETURN);
  Check(PumpRoutedUntil(rig.tk, [&] { return !rig.grid->Editor() && grid.RowTexts(1)[0] == "800x600"; }),
        "Enter commits the key: " + Rows(grid));
  Check(GetFocus() == rig.hgrid, "the focus is back on the grid");

  // Typing replaces the focus cell's text; Esc cancels.
  Press(VK_RIGHT);
  PumpRoutedUntil(rig.tk, [&] { return rig.grid->FocusColumn() == 1; });
  Press('Q');
  Check(PumpRoutedUntil(rig.tk, [&] { return rig.grid->Editor() && TextOf(rig.grid->Editor()) == "q"; }),
        "typing opens the editor with the character: " + (rig.grid->Editor() ? TextOf(rig.grid->Editor()) : "-"));
  Press(VK_ESCAPE);
  Check(PumpRoutedUntil(rig.tk, [&] { return !rig.grid->Editor(); }) && grid.RowTexts(1)[1] == "SVGA",
        "Esc cancels: " + Rows(grid));
  // F2 edits the value; leaving for another control commits it too.
  Press(VK_F2);
  Check(PumpRoutedUntil(rig.tk, [&] { return rig.grid->Editor() != nullptr; }), "F2 opens the editor");
  if (rig.grid->Editor()) SetWindowTextW(rig.grid->Editor(), L"スーパーVGA");
  Click(CentreOfWindow(ToHwnd(rig.after->Handle())));
  Check(PumpRoutedUntil(rig.tk, [&] { return rig.after->Focused() && !rig.grid->Editor(); }) &&
            grid.RowTexts(1)[1] == "スーパーVGA",
        "focus loss commits the value: " + Rows(grid));

  // A key refused after Enter: the grid's text in a box over the form, the old key kept.
  grid.SetFocus();
  grid.SelectWholeRow(1);
  Press(VK_LEFT);
  Press(VK_F2);
  Check(PumpRoutedUntil(rig.tk, [&] { return rig.grid->Editor() && rig.grid->FocusColumn() == 0; }),
        "F2 on the key");
  if (rig.grid->Editor()) SetWindowTextW(rig.grid->Editor(), L"640 X 480");
  const auto duplicate = GridKeyRefusal(rig.Keys(), 1, "640 X 480");
  {
    MessageBoxClicker clicker;
    Press(VK_RETURN);
    PumpRoutedUntil(rig.tk, [&] { return clicker.Done(); }, 8000);
    const MessageBoxSeen seen = clicker.Seen();
    Check(seen.found && duplicate && seen.text == *duplicate && seen.title == "Wakumo" && seen.owner == form,
          "refusal box: found " + std::to_string(seen.found) + ", title \"" + seen.title + "\", text \"" + seen.text +
              "\", owned by the form " + std::to_string(seen.owner == form));
  }
  Check(grid.RowTexts(1)[0] == "800x600" && !rig.grid->Editor(), "old key kept: " + Rows(grid));

  // A key refused while the focus leaves: the message follows once it has gone.
  Press(VK_F2);
  PumpRoutedUntil(rig.tk, [&] { return rig.grid->Editor() != nullptr; });
  if (rig.grid->Editor()) SetWindowTextW(rig.grid->Editor(), L"a=b");
  const auto equals = GridKeyRefusal(rig.Keys(), 1, "a=b");
  {
    MessageBoxClicker clicker;
    rig.after->SetFocus();
    PumpRoutedUntil(rig.tk, [&] { return clicker.Done(); }, 8000);
    const MessageBoxSeen seen = clicker.Seen();
    Check(seen.found && equals && seen.text == *equals, "refusal on leaving: \"" + seen.text + "\"");
  }
  Check(grid.RowTexts(1)[0] == "800x600", "old key kept after leaving: " + Rows(grid));

  // Tab: cell to cell when asked, else on to the next control.
  grid.SetTabBetweenCells(true);
  grid.SetFocus();
  grid.SelectWholeRow(0);
  Press(VK_LEFT);
  PumpRoutedUntil(rig.tk, [&] { return rig.grid->FocusColumn() == 0; });
  Press(VK_TAB);
  Check(PumpRoutedUntil(rig.tk, [&] { return rig.grid->FocusColumn() == 1; }) && grid.Focused() &&
            grid.SelectedRow() == 0,
        "Tab moves to the value: column " + std::to_string(rig.grid->FocusColumn()));
  Press(VK_TAB);
  Check(PumpRoutedUntil(rig.tk, [&] { return grid.SelectedRow() == 1 && rig.grid->FocusColumn() == 0; }),
        "Tab moves on to the next row's key: row " + std::to_string(grid.SelectedRow()));
  grid.SetTabBetweenCells(false);
  Press(VK_TAB);
  Check(PumpRoutedUntil(rig.tk, [&] { return rig.after->Focused(); }), "without cell tabbing, Tab leaves the grid");

  // The line between the columns can be dragged.
  const RECT key_cell = rig.grid->CellRect(0, 0);
  POINT line{key_cell.right, (key_cell.top + key_cell.bottom) / 2};
  ClientToScreen(rig.hgrid, &line);
  const int step = ScaleToDpi(20, DpiForWindow(rig.hgrid));
  MouseInput(line, 0);
  MouseInput(line, MOUSEEVENTF_LEFTDOWN);
  MouseInput({line.x + step / 2, line.y}, 0);
  MouseInput({line.x + step, line.y}, 0);
  MouseInput({line.x + step, line.y}, MOUSEEVENTF_LEFTUP);
  Check(PumpRoutedUntil(rig.tk, [&] { return grid.Columns()[0].width == 100 && GetCapture() == nullptr; }),
        "dragged key column: " + std::to_string(grid.Columns()[0].width));
}

// A button whose click ends the modal form it sits on.
struct EndModalButton : PeerEvents {
  FormPeer* form = nullptr;
  void PeerClick() override { form->EndModal(ModalResult::mrOk); }
};

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
  Check(GetWindow(hdialog, GW_OWNER) == nullptr, "the hidden dialog has no owner");
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

// The main window's "サイズ：" label sits on a panel; a double-click on it
// must reach its handler.
struct DoubleClickRecorder : PeerEvents {
  int double_clicks = 0;
  void PeerDblClick() override { ++double_clicks; }
};

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

// ---- Dragging borders and dividers with the mouse ---------------------------

// A press at `from`, moves in small steps to `to`, a release there; returns
// once no window holds the capture and the input is handled. The input comes
// from another thread, as a user's does: a border drag runs the window
// system's own loop inside this thread's message dispatch.
void Drag(POINT from, POINT to) {
  SettleCursorAt(from);
  std::atomic<bool> done{false};
  std::thread user([&] {
    auto reach = [](POINT p) {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
      for (;;) {
        POINT c{};
        GetCursorPos(&c);
        if ((c.x == p.x && c.y == p.y) || std::chrono::steady_clock::now() > deadline) return;
        Sleep(5);
      }
    };
    MouseInput(from, MOUSEEVENTF_LEFTDOWN);
    constexpr int kSteps = 6;
    for (int i = 1; i <= kSteps; ++i) {
      const POINT p{from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps};
      MouseInput(p, 0);
      reach(p);
    }
    MouseInput(to, MOUSEEVENTF_LEFTUP);
    done = true;
  });
  PumpUntil([&] {
    return done && GetAsyncKeyState(VK_LBUTTON) >= 0 && GetCapture() == nullptr &&
           HIWORD(GetQueueStatus(QS_MOUSE)) == 0;
  });
  user.join();
  PumpUntil([] { return false; }, 100);
}

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

void TestListViewDividerDrags() {
  g_test = "ListViewDivider";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe, le;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkDividerForm");
  auto list = tk.Create<ListViewPeer>(ControlKind::ListView, form.get(), le, "WkDividerList");
  form->SetClientSize(348, 200);
  form->SetWindowRect({200, 200, 200 + 360, 200 + 240});
  list->SetBounds({0, 0, 348, 192});
  list->SetColumns({ListColumn{"タイトル", 200, 4, false}, ListColumn{"クラス名", 0, 0, true}});
  list->AddRow({"(無題) - メモ帳", "Notepad"});
  form->Show();
  HWND hform = ToHwnd(form->Handle());
  SetForegroundWindow(hform);
  PumpUntil([&] { return GetForegroundWindow() == hform; });
  HWND lv = ToHwnd(list->Handle());
  HWND header = reinterpret_cast<HWND>(SendMessageW(lv, LVM_GETHEADER, 0, 0));
  const UINT dpi = DpiForWindow(lv);
  RECT client{}, hr{};
  GetClientRect(lv, &client);
  GetClientRect(header, &hr);
  auto width = [&](int column) { return static_cast<int>(SendMessageW(lv, LVM_GETCOLUMNWIDTH, column, 0)); };
  auto divider = [&] {
    POINT p{width(0), hr.bottom / 2};
    ClientToScreen(header, &p);
    return p;
  };
  struct Step {
    const char* what;
    int to_x;  // header client x the divider is dragged to
    int want_title;
  };
  const Step steps[] = {
      {"dragged out to 250", ScaleToDpi(250, dpi), ScaleToDpi(250, dpi)},
      {"dragged back to 120", ScaleToDpi(120, dpi), ScaleToDpi(120, dpi)},
      {"dragged to the far left", 0, ScaleToDpi(4, dpi)},
  };
  for (const Step& st : steps) {
    const POINT from = divider();
    POINT to{st.to_x, hr.bottom / 2};
    ClientToScreen(header, &to);
    Drag(from, to);
    Check(PumpUntil([&] { return width(0) == st.want_title && width(1) == client.right - st.want_title; }, 2000),
          std::string(st.what) + ": タイトル " + std::to_string(width(0)) + " (expected " +
              std::to_string(st.want_title) + "), クラス名 " + std::to_string(width(1)) + " of client " +
              std::to_string(client.right));
  }
  // A resize of the list keeps the dragged width and refills the rest.
  list->SetBounds({0, 0, 300, 192});
  GetClientRect(lv, &client);
  Check(width(0) == ScaleToDpi(4, dpi) && width(1) == client.right - width(0),
        "after a resize: タイトル " + std::to_string(width(0)) + ", クラス名 " + std::to_string(width(1)));
}

}  // namespace

// Tests of about_adapter_test.cpp.
void TestHintWindow();
void TestMenuEntriesAndHints();
void TestDialogButtonsAndFrame();
void TestApplicationHintFollowsTheMouse();

}  // namespace wakumo

int wmain() {
  wakumo::TestXorFrameDrawnTwiceRestoresScreen();
  wakumo::TestControlsCarryTheirNames();
  wakumo::TestFormGoingFirst();
  wakumo::TestPeerBehaviour();
  wakumo::TestResourcesAndCursor();
  wakumo::TestWindowSystemTexts();
  wakumo::TestPopupMenuChoice();
  wakumo::TestPaintedLooks();
  wakumo::TestEditKeyboard();
  wakumo::TestSizeableForm();
  wakumo::TestBorderDrags();
  wakumo::TestListView();
  wakumo::TestListViewDividerDrags();
  wakumo::TestOffscreenCanvas();
  wakumo::TestPaintBoxes();
  wakumo::TestCanvasInDesignPixels();
  wakumo::TestEditPeerContract();
  wakumo::TestSpinnerOnWindows();
  wakumo::TestGridRows();
  wakumo::TestGridEditing();
  wakumo::TestModalForm();
  wakumo::TestShowMessage();
  wakumo::TestLabelDoubleClick();
  wakumo::TestHintWindow();
  wakumo::TestMenuEntriesAndHints();
  wakumo::TestDialogButtonsAndFrame();
  wakumo::TestApplicationHintFollowsTheMouse();
  wakumo::TestTrayModeSupport();
  std::printf("%d passed, %d failed\n", wakumo::g_passed, wakumo::g_failed);
  return wakumo::g_failed == 0 ? 0 : 1;
}
