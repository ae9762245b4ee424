#pragma once
// The shell reports only raw mouse messages for a tray icon. The tooltip
// style turns them into "entered", "left" and "clicked" (a single click told
// from a double one by the double-click time), sent as callback messages to
// the registration object's hidden window, and can recolour the taskbar's
// tooltip while the cursor is over the icon. Leaving is found by a worker,
// TMouseEventMaker, that wakes every 100 ms while the cursor is over the icon
// and has the user-interface thread look at the cursor.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/geometry.h"
#include "platform/message_windows.h"
#include "platform/worker_threads.h"
#include "tray/tray_services.h"
#include "ui/peer.h"
#include "ui/persistent.h"

namespace wakumo {

// lparam values of the callback message that the style object sends.
inline constexpr std::int64_t kTrayMouseEntered = 1234;
inline constexpr std::int64_t kTrayMouseLeft = 1235;
inline constexpr std::int64_t kTrayClick = 1236;  // wparam: 0 left, 1 right, 2 middle
// wparam of the button-down posted after a double click: all bits set.
inline constexpr std::uint64_t kRepostedButtonDown = ~std::uint64_t{0};
inline constexpr std::uint64_t kDoubleClickTimerId = 7;
inline constexpr std::uint32_t kPollerPeriodMs = 100;
// Largest width or height of the box of positions that count as the icon.
inline constexpr std::int32_t kCursorBoxLimit = 32;

class TCustomToolTipStyle;

// Wakes every 100 ms while the cursor is inside and runs the leave check on
// the user-interface thread; pauses itself once the cursor is out.
class TMouseEventMaker {
 public:
  TMouseEventMaker(WorkerThreads& workers, TCustomToolTipStyle& style);
  void Resume() { worker_->Resume(); }

 private:
  void Execute(WorkerContext& ctx);

  TCustomToolTipStyle& style_;
  std::unique_ptr<Worker> worker_;
};

class TCustomToolTipStyle : public TPersistent {
 public:
  // Looks up the taskbar's tooltip window; again at each entering while the
  // colours are not the default ones.
  explicit TCustomToolTipStyle(const TrayPorts& ports);
  // Ends the poller and gives the tooltip back its default colours.
  ~TCustomToolTipStyle() override;
  TCustomToolTipStyle(const TCustomToolTipStyle&) = delete;
  TCustomToolTipStyle& operator=(const TCustomToolTipStyle&) = delete;
  std::string ClassName() const override { return "TCustomToolTipStyle"; }

  // For the registration object.
  void SetWindow(WindowHandle w) { window_ = w; }
  WindowHandle Window() const { return window_; }
  void ResetCursorBox() { box_.reset(); }
  // Sees every message of the hidden window before the owner; never sets the
  // result.
  void MessageHandler(const MessageRecord& r);

  bool CheckSingleDoubleClick() const { return check_single_double_click_; }
  void SetCheckSingleDoubleClick(bool on) { check_single_double_click_ = on; }
  bool UseDefault() const { return use_default_; }
  void SetUseDefault(bool on) { use_default_ = on; }
  // Index 1 is BackGroundColor, 2 TextColor; any other reads 0 and takes
  // nothing.
  TColor GetColor(int index) const;
  void SetColor(int index, TColor color);
  TColor BackGroundColor() const { return GetColor(1); }
  void SetBackGroundColor(TColor c) { SetColor(1, c); }
  TColor TextColor() const { return GetColor(2); }
  void SetTextColor(TColor c) { SetColor(2, c); }
  // From another tooltip style: UseDefault and both colours. Any other
  // source is refused (EConvertError).
  void Assign(const TPersistent& source) override;

  // What the style knows, for the component and for tests.
  WindowHandle TooltipWindow() const { return tooltip_; }
  bool Inside() const { return inside_.load(); }
  // Nothing while empty.
  std::optional<Rect> CursorBox() const { return box_; }
  bool ClickPending() const { return click_pending_; }
  bool Pressed(MouseButton b) const { return pressed_[Index(b)]; }
  bool HasPoller() const { return poller_ != nullptr; }

 private:
  friend class TMouseEventMaker;
  static std::size_t Index(MouseButton b) { return static_cast<std::size_t>(b); }

  void OnMouseMove();
  void OnButtonDown(std::size_t b, std::uint64_t wparam);
  void OnButtonUp(std::size_t b);
  void OnDoubleClick(std::size_t b);
  void OnTimer();
  void ExtendBox(Point p);
  void Enter();
  void Leave();
  void RestoreTooltip();
  void LeaveCheck();
  void FireClick(std::size_t b);
  void SendToTooltip(std::uint32_t msg, TColor color);
  void SendToWindow(std::int64_t lparam, std::uint64_t wparam);

  const TrayPorts& ports_;
  WindowHandle window_ = 0;
  WindowHandle tooltip_ = 0;
  std::optional<Rect> box_;
  std::unique_ptr<TMouseEventMaker> poller_;
  std::array<bool, 3> pressed_{};
  // Read by the poller between its turns.
  std::atomic<bool> inside_{false};
  bool click_pending_ = false;
  bool check_single_double_click_ = true;
  bool use_default_ = true;
  TColor text_color_ = clWindowText;
  TColor background_color_ = clBlack;
};

// The style as the tray icon component publishes it.
class TToolTipStyle : public TCustomToolTipStyle {
 public:
  using TCustomToolTipStyle::TCustomToolTipStyle;
  std::string ClassName() const override { return "TToolTipStyle"; }
};

}  // namespace wakumo
