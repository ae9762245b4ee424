// The simulated user's mouse and focus: clicks, presses and moves, the
// routing of captured and screen-wide input, hovering, and painting on demand.
#include "sim/sim_ui.h"

#include <string>
#include <vector>

#include "ui/hint_text.h"

namespace wakumo {

bool SimControlPeer::CanTakeInput() const {
  for (const SimControlPeer* p = this; p; p = p->parent_) {
    if (!p->Enabled()) return false;
    if (p->kind_ != ControlKind::Form && !p->Visible()) return false;
  }
  return true;
}

void SimControlPeer::SetMouseCapture(bool on) {
  if (handle_ != 0) {
    if (on) {
      Desktop().SetCapture(handle_);
    } else if (Desktop().Capture() == handle_) {
      Desktop().ReleaseCapture();
    }
    return;
  }
  if (on) {
    tk_.captured_ = this;
  } else if (tk_.captured_ == this) {
    tk_.captured_ = nullptr;
  }
}

bool SimControlPeer::MouseCaptured() const {
  return handle_ != 0 ? Desktop().Capture() == handle_ : tk_.captured_ == this;
}

void SimControlPeer::SetFocus() {
  if (handle_ == 0 || !CanTakeInput()) return;
  tk_.MoveFocus(this);
}

bool SimControlPeer::Focused() const { return tk_.focused_ == this; }

bool SimToolkit::Click(std::string_view name) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  if (auto* box = dynamic_cast<SimCheckBoxPeer*>(&c)) {
    box->checked_ = !box->checked_;
  } else if (auto* speed = dynamic_cast<SimSpeedButtonPeer*>(&c); speed && speed->group_index_ != 0) {
    if (!speed->checked_) {
      for (SimControlPeer* peer : controls_) {
        auto* other = dynamic_cast<SimSpeedButtonPeer*>(peer);
        if (other && other != speed && other->parent_ == c.parent_ && other->group_index_ == speed->group_index_) {
          other->checked_ = false;
        }
      }
      speed->checked_ = true;
    } else if (speed->allow_all_up_) {
      speed->checked_ = false;
    }
  }
  c.events_.PeerClick();
  return true;
}

bool SimToolkit::DblClick(std::string_view name) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  c.events_.PeerDblClick();
  return true;
}

bool SimToolkit::MouseDown(std::string_view name, MouseButton button, ShiftState shift, Point client) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  desktop_.SetCursorPos(c.ClientToScreen(client));
  pressed_ = &c;
  c.events_.PeerMouseDown(button, shift, client);
  return true;
}

bool SimToolkit::MouseMove(std::string_view name, ShiftState shift, Point client) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  desktop_.SetCursorPos(c.ClientToScreen(client));
  c.events_.PeerMouseMove(shift, client);
  return true;
}

bool SimToolkit::MouseUp(std::string_view name, MouseButton button, ShiftState shift, Point client) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  desktop_.SetCursorPos(c.ClientToScreen(client));
  pressed_ = nullptr;
  c.events_.PeerMouseUp(button, shift, client);
  return true;
}

SimControlPeer* SimToolkit::RouteTarget(Point screen) const {
  if (captured_) return captured_;
  if (SimControlPeer* c = FindByHandle(desktop_.Capture())) return c;
  if (pressed_) return pressed_;
  return ControlAt(screen);
}

SimControlPeer* SimToolkit::MouseMoveOnScreen(Point screen, ShiftState shift) {
  desktop_.SetCursorPos(screen);
  SimControlPeer* c = RouteTarget(screen);
  if (c) {
    const Point origin = c->ClientToScreen({0, 0});
    c->events_.PeerMouseMove(shift, {screen.x - origin.x, screen.y - origin.y});
  }
  TrackHover(screen);
  return c;
}

SimControlPeer* SimToolkit::MouseUpOnScreen(Point screen, MouseButton button, ShiftState shift) {
  desktop_.SetCursorPos(screen);
  SimControlPeer* c = RouteTarget(screen);
  pressed_ = nullptr;
  if (c) {
    const Point origin = c->ClientToScreen({0, 0});
    c->events_.PeerMouseUp(button, shift, {screen.x - origin.x, screen.y - origin.y});
  }
  TrackHover(screen);
  return c;
}

// Enter and leave follow the control under the cursor, whoever holds the
// capture, as the classic widget set tracks its windowless controls.
void SimToolkit::TrackHover(Point screen) {
  SimControlPeer* under = ControlAt(screen);
  // The application's hint follows the control under the mouse, or the
  // nearest container of it that has one.
  std::string hint;
  for (const SimControlPeer* c = under; c && hint.empty(); c = c->parent_) hint = c->hint_;
  application_.SetHint(LongHint(hint));
  if (under == hovered_) return;
  SimControlPeer* left = hovered_;
  hovered_ = under;
  if (left && left->kind_ == ControlKind::PaintBox) left->events_.PeerMouseLeave();
  if (under && under == hovered_ && under->kind_ == ControlKind::PaintBox) under->events_.PeerMouseEnter();
}

bool SimToolkit::MouseEnter(std::string_view name) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  if (hovered_ && hovered_ != &c) {
    SimControlPeer* left = hovered_;
    hovered_ = nullptr;
    left->events_.PeerMouseLeave();
  }
  hovered_ = &c;
  c.events_.PeerMouseEnter();
  return true;
}

bool SimToolkit::MouseLeave(std::string_view name) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  if (hovered_ == &c) hovered_ = nullptr;
  c.events_.PeerMouseLeave();
  return true;
}

void SimToolkit::MoveFocus(SimControlPeer* to) {
  if (focused_ == to) return;
  SimControlPeer* from = focused_;
  focused_ = to;
  if (from) from->events_.PeerExit();
  if (to && focused_ == to) to->events_.PeerEnter();
}

RasterCanvas SimToolkit::PaintToCanvas(std::string_view name, TColor background) {
  SimControlPeer& c = Get(name);
  const Rect b = c.Bounds();
  RasterCanvas canvas(b.Width(), b.Height(), background);
  PaintInto(c, canvas, {0, 0});
  return canvas;
}

void SimToolkit::PaintInto(SimControlPeer& control, RasterCanvas& target, Point origin) {
  if (control.kind_ == ControlKind::PaintBox) {
    // The box paints on what lies beneath it and cannot reach beyond its bounds.
    const Rect b = control.Bounds();
    RasterCanvas own(b.Width(), b.Height());
    own.Draw({-origin.x, -origin.y}, target.Surface(), false);
    control.events_.PeerPaint(own);
    target.Draw(origin, own.Surface(), false);
  }
  const std::vector<SimControlPeer*> children = controls_;
  for (SimControlPeer* child : children) {
    if (child->parent_ != &control || !child->Visible()) continue;
    const Rect cb = child->Bounds();
    PaintInto(*child, target, {origin.x + cb.left, origin.y + cb.top});
  }
}

bool SimToolkit::SetFocusTo(std::string_view name) {
  SimControlPeer& c = Get(name);
  c.SetFocus();
  return c.Focused();
}

bool SimToolkit::ContextMenu(std::string_view name, Point client) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  for (SimControlPeer* p = &c; p; p = p->parent_) {
    auto* form = dynamic_cast<SimFormPeer*>(p);
    if (form && form->popup_menu_) {
      form->popup_menu_->Popup(c.ClientToScreen(client));
      return true;
    }
  }
  return false;
}

}  // namespace wakumo
