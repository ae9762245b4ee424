#pragma once
// A label that paints itself on the canvas port: caption, font, colour and
// enabled state as every control has them, plus what the classic label adds
// (alignment, vertical layout, word wrap, the "&" accelerator prefix and a
// see-through background). The base of the shadow and URL labels, which
// change only how it paints or how it follows the mouse.
#include <cstdint>
#include <string>

#include "ui/canvas.h"
#include "ui/paint_control.h"

namespace wakumo {

enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TCustomPaintedLabel : public TPaintControl {
 public:
  TCustomPaintedLabel(UiToolkit& tk, TControl* parent, const std::string& name);

  TextAlign Alignment() const { return alignment_; }
  void SetAlignment(TextAlign a);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout l);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool on);
  // "&x" underlines x and "&&" shows one "&" while on; shown as typed when off.
  bool ShowAccelChar() const { return show_accel_char_; }
  void SetShowAccelChar(bool on);
  // No background: what lies behind the label shows through.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);
  // The label takes the size of its text (with WordWrap only the height)
  // when it paints, so a font taller than designed is not cut off. Off to
  // start with: the bounds given are kept.
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool on);

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  // Alignment, expanded tabs, word break and prefix handling as text format flags.
  std::uint32_t TextFlags() const;
  // How far down the client area a text `text_height` high starts.
  int LayoutOffset(int text_height) const;
  // With AutoSize, gives the label the size `text` takes on the canvas; the
  // new size shows from the next paint on.
  void AdjustBounds(Canvas& canvas, const std::string& text, std::uint32_t flags);
  // The classic label: the background unless transparent, the text in the
  // font's colour, or engraved (highlight under button shadow) when disabled.
  void Paint(Canvas& canvas) override;
  void MouseEnter() override { if (OnMouseEnter) OnMouseEnter(); }
  void MouseLeave() override { if (OnMouseLeave) OnMouseLeave(); }

 private:
  TextAlign alignment_ = TextAlign::taLeftJustify;
  TTextLayout layout_ = TTextLayout::tlTop;
  bool word_wrap_ = false;
  bool show_accel_char_ = true;
  bool transparent_ = false;
  bool auto_size_ = false;
};

}  // namespace wakumo
