// A settings file whose names code page 932 cannot read as text: a name
// from a code-page-1252 system, names cut after a lead byte, a lead byte
// before a byte that is no trail byte, and a row-13 symbol that 932 writes
// back as other bytes. Wakumo shows each undecodable byte as "〈E9〉" in the
// shortcut box and the list editor, and writes the file back byte for byte
// after a start, a choice from the size menu and from the shortcuts, and O K
// in the list editor without an edit.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "context.h"
#include "form_ops.h"
#include "settings_ops.h"

namespace e2e {

namespace {

const std::string kCafe = Bytes({'C', 'a', 'f', 0xE9});                  // "Café" in 1252
const std::string kCutName = Bytes({0x96, 0xBC, 0x91, 0x4F, 0x8E});     // 名前 and a lead byte
const std::string kBadTrail = Bytes({'A', 0x81, 0x7F, 'B'});            // 81 7F is no character
const std::string kTwin = Bytes({0x87, 0x90});                          // ≒, written by 932 as 81 E0

// As Wakumo writes it, so that a start and a close must give it back unchanged.
std::string ForeignFileText() {
  return FileText({"[Sizes]", "640x480=" + kCafe, "800x600=" + kCutName, "1024x768=XGA", "", "[Bases]",
                   "0,0=" + kBadTrail, "-8,0=" + kTwin, "", "[ShortCut]", kCafe + "=320,240,5,6", "Big=800,600,10,20",
                   Bytes({0x8E}) + "=1024,768,1,2", "", "[Option]", "Timing=0", "ToFront=1", "Base=0", "OnTop=1",
                   "WinPos=0", "ListSort=0"});
}

constexpr wchar_t kSizeGrid[] = L"640 x 480=Caf〈E9〉\r\n800 x 600=名前〈8E〉\r\n1024 x 768=XGA\r\n";
constexpr wchar_t kBaseGrid[] = L"0 , 0=A〈81〉〈7F〉B\r\n-8 , 0=≒\r\n";
const std::vector<std::wstring> kShortcuts = {L"Caf〈E9〉", L"Big", L"〈8E〉"};

void ExpectShortcuts(const Context& c, const std::string& what) {
  std::vector<std::wstring> got;
  if (!PollUntil([&] { return (got = ComboEntries(Ctl(c, L"ComboBox1"))) == kShortcuts; }, kTextDeadlineMs))
    Fail(what + ": ComboBox1 lists " + CaptionsText(got) + "; expected " + CaptionsText(kShortcuts));
}

void CaseUndecodableNamesShown(Context& c) {
  StartWakumo(c, L"undecodable", ForeignFileText());
  if (GetACP() != 932) Fail(Format("the ANSI code page is %u, not 932: run under LC_ALL=ja_JP.UTF-8", GetACP()));
  ExpectShortcuts(c, "at start");
  ExpectFieldText(c, L"EdSizeX", "640", "the first size preset chosen at start");

  const HWND menu = OpenSizeMenu(c, "the size menu");
  ExpectMenuCaptions(menu, {L"サイズ追加", L"縦横入れ替え", L"", L"640 x 480", L"800 x 600", L"1024 x 768"},
                     "the size menu");
  ChooseWithKeys(c, menu, 3, "\"800 x 600\", named 名前〈8E〉");
  ExpectFieldText(c, L"EdSizeX", "800", "after choosing \"800 x 600\"");
  ExpectFieldText(c, L"EdSizeY", "600", "after choosing \"800 x 600\"");

  ChooseComboEntry(c, L"ComboBox1", 0);
  ExpectFieldText(c, L"ComboBox1", "Caf〈E9〉", "after choosing the first shortcut");
  ExpectFieldText(c, L"EdSizeX", "320", "after choosing the shortcut Caf〈E9〉");
  // 左上： stays unticked; the position fields take the numbers all the same.
  ExpectFieldText(c, L"EdBaseY", "6", "after choosing the shortcut Caf〈E9〉");
}

void CaseListEditorOkWithoutEdit(Context& c) {
  c.input->RightClick(FreeSpotOfMainWindow(c));
  const HWND context_menu = WaitForTopLevel(c, kMenuClass, "a right click on the main window");
  ChooseWithKeys(c, context_menu, 2, "\"リスト編集...\"");
  const HWND dialog = WaitForTopLevel(c, L"TForm4", "after choosing \"リスト編集...\"");
  const std::map<std::wstring, HWND> controls = NamedControls(dialog);
  DialogGuard guard(c, dialog, DialogControl(controls, L"Button8"));
  ExpectGridText(DialogControl(controls, L"SizeList"), kSizeGrid, "the size grid as opened");
  ExpectGridText(DialogControl(controls, L"BaseList"), kBaseGrid, "the position grid as opened");
  SaveScreenshot(c, "list_editor_undecodable_names.png", nullptr);
  c.input->Click(Centre(WindowRect(DialogControl(controls, L"Button7"))));
  WaitUntilHidden(c, dialog, "after O K");
  ExpectShortcuts(c, "after the list editor");
}

void CaseCloseRewritesByteForByte(Context& c) {
  CloseWakumo(c);
  ExpectFileBytes(ReadSettingsFile(c), ForeignFileText(), "the settings file after start, choices, O K and close");
  ExpectOnlyExeAndSettings(c);
}

}  // namespace

void RunUndecodableNameCases(Context& c, Suite& suite) {
  suite.Run("s-undecodable-names-shown", [&] { CaseUndecodableNamesShown(c); });
  const auto running = [&](const std::string& id, const std::function<void()>& body) {
    if (!c.wakumo.main()) suite.FailWithout(id, "not run: Wakumo did not start with the file of undecodable names");
    else suite.Run(id, body);
  };
  running("s-undecodable-names-list-editor-ok", [&] { CaseListEditorOkWithoutEdit(c); });
  running("s-undecodable-names-rewritten-byte-for-byte", [&] { CaseCloseRewritesByteForByte(c); });
  c.wakumo.Discard();
}

}  // namespace e2e
