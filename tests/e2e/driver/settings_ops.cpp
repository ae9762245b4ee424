#include "settings_ops.h"

#include <cstdio>
#include <utility>

#include "form_ops.h"

namespace e2e {

namespace {

std::string FileList(const Context& c) {
  std::string out;
  for (const std::wstring& name : c.wakumo.FolderFiles()) out += (out.empty() ? "" : ", ") + Quoted(name);
  return out.empty() ? "(none)" : out;
}

// The grid's "key=value" lines on one line of the log.
std::string RowsText(const std::wstring& rows) {
  std::string out;
  for (char ch : Utf8(rows)) out += ch == '\r' ? "\\r" : ch == '\n' ? "\\n" : std::string(1, ch);
  return "\"" + out + "\"";
}

}  // namespace

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
