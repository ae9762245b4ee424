// Message pumps, real input and the fixtures shared by the Win32 adapter
// tests; the checks themselves are in checks.h.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "checks.h"
#include "pump.h"
#include "core/geometry.h"
#include "win32/win32_api.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

inline std::string Str(const Rect& r) { return Shown(r); }

inline std::string Hex(COLORREF c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06lx", static_cast<unsigned long>(c));
  return buf;
}


// Runs the message loop as the program's own loops do (keyboard navigation
// between controls included) until `done` holds or the deadline passes.
inline bool PumpRoutedUntil(Win32Toolkit& tk, const std::function<bool()>& done, int timeout_ms = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) tk.RouteMessage(msg);
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

inline void MouseInput(POINT screen, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  const int cx = GetSystemMetrics(SM_CXSCREEN);
  const int cy = GetSystemMetrics(SM_CYSCREEN);
  // The plain formula lands a pixel short.
  in.mi.dx = static_cast<LONG>(((2LL * screen.x + 1) * 65536) / (2LL * cx));
  in.mi.dy = static_cast<LONG>(((2LL * screen.y + 1) * 65536) / (2LL * cy));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
  SendInput(1, &in, sizeof(in));
}

inline void KeyInput(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof(in));
}

// Moves there and waits until the cursor has stayed put for a moment: a
// SendInput move can snap back under Wine.
inline bool SettleCursorAt(POINT at) {
  MouseInput(at, 0);
  auto settled_since = std::chrono::steady_clock::now();
  return PumpUntil([&] {
    POINT p{};
    GetCursorPos(&p);
    const auto now = std::chrono::steady_clock::now();
    if (p.x != at.x || p.y != at.y) {
      settled_since = now;
      MouseInput(at, 0);
      return false;
    }
    return now - settled_since >= std::chrono::milliseconds(150);
  });
}

inline void Click(POINT screen) {
  MouseInput(screen, 0);
  MouseInput(screen, MOUSEEVENTF_LEFTDOWN);
  MouseInput(screen, MOUSEEVENTF_LEFTUP);
}

inline void Press(WORD vk) {
  KeyInput(vk, false);
  KeyInput(vk, true);
}

inline POINT CentreOfWindow(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// ---- Fixtures shared by the adapter test files ------------------------------

// A control's events as its facade hears them, in order; sizing and typing
// answer as the rules set below say.
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
inline HWND TooltipsOf(HWND form) {
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

inline std::string NameOf(HWND h) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(h, kNameProperty)));
  if (!atom) return {};
  wchar_t buf[256];
  const UINT n = GlobalGetAtomNameW(atom, buf, 256);
  return Narrow(std::wstring_view(buf, n));
}

inline std::string TextOf(HWND h) {
  wchar_t buf[512];
  const LRESULT n = SendMessageW(h, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf));
  return Narrow(std::wstring_view(buf, static_cast<std::size_t>(n)));
}

// The screen colour at a point of a window's client area.
inline COLORREF ClientPixel(HWND h, int x, int y) {
  POINT p{x, y};
  ClientToScreen(h, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
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

// A press at `from`, moves in small steps to `to`, a release there; returns
// once no window holds the capture and the input is handled. The input comes
// from another thread, as a user's does: a border drag runs the window
// system's own loop inside this thread's message dispatch.
inline void Drag(POINT from, POINT to) {
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
}  // namespace wakumo
