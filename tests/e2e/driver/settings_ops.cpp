#include "settings_ops.h"

#include <cstdio>
#include <utility>

#include "form_ops.h"

namespace e2e {

namespace {

constexpr int kCloseDeadlineMs = 15000;

std::optional<std::string> ReadBytes(const std::wstring& path) {
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return std::nullopt;
  std::string bytes;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  fclose(f);
  return bytes;
}

std::string FileList(const Context& c) {
  std::string out;
  for (const std::wstring& name : c.wakumo.FolderFiles()) out += (out.empty() ? "" : ", ") + Quoted(name);
  return out.empty() ? "(none)" : out;
}

struct TopLevelSearch {
  DWORD pid;
  const wchar_t* cls;
  std::vector<HWND> found;
};

BOOL CALLBACK FindTopLevels(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<TopLevelSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == s->pid && IsWindowVisible(hwnd) && ClassName(hwnd) == s->cls) s->found.push_back(hwnd);
  return TRUE;
}

// The captions of an open menu, separators as empty texts; none when the
// menu cannot be read from this process (Wine keeps menus per process).
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

// The grid's "key=value" lines on one line of the log.
std::string RowsText(const std::wstring& rows) {
  std::string out;
  for (char ch : Utf8(rows)) out += ch == '\r' ? "\\r" : ch == '\n' ? "\\n" : std::string(1, ch);
  return "\"" + out + "\"";
}

}  // namespace

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string FileText(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::vector<std::string> DefaultSizeLines() {
  return {"120x60=",      "256x256=",     "320x240=QVGA",   "640x480=VGA",
          "800x600=SVGA", "1024x768=XGA", "1280x1024=SXGA", "1600x1200=UXGA"};
}

std::string DefaultFileText(const std::string& win_pos) {
  std::string text = FileText({"[Sizes]"});
  for (const std::string& line : DefaultSizeLines()) text += FileText({line});
  return text + FileText({"", "[Bases]", "", "[ShortCut]", "", "[Option]", "Timing=0", "ToFront=1", "Base=0",
                          "OnTop=1", "WinPos=" + win_pos, "ListSort=0"});
}

std::string Escaped(const std::string& bytes, size_t from, size_t to) {
  std::string out;
  for (size_t i = from; i < to && i < bytes.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b == '\r') out += "\\r";
    else if (b == '\n') out += "\\n";
    else if (b == '\\') out += "\\\\";
    else if (b >= 0x20 && b < 0x7F) out += static_cast<char>(b);
    else out += Format("\\x%02X", b);
  }
  return out;
}

void ExpectFileBytes(const std::string& got, const std::string& want, const std::string& what) {
  if (got == want) return;
  size_t i = 0;
  while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
  const size_t from = i > 32 ? i - 32 : 0;
  Fail(what + ": " + std::to_string(got.size()) + " bytes, expected " + std::to_string(want.size()) +
       "; first difference at offset " + std::to_string(i) + " (snippets from offset " + std::to_string(from) +
       ")\n    file:     \"" + Escaped(got, from, i + 48) + "\"\n    expected: \"" + Escaped(want, from, i + 48) +
       "\"");
}

std::string ReadSettingsFile(const Context& c) {
  const std::optional<std::string> bytes = ReadBytes(c.wakumo.SettingsPath());
  if (!bytes) Fail("no settings file " + Quoted(c.wakumo.SettingsPath()) + "; the folder holds " + FileList(c));
  return *bytes;
}

void ExpectOnlyExeAndSettings(const Context& c) {
  std::vector<std::wstring> files = c.wakumo.FolderFiles();
  for (const std::wstring& name : files)
    if (lstrcmpiW(name.c_str(), L"wakumo.exe") != 0 && lstrcmpiW(name.c_str(), L"wakumo.ini") != 0)
      Fail("the folder holds more than the exe and its settings after the close: " + FileList(c));
}

void CloseWakumo(Context& c) {
  const DWORD pid = c.wakumo.process_id();
  DWORD code = 0;
  if (!c.wakumo.Close(kCloseDeadlineMs, code))
    Fail(Format("Wakumo did not end within %d s of WM_CLOSE; its windows: ", kCloseDeadlineMs / 1000) +
         VisibleWindowsOf(pid));
  if (code != 0) Fail(Format("Wakumo ended with exit code %lu", code));
}

void StartWakumo(Context& c, const std::wstring& tag, std::optional<std::string> settings) {
  std::string error;
  if (!c.wakumo.Start(c.opt.wakumo, error, LaunchSetup{tag, std::move(settings)})) Fail("starting Wakumo: " + error);
  Log("  Wakumo started in " + Quoted(c.wakumo.SettingsPath().substr(0, c.wakumo.SettingsPath().rfind(L'\\'))) +
      ", main window " + RectText(WindowRect(c.wakumo.main())));
}

std::vector<HWND> VisibleTopLevels(const Context& c, const wchar_t* cls) {
  TopLevelSearch s{c.wakumo.process_id(), cls, {}};
  EnumWindows(FindTopLevels, reinterpret_cast<LPARAM>(&s));
  return s.found;
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

POINT FreeSpotOfMainWindow(const Context& c) {
  const HWND main = c.wakumo.main();
  for (const POINT spot : {POINT{80, 62}, POINT{42, 60}, POINT{340, 4}, POINT{260, 92}}) {
    const POINT p = ScreenPoint(main, spot.x, spot.y);
    if (WindowFromPoint(p) == main) return p;
  }
  Fail("no point of the main window's client area is free of controls; tried (80, 62), (42, 60), (340, 4), (260, 92)");
}

void ExpectGridText(HWND grid, const std::wstring& want, const std::string& what) {
  std::wstring got;
  if (!PollUntil([&] { return (got = WindowText(grid)) == want; }, kTextDeadlineMs))
    Fail(what + ": the grid's rows are " + RowsText(got) + "; expected " + RowsText(want));
}

HWND DialogControl(const std::map<std::wstring, HWND>& controls, const wchar_t* name) {
  auto it = controls.find(name);
  if (it == controls.end()) {
    std::string names;
    for (const auto& [n, h] : controls) names += (names.empty() ? "" : " ") + Utf8(n);
    Fail("the list editor has no control named " + Quoted(name) + "; found: " + (names.empty() ? "(none)" : names));
  }
  return it->second;
}

DialogGuard::~DialogGuard() {
  if (!dialog_ || !IsWindowVisible(dialog_)) return;
  try {
    c_.input->Click(Centre(WindowRect(cancel_)));
    if (!PollUntil([&] { return !IsWindowVisible(dialog_); }, kTextDeadlineMs))
      Log("  (the list editor stays open after a click on Cancel; Wakumo's windows: " +
          VisibleWindowsOf(c_.wakumo.process_id()) + ")");
  } catch (const CaseFailed& e) {
    Log(std::string("  (closing the list editor after the case: ") + e.what() + ")");
  }
}

std::vector<std::wstring> ComboEntries(HWND combo) {
  DWORD_PTR count = 0;
  SendMessageTimeoutW(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 3000, &count);
  std::vector<std::wstring> entries;
  for (int i = 0; i < static_cast<int>(count); ++i) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, SMTO_ABORTIFHUNG, 3000, &length);
    if (static_cast<LRESULT>(length) < 0 || length > 255) {
      entries.push_back(L"<no text>");
      continue;
    }
    wchar_t text[256] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 3000, &copied);
    entries.push_back(text);
  }
  return entries;
}

}  // namespace e2e
