// The about box, the help file and the preset names beside the size menu
// under Wine, with a Wakumo of their own that has wakumo.chm beside it, and
// the version resource of wakumo.exe.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <optional>

#include "context.h"
#include "form_ops.h"
#include "popups.h"
#include "settings_ops.h"

namespace e2e {

namespace {

constexpr wchar_t kHintClass[] = L"THintWindow";
constexpr wchar_t kViewerClass[] = L"HH Parent";
constexpr wchar_t kViewerTitle[] = L"Wakumo ヘルプ";
constexpr char kWebAddress[] = "https://wakumo.example/";
// The choosable entries of the context menu, from 0: 常に前, 表示位置を保存,
// リスト編集..., ヘルプ..., バージョン情報...
constexpr int kHelpEntry = 3;
constexpr int kAboutEntry = 4;

std::wstring HelpFileOf(const Context& c) { return c.opt.wakumo.substr(0, c.opt.wakumo.find_last_of(L"\\/")) + L"\\wakumo.chm"; }

// ---------------------------------------------------------------- version resource

std::optional<std::wstring> VersionString(const std::vector<BYTE>& data, const wchar_t* key) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\041104B0\\") + key;
  if (!VerQueryValueW(data.data(), path.c_str(), &value, &length) || !value) return std::nullopt;
  return std::wstring(static_cast<const wchar_t*>(value));
}

void CaseVersionResource(Context& c) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(c.opt.wakumo.c_str(), &handle);
  if (size == 0) Fail(Format("wakumo.exe has no version resource (error %lu)", GetLastError()));
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(c.opt.wakumo.c_str(), 0, size, data.data())) Fail("GetFileVersionInfoW failed");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
    Fail("no fixed file information");
  const auto part = [](DWORD v, int shift) { return static_cast<unsigned>((v >> shift) & 0xFFFF); };
  if (part(fixed->dwFileVersionMS, 16) != 1 || part(fixed->dwFileVersionMS, 0) != 74)
    Fail(Format("the file version is %u.%u.%u.%u, expected 1.74", part(fixed->dwFileVersionMS, 16),
                part(fixed->dwFileVersionMS, 0), part(fixed->dwFileVersionLS, 16), part(fixed->dwFileVersionLS, 0)));
  for (const wchar_t* key : {L"FileVersion", L"ProductVersion"}) {
    const std::optional<std::wstring> text = VersionString(data, key);
    if (text != kVersion) Fail(Utf8(key) + " reads " + (text ? Quoted(*text) : "nothing") + ", expected \"1.74\"");
  }
}

// ---------------------------------------------------------------- the about box

void CaseAboutFromPanel(Context& c) {
  EnsureForeground(c);
  ClickControl(c, L"Panel2");
  const HWND box = ExpectAboutBox(c, "a click on About...");
  const RECT r = WindowRect(box);
  SaveScreenshot(c, "about_box.png", &r);
  c.input->Click(Centre(WindowRect(BoxControl(box, L"OKButton"))));
  ExpectClosed(c, box, "after OK");
}

std::string OpenedAddresses(const Context& c) {
  return ReadBytes(DosPath(c.opt.out_unix + "/opened-urls.txt")).value_or("");
}

void CaseAboutFromMenuClosedByAddress(Context& c) {
  EnsureForeground(c);
  const HWND menu = OpenContextMenu(c, "the context menu");
  ChooseWithKeys(c, menu, kAboutEntry, "\"バージョン情報...\"");
  const HWND box = ExpectAboutBox(c, "バージョン情報... of the context menu");
  const HWND address = BoxControl(box, L"URLLabel1");
  const std::string before = OpenedAddresses(c);
  c.input->Click(Centre(WindowRect(address)));
  ExpectClosed(c, box, "after a click on the address");
  // run.sh makes Wine's browser launcher write the addresses it is given.
  std::string opened;
  if (!PollUntil([&] { return (opened = OpenedAddresses(c)) != before; }, kTextDeadlineMs)) {
    Log("  (no address reached the browser stand-in; the box closed as it should)");
    return;
  }
  if (opened.substr(before.size()) != std::string(kWebAddress) + "\n")
    Fail("the browser was asked to open \"" + opened.substr(before.size()) + "\", expected " + kWebAddress);
}

void CaseAboutKeys(Context& c) {
  for (const char* key : {"Escape", "Return"}) {
    EnsureForeground(c);
    ClickControl(c, L"Panel2");
    const HWND box = ExpectAboutBox(c, std::string("About... before ") + key);
    c.input->Keys(key);
    ExpectClosed(c, box, std::string("after ") + key);
  }
}

// ---------------------------------------------------------------- help

// The viewer is a process of its own: any visible window of its class.
HWND Viewer() {
  const std::vector<HWND> viewers = VisibleTopLevelsOf(0, kViewerClass);
  return viewers.empty() ? nullptr : viewers.front();
}

void CaseHelpOpensViewer(Context& c) {
  if (HWND stale = Viewer()) Fail("a help viewer is open before the case: " + Quoted(WindowText(stale)));
  EnsureForeground(c);
  const HWND menu = OpenContextMenu(c, "the context menu");
  ChooseWithKeys(c, menu, kHelpEntry, "\"ヘルプ...\"");
  HWND viewer = nullptr;
  if (!PollUntil([&] { return (viewer = Viewer()) != nullptr; }, 20000))
    Fail("no visible \"HH Parent\" window within 20 s of ヘルプ...; the help file beside the exe: " +
         Quoted(c.wakumo.folder() + L"\\wakumo.chm"));
  struct CloseViewer {
    HWND h;
    ~CloseViewer() {
      PostMessageW(h, WM_CLOSE, 0, 0);
      PollUntil([&] { return !IsWindow(h); }, kTextDeadlineMs);
    }
  } closer{viewer};
  std::wstring title;
  if (!PollUntil([&] { return (title = WindowText(viewer)) == kViewerTitle; }, kTextDeadlineMs))
    Fail("the help viewer's title is " + Quoted(title) + ", expected " + Quoted(kViewerTitle));
  const RECT r = WindowRect(viewer);
  SaveScreenshot(c, "help_viewer.png", &r);
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  if (!PollUntil([&] { return !IsWindow(viewer) || !IsWindowVisible(viewer); }, kTextDeadlineMs))
    Fail("the help viewer stays open after WM_CLOSE");
}

void CaseHelpWithoutFileShowsNothing(Context& c) {
  EnsureForeground(c);
  const HWND menu = OpenContextMenu(c, "the context menu");
  ChooseWithKeys(c, menu, kHelpEntry, "\"ヘルプ...\"");
  // Nothing is to come; a viewer or a message would show within this time.
  HWND shown = nullptr;
  PollUntil([&] { return (shown = Viewer()) || (shown = VisibleTopLevel(c, L"#32770")); }, 3000);
  if (shown) Fail("without a help file, ヘルプ... showed " + Quoted(ClassName(shown)) + " " + Quoted(WindowText(shown)));
  if (!IsWindowEnabled(c.wakumo.main())) Fail("the main window is disabled after ヘルプ...");
}

// ---------------------------------------------------------------- menu hints

// The entries of an open menu lie below a 3-pixel border, 17 pixels each,
// separators 9 (the default theme here).
RECT EntryRect(HWND menu, int entries_before, int separators_before) {
  const RECT m = WindowRect(menu);
  const LONG top = m.top + 3 + 17 * entries_before + 9 * separators_before;
  return {m.left + 3, top, m.right - 3, top + 17};
}

HWND ShownHint(const Context& c) { return VisibleTopLevel(c, kHintClass); }

void CaseMenuHintBesideQvga(Context& c) {
  EnsureForeground(c);
  const HWND menu = OpenSizeMenu(c, "the size menu");
  struct CloseMenu {
    const Context& c;
    HWND menu;
    ~CloseMenu() {
      if (IsWindowVisible(menu)) c.input->Keys("Escape");
    }
  } closer{c, menu};
  // サイズ追加, 縦横入れ替え, a separator, 120 x 60, 256 x 256, 320 x 240, ...
  const RECT qvga = EntryRect(menu, 4, 1);
  const RECT unnamed = EntryRect(menu, 2, 1);
  c.input->MoveTo({qvga.left + 20, (qvga.top + qvga.bottom) / 2});
  HWND hint = nullptr;
  if (!PollUntil([&] { return (hint = ShownHint(c)) && WindowText(hint) == L"QVGA"; }, kTextDeadlineMs))
    Fail("over \"320 x 240\" no hint \"QVGA\" shows; the hint window: " +
         (hint ? Quoted(WindowText(hint)) + " " + RectText(WindowRect(hint)) : std::string("none shown")));
  const RECT h = WindowRect(hint), m = WindowRect(menu);
  if (h.left < m.right - 1 || h.top < qvga.top || h.top >= qvga.bottom)
    Fail("the hint " + RectText(h) + " is not right of the entry " + RectText(qvga) + " of the menu " + RectText(m));
  c.input->MoveTo({unnamed.left + 20, (unnamed.top + unnamed.bottom) / 2});
  if (!PollUntil([&] { return ShownHint(c) == nullptr; }, kTextDeadlineMs))
    Fail("over \"120 x 60\" (no name) the hint " + Quoted(WindowText(hint)) + " stays");
  c.input->MoveTo({qvga.left + 20, (qvga.top + qvga.bottom) / 2});
  if (!PollUntil([&] { return ShownHint(c) != nullptr; }, kTextDeadlineMs)) Fail("back over \"320 x 240\": no hint");
  c.input->Keys("Escape");
  WaitUntilHidden(c, menu, "the size menu after Escape");
  if (!PollUntil([&] { return ShownHint(c) == nullptr; }, kTextDeadlineMs))
    Fail("the hint " + Quoted(WindowText(hint)) + " stays after the menu closed");
}

}  // namespace

void RunAboutCases(Context& c, Suite& suite) {
  suite.Run("u-version-resource-1.74", [&] { CaseVersionResource(c); });

  const std::wstring help = HelpFileOf(c);
  const bool have_help = GetFileAttributesW(help.c_str()) != INVALID_FILE_ATTRIBUTES;
  bool started = false;
  suite.Run("u-start-with-help-file", [&] {
    if (!have_help) Fail("no help file beside the exe under test: " + Quoted(help) + " (not built?)");
    StartWakumo(c, L"about", std::nullopt, {help});
    started = true;
  });
  const auto with_wakumo = [&](const std::string& id, const std::function<void()>& body) {
    if (!started) suite.FailWithout(id, "not run: Wakumo did not start with its help file");
    else suite.Run(id, body);
  };
  with_wakumo("u-about-from-panel", [&] { CaseAboutFromPanel(c); });
  with_wakumo("u-about-from-menu-closed-by-address", [&] { CaseAboutFromMenuClosedByAddress(c); });
  with_wakumo("u-about-enter-and-escape", [&] { CaseAboutKeys(c); });
  with_wakumo("u-menu-hint-beside-qvga", [&] { CaseMenuHintBesideQvga(c); });
  with_wakumo("u-help-opens-viewer", [&] { CaseHelpOpensViewer(c); });
  c.wakumo.Discard();

  bool bare = false;
  suite.Run("u-start-without-help-file", [&] {
    StartWakumo(c, L"nohelp", std::nullopt);
    bare = true;
  });
  if (!bare) suite.FailWithout("u-help-without-file-shows-nothing", "not run: Wakumo did not start");
  else suite.Run("u-help-without-file-shows-nothing", [&] { CaseHelpWithoutFileShowsNothing(c); });
  c.wakumo.Discard();
}

}  // namespace e2e
