// The floor Wakumo's start-up is measured against: a plain Win32 program that
// makes the windows of a recipe (the census of a running wakumo.exe) with one
// Japanese UI font, then shows the windows that were shown, and runs its
// message loop until its shown window is closed. With no argument it makes a
// single bare window instead.
#include <windows.h>

#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

#include "recipe.h"

namespace {

// Classes the window system or the common controls bring; everything else
// was the program's own and is registered here under the same name.
// Wakumo makes its system controls as classes of its own named "Wakumo" and
// the system class ("WakumoBUTTON"); the reference makes the system class.
std::wstring SystemClassOf(const std::wstring& cls) {
  const std::wstring prefix = L"Wakumo";
  return cls.compare(0, prefix.size(), prefix) == 0 ? cls.substr(prefix.size()) : cls;
}

bool IsSystemClass(const std::wstring& cls) {
  static const wchar_t* const kSystem[] = {L"Button",          L"Edit",           L"Static",
                                           L"ComboBox",        L"ComboLBox",      L"ListBox",
                                           L"ScrollBar",       L"SysListView32",  L"SysHeader32",
                                           L"tooltips_class32", L"msctls_updown32", L"#32770"};
  for (const wchar_t* s : kSystem)
    if (lstrcmpiW(cls.c_str(), s) == 0) return true;
  return false;
}

HWND g_shown = nullptr;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE && hwnd == g_shown) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void Register(const std::wstring& cls) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = cls.c_str();
  RegisterClassExW(&wc);
}

int Loop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

int Bare() {
  Register(L"StartupBare");
  g_shown = CreateWindowExW(0, L"StartupBare", L"bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 356, 270,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(g_shown, SW_SHOW);
  return Loop();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 2) return Bare();
  const std::vector<startup::WindowRecord> recipe = startup::ReadRecipe(argv[1]);
  if (recipe.empty()) return 2;

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  std::set<std::wstring> registered;
  std::vector<std::wstring> classes;
  for (const startup::WindowRecord& w : recipe) {
    const std::wstring system = SystemClassOf(w.cls);
    classes.push_back(IsSystemClass(system) ? system : w.cls);
    if (!IsSystemClass(system) && registered.insert(w.cls).second) Register(w.cls);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  HFONT font = CreateFontW(-MulDiv(13, dpi, 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                           L"ＭＳ Ｐゴシック");

  std::vector<HWND> made(recipe.size(), nullptr);
  std::vector<HWND> to_show;
  for (size_t i = 0; i < recipe.size(); ++i) {
    const startup::WindowRecord& w = recipe[i];
    const bool child = w.parent >= 0;
    HWND parent = child ? made[static_cast<size_t>(w.parent)] : nullptr;
    if (child && !parent) continue;
    DWORD style = w.style;
    if (!child) style &= ~WS_VISIBLE;
    made[i] = CreateWindowExW(w.ex_style, classes[i].c_str(), w.text.c_str(), style, w.rect.left, w.rect.top,
                              w.rect.right - w.rect.left, w.rect.bottom - w.rect.top, parent,
                              child ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 100)) : nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!made[i]) continue;
    SendMessageW(made[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!child && (w.style & WS_VISIBLE)) to_show.push_back(made[i]);
  }
  if (to_show.empty()) return 3;
  g_shown = to_show.front();
  for (HWND h : to_show) ShowWindow(h, SW_SHOW);
  const int code = Loop();
  DeleteObject(font);
  return code;
}
