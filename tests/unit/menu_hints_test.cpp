// Preset names beside the entries of an open size or position menu.
#include <gtest/gtest.h>

#include <string>

#include "presets_fixture.h"
#include "sim/sim_hint_window.h"

namespace wakumo::testing {
namespace {

class MenuHintsTest : public PresetsFixture {
 protected:
  MenuHintsTest() { Start(); }
  // Starts again from a prepared settings file (the close writes its own).
  void RestartWith(std::string_view ini) {
    Close();
    form.reset();
    platform.files.PutFile(kIniPath, ini);
    Start();
  }
  SimHintWindowPeer& Hint() const { return static_cast<SimHintWindowPeer&>(tk.Get("MenuHintWindow")); }
  // Where the hint for `text` belongs beside entry `index` of the open menu.
  Rect Beside(int index, const std::string& text) const {
    const Rect entry = tk.OpenMenu()->ItemRect(index);
    const int x = entry.right + 2 * desk.Metric(SystemMetric::CxDlgFrame);
    const int y = entry.top + desk.Metric(SystemMetric::CyDlgFrame);
    const TextSize size = Hint().HintSize(text, 512);
    return {x + 1, y, x + 1 + size.cx, y + size.cy};
  }
  // The size menu's entries: three fixed ones, then the presets in order.
  static constexpr int kFirstPreset = 3;
};

TEST_F(MenuHintsTest, TheHintWindowIsMadeHiddenInTheTooltipColourOwnedByTheMainWindow) {
  EXPECT_FALSE(Hint().Visible());
  EXPECT_EQ(Hint().Color(), clInfoBk);
  EXPECT_EQ(desk.Owner(Hint().Handle()), form->Handle());
}

TEST_F(MenuHintsTest, ANamedPresetShowsItsNameRightOfTheEntryAndAnUnnamedOneHidesIt) {
  bool shown_over_qvga = false;
  Rect at_qvga;
  std::string text_over_qvga;
  bool shown_over_unnamed = true;
  tk.ScriptMenuSession([&] {
    EXPECT_TRUE(tk.HighlightMenuItem("320 x 240"));
    shown_over_qvga = Hint().Visible();
    text_over_qvga = Hint().Caption();
    at_qvga = Hint().Bounds();
    EXPECT_EQ(at_qvga, Beside(kFirstPreset + 2, "QVGA"));
    EXPECT_TRUE(tk.HighlightMenuItem("120 x 60"));
    shown_over_unnamed = Hint().Visible();
    return std::string();
  });
  ASSERT_TRUE(tk.Click("SlstBtn"));
  EXPECT_TRUE(shown_over_qvga);
  EXPECT_EQ(text_over_qvga, "QVGA");
  const Rect menu_entry = form->SizeList.ItemRect(0);
  EXPECT_EQ(menu_entry, Rect{}) << "closed menus have no entries on the screen";
  EXPECT_FALSE(shown_over_unnamed) << "120 x 60 has no name";
  EXPECT_FALSE(Hint().Visible());
}

TEST_F(MenuHintsTest, TheHintStaysBesideTheFirstOfTwoPresetsOfTheSameName) {
  RestartWith("[Sizes]\r\n640x480=VGA\r\n800x600=VGA\r\n1024x768=XGA\r\n");
  Rect first, after_second, after_third;
  tk.ScriptMenuSession([&] {
    tk.HighlightMenuItem("640 x 480");
    first = Hint().Bounds();
    tk.HighlightMenuItem("800 x 600");
    after_second = Hint().Bounds();
    tk.HighlightMenuItem("1024 x 768");
    after_third = Hint().Bounds();
    EXPECT_EQ(Hint().Caption(), "XGA");
    return std::string();
  });
  ASSERT_TRUE(tk.Click("SlstBtn"));
  EXPECT_EQ(after_second, first) << "the hint text did not change, so nothing moved";
  EXPECT_NE(after_third, first);
  EXPECT_EQ(after_third.top - first.top, 2 * 17) << "two entries further down";
}

TEST_F(MenuHintsTest, KeysHighlightingWithThePointerOutsideTheMenuHideTheHint) {
  bool shown = true;
  tk.ScriptMenuSession([&] {
    tk.HighlightMenuItem("120 x 60");
    desk.SetCursorPos({5, 5});
    EXPECT_TRUE(tk.HighlightMenuItemByKey("640 x 480"));
    shown = Hint().Visible();
    return std::string();
  });
  ASSERT_TRUE(tk.Click("SlstBtn"));
  EXPECT_FALSE(shown);
}

TEST_F(MenuHintsTest, ClosingTheMenuHidesTheHintWithOrWithoutAChoice) {
  for (const char* choice : {"", "800 x 600"}) {
    SCOPED_TRACE(std::string("choice \"") + choice + "\"");
    bool shown = false;
    tk.ScriptMenuSession([&] {
      tk.HighlightMenuItem("800 x 600");
      shown = Hint().Visible();
      return std::string(choice);
    });
    ASSERT_TRUE(tk.Click("SlstBtn"));
    EXPECT_TRUE(shown);
    EXPECT_FALSE(Hint().Visible());
    EXPECT_EQ(tk.Application().Hint(), "");
  }
  EXPECT_EQ(Text("EdSizeX"), "800");
}

TEST_F(MenuHintsTest, PositionPresetsToo) {
  RestartWith("[Bases]\r\n100,50=Left\r\n0,0=\r\n[Option]\r\nBase=0,0\r\n");
  std::string text;
  tk.ScriptMenuSession([&] {
    tk.HighlightMenuItem("100 , 50");
    text = Hint().Visible() ? Hint().Caption() : "(hidden)";
    return std::string();
  });
  ASSERT_TRUE(tk.Click("BlstBtn"));
  EXPECT_EQ(text, "Left");
}

TEST_F(MenuHintsTest, OtherControlsAndOtherMenusNeverShowInIt) {
  // The sight's tooltip is the application's hint while the mouse is on it.
  tk.MouseMoveOnScreen(tk.Get("Image1").ClientToScreen({10, 10}));
  EXPECT_EQ(tk.Application().Hint(), "照準");
  EXPECT_FALSE(Hint().Visible());
  EXPECT_EQ(Hint().ShowCount(), 0);

  // An entry with a hint in the context menu: not a preset menu.
  form->TopChk->SetHint("常に前面に表示");
  bool shown = true;
  std::string app_hint;
  tk.ScriptMenuSession([&] {
    tk.HighlightMenuItem("TopChk");
    app_hint = tk.Application().Hint();
    shown = Hint().Visible();
    return std::string();
  });
  ASSERT_TRUE(tk.ContextMenu("Form1", {10, 10}));
  EXPECT_EQ(app_hint, "常に前面に表示");
  EXPECT_FALSE(shown);
  EXPECT_EQ(Hint().ShowCount(), 0);
}

TEST_F(MenuHintsTest, TheLongPartOfATwoPartHintIsShown) {
  RestartWith("[Sizes]\r\n640x480=short|long name\r\n");
  std::string text;
  tk.ScriptMenuSession([&] {
    tk.HighlightMenuItem("640 x 480");
    text = Hint().Caption();
    return std::string();
  });
  ASSERT_TRUE(tk.Click("SlstBtn"));
  EXPECT_EQ(text, "long name");
}

TEST_F(MenuHintsTest, FormCloseReleasesTheHintWindowBeforeSavingAndLaterHintsAreHarmless) {
  ASSERT_NE(tk.Find("MenuHintWindow"), nullptr);
  Close();
  EXPECT_EQ(tk.Find("MenuHintWindow"), nullptr);
  EXPECT_EQ(form->MenuHintWindow, nullptr);
  EXPECT_EQ(Ini(), kDefaultIni) << "the settings are still written";
  tk.Application().SetHint("late");  // no window to show it in: nothing happens
  EXPECT_EQ(tk.Find("MenuHintWindow"), nullptr);
}

}  // namespace
}  // namespace wakumo::testing
