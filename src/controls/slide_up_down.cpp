#include "controls/slide_up_down.h"

#include <algorithm>

#include "controls/number_text.h"

namespace wakumo {

namespace {

// The associate's text as a read into a character buffer gives it: up to the
// first NUL.
std::string AssociateText(const ControlPeer& peer) {
  std::string text = peer.Caption();
  const std::size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

}  // namespace

// ---------------------------------------------------------------- sub-objects

std::int32_t TButtonProperty::Delay() const { return owner_.up_.Delay(); }
std::int32_t TButtonProperty::Speed() const { return owner_.up_.Speed(); }
bool TButtonProperty::SystemRepeatTime() const { return owner_.up_.SystemRepeatTime(); }

void TPartProperty::SetBody(TBody body) {
  for (TCustomKeepButton* part : parts_) part->SetBody(body);
}

void TPartProperty::SetFlat(bool flat) {
  for (TCustomKeepButton* part : parts_) part->SetFlat(flat);
}

void TButtonProperty::SetDelay(std::int32_t ms) {
  owner_.up_.SetDelay(ms);
  owner_.down_.SetDelay(ms);
}

void TButtonProperty::SetSpeed(std::int32_t ms) {
  owner_.up_.SetSpeed(ms);
  owner_.down_.SetSpeed(ms);
}

void TButtonProperty::SetSystemRepeatTime(bool on) {
  owner_.up_.SetSystemRepeatTime(on);
  owner_.down_.SetSystemRepeatTime(on);
}

int TSliderProperty::Cursor() const { return owner_.slider_.Cursor(); }
void TSliderProperty::SetCursor(int cursor) { owner_.slider_.SetCursor(cursor); }

void TSliderProperty::SetHeight(int height) {
  height_ = height;
  owner_.LayoutParts();
}

void TPartProperty::SetQuantity(long double q) {
  quantity_ = q;
  if (!owner_.loading_ && owner_.quantity_ != 0) ratio_ = q / owner_.quantity_;
}

// ---------------------------------------------------------------- control

TSlideUpDown::TSlideUpDown(UiToolkit& tk, TControl* parent, const std::string& name, SlideUpDownContext context)
    : TKindControl(tk, ControlKind::Panel, parent, name),
      context_(std::move(context)),
      slider_(tk, this, name + "Slider", context_.timers, context_.system),
      up_(tk, this, name + "Up", context_.timers, context_.system),
      down_(tk, this, name + "Down", context_.timers, context_.system),
      buttons_(*this, {&up_, &down_}),
      slider_props_(*this, {&slider_}) {
  Peer().SetBevel(BevelKind::bvNone, BevelKind::bvNone);
  Peer().SetCaption("");
  up_.SetButtonType(TButtonType::btUp);
  down_.SetButtonType(TButtonType::btDown);
  up_.SetSiblings({&up_, &down_});
  down_.SetSiblings({&up_, &down_});
  up_.OnClick = [this] { ButtonClick(up_); };
  down_.OnClick = [this] { ButtonClick(down_); };
  slider_.OnMouseDown = [this](MouseButton b, ShiftState s, int x, int y) { SliderDown(b, s, x, y); };
  slider_.OnMouseMove = [this](ShiftState s, int x, int y) { SliderMove(s, x, y); };
  slider_.OnMouseUp = [this](MouseButton b, ShiftState s, int x, int y) { SliderUp(b, s, x, y); };

  confine_.SetWrap(false);
  confine_.SetMax(100);
  confine_.SetMin(0);
  slider_props_.SetCursor(static_cast<int>(CursorId::crVSplit));
  SetBounds(Left(), Top(), 12, 20);
  // Straight into the fields: the setters would derive a rate from a
  // Quantity that is not set yet.
  position_ = 1.0L;
  increment_ = 1.0L;
  SetQuantity(1.0L);
  SetFunctionKind(TFunctionKind::fkLinear);
  if (parent) SetArrowKeys(true);
}

TSlideUpDown::~TSlideUpDown() { context_.arrow_keys.Unregister(*this); }

void TSlideUpDown::Load(const TSlideUpDownValues& v) {
  BeginLoading();
  if (v.Bounds) SetBounds(v.Bounds->left, v.Bounds->top, v.Bounds->Width(), v.Bounds->Height());
  if (v.Visible) SetVisible(*v.Visible);
  if (v.Buttons.Body) buttons_.SetBody(*v.Buttons.Body);
  if (v.Buttons.Flat) buttons_.SetFlat(*v.Buttons.Flat);
  if (v.Buttons.Delay) buttons_.SetDelay(*v.Buttons.Delay);
  if (v.Buttons.Speed) buttons_.SetSpeed(*v.Buttons.Speed);
  if (v.Buttons.SystemRepeatTime) buttons_.SetSystemRepeatTime(*v.Buttons.SystemRepeatTime);
  if (v.Buttons.Quantity) buttons_.SetQuantity(*v.Buttons.Quantity);
  if (v.Slider.Body) slider_props_.SetBody(*v.Slider.Body);
  if (v.Slider.Flat) slider_props_.SetFlat(*v.Slider.Flat);
  if (v.Slider.Cursor) slider_props_.SetCursor(*v.Slider.Cursor);
  if (v.Slider.Height) slider_props_.SetHeight(*v.Slider.Height);
  if (v.Slider.Quantity) slider_props_.SetQuantity(*v.Slider.Quantity);
  if (v.AlignButton) SetAlignButton(*v.AlignButton);
  if (v.ArrowKeys) SetArrowKeys(*v.ArrowKeys);
  if (v.SystemWidth) SetSystemWidth(*v.SystemWidth);
  if (v.Position) SetPosition(*v.Position);
  if (v.Quantity) SetQuantity(*v.Quantity);
  if (v.Rate) SetRate(*v.Rate);
  if (v.Increment) SetIncrement(*v.Increment);
  if (v.FunctionKind) SetFunctionKind(*v.FunctionKind);
  if (v.Format) SetFormat(*v.Format);
  if (v.Max) SetMax(*v.Max);
  if (v.Min) SetMin(*v.Min);
  if (v.Wrap) SetWrap(*v.Wrap);
  // References are fixed up once every control of the form is read, so the
  // associate's own number (a position stored as 0 is left out) wins.
  if (v.Associate) SetAssociate(v.Associate);
  Loaded();
}

void TSlideUpDown::Loaded() {
  loading_ = false;
  if (quantity_ != 0) {
    buttons_.ratio_ = buttons_.quantity_ / quantity_;
    slider_props_.ratio_ = slider_props_.quantity_ / quantity_;
  }
}

void TSlideUpDown::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  if (!loading_) {
    if (system_width_ && width != context_.scroll_bar_width()) system_width_ = false;
    if (Associate() && !Aligned()) align_button_ = TAlignButton::sudNone;
  }
  LayoutParts();
}

void TSlideUpDown::LayoutParts() {
  const int w = Width();
  const int h = Height();
  const int gap = slider_props_.height_;
  slider_.SetBounds(0, 0, w, h);
  const int up_height = (h - gap) / 2;
  up_.SetBounds(0, 0, w, std::max(up_height, 0));
  const int down_top = up_height + gap;
  down_.SetBounds(0, down_top, w, std::max(h - down_top, 0));
}

TControl* TSlideUpDown::Associate() {
  // Only a control with a window of its own can show the number.
  if (associate_ && associate_->Handle() == 0) associate_ = nullptr;
  return associate_;
}

void TSlideUpDown::SetAssociate(TControl* associate) {
  if (associate == this) return;
  associate_ = associate;
  context_.arrow_keys.Unregister(*this);
  if (TControl* a = Associate()) {
    const ExtractedNumber n =
        ExtractNumber(AssociateText(a->Peer()), context_.locale.Separators().decimal);
    if (n.has_digit) SetPosition(n.value);
  }
  if (!WriteText()) associate_ = nullptr;
  Align();
  UpdateRegistration();
}

void TSlideUpDown::UpdateRegistration() {
  if (arrow_keys_ && Associate()) context_.arrow_keys.Register(*this);
}

void TSlideUpDown::SetAlignButton(TAlignButton align) {
  align_button_ = align;
  Align();
}

void TSlideUpDown::SetArrowKeys(bool on) {
  arrow_keys_ = on;
  if (on) {
    UpdateRegistration();
  } else {
    context_.arrow_keys.Unregister(*this);
  }
}

void TSlideUpDown::SetSystemWidth(bool on) {
  system_width_ = on;
  if (on) SetBounds(Left(), Top(), context_.scroll_bar_width(), Height());
}

bool TSlideUpDown::Aligned() {
  TControl* a = Associate();
  if (!a || a->Top() != Top() || a->Height() != Height()) return false;
  switch (align_button_) {
    case TAlignButton::sudNone: return true;
    case TAlignButton::sudRight: return a->Left() + a->Width() == Left();
    case TAlignButton::sudLeft: return a->Left() - Width() == Left();
  }
  return false;
}

void TSlideUpDown::Align() {
  TControl* a = Associate();
  if (!a || Aligned()) return;
  if (align_button_ == TAlignButton::sudRight) {
    SetBounds(a->Left() + a->Width(), a->Top(), Width(), a->Height());
  } else if (align_button_ == TAlignButton::sudLeft) {
    SetBounds(a->Left() - Width(), a->Top(), Width(), a->Height());
  }
}

bool TSlideUpDown::WriteText() {
  TControl* a = Associate();
  if (!a) return false;
  const NumberSeparators separators = context_.locale.Separators();
  a->Peer().SetCaption(FormatNumberPattern(position_, format_, separators));
  // The associate may have rewritten the text in its own way; remember what
  // it shows, so only a later edit counts as typed.
  last_text_value_ = ExtractNumber(AssociateText(a->Peer()), separators.decimal).value;
  return true;
}

long double TSlideUpDown::Position() {
  if (TControl* a = Associate()) {
    const ExtractedNumber n =
        ExtractNumber(AssociateText(a->Peer()), context_.locale.Separators().decimal);
    if (n.has_digit && n.value != last_text_value_) SetPosition(n.value);
  }
  return position_;
}

void TSlideUpDown::SetPosition(long double x) {
  position_ = confine_.Confine(x);
  increment_ = StepFrom(position_, quantity_) - position_;
  WriteText();
  if (OnChange) OnChange();
}

void TSlideUpDown::SetQuantity(long double q) {
  quantity_ = q;
  if (loading_) return;
  slider_props_.quantity_ = q * slider_props_.ratio_;
  buttons_.quantity_ = q * buttons_.ratio_;
  increment_ = StepFrom(position_, q) - position_;
}

void TSlideUpDown::SetRate(long double r) {
  functions_.SetRate(r);
  if (!loading_) increment_ = StepFrom(position_, quantity_) - position_;
}

void TSlideUpDown::RateFromIncrement() {
  functions_.SetRate(increment_ == 0 ? 0 : functions_.RateFromIncrement(position_, quantity_, increment_));
}

void TSlideUpDown::SetIncrement(long double i) {
  increment_ = i;
  if (!loading_) RateFromIncrement();
}

void TSlideUpDown::SetFunctionKind(TFunctionKind kind) {
  functions_.SetKind(kind);
  // The increment at the current position survives a change of kind.
  if (!loading_) RateFromIncrement();
}

void TSlideUpDown::SetFormat(const std::string& format) {
  format_ = format;
  WriteText();
}

void TSlideUpDown::SetMax(long double v) {
  confine_.SetMax(v);
  position_ = confine_.Confine(position_);
}

void TSlideUpDown::SetMin(long double v) {
  confine_.SetMin(v);
  position_ = confine_.Confine(position_);
}

void TSlideUpDown::ButtonClick(TUpDownButtonPart& button) {
  if (TControl* a = Associate()) a->Peer().SetFocus();
  const std::int32_t count = button.RepeatCount();
  if (count == 0) start_position_ = Position();
  // Always from where the press began: 1, 2, 3 ... steps away, so a clamp
  // or wrap on the way leaves no trace.
  const long double steps = (static_cast<long double>(count) + 1) * buttons_.quantity_;
  const bool up = button.ButtonType() == TButtonType::btUp;
  SetPosition(StepFrom(start_position_, up ? steps : -steps));
  if (OnButtonClick) OnButtonClick(button.ButtonType());
}

void TSlideUpDown::SliderDown(MouseButton button, ShiftState shift, int x, int y) {
  if (TControl* a = Associate()) a->Peer().SetFocus();
  start_position_ = Position();
  start_point_ = {x, y};
  if (OnSliderDown) OnSliderDown(button, shift, x, y);
}

void TSlideUpDown::SliderMove(ShiftState shift, int x, int y) {
  if (slider_.Pressed()) {
    // Upwards is more: start y - current y pixels, Slider.Quantity steps each.
    const long double pixels = static_cast<long double>(start_point_.y) - y;
    SetPosition(StepFrom(start_position_, slider_props_.quantity_ * pixels));
  }
  if (OnSliderMove) OnSliderMove(shift, x, y);
}

void TSlideUpDown::SliderUp(MouseButton button, ShiftState shift, int x, int y) {
  if (OnSliderUp) OnSliderUp(button, shift, x, y);
}

bool TSlideUpDown::ArrowKey(const KeyEvent& key) {
  TControl* a = Associate();
  if (!a || !a->Peer().Focused() || !key.pressed) return false;
  long double steps = 0;
  if (key.virtual_key == VK_UP_) {
    steps = buttons_.quantity_;
  } else if (key.virtual_key == VK_DOWN_) {
    steps = -buttons_.quantity_;
  } else {
    return false;
  }
  SetPosition(StepFrom(Position(), steps));
  return true;
}

}  // namespace wakumo
