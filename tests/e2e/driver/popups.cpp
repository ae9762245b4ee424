#include "popups.h"

#include <map>

#include "form_ops.h"

namespace e2e {

void CloseWakumo(Context& c) {
  const DWORD pid = c.wakumo.process_id();
  DWORD code = 0;
  if (!c.wakumo.Close(kCloseDeadlineMs, code))
    Fail(Format("Wakumo did not end within %d s of WM_CLOSE; its windows: ", kCloseDeadlineMs / 1000) +
         VisibleWindowsOf(pid));
  if (code != 0) Fail(Format("Wakumo ended with exit code %lu", code));
}

void StartWakumo(Context& c, const std::wstring& tag, std::optional<std::string> settings,
                 std::vector<std::wstring> beside) {
  std::string error;
  if (!c.wakumo.Start(c.opt.wakumo, error, LaunchSetup{tag, std::move(settings), std::move(beside)}))
    Fail("starting Wakumo: " + error);
  Log("  Wakumo started in " + Quoted(c.wakumo.SettingsPath().substr(0, c.wakumo.SettingsPath().rfind(L'\\'))) +
      ", main window " + RectText(WindowRect(c.wakumo.main())));
}

// ---------------------------------------------------------------- windows of Wakumo's process

std::vector<HWND> VisibleTopLevels(const Context& c, const wchar_t* cls) {
  return VisibleTopLevelsOf(c.wakumo.process_id(), cls);
}

HWND VisibleTopLevel(const Context& c, const wchar_t* cls) {
  const std::vector<HWND> all = VisibleTopLevels(c, cls);
  return all.empty() ? nullptr : all.front();
}

HWND WaitForTopLevel(const Context& c, const wchar_t* cls, const std::string& what) {
  HWND found = nullptr;
  if (!PollUntil([&] { return (found = VisibleTopLevel(c, cls)) != nullptr; }, kTextDeadlineMs))
    Fail(what + ": no visible " + Quoted(cls) + " window; Wakumo's windows: " +
         VisibleWindowsOf(c.wakumo.process_id()));
  return found;
}

void WaitUntilHidden(const Context& c, HWND window, const std::string& what) {
  if (!PollUntil([&] { return !IsWindowVisible(window); }, kTextDeadlineMs))
    Fail(what + ": " + Quoted(ClassName(window)) + " " + Quoted(WindowText(window)) +
         " is still shown; Wakumo's windows: " + VisibleWindowsOf(c.wakumo.process_id()));
}

// ---------------------------------------------------------------- popup menus

std::optional<std::vector<std::wstring>> MenuCaptions(HWND menu_window) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(menu_window, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 3000, &result) || !result)
    return std::nullopt;
  const HMENU menu = reinterpret_cast<HMENU>(result);
  const int count = GetMenuItemCount(menu);
  if (count < 0) return std::nullopt;
  std::vector<std::wstring> captions;
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
    captions.push_back(text);
  }
  return captions;
}

std::string CaptionsText(const std::vector<std::wstring>& captions) {
  std::string out;
  for (const std::wstring& c : captions) out += (out.empty() ? "" : ", ") + Quoted(c);
  return out;
}

void ExpectMenuCaptions(HWND menu_window, const std::vector<std::wstring>& want, const std::string& what) {
  const std::optional<std::vector<std::wstring>> got = MenuCaptions(menu_window);
  if (!got) {
    Log("  (" + what + ": the menu's entries cannot be read from another process here; checked by choosing)");
    return;
  }
  if (*got != want) Fail(what + ": the menu lists " + CaptionsText(*got) + "; expected " + CaptionsText(want));
}

void ChooseWithKeys(const Context& c, HWND menu_window, int choosable, const std::string& what) {
  std::string keys;
  for (int i = 0; i <= choosable; ++i) keys += "Down ";
  c.input->Keys(keys + "Return");
  WaitUntilHidden(c, menu_window, what + ", after choosing with " + keys + "Return");
}

HWND OpenSizeMenu(const Context& c, const std::string& what) {
  ClickControl(c, L"SlstBtn");
  return WaitForTopLevel(c, kMenuClass, what + ": a click on SlstBtn");
}

HWND OpenContextMenu(const Context& c, const std::string& what) {
  c.input->RightClick(FreeSpotOfMainWindow(c));
  return WaitForTopLevel(c, kMenuClass, what + ": a right click on the main window");
}

POINT FreeSpotOfMainWindow(const Context& c) {
  const HWND main = c.wakumo.main();
  for (const POINT spot : {POINT{80, 62}, POINT{42, 60}, POINT{340, 4}, POINT{260, 92}}) {
    const POINT p = ScreenPoint(main, spot.x, spot.y);
    if (WindowFromPoint(p) == main) return p;
  }
  Fail("no point of the main window's client area is free of controls; tried (80, 62), (42, 60), (340, 4), (260, 92)");
}

// ---------------------------------------------------------------- the about box

namespace {

bool IsAbove(HWND upper, HWND lower) {
  for (HWND h = GetWindow(lower, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV))
    if (h == upper) return true;
  return false;
}

bool IsTopmost(HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

}  // namespace

// Waits for the box and checks what every opening shows.
HWND ExpectAboutBox(const Context& c, const std::string& how) {
  const HWND box = WaitForTopLevel(c, kAboutClass, how);
  if (WindowText(box) != L"バージョン情報") Fail(how + ": the box's caption is " + Quoted(WindowText(box)));
  const std::map<std::wstring, HWND> controls = NamedControls(box);
  const auto version = controls.find(L"Version");
  if (version == controls.end()) Fail(how + ": the box has no control named \"Version\"");
  std::wstring shown;
  if (!PollUntil([&] { return (shown = WindowText(version->second)) == kVersion; }, kTextDeadlineMs))
    Fail(how + ": Version shows " + Quoted(shown) + ", expected \"1.74\"");
  const RECT r = WindowRect(box);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const LONG left = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, top = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  if (r.left != left || r.top != top)
    Fail(how + ": the box is at " + RectText(r) + Format("; centred on the screen it starts at (%ld, %ld)", left, top));
  if (IsWindowEnabled(c.wakumo.main())) Fail(how + ": the main window takes input while the box is open");
  // The main window stays on top of other windows (OnTop=1 by default): the
  // box must stay above it.
  if (IsTopmost(c.wakumo.main()) && !(IsTopmost(box) && IsAbove(box, c.wakumo.main())))
    Fail(how + ": the main window stays on top, the box is " + (IsTopmost(box) ? "" : "not ") +
         "topmost and " + (IsAbove(box, c.wakumo.main()) ? "above" : "below") + " it");
  return box;
}

HWND BoxControl(HWND box, const wchar_t* name) {
  const std::map<std::wstring, HWND> controls = NamedControls(box);
  const auto it = controls.find(name);
  if (it == controls.end()) Fail(std::string("the about box has no control named ") + Quoted(name));
  return it->second;
}

void ExpectClosed(const Context& c, HWND box, const std::string& how) {
  WaitUntilHidden(c, box, how);
  if (!PollUntil([&] { return IsWindowEnabled(c.wakumo.main()) != FALSE; }, kTextDeadlineMs))
    Fail(how + ": the main window stays disabled after the box closed");
}

}  // namespace e2e
