#include "ui/canvas.h"

namespace wakumo {

Bitmap24::Bitmap24(int width, int height, TColor fill) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  bytes_.resize(Stride() * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) SetPixel(x, y, fill);
  }
}

TColor Bitmap24::Pixel(int x, int y) const {
  if (!Contains(x, y)) return kInvalidColor;
  const std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * 3;
  return RGBColor(p[2], p[1], p[0]);
}

void Bitmap24::SetPixel(int x, int y, TColor rgb) {
  if (!Contains(x, y)) return;
  std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * 3;
  p[0] = static_cast<std::uint8_t>(rgb >> 16);
  p[1] = static_cast<std::uint8_t>(rgb >> 8);
  p[2] = static_cast<std::uint8_t>(rgb);
}

}  // namespace wakumo
