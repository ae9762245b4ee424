#pragma once
// A label that behaves like a link: a hand cursor, its text in another colour
// while the mouse is over it and while it is pressed, and, when Executable,
// its caption handed to the desktop to open (a web address opens in the
// browser) as soon as any mouse button goes down on it.
#include <optional>
#include <string>

#include "app/resource_ids.h"
#include "platform/shell.h"
#include "tray/painted_label.h"

namespace wakumo {

// Screen cursor number of the program's own hand cursor.
inline constexpr int kHandPointCursor = 32761;
inline constexpr const char* kHandPointCursorResource = kHandCursorResource;

class TURLLabel : public TCustomPaintedLabel {
 public:
  TURLLabel(UiToolkit& tk, TControl* parent, const std::string& name, Shell& shell);

  bool Executable() const { return executable_; }
  void SetExecutable(bool on) { executable_ = on; }
  // Colour changes on hover and press. Turned off while they are shown, the
  // label's own colour comes back.
  bool HotTrack() const { return hot_track_; }
  void SetHotTrack(bool on);
  TColor HotColor() const { return hot_color_; }
  void SetHotColor(TColor c);
  TColor PushedColor() const { return pushed_color_; }
  void SetPushedColor(TColor c);

 protected:
  void MouseEnter() override;
  void MouseLeave() override;
  void PeerMouseDown(MouseButton button, ShiftState shift, Point p) override;
  void PeerMouseUp(MouseButton button, ShiftState shift, Point p) override;

 private:
  void SetFontColor(TColor c);

  Shell& shell_;
  bool executable_ = false;
  bool hot_track_ = true;
  TColor hot_color_ = clAqua;
  TColor pushed_color_ = clRed;
  // The label's own colour while a hot or pushed one is shown; nothing while
  // it shows its own.
  std::optional<TColor> saved_color_;
};

}  // namespace wakumo
