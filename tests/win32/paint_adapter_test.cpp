// Drawing on real windows: the controls' painted looks, the offscreen
// canvas, paint boxes and their mouse, and painting in design pixels at
// another DPI.
#include <algorithm>
#include <string>
#include <vector>

#include "win32/win32_api.h"
#include "win32/win32_canvas.h"
#include "win32/win32_dpi.h"
#include "win32/win32_handles.h"
#include "win32/win32_menu.h"
#include "win32/win32_paint_box.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

#include "adapter_support.h"

namespace wakumo {
namespace {

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

}  // namespace

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
    CheckEq(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1, "empty hint removes the tool");
  }
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
  CheckEq(off->GetPixel({25, 0}), kInvalidColor, "outside the surface");
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
  CheckEq(seen, Point{12, 9}, "the canvas is 12 x 9");
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

}  // namespace wakumo
