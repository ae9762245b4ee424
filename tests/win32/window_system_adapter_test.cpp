// The window-system port and the resources against the real user32 and
// gdi32: the XOR frame on the screen, other windows' texts and rectangles,
// the bitmaps and the sight cursor.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "win32/win32_api.h"
#include "win32/win32_handles.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"
#include "win32/win32_window_system.h"

#include "adapter_support.h"

namespace wakumo {
namespace {

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

}  // namespace

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

void TestResourcesAndCursor() {
  g_test = "Resources";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  const ResourceBitmap* sight = tk.Bitmap("SIGHT");
  Check(sight && sight->Width() == 28 && sight->Height() == 28, "SIGHT is 28 x 28");
  for (const char* glyph : {"GETGLYPH", "WLISTGLYPH", "WSGLYPH", "LISTGLYPH"}) {
    Check(tk.Bitmap(glyph) != nullptr, std::string("bitmap ") + glyph + " loads");
  }
  CheckEq(tk.Bitmap("NOSUCHBITMAP"), nullptr, "a missing bitmap is null, not a crash");

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

}  // namespace wakumo
