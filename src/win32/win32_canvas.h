#pragma once
// The canvas port on a GDI device context, for the painted controls, and an
// off-screen 24-bit surface of the same kind.
#include <memory>
#include <string_view>
#include <vector>

#include "ui/canvas.h"
#include "win32/win32_api.h"
#include "win32/win32_handles.h"

namespace wakumo {

class Win32Toolkit;

// Draws on `dc` (not owned) in device pixels; font heights are design pixels
// scaled to `dpi`. Puts the device context's objects back when destroyed.
template <typename Base>
class GdiCanvasT : public Base {
 public:
  GdiCanvasT(Win32Toolkit& tk, HDC dc, UINT dpi);
  ~GdiCanvasT() override;
  GdiCanvasT(const GdiCanvasT&) = delete;
  GdiCanvasT& operator=(const GdiCanvasT&) = delete;

  TColor ColorToRGB(TColor color) const override;
  void SetPen(const PenSpec& pen) override;
  PenSpec Pen() const override { return pen_; }
  void SetBrush(const BrushSpec& brush) override;
  BrushSpec Brush() const override { return brush_; }
  void SetFont(const FontSpec& font) override;
  FontSpec Font() const override { return font_; }
  TColor GetPixel(Point p) const override;
  void SetPixel(Point p, TColor color) override;
  void MoveTo(Point p) override { MoveToEx(dc_, p.x, p.y, nullptr); }
  void LineTo(Point p) override { ::LineTo(dc_, p.x, p.y); }
  Point PenPos() const override {
    POINT pt{};
    GetCurrentPositionEx(dc_, &pt);
    return {pt.x, pt.y};
  }
  void Polygon(const std::vector<Point>& points) override;
  void FillRect(const Rect& r) override {
    const RECT rc = ToRECT(r);
    if (Brushes()) ::FillRect(dc_, &rc, brush_object_);
  }
  void FrameRect(const Rect& r) override {
    const RECT rc = ToRECT(r);
    if (Brushes()) ::FrameRect(dc_, &rc, brush_object_);
  }
  TextSize TextExtent(std::string_view text) override;
  TextMetrics GetTextMetrics() override {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc_, &tm);
    return {tm.tmHeight, tm.tmAscent, tm.tmDescent, tm.tmAveCharWidth, tm.tmOverhang};
  }
  void TextOut(Point p, std::string_view text) override;
  int DrawText(std::string_view text, Rect& rect, std::uint32_t flags) override;
  void Draw(Point at, const Bitmap24& bitmap, bool transparent) override;
  void StretchDraw(const Rect& dest, const Bitmap24& bitmap, const Rect& source) override;
  std::unique_ptr<OffscreenCanvas> CreateOffscreen(int width, int height) override;

 protected:
  Win32Toolkit& tk_;
  HDC dc_;
  UINT dpi_;

 private:
  void ApplyTextBackground();
  // A clear brush paints nothing.
  bool Brushes() const { return brush_.style != BrushStyle::bsClear && brush_object_; }

  PenSpec pen_;
  BrushSpec brush_;
  FontSpec font_;
  HPEN pen_object_ = nullptr;
  HBRUSH brush_object_ = nullptr;
  HGDIOBJ old_pen_ = nullptr;
  HGDIOBJ old_brush_ = nullptr;
  HGDIOBJ old_font_ = nullptr;
  int old_bk_mode_ = 0;
  COLORREF old_text_color_ = 0;
  COLORREF old_bk_color_ = 0;
};

using GdiCanvas = GdiCanvasT<Canvas>;
extern template class GdiCanvasT<Canvas>;
extern template class GdiCanvasT<OffscreenCanvas>;

}  // namespace wakumo
