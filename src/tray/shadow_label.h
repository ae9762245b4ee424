#pragma once
// A label whose text is drawn up to three times: a shadow and a highlight,
// offset copies under the main text, over a plain or two-colour gradient
// background; the main text itself can run through two or three colours from
// its first character to its last. The about box shows the product name in
// one, embossed.
#include <functional>
#include <string>
#include <vector>

#include "platform/ansi_code_page.h"
#include "tray/painted_label.h"

namespace wakumo {

// One offset copy of a shadow label's text.
class TShadow {
 public:
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  int OffsetLeft() const { return offset_left_; }
  void SetOffsetLeft(int v);
  int OffsetTop() const { return offset_top_; }
  void SetOffsetTop(int v);
  // Copies all four values and reports one change.
  void Assign(const TShadow& source);

  // After any value changed; an unchanged value reports nothing.
  std::function<void(TShadow&)> OnChange;

 private:
  void Changed() { if (OnChange) OnChange(*this); }

  bool visible_ = true;
  TColor color_ = clSilver;
  int offset_left_ = 1;
  int offset_top_ = 1;
};

enum class TEllipsis { elNone, elEnd, elPath };
enum class TTextGradation { tgNone, tg2Colors, tg3Colors };

class TShadowLabel : public TCustomPaintedLabel {
 public:
  // `code_page`: the text runs count characters as the ANSI code page has
  // them, so that a double-byte character is never split between colours.
  TShadowLabel(UiToolkit& tk, TControl* parent, const std::string& name, const AnsiCodePage& code_page);
  ~TShadowLabel() override;

  TEllipsis Ellipsis() const { return ellipsis_; }
  void SetEllipsis(TEllipsis e);
  // Paint into an off-screen bitmap and copy it in one piece (not with a
  // transparent background).
  bool Flickerless() const { return flickerless_; }
  void SetFlickerless(bool on) { flickerless_ = on; }
  // Background from GradationColor to Color, top to bottom or left to right.
  bool Gradation() const { return gradation_; }
  void SetGradation(bool on);
  bool GradateVert() const { return gradate_vert_; }
  void SetGradateVert(bool on);
  TColor GradationColor() const { return gradation_color_; }
  void SetGradationColor(TColor c);
  TShadow& Highlight() { return highlight_; }
  TShadow& Shadow() { return shadow_; }
  // Copies the values in; null changes nothing.
  void SetHighlight(const TShadow* source);
  void SetShadow(const TShadow* source);
  // The main text runs from the font colour to TextGradationColor, through
  // TextMidColor for three colours.
  TTextGradation TextGradation() const { return text_gradation_; }
  void SetTextGradation(TTextGradation g);
  TColor TextGradationColor() const { return text_gradation_color_; }
  void SetTextGradationColor(TColor c);
  TColor TextMidColor() const { return text_mid_color_; }
  void SetTextMidColor(TColor c);

 protected:
  void Paint(Canvas& canvas) override;

 private:
  // A character of the text as the ANSI code page counts it: its UTF-8 text
  // and how many bytes it takes there.
  struct Character {
    std::string text;
    std::size_t bytes;
  };
  std::vector<Character> Characters(const std::string& text) const;
  void DrawTextRun(Canvas& surface, const std::vector<Character>& chars, Rect& r, std::uint32_t flags);
  void DrawRun(Canvas& surface, TColor from, TColor to, const std::vector<Character>& chars, Rect& r,
               std::uint32_t flags);
  void PaintStretchedGradient(Canvas& canvas, const Rect& r);

  const AnsiCodePage& code_page_;
  TEllipsis ellipsis_ = TEllipsis::elNone;
  bool flickerless_ = true;
  bool gradation_ = false;
  bool gradate_vert_ = false;
  TColor gradation_color_ = clBlue;
  TShadow highlight_;
  TShadow shadow_;
  TTextGradation text_gradation_ = TTextGradation::tgNone;
  TColor text_gradation_color_ = clMaroon;
  TColor text_mid_color_ = clNavy;
};

// Fills a bitmap with a gradient from `from` to `to` (RGB colours), rows top
// to bottom when vertical, else columns left to right; a side of one pixel
// takes `from`. Only one column (or row) is computed; the rest is copied.
void GradientFill(Bitmap24& bitmap, TColor from, TColor to, bool vertical);

}  // namespace wakumo
