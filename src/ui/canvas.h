#pragma once
// Painting for the painted controls: a canvas port with the window system's
// drawing conventions (a line leaves out its last pixel, a filled rectangle
// its right column and bottom row), plus a plain 24-bit bitmap held in memory.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "core/geometry.h"
#include "ui/peer.h"

namespace wakumo {

enum class PenStyle { psSolid, psDot, psClear };
enum class BrushStyle { bsSolid, bsClear };

struct PenSpec {
  TColor color = clBlack;
  int width = 1;
  PenStyle style = PenStyle::psSolid;
  friend bool operator==(const PenSpec&, const PenSpec&) = default;
};

// A solid brush also gives text an opaque background in its colour; a clear
// brush draws text without background.
struct BrushSpec {
  TColor color = clWhite;
  BrushStyle style = BrushStyle::bsSolid;
  friend bool operator==(const BrushSpec&, const BrushSpec&) = default;
};

// Text format flags, with the window system's values.
inline constexpr std::uint32_t DT_LEFT_ = 0x0000;
inline constexpr std::uint32_t DT_CENTER_ = 0x0001;
inline constexpr std::uint32_t DT_RIGHT_ = 0x0002;
inline constexpr std::uint32_t DT_VCENTER_ = 0x0004;  // single line only
inline constexpr std::uint32_t DT_BOTTOM_ = 0x0008;   // single line only
inline constexpr std::uint32_t DT_WORDBREAK_ = 0x0010;
inline constexpr std::uint32_t DT_SINGLELINE_ = 0x0020;
inline constexpr std::uint32_t DT_EXPANDTABS_ = 0x0040;
inline constexpr std::uint32_t DT_NOCLIP_ = 0x0100;
inline constexpr std::uint32_t DT_CALCRECT_ = 0x0400;
inline constexpr std::uint32_t DT_NOPREFIX_ = 0x0800;
inline constexpr std::uint32_t DT_PATH_ELLIPSIS_ = 0x4000;
inline constexpr std::uint32_t DT_END_ELLIPSIS_ = 0x8000;

// What GetPixel answers outside the surface.
inline constexpr TColor kInvalidColor = 0xFFFFFFFFu;

struct TextMetrics {
  int height = 0;
  int ascent = 0;
  int descent = 0;
  int ave_char_width = 0;
  int overhang = 0;  // extra width of simulated bold or italic glyphs
};

// A 24-bit bitmap in memory: rows top to bottom, three bytes a pixel in blue,
// green, red order, no row padding.
class Bitmap24 {
 public:
  Bitmap24() = default;
  // Negative sizes make an empty bitmap.
  Bitmap24(int width, int height, TColor fill = clBlack);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // RGB 0x00BBGGRR; kInvalidColor outside.
  TColor Pixel(int x, int y) const;
  // Takes the low 24 bits of an RGB colour; ignored outside.
  void SetPixel(int x, int y, TColor rgb);
  std::uint8_t* Row(int y) { return bytes_.data() + static_cast<std::size_t>(y) * Stride(); }
  const std::uint8_t* Row(int y) const { return bytes_.data() + static_cast<std::size_t>(y) * Stride(); }
  std::size_t Stride() const { return static_cast<std::size_t>(width_) * 3; }
  friend bool operator==(const Bitmap24&, const Bitmap24&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> bytes_;
};

class OffscreenCanvas;

// Colours may be RGB or system colours; the canvas resolves them. Drawing
// outside the surface is clipped.
class Canvas {
 public:
  virtual ~Canvas() = default;

  // RGB for any colour, system colours through the current colour scheme.
  virtual TColor ColorToRGB(TColor color) const = 0;

  virtual void SetPen(const PenSpec& pen) = 0;
  virtual PenSpec Pen() const = 0;
  virtual void SetBrush(const BrushSpec& brush) = 0;
  virtual BrushSpec Brush() const = 0;
  virtual void SetFont(const FontSpec& font) = 0;
  virtual FontSpec Font() const = 0;

  virtual TColor GetPixel(Point p) const = 0;
  virtual void SetPixel(Point p, TColor color) = 0;

  virtual void MoveTo(Point p) = 0;
  // A pen line from the pen position to p, without p itself; the pen moves to p.
  virtual void LineTo(Point p) = 0;
  virtual Point PenPos() const = 0;
  // Filled with the brush (alternate rule; a clear brush fills nothing), then
  // outlined with the pen as a closed line through the points, pen position
  // unchanged. Fewer than two points draw nothing.
  virtual void Polygon(const std::vector<Point>& points) = 0;
  // [left, right) x [top, bottom) with the brush; a clear brush paints nothing.
  virtual void FillRect(const Rect& r) = 0;
  // A one-pixel border just inside r with the brush.
  virtual void FrameRect(const Rect& r) = 0;

  // Size of a single line of text in the current font, no prefix processing.
  virtual TextSize TextExtent(std::string_view text) = 0;
  virtual TextMetrics GetTextMetrics() = 0;
  // Text with its top-left corner at p.
  virtual void TextOut(Point p, std::string_view text) = 0;
  // Draws (or with DT_CALCRECT_ only measures, setting rect's right and bottom)
  // text in rect. Returns the text's height; with DT_VCENTER_ or DT_BOTTOM_,
  // the distance from rect's top to the bottom of the text.
  virtual int DrawText(std::string_view text, Rect& rect, std::uint32_t flags) = 0;

  // With transparent, pixels of the bitmap's bottom-left colour are left out.
  virtual void Draw(Point at, const Bitmap24& bitmap, bool transparent) = 0;
  // Copies `source` of the bitmap onto `dest`, stretched pixel for pixel
  // (each destination pixel takes the nearest source pixel, no blending).
  virtual void StretchDraw(const Rect& dest, const Bitmap24& bitmap, const Rect& source) = 0;

  // A 24-bit surface of the same kind, black to start with, for painting in
  // one piece and copying it here with StretchDraw.
  virtual std::unique_ptr<OffscreenCanvas> CreateOffscreen(int width, int height) = 0;
};

class OffscreenCanvas : public Canvas {
 public:
  virtual Bitmap24 ToBitmap() const = 0;
};

}  // namespace wakumo
