// The spinner and its number field on real windows: buttons, arrow keys
// and the slider, as the main window's size and position fields use them.
#include <string>

#include "controls/arrow_key_hook.h"
#include "controls/number_edit.h"
#include "controls/slide_up_down.h"
#include "ui/form.h"
#include "win32/win32_api.h"
#include "win32/win32_dpi.h"
#include "win32/win32_handles.h"
#include "win32/win32_platform.h"
#include "win32/win32_toolkit.h"

#include "adapter_support.h"

namespace wakumo {
namespace {

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

}  // namespace

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
  CheckEq(GetFocus(), edit, "the arrow gave its field the focus");

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
  CheckEq(GetFocus(), ToHwnd(rig.pos_edit.Handle()), "the strip gave its field the focus");

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

}  // namespace wakumo
