#include "tray/painted_label.h"

namespace wakumo {

TCustomPaintedLabel::TCustomPaintedLabel(UiToolkit& tk, TControl* parent, const std::string& name)
    : TPaintControl(tk, parent, name) {}

void TCustomPaintedLabel::SetAlignment(TextAlign a) {
  if (a == alignment_) return;
  alignment_ = a;
  Repaint();
}

void TCustomPaintedLabel::SetLayout(TTextLayout l) {
  if (l == layout_) return;
  layout_ = l;
  Repaint();
}

void TCustomPaintedLabel::SetWordWrap(bool on) {
  if (on == word_wrap_) return;
  word_wrap_ = on;
  Repaint();
}

void TCustomPaintedLabel::SetShowAccelChar(bool on) {
  if (on == show_accel_char_) return;
  show_accel_char_ = on;
  Repaint();
}

void TCustomPaintedLabel::SetTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  Repaint();
}

void TCustomPaintedLabel::SetAutoSize(bool on) {
  if (on == auto_size_) return;
  auto_size_ = on;
  Repaint();
}

void TCustomPaintedLabel::AdjustBounds(Canvas& canvas, const std::string& text, std::uint32_t flags) {
  if (!auto_size_) return;
  canvas.SetFont(Font());
  Rect measured{0, 0, Width(), 0};
  canvas.DrawText(text.empty() ? " " : text, measured, flags | DT_CALCRECT_);
  const int width = word_wrap_ ? Width() : measured.Width();
  const int height = measured.Height();
  if (width != Width() || height != Height()) SetBounds(Left(), Top(), width, height);
}

std::uint32_t TCustomPaintedLabel::TextFlags() const {
  std::uint32_t flags = DT_EXPANDTABS_;
  switch (alignment_) {
    case TextAlign::taLeftJustify: flags |= DT_LEFT_; break;
    case TextAlign::taRightJustify: flags |= DT_RIGHT_; break;
    case TextAlign::taCenter: flags |= DT_CENTER_; break;
  }
  if (word_wrap_) flags |= DT_WORDBREAK_;
  if (!show_accel_char_) flags |= DT_NOPREFIX_;
  return flags;
}

int TCustomPaintedLabel::LayoutOffset(int text_height) const {
  switch (layout_) {
    case TTextLayout::tlTop: return 0;
    // A text taller than the label starts above it; C++ division truncates
    // toward zero, as the layout rule asks.
    case TTextLayout::tlCenter: return (Height() - text_height) / 2;
    case TTextLayout::tlBottom: return Height() - text_height;
  }
  return 0;
}

void TCustomPaintedLabel::Paint(Canvas& canvas) {
  AdjustBounds(canvas, Caption(), TextFlags());
  const Rect client{0, 0, Width(), Height()};
  if (!transparent_) {
    canvas.SetBrush({Color(), BrushStyle::bsSolid});
    canvas.FillRect(client);
  }
  const std::string text = Caption();
  if (text.empty()) return;
  FontSpec font = Font();
  canvas.SetFont(font);
  canvas.SetBrush({Color(), BrushStyle::bsClear});
  const std::uint32_t flags = TextFlags();
  Rect measured = client;
  canvas.DrawText(text, measured, flags | DT_CALCRECT_);
  Rect r = client;
  const int dy = LayoutOffset(measured.Height());
  r.top += dy;
  r.bottom += dy;
  if (Enabled()) {
    canvas.DrawText(text, r, flags);
    return;
  }
  Rect engraved{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
  font.color = clBtnHighlight;
  canvas.SetFont(font);
  canvas.DrawText(text, engraved, flags);
  font.color = clBtnShadow;
  canvas.SetFont(font);
  canvas.DrawText(text, r, flags);
}

}  // namespace wakumo
