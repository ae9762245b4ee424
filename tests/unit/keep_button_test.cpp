#include "controls/keep_button.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "sim/raster_canvas.h"
#include "sim/sim_platform.h"
#include "sim/sim_ui.h"
#include "ui/form.h"

namespace wakumo {
namespace {

std::string Rows(std::initializer_list<const char*> rows) {
  std::string s;
  for (const char* r : rows) s += std::string(r) + "\n";
  return s;
}

// Bevel colours and the arrow; '.' is the button face, ' ' the background.
const std::map<TColor, char> kBevel{{clBtnFace, '.'},      {cl3DLight, 'l'},   {cl3DDkShadow, 'D'},
                                    {clBtnHighlight, 'h'}, {clBtnShadow, 's'}, {clWindowText, '#'},
                                    {clWhite, ' '}};

struct Fixture {
  SimDesktop desktop;
  SimToolkit tk{desktop};
  SimPlatform platform;
  TForm form{tk, "Form1"};

  Fixture() {
    form.SetClientSize(200, 100);
    form.Show();
  }
};

TEST(KeepButton, RepeatTimesComeFromTheKeyboardSettings) {
  const std::vector<std::pair<std::uint32_t, std::int32_t>> delays{{0, 250}, {1, 500}, {2, 750}, {3, 1000}};
  for (auto [setting, ms] : delays) {
    SCOPED_TRACE("delay setting " + std::to_string(setting));
    EXPECT_EQ(RepeatDelayFromSetting(setting), ms);
  }
  const std::vector<std::pair<std::uint32_t, std::int32_t>> speeds{{0, 549}, {1, 408}, {2, 323}, {8, 137},
                                                                   {15, 77}, {22, 51},  {31, 33}};
  for (auto [setting, ms] : speeds) {
    SCOPED_TRACE("speed setting " + std::to_string(setting));
    EXPECT_EQ(RepeatSpeedFromSetting(setting), ms);
  }
  EXPECT_GT(RepeatSpeedFromSetting(1000), 0) << "an out-of-range setting must not give a negative interval";

  Fixture f;
  f.platform.system.SetKeyboardDelay(2);
  f.platform.system.SetKeyboardSpeed(8);
  TUpDownButtonPart b(f.tk, &f.form, "Up", f.platform.clock, f.platform.system);
  EXPECT_TRUE(b.SystemRepeatTime());
  EXPECT_EQ(b.Delay(), 750);
  EXPECT_EQ(b.Speed(), 137);
  // While the system's values rule, a stored or programmed value is ignored.
  b.SetDelay(100);
  b.SetSpeed(10);
  EXPECT_EQ(b.Delay(), 750);
  EXPECT_EQ(b.Speed(), 137);
  b.SetSystemRepeatTime(false);
  b.SetDelay(100);
  EXPECT_EQ(b.Delay(), 100);

  // Unreadable settings turn SystemRepeatTime off and keep what was there.
  f.platform.system.SetKeyboardSpeed(std::nullopt);
  b.SetSystemRepeatTime(true);
  EXPECT_FALSE(b.SystemRepeatTime());
  EXPECT_EQ(b.Delay(), 750) << "the delay could still be read";
  EXPECT_EQ(b.Speed(), 137);

  f.platform.system.SetKeyboardDelay(std::nullopt);
  TUpDownButtonPart fresh(f.tk, &f.form, "Fresh", f.platform.clock, f.platform.system);
  EXPECT_FALSE(fresh.SystemRepeatTime());
  EXPECT_EQ(fresh.Delay(), 500) << "the window system's own default";
  EXPECT_EQ(fresh.Speed(), 33);
}

TEST(KeepButton, HoldingFiresAtThePressAfterDelayThenEverySpeedWhileOverTheButton) {
  Fixture f;  // delay setting 1, speed 31: 500 and 33 ms
  TUpDownButtonPart b(f.tk, &f.form, "Up", f.platform.clock, f.platform.system);
  b.SetBounds(10, 10, 12, 9);
  std::vector<int> counts;
  b.OnClick = [&] { counts.push_back(b.RepeatCount()); };

  ASSERT_TRUE(f.tk.MouseDown("Up", MouseButton::mbLeft, {}, {5, 4}));
  EXPECT_EQ(counts, (std::vector<int>{0}));
  EXPECT_TRUE(b.Pressed());
  EXPECT_EQ(f.tk.CapturedControl(), &f.tk.Get("Up")) << "the release must come back to the button";

  f.platform.clock.Advance(499);
  EXPECT_EQ(counts, (std::vector<int>{0}));
  f.platform.clock.Advance(1);
  EXPECT_EQ(counts, (std::vector<int>{0, 1}));
  f.platform.clock.Advance(32);
  EXPECT_EQ(counts.size(), 2u);
  f.platform.clock.Advance(1);
  f.platform.clock.Advance(33);
  EXPECT_EQ(counts, (std::vector<int>{0, 1, 2, 3}));

  // Off the button the ticks count nothing; back on, the next count follows.
  ASSERT_TRUE(f.tk.MouseLeave("Up"));
  EXPECT_FALSE(b.Pressed());
  f.platform.clock.Advance(33 * 5);
  EXPECT_EQ(counts.size(), 4u);
  ASSERT_TRUE(f.tk.MouseEnter("Up"));
  EXPECT_TRUE(b.Pressed());
  f.platform.clock.Advance(33);
  EXPECT_EQ(counts, (std::vector<int>{0, 1, 2, 3, 4}));

  // The release adds no click and stops the timer.
  ASSERT_TRUE(f.tk.MouseUp("Up", MouseButton::mbLeft, {}, {5, 4}));
  EXPECT_FALSE(b.Pressed());
  EXPECT_EQ(f.tk.CapturedControl(), nullptr);
  EXPECT_EQ(f.platform.clock.RunningCount(), 0u);
  f.platform.clock.Advance(2000);
  EXPECT_EQ(counts.size(), 5u);

  // A new press starts over with the full delay.
  counts.clear();
  f.tk.MouseDown("Up", MouseButton::mbLeft, {}, {5, 4});
  f.platform.clock.Advance(33);
  EXPECT_EQ(counts, (std::vector<int>{0}));
  f.platform.clock.Advance(467);
  EXPECT_EQ(counts, (std::vector<int>{0, 1}));
  // A right click during the hold does not end it.
  f.tk.MouseUp("Up", MouseButton::mbRight, {}, {5, 4});
  EXPECT_TRUE(b.Pressed());
  f.platform.clock.Advance(33);
  EXPECT_EQ(counts, (std::vector<int>{0, 1, 2}));
}

TEST(KeepButton, PlainButtonsClickOnReleaseOverThemAndTheSliderStaysPressedOffIt) {
  Fixture f;
  TCustomKeepButton plain(f.tk, &f.form, "Plain", f.platform.clock, f.platform.system);
  int clicks = 0;
  plain.OnClick = [&] { ++clicks; };
  f.tk.MouseDown("Plain", MouseButton::mbLeft, {}, {3, 3});
  EXPECT_EQ(clicks, 0);
  f.tk.MouseUp("Plain", MouseButton::mbLeft, {}, {3, 3});
  EXPECT_EQ(clicks, 1);
  f.tk.MouseDown("Plain", MouseButton::mbLeft, {}, {3, 3});
  f.tk.MouseLeave("Plain");
  f.tk.MouseUp("Plain", MouseButton::mbLeft, {}, {40, 3});
  EXPECT_EQ(clicks, 1) << "released away from the button";

  TSliderPart slider(f.tk, &f.form, "Slider", f.platform.clock, f.platform.system);
  slider.SetBounds(50, 10, 12, 21);
  EXPECT_EQ(slider.Body(), TBody::bdLight);
  f.tk.MouseDown("Slider", MouseButton::mbLeft, {}, {5, 10});
  f.tk.MouseLeave("Slider");
  EXPECT_TRUE(slider.Pressed()) << "dragging out of the strip keeps it pressed";
  EXPECT_EQ(f.platform.clock.RunningCount(), 0u) << "the slider does not repeat";
}

TEST(KeepButton, FlatButtonsRaiseTheirBevelOnlyUnderTheMouse) {
  Fixture f;
  TCustomKeepButton b(f.tk, &f.form, "B", f.platform.clock, f.platform.system);
  EXPECT_TRUE(b.Raised()) << "not flat: always raised";
  b.SetFlat(true);
  EXPECT_FALSE(b.Raised());
  f.tk.MouseEnter("B");
  EXPECT_TRUE(b.Raised());
  f.tk.MouseLeave("B");
  EXPECT_FALSE(b.Raised());

  f.tk.MouseEnter("B");
  f.tk.MouseDown("B", MouseButton::mbLeft, {}, {3, 3});
  f.tk.MouseUp("B", MouseButton::mbLeft, {}, {3, 3});
  EXPECT_TRUE(b.Raised()) << "released over the button";
  f.tk.MouseDown("B", MouseButton::mbLeft, {}, {3, 3});
  f.tk.MouseUp("B", MouseButton::mbLeft, {}, {30, 3});
  EXPECT_FALSE(b.Raised()) << "released away from it";

  b.SetFlat(false);
  EXPECT_TRUE(b.Raised());
}

TEST(KeepButton, FullBodiedArrowButtonsOf12By9Pixels) {
  Fixture f;
  TUpDownButtonPart up(f.tk, &f.form, "Up", f.platform.clock, f.platform.system);
  up.SetBounds(0, 0, 12, 9);
  ASSERT_EQ(up.ArrowHalfSize(), 2);
  EXPECT_EQ(f.tk.PaintToCanvas("Up").Ascii({0, 0, 12, 9}, kBevel), Rows({
                                                                        "lllllllllllD",
                                                                        "lhhhhhhhhhsD",
                                                                        "lh........sD",
                                                                        "lh........sD",
                                                                        "lh...#....sD",
                                                                        "lh..###...sD",
                                                                        "lh........sD",
                                                                        "lssssssssssD",
                                                                        "DDDDDDDDDDDD",
                                                                    }));

  TUpDownButtonPart down(f.tk, &f.form, "Down", f.platform.clock, f.platform.system);
  down.SetButtonType(TButtonType::btDown);
  down.SetBounds(0, 12, 12, 9);
  EXPECT_EQ(f.tk.PaintToCanvas("Down").Ascii({0, 0, 12, 9}, kBevel), Rows({
                                                                          "lllllllllllD",
                                                                          "lhhhhhhhhhsD",
                                                                          "lh........sD",
                                                                          "lh..###...sD",
                                                                          "lh...#....sD",
                                                                          "lh........sD",
                                                                          "lh........sD",
                                                                          "lssssssssssD",
                                                                          "DDDDDDDDDDDD",
                                                                      }));

  // Pressed: the pushed-in bevel, and the arrow one pixel right and down.
  f.tk.MouseDown("Up", MouseButton::mbLeft, {}, {5, 4});
  EXPECT_EQ(f.tk.PaintToCanvas("Up").Ascii({0, 0, 12, 9}, kBevel), Rows({
                                                                        "sssssssssssh",
                                                                        "sDDDDDDDDDlh",
                                                                        "sD........lh",
                                                                        "sD........lh",
                                                                        "sD........lh",
                                                                        "sD....#...lh",
                                                                        "sD...###..lh",
                                                                        "sllllllllllh",
                                                                        "hhhhhhhhhhhh",
                                                                    }));
}

TEST(KeepButton, ArrowSizeFollowsTheSmallestStackedSibling) {
  Fixture f;
  TUpDownButtonPart up(f.tk, &f.form, "Up", f.platform.clock, f.platform.system);
  TUpDownButtonPart down(f.tk, &f.form, "Down", f.platform.clock, f.platform.system);
  up.SetBounds(0, 0, 12, 9);
  down.SetBounds(0, 12, 12, 12);
  EXPECT_EQ(down.ArrowHalfSize(), 3) << "alone, its own height rules";
  down.SetSiblings({&up, &down});
  EXPECT_EQ(down.ArrowHalfSize(), 2) << "stacked under a 9-pixel button";

  // Too narrow for the inner frame or any arrow: only the outer frame shows.
  TUpDownButtonPart thin(f.tk, &f.form, "Thin", f.platform.clock, f.platform.system);
  thin.SetBounds(0, 0, 2, 9);
  EXPECT_LE(thin.ArrowHalfSize(), 0);
  const RasterCanvas c = f.tk.PaintToCanvas("Thin");
  EXPECT_EQ(c.CountPixels({0, 0, 2, 9}, clBtnHighlight), 0);
  EXPECT_EQ(c.CountPixels({0, 0, 2, 9}, clWindowText), 0);
  EXPECT_EQ(c.Ascii({0, 0, 2, 9}, kBevel), Rows({"lD", "lD", "lD", "lD", "lD", "lD", "lD", "lD", "DD"}));
}

TEST(KeepButton, FlatButtonPressedWithoutItsBevelRaisedDrawsDottedFrames) {
  Fixture f;
  TCustomKeepButton b(f.tk, &f.form, "B", f.platform.clock, f.platform.system);
  b.SetBounds(0, 0, 6, 5);
  b.SetBody(TBody::bdLight);
  b.SetFlat(true);
  EXPECT_EQ(f.tk.PaintToCanvas("B").Ascii({0, 0, 6, 5}, kBevel), Rows({"      ", "      ", "      ", "      ", "      "}))
      << "flat and not under the mouse: nothing at all";
  // Pressed with no enter seen first, so the bevel is not raised.
  f.tk.MouseDown("B", MouseButton::mbLeft, {}, {2, 2});
  ASSERT_FALSE(b.Raised());
  EXPECT_EQ(f.tk.PaintToCanvas("B").Ascii({0, 0, 6, 5}, kBevel), Rows({
                                                                       "s s s ",
                                                                       "     h",
                                                                       "s     ",
                                                                       "     h",
                                                                       "h h h ",
                                                                   }));
}

}  // namespace
}  // namespace wakumo
