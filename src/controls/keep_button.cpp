#include "controls/keep_button.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace wakumo {

namespace {

struct Frame {
  TColor top_left;
  TColor bottom_right;
  int inset;
};

struct Bevel {
  Frame frames[2];
  int count;
};

// Pushed in and raised bevels of each body, outer frame first.
Bevel PushedBevel(TBody body) {
  switch (body) {
    case TBody::bdFull: return {{{clBtnShadow, clBtnHighlight, 0}, {cl3DDkShadow, cl3DLight, 1}}, 2};
    case TBody::bdMedium: return {{{clBlack, clBtnHighlight, 0}, {clBtnShadow, clBtnFace, 1}}, 2};
    case TBody::bdLight: return {{{clBtnShadow, clBtnHighlight, 0}, {}}, 1};
    default: return {{}, 0};
  }
}

Bevel RaisedBevel(TBody body) {
  switch (body) {
    case TBody::bdFull: return {{{cl3DLight, cl3DDkShadow, 0}, {clBtnHighlight, clBtnShadow, 1}}, 2};
    case TBody::bdMedium: return {{{clBtnHighlight, clBlack, 0}, {clBtnFace, clBtnShadow, 1}}, 2};
    case TBody::bdLight: return {{{clBtnHighlight, clBtnShadow, 0}, {}}, 1};
    default: return {{}, 0};
  }
}

// Sets every pixel of the walk whose x and y are both even or both odd; the
// walk takes |dx| + |dy| + 1 pixels from a to b, end points included, and
// steps vertically while the vertical distance left is, relative to the
// line's own height, at least the horizontal one.
void DottedLine(Canvas& canvas, Point a, Point b, TColor color) {
  const long long dx = std::llabs(static_cast<long long>(b.x) - a.x);
  const long long dy = std::llabs(static_cast<long long>(b.y) - a.y);
  const int sx = b.x >= a.x ? 1 : -1;
  const int sy = b.y >= a.y ? 1 : -1;
  long long x = a.x, y = a.y;
  for (long long step = 0; step < dx + dy + 1; ++step) {
    if (((x ^ y) & 1) == 0) canvas.SetPixel({static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)}, color);
    const long long rv = std::llabs(b.y - y);
    const long long rh = std::llabs(b.x - x);
    if (rv * (dx + 1) >= rh * (dy + 1)) {
      y += sy;
    } else {
      x += sx;
    }
  }
}

int BorderOf(TBody body) {
  switch (body) {
    case TBody::bdFull: return 4;
    case TBody::bdMedium: return 3;
    case TBody::bdLight: return 2;
    default: return 0;
  }
}

}  // namespace

std::int32_t RepeatDelayFromSetting(std::uint32_t setting) {
  return static_cast<std::int32_t>((std::min<std::uint32_t>(setting, 3) + 1) * 250);
}

std::int32_t RepeatSpeedFromSetting(std::uint32_t setting) {
  // Settings beyond 31 would make the interval negative.
  return static_cast<std::int32_t>(1700u / (std::min<std::uint32_t>(setting, 31) + 3)) - 17;
}

// ---------------------------------------------------------------- keep button

TCustomKeepButton::TCustomKeepButton(UiToolkit& tk, TControl* parent, const std::string& name, TimerService& timers,
                                     SystemParameters& system)
    : TPaintControl(tk, parent, name), timers_(timers), system_(system) {
  SetBounds(0, 0, 25, 25);
  SetSystemRepeatTime(true);
}

TCustomKeepButton::~TCustomKeepButton() { StopTimer(); }

void TCustomKeepButton::SetBody(TBody body) {
  if (body == body_) return;
  body_ = body;
  Repaint();
}

void TCustomKeepButton::SetFlat(bool flat) {
  // A button that is not flat always shows its bevel; turning Flat on hides
  // it until the mouse comes onto the button.
  if (flat == raised_) {
    raised_ = !raised_;
    Repaint();
  }
  flat_ = flat;
}

void TCustomKeepButton::SetDelay(std::int32_t ms) {
  if (!system_repeat_time_) delay_ = ms;
}

void TCustomKeepButton::SetSpeed(std::int32_t ms) {
  if (!system_repeat_time_) speed_ = ms;
}

void TCustomKeepButton::SetSystemRepeatTime(bool on) {
  system_repeat_time_ = on;
  if (!on) return;
  if (auto v = system_.KeyboardDelay()) {
    delay_ = RepeatDelayFromSetting(*v);
  } else {
    system_repeat_time_ = false;
  }
  if (auto v = system_.KeyboardSpeed()) {
    speed_ = RepeatSpeedFromSetting(*v);
  } else {
    system_repeat_time_ = false;
  }
}

void TCustomKeepButton::SetRepeating(bool on) {
  if (on == repeating_) return;
  repeating_ = on;
  StopTimer();
  timer_interval_ = on ? delay_ : 0;
}

void TCustomKeepButton::SetPressed(bool on) {
  pressed_ = on;
  Repaint();
}

// Changing the interval of a running timer restarts it, so the next tick
// comes one new interval from now.
void TCustomKeepButton::SetTimerInterval(std::int32_t ms) {
  if (ms == timer_interval_) return;
  timer_interval_ = ms;
  if (timer_ != 0) {
    StopTimer();
    StartTimer();
  }
}

void TCustomKeepButton::StartTimer() {
  if (timer_ != 0 || !repeating_) return;
  timer_ = timers_.StartTimer(timer_interval_, [this] { Tick(); });
}

void TCustomKeepButton::StopTimer() {
  if (timer_ == 0) return;
  timers_.StopTimer(timer_);
  timer_ = 0;
}

void TCustomKeepButton::Tick() {
  // Off the button the ticks go on but count nothing, so coming back resumes
  // with the next count.
  if (pressed_) {
    if (repeat_count_ < std::numeric_limits<std::int32_t>::max()) ++repeat_count_;
    if (OnClick) OnClick();
  }
  SetTimerInterval(speed_);
}

void TCustomKeepButton::PeerMouseDown(MouseButton button, ShiftState shift, Point p) {
  if (button == MouseButton::mbLeft) {
    mouse_down_ = true;
    repeat_count_ = 0;
    SetPressed(true);
    // The release must come back here wherever the mouse is by then.
    SetMouseCapture(true);
    if (repeating_) {
      SetTimerInterval(delay_);
      StartTimer();
      if (OnClick) OnClick();
    }
  }
  TPaintControl::PeerMouseDown(button, shift, p);
}

// Only the left button's release ends the press: a right click during a
// drag leaves it alone.
void TCustomKeepButton::PeerMouseUp(MouseButton button, ShiftState shift, Point p) {
  if (button == MouseButton::mbLeft) {
    if (pressed_ && !repeating_ && OnClick) OnClick();
    mouse_down_ = false;
    // The release point is where the cursor is as the button comes up.
    if (flat_ && !Rect{0, 0, Width(), Height()}.Contains(p)) raised_ = false;
    SetPressed(false);
    StopTimer();
    SetMouseCapture(false);
  }
  TPaintControl::PeerMouseUp(button, shift, p);
}

void TCustomKeepButton::MouseEnter() {
  if (mouse_down_) {
    SetPressed(true);
  } else if (flat_) {
    raised_ = true;
    Repaint();
  }
}

void TCustomKeepButton::MouseLeave() {
  if (mouse_down_) {
    if (!keep_pressed_on_leave_) SetPressed(false);
  } else if (flat_) {
    raised_ = false;
    Repaint();
  }
}

void TCustomKeepButton::Paint(Canvas& canvas) {
  const int w = Width();
  const int h = Height();
  if (!flat_ && body_ != TBody::bdNone) {
    canvas.SetBrush({clBtnFace, BrushStyle::bsSolid});
    canvas.FillRect({0, 0, w, h});
  }
  PenSpec pen = canvas.Pen();
  pen.width = 1;
  canvas.SetPen(pen);
  if (glyph_.Width() > 0) {
    const int shift = pressed_ ? 1 : 0;
    canvas.Draw({(w - glyph_.Width()) / 2 + shift, (h - glyph_.Height()) / 2 + shift}, glyph_, true);
  }
  DrawBevel(canvas);
  if (OnPaint) OnPaint();
}

void TCustomKeepButton::DrawBevel(Canvas& canvas) {
  Bevel bevel{};
  if (pressed_) {
    bevel = PushedBevel(body_);
  } else if (raised_) {
    bevel = RaisedBevel(body_);
  }
  for (int i = 0; i < bevel.count; ++i) {
    DrawFrame(canvas, bevel.frames[i].top_left, bevel.frames[i].bottom_right, bevel.frames[i].inset);
  }
}

void TCustomKeepButton::DrawFrame(Canvas& canvas, TColor top_left, TColor bottom_right, int inset) {
  const int w = Width();
  const int h = Height();
  if (w < 2 * inset + 1 || h < 2 * inset + 1) return;
  const Point bl{inset, h - 1 - inset};
  const Point tl{inset, inset};
  const Point tr{w - 1 - inset, inset};
  const Point br{w - 1 - inset, h - 1 - inset};
  if (raised_) {
    // Lines leave out their end pixel, so each corner is painted once; the
    // bottom-left one, where the path starts, goes to the bottom-right colour.
    canvas.SetPen({top_left, 1, PenStyle::psSolid});
    canvas.MoveTo(bl);
    canvas.LineTo(tl);
    canvas.LineTo(tr);
    canvas.SetPen({bottom_right, 1, PenStyle::psSolid});
    canvas.LineTo(br);
    canvas.LineTo(bl);
    canvas.SetPixel(bl, bottom_right);
  } else {
    DottedLine(canvas, bl, tl, top_left);
    DottedLine(canvas, tl, tr, top_left);
    DottedLine(canvas, tr, br, bottom_right);
    DottedLine(canvas, br, bl, bottom_right);
  }
}

// ---------------------------------------------------------------- parts

TUpDownButtonPart::TUpDownButtonPart(UiToolkit& tk, TControl* parent, const std::string& name, TimerService& timers,
                                     SystemParameters& system)
    : TCustomKeepButton(tk, parent, name, timers, system) {
  SetRepeating(true);
  SetBody(TBody::bdFull);
}

void TUpDownButtonPart::SetButtonType(TButtonType type) {
  if (type == button_type_) return;
  button_type_ = type;
  Repaint();
}

int TUpDownButtonPart::ArrowHalfSize() const {
  const int b = BorderOf(Body());
  int w = Width();
  int h = Height();
  for (const TUpDownButtonPart* s : siblings_) {
    if (!s) continue;
    if (s->Left() == Left() && s->Width() == Width()) h = std::min(h, s->Height());
    if (s->Top() == Top() && s->Height() == Height()) w = std::min(w, s->Width());
  }
  // Thirds in exact integer arithmetic, truncated toward zero.
  const int across = w - b;
  const int along = h - b;
  int s = (across - across / 3 + 1) / 2;
  const int limit = along - (along * 2) / 3;
  if (limit < s) s = limit;
  return s;
}

void TUpDownButtonPart::Paint(Canvas& canvas) {
  TCustomKeepButton::Paint(canvas);
  const int s = ArrowHalfSize();
  // Too small a button for any arrow; a negative size would turn it over.
  if (s <= 0) return;
  const bool up = button_type_ == TButtonType::btUp;
  int x = (Width() - 1) / 2;
  const int base = ((Height() - 1) + s) / 2 - s / 10;
  int y = up ? base : (Height() - 1) - base;
  if (Pressed()) {
    ++x;
    ++y;
  }
  canvas.SetPen({clWindowText, 1, PenStyle::psSolid});
  canvas.SetBrush({clWindowText, BrushStyle::bsSolid});
  if (s == 1) {
    canvas.SetPixel({x, y}, clWindowText);
    return;
  }
  const int tip = up ? y - (s - 1) : y + (s - 1);
  canvas.Polygon({{x - (s - 1), y}, {x + (s - 1), y}, {x, tip}});
}

TSliderPart::TSliderPart(UiToolkit& tk, TControl* parent, const std::string& name, TimerService& timers,
                         SystemParameters& system)
    : TCustomKeepButton(tk, parent, name, timers, system) {
  SetBody(TBody::bdLight);
  SetKeepPressedOnLeave(true);
}

}  // namespace wakumo
