#include <gtest/gtest.h>

#include <set>
#include <string>

#include "sim/raster_canvas.h"

namespace wakumo {
namespace {

const std::map<TColor, char> kInk{{clBlack, '#'}, {clWhite, '.'}};

std::string Rows(std::initializer_list<const char*> rows) {
  std::string s;
  for (const char* r : rows) s += std::string(r) + "\n";
  return s;
}

TEST(RasterCanvas, LineToLeavesOutItsEndPixelInEveryDirection) {
  struct Row { Point from, to; std::string picture; };
  // No row has a tie between two pixels, where the choice is the rasteriser's own.
  const Row rows[] = {
      {{1, 1}, {5, 1}, Rows({"........", ".####...", "........"})},
      {{5, 1}, {1, 1}, Rows({"........", "..####..", "........"})},
      {{2, 0}, {2, 3}, Rows({"..#.....", "..#.....", "..#.....", "........"})},
      {{0, 0}, {3, 3}, Rows({"#.......", ".#......", "..#.....", "........"})},
      {{3, 0}, {0, 3}, Rows({"...#....", "..#.....", ".#......", "........"})},
      {{0, 0}, {6, 2}, Rows({"##......", "..###...", ".....#..", "........"})},
      {{2, 2}, {2, 2}, Rows({"........", "........", "........"})},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.from << " -> " << r.to);
    RasterCanvas c(8, 4);
    c.MoveTo(r.from);
    c.LineTo(r.to);
    EXPECT_EQ(c.PenPos(), r.to);
    int rows_shown = static_cast<int>(std::count(r.picture.begin(), r.picture.end(), '\n'));
    EXPECT_EQ(c.Ascii({0, 0, 8, rows_shown}, kInk), r.picture);
  }
}

TEST(RasterCanvas, ClosedPathPaintsEachCornerOnce) {
  RasterCanvas c(6, 6);
  c.MoveTo({1, 1});
  for (Point p : {Point{4, 1}, Point{4, 4}, Point{1, 4}, Point{1, 1}}) c.LineTo(p);
  EXPECT_EQ(c.Ascii({0, 0, 6, 6}, kInk), Rows({"......", ".####.", ".#..#.", ".#..#.", ".####.", "......"}));

  // A dotted pen sets every other pixel of the path.
  RasterCanvas d(8, 1);
  d.SetPen({clBlack, 1, PenStyle::psDot});
  d.MoveTo({0, 0});
  d.LineTo({7, 0});
  EXPECT_EQ(d.Ascii({0, 0, 8, 1}, kInk), Rows({"#.#.#.#."}));

  RasterCanvas clear(4, 1);
  clear.SetPen({clBlack, 1, PenStyle::psClear});
  clear.MoveTo({0, 0});
  clear.LineTo({4, 0});
  EXPECT_EQ(clear.CountPixels({0, 0, 4, 1}, clBlack), 0);
}

TEST(RasterCanvas, PolygonFillLeavesOutRightAndBottomEdges) {
  RasterCanvas c(6, 6);
  c.SetPen({clBlack, 1, PenStyle::psClear});
  c.SetBrush({clBlack});
  c.Polygon({{0, 0}, {4, 0}, {4, 4}, {0, 4}});
  EXPECT_EQ(c.Ascii({0, 0, 6, 6}, kInk), Rows({"####..", "####..", "####..", "####..", "......", "......"}));

  // A triangle: rows sample the outline at each pixel's top-left corner.
  RasterCanvas t(8, 5);
  t.SetPen({clBlack, 1, PenStyle::psClear});
  t.SetBrush({clBlack});
  t.Polygon({{0, 0}, {6, 0}, {0, 4}});
  EXPECT_EQ(t.Ascii({0, 0, 8, 5}, kInk),
            Rows({"######..", "#####...", "###.....", "##......", "........"}));
}

TEST(RasterCanvas, ArrowTrianglesWithPenAndBrushOfOneColour) {
  // The 12 x 9 up arrow: base (4,5)-(6,5), tip (5,4).
  RasterCanvas up(12, 9);
  up.SetPen({clWindowText});
  up.SetBrush({clWindowText});
  up.Polygon({{4, 5}, {6, 5}, {5, 4}});
  const std::map<TColor, char> ink{{clWindowText, '#'}, {clWhite, '.'}};
  EXPECT_EQ(up.Ascii({3, 3, 8, 7}, ink), Rows({".....", "..#..", ".###.", "....."}));
  EXPECT_EQ(up.CountPixels({0, 0, 12, 9}, clWindowText), 4);

  RasterCanvas big(9, 7);
  big.SetPen({clBlack});
  big.SetBrush({clBlack});
  big.Polygon({{2, 2}, {6, 2}, {4, 4}});
  EXPECT_EQ(big.Ascii({0, 1, 9, 6}, kInk), Rows({".........", "..#####..", "...###...", "....#....", "........."}));

  // A clear brush leaves only the outline.
  RasterCanvas hollow(7, 7);
  hollow.SetBrush({clBlack, BrushStyle::bsClear});
  hollow.Polygon({{1, 1}, {5, 1}, {5, 5}, {1, 5}});
  EXPECT_EQ(hollow.GetPixel({3, 3}), clWhite);
  EXPECT_EQ(hollow.CountPixels({0, 0, 7, 7}, clBlack), 16);
}

TEST(RasterCanvas, FillAndFrameCoverHalfOpenRectanglesAndClip) {
  RasterCanvas c(6, 5);
  c.SetBrush({clBlack});
  c.FillRect({1, 1, 4, 3});
  EXPECT_EQ(c.Ascii({0, 0, 6, 5}, kInk), Rows({"......", ".###..", ".###..", "......", "......"}));

  c.Clear(clWhite);
  c.FillRect({4, 3, 1, 1});
  EXPECT_EQ(c.CountPixels({0, 0, 6, 5}, clBlack), 0) << "a reversed rectangle is empty";
  c.FillRect({-10, -10, 2, 1});
  EXPECT_EQ(c.CountPixels({0, 0, 6, 5}, clBlack), 2) << "clipped at the surface";

  c.Clear(clWhite);
  c.FrameRect({0, 0, 5, 4});
  EXPECT_EQ(c.Ascii({0, 0, 6, 5}, kInk), Rows({"#####.", "#...#.", "#...#.", "#####.", "......"}));

  c.Clear(clWhite);
  c.SetBrush({clBlack, BrushStyle::bsClear});
  c.FillRect({0, 0, 6, 5});
  EXPECT_EQ(c.CountPixels({0, 0, 6, 5}, clBlack), 0);

  EXPECT_EQ(c.GetPixel({6, 0}), kInvalidColor);
  c.SetPixel({-1, 0}, clBlack);  // ignored, no crash
}

TEST(RasterCanvas, SystemColoursAreDistinctFromEachOtherAndNamedColours) {
  RasterCanvas c(1, 1);
  std::set<TColor> seen{clBlack, clWhite, clSilver, clGray, clNavy, clBlue, clLime};
  for (int i = 0; i <= 30; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(seen.insert(c.ColorToRGB(kSystemColorFlag | static_cast<TColor>(i))).second);
  }
  EXPECT_EQ(c.ColorToRGB(clBtnFace), RGBColor(240, 240, 240));
  EXPECT_EQ(c.ColorToRGB(RGBColor(1, 2, 3)), RGBColor(1, 2, 3));
  c.SetPixel({0, 0}, clBtnShadow);
  EXPECT_EQ(c.GetPixel({0, 0}), c.ColorToRGB(clBtnShadow));
}

FontSpec Font12() {
  FontSpec f;
  f.height = 12;
  f.color = clBlack;
  return f;
}

TEST(RasterCanvas, TextMeasuresWithTheFixedFont) {
  RasterCanvas c(100, 40);
  c.SetFont(Font12());
  EXPECT_EQ(c.TextExtent("ab"), (TextSize{12, 12}));
  EXPECT_EQ(c.TextExtent("あa"), (TextSize{18, 12}));
  EXPECT_EQ(c.TextExtent(""), (TextSize{0, 12}));
  EXPECT_EQ(c.GetTextMetrics().overhang, 0);

  Rect r{0, 0, 20, 0};
  EXPECT_EQ(c.DrawText("aa bb", r, DT_WORDBREAK_ | DT_CALCRECT_), 24);
  EXPECT_EQ(r, (Rect{0, 0, 12, 24})) << "broken at the blank, the blank dropped";

  r = {0, 0, 20, 0};
  EXPECT_EQ(c.DrawText("abcdefgh", r, DT_WORDBREAK_ | DT_CALCRECT_), 36) << "a long word breaks inside";
  r = {0, 0, 20, 0};
  EXPECT_EQ(c.DrawText("abcdefgh", r, DT_CALCRECT_), 12);
  EXPECT_EQ(r.right, 48);
  r = {0, 0, 100, 0};
  EXPECT_EQ(c.DrawText("a\r\nb\nc", r, DT_CALCRECT_), 36);
  r = {0, 0, 100, 0};
  EXPECT_EQ(c.DrawText("a\tb", r, DT_EXPANDTABS_ | DT_CALCRECT_), 12);
  EXPECT_EQ(r.right, 54) << "tab to 8 narrow advances, then b";
  r = {0, 0, 100, 0};
  c.DrawText("&File", r, DT_CALCRECT_);
  EXPECT_EQ(r.right, 24) << "the prefix takes no room";
  r = {0, 0, 100, 0};
  c.DrawText("&File", r, DT_CALCRECT_ | DT_NOPREFIX_);
  EXPECT_EQ(r.right, 30);
}

TEST(RasterCanvas, DrawTextAlignsClipsAndPaintsBackgroundByBrush) {
  RasterCanvas c(40, 14);
  c.SetFont(Font12());
  c.SetBrush({clBlack, BrushStyle::bsClear});
  Rect r{0, 0, 40, 14};
  EXPECT_EQ(c.DrawText("a", r, DT_RIGHT_ | DT_SINGLELINE_), 12);
  // One glyph: a block 5 wide (advance 6, less one) from row 1 to row 10.
  EXPECT_EQ(c.CountPixels({34, 1, 39, 11}, clBlack), 50);
  EXPECT_EQ(c.CountPixels({0, 0, 34, 14}, clBlack), 0);
  EXPECT_EQ(c.GetPixel({39, 5}), clWhite);

  c.Clear(clWhite);
  r = {0, 0, 40, 14};
  c.DrawText("a", r, DT_CENTER_ | DT_SINGLELINE_);
  EXPECT_EQ(c.GetPixel({16, 5}), clWhite);
  EXPECT_EQ(c.GetPixel({17, 5}), clBlack) << "(40 - 6) / 2";
  EXPECT_EQ(c.GetPixel({21, 5}), clBlack);
  EXPECT_EQ(c.GetPixel({22, 5}), clWhite);

  c.Clear(clWhite);
  r = {0, 0, 40, 14};
  EXPECT_EQ(c.DrawText("a", r, DT_VCENTER_ | DT_SINGLELINE_), 13);
  EXPECT_EQ(c.GetPixel({0, 1}), clWhite);
  EXPECT_EQ(c.GetPixel({0, 2}), clBlack);

  // Clipped to the rectangle: nothing beyond its right edge.
  c.Clear(clWhite);
  r = {0, 0, 8, 14};
  c.DrawText("aaaa", r, DT_SINGLELINE_);
  EXPECT_GT(c.CountPixels({0, 0, 8, 14}, clBlack), 0);
  EXPECT_EQ(c.CountPixels({8, 0, 40, 14}, clBlack), 0);

  // The accelerator's underline on the bottom row of its character only.
  c.Clear(clWhite);
  r = {0, 0, 40, 14};
  c.DrawText("a&b", r, DT_SINGLELINE_);
  EXPECT_EQ(c.CountPixels({0, 11, 40, 12}, clBlack), 6);
  EXPECT_EQ(c.GetPixel({6, 11}), clBlack);

  // A solid brush gives the text cells an opaque background.
  c.Clear(clWhite);
  c.SetBrush({clBtnFace});
  c.TextOut({0, 0}, "a ");
  EXPECT_EQ(c.GetPixel({11, 0}), c.ColorToRGB(clBtnFace));
  EXPECT_EQ(c.GetPixel({12, 0}), clWhite);
}

TEST(RasterCanvas, EllipsesShortenLinesThatDoNotFit) {
  RasterCanvas c(100, 20);
  c.SetFont(Font12());
  Rect r{0, 0, 30, 0};
  c.DrawText("abcdefgh", r, DT_SINGLELINE_ | DT_END_ELLIPSIS_ | DT_CALCRECT_);
  EXPECT_EQ(r.right, 30) << "two characters and the three dots";
  r = {0, 0, 42, 0};
  c.DrawText("ab\\cd\\ef", r, DT_SINGLELINE_ | DT_PATH_ELLIPSIS_ | DT_CALCRECT_);
  EXPECT_EQ(r.right, 42) << "a...\\ef keeps the last part";
  r = {0, 0, 48, 0};
  c.DrawText("abcdefgh", r, DT_SINGLELINE_ | DT_END_ELLIPSIS_ | DT_CALCRECT_);
  EXPECT_EQ(r.right, 48) << "text that fits stays whole";
}

TEST(RasterCanvas, BitmapsDrawTransparentAndStretch) {
  Bitmap24 glyph(3, 2, clWhite);
  glyph.SetPixel(1, 0, clBlack);
  glyph.SetPixel(2, 0, RGBColor(255, 0, 0));
  RasterCanvas c(5, 4, clLime);
  c.Draw({1, 1}, glyph, true);
  const std::map<TColor, char> pal{{clBlack, '#'}, {clLime, 'g'}, {clWhite, '.'}, {RGBColor(255, 0, 0), 'r'}};
  EXPECT_EQ(c.Ascii({0, 0, 5, 4}, pal), Rows({"ggggg", "gg#rg", "ggggg", "ggggg"}));
  c.Draw({1, 1}, glyph, false);
  EXPECT_EQ(c.Ascii({0, 0, 5, 4}, pal), Rows({"ggggg", "g.#rg", "g...g", "ggggg"}));

  // A one-pixel column stretched over the full width.
  Bitmap24 column(1, 3);
  column.SetPixel(0, 0, clBlack);
  column.SetPixel(0, 1, clWhite);
  column.SetPixel(0, 2, RGBColor(255, 0, 0));
  RasterCanvas s(5, 3, clLime);
  s.StretchDraw({0, 0, 4, 3}, column, {0, 0, 1, 3});
  EXPECT_EQ(s.Ascii({0, 0, 5, 3}, pal), Rows({"####g", "....g", "rrrrg"}));

  Bitmap24 quad(2, 2, clWhite);
  quad.SetPixel(1, 0, clBlack);
  quad.SetPixel(0, 1, clBlack);
  RasterCanvas q(4, 4);
  q.StretchDraw({0, 0, 4, 4}, quad, {0, 0, 2, 2});
  EXPECT_EQ(q.Ascii({0, 0, 4, 4}, pal), Rows({"..##", "..##", "##..", "##.."}));

  // Its own surface as the source: a column copied over the width in place.
  RasterCanvas self(3, 2);
  self.SetPixel({0, 0}, clBlack);
  self.StretchDraw({0, 0, 3, 2}, self.Surface(), {0, 0, 1, 2});
  EXPECT_EQ(self.Ascii({0, 0, 3, 2}, pal), Rows({"###", "..."}));
}

TEST(RasterCanvas, OffscreenStartsBlackAndCopiesBack) {
  RasterCanvas screen(4, 3);
  std::unique_ptr<OffscreenCanvas> off = screen.CreateOffscreen(4, 3);
  Bitmap24 start = off->ToBitmap();
  EXPECT_EQ(start, Bitmap24(4, 3, clBlack));
  off->SetBrush({clBtnFace});
  off->FillRect({0, 0, 2, 3});
  Bitmap24 painted = off->ToBitmap();
  screen.StretchDraw({0, 0, 4, 3}, painted, {0, 0, 4, 3});
  EXPECT_EQ(screen.GetPixel({1, 2}), screen.ColorToRGB(clBtnFace));
  EXPECT_EQ(screen.GetPixel({2, 2}), clBlack);

  EXPECT_EQ(Bitmap24(-3, 5).Width(), 0);
  EXPECT_EQ(Bitmap24(-3, 5).Height(), 0);
}

}  // namespace
}  // namespace wakumo
