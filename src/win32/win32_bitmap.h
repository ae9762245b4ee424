#pragma once
// Bitmaps from the program's resources, drawn with their silver background
// left out.
#include <string>

#include "win32/win32_api.h"

namespace wakumo {

// The colour that bitmaps mark as background.
inline constexpr COLORREF kTransparentColor = RGB(192, 192, 192);

class ResourceBitmap {
 public:
  ResourceBitmap(HINSTANCE instance, const std::wstring& name);
  ~ResourceBitmap();
  ResourceBitmap(const ResourceBitmap&) = delete;
  ResourceBitmap& operator=(const ResourceBitmap&) = delete;

  bool Valid() const { return bitmap_ != nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Draws the bitmap stretched to (x, y, w, h); with `transparent` the silver
  // pixels keep what is below them.
  void Draw(HDC dc, int x, int y, int w, int h, bool transparent) const;
  // Draws the shape (everything but silver and white) embossed in the button
  // highlight and shadow colours, as disabled buttons show their glyphs.
  void DrawDisabled(HDC dc, int x, int y, int w, int h) const;

 private:
  HBITMAP bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace wakumo
