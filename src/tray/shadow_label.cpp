#include "tray/shadow_label.h"

#include <algorithm>
#include <memory>

#include "core/text.h"

namespace wakumo {

// ---------------------------------------------------------------- TShadow

void TShadow::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed();
}

void TShadow::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  Changed();
}

void TShadow::SetOffsetLeft(int v) {
  if (v == offset_left_) return;
  offset_left_ = v;
  Changed();
}

void TShadow::SetOffsetTop(int v) {
  if (v == offset_top_) return;
  offset_top_ = v;
  Changed();
}

void TShadow::Assign(const TShadow& source) {
  visible_ = source.visible_;
  color_ = source.color_;
  offset_left_ = source.offset_left_;
  offset_top_ = source.offset_top_;
  Changed();
}

// ---------------------------------------------------------------- gradient

namespace {

struct Rgb {
  int r, g, b;
};

Rgb Components(TColor rgb) {
  return {static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>((rgb >> 16) & 0xFF)};
}

// The colour at t in [0, 1]; each component truncated toward zero.
TColor Between(const Rgb& a, const Rgb& b, double t) {
  return RGBColor(static_cast<int>((b.r - a.r) * t + a.r), static_cast<int>((b.g - a.g) * t + a.g),
                  static_cast<int>((b.b - a.b) * t + a.b));
}

}  // namespace

void GradientFill(Bitmap24& bitmap, TColor from, TColor to, bool vertical) {
  const int w = bitmap.Width();
  const int h = bitmap.Height();
  if (w <= 0 || h <= 0) return;
  const Rgb a = Components(from);
  const Rgb b = Components(to);
  if (vertical) {
    for (int y = 0; y < h; ++y) bitmap.SetPixel(0, y, Between(a, b, h == 1 ? 0.0 : static_cast<double>(y) / (h - 1)));
    if (w < 2) return;
    for (int y = 0; y < h; ++y) {
      std::uint8_t* row = bitmap.Row(y);
      for (int x = 1; x < w; ++x) std::copy(row, row + 3, row + static_cast<std::size_t>(x) * 3);
    }
    return;
  }
  for (int x = 0; x < w; ++x) bitmap.SetPixel(x, 0, Between(a, b, w == 1 ? 0.0 : static_cast<double>(x) / (w - 1)));
  for (int y = 1; y < h; ++y) std::copy(bitmap.Row(0), bitmap.Row(0) + bitmap.Stride(), bitmap.Row(y));
}

// ---------------------------------------------------------------- TShadowLabel

TShadowLabel::TShadowLabel(UiToolkit& tk, TControl* parent, const std::string& name, const AnsiCodePage& code_page)
    : TCustomPaintedLabel(tk, parent, name), code_page_(code_page) {
  // Set before the repaint is hooked up: nothing to repaint yet.
  highlight_.SetColor(clWhite);
  highlight_.SetOffsetLeft(-1);
  highlight_.SetOffsetTop(-1);
  highlight_.OnChange = [this](TShadow&) { Repaint(); };
  shadow_.OnChange = [this](TShadow&) { Repaint(); };
}

TShadowLabel::~TShadowLabel() = default;

void TShadowLabel::SetEllipsis(TEllipsis e) {
  if (e == ellipsis_) return;
  ellipsis_ = e;
  Repaint();
}

void TShadowLabel::SetGradation(bool on) {
  if (on == gradation_) return;
  gradation_ = on;
  Repaint();
}

void TShadowLabel::SetGradateVert(bool on) {
  if (on == gradate_vert_) return;
  gradate_vert_ = on;
  Repaint();
}

void TShadowLabel::SetGradationColor(TColor c) {
  if (c == gradation_color_) return;
  gradation_color_ = c;
  Repaint();
}

void TShadowLabel::SetHighlight(const TShadow* source) {
  if (source) highlight_.Assign(*source);
}

void TShadowLabel::SetShadow(const TShadow* source) {
  if (source) shadow_.Assign(*source);
}

void TShadowLabel::SetTextGradation(TTextGradation g) {
  if (g == text_gradation_) return;
  text_gradation_ = g;
  Repaint();
}

void TShadowLabel::SetTextGradationColor(TColor c) {
  if (c == text_gradation_color_) return;
  text_gradation_color_ = c;
  if (text_gradation_ != TTextGradation::tgNone) Repaint();
}

void TShadowLabel::SetTextMidColor(TColor c) {
  if (c == text_mid_color_) return;
  text_mid_color_ = c;
  if (text_gradation_ == TTextGradation::tg3Colors) Repaint();
}

std::vector<TShadowLabel::Character> TShadowLabel::Characters(const std::string& text) const {
  std::vector<Character> out;
  const std::u16string units = Utf8ToUtf16(text);
  for (std::size_t i = 0; i < units.size();) {
    const std::size_t n = DecodeUtf16At(units, i).length;
    std::string piece = Utf16ToUtf8(std::u16string_view(units).substr(i, n));
    // A character the code page lacks becomes one "?" there.
    const std::size_t bytes = std::max<std::size_t>(code_page_.FromUtf8(piece).size(), 1);
    out.push_back({std::move(piece), bytes});
    i += n;
  }
  return out;
}

void TShadowLabel::Paint(Canvas& canvas) {
  std::string text = Caption();
  // DrawText needs something to measure, and a lone "&" would vanish as a prefix.
  if (text.empty() || (ShowAccelChar() && text == "&")) text += ' ';
  std::uint32_t flags = TextFlags();
  if (ellipsis_ == TEllipsis::elEnd) flags |= DT_END_ELLIPSIS_;
  if (ellipsis_ == TEllipsis::elPath) flags |= DT_PATH_ELLIPSIS_;
  AdjustBounds(canvas, text, flags);

  const Rect client{0, 0, Width(), Height()};
  const bool offscreen = flickerless_ && !Transparent();
  std::unique_ptr<OffscreenCanvas> bitmap;
  Canvas* surface = &canvas;
  if (offscreen) {
    bitmap = canvas.CreateOffscreen(client.Width(), client.Height());
    surface = bitmap.get();
  }

  if (!Transparent()) {
    if (!gradation_) {
      surface->SetBrush({Color(), BrushStyle::bsSolid});
      surface->FillRect(client);
    } else if (flickerless_) {
      Bitmap24 fill(client.Width(), client.Height());
      GradientFill(fill, surface->ColorToRGB(gradation_color_), surface->ColorToRGB(Color()), gradate_vert_);
      surface->Draw({0, 0}, fill, false);
    } else {
      PaintStretchedGradient(canvas, client);
    }
  }

  FontSpec font = Font();
  surface->SetFont(font);
  surface->SetBrush({Color(), BrushStyle::bsClear});
  Rect measured = client;
  surface->DrawText(text, measured, flags | DT_CALCRECT_);
  const Rect r = OffsetRect(client, {0, LayoutOffset(measured.Height())});

  const bool enabled = Enabled();
  const TColor shadow_color = enabled ? shadow_.Color() : clGray;
  const TColor highlight_color = enabled ? highlight_.Color() : clBtnHighlight;
  const TColor text_color = enabled ? font.color : clBtnShadow;
  const auto draw = [&](TColor color, Rect at) {
    font.color = color;
    surface->SetFont(font);
    surface->DrawText(text, at, flags);
  };
  if (shadow_.Visible()) draw(shadow_color, OffsetRect(r, {shadow_.OffsetLeft(), shadow_.OffsetTop()}));
  if (highlight_.Visible()) draw(highlight_color, OffsetRect(r, {highlight_.OffsetLeft(), highlight_.OffsetTop()}));

  const std::vector<Character> chars = Characters(text);
  if (text_gradation_ != TTextGradation::tgNone && chars.size() > 1) {
    Rect run = r;
    DrawTextRun(*surface, chars, run, flags);
  } else {
    draw(text_color, r);
  }

  if (bitmap) canvas.Draw({0, 0}, bitmap->ToBitmap(), false);
}

void TShadowLabel::DrawTextRun(Canvas& surface, const std::vector<Character>& chars, Rect& r, std::uint32_t flags) {
  const TColor start = Font().color;
  if (text_gradation_ == TTextGradation::tg2Colors || chars.size() == 2) {
    DrawRun(surface, start, text_gradation_color_, chars, r, flags);
    return;
  }
  // The split falls after byte k, half the text's length in the code page;
  // when byte k starts a double-byte character, after that whole character.
  std::size_t total = 0;
  for (const Character& c : chars) total += c.bytes;
  const std::size_t k = total / 2;
  std::size_t split = 0;
  std::size_t covered = 0;
  while (split < chars.size() && covered + chars[split].bytes <= k) covered += chars[split++].bytes;
  if (covered < k) ++split;
  const std::vector<Character> first(chars.begin(), chars.begin() + static_cast<std::ptrdiff_t>(split));
  const std::vector<Character> rest(chars.begin() + static_cast<std::ptrdiff_t>(split), chars.end());
  DrawRun(surface, start, text_mid_color_, first, r, flags);
  if (rest.size() == 1) {
    DrawRun(surface, text_gradation_color_, text_gradation_color_, rest, r, flags);
  } else {
    DrawRun(surface, text_mid_color_, text_gradation_color_, rest, r, flags);
  }
}

void TShadowLabel::DrawRun(Canvas& surface, TColor from, TColor to, const std::vector<Character>& chars, Rect& r,
                           std::uint32_t flags) {
  if (chars.empty()) return;
  FontSpec font = Font();
  if (chars.size() == 1) {
    font.color = from;
    surface.SetFont(font);
    Rect at = r;
    surface.DrawText(chars[0].text, at, flags);
    r.left += surface.TextExtent(chars[0].text).cx;
    return;
  }
  const Rgb a = Components(surface.ColorToRGB(from));
  const Rgb b = Components(surface.ColorToRGB(to));
  surface.SetFont(font);
  const int overhang = surface.GetTextMetrics().overhang;
  const std::size_t last = chars.size() - 1;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    font.color = Between(a, b, static_cast<double>(i) / static_cast<double>(last));
    surface.SetFont(font);
    const int next = r.left + surface.TextExtent(chars[i].text).cx - overhang;
    Rect at = r;
    surface.DrawText(chars[i].text, at, flags);
    r.left = next;
  }
}

void TShadowLabel::PaintStretchedGradient(Canvas& canvas, const Rect& r) {
  // A column for a vertical gradient; for a horizontal one a strip a
  // twentieth of the height, since every row is the same.
  Bitmap24 strip = gradate_vert_ ? Bitmap24(1, r.Height()) : Bitmap24(r.Width(), r.Height() / 20 + 1);
  GradientFill(strip, canvas.ColorToRGB(gradation_color_), canvas.ColorToRGB(Color()), gradate_vert_);
  canvas.StretchDraw(r, strip, {0, 0, strip.Width(), strip.Height()});
}

}  // namespace wakumo
