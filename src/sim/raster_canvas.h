#pragma once
// The canvas on a memory bitmap, for pixel tests of painted controls.
//
// Pixel rules, as the window system draws with a one-pixel pen:
// - LineTo walks the Bresenham line from the pen position and leaves out the
//   end pixel, so consecutive segments never paint a corner twice.
// - Polygon fills the pixels whose top-left corner lies inside the outline by
//   the alternate rule, a point on a left or top edge counting as inside and
//   one on a right or bottom edge as outside (so a filled square with corners
//   (0,0) and (4,4) covers x and y 0 to 3); the pen outline goes on top.
// - FillRect covers [left, right) x [top, bottom).
// Where the canvas is its own (not meant to match the window system pixel
// for pixel): pens wider than one pixel stamp a square at each line pixel; a
// dotted pen sets every other pixel, restarting at each MoveTo, and leaves the
// gaps untouched.
//
// The fixed test font: a font of height h has lines h pixels high; a narrow
// character (below U+1100, or half-width forms) advances (h + 1) / 2 pixels,
// any other h pixels, bold one more. A visible character paints a solid block
// one pixel short of its advance on the right and of its line at top and
// bottom; blanks paint nothing; an accelerator-marked character gets an
// underline on the bottom row, as does every character of an underlined
// font. Tab stops lie every 8 narrow advances.
// Word breaks fall at blanks and around wide characters, a word wider than
// the line is broken between characters; ellipses shorten single lines only.
#include <map>
#include <string>

#include "ui/canvas.h"

namespace wakumo {

class RasterCanvas : public OffscreenCanvas {
 public:
  RasterCanvas(int width, int height, TColor background = clWhite);

  // The sim's colour scheme: every system colour index 0-30 has its own RGB
  // value, distinct from the others and from the named colours, so that a test
  // can tell clBtnHighlight from clWhite. Unknown indexes give black.
  static TColor SystemColor(int index);

  const Bitmap24& Surface() const { return surface_; }
  int Width() const { return surface_.Width(); }
  int Height() const { return surface_.Height(); }
  void Clear(TColor color);

  // Rows of `area` as text, one character a pixel from `palette` (RGB or
  // system colours), '?' for any other colour; for readable test failures.
  std::string Ascii(const Rect& area, const std::map<TColor, char>& palette) const;
  // Pixels of `area` (clipped to the surface) that have the colour.
  int CountPixels(const Rect& area, TColor color) const;

  TColor ColorToRGB(TColor color) const override;
  void SetPen(const PenSpec& pen) override;
  PenSpec Pen() const override { return pen_; }
  void SetBrush(const BrushSpec& brush) override { brush_ = brush; }
  BrushSpec Brush() const override { return brush_; }
  void SetFont(const FontSpec& font) override { font_ = font; }
  FontSpec Font() const override { return font_; }

  TColor GetPixel(Point p) const override { return surface_.Pixel(p.x, p.y); }
  void SetPixel(Point p, TColor color) override { surface_.SetPixel(p.x, p.y, ColorToRGB(color)); }

  void MoveTo(Point p) override;
  void LineTo(Point p) override;
  Point PenPos() const override { return pen_pos_; }
  void Polygon(const std::vector<Point>& points) override;
  void FillRect(const Rect& r) override;
  void FrameRect(const Rect& r) override;

  TextSize TextExtent(std::string_view text) override;
  TextMetrics GetTextMetrics() override;
  void TextOut(Point p, std::string_view text) override;
  int DrawText(std::string_view text, Rect& rect, std::uint32_t flags) override;

  void Draw(Point at, const Bitmap24& bitmap, bool transparent) override;
  void StretchDraw(const Rect& dest, const Bitmap24& bitmap, const Rect& source) override;
  std::unique_ptr<OffscreenCanvas> CreateOffscreen(int width, int height) override;
  Bitmap24 ToBitmap() const override { return surface_; }

 private:
  struct Glyph {
    char32_t ch;
    bool underline;
  };
  using Line = std::vector<Glyph>;

  void Plot(int x, int y, TColor rgb, const Rect& clip);
  void PenLine(Point from, Point to);
  int LineHeight() const;
  int Advance(char32_t ch) const;
  int LineWidth(const Line& line, bool expand_tabs) const;
  int GlyphAdvance(const Glyph& g, int x_in_line, bool expand_tabs) const;
  void DrawLine(const Line& line, int x, int y, bool expand_tabs, const Rect& clip);

  Bitmap24 surface_;
  PenSpec pen_;
  BrushSpec brush_;
  FontSpec font_;
  Point pen_pos_;
  int dot_phase_ = 0;
};

}  // namespace wakumo
