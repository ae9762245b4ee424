#include "input_screen.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "harness.h"

namespace e2e {

POINT CursorPos() {
  POINT p{-1, -1};
  GetCursorPos(&p);
  return p;
}

namespace {

// The plain x*65536/width lands one pixel short; aim at the pixel's centre.
LONG Absolute(int v, int extent) {
  return static_cast<LONG>((static_cast<long long>(2 * v + 1) * 65536) / (2LL * extent));
}

void Send(INPUT in) {
  if (SendInput(1, &in, sizeof in) != 1) Fail(Format("SendInput failed, error %lu", GetLastError()));
}

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = dx;
  in.mi.dy = dy;
  in.mi.dwFlags = flags;
  Send(in);
}

void WaitForPointer(POINT to) {
  if (!PollUntil([&] { POINT p = CursorPos(); return p.x == to.x && p.y == to.y; }, 3000)) {
    POINT p = CursorPos();
    Fail(Format("pointer did not reach (%ld, %ld); it is at (%ld, %ld)", to.x, to.y, p.x, p.y));
  }
}

std::vector<POINT> Path(POINT from, POINT to, int step_px) {
  const double dist = std::hypot(double(to.x - from.x), double(to.y - from.y));
  const int steps = std::max(1, static_cast<int>(dist / std::max(1, step_px)));
  std::vector<POINT> path;
  for (int i = 1; i <= steps; ++i)
    path.push_back({from.x + static_cast<LONG>(std::lround(double(to.x - from.x) * i / steps)),
                    from.y + static_cast<LONG>(std::lround(double(to.y - from.y) * i / steps))});
  return path;
}

}  // namespace

Input::Input(UnixShell* shell, std::string xdotool)
    : shell_(shell && shell->Available() ? shell : nullptr), xdotool_(std::move(xdotool)) {
  if (xdotool_.empty()) xdotool_ = "xdotool";
}

std::string Input::Backend() const { return shell_ ? "xdotool " + xdotool_ : "SendInput"; }

void Input::X(const std::string& args) {
  const int rc = shell_->Run(ShellQuoted(xdotool_) + " " + args, 10000);
  if (rc != 0) Fail(Format("xdotool %s ended with status %d", args.c_str(), rc));
}

void Input::MoveTo(POINT to) {
  if (shell_) {
    X(Format("mousemove %ld %ld", to.x, to.y));
  } else {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Absolute(to.x, GetSystemMetrics(SM_CXSCREEN)),
              Absolute(to.y, GetSystemMetrics(SM_CYSCREEN)));
  }
  WaitForPointer(to);
}

void Input::MoveInSteps(POINT to, int step_px) {
  const std::vector<POINT> path = Path(CursorPos(), to, step_px);
  if (shell_) {
    // One xdotool run for the whole path: a fork per step would dominate.
    std::string args;
    for (const POINT& p : path) args += Format("%smousemove %ld %ld", args.empty() ? "" : " ", p.x, p.y);
    X(args);
    WaitForPointer(to);
  } else {
    for (const POINT& p : path) MoveTo(p);
  }
}

void Input::LeftButton(bool down) {
  if (shell_) X(down ? "mousedown 1" : "mouseup 1");
  else SendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

void Input::Shift(bool down) {
  if (shell_) {
    X(down ? "keydown shift" : "keyup shift");
  } else {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_SHIFT;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    Send(in);
  }
  if (!PollUntil([&] { return ((GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0) == down; }, 3000))
    Fail(Format("the desktop does not show Shift %s", down ? "down" : "up"));
}

void Input::Click(POINT at) {
  MoveTo(at);
  LeftButton(true);
  LeftButton(false);
}

void Input::RightClick(POINT at) {
  MoveTo(at);
  if (shell_) {
    X("click 3");
  } else {
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
  }
}

void Input::DoubleClick(POINT at) {
  MoveTo(at);
  if (shell_) {
    X("click --repeat 2 --delay 80 1");
  } else {
    for (int i = 0; i < 2; ++i) {
      SendMouse(MOUSEEVENTF_LEFTDOWN);
      SendMouse(MOUSEEVENTF_LEFTUP);
    }
  }
}

namespace {

void SendKey(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  Send(in);
}

WORD VirtualKey(const std::string& name) {
  static const struct { const char* name; WORD vk; } kKeys[] = {
      {"Home", VK_HOME}, {"End", VK_END}, {"Up", VK_UP},          {"Down", VK_DOWN},
      {"Left", VK_LEFT}, {"Right", VK_RIGHT}, {"Return", VK_RETURN}, {"BackSpace", VK_BACK},
      {"F2", VK_F2},     {"Escape", VK_ESCAPE},
  };
  for (const auto& k : kKeys)
    if (name == k.name) return k.vk;
  Fail("no virtual key for the key name " + name);
}

}  // namespace

void Input::Keys(const std::string& names) {
  if (shell_) {
    X("key " + names);
    return;
  }
  size_t from = 0;
  while (from < names.size()) {
    size_t to = names.find(' ', from);
    if (to == std::string::npos) to = names.size();
    std::string key = names.substr(from, to - from);
    from = to + 1;
    if (key.empty()) continue;
    const bool shift = key.rfind("shift+", 0) == 0;
    if (shift) key = key.substr(6);
    const WORD vk = VirtualKey(key);
    if (shift) SendKey(VK_SHIFT, true);
    SendKey(vk, true);
    SendKey(vk, false);
    if (shift) SendKey(VK_SHIFT, false);
  }
}

void Input::Type(const std::string& text) {
  for (char ch : text)
    if (ch < 0x21 || ch > 0x7E || ch == '\'' || ch == '"')
      Fail("Type takes printable ASCII without blanks or quotes, not " + text);
  if (shell_) {
    X("type " + ShellQuoted(text));
    return;
  }
  for (char ch : text) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = static_cast<WORD>(ch);
    in.ki.dwFlags = KEYEVENTF_UNICODE;
    Send(in);
    in.ki.dwFlags |= KEYEVENTF_KEYUP;
    Send(in);
  }
}

LeftButtonGuard::~LeftButtonGuard() {
  if (!down_) return;
  try {
    in_.LeftButton(false);
  } catch (const CaseFailed&) {
  }
}

void LeftButtonGuard::Press() {
  in_.LeftButton(true);
  down_ = true;
}

void LeftButtonGuard::Release() {
  down_ = false;
  in_.LeftButton(false);
}

ShiftGuard::~ShiftGuard() {
  if (!down_) return;
  try {
    in_.Shift(false);
  } catch (const CaseFailed&) {
  }
}

void ShiftGuard::Down() {
  down_ = true;
  in_.Shift(true);
}

void ShiftGuard::Up() {
  down_ = false;
  in_.Shift(false);
}

COLORREF ScreenPixel(POINT p) {
  HDC dc = GetDC(nullptr);
  COLORREF c = GetPixel(dc, p.x, p.y);
  ReleaseDC(nullptr, dc);
  return c;
}

ScreenArea ScreenArea::Capture(const RECT& area) {
  ScreenArea out;
  out.area_ = area;
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return out;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp || !mem) Fail("cannot create a bitmap to capture the screen");
  HGDIOBJ old = SelectObject(mem, bmp);
  if (!BitBlt(mem, 0, 0, w, h, screen, area.left, area.top, SRCCOPY))
    Fail(Format("BitBlt from the screen failed, error %lu", GetLastError()));
  GdiFlush();
  const auto* px = static_cast<const uint32_t*>(bits);
  out.pixels_.assign(px, px + static_cast<size_t>(w) * h);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return out;
}

COLORREF ScreenArea::At(int x, int y) const {
  const int w = area_.right - area_.left;
  if (x < area_.left || x >= area_.right || y < area_.top || y >= area_.bottom) return CLR_INVALID;
  const uint32_t v = pixels_[static_cast<size_t>(y - area_.top) * w + (x - area_.left)];
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);  // DIB pixels are 0x00RRGGBB
}

RECT ChangedBox(const ScreenArea& a, const ScreenArea& b) {
  RECT box{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  const RECT& r = a.area();
  for (LONG y = r.top; y < r.bottom; ++y) {
    for (LONG x = r.left; x < r.right; ++x) {
      if (a.At(x, y) == b.At(x, y)) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x + 1);
      box.bottom = std::max(box.bottom, y + 1);
    }
  }
  return box.left == LONG_MAX ? RECT{} : box;
}

std::string OutlineDiff::Text() const {
  return Format("%d of %d outline sections changed (%d pixels)", changed_sections, sections,
                changed_pixels) +
         (examples.empty() ? "" : "; e.g. " + examples);
}

RECT OutlineCaptureArea(const RECT& r) {
  RECT a{r.left - 4, r.top - 4, r.right + 5, r.bottom + 5};
  a.left = std::max<LONG>(a.left, 0);
  a.top = std::max<LONG>(a.top, 0);
  a.right = std::min<LONG>(a.right, GetSystemMetrics(SM_CXSCREEN));
  a.bottom = std::min<LONG>(a.bottom, GetSystemMetrics(SM_CYSCREEN));
  return a;
}

OutlineDiff CompareOutline(const ScreenArea& before, const ScreenArea& after, const RECT& r) {
  OutlineDiff d;
  auto section = [&](int x, int y, int dx, int dy) {
    bool changed = false;
    for (int k = -2; k <= 2; ++k) {
      const int px = x + k * dx, py = y + k * dy;
      const COLORREF a = before.At(px, py), b = after.At(px, py);
      if (a == CLR_INVALID || b == CLR_INVALID) continue;
      if (a != b) {
        changed = true;
        ++d.changed_pixels;
        if (d.changed_pixels <= 4)
          d.examples += Format("%s(%d, %d) %s -> %s", d.changed_pixels > 1 ? ", " : "", px, py,
                               ColorText(a).c_str(), ColorText(b).c_str());
      }
    }
    ++d.sections;
    if (changed) ++d.changed_sections;
  };
  // Corners are left out: there the two sides' sections overlap.
  for (int x = r.left + 4; x <= r.right - 4; x += 3) {
    section(x, r.top, 0, 1);
    section(x, r.bottom, 0, 1);
  }
  for (int y = r.top + 4; y <= r.bottom - 4; y += 3) {
    section(r.left, y, 1, 0);
    section(r.right, y, 1, 0);
  }
  return d;
}

}  // namespace e2e
