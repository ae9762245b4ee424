// The shadow label's pixels on the raster canvas: backgrounds, the three
// layers, the text runs and their split in the ANSI code page.
#include "tray/shadow_label.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/raster_canvas.h"
#include "sim/sim_files.h"
#include "sim/sim_ui.h"
#include "ui/form.h"

namespace wakumo {
namespace {

constexpr int kFont = 9;  // narrow characters 5 pixels, wide ones 9; ink on rows 1 to 7
constexpr TColor kInk = RGBColor(0, 0, 0);
constexpr TColor kEnd = RGBColor(200, 0, 100);
constexpr TColor kMid = RGBColor(0, 160, 40);

struct Fixture {
  SimDesktop desktop;
  SimToolkit tk{desktop};
  SimAnsiCodePage code_page{932};
  TForm form{tk, "Form1"};
  TShadowLabel label{tk, &form, "Label", code_page};

  Fixture(int width = 60, int height = kFont) {
    form.SetClientSize(200, 100);
    label.SetBounds(0, 0, width, height);
    label.SetColor(clWhite);
    FontSpec f;
    f.height = kFont;
    f.color = kInk;
    label.SetFont(f);
    label.Shadow().SetVisible(false);
    label.Highlight().SetVisible(false);
  }
  RasterCanvas Paint() { return tk.PaintToCanvas("Label", RGBColor(1, 2, 3)); }
};

TColor Between(TColor a, TColor b, double t) {
  const auto c = [t](TColor x, TColor y, int shift) {
    const int p = static_cast<int>((x >> shift) & 0xFF);
    const int q = static_cast<int>((y >> shift) & 0xFF);
    return static_cast<int>((q - p) * t + p);
  };
  return RGBColor(c(a, b, 0), c(a, b, 8), c(a, b, 16));
}

std::string Hex(TColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06X", c);
  return buf;
}

// The colour inside each character's block, left to right; `wide` marks
// the characters 9 pixels wide.
std::vector<std::string> CharColours(const RasterCanvas& c, const std::vector<bool>& wide) {
  std::vector<std::string> out;
  int x = 0;
  for (bool w : wide) {
    out.push_back(Hex(c.GetPixel({x + 1, kFont / 2})));
    x += w ? kFont : (kFont + 1) / 2;
  }
  return out;
}

TEST(GradientFill, RowsAndColumnsTakeTheDescribedColours) {
  const TColor from = RGBColor(0, 0, 0);
  const TColor to = RGBColor(255, 100, 8);
  Bitmap24 across(5, 3);
  GradientFill(across, from, to, false);
  // t = x / 4, each component truncated: 255 t, 100 t, 8 t.
  const TColor expected[5] = {RGBColor(0, 0, 0), RGBColor(63, 25, 2), RGBColor(127, 50, 4), RGBColor(191, 75, 6),
                              RGBColor(255, 100, 8)};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      SCOPED_TRACE(testing::Message() << "horizontal at " << x << ", " << y);
      EXPECT_EQ(Hex(across.Pixel(x, y)), Hex(expected[x]));
    }
  }
  // Falling components truncate toward zero too: 255 - 63.75 gives 191.
  Bitmap24 down(3, 5);
  GradientFill(down, RGBColor(255, 255, 255), RGBColor(0, 0, 0), true);
  const int grey[5] = {255, 191, 127, 63, 0};
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 3; ++x) {
      SCOPED_TRACE(testing::Message() << "vertical at " << x << ", " << y);
      EXPECT_EQ(Hex(down.Pixel(x, y)), Hex(RGBColor(grey[y], grey[y], grey[y])));
    }
  }
}

TEST(GradientFill, ASideOfOnePixelTakesTheStartColour) {
  const TColor from = RGBColor(10, 20, 30);
  Bitmap24 flat(4, 1);
  GradientFill(flat, from, clWhite, true);
  Bitmap24 thin(1, 4);
  GradientFill(thin, from, clWhite, false);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Hex(flat.Pixel(i, 0)), Hex(from)) << "one row high, vertical, x " << i;
    EXPECT_EQ(Hex(thin.Pixel(0, i)), Hex(from)) << "one column wide, horizontal, y " << i;
  }
  Bitmap24 none;
  GradientFill(none, from, clWhite, true);  // nothing to fill, nothing to break
  EXPECT_EQ(none.Width(), 0);
}

TEST(ShadowLabel, GradientBackgroundIsTheSameWithAndWithoutTheOffscreenBitmap) {
  for (const bool vertical : {false, true}) {
    SCOPED_TRACE(vertical ? "vertical" : "horizontal");
    Fixture f(40, 45);
    f.label.SetColor(RGBColor(250, 250, 0));
    f.label.SetGradationColor(RGBColor(0, 0, 250));
    f.label.SetGradation(true);
    f.label.SetGradateVert(vertical);
    const RasterCanvas buffered = f.Paint();
    f.label.SetFlickerless(false);
    const RasterCanvas direct = f.Paint();
    Bitmap24 expected(40, 45);
    GradientFill(expected, RGBColor(0, 0, 250), RGBColor(250, 250, 0), vertical);
    EXPECT_EQ(buffered.Surface(), expected);
    // The strip of a horizontal gradient is 45 / 20 + 1 rows, stretched.
    EXPECT_EQ(direct.Surface(), expected);
  }
  // One pixel high with a vertical gradient: all GradationColor.
  Fixture one(6, 1);
  one.label.SetColor(clWhite);
  one.label.SetGradationColor(RGBColor(9, 8, 7));
  one.label.SetGradation(true);
  one.label.SetGradateVert(true);
  EXPECT_EQ(one.Paint().CountPixels({0, 0, 6, 1}, RGBColor(9, 8, 7)), 6);
}

TEST(ShadowLabel, TransparentLeavesTheBackgroundAndEmptyCaptionsShowNothing) {
  Fixture f;
  f.label.SetGradation(true);
  f.label.SetTransparent(true);
  RasterCanvas c = f.Paint();
  EXPECT_EQ(c.CountPixels({0, 0, 60, kFont}, RGBColor(1, 2, 3)), 60 * kFont) << "no background, no text";

  f.label.SetTransparent(false);
  f.label.SetGradation(false);
  c = f.Paint();
  EXPECT_EQ(c.CountPixels({0, 0, 60, kFont}, clWhite), 60 * kFont) << "an empty caption paints as a blank";

  // A lone "&" is kept from being taken for a prefix.
  f.label.SetCaption("&");
  f.label.SetShowAccelChar(false);
  EXPECT_EQ(Hex(f.Paint().GetPixel({1, kFont / 2})), Hex(kInk)) << "shown as typed";
  f.label.SetShowAccelChar(true);
  c = f.Paint();
  EXPECT_EQ(Hex(c.GetPixel({1, kFont / 2})), Hex(clWhite)) << "a prefix before the appended blank";
  EXPECT_EQ(f.label.Caption(), "&");
}

TEST(ShadowLabel, LayersGoShadowHighlightTextAndDisabledOnesUseFixedColours) {
  Fixture f;
  f.label.SetCaption("A");
  f.label.Shadow().SetVisible(true);
  f.label.Shadow().SetColor(RGBColor(50, 50, 50));
  f.label.Highlight().SetVisible(true);
  f.label.Highlight().SetColor(RGBColor(220, 220, 220));
  // Side by side: the text at 0, the shadow at 6, the highlight at 12.
  f.label.Shadow().SetOffsetLeft(6);
  f.label.Shadow().SetOffsetTop(0);
  f.label.Highlight().SetOffsetLeft(12);
  f.label.Highlight().SetOffsetTop(0);
  // Each block sits 1 pixel into its 5-pixel cell; the cells at 0, 6, 12.
  const auto at = [&](int x) { return Hex(f.Paint().GetPixel({x + 1, kFont / 2})); };
  EXPECT_EQ(at(0), Hex(kInk));
  EXPECT_EQ(at(6), Hex(RGBColor(50, 50, 50)));
  EXPECT_EQ(at(12), Hex(RGBColor(220, 220, 220)));

  f.label.SetEnabled(false);
  EXPECT_EQ(at(0), Hex(RasterCanvas::SystemColor(16))) << "text in clBtnShadow";
  EXPECT_EQ(at(6), Hex(clGray)) << "shadow in clGray";
  EXPECT_EQ(at(12), Hex(RasterCanvas::SystemColor(20))) << "highlight in clBtnHighlight";

  // On one spot the text is drawn last, the highlight over the shadow.
  f.label.SetEnabled(true);
  f.label.Highlight().SetOffsetLeft(6);
  EXPECT_EQ(at(6), Hex(RGBColor(220, 220, 220)));
  f.label.Shadow().SetOffsetLeft(0);
  f.label.Highlight().SetOffsetLeft(0);
  EXPECT_EQ(at(0), Hex(kInk));
}

TEST(ShadowLabel, TextRunsSplitOnCharactersOfTheAnsiCodePage) {
  struct Row {
    const char* text;
    TTextGradation gradation;
    std::vector<bool> wide;
    std::vector<TColor> colours;
  };
  const std::vector<Row> rows = {
      // One character: the plain colour whatever the run.
      {"A", TTextGradation::tg3Colors, {false}, {kInk}},
      // Two characters are one run to the end colour, even for three colours.
      {"AB", TTextGradation::tg3Colors, {false, false}, {kInk, kEnd}},
      {"ABC", TTextGradation::tg2Colors, {false, false, false}, {kInk, Between(kInk, kEnd, 0.5), kEnd}},
      // "aあbc" is 5 bytes: byte 2 leads あ, so the first run takes "aあ".
      {"aあbc", TTextGradation::tg3Colors, {false, true, false, false}, {kInk, kMid, kMid, kEnd}},
      // "あab" is 4 bytes: byte 2 is あ's trail byte; "あ" alone runs first.
      {"あab", TTextGradation::tg3Colors, {true, false, false}, {kInk, kMid, kEnd}},
      // "あいう": byte 3 leads い; the rest "う" is one character in the end colour.
      {"あいう", TTextGradation::tg3Colors, {true, true, true}, {kInk, kMid, kEnd}},
      {"ABCDE", TTextGradation::tg3Colors, {false, false, false, false, false},
       {kInk, kMid, kMid, Between(kMid, kEnd, 0.5), kEnd}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    Fixture f(80);
    f.label.SetCaption(r.text);
    f.label.SetTextGradationColor(kEnd);
    f.label.SetTextMidColor(kMid);
    f.label.SetTextGradation(r.gradation);
    std::vector<std::string> expected;
    for (TColor c : r.colours) expected.push_back(Hex(c));
    EXPECT_EQ(CharColours(f.Paint(), r.wide), expected);
    // Disabled, the run keeps its own colours.
    f.label.SetEnabled(false);
    if (r.colours.size() > 1) {
      EXPECT_EQ(CharColours(f.Paint(), r.wide), expected);
    }
  }
}

TEST(ShadowLabel, CentredLayoutOfATallTextTruncatesTowardZero) {
  // The 9-pixel line inks rows 1 to 7 of itself; the client rectangle moves
  // with the text and still clips it at its bottom.
  struct Row {
    int height;
    int ink_top;
    int ink_bottom;  // last inked row
  };
  for (const Row r : {Row{20, 6, 12}, Row{8, 1, 7}, Row{4, 0, 1}}) {
    SCOPED_TRACE(testing::Message() << "label height " << r.height);
    Fixture f(10, r.height);
    f.label.SetCaption("A");
    f.label.SetLayout(TTextLayout::tlCenter);
    const RasterCanvas c = f.Paint();
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < r.height; ++y) {
      if (c.GetPixel({1, y}) != kInk) continue;
      if (top < 0) top = y;
      bottom = y;
    }
    EXPECT_EQ(top, r.ink_top);
    EXPECT_EQ(bottom, r.ink_bottom);
  }
}

TEST(ShadowLabel, SettersRepaintOnlyWhatShows) {
  Fixture f;
  SimControlPeer& peer = f.tk.Get("Label");
  const auto repaints = [&] { return peer.RepaintCount(); };
  int before = repaints();
  f.label.SetTextGradation(TTextGradation::tg2Colors);
  EXPECT_EQ(repaints(), before + 1);
  before = repaints();
  f.label.SetTextMidColor(clRed);
  EXPECT_EQ(f.label.TextMidColor(), clRed);
  EXPECT_EQ(repaints(), before) << "the middle colour does not show with two colours";
  f.label.SetTextGradationColor(clBlue);
  EXPECT_EQ(repaints(), before + 1);
  f.label.SetTextGradation(TTextGradation::tgNone);
  before = repaints();
  f.label.SetTextGradationColor(clAqua);
  EXPECT_EQ(repaints(), before) << "no run, no end colour";
  f.label.SetFlickerless(false);
  EXPECT_EQ(repaints(), before);
  f.label.SetGradationColor(clBlue);
  EXPECT_EQ(repaints(), before) << "unchanged value";

  // The copies report their changes, and an assignment copies all four.
  f.label.Shadow().SetOffsetTop(3);
  EXPECT_EQ(repaints(), before + 1);
  TShadow other;
  other.SetColor(clMaroon);
  other.SetOffsetLeft(-4);
  other.SetVisible(false);
  f.label.SetHighlight(&other);
  EXPECT_EQ(repaints(), before + 2);
  EXPECT_EQ(f.label.Highlight().Color(), clMaroon);
  EXPECT_EQ(f.label.Highlight().OffsetLeft(), -4);
  EXPECT_EQ(f.label.Highlight().OffsetTop(), 1);
  EXPECT_FALSE(f.label.Highlight().Visible());
  f.label.SetShadow(nullptr);
  EXPECT_EQ(repaints(), before + 2);
}

TEST(ShadowLabel, StartsAsDescribed) {
  Fixture f;
  SimAnsiCodePage cp(932);
  TShadowLabel fresh(f.tk, &f.form, "Fresh", cp);
  EXPECT_TRUE(fresh.Flickerless());
  EXPECT_FALSE(fresh.Gradation());
  EXPECT_EQ(fresh.GradationColor(), clBlue);
  EXPECT_EQ(fresh.TextGradationColor(), clMaroon);
  EXPECT_EQ(fresh.TextMidColor(), clNavy);
  EXPECT_EQ(fresh.Highlight().Color(), clWhite);
  EXPECT_EQ(fresh.Highlight().OffsetLeft(), -1);
  EXPECT_EQ(fresh.Highlight().OffsetTop(), -1);
  EXPECT_EQ(fresh.Shadow().Color(), clSilver);
  EXPECT_EQ(fresh.Shadow().OffsetLeft(), 1);
  EXPECT_EQ(fresh.Shadow().OffsetTop(), 1);
  EXPECT_TRUE(fresh.Shadow().Visible());
}

}  // namespace
}  // namespace wakumo
