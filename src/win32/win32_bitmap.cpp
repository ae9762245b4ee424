#include "win32/win32_bitmap.h"

namespace wakumo {

namespace {

// Ternary raster operation: where the source is black take the brush, where
// it is white keep the destination.
constexpr DWORD kRopPaintBrushThroughMask = 0x00B8074A;

}  // namespace

ResourceBitmap::ResourceBitmap(HINSTANCE instance, const std::wstring& name) {
  bitmap_ = static_cast<HBITMAP>(LoadImageW(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap_) return;
  BITMAP info{};
  if (GetObjectW(bitmap_, sizeof(info), &info) == 0) {
    DeleteObject(bitmap_);
    bitmap_ = nullptr;
    return;
  }
  width_ = info.bmWidth;
  height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
}

ResourceBitmap::~ResourceBitmap() {
  if (bitmap_) DeleteObject(bitmap_);
}

void ResourceBitmap::Draw(HDC dc, int x, int y, int w, int h, bool transparent) const {
  if (!bitmap_) return;
  HDC src = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(src, bitmap_);
  if (transparent) {
    TransparentBlt(dc, x, y, w, h, src, 0, 0, width_, height_, kTransparentColor);
  } else {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, w, h, src, 0, 0, width_, height_, SRCCOPY);
  }
  SelectObject(src, old);
  DeleteDC(src);
}

void ResourceBitmap::DrawDisabled(HDC dc, int x, int y, int w, int h) const {
  if (!bitmap_) return;
  HDC src = CreateCompatibleDC(dc);
  HDC mask_dc = CreateCompatibleDC(dc);
  HBITMAP mask = CreateBitmap(width_, height_, 1, 1, nullptr);
  HGDIOBJ old_src = SelectObject(src, bitmap_);
  HGDIOBJ old_mask = SelectObject(mask_dc, mask);
  // Mask: white where the glyph has silver or white, black on its shape.
  SetBkColor(src, kTransparentColor);
  BitBlt(mask_dc, 0, 0, width_, height_, src, 0, 0, SRCCOPY);
  SetBkColor(src, RGB(255, 255, 255));
  BitBlt(mask_dc, 0, 0, width_, height_, src, 0, 0, SRCPAINT);

  const COLORREF old_text = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF old_bk = SetBkColor(dc, RGB(255, 255, 255));
  SetStretchBltMode(dc, COLORONCOLOR);
  HGDIOBJ old_brush = SelectObject(dc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
  StretchBlt(dc, x + 1, y + 1, w, h, mask_dc, 0, 0, width_, height_, kRopPaintBrushThroughMask);
  SelectObject(dc, GetSysColorBrush(COLOR_BTNSHADOW));
  StretchBlt(dc, x, y, w, h, mask_dc, 0, 0, width_, height_, kRopPaintBrushThroughMask);
  SelectObject(dc, old_brush);
  SetTextColor(dc, old_text);
  SetBkColor(dc, old_bk);

  SelectObject(mask_dc, old_mask);
  SelectObject(src, old_src);
  DeleteObject(mask);
  DeleteDC(mask_dc);
  DeleteDC(src);
}

}  // namespace wakumo
