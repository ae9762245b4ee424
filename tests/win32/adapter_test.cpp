// The Win32 adapters against the real user32, gdi32 and comctl32 (run under
// Wine on Linux). Prints one line per failed check with the actual values and
// ends with "N passed, N failed".
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "win32/win32_api.h"
#include "win32/win32_canvas.h"
#include "win32/win32_control_peer.h"
#include "win32/win32_dpi.h"
#include "win32/win32_handles.h"
#include "win32/win32_menu.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"
#include "win32/win32_window_system.h"

namespace wakumo {
namespace {

int g_passed = 0;
int g_failed = 0;
std::string g_test;

void Check(bool ok, const std::string& what) {
  if (ok) {
    ++g_passed;
  } else {
    ++g_failed;
    std::printf("FAILED [%s] %s\n", g_test.c_str(), what.c_str());
  }
}

std::string Str(const Rect& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
         std::to_string(r.bottom) + ")";
}

std::string Hex(COLORREF c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06lx", static_cast<unsigned long>(c));
  return buf;
}

// Runs the message loop until `done` holds or the deadline passes.
bool PumpUntil(const std::function<bool()>& done, int timeout_ms = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

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
    auto form = tk.CreateControl(ControlKind::Form, nullptr, fe, "WkTestForm");
    auto panel = tk.CreateControl(ControlKind::Panel, form.get(), pe, "WkTestPanel");
    auto label = tk.CreateControl(ControlKind::Label, panel.get(), le, "WkTestLabel");
    auto image = tk.CreateControl(ControlKind::Image, panel.get(), ie, "WkTestImage");
    auto button = tk.CreateControl(ControlKind::Button, form.get(), be, "WkTestButton");
    auto check = tk.CreateControl(ControlKind::CheckBox, form.get(), ce, "WkTestCheck");
    auto speed = tk.CreateControl(ControlKind::SpeedButton, form.get(), se, "WkTestSpeed");
    auto edit = tk.CreateControl(ControlKind::Edit, panel.get(), ee, "WkTestEdit");
    auto combo = tk.CreateControl(ControlKind::ComboBox, form.get(), ke, "WkTestCombo");

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
  auto form = tk.CreateControl(ControlKind::Form, nullptr, fe, "WkFormGone");
  auto panel = tk.CreateControl(ControlKind::Panel, form.get(), pe, "WkPanelGone");
  auto label = tk.CreateControl(ControlKind::Label, panel.get(), le, "WkLabelGone");
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
  auto form = tk.CreateControl(ControlKind::Form, nullptr, fe, "WkForm2");
  auto a = tk.CreateControl(ControlKind::SpeedButton, form.get(), ae, "WkSpeedA");
  auto b = tk.CreateControl(ControlKind::SpeedButton, form.get(), be, "WkSpeedB");
  auto check = tk.CreateControl(ControlKind::CheckBox, form.get(), ce, "WkCheck");
  auto combo = tk.CreateControl(ControlKind::ComboBox, form.get(), ke, "WkCombo");
  auto list = tk.CreateControl(ControlKind::DropDownList, form.get(), le, "WkList");
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
  auto form = tk.CreateControl(ControlKind::Form, nullptr, fe, "WkMenuForm");
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
  auto form = tk.CreateControl(ControlKind::Form, nullptr, fe, "WkLooks");
  auto panel = tk.CreateControl(ControlKind::Panel, form.get(), pe, "WkBevel");
  auto combo = tk.CreateControl(ControlKind::ComboBox, form.get(), ke, "WkCombo2");
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
  HWND tips = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
  while (tips && GetWindow(tips, GW_OWNER) != ToHwnd(form->Handle())) {
    tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr);
  }
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
  auto form = tk.CreateControl(ControlKind::Form, nullptr, fe, "WkForm3");
  auto edit = tk.CreateControl(ControlKind::Edit, form.get(), ee, "WkEdit");
  auto other = tk.CreateControl(ControlKind::Edit, form.get(), oe, "WkOther");
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
  auto form = tk.CreateControl(ControlKind::Form, nullptr, fe, "WkForm4");
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
  auto form = tk.CreateControl(ControlKind::Form, nullptr, fe, "WkForm5");
  auto list = tk.CreateControl(ControlKind::ListView, form.get(), le, "WkList");
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

}  // namespace
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
  wakumo::TestListView();
  wakumo::TestOffscreenCanvas();
  std::printf("%d passed, %d failed\n", wakumo::g_passed, wakumo::g_failed);
  return wakumo::g_failed == 0 ? 0 : 1;
}
