#pragma once
// Painted buttons that keep firing while held: the arrow buttons and the
// slider strip of the slide up-down control. The repeat delay and interval
// follow the user's keyboard repeat settings.
#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "ui/canvas.h"
#include "ui/paint_control.h"

namespace wakumo {

enum class TBody { bdFull = 0, bdMedium = 1, bdLight = 2, bdNone = 3 };
enum class TButtonType { btUp = 0, btDown = 1 };

// Keyboard repeat settings turned into milliseconds: delay setting 0-3 gives
// 250-1000, speed setting 0-31 gives 549 down to 33.
std::int32_t RepeatDelayFromSetting(std::uint32_t setting);
std::int32_t RepeatSpeedFromSetting(std::uint32_t setting);

class TCustomKeepButton : public TPaintControl {
 public:
  TCustomKeepButton(UiToolkit& tk, TControl* parent, const std::string& name, TimerService& timers,
                    SystemParameters& system);
  ~TCustomKeepButton() override;

  TBody Body() const { return body_; }
  void SetBody(TBody body);
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  std::int32_t Delay() const { return delay_; }
  // Taken only while SystemRepeatTime is off; the system's value stays otherwise.
  void SetDelay(std::int32_t ms);
  std::int32_t Speed() const { return speed_; }
  void SetSpeed(std::int32_t ms);
  bool SystemRepeatTime() const { return system_repeat_time_; }
  // True reads the keyboard settings now; a failed read turns it off again
  // and keeps the stored values.
  void SetSystemRepeatTime(bool on);

  bool Pressed() const { return pressed_; }
  bool Raised() const { return raised_; }
  bool MouseIsDown() const { return mouse_down_; }
  // Repeats since the press: 0 at the press, 1 after Delay, then one more every Speed.
  std::int32_t RepeatCount() const { return repeat_count_; }
  // Drawn centred, its bottom-left colour transparent; empty unless filled.
  Bitmap24& Glyph() { return glyph_; }

  // Raised at the end of painting.
  TNotifyEvent OnPaint;

 protected:
  void SetKeepPressedOnLeave(bool on) { keep_pressed_on_leave_ = on; }
  void SetRepeating(bool on);
  bool Repeating() const { return repeating_; }

  void Paint(Canvas& canvas) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void PeerMouseDown(MouseButton button, ShiftState shift, Point p) override;
  void PeerMouseUp(MouseButton button, ShiftState shift, Point p) override;
  // Clicks come from the press and the repeats only, never from the peer.
  void PeerClick() override {}

 private:
  void SetPressed(bool on);
  void SetTimerInterval(std::int32_t ms);
  void StartTimer();
  void StopTimer();
  void Tick();
  void DrawBevel(Canvas& canvas);
  void DrawFrame(Canvas& canvas, TColor top_left, TColor bottom_right, int inset);

  TimerService& timers_;
  SystemParameters& system_;
  TBody body_ = TBody::bdMedium;
  bool flat_ = false;
  // The window system's own default settings (delay 1, speed 31), kept when
  // the settings cannot be read.
  std::int32_t delay_ = 500;
  std::int32_t speed_ = 33;
  bool system_repeat_time_ = false;
  bool mouse_down_ = false;
  bool pressed_ = false;
  bool raised_ = true;  // a button that is not flat always shows its bevel
  bool keep_pressed_on_leave_ = false;
  bool repeating_ = false;
  TimerId timer_ = 0;  // running while not 0
  std::int32_t timer_interval_ = 0;
  std::int32_t repeat_count_ = 0;
  Bitmap24 glyph_;
};

// An arrow button that repeats while held.
class TUpDownButtonPart : public TCustomKeepButton {
 public:
  TUpDownButtonPart(UiToolkit& tk, TControl* parent, const std::string& name, TimerService& timers,
                    SystemParameters& system);

  TButtonType ButtonType() const { return button_type_; }
  void SetButtonType(TButtonType type);
  // The arrow buttons that share this one's parent (this one may be among
  // them): arrows of buttons stacked in one column or row get the size of
  // the smallest, so a pair always shows equal arrows.
  void SetSiblings(std::vector<const TUpDownButtonPart*> siblings) { siblings_ = std::move(siblings); }

  // Half-size of the arrow for the current bounds and siblings; 0 or less draws none.
  int ArrowHalfSize() const;

 protected:
  void Paint(Canvas& canvas) override;

 private:
  TButtonType button_type_ = TButtonType::btUp;
  std::vector<const TUpDownButtonPart*> siblings_;
};

// The slider strip: pressed while the mouse is dragged, also outside it.
class TSliderPart : public TCustomKeepButton {
 public:
  TSliderPart(UiToolkit& tk, TControl* parent, const std::string& name, TimerService& timers,
              SystemParameters& system);
};

}  // namespace wakumo
