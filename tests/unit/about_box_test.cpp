// The about box, opened from the panel and the context menu, and the help
// command.
#include "presets/about_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "presets/about_texts.h"
#include "presets/help_file.h"
#include "presets_fixture.h"

namespace wakumo::testing {
namespace {

class AboutBoxTest : public PresetsFixture {
 protected:
  AboutBoxTest() { Start(); }

  struct Seen {
    bool shown = false;
    std::string version;
    Rect rect;
    bool main_enabled = true;
  };
  // Opens the box through `open`; `user` closes it as the user does.
  Seen OpenAndClose(const std::function<bool()>& open, const std::function<void()>& user) {
    Seen seen;
    tk.ScriptModal([&](SimFormPeer& box) {
      seen.shown = box.Visible();
      seen.version = Text("AboutBox.Version");
      seen.rect = box.WindowRect();
      seen.main_enabled = tk.Get("Form1").Enabled();
      user();
    });
    EXPECT_TRUE(open());
    EXPECT_EQ(tk.PendingModalScripts(), 0u) << "the box did not open";
    return seen;
  }
  Rect CentredOnScreen(const Rect& r) const {
    const int left = (desk.Metric(SystemMetric::CxScreen) - r.Width()) / 2;
    const int top = (desk.Metric(SystemMetric::CyScreen) - r.Height()) / 2;
    return {left, top, left + r.Width(), top + r.Height()};
  }
};

TEST_F(AboutBoxTest, IsMadeHiddenAfterTheMainWindowAndBeforeTheListEditor) {
  std::vector<std::string> forms;
  for (const SimControlPeer* c : tk.Controls()) {
    if (c->Kind() == ControlKind::Form) forms.push_back(c->Name());
  }
  EXPECT_EQ(forms, (std::vector<std::string>{"Form1", "AboutBox", "Form4"}));
  SimFormPeer& box = tk.Get<SimFormPeer>("AboutBox");
  EXPECT_FALSE(box.Visible());
  EXPECT_EQ(box.Caption(), "バージョン情報");
  EXPECT_TRUE(box.DialogFrame());
  EXPECT_FALSE(box.Sizeable());
  EXPECT_EQ(box.ClientRect(), (Rect{0, 0, 239, 121}));
  EXPECT_EQ(box.Font().name, "ＭＳ Ｐゴシック");
  EXPECT_EQ(box.Font().height, 12);
  EXPECT_EQ(Text("AboutBox.Version"), "Version: #.##") << "as stored, until it opens";
  EXPECT_EQ(Text("AboutBox.ShadowLabel1"), "Wakumo");
  EXPECT_EQ(Text("AboutBox.URLLabel1"), kWebAddress);
  EXPECT_TRUE(form->AboutBox->URLLabel1.Executable());
  EXPECT_TRUE(tk.Get<SimButtonPeer>("AboutBox.OKButton").IsDefault());
  EXPECT_EQ(tk.Get("AboutBox.URLLabel1").Cursor(), -21) << "the standard hand over the label's own";
  EXPECT_EQ(tk.Get("AboutBox.ShadowLabel1").Font().color, clBtnFace);
  EXPECT_TRUE(tk.Get("AboutBox.ShadowLabel1").Font().bold);
  EXPECT_TRUE(tk.Get("AboutBox.URLLabel1").Font().underline);
  EXPECT_EQ(tk.Get("AboutBox.URLLabel1").Font().color, clNavy);
}

TEST_F(AboutBoxTest, PanelAndContextMenuOpenItWithTheVersionCentredOnTheScreen) {
  const auto ok = [&] { EXPECT_TRUE(tk.Click("AboutBox.OKButton")); };
  const Seen from_panel = OpenAndClose([&] { return tk.Click("Panel2"); }, ok);
  EXPECT_TRUE(from_panel.shown);
  EXPECT_EQ(from_panel.version, kVersionText);
  EXPECT_EQ(from_panel.version, "1.74");
  EXPECT_FALSE(from_panel.main_enabled) << "modal";
  EXPECT_EQ(from_panel.rect, CentredOnScreen(from_panel.rect));
  EXPECT_FALSE(tk.Get("AboutBox").Visible());

  // Moved away and stored text put back: the next opening puts both right.
  tk.Get<SimFormPeer>("AboutBox").SetWindowRect({0, 0, from_panel.rect.Width(), from_panel.rect.Height()});
  form->AboutBox->Version.SetCaption("Version: #.##");
  tk.ScriptMenuChoice("About1");
  const Seen from_menu = OpenAndClose([&] { return tk.ContextMenu("Form1", {10, 10}); }, ok);
  EXPECT_EQ(from_menu.version, "1.74");
  EXPECT_EQ(from_menu.rect, from_panel.rect);
  EXPECT_EQ(tk.ModalCount(), 2);
}

TEST_F(AboutBoxTest, TheAddressOpensAndClosesTheBoxAndKeysCloseItToo) {
  std::vector<ShellOpenCall> opened_while_open;
  OpenAndClose([&] { return tk.Click("Panel2"); },
               [&] {
                 ASSERT_TRUE(tk.MouseDown("AboutBox.URLLabel1", MouseButton::mbLeft, {}, {3, 3}));
                 opened_while_open = platform.shell.Calls();
                 ASSERT_TRUE(tk.Click("AboutBox.URLLabel1"));
                 tk.MouseUpOnScreen(tk.Get("AboutBox.URLLabel1").ClientToScreen({3, 3}));
               });
  const std::vector<ShellOpenCall> address{{0, kWebAddress}};
  EXPECT_EQ(opened_while_open, address) << "opened on the press, then the click closes the box";
  EXPECT_FALSE(tk.Get("AboutBox").Visible());

  for (const int key : {VK_RETURN_, VK_ESCAPE_}) {
    SCOPED_TRACE(key);
    const Seen seen = OpenAndClose([&] { return tk.Click("Panel2"); },
                                   [&] { EXPECT_TRUE(tk.PressDialogKey("AboutBox", key)); });
    EXPECT_TRUE(seen.shown);
    EXPECT_FALSE(tk.Get("AboutBox").Visible());
  }
  EXPECT_EQ(platform.shell.Calls(), address) << "only the address label opens anything";
}

TEST(HelpFile, LiesBesideTheExecutable) {
  struct Row {
    const char* exe;
    const char* help;
  };
  for (const Row& r : {Row{"C:\\Tools\\wakumo.exe", "C:\\Tools\\wakumo.chm"},
                       Row{"C:\\Program Files\\ワクモ\\Wakumo.EXE", "C:\\Program Files\\ワクモ\\wakumo.chm"},
                       Row{"C:\\wakumo.exe", "C:\\wakumo.chm"},
                       Row{"\\\\server\\share\\w.exe", "\\\\server\\share\\wakumo.chm"},
                       Row{"wakumo.exe", "wakumo.chm"}}) {
    SCOPED_TRACE(r.exe);
    EXPECT_EQ(HelpPathFor(r.exe), r.help);
  }
}

TEST_F(AboutBoxTest, HelpAsksTheDesktopToOpenTheFileAndShowsNothingWhenItCannot) {
  EXPECT_EQ(form->HelpFilePath, "C:\\Tools\\wakumo.chm");
  tk.ScriptMenuChoice("mHelp");
  ASSERT_TRUE(tk.ContextMenu("Form1", {10, 10}));
  const std::vector<ShellOpenCall> help{{form->Handle(), "C:\\Tools\\wakumo.chm"}};
  EXPECT_EQ(platform.shell.Calls(), help);
  // No help file, no viewer: the desktop refuses and the program says nothing.
  platform.shell.SetAccepts(false);
  form->mHelpClick();
  EXPECT_EQ(platform.shell.Calls().size(), 2u);
  EXPECT_EQ(Messages(), std::vector<std::string>{});
}

}  // namespace
}  // namespace wakumo::testing
