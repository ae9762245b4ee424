// The settings file under Wine: what a first start writes at close, a
// prepared file read at start, the size menu, the list editor, and the edit
// written back at close. Each group has a Wakumo of its own, started in a
// fresh folder once the other cases have closed theirs.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <vector>

#include "context.h"
#include "form_ops.h"
#include "settings_ops.h"

namespace e2e {

namespace {

// Names in code page 932; ソ and 表 end in the byte 0x5C, a backslash in ASCII.
const std::string kSjisSoft = Bytes({0x83, 0x5C, 0x83, 0x74, 0x83, 0x67});                  // ソフト
const std::string kSjisHyouji = Bytes({0x95, 0x5C, 0x8E, 0xA6});                            // 表示
const std::string kSjisEditor = Bytes({0x83, 0x47, 0x83, 0x66, 0x83, 0x42, 0x83, 0x5E});  // エディタ

std::string PreparedFileText() {
  return FileText({"[Sizes]", "640x480=VGA", "800x600=" + kSjisSoft, "1024x768=XGA", "", "[Bases]",
                   "100,50=" + kSjisHyouji, "-8,0=", "", "[ShortCut]", "Small=320,240,0,0",
                   kSjisEditor + "=640,480,10,20", "abc=800,600,-8,0", "", "[Option]", "Timing=0", "ToFront=0",
                   "Base=100,50", "OnTop=1", "WinPos=0,0", "ListSort=1"});
}

// The prepared file as Wakumo writes it back: the shortcuts in their sorted
// order, and the second size preset as the list editor left it.
std::string RewrittenFileText(const std::string& second_size_key) {
  return FileText({"[Sizes]", "640x480=VGA", second_size_key + "=" + kSjisSoft, "1024x768=XGA", "", "[Bases]",
                   "100,50=" + kSjisHyouji, "-8,0=", "", "[ShortCut]", "abc=800,600,-8,0", "Small=320,240,0,0",
                   kSjisEditor + "=640,480,10,20", "", "[Option]", "Timing=0", "ToFront=0", "Base=100,50",
                   "OnTop=1", "WinPos=0,0", "ListSort=1"});
}

// ---------------------------------------------------------------- the list editor

constexpr wchar_t kSizeGridBefore[] = L"640 x 480=VGA\r\n800 x 600=ソフト\r\n1024 x 768=XGA\r\n";
constexpr wchar_t kSizeGridAfter[] = L"640 x 480=VGA\r\n720x400=ソフト\r\n1024 x 768=XGA\r\n";
constexpr wchar_t kBaseGrid[] = L"100 , 50=表示\r\n-8 , 0=\r\n";

HWND VisibleEditorOf(HWND grid) {
  HWND child = nullptr;
  while ((child = FindWindowExW(grid, child, L"Edit", nullptr)) != nullptr)
    if (IsWindowVisible(child)) return child;
  return nullptr;
}

// Types `key` over the key of `row` in the grid: a click on the key cell,
// F2, all the text selected, the new text, Enter.
void EditKey(const Context& c, HWND grid, int row, const std::wstring& old_key, const std::string& key) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const int pitch = MulDiv(18, dpi, 96) + 1;  // a row and the line below it
  c.input->Click(ScreenPoint(grid, MulDiv(40, dpi, 96), row * pitch + pitch / 2));
  if (!PollUntil([&] { const HWND f = FocusOf(c); return f == grid || (f && GetParent(f) == grid); }, kTextDeadlineMs))
    Fail("a click on the key of row " + std::to_string(row) + " left the focus on " + Quoted(ClassName(FocusOf(c))));
  c.input->Keys("F2");
  HWND editor = nullptr;
  if (!PollUntil([&] { editor = VisibleEditorOf(grid); return editor && FocusOf(c) == editor; }, kTextDeadlineMs))
    Fail("F2 opened no editor over the cell; focus on " + Quoted(ClassName(FocusOf(c))));
  if (WindowText(editor) != old_key)
    Fail("the editor over the key of row " + std::to_string(row) + " holds " + Quoted(WindowText(editor)) +
         ", expected " + Quoted(old_key));
  c.input->Keys("Home shift+End");
  const int length = static_cast<int>(WindowText(editor).size());
  if (!PollUntil([&] { auto s = FieldSelection(editor); return s.first == 0 && s.second == length; },
                 kTextDeadlineMs))
    Fail("Home, Shift+End did not select the editor's whole text");
  c.input->Type(key);
  std::wstring typed;
  if (!PollUntil([&] { return Utf8(typed = WindowText(editor)) == key; }, kTextDeadlineMs))
    Fail("after typing " + key + " the editor holds " + Quoted(typed));
  c.input->Keys("Return");
  if (!PollUntil([&] { return !IsWindowVisible(editor); }, kTextDeadlineMs))
    Fail("Enter left the editor open");
}

// ---------------------------------------------------------------- cases

void CaseDefaultFile(Context& c) {
  StartWakumo(c, L"default", std::nullopt);
  if (GetFileAttributesW(c.wakumo.SettingsPath().c_str()) != INVALID_FILE_ATTRIBUTES)
    Fail("a settings file exists before the close: " + Quoted(c.wakumo.SettingsPath()));
  // The first built-in size preset is chosen at start.
  ExpectFieldText(c, L"EdSizeX", "120", "first start");
  ExpectFieldText(c, L"EdSizeY", "60", "first start");
  ExpectChecked(c, L"FrontChk", true, "first start");
  ExpectChecked(c, L"Timing", false, "first start");
  ExpectChecked(c, L"BaseChk", false, "first start");
  CloseWakumo(c);
  ExpectFileBytes(ReadSettingsFile(c), DefaultFileText(), "the settings file after a first start and close");
  ExpectOnlyExeAndSettings(c);
}

void CasePreparedFileRead(Context& c) {
  StartWakumo(c, L"prepared", PreparedFileText());
  // The names are in code page 932; the cases after this one read them back.
  if (GetACP() != 932)
    Fail(Format("the ANSI code page is %u, not 932: run under LC_ALL=ja_JP.UTF-8", GetACP()));
  RECT r{};
  if (!PollUntil([&] { r = WindowRect(c.wakumo.main()); return r.left == 0 && r.top == 0; }, kTextDeadlineMs))
    Fail("with WinPos=0,0 the main window is at " + RectText(r));
  ExpectChecked(c, L"BaseChk", true, "with Base=100,50");
  ExpectEnabled(c, L"EdBaseX", true, "with Base=100,50");
  ExpectFieldText(c, L"EdBaseX", "100", "with Base=100,50");
  ExpectFieldText(c, L"EdBaseY", "50", "with Base=100,50");
  ExpectFieldText(c, L"EdSizeX", "640", "the first size preset chosen at start");
  ExpectFieldText(c, L"EdSizeY", "480", "the first size preset chosen at start");
  ExpectChecked(c, L"FrontChk", false, "with ToFront=0");
  ExpectChecked(c, L"Timing", false, "with Timing=0");
  const std::vector<std::wstring> want = {L"abc", L"Small", L"エディタ"};
  std::vector<std::wstring> got;
  if (!PollUntil([&] { return (got = ComboEntries(Ctl(c, L"ComboBox1"))) == want; }, kTextDeadlineMs))
    Fail("with ListSort=1 ComboBox1 lists " + CaptionsText(got) + "; expected " + CaptionsText(want));
}

const std::vector<std::wstring> kSizeMenuBefore = {L"サイズ追加", L"縦横入れ替え", L"", L"640 x 480", L"800 x 600",
                                                   L"1024 x 768"};
const std::vector<std::wstring> kSizeMenuAfter = {L"サイズ追加", L"縦横入れ替え", L"", L"640 x 480", L"720x400",
                                                  L"1024 x 768"};

void CaseSizeMenuChooses(Context& c) {
  ExpectFieldText(c, L"EdSizeX", "640", "before the menu");
  const RECT button = WindowRect(Ctl(c, L"SlstBtn"));
  const HWND menu = OpenSizeMenu(c, "the size menu");
  // Its top-left corner at the button's right edge, level with its top.
  const RECT at = WindowRect(menu);
  if (at.left != button.left + 16 || at.top != button.top)
    Fail(Format("the size menu opened at (%ld, %ld); expected (%ld, %ld) beside SlstBtn ", at.left, at.top,
                button.left + 16, button.top) + RectText(button));
  ExpectMenuCaptions(menu, kSizeMenuBefore, "the size menu");
  ChooseWithKeys(c, menu, 3, "\"800 x 600\"");
  ExpectFieldText(c, L"EdSizeX", "800", "after choosing \"800 x 600\"");
  ExpectFieldText(c, L"EdSizeY", "600", "after choosing \"800 x 600\"");
}

void CaseListEditorChangesMenu(Context& c, bool& committed) {
  const RECT main = WindowRect(c.wakumo.main());
  c.input->RightClick(FreeSpotOfMainWindow(c));
  const HWND context_menu = WaitForTopLevel(c, kMenuClass, "a right click on the main window");
  ExpectMenuCaptions(context_menu,
                     {L"常に前", L"表示位置を保存", L"", L"リスト編集...", L"", L"ヘルプ...", L"バージョン情報..."},
                     "the main window's context menu");
  ChooseWithKeys(c, context_menu, 2, "\"リスト編集...\"");
  const HWND dialog = WaitForTopLevel(c, L"TForm4", "after choosing \"リスト編集...\"");
  const std::map<std::wstring, HWND> controls = NamedControls(dialog);
  DialogGuard guard(c, dialog, DialogControl(controls, L"Button8"));
  if (WindowText(dialog) != L"Wakumo- リスト編集") Fail("the list editor's caption is " + Quoted(WindowText(dialog)));
  const RECT r = WindowRect(dialog);
  if (r.left != main.right + 2 || r.top != main.top)
    Fail(Format("the list editor is at %s; expected its top-left at (%ld, %ld), 2 px right of the main window ",
                RectText(r).c_str(), main.right + 2, main.top) + RectText(main));
  const HWND sizes = DialogControl(controls, L"SizeList");
  ExpectGridText(sizes, kSizeGridBefore, "the size grid as opened");
  ExpectGridText(DialogControl(controls, L"BaseList"), kBaseGrid, "the position grid as opened");

  EditKey(c, sizes, 1, L"800 x 600", "720x400");
  ExpectGridText(sizes, kSizeGridAfter, "after the edit");
  const HWND message = VisibleTopLevel(c, L"#32770");
  if (message) Fail("a message box is open after the edit: " + Quoted(WindowText(message)));
  c.input->Click(Centre(WindowRect(DialogControl(controls, L"Button7"))));
  WaitUntilHidden(c, dialog, "after O K");
  committed = true;

  const HWND menu = OpenSizeMenu(c, "the size menu after O K");
  ExpectMenuCaptions(menu, kSizeMenuAfter, "the size menu after O K");
  ChooseWithKeys(c, menu, 3, "the edited entry");
  ExpectFieldText(c, L"EdSizeX", "720", "after choosing the edited entry (was \"800 x 600\", now \"720x400\")");
  ExpectFieldText(c, L"EdSizeY", "400", "after choosing the edited entry (was \"800 x 600\", now \"720x400\")");
}

void CaseCloseWritesEdit(Context& c, bool committed) {
  CloseWakumo(c);
  // Without the edit the prepared presets come back in the written form.
  if (!committed) Log("  (the list editor made no change: expecting the prepared presets unchanged)");
  ExpectFileBytes(ReadSettingsFile(c), RewrittenFileText(committed ? "720x400" : "800x600"),
                  "the settings file after the close");
  ExpectOnlyExeAndSettings(c);
}

}  // namespace

void ExpectClosingWroteSettings(const Context& c) {
  const std::string bytes = ReadSettingsFile(c);
  std::vector<std::string> lines;
  size_t from = 0;
  while (from < bytes.size()) {
    const size_t end = bytes.find("\r\n", from);
    if (end == std::string::npos)
      Fail("the settings file's last line has no CR LF: " + Escaped(bytes, from, bytes.size()));
    lines.push_back(bytes.substr(from, end - from));
    if (lines.back().find_first_of("\r\n") != std::string::npos)
      Fail("a lone CR or LF in the settings file: " + Escaped(lines.back(), 0, lines.back().size()));
    from = end + 2;
  }
  // No case changes the size presets; the options are whatever the cases left.
  std::vector<std::string> want = {"[Sizes]"};
  for (const std::string& line : DefaultSizeLines()) want.push_back(line);
  for (const char* line : {"", "[Bases]", "", "[ShortCut]", "", "[Option]"}) want.push_back(line);
  const char* options[] = {"Timing=", "ToFront=", "Base=", "OnTop=", "WinPos=", "ListSort="};
  bool fits = lines.size() == want.size() + 6;
  for (size_t i = 0; fits && i < want.size(); ++i) fits = lines[i] == want[i];
  for (size_t i = 0; fits && i < 6; ++i) fits = lines[want.size() + i].rfind(options[i], 0) == 0;
  if (!fits)
    Fail("the settings file written at close is not laid out as expected: \"" + Escaped(bytes, 0, bytes.size()) +
         "\"");
}

void RunSettingsCases(Context& c, Suite& suite) {
  Log(Format("  ANSI code page %u", GetACP()));
  suite.Run("s-first-start-writes-default-file", [&] { CaseDefaultFile(c); });

  bool committed = false;
  suite.Run("s-prepared-file-read", [&] { CasePreparedFileRead(c); });
  // The rest needs Wakumo running from the prepared file.
  const auto with_prepared = [&](const std::string& id, const std::function<void()>& body) {
    if (!c.wakumo.main()) suite.FailWithout(id, "not run: Wakumo did not start with the prepared file");
    else suite.Run(id, body);
  };
  with_prepared("s-size-menu-chooses-800x600", [&] { CaseSizeMenuChooses(c); });
  with_prepared("s-list-editor-edit-changes-menu", [&] { CaseListEditorChangesMenu(c, committed); });
  with_prepared("s-close-writes-the-edit", [&] { CaseCloseWritesEdit(c, committed); });
  c.wakumo.Discard();
  RunUndecodableNameCases(c, suite);
}

}  // namespace e2e
