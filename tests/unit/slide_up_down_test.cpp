#include "controls/slide_up_down.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/number_edit.h"
#include "sim/raster_canvas.h"
#include "sim/sim_platform.h"
#include "sim/sim_ui.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"

namespace wakumo {
namespace {

// One form with the main window's width and X fields and their spinners,
// stored as the main window stores them.
struct Fixture {
  SimDesktop desktop;
  SimToolkit tk{desktop};
  SimPlatform platform;
  ArrowKeyHook hook{platform.keyboard_hook};
  TForm form{tk, "Form1"};
  TEdit EdSizeX{tk, &form, "EdSizeX"};
  TEdit EdBaseX{tk, &form, "EdBaseX"};
  TButton Other{tk, &form, "Other"};
  std::unique_ptr<TSlideUpDown> SizeX;
  std::unique_ptr<TSlideUpDown> BaseX;
  int size_changes = 0;

  Fixture() {
    form.SetClientSize(300, 200);
    form.Show();
    EdSizeX.SetBounds(60, 10, 50, 21);
    EdSizeX.SetText("1");
    EdBaseX.SetBounds(60, 40, 50, 21);
    EdBaseX.SetText("0");
    SizeX = Make("SizeX", 1, 9999, {110, 10, 122, 31}, &EdSizeX, std::optional<long double>(1));
    BaseX = Make("BaseX", -9999, 9999, {110, 40, 122, 61}, &EdBaseX, std::nullopt);
    SizeX->OnChange = [this] { ++size_changes; };
  }

  SlideUpDownContext Context() { return {platform.clock, platform.system, platform.locale, hook}; }

  std::unique_ptr<TSlideUpDown> Make(const std::string& name, long double min, long double max, Rect bounds,
                                     TControl* associate, std::optional<long double> position) {
    auto c = std::make_unique<TSlideUpDown>(tk, &form, name, Context());
    TSlideUpDownValues v;
    v.Bounds = bounds;
    v.Buttons = {TBody::bdFull, false, 500, 33, true, 1.0L};
    v.Slider = {TBody::bdLight, false, static_cast<int>(CursorId::crVSplit), 3, 1.0L};
    v.Associate = associate;
    v.Position = position;  // a stored 0 is left out
    v.Quantity = 1;
    v.Rate = 1;
    v.Increment = 1;
    v.FunctionKind = TFunctionKind::fkLinear;
    v.Format = "#0";
    v.Max = max;
    v.Min = min;
    v.Wrap = false;
    c->Load(v);
    return c;
  }
};

TEST(SlideUpDown, LoadsAsStoredBesideItsField) {
  Fixture f;
  TSlideUpDown& s = *f.SizeX;
  EXPECT_EQ(s.Position(), 1);
  EXPECT_EQ(f.EdSizeX.Text(), "1");
  EXPECT_EQ(f.BaseX->Position(), 0) << "no stored position: the field's own number is taken";
  EXPECT_EQ(f.EdBaseX.Text(), "0");
  EXPECT_EQ(s.Rate(), 1);
  EXPECT_EQ(s.Increment(), 1);
  EXPECT_EQ(s.Buttons().Delay(), 500) << "delay setting 1 of the system, not the stored 500";
  EXPECT_EQ(s.Buttons().Speed(), 33);
  EXPECT_EQ(s.Slider().Cursor(), static_cast<int>(CursorId::crVSplit));
  EXPECT_EQ(f.tk.Get("SizeXSlider").Cursor(), static_cast<int>(CursorId::crVSplit));
  EXPECT_EQ(s.AlignButton(), TAlignButton::sudRight);
  EXPECT_TRUE(s.Aligned());

  // Height 21 with a 3-pixel gap: 9 pixels of up arrow, the strip, 9 of down arrow.
  EXPECT_EQ(f.tk.Get("SizeXSlider").Bounds(), (Rect{0, 0, 12, 21}));
  EXPECT_EQ(f.tk.Get("SizeXUp").Bounds(), (Rect{0, 0, 12, 9}));
  EXPECT_EQ(f.tk.Get("SizeXDown").Bounds(), (Rect{0, 12, 12, 21}));
  s.Slider().SetHeight(5);
  EXPECT_EQ(f.tk.Get("SizeXUp").Bounds(), (Rect{0, 0, 12, 8}));
  EXPECT_EQ(f.tk.Get("SizeXDown").Bounds(), (Rect{0, 13, 12, 21}));

  // Both controls share one hook.
  EXPECT_EQ(f.hook.Count(), 2u);
  EXPECT_EQ(f.platform.keyboard_hook.InstalledCount(), 1u);

  // The stored system repeat times follow the user's settings.
  f.platform.system.SetKeyboardDelay(0);
  auto later = f.Make("SizeY", 1, 9999, {110, 70, 122, 91}, nullptr, 1);
  EXPECT_EQ(later->Buttons().Delay(), 250);
  EXPECT_EQ(later->DownButton().Delay(), 250);
}

TEST(SlideUpDown, ReadingPositionTakesInTypedTextConfinedAndAnnounced) {
  Fixture f;
  TSlideUpDown& s = *f.SizeX;
  ASSERT_TRUE(f.tk.TypeText("EdSizeX", "12345"));
  EXPECT_EQ(f.EdSizeX.Text(), "12345") << "nothing reads the number yet";
  EXPECT_EQ(f.size_changes, 0);
  EXPECT_EQ(s.Position(), 9999);
  EXPECT_EQ(f.EdSizeX.Text(), "9999");
  EXPECT_EQ(f.size_changes, 1);
  EXPECT_EQ(s.Position(), 9999);
  EXPECT_EQ(f.size_changes, 1) << "an unchanged text is not taken in again";

  f.tk.TypeText("EdSizeX", "abc");
  EXPECT_EQ(s.Position(), 9999) << "text without digits leaves the number";
  EXPECT_EQ(f.EdSizeX.Text(), "abc");
  EXPECT_EQ(f.size_changes, 1);

  // Writing confines, rewrites the text in the format, and always announces.
  s.SetPosition(0);
  EXPECT_EQ(f.EdSizeX.Text(), "1");
  s.SetPosition(1);
  EXPECT_EQ(f.size_changes, 3);
  s.SetPosition(1234.5L);
  EXPECT_EQ(f.EdSizeX.Text(), "1235");
  s.SetFormat("#,##0.00");
  EXPECT_EQ(f.EdSizeX.Text(), "1,234.50");
  EXPECT_EQ(s.Position(), 1234.5L) << "the text written reads back as the number";
}

TEST(SlideUpDown, RaisingMinAbovePositionMovesItSilently) {
  Fixture f;
  TSlideUpDown& s = *f.SizeX;
  s.SetPosition(5);
  const int changes = f.size_changes;
  s.SetMin(10);
  EXPECT_EQ(s.Position(), 10);
  EXPECT_EQ(f.EdSizeX.Text(), "5") << "no text is written";
  EXPECT_EQ(f.size_changes, changes) << "and no OnChange";
  s.SetMax(8);
  EXPECT_EQ(s.Min(), 8);
  EXPECT_EQ(s.Position(), 8);
}

TEST(SlideUpDown, HoldingAnArrowStepsFromWhereThePressBegan) {
  Fixture f;
  TSlideUpDown& s = *f.SizeX;
  std::vector<TButtonType> clicks;
  s.OnButtonClick = [&](TButtonType b) { clicks.push_back(b); };
  s.SetPosition(10);
  ASSERT_TRUE(f.tk.MouseDown("SizeXUp", MouseButton::mbLeft, {}, {5, 4}));
  EXPECT_EQ(s.Position(), 11);
  EXPECT_TRUE(f.EdSizeX.Peer().Focused()) << "the field gets the focus";
  f.platform.clock.Advance(500);
  EXPECT_EQ(s.Position(), 12);
  f.platform.clock.Advance(33);
  EXPECT_EQ(s.Position(), 13);
  f.platform.clock.Advance(33);
  EXPECT_EQ(s.Position(), 14);
  EXPECT_EQ(f.EdSizeX.Text(), "14");
  f.tk.MouseUp("SizeXUp", MouseButton::mbLeft, {}, {5, 4});
  EXPECT_EQ(clicks, (std::vector<TButtonType>(4, TButtonType::btUp)));

  // The press reads the field first: a typed number is where stepping starts.
  f.tk.TypeText("EdSizeX", "20");
  f.tk.MouseDown("SizeXDown", MouseButton::mbLeft, {}, {5, 4});
  EXPECT_EQ(s.Position(), 19);
  f.platform.clock.Advance(500 + 33);
  EXPECT_EQ(s.Position(), 17);
  f.tk.MouseUp("SizeXDown", MouseButton::mbLeft, {}, {5, 4});

  // Held at the top it stays there; wrapping goes round with period Max - Min.
  s.SetPosition(9999);
  f.tk.MouseDown("SizeXUp", MouseButton::mbLeft, {}, {5, 4});
  f.platform.clock.Advance(500 + 33);
  EXPECT_EQ(s.Position(), 9999);
  f.tk.MouseUp("SizeXUp", MouseButton::mbLeft, {}, {5, 4});
  s.SetWrap(true);
  f.tk.MouseDown("SizeXUp", MouseButton::mbLeft, {}, {5, 4});
  EXPECT_EQ(s.Position(), 2);
  f.platform.clock.Advance(500);
  EXPECT_EQ(s.Position(), 3);
  f.tk.MouseUp("SizeXUp", MouseButton::mbLeft, {}, {5, 4});
}

TEST(SlideUpDown, DraggingTheStripStepsPerPixelFromTheStart) {
  Fixture f;
  TSlideUpDown& s = *f.SizeX;
  s.SetPosition(100);
  SimControlPeer& strip = f.tk.Get("SizeXSlider");
  const Point start = strip.ClientToScreen({6, 10});  // in the gap between the arrows
  f.tk.MouseMoveOnScreen(start);
  std::vector<std::string> events;
  s.OnSliderDown = [&](MouseButton, ShiftState, int x, int y) { events.push_back("down " + std::to_string(x) + "," + std::to_string(y)); };
  s.OnSliderMove = [&](ShiftState, int, int y) { events.push_back("move " + std::to_string(y)); };
  s.OnSliderUp = [&](MouseButton, ShiftState, int, int) { events.push_back("up"); };
  ASSERT_TRUE(f.tk.MouseDown("SizeXSlider", MouseButton::mbLeft, {}, {6, 10}));

  f.tk.MouseMoveOnScreen({start.x, start.y - 5});
  EXPECT_EQ(s.Position(), 105);
  f.tk.MouseMoveOnScreen({start.x, start.y - 3});
  EXPECT_EQ(s.Position(), 103) << "from the start, not from the last move";
  f.tk.MouseMoveOnScreen({start.x, start.y + 5});
  EXPECT_EQ(s.Position(), 95);
  // Far above the control: still dragging.
  f.tk.MouseMoveOnScreen({start.x + 40, start.y - 30});
  EXPECT_TRUE(s.SliderPart().Pressed());
  EXPECT_EQ(s.Position(), 130);
  f.tk.MouseUpOnScreen({start.x + 40, start.y - 30});
  EXPECT_FALSE(s.SliderPart().Pressed());
  f.tk.MouseMoveOnScreen(start);
  EXPECT_EQ(s.Position(), 130) << "released: moves no longer step";
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events.front(), "down 6,10");
  EXPECT_EQ(events[1], "move 5");
  EXPECT_EQ(events.back(), "move 10");
  EXPECT_EQ(events[events.size() - 2], "up");
}

TEST(SlideUpDown, StepCountsFollowQuantityByTheirRatios) {
  Fixture f;
  TSlideUpDown& s = *f.SizeX;
  ASSERT_EQ(s.Buttons().Quantity(), 1);
  s.SetQuantity(2);
  EXPECT_EQ(s.Buttons().Quantity(), 2);
  EXPECT_EQ(s.Slider().Quantity(), 2);
  EXPECT_EQ(s.Increment(), 2);
  s.SetPosition(10);
  f.tk.MouseDown("SizeXUp", MouseButton::mbLeft, {}, {5, 4});
  f.tk.MouseUp("SizeXUp", MouseButton::mbLeft, {}, {5, 4});
  EXPECT_EQ(s.Position(), 12);

  s.Buttons().SetQuantity(3);  // ratio 1.5
  s.SetQuantity(4);
  EXPECT_EQ(s.Buttons().Quantity(), 6);
  EXPECT_EQ(s.Slider().Quantity(), 4);

  // While loading only the values are stored; the ratios come from them afterwards.
  s.BeginLoading();
  s.SetQuantity(10);
  s.Buttons().SetQuantity(5);
  s.SetIncrement(7);
  EXPECT_EQ(s.Buttons().Quantity(), 5);
  EXPECT_EQ(s.Rate(), 1) << "the rate is not derived while loading";
  s.Loaded();
  EXPECT_EQ(s.Buttons().Ratio(), 0.5L);
  EXPECT_EQ(s.Increment(), 7);
  s.SetQuantity(2);
  EXPECT_EQ(s.Buttons().Quantity(), 1);
}

TEST(SlideUpDown, ExponentialKindMultipliesAndKeepsTheIncrement) {
  Fixture f;
  TSlideUpDown& s = *f.SizeX;
  s.SetPosition(3);
  s.SetFunctionKind(TFunctionKind::fkExponential);
  EXPECT_NEAR(static_cast<double>(s.Increment()), 1.0, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.Rate()), 4.0 / 3.0, 1e-12) << "one step from 3 still adds 1";
  s.SetRate(2);
  EXPECT_NEAR(static_cast<double>(s.Increment()), 3.0, 1e-12);
  f.tk.MouseDown("SizeXUp", MouseButton::mbLeft, {}, {5, 4});
  f.tk.MouseUp("SizeXUp", MouseButton::mbLeft, {}, {5, 4});
  EXPECT_NEAR(static_cast<double>(s.Position()), 6.0, 1e-12);
  s.SetPosition(3);
  s.SetRate(5);
  s.SetIncrement(3);
  EXPECT_NEAR(static_cast<double>(s.Rate()), 2.0, 1e-12);
}

TEST(SlideUpDown, ArrowKeysStepOnlyTheSpinnerOfTheFocusedField) {
  Fixture f;
  TSlideUpDown& sx = *f.SizeX;
  TSlideUpDown& bx = *f.BaseX;
  sx.SetPosition(10);
  bx.SetPosition(-3);
  f.EdSizeX.Peer().SetFocus();
  ASSERT_TRUE(f.EdSizeX.Peer().Focused());

  EXPECT_FALSE(f.platform.keyboard_hook.FeedKeyDown(VK_UP_)) << "the field still gets the key";
  EXPECT_EQ(sx.Position(), 11);
  EXPECT_EQ(bx.Position(), -3);
  EXPECT_FALSE(f.platform.keyboard_hook.FeedKeyDown(VK_UP_, true));
  EXPECT_EQ(sx.Position(), 12) << "each auto-repeated key-down steps";
  f.platform.keyboard_hook.FeedKeyUp(VK_UP_);
  f.platform.keyboard_hook.FeedKeyDown(VK_LEFT_);
  EXPECT_EQ(sx.Position(), 12);
  f.platform.keyboard_hook.FeedKeyDown(VK_DOWN_);
  EXPECT_EQ(sx.Position(), 11);
  EXPECT_TRUE(sx.ArrowKey(KeyEvent{VK_UP_, 1, true, false}));
  EXPECT_EQ(sx.Position(), 12);
  EXPECT_FALSE(bx.ArrowKey(KeyEvent{VK_UP_, 1, true, false})) << "its field has no focus";
  EXPECT_FALSE(sx.ArrowKey(KeyEvent{VK_UP_, 1, false, true})) << "a key going up";
  EXPECT_FALSE(sx.ArrowKey(KeyEvent{VK_LEFT_, 1, true, false}));
  EXPECT_EQ(sx.Position(), 12);

  // The focus elsewhere: nobody steps.
  f.EdBaseX.Peer().SetFocus();
  f.platform.keyboard_hook.FeedKeyDown(VK_UP_);
  EXPECT_EQ(sx.Position(), 12);
  EXPECT_EQ(bx.Position(), -2);

  // With a single registered control that steps, the key is swallowed.
  sx.SetArrowKeys(false);
  EXPECT_EQ(f.hook.Count(), 1u);
  EXPECT_TRUE(f.platform.keyboard_hook.FeedKeyDown(VK_DOWN_));
  EXPECT_EQ(bx.Position(), -3);
  f.Other.Peer().SetFocus();
  EXPECT_FALSE(f.platform.keyboard_hook.FeedKeyDown(VK_DOWN_));
  EXPECT_EQ(bx.Position(), -3);

  // The last control going removes the hook.
  f.BaseX.reset();
  EXPECT_EQ(f.hook.Count(), 0u);
  EXPECT_EQ(f.platform.keyboard_hook.InstalledCount(), 0u);
  sx.SetArrowKeys(true);
  EXPECT_EQ(f.platform.keyboard_hook.InstalledCount(), 1u);
}

TEST(SlideUpDown, EachOwnerHasItsOwnHook) {
  Fixture a;
  Fixture b;
  a.EdSizeX.Peer().SetFocus();
  b.EdSizeX.Peer().SetFocus();
  a.platform.keyboard_hook.FeedKeyDown(VK_UP_);
  EXPECT_EQ(a.SizeX->Position(), 2);
  EXPECT_EQ(b.SizeX->Position(), 1);
}

TEST(SlideUpDown, AssociateRulesAndAlignment) {
  Fixture f;
  TEdit field(f.tk, &f.form, "Field");
  field.SetBounds(20, 100, 60, 23);
  field.SetText("x42y");
  TSlideUpDown s(f.tk, &f.form, "Spin", f.Context());
  s.SetBounds(200, 150, 12, 20);
  s.SetFormat("#0");
  s.SetAssociate(&field);
  EXPECT_EQ(s.Position(), 42) << "the field's number is taken";
  EXPECT_EQ(field.Text(), "42");
  EXPECT_EQ(s.Left(), 80);
  EXPECT_EQ(s.Top(), 100);
  EXPECT_EQ(s.Height(), 23);
  EXPECT_EQ(s.Width(), 12);
  s.SetAlignButton(TAlignButton::sudLeft);
  EXPECT_EQ(s.Left(), 8);
  EXPECT_TRUE(s.Aligned());
  s.SetBounds(150, 100, 12, 23);
  EXPECT_EQ(s.AlignButton(), TAlignButton::sudNone) << "moving the control frees it";
  EXPECT_TRUE(s.Aligned()) << "same top and height is enough when free";

  s.SetAssociate(&s);
  EXPECT_EQ(s.Associate(), &field) << "a control cannot be its own associate";

  TLabel label(f.tk, &f.form, "Label");
  label.SetCaption("7");
  s.SetAssociate(&label);
  EXPECT_EQ(s.Associate(), nullptr) << "a control without a window cannot show the number";
  EXPECT_EQ(f.hook.IsRegistered(s), false);

  field.SetText("empty");
  s.SetPosition(5);
  s.SetAssociate(&field);
  EXPECT_EQ(s.Position(), 5);
  EXPECT_EQ(field.Text(), "5");
  EXPECT_TRUE(f.hook.IsRegistered(s));

  // The field's text counts up to its first NUL, as a window's text does.
  field.SetText(std::string("12\0" "34", 5));
  s.SetAssociate(&field);
  EXPECT_EQ(s.Position(), 12);

  s.SetSystemWidth(true);
  EXPECT_EQ(s.Width(), 17);
  s.SetBounds(s.Left(), s.Top(), 12, s.Height());
  EXPECT_FALSE(s.SystemWidth());
}

TEST(SlideUpDown, ReadsBackWhatANumberFieldMakesOfItsText) {
  Fixture f;
  TNumberEdit field(f.tk, &f.form, "EdNum", f.platform.keyboard, f.platform.clipboard, f.platform.locale);
  field.SetBounds(20, 100, 60, 21);
  field.SetComma(true);
  TSlideUpDown s(f.tk, &f.form, "Spin", f.Context());
  s.SetFormat("#0");
  s.SetMax(99999);
  s.SetAssociate(&field);
  int changes = 0;
  s.OnChange = [&] { ++changes; };

  s.SetPosition(12345);
  EXPECT_EQ(field.Text(), "12,345") << "the field groups what the spinner wrote";
  EXPECT_EQ(field.Value(), 12345);
  EXPECT_EQ(s.LastTextValue(), 12345);
  EXPECT_EQ(s.Position(), 12345);
  EXPECT_EQ(changes, 1) << "the field's own rewrite does not count as typing";

  f.tk.TypeText("EdNum", "123456");
  EXPECT_EQ(s.Position(), 99999);
  EXPECT_EQ(field.Text(), "99,999");
  EXPECT_EQ(field.Value(), 99999);
  EXPECT_EQ(changes, 2);
}

TEST(SlideUpDown, PaintsBothArrowsOverTheStrip) {
  Fixture f;
  const RasterCanvas c = f.tk.PaintToCanvas("SizeX");
  ASSERT_EQ(c.Width(), 12);
  ASSERT_EQ(c.Height(), 21);
  const std::map<TColor, char> ink{{clWindowText, '#'}, {clBtnFace, '.'}, {clBtnHighlight, 'h'}, {clBtnShadow, 's'}};
  EXPECT_EQ(c.Ascii({0, 4, 12, 7}, ink), std::string("?h...#....s?\n?h..###...s?\n?h........s?\n"));
  // The strip's light bevel shows in the gap, rows 9 to 11.
  EXPECT_EQ(c.Ascii({0, 9, 12, 12}, ink), std::string("h..........s\nh..........s\nh..........s\n"));
  EXPECT_EQ(c.GetPixel({5, 16}), c.ColorToRGB(clWindowText)) << "down arrow tip";
}

}  // namespace
}  // namespace wakumo
