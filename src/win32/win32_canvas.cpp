#include "win32/win32_canvas.h"

#include <algorithm>

#include "win32/win32_handles.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

namespace {

// A bitmap's pixels as a DIB section selected into a memory DC, for blits.
class BitmapSource {
 public:
  explicit BitmapSource(const Bitmap24& bitmap) {
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = bitmap.Width();
    bi.bmiHeader.biHeight = -bitmap.Height();  // top-down, like Bitmap24
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    dib_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib_) return;
    // DIB rows are padded to four bytes; Bitmap24 rows are not.
    const std::size_t stride = (static_cast<std::size_t>(bitmap.Width()) * 3 + 3) & ~static_cast<std::size_t>(3);
    for (int y = 0; y < bitmap.Height(); ++y) {
      std::copy(bitmap.Row(y), bitmap.Row(y) + bitmap.Stride(), static_cast<std::uint8_t*>(bits) + stride * y);
    }
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, dib_);
  }
  ~BitmapSource() {
    if (dc_) {
      SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
    if (dib_) DeleteObject(dib_);
  }
  BitmapSource(const BitmapSource&) = delete;
  BitmapSource& operator=(const BitmapSource&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HBITMAP dib_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// The memory DC and 24-bit DIB section behind an off-screen canvas; a base
// of it so that they exist before the canvas part and outlive it.
struct OffscreenSurface {
  OffscreenSurface(int width, int height) : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0) {
    dc_ = CreateCompatibleDC(nullptr);
    if (width_ == 0 || height_ == 0) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width_;
    bi.bmiHeader.biHeight = -height_;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    dib_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (dib_) {
      // Black to start with.
      std::fill_n(static_cast<std::uint8_t*>(bits_), Stride() * static_cast<std::size_t>(height_), 0);
      old_ = SelectObject(dc_, dib_);
    }
  }
  ~OffscreenSurface() {
    if (old_) SelectObject(dc_, old_);
    if (dib_) DeleteObject(dib_);
    if (dc_) DeleteDC(dc_);
  }
  std::size_t Stride() const { return (static_cast<std::size_t>(width_) * 3 + 3) & ~static_cast<std::size_t>(3); }

  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP dib_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

class Win32OffscreenCanvas : private OffscreenSurface, public GdiCanvasT<OffscreenCanvas> {
 public:
  Win32OffscreenCanvas(Win32Toolkit& tk, int width, int height, UINT dpi)
      : OffscreenSurface(width, height), GdiCanvasT<OffscreenCanvas>(tk, OffscreenSurface::dc_, dpi) {}

  Bitmap24 ToBitmap() const override {
    Bitmap24 out(width_, height_);
    if (!bits_) return out;
    GdiFlush();
    for (int y = 0; y < height_; ++y) {
      const auto* row = static_cast<const std::uint8_t*>(bits_) + Stride() * static_cast<std::size_t>(y);
      std::copy(row, row + out.Stride(), out.Row(y));
    }
    return out;
  }
};

}  // namespace

template <typename Base>
GdiCanvasT<Base>::GdiCanvasT(Win32Toolkit& tk, HDC dc, UINT dpi) : tk_(tk), dc_(dc), dpi_(dpi) {
  old_bk_mode_ = GetBkMode(dc_);
  old_text_color_ = GetTextColor(dc_);
  old_bk_color_ = GetBkColor(dc_);
  old_pen_ = SelectObject(dc_, GetStockObject(BLACK_PEN));
  old_brush_ = SelectObject(dc_, GetStockObject(WHITE_BRUSH));
  old_font_ = SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT));
  SetPolyFillMode(dc_, ALTERNATE);
  SetPen(pen_);
  SetBrush(brush_);
  SetFont(font_);
}

template <typename Base>
GdiCanvasT<Base>::~GdiCanvasT() {
  SelectObject(dc_, old_pen_);
  SelectObject(dc_, old_brush_);
  SelectObject(dc_, old_font_);
  SetBkMode(dc_, old_bk_mode_);
  SetTextColor(dc_, old_text_color_);
  SetBkColor(dc_, old_bk_color_);
  if (pen_object_) DeleteObject(pen_object_);
  if (brush_object_) DeleteObject(brush_object_);
}

template <typename Base>
TColor GdiCanvasT<Base>::ColorToRGB(TColor color) const {
  return static_cast<TColor>(ToColorRef(color));
}

template <typename Base>
void GdiCanvasT<Base>::SetPen(const PenSpec& pen) {
  pen_ = pen;
  HPEN made = nullptr;
  if (pen.style == PenStyle::psClear) {
    SelectObject(dc_, GetStockObject(NULL_PEN));
  } else {
    made = CreatePen(pen.style == PenStyle::psDot ? PS_DOT : PS_SOLID, std::max(1, pen.width), ToColorRef(pen.color));
    SelectObject(dc_, made ? static_cast<HGDIOBJ>(made) : GetStockObject(BLACK_PEN));
  }
  if (pen_object_) DeleteObject(pen_object_);
  pen_object_ = made;
}

template <typename Base>
void GdiCanvasT<Base>::SetBrush(const BrushSpec& brush) {
  brush_ = brush;
  HBRUSH made = nullptr;
  if (brush.style == BrushStyle::bsClear) {
    SelectObject(dc_, GetStockObject(NULL_BRUSH));
  } else {
    made = CreateSolidBrush(ToColorRef(brush.color));
    SelectObject(dc_, made ? static_cast<HGDIOBJ>(made) : GetStockObject(WHITE_BRUSH));
  }
  if (brush_object_) DeleteObject(brush_object_);
  brush_object_ = made;
  ApplyTextBackground();
}

template <typename Base>
void GdiCanvasT<Base>::ApplyTextBackground() {
  // Text takes the brush as its background; a clear brush leaves it out.
  if (brush_.style == BrushStyle::bsClear) {
    SetBkMode(dc_, TRANSPARENT);
  } else {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, ToColorRef(brush_.color));
  }
}

template <typename Base>
void GdiCanvasT<Base>::SetFont(const FontSpec& font) {
  font_ = font;
  SelectObject(dc_, tk_.Font(font, dpi_));
  SetTextColor(dc_, ToColorRef(font.color));
}

template <typename Base>
TColor GdiCanvasT<Base>::GetPixel(Point p) const {
  const COLORREF c = ::GetPixel(dc_, p.x, p.y);
  return c == CLR_INVALID ? kInvalidColor : static_cast<TColor>(c);
}

template <typename Base>
void GdiCanvasT<Base>::SetPixel(Point p, TColor color) {
  SetPixelV(dc_, p.x, p.y, ToColorRef(color));
}

template <typename Base>
void GdiCanvasT<Base>::Polygon(const std::vector<Point>& points) {
  if (points.size() < 2) return;
  std::vector<POINT> pts;
  pts.reserve(points.size());
  for (const Point& p : points) pts.push_back({p.x, p.y});
  ::Polygon(dc_, pts.data(), static_cast<int>(pts.size()));
}

template <typename Base>
TextSize GdiCanvasT<Base>::TextExtent(std::string_view text) {
  const std::wstring w = Wide(text);
  SIZE size{};
  GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(w.size()), &size);
  return {size.cx, size.cy};
}

template <typename Base>
void GdiCanvasT<Base>::TextOut(Point p, std::string_view text) {
  const std::wstring w = Wide(text);
  TextOutW(dc_, p.x, p.y, w.c_str(), static_cast<int>(w.size()));
}

template <typename Base>
int GdiCanvasT<Base>::DrawText(std::string_view text, Rect& rect, std::uint32_t flags) {
  std::wstring w = Wide(text);
  RECT rc = ToRECT(rect);
  const int height = DrawTextW(dc_, w.data(), static_cast<int>(w.size()), &rc, flags);
  if (flags & DT_CALCRECT_) rect = {rc.left, rc.top, rc.right, rc.bottom};
  return height;
}

template <typename Base>
void GdiCanvasT<Base>::Draw(Point at, const Bitmap24& bitmap, bool transparent) {
  BitmapSource source(bitmap);
  if (!source.Dc()) return;
  const int w = bitmap.Width();
  const int h = bitmap.Height();
  if (transparent) {
    const TColor key = bitmap.Pixel(0, h - 1);
    TransparentBlt(dc_, at.x, at.y, w, h, source.Dc(), 0, 0, w, h, static_cast<COLORREF>(key));
  } else {
    BitBlt(dc_, at.x, at.y, w, h, source.Dc(), 0, 0, SRCCOPY);
  }
}

template <typename Base>
void GdiCanvasT<Base>::StretchDraw(const Rect& dest, const Bitmap24& bitmap, const Rect& source_rect) {
  BitmapSource source(bitmap);
  if (!source.Dc()) return;
  // Nearest pixel, no blending.
  const int old_mode = SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, dest.left, dest.top, dest.Width(), dest.Height(), source.Dc(), source_rect.left, source_rect.top,
             source_rect.Width(), source_rect.Height(), SRCCOPY);
  SetStretchBltMode(dc_, old_mode);
}

template <typename Base>
std::unique_ptr<OffscreenCanvas> GdiCanvasT<Base>::CreateOffscreen(int width, int height) {
  return std::make_unique<Win32OffscreenCanvas>(tk_, width, height, dpi_);
}

template class GdiCanvasT<Canvas>;
template class GdiCanvasT<OffscreenCanvas>;

}  // namespace wakumo
