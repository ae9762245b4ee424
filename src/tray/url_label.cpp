#include "tray/url_label.h"

#include "ui/application.h"

namespace wakumo {

TURLLabel::TURLLabel(UiToolkit& tk, TControl* parent, const std::string& name, Shell& shell)
    : TCustomPaintedLabel(tk, parent, name), shell_(shell) {
  // Every label registers the cursor again; the number stays the same.
  TScreen(tk).RegisterCursor(kHandPointCursor, kHandPointCursorResource);
  SetCursor(kHandPointCursor);
}

void TURLLabel::SetHotTrack(bool on) {
  if (on == hot_track_) return;
  hot_track_ = on;
  if (!on && saved_color_) {
    SetFontColor(*saved_color_);
    saved_color_.reset();
  }
  Repaint();
}

void TURLLabel::SetHotColor(TColor c) {
  if (c == hot_color_) return;
  hot_color_ = c;
  Repaint();
}

void TURLLabel::SetPushedColor(TColor c) {
  if (c == pushed_color_) return;
  pushed_color_ = c;
  Repaint();
}

void TURLLabel::SetFontColor(TColor c) {
  FontSpec f = Font();
  f.color = c;
  SetFont(f);
}

void TURLLabel::MouseEnter() {
  TCustomPaintedLabel::MouseEnter();
  if (!hot_track_) return;
  if (!saved_color_) saved_color_ = Font().color;
  SetFontColor(hot_color_);
  Repaint();
}

void TURLLabel::MouseLeave() {
  TCustomPaintedLabel::MouseLeave();
  if (!hot_track_) return;
  // Only a colour of our own is put back: a label that was entered before
  // HotTrack came on keeps the colour it has.
  if (saved_color_) {
    SetFontColor(*saved_color_);
    saved_color_.reset();
  }
  Repaint();
}

void TURLLabel::PeerMouseDown(MouseButton button, ShiftState shift, Point p) {
  TCustomPaintedLabel::PeerMouseDown(button, shift, p);
  // The release comes here wherever the mouse is by then.
  SetMouseCapture(true);
  if (hot_track_) {
    if (!saved_color_) saved_color_ = Font().color;
    SetFontColor(pushed_color_);
    Repaint();
  }
  if (executable_) shell_.Open(0, Caption());
}

void TURLLabel::PeerMouseUp(MouseButton button, ShiftState shift, Point p) {
  TCustomPaintedLabel::PeerMouseUp(button, shift, p);
  SetMouseCapture(false);
  if (!hot_track_) return;
  const Rect client{0, 0, Width(), Height()};
  if (client.Contains(p)) {
    if (!saved_color_) saved_color_ = Font().color;
    SetFontColor(hot_color_);
  } else if (saved_color_) {
    SetFontColor(*saved_color_);
    saved_color_.reset();
  }
  Repaint();
}

}  // namespace wakumo
