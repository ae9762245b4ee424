#pragma once
// Base of the controls that draw themselves: a paint box whose facade paints
// the whole client area when the peer asks, and learns when the mouse comes
// onto it and goes off it.
#include "ui/canvas.h"
#include "ui/control.h"

namespace wakumo {

class TPaintControl : public TControl {
 public:
  TPaintControl(UiToolkit& tk, TControl* parent, const std::string& name)
      : TControl(tk, ControlKind::PaintBox, parent, name) {}

  // While captured, moves and the release reach this control wherever the
  // mouse is, in its client coordinates.
  void SetMouseCapture(bool on) { Peer().SetMouseCapture(on); }
  bool MouseCapture() const { return Peer().MouseCaptured(); }
  Point ClientToScreen(Point client) const { return Peer().ClientToScreen(client); }
  // A screen cursor number (CursorId) shown over the control.
  void SetCursor(int cursor) { Peer().SetCursor(cursor); }
  int Cursor() const { return Peer().Cursor(); }

 protected:
  virtual void Paint(Canvas& canvas) { (void)canvas; }
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}

  void PeerPaint(Canvas& canvas) override { Paint(canvas); }
  void PeerMouseEnter() override { MouseEnter(); }
  void PeerMouseLeave() override { MouseLeave(); }
};

}  // namespace wakumo
