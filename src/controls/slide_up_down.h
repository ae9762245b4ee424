#pragma once
// The slide up-down control: a narrow spinner beside an edit field (its
// associate) that owns the number shown there. An up arrow on top, a down
// arrow at the bottom, a slider strip in the gap; Up and Down keys step it
// while the associate has the focus. There is no form designer, so nothing
// here snaps to neighbouring controls at design time.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls/arrow_key_hook.h"
#include "controls/keep_button.h"
#include "controls/step_functions.h"
#include "platform/platform.h"
#include "ui/control.h"

namespace wakumo {

enum class TAlignButton { sudRight = 0, sudLeft = 1, sudNone = 2 };

using TButtonEvent = std::function<void(TButtonType button)>;

// What the controls of one form share; the hook must outlive the controls.
struct SlideUpDownContext {
  TimerService& timers;
  SystemParameters& system;
  LocaleInfo& locale;
  ArrowKeyHook& arrow_keys;
  // Width of a vertical scroll bar in design pixels, for SystemWidth.
  std::function<int()> scroll_bar_width = [] { return 17; };
};

class TSlideUpDown;

// Settings of the control's parts (the arrow buttons, or the slider strip):
// read from the first part, written to all. Their Quantity is the steps a
// part moves by, kept in a fixed ratio to the control's own Quantity once the
// stored form is read.
class TPartProperty {
 public:
  TPartProperty(TSlideUpDown& owner, std::vector<TCustomKeepButton*> parts) : owner_(owner), parts_(std::move(parts)) {}
  long double Quantity() const { return quantity_; }
  void SetQuantity(long double q);
  // Quantity relative to the control's Quantity.
  long double Ratio() const { return ratio_; }
  TBody Body() const { return parts_.front()->Body(); }
  void SetBody(TBody body);
  bool Flat() const { return parts_.front()->Flat(); }
  void SetFlat(bool flat);

 protected:
  TSlideUpDown& owner_;
  std::vector<TCustomKeepButton*> parts_;

 private:
  friend class TSlideUpDown;
  long double quantity_ = 1.0L;
  long double ratio_ = 1.0L;
};

// The arrow buttons; their Quantity is the steps of one arrow click.
class TButtonProperty : public TPartProperty {
 public:
  using TPartProperty::TPartProperty;
  std::int32_t Delay() const;
  void SetDelay(std::int32_t ms);
  std::int32_t Speed() const;
  void SetSpeed(std::int32_t ms);
  bool SystemRepeatTime() const;
  void SetSystemRepeatTime(bool on);
};

// The slider strip; its Quantity is the steps per pixel of vertical drag.
class TSliderProperty : public TPartProperty {
 public:
  using TPartProperty::TPartProperty;
  int Cursor() const;
  void SetCursor(int cursor);
  // Height of the gap between the arrow buttons.
  int Height() const { return height_; }
  void SetHeight(int height);

 private:
  friend class TSlideUpDown;
  int height_ = 3;
};

// Stored property values, in the order a stored form sets them; absent ones
// keep their start values.
struct TButtonPropertyValues {
  std::optional<TBody> Body;
  std::optional<bool> Flat;
  std::optional<std::int32_t> Delay;
  std::optional<std::int32_t> Speed;
  std::optional<bool> SystemRepeatTime;
  std::optional<long double> Quantity;
};

struct TSliderPropertyValues {
  std::optional<TBody> Body;
  std::optional<bool> Flat;
  std::optional<int> Cursor;
  std::optional<int> Height;
  std::optional<long double> Quantity;
};

struct TSlideUpDownValues {
  // Left, top, right, bottom in the parent's client area; set before the rest.
  std::optional<Rect> Bounds;
  std::optional<bool> Visible;
  TButtonPropertyValues Buttons;
  TSliderPropertyValues Slider;
  // A reference to another control: resolved after every other property.
  TControl* Associate = nullptr;
  std::optional<TAlignButton> AlignButton;
  std::optional<bool> ArrowKeys;
  std::optional<bool> SystemWidth;
  std::optional<long double> Position;
  std::optional<long double> Quantity;
  std::optional<long double> Rate;
  std::optional<long double> Increment;
  std::optional<TFunctionKind> FunctionKind;
  std::optional<std::string> Format;
  std::optional<long double> Max;
  std::optional<long double> Min;
  std::optional<bool> Wrap;
};

class TSlideUpDown : public TKindControl<PanelPeer>, public ArrowKeyTarget {
 public:
  // Parts are named after the control: <name>Slider, <name>Up, <name>Down.
  TSlideUpDown(UiToolkit& tk, TControl* parent, const std::string& name, SlideUpDownContext context);
  ~TSlideUpDown() override;

  // Sets stored values as a form load does: loading on, the properties in
  // declaration order, the associate last, then Loaded().
  void Load(const TSlideUpDownValues& values);
  // While loading, Quantity, Rate, Increment and FunctionKind only store.
  void BeginLoading() { loading_ = true; }
  void Loaded();
  bool Loading() const { return loading_; }

  // Moving or sizing lays the parts out; moving the control away from its
  // associate frees it (AlignButton becomes sudNone).
  void SetBounds(int left, int top, int width, int height);

  TButtonProperty& Buttons() { return buttons_; }
  const TButtonProperty& Buttons() const { return buttons_; }
  TSliderProperty& Slider() { return slider_props_; }
  const TSliderProperty& Slider() const { return slider_props_; }

  // The associate, dropped first when its window is gone.
  TControl* Associate();
  // Takes the number the associate shows, writes the text in this control's
  // format and snaps to the associate's side. A control cannot be its own
  // associate; one without a window is refused.
  void SetAssociate(TControl* associate);
  TAlignButton AlignButton() const { return align_button_; }
  void SetAlignButton(TAlignButton align);
  bool ArrowKeys() const { return arrow_keys_; }
  void SetArrowKeys(bool on);
  bool SystemWidth() const { return system_width_; }
  void SetSystemWidth(bool on);

  // Reading first takes in a number typed into the associate since the
  // control last wrote it.
  long double Position();
  // Confines the number, writes it to the associate and raises OnChange.
  void SetPosition(long double x);
  long double Quantity() const { return quantity_; }
  void SetQuantity(long double q);
  long double Rate() const { return functions_.Rate(); }
  void SetRate(long double r);
  long double Increment() const { return increment_; }
  void SetIncrement(long double i);
  TFunctionKind FunctionKind() const { return functions_.Kind(); }
  void SetFunctionKind(TFunctionKind kind);
  const std::string& Format() const { return format_; }
  void SetFormat(const std::string& format);
  long double Max() const { return confine_.Max(); }
  // Bounds move the number into range without writing it or raising OnChange.
  void SetMax(long double v);
  long double Min() const { return confine_.Min(); }
  void SetMin(long double v);
  bool Wrap() const { return confine_.Wrap(); }
  void SetWrap(bool on) { confine_.SetWrap(on); }

  // True when the control sits on its associate's side with the same top and height.
  bool Aligned();
  // Moves the control to its associate's side unless already there.
  void Align();

  // The number read back from the associate after the control last wrote it.
  long double LastTextValue() const { return last_text_value_; }

  TUpDownButtonPart& UpButton() { return up_; }
  TUpDownButtonPart& DownButton() { return down_; }
  TSliderPart& SliderPart() { return slider_; }

  // Steps on Up or Down going down while the associate has the focus.
  bool ArrowKey(const KeyEvent& key) override;

  TNotifyEvent OnChange;
  TButtonEvent OnButtonClick;
  TMouseEvent OnSliderDown;
  TMouseEvent OnSliderUp;
  TMouseMoveEvent OnSliderMove;

 private:
  friend class TPartProperty;
  friend class TButtonProperty;
  friend class TSliderProperty;

  // Writes the number into the associate and reads back what it shows;
  // false when there is no associate to write to.
  bool WriteText();
  void LayoutParts();
  void UpdateRegistration();
  long double StepFrom(long double position, long double steps) const { return functions_.Step(position, steps); }
  void RateFromIncrement();
  void ButtonClick(TUpDownButtonPart& button);
  void SliderDown(MouseButton button, ShiftState shift, int x, int y);
  void SliderMove(ShiftState shift, int x, int y);
  void SliderUp(MouseButton button, ShiftState shift, int x, int y);

  SlideUpDownContext context_;
  // Made in this order, so both arrows lie above the strip.
  TSliderPart slider_;
  TUpDownButtonPart up_;
  TUpDownButtonPart down_;
  TButtonProperty buttons_;
  TSliderProperty slider_props_;
  TfConfine confine_;
  TSUDFunctions functions_;
  TControl* associate_ = nullptr;
  TAlignButton align_button_ = TAlignButton::sudRight;
  bool arrow_keys_ = true;
  bool system_width_ = false;
  long double position_ = 1.0L;
  long double quantity_ = 1.0L;
  long double increment_ = 1.0L;
  std::string format_ = "#,##0.00";
  long double start_position_ = 0;
  Point start_point_;
  long double last_text_value_ = 0;
  bool loading_ = false;
};

}  // namespace wakumo
