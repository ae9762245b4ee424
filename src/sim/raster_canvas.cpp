#include "sim/raster_canvas.h"

#include <algorithm>
#include <cstdlib>

#include "core/text.h"

namespace wakumo {

namespace {

// Bresenham walks every pixel of a line; a test canvas never needs more.
constexpr long long kMaxLineSteps = 1LL << 24;

std::vector<char32_t> DecodeUtf8(std::string_view s) {
  std::vector<char32_t> out;
  for (std::size_t i = 0; i < s.size();) {
    const DecodedChar d = DecodeUtf8At(s, i);
    out.push_back(d.valid ? d.code_point : 0xFFFD);
    i += d.length;
  }
  return out;
}

bool IsWide(char32_t c) {
  if (c < 0x1100) return false;
  if (c >= 0xFF61 && c <= 0xFFDC) return false;  // half-width katakana and hangul
  if (c >= 0xFFE8 && c <= 0xFFEE) return false;
  return true;
}

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t' || c == 0x3000; }

bool IsVisible(char32_t c) { return c >= 0x20 && !IsBlank(c); }

Rect Intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

// Smallest integer >= num / den, den > 0.
long long CeilDiv(__int128 num, __int128 den) {
  __int128 q = num / den;
  if (num % den != 0 && num > 0) ++q;
  return static_cast<long long>(q);
}

}  // namespace

RasterCanvas::RasterCanvas(int width, int height, TColor background)
    : surface_(width, height, ColorToRGB(background)) {}

TColor RasterCanvas::SystemColor(int index) {
  static constexpr TColor kScheme[31] = {
      RGBColor(200, 200, 200),  // 0 scroll bar
      RGBColor(58, 110, 165),   // 1 desktop
      RGBColor(153, 180, 209),  // 2 active caption
      RGBColor(191, 205, 219),  // 3 inactive caption
      RGBColor(241, 241, 241),  // 4 menu
      RGBColor(255, 255, 254),  // 5 window
      RGBColor(100, 100, 100),  // 6 window frame
      RGBColor(2, 2, 2),        // 7 menu text
      RGBColor(1, 1, 1),        // 8 window text
      RGBColor(3, 3, 3),        // 9 caption text
      RGBColor(180, 180, 180),  // 10 active border
      RGBColor(244, 247, 252),  // 11 inactive border
      RGBColor(171, 171, 171),  // 12 application workspace
      RGBColor(0, 120, 215),    // 13 highlight
      RGBColor(254, 255, 255),  // 14 highlight text
      RGBColor(240, 240, 240),  // 15 button face
      RGBColor(160, 160, 160),  // 16 button shadow
      RGBColor(109, 109, 109),  // 17 grey text
      RGBColor(4, 4, 4),        // 18 button text
      RGBColor(5, 5, 5),        // 19 inactive caption text
      RGBColor(255, 254, 255),  // 20 button highlight
      RGBColor(105, 105, 105),  // 21 3-D dark shadow
      RGBColor(227, 227, 227),  // 22 3-D light
      RGBColor(6, 6, 6),        // 23 tooltip text
      RGBColor(255, 255, 225),  // 24 tooltip background
      RGBColor(7, 7, 7),        // 25 unused
      RGBColor(0, 102, 204),    // 26 hot-tracked item
      RGBColor(185, 209, 234),  // 27 active caption gradient
      RGBColor(215, 228, 242),  // 28 inactive caption gradient
      RGBColor(0, 120, 216),    // 29 menu highlight
      RGBColor(240, 240, 241),  // 30 menu bar
  };
  if (index < 0 || index > 30) return clBlack;
  return kScheme[index];
}

TColor RasterCanvas::ColorToRGB(TColor color) const {
  if (color & kSystemColorFlag) return SystemColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFFu;
}

void RasterCanvas::Clear(TColor color) {
  TColor rgb = ColorToRGB(color);
  for (int y = 0; y < surface_.Height(); ++y)
    for (int x = 0; x < surface_.Width(); ++x) surface_.SetPixel(x, y, rgb);
}

std::string RasterCanvas::Ascii(const Rect& area, const std::map<TColor, char>& palette) const {
  std::string out;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      TColor px = surface_.Pixel(x, y);
      char ch = px == kInvalidColor ? ' ' : '?';
      for (const auto& [color, c] : palette) {
        if (px != kInvalidColor && ColorToRGB(color) == px) {
          ch = c;
          break;
        }
      }
      out.push_back(ch);
    }
    out.push_back('\n');
  }
  return out;
}

int RasterCanvas::CountPixels(const Rect& area, TColor color) const {
  Rect r = Intersect(area, {0, 0, Width(), Height()});
  TColor rgb = ColorToRGB(color);
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += surface_.Pixel(x, y) == rgb ? 1 : 0;
  return n;
}

void RasterCanvas::SetPen(const PenSpec& pen) { pen_ = pen; }

void RasterCanvas::Plot(int x, int y, TColor rgb, const Rect& clip) {
  if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return;
  surface_.SetPixel(x, y, rgb);
}

void RasterCanvas::PenLine(Point from, Point to) {
  if (pen_.style == PenStyle::psClear) return;
  const TColor rgb = ColorToRGB(pen_.color);
  const Rect clip{0, 0, Width(), Height()};
  const int w = std::max(1, pen_.width);
  long long x = from.x, y = from.y;
  const long long dx = std::llabs(static_cast<long long>(to.x) - x);
  const long long dy = -std::llabs(static_cast<long long>(to.y) - y);
  const int sx = from.x < to.x ? 1 : -1;
  const int sy = from.y < to.y ? 1 : -1;
  long long err = dx + dy;
  for (long long steps = 0; !(x == to.x && y == to.y) && steps < kMaxLineSteps; ++steps) {
    bool on = pen_.style != PenStyle::psDot || (dot_phase_++ % 2) == 0;
    if (on) {
      if (w == 1) {
        Plot(static_cast<int>(x), static_cast<int>(y), rgb, clip);
      } else {
        for (int oy = -(w - 1) / 2; oy <= w / 2; ++oy)
          for (int ox = -(w - 1) / 2; ox <= w / 2; ++ox)
            Plot(static_cast<int>(x + ox), static_cast<int>(y + oy), rgb, clip);
      }
    }
    long long e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void RasterCanvas::MoveTo(Point p) {
  pen_pos_ = p;
  dot_phase_ = 0;
}

void RasterCanvas::LineTo(Point p) {
  PenLine(pen_pos_, p);
  pen_pos_ = p;
}

void RasterCanvas::Polygon(const std::vector<Point>& points) {
  if (points.size() < 2) return;
  if (brush_.style == BrushStyle::bsSolid) {
    const TColor rgb = ColorToRGB(brush_.color);
    int ymin = points[0].y, ymax = points[0].y;
    for (const Point& p : points) {
      ymin = std::min(ymin, p.y);
      ymax = std::max(ymax, p.y);
    }
    ymin = std::max(ymin, 0);
    ymax = std::min(ymax, Height());
    std::vector<long long> xs;
    for (int y = ymin; y < ymax; ++y) {
      xs.clear();
      for (std::size_t i = 0; i < points.size(); ++i) {
        Point a = points[i], b = points[(i + 1) % points.size()];
        if (a.y == b.y) continue;
        if (a.y > b.y) std::swap(a, b);
        // Half-open in y: a vertex shared by two edges counts once, and the
        // bottom row of the shape stays outside like the right column.
        if (y < a.y || y >= b.y) continue;
        __int128 num = static_cast<__int128>(a.x) * (b.y - a.y) + static_cast<__int128>(y - a.y) * (b.x - a.x);
        // Pixel x lies right of or on the crossing when x >= ceil(crossing).
        xs.push_back(CeilDiv(num, b.y - a.y));
      }
      std::sort(xs.begin(), xs.end());
      for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
        long long x0 = std::max<long long>(xs[i], 0), x1 = std::min<long long>(xs[i + 1], Width());
        for (long long x = x0; x < x1; ++x) surface_.SetPixel(static_cast<int>(x), y, rgb);
      }
    }
  }
  dot_phase_ = 0;
  for (std::size_t i = 0; i < points.size(); ++i) PenLine(points[i], points[(i + 1) % points.size()]);
}

void RasterCanvas::FillRect(const Rect& r) {
  if (brush_.style != BrushStyle::bsSolid) return;
  const TColor rgb = ColorToRGB(brush_.color);
  Rect c = Intersect(r, {0, 0, Width(), Height()});
  for (int y = c.top; y < c.bottom; ++y)
    for (int x = c.left; x < c.right; ++x) surface_.SetPixel(x, y, rgb);
}

void RasterCanvas::FrameRect(const Rect& r) {
  if (brush_.style != BrushStyle::bsSolid || r.right <= r.left || r.bottom <= r.top) return;
  FillRect({r.left, r.top, r.right, r.top + 1});
  FillRect({r.left, r.bottom - 1, r.right, r.bottom});
  FillRect({r.left, r.top, r.left + 1, r.bottom});
  FillRect({r.right - 1, r.top, r.right, r.bottom});
}

int RasterCanvas::LineHeight() const { return std::max(1, std::abs(font_.height)); }

int RasterCanvas::Advance(char32_t ch) const {
  int h = LineHeight();
  int adv = IsWide(ch) ? h : std::max(1, (h + 1) / 2);
  return adv + (font_.bold ? 1 : 0);
}

int RasterCanvas::GlyphAdvance(const Glyph& g, int x_in_line, bool expand_tabs) const {
  if (g.ch == U'\t' && expand_tabs) {
    int stop = 8 * Advance(U' ');
    return stop - (x_in_line % stop);
  }
  return Advance(g.ch);
}

int RasterCanvas::LineWidth(const Line& line, bool expand_tabs) const {
  int x = 0;
  for (const Glyph& g : line) x += GlyphAdvance(g, x, expand_tabs);
  return x;
}

void RasterCanvas::DrawLine(const Line& line, int x, int y, bool expand_tabs, const Rect& clip) {
  const int h = LineHeight();
  const TColor ink = ColorToRGB(font_.color);
  const TColor back = ColorToRGB(brush_.color);
  const bool opaque = brush_.style == BrushStyle::bsSolid;
  int pos = 0;
  for (const Glyph& g : line) {
    const int adv = GlyphAdvance(g, pos, expand_tabs);
    const int gx = x + pos;
    if (opaque) {
      for (int yy = y; yy < y + h; ++yy)
        for (int xx = gx; xx < gx + adv; ++xx) Plot(xx, yy, back, clip);
    }
    if (IsVisible(g.ch)) {
      const int right = adv >= 2 ? gx + adv - 1 : gx + adv;
      const int top = h >= 3 ? y + 1 : y;
      const int bottom = h >= 3 ? y + h - 1 : y + h;
      for (int yy = top; yy < bottom; ++yy)
        for (int xx = gx; xx < right; ++xx) Plot(xx, yy, ink, clip);
    }
    if (g.underline || font_.underline) {
      for (int xx = gx; xx < gx + adv; ++xx) Plot(xx, y + h - 1, ink, clip);
    }
    pos += adv;
  }
}

TextSize RasterCanvas::TextExtent(std::string_view text) {
  Line line;
  for (char32_t c : DecodeUtf8(text)) line.push_back({c, false});
  return {LineWidth(line, false), LineHeight()};
}

TextMetrics RasterCanvas::GetTextMetrics() {
  TextMetrics m;
  m.height = LineHeight();
  m.descent = m.height / 5;
  m.ascent = m.height - m.descent;
  m.ave_char_width = Advance(U'x');
  m.overhang = 0;
  return m;
}

void RasterCanvas::TextOut(Point p, std::string_view text) {
  Line line;
  for (char32_t c : DecodeUtf8(text)) line.push_back({c, false});
  DrawLine(line, p.x, p.y, false, {0, 0, Width(), Height()});
}

int RasterCanvas::DrawText(std::string_view text, Rect& rect, std::uint32_t flags) {
  const bool expand_tabs = (flags & DT_EXPANDTABS_) != 0;
  const bool single = (flags & DT_SINGLELINE_) != 0;
  const int max_width = rect.Width();

  // Accelerator prefixes: "&x" underlines x, "&&" is a plain "&".
  Line glyphs;
  const std::vector<char32_t> chars = DecodeUtf8(text);
  for (std::size_t i = 0; i < chars.size(); ++i) {
    if (!(flags & DT_NOPREFIX_) && chars[i] == U'&') {
      if (i + 1 >= chars.size()) break;
      ++i;
      glyphs.push_back({chars[i], chars[i] != U'&'});
      continue;
    }
    glyphs.push_back({chars[i], false});
  }

  std::vector<Line> paragraphs;
  if (single) {
    paragraphs.push_back(glyphs);
  } else if (!glyphs.empty()) {
    paragraphs.emplace_back();
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
      char32_t c = glyphs[i].ch;
      if (c == U'\r' || c == U'\n') {
        if (c == U'\r' && i + 1 < glyphs.size() && glyphs[i + 1].ch == U'\n') ++i;
        paragraphs.emplace_back();
      } else {
        paragraphs.back().push_back(glyphs[i]);
      }
    }
  }

  std::vector<Line> lines;
  for (const Line& para : paragraphs) {
    if (single || !(flags & DT_WORDBREAK_) || para.empty()) {
      lines.push_back(para);
      continue;
    }
    std::size_t i = 0;
    const std::size_t n = para.size();
    while (i < n) {
      int x = 0;
      std::size_t j = i;
      while (j < n) {
        int adv = GlyphAdvance(para[j], x, expand_tabs);
        if (x + adv > max_width && j > i) break;
        x += adv;
        ++j;
      }
      if (j == n) {
        lines.emplace_back(para.begin() + static_cast<std::ptrdiff_t>(i), para.end());
        break;
      }
      std::size_t k = j;
      bool found = false;
      for (; k > i; --k) {
        if (IsBlank(para[k].ch) || IsBlank(para[k - 1].ch) || IsWide(para[k - 1].ch) || IsWide(para[k].ch)) {
          found = true;
          break;
        }
      }
      if (!found) k = j;  // one word wider than the line: break inside it
      Line line(para.begin() + static_cast<std::ptrdiff_t>(i), para.begin() + static_cast<std::ptrdiff_t>(k));
      while (!line.empty() && IsBlank(line.back().ch)) line.pop_back();
      lines.push_back(std::move(line));
      i = k;
      while (i < n && IsBlank(para[i].ch)) ++i;
    }
  }

  if (flags & (DT_END_ELLIPSIS_ | DT_PATH_ELLIPSIS_)) {
    const Line dots{{U'.', false}, {U'.', false}, {U'.', false}};
    for (Line& line : lines) {
      if (LineWidth(line, expand_tabs) <= max_width) continue;
      std::size_t slash = line.size();
      if (flags & DT_PATH_ELLIPSIS_) {
        for (std::size_t i = line.size(); i-- > 0;) {
          if (line[i].ch == U'\\' || line[i].ch == U'/') {
            slash = i;
            break;
          }
        }
      }
      Line head(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(slash));
      const Line tail(line.begin() + static_cast<std::ptrdiff_t>(slash), line.end());
      auto joined = [&] {
        Line out = head;
        out.insert(out.end(), dots.begin(), dots.end());
        out.insert(out.end(), tail.begin(), tail.end());
        return out;
      };
      while (!head.empty() && LineWidth(joined(), expand_tabs) > max_width) head.pop_back();
      line = joined();
    }
  }

  const int h = LineHeight();
  const int total = static_cast<int>(lines.size()) * h;
  if (flags & DT_CALCRECT_) {
    int widest = 0;
    for (const Line& line : lines) widest = std::max(widest, LineWidth(line, expand_tabs));
    rect.right = rect.left + widest;
    rect.bottom = rect.top + total;
    return total;
  }

  int y = rect.top;
  if (single && (flags & DT_VCENTER_)) {
    y = rect.top + (rect.Height() - h) / 2;
  } else if (single && (flags & DT_BOTTOM_)) {
    y = rect.bottom - h;
  }
  const Rect surface{0, 0, Width(), Height()};
  const Rect clip = (flags & DT_NOCLIP_) ? surface : Intersect(rect, surface);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int width = LineWidth(lines[i], expand_tabs);
    int x = rect.left;
    if (flags & DT_CENTER_) {
      x = rect.left + (max_width - width) / 2;
    } else if (flags & DT_RIGHT_) {
      x = rect.right - width;
    }
    DrawLine(lines[i], x, y + static_cast<int>(i) * h, expand_tabs, clip);
  }
  if (single && (flags & (DT_VCENTER_ | DT_BOTTOM_))) return y - rect.top + total;
  return total;
}

void RasterCanvas::Draw(Point at, const Bitmap24& bitmap, bool transparent) {
  if (bitmap.Width() == 0) return;
  const TColor key = bitmap.Pixel(0, bitmap.Height() - 1);
  const Rect clip{0, 0, Width(), Height()};
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      TColor px = bitmap.Pixel(x, y);
      if (transparent && px == key) continue;
      Plot(at.x + x, at.y + y, px, clip);
    }
  }
}

void RasterCanvas::StretchDraw(const Rect& dest, const Bitmap24& bitmap, const Rect& source) {
  const long long dw = dest.Width(), dh = dest.Height();
  const long long sw = source.Width(), sh = source.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || bitmap.Width() == 0) return;
  // Read the source first: it may be this canvas's own surface.
  const Bitmap24 src = bitmap;
  const Rect c = Intersect(dest, {0, 0, Width(), Height()});
  for (int y = c.top; y < c.bottom; ++y) {
    long long sy = source.top + (y - dest.top) * sh / dh;
    sy = std::clamp<long long>(sy, 0, src.Height() - 1);
    for (int x = c.left; x < c.right; ++x) {
      long long sx = source.left + (x - dest.left) * sw / dw;
      sx = std::clamp<long long>(sx, 0, src.Width() - 1);
      surface_.SetPixel(x, y, src.Pixel(static_cast<int>(sx), static_cast<int>(sy)));
    }
  }
}

std::unique_ptr<OffscreenCanvas> RasterCanvas::CreateOffscreen(int width, int height) {
  return std::make_unique<RasterCanvas>(width, height, clBlack);
}

}  // namespace wakumo
