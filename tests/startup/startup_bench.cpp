// Start-up of wakumo.exe against two floors, under the same conditions in one
// run: a bare Win32 window, and a plain program that makes the same windows
// as Wakumo does at start-up (counted from the running exe each time, so the
// comparison stays fair as the user interface changes) with one Japanese UI
// font. Each is started in turn, several rounds, timed from CreateProcess to
// its first visible top-level window; the medians and the two ratios are
// printed, with Wakumo's own start-up phases, its size, and its processor
// time while idle and during a pick with the mouse still.
// Prints, never fails on time: exits non-zero only when a program does not start.
//   startup_bench --wakumo EXE --reference EXE [--rounds N] [--scratch DIR] [--baseline EXE]
// --baseline: another wakumo.exe (an earlier build) timed in the same rounds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "recipe.h"

namespace {

using startup::Utf8;
using startup::WindowRecord;

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER c{};
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::wstring ClassOf(HWND h) {
  wchar_t c[256] = {};
  GetClassNameW(h, c, 256);
  return c;
}

struct Search {
  DWORD pid;
  HWND found;
  std::vector<HWND> all;
};

BOOL CALLBACK FindShown(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid != s->pid) return TRUE;
  s->all.push_back(h);
  if (!s->found && IsWindowVisible(h) && ClassOf(h) != L"IME") s->found = h;
  return TRUE;
}

// A started program: its process and, once shown, its visible window.
class Started {
 public:
  Started(const std::wstring& exe, const std::wstring& args, const wchar_t* environment_extra) {
    std::wstring command = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
    std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/") + 1);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (environment_extra) SetEnvironmentVariableW(L"WAKUMO_STARTUP_TRACE", environment_extra);
    started_ms_ = NowMs();
    ok_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         folder.empty() ? nullptr : folder.c_str(), &si, &pi_) != FALSE;
    if (environment_extra) SetEnvironmentVariableW(L"WAKUMO_STARTUP_TRACE", nullptr);
  }
  ~Started() { Stop(); }
  // Milliseconds until a visible top-level window of the process exists.
  std::optional<double> WaitShown(int timeout_ms) {
    if (!ok_) return std::nullopt;
    const double deadline = started_ms_ + timeout_ms;
    for (;;) {
      Search s{pi_.dwProcessId, nullptr, {}};
      EnumWindows(FindShown, reinterpret_cast<LPARAM>(&s));
      if (s.found) {
        shown_ = s.found;
        return NowMs() - started_ms_;
      }
      if (NowMs() > deadline || WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0) return std::nullopt;
      WaitForSingleObject(pi_.hProcess, 1);
    }
  }
  HWND shown() const { return shown_; }
  HANDLE process() const { return pi_.hProcess; }
  DWORD pid() const { return pi_.dwProcessId; }
  // Asks the shown window to close; ends the process if it does not go.
  bool Stop() {
    if (!pi_.hProcess) return true;
    bool clean = true;
    if (shown_) PostMessageW(shown_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0) {
      TerminateProcess(pi_.hProcess, 1);
      WaitForSingleObject(pi_.hProcess, 5000);
      clean = false;
    }
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
    pi_ = {};
    return clean;
  }

 private:
  PROCESS_INFORMATION pi_{};
  bool ok_ = false;
  double started_ms_ = 0;
  HWND shown_ = nullptr;
};

// Windows the program made itself: its top-level windows but the input
// method's, and their descendants, but not the parts a system control makes
// of its own (a list view's header, a combo box's edit).
bool MadeByItsControl(const std::wstring& parent_class) {
  static const wchar_t* const kSystem[] = {L"SysListView32", L"ComboBox", L"Edit", L"Button", L"Static",
                                           L"tooltips_class32", L"msctls_updown32", L"ListBox"};
  // Wakumo's system controls are classes of its own made from them.
  const std::wstring prefix = L"Wakumo";
  const std::wstring cls =
      parent_class.compare(0, prefix.size(), prefix) == 0 ? parent_class.substr(prefix.size()) : parent_class;
  for (const wchar_t* s : kSystem)
    if (lstrcmpiW(cls.c_str(), s) == 0) return true;
  return false;
}

void AddChildren(HWND parent, int parent_index, std::vector<WindowRecord>& out) {
  if (MadeByItsControl(ClassOf(parent))) return;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    WindowRecord w;
    w.parent = parent_index;
    w.cls = ClassOf(c);
    w.style = static_cast<DWORD>(GetWindowLongW(c, GWL_STYLE));
    w.ex_style = static_cast<DWORD>(GetWindowLongW(c, GWL_EXSTYLE));
    GetWindowRect(c, &w.rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&w.rect), 2);
    wchar_t text[256] = {};
    GetWindowTextW(c, text, 256);
    w.text = text;
    out.push_back(w);
    AddChildren(c, static_cast<int>(out.size()) - 1, out);
  }
}

std::vector<WindowRecord> Census(DWORD pid) {
  Search s{pid, nullptr, {}};
  EnumWindows(FindShown, reinterpret_cast<LPARAM>(&s));
  std::vector<WindowRecord> out;
  // Bottom first, so that the reference stacks them alike.
  for (auto it = s.all.rbegin(); it != s.all.rend(); ++it) {
    const HWND h = *it;
    const std::wstring cls = ClassOf(h);
    if (cls == L"IME" || cls == L"MSCTFIME UI") continue;
    WindowRecord w;
    w.cls = cls;
    w.style = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
    w.ex_style = static_cast<DWORD>(GetWindowLongW(h, GWL_EXSTYLE));
    GetWindowRect(h, &w.rect);
    wchar_t text[256] = {};
    GetWindowTextW(h, text, 256);
    w.text = text;
    out.push_back(w);
    AddChildren(h, static_cast<int>(out.size()) - 1, out);
  }
  return out;
}

// Wakumo's own phase marks: "phase at since-previous" lines.
std::vector<std::pair<std::string, double>> ReadPhases(const std::wstring& path) {
  std::vector<std::pair<std::string, double>> out;
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return out;
  char line[256];
  while (std::fgets(line, sizeof line, f)) {
    std::string s(line);
    const size_t last = s.find_last_of(' ');
    if (last == std::string::npos) continue;
    const size_t before = s.find_last_of(' ', last - 1);
    if (before == std::string::npos) continue;
    out.emplace_back(s.substr(0, before), std::atof(s.c_str() + last + 1));
  }
  std::fclose(f);
  return out;
}

double CpuMs(HANDLE process) {
  FILETIME c{}, e{}, k{}, u{};
  GetProcessTimes(process, &c, &e, &k, &u);
  const auto v = [](const FILETIME& f) { return (static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  return static_cast<double>(v(k) + v(u)) / 10000.0;
}

void MouseInput(POINT at, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>(((2LL * at.x + 1) * 65536) / (2LL * GetSystemMetrics(SM_CXSCREEN)));
  in.mi.dy = static_cast<LONG>(((2LL * at.y + 1) * 65536) / (2LL * GetSystemMetrics(SM_CYSCREEN)));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
  SendInput(1, &in, sizeof in);
}

struct NamedSearch {
  const wchar_t* name;
  HWND found;
};

BOOL CALLBACK FindNamed(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<NamedSearch*>(lp);
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(h, L"WakumoName")));
  wchar_t name[64] = {};
  if (atom && GlobalGetAtomNameW(atom, name, 64) && lstrcmpW(name, s->name) == 0) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}

// Processor time over five seconds: the measurement is the waiting.
double IdleCpuMs(HANDLE process) {
  const double before = CpuMs(process);
  Sleep(5000);
  return CpuMs(process) - before;
}

std::wstring Arg(int argc, wchar_t** argv, const wchar_t* key, const wchar_t* fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (lstrcmpW(argv[i], key) == 0) return argv[i + 1];
  return fallback ? fallback : L"";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring wakumo = Arg(argc, argv, L"--wakumo", nullptr);
  const std::wstring reference = Arg(argc, argv, L"--reference", nullptr);
  const int rounds = std::max(1, _wtoi(Arg(argc, argv, L"--rounds", L"7").c_str()));
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring scratch = Arg(argc, argv, L"--scratch", temp);
  if (wakumo.empty() || reference.empty()) {
    std::printf("usage: startup_bench --wakumo EXE --reference EXE [--rounds N] [--scratch DIR]\n");
    return 2;
  }
  const std::wstring recipe = scratch + L"\\startup-recipe.txt";
  const std::wstring trace = scratch + L"\\startup-trace.txt";

  // The census, from a Wakumo that has settled after showing.
  std::vector<WindowRecord> windows;
  {
    Started w(wakumo, L"", nullptr);
    if (!w.WaitShown(30000)) {
      std::printf("startup: wakumo.exe did not show a window within 30 s\n");
      return 1;
    }
    WaitForInputIdle(w.process(), 5000);
    windows = Census(w.pid());
    if (!w.Stop()) std::printf("startup: wakumo.exe did not close on WM_CLOSE\n");
  }
  std::map<std::wstring, int> classes;
  int top_level = 0;
  for (const WindowRecord& r : windows) {
    ++classes[r.cls];
    if (r.parent < 0) ++top_level;
  }
  std::printf("Wakumo makes %zu windows at start-up (%d top-level):", windows.size(), top_level);
  for (const auto& [cls, n] : classes) std::printf(" %s %d", Utf8(cls).c_str(), n);
  std::printf("\n");
  if (!startup::WriteRecipe(recipe, windows)) {
    std::printf("startup: cannot write %s\n", Utf8(recipe).c_str());
    return 1;
  }

  struct Program {
    const char* name;
    std::wstring exe, args;
    bool traced;
    std::vector<double> times;
  };
  std::vector<Program> programs = {{"reference", reference, L"\"" + recipe + L"\"", false, {}},
                                   {"bare window", reference, L"", false, {}},
                                   {"wakumo.exe", wakumo, L"", true, {}}};
  const std::wstring baseline = Arg(argc, argv, L"--baseline", L"");
  if (!baseline.empty()) programs.push_back({"baseline", baseline, L"", true, {}});
  // Phase marks by program: Wakumo's, and the baseline's if it writes any.
  std::map<std::string, std::map<std::string, std::vector<double>>> phases;
  std::vector<std::string> phase_order;
  // A first round warms the server and the file cache; it is not counted.
  for (int round = -1; round < rounds; ++round) {
    for (Program& p : programs) {
      DeleteFileW(trace.c_str());
      Started s(p.exe, p.args, p.traced ? trace.c_str() : nullptr);
      const std::optional<double> ms = s.WaitShown(30000);
      if (!ms) {
        std::printf("startup: %s did not show a window within 30 s\n", p.name);
        return 1;
      }
      if (p.traced) WaitForInputIdle(s.process(), 5000);
      s.Stop();
      if (round < 0) continue;
      p.times.push_back(*ms);
      if (!p.traced) continue;
      for (const auto& [phase, since] : ReadPhases(trace)) {
        if (std::find(phase_order.begin(), phase_order.end(), phase) == phase_order.end())
          phase_order.push_back(phase);
        phases[p.name][phase].push_back(since);
      }
    }
  }

  std::printf("\nStart-up until the first window shows, median of %d rounds:\n", rounds);
  for (const Program& p : programs) std::printf("  %-12s %8.1f ms\n", p.name, Median(p.times));
  const double ref = Median(programs[0].times), bare = Median(programs[1].times), wak = Median(programs[2].times);
  std::printf("wakumo.exe / reference (same windows): %.2f (goal 1.10 or less)\n", ref > 0 ? wak / ref : 0);
  std::printf("wakumo.exe / bare window: %.2f\n", bare > 0 ? wak / bare : 0);
  if (programs.size() > 3) {
    const double base = Median(programs[3].times);
    std::printf("baseline / reference: %.2f; wakumo.exe / baseline: %.2f\n", ref > 0 ? base / ref : 0,
                base > 0 ? wak / base : 0);
  }
  if (!phases.empty()) {
    std::printf("Phases (median ms each, from the previous mark; \"entry\" from process creation):\n");
    std::printf("  %-14s", "");
    for (const auto& [name, marks] : phases) std::printf(" %12s", name.c_str());
    std::printf("\n");
    for (const std::string& phase : phase_order) {
      std::printf("  %-14s", phase.c_str());
      for (auto& [name, marks] : phases) {
        if (marks.count(phase)) std::printf(" %12.2f", Median(marks[phase]));
        else std::printf(" %12s", "-");
      }
      std::printf("\n");
    }
  }
  if (!phases.count("wakumo.exe")) std::printf("startup: wakumo.exe wrote no phase marks to %s\n", Utf8(trace).c_str());

  WIN32_FILE_ATTRIBUTE_DATA attr{};
  if (GetFileAttributesExW(wakumo.c_str(), GetFileExInfoStandard, &attr))
    std::printf("wakumo.exe is %lu KiB (goal 1024 KiB or less)\n", attr.nFileSizeLow / 1024);

  // Processor time with the window open and nothing happening, then during a
  // pick with the mouse held still over the sight.
  Started w(wakumo, L"", nullptr);
  if (!w.WaitShown(30000)) {
    std::printf("startup: wakumo.exe did not show a window within 30 s\n");
    return 1;
  }
  WaitForInputIdle(w.process(), 5000);
  std::printf("processor time over 5 s, idle: %.1f ms (goal 0)\n", IdleCpuMs(w.process()));
  NamedSearch sight{L"Image1", nullptr};
  EnumChildWindows(w.shown(), FindNamed, reinterpret_cast<LPARAM>(&sight));
  if (sight.found) {
    RECT r{};
    GetWindowRect(sight.found, &r);
    const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MouseInput(at, 0);
    MouseInput(at, MOUSEEVENTF_LEFTDOWN);
    // The pick runs once Wakumo holds the mouse.
    const DWORD thread = GetWindowThreadProcessId(w.shown(), nullptr);
    const double deadline = NowMs() + 5000;
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    while (!(GetGUIThreadInfo(thread, &gui) && gui.hwndCapture) && NowMs() < deadline) Sleep(10);
    if (!gui.hwndCapture) std::printf("startup: the press on the sight started no pick\n");
    std::printf("processor time over 5 s, picking with the mouse still: %.1f ms (goal 0)\n", IdleCpuMs(w.process()));
    MouseInput(at, MOUSEEVENTF_LEFTUP);
  } else {
    std::printf("startup: no Image1 in Wakumo's window; the pick was not measured\n");
  }
  w.Stop();
  return 0;
}
