// Wakumo started at 144 DPI: the window is laid out at that scale and its
// height without the list is the list top (245 design pixels, 368 at 144
// DPI) plus the caption and sizing frame at that DPI, plus 2.
#include <windows.h>

#include "context.h"
#include "settings_ops.h"

namespace e2e {

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

// Wine gives a process the DPI of this value as it starts; the guard takes
// it away again so that later processes start at 96.
class LogPixelsGuard {
 public:
  explicit LogPixelsGuard(DWORD dpi) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
      Fail("cannot open HKCU\\Control Panel\\Desktop");
    const LONG set = RegSetValueExW(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    RegCloseKey(key);
    if (set != ERROR_SUCCESS) Fail(Format("cannot set LogPixels, error %ld", set));
  }
  LogPixelsGuard(const LogPixelsGuard&) = delete;
  LogPixelsGuard& operator=(const LogPixelsGuard&) = delete;
  ~LogPixelsGuard() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels); }
};

int MetricForDpi(int index, UINT dpi) {
  using Fn = int(WINAPI*)(int, UINT);
  const auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  if (!fn) Fail("user32 has no GetSystemMetricsForDpi");
  return fn(index, dpi);
}

void CaseHeightWithoutListAt144Dpi(Context& c) {
  {
    LogPixelsGuard dpi(144);
    StartWakumo(c, L"dpi144", std::nullopt);
  }
  const HWND main = c.wakumo.main();
  const RECT r = WindowRect(main);
  RECT client{};
  GetClientRect(main, &client);
  const int frame = MetricForDpi(SM_CYCAPTION, 144) + MetricForDpi(SM_CYFRAME, 144);
  const LONG want_height = 368 + frame + 2;
  Log(Format("  at 144 DPI: main window %s, client %ld x %ld, caption + frame %d", RectText(r).c_str(),
             client.right, client.bottom, frame));
  if (client.right != 522) Fail(Format("the client area is %ld wide; 348 design pixels are 522 at 144 DPI", client.right));
  if (r.bottom - r.top != want_height)
    Fail(Format("the window without the list is %ld high; expected 368 + %d + 2 = %ld", r.bottom - r.top, frame,
                want_height));
  CloseWakumo(c);
}

}  // namespace

void RunDpiCases(Context& c, Suite& suite) {
  suite.Run("m-height-without-list-at-144-dpi", [&] { CaseHeightWithoutListAt144Dpi(c); });
  c.wakumo.Discard();
}

}  // namespace e2e
