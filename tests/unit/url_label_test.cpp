// The URL label's colours as the mouse comes, presses, leaves and lets go,
// its cursor, and the address handed to the desktop.
#include "tray/url_label.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sim/sim_shell.h"
#include "sim/sim_ui.h"
#include "ui/form.h"

namespace wakumo {
namespace {

using ::testing::IsEmpty;

constexpr TColor kOwn = RGBColor(0, 0, 128);
constexpr TColor kHot = RGBColor(0, 0, 255);
constexpr TColor kPushed = RGBColor(255, 0, 0);

struct Fixture {
  SimDesktop desktop;
  SimToolkit tk{desktop};
  SimShell shell;
  TForm form{tk, "Form1"};
  TURLLabel label{tk, &form, "Link", shell};

  Fixture() {
    form.SetClientSize(300, 100);
    form.Show();
    label.SetBounds(20, 20, 100, 12);
    label.SetCaption("https://wakumo.example/");
    FontSpec f;
    f.color = kOwn;
    label.SetFont(f);
    label.SetHotColor(kHot);
    label.SetPushedColor(kPushed);
  }
  TColor Colour() const { return label.Font().color; }
  Point Screen(int x, int y) const { return label.ClientToScreen({x, y}); }
  void Down(MouseButton b = MouseButton::mbLeft) { ASSERT_TRUE(tk.MouseDown("Link", b, {}, {5, 5})); }
};

TEST(URLLabel, ColourFollowsHoverPressAndRelease) {
  Fixture f;
  struct Step {
    const char* what;
    std::function<void()> act;
    TColor colour;
  };
  const std::vector<Step> steps = {
      {"mouse over", [&] { f.tk.MouseMoveOnScreen(f.Screen(5, 5)); }, kHot},
      {"button held", [&] { f.Down(); }, kPushed},
      {"released over the label", [&] { f.tk.MouseUpOnScreen(f.Screen(6, 6)); }, kHot},
      {"mouse off", [&] { f.tk.MouseMoveOnScreen(f.Screen(200, 60)); }, kOwn},
      {"back over", [&] { f.tk.MouseMoveOnScreen(f.Screen(5, 5)); }, kHot},
      {"held again", [&] { f.Down(); }, kPushed},
      {"dragged out", [&] { f.tk.MouseMoveOnScreen(f.Screen(200, 60)); }, kOwn},
      {"released outside", [&] { f.tk.MouseUpOnScreen(f.Screen(200, 60)); }, kOwn},
  };
  for (const Step& s : steps) {
    s.act();
    EXPECT_EQ(f.Colour(), s.colour) << s.what;
  }
  EXPECT_EQ(f.tk.CapturedControl(), nullptr) << "the release lets the mouse go";
  EXPECT_THAT(f.shell.Calls(), IsEmpty()) << "not Executable";

  // Released outside without a leave first (the window system may report
  // the leave late): still the label's own colour.
  f.tk.MouseMoveOnScreen(f.Screen(5, 5));
  f.Down();
  const Point outside = f.Screen(200, 60);
  f.tk.Desktop().SetCursorPos(outside);
  f.tk.MouseUp("Link", MouseButton::mbLeft, {}, {outside.x - f.Screen(0, 0).x, outside.y - f.Screen(0, 0).y});
  EXPECT_EQ(f.Colour(), kOwn);
}

TEST(URLLabel, ExecutableOpensTheCaptionOnAnyButtonWithOrWithoutHotTrack) {
  Fixture f;
  f.label.SetExecutable(true);
  f.label.SetHotTrack(false);
  const std::vector<ShellOpenCall> one{{0, "https://wakumo.example/"}};
  f.tk.MouseMoveOnScreen(f.Screen(5, 5));
  EXPECT_EQ(f.Colour(), kOwn) << "no hot colour without HotTrack";
  f.Down();
  EXPECT_EQ(f.Colour(), kOwn) << "no pushed colour without HotTrack";
  EXPECT_EQ(f.shell.Calls(), one) << "opened on the press, before any click";
  f.tk.MouseUpOnScreen(f.Screen(5, 5));
  EXPECT_EQ(f.Colour(), kOwn);

  f.label.SetHotTrack(true);
  f.shell.ClearCalls();
  f.Down(MouseButton::mbRight);
  f.tk.MouseUpOnScreen(f.Screen(5, 5), MouseButton::mbRight);
  f.Down(MouseButton::mbMiddle);
  f.tk.MouseUpOnScreen(f.Screen(5, 5), MouseButton::mbMiddle);
  const std::vector<ShellOpenCall> two{{0, "https://wakumo.example/"}, {0, "https://wakumo.example/"}};
  EXPECT_EQ(f.shell.Calls(), two) << "right and middle buttons open it too";
  // A desktop that cannot open it changes nothing for the label.
  f.shell.SetAccepts(false);
  f.Down();
  EXPECT_EQ(f.Colour(), kPushed);
}

TEST(URLLabel, ItsOwnColourComesBackWhateverHotTrackDidMeanwhile) {
  Fixture f;
  // Entered while HotTrack was off: leaving must not put in a colour the
  // label never had.
  f.label.SetHotTrack(false);
  f.tk.MouseMoveOnScreen(f.Screen(5, 5));
  f.label.SetHotTrack(true);
  f.tk.MouseMoveOnScreen(f.Screen(200, 60));
  EXPECT_EQ(f.Colour(), kOwn);

  // Turned off while hot: the label's own colour comes back at once.
  f.tk.MouseMoveOnScreen(f.Screen(5, 5));
  ASSERT_EQ(f.Colour(), kHot);
  f.label.SetHotTrack(false);
  EXPECT_EQ(f.Colour(), kOwn);
  f.tk.MouseMoveOnScreen(f.Screen(200, 60));
  EXPECT_EQ(f.Colour(), kOwn);
}

TEST(URLLabel, RegistersTheHandCursorAndShowsIt) {
  Fixture f;
  EXPECT_EQ(f.tk.Screen().CursorResource(kHandPointCursor), "HANDPOINT");
  EXPECT_EQ(f.tk.Get("Link").Cursor(), kHandPointCursor);
  // A second label registers it again under the same number.
  SimShell shell;
  TURLLabel second(f.tk, &f.form, "Second", shell);
  EXPECT_EQ(f.tk.Screen().Cursors().size(), 1u);
  EXPECT_EQ(second.Cursor(), kHandPointCursor);
  EXPECT_FALSE(second.Executable());
  EXPECT_TRUE(second.HotTrack());
  EXPECT_EQ(second.HotColor(), clAqua);
  EXPECT_EQ(second.PushedColor(), clRed);
  // A form may prefer the standard hand.
  second.SetCursor(-21);
  EXPECT_EQ(f.tk.Get("Second").Cursor(), -21);

  // The standard label's events still fire, before the label's own reaction.
  std::vector<std::string> log;
  f.label.OnMouseEnter = [&] { log.push_back("enter " + std::to_string(f.Colour() == kHot)); };
  f.label.OnMouseDown = [&](MouseButton, ShiftState, int, int) { log.push_back("down " + std::to_string(f.Colour() == kPushed)); };
  f.tk.MouseMoveOnScreen(f.Screen(5, 5));
  f.Down();
  EXPECT_EQ(log, (std::vector<std::string>{"enter 0", "down 0"}));
}

}  // namespace
}  // namespace wakumo
