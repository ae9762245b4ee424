#include "tray/tool_tip_style.h"

#include <cstdlib>

#include "tray/task_tray_icon.h"

namespace wakumo {

namespace {

constexpr std::uint32_t kButtonDown[3] = {WM_LBUTTONDOWN_, WM_RBUTTONDOWN_, WM_MBUTTONDOWN_};

}  // namespace

// ---- Poller ------------------------------------------------------------------

TMouseEventMaker::TMouseEventMaker(WorkerThreads& workers, TCustomToolTipStyle& style)
    : style_(style), worker_(workers.CreatePaused([this](WorkerContext& ctx) { Execute(ctx); })) {}

void TMouseEventMaker::Execute(WorkerContext& ctx) {
  TCustomToolTipStyle& style = style_;
  for (;;) {
    // A stale answer costs one more turn at most: the check itself is made
    // on the user-interface thread.
    if (!style.inside_.load()) {
      if (!ctx.Pause()) return;
      continue;
    }
    if (!ctx.Sleep(kPollerPeriodMs)) return;
    if (!ctx.RunOnUiThread([&style] { style.LeaveCheck(); })) return;
  }
}

// ---- Style -------------------------------------------------------------------

TCustomToolTipStyle::TCustomToolTipStyle(const TrayPorts& ports)
    : ports_(ports), tooltip_(ports.tooltip.FindTrayTooltip()) {}

TCustomToolTipStyle::~TCustomToolTipStyle() {
  poller_.reset();
  RestoreTooltip();
}

TColor TCustomToolTipStyle::GetColor(int index) const {
  if (index == 1) return background_color_;
  if (index == 2) return text_color_;
  return 0;
}

void TCustomToolTipStyle::SetColor(int index, TColor color) {
  if (index == 1) background_color_ = color;
  if (index == 2) text_color_ = color;
}

void TCustomToolTipStyle::Assign(const TPersistent& source) {
  const auto* style = dynamic_cast<const TCustomToolTipStyle*>(&source);
  if (!style) AssignError(source);
  use_default_ = style->use_default_;
  background_color_ = style->background_color_;
  text_color_ = style->text_color_;
}

void TCustomToolTipStyle::MessageHandler(const MessageRecord& r) {
  if (r.msg == WM_TIMER_ && r.wparam == kDoubleClickTimerId) return OnTimer();
  if (r.msg != kTrayCallbackMessage) return;
  switch (r.lparam) {
    case WM_MOUSEMOVE_: return OnMouseMove();
    case WM_LBUTTONDOWN_: return OnButtonDown(0, r.wparam);
    case WM_RBUTTONDOWN_: return OnButtonDown(1, r.wparam);
    case WM_MBUTTONDOWN_: return OnButtonDown(2, r.wparam);
    case WM_LBUTTONUP_: return OnButtonUp(0);
    case WM_RBUTTONUP_: return OnButtonUp(1);
    case WM_MBUTTONUP_: return OnButtonUp(2);
    case WM_LBUTTONDBLCLK_: return OnDoubleClick(0);
    case WM_RBUTTONDBLCLK_: return OnDoubleClick(1);
    case WM_MBUTTONDBLCLK_: return OnDoubleClick(2);
    default: return;  // our own notifications among them
  }
}

void TCustomToolTipStyle::OnMouseMove() {
  const Point p = ports_.ws.GetCursorPos();
  ExtendBox(p);
  if (std::abs(box_->right - box_->left) > kCursorBoxLimit || std::abs(box_->bottom - box_->top) > kCursorBoxLimit) {
    // The shell reported a position far from the others: another icon, or
    // the icons moved. Start again from here.
    box_.reset();
    ExtendBox(p);
  }
  if (!inside_.load()) Enter();
}

void TCustomToolTipStyle::ExtendBox(Point p) {
  if (!box_) {
    box_ = Rect{p.x, p.y, p.x, p.y};
    return;
  }
  if (p.x < box_->left) {
    box_->left = p.x;
  } else if (p.x > box_->right) {
    box_->right = p.x;
  }
  if (p.y < box_->top) {
    box_->top = p.y;
  } else if (p.y > box_->bottom) {
    box_->bottom = p.y;
  }
}

void TCustomToolTipStyle::OnButtonDown(std::size_t b, std::uint64_t wparam) {
  // The button-down re-posted after a double click carries -1: it must not
  // turn into a click of its own.
  if (static_cast<std::int64_t>(wparam) >= 0) pressed_[b] = true;
}

void TCustomToolTipStyle::OnButtonUp(std::size_t b) {
  if (!check_single_double_click_) return FireClick(b);
  if (click_pending_) return;
  // The pressed flag stays set until the timer fires.
  if (window_ && ports_.windows.SetTimer(window_, kDoubleClickTimerId, ports_.system.DoubleClickTime())) {
    click_pending_ = true;
  }
}

void TCustomToolTipStyle::OnDoubleClick(std::size_t b) {
  click_pending_ = false;
  pressed_[b] = false;
  // The timer is left to run out: it finds nothing pending then.
  if (window_) ports_.windows.PostMessage(window_, kTrayCallbackMessage, kRepostedButtonDown, kButtonDown[b]);
}

void TCustomToolTipStyle::OnTimer() {
  ports_.windows.KillTimer(window_, kDoubleClickTimerId);
  if (!click_pending_) return;
  FireClick(pressed_[0] ? 0 : pressed_[1] ? 1 : 2);
}

void TCustomToolTipStyle::FireClick(std::size_t b) {
  const bool report = pressed_[b] && window_;
  // Cleared before the owner hears of it: its handler may end this object.
  click_pending_ = false;
  pressed_[b] = false;
  if (report) SendToWindow(kTrayClick, b);
}

void TCustomToolTipStyle::Enter() {
  inside_.store(true);
  if (!use_default_) {
    // Looked up again: a shell may make its tooltip only with the first icon,
    // and a taskbar made again has a new one (the old handle may by now name
    // some other window).
    tooltip_ = ports_.tooltip.FindTrayTooltip();
    if (tooltip_) {
      SendToTooltip(TTM_SETTIPBKCOLOR_, background_color_);
      SendToTooltip(TTM_SETTIPTEXTCOLOR_, text_color_);
    }
  }
  if (!poller_) poller_ = std::make_unique<TMouseEventMaker>(ports_.workers, *this);
  poller_->Resume();
  // The owner hears of the entering before it sees the move that caused it.
  if (window_) SendToWindow(kTrayMouseEntered, 0);
}

void TCustomToolTipStyle::Leave() {
  inside_.store(false);
  if (!use_default_) RestoreTooltip();
  if (window_) SendToWindow(kTrayMouseLeft, 0);
}

void TCustomToolTipStyle::RestoreTooltip() {
  if (!tooltip_) return;
  ports_.windows.SendMessage(tooltip_, TTM_POP_, 0, 0);
  ports_.windows.SendMessage(tooltip_, TTM_SETTIPBKCOLOR_, ports_.tooltip.SystemColor(COLOR_INFOBK_), 0);
  ports_.windows.SendMessage(tooltip_, TTM_SETTIPTEXTCOLOR_, ports_.tooltip.SystemColor(COLOR_INFOTEXT_), 0);
}

void TCustomToolTipStyle::LeaveCheck() {
  if (!inside_.load()) return;
  const Point p = ports_.ws.GetCursorPos();
  const bool in_box = box_ && p.x >= box_->left && p.x <= box_->right && p.y >= box_->top && p.y <= box_->bottom;
  if (!in_box) Leave();
}

void TCustomToolTipStyle::SendToTooltip(std::uint32_t msg, TColor color) {
  // The tooltip takes RGB values only; a system colour code would be read
  // as some dark colour.
  const TColor rgb = (color & kSystemColorFlag) ? ports_.tooltip.SystemColor(static_cast<int>(color & 0xFF)) : color;
  ports_.windows.SendMessage(tooltip_, msg, rgb, 0);
}

void TCustomToolTipStyle::SendToWindow(std::int64_t lparam, std::uint64_t wparam) {
  ports_.windows.SendMessage(window_, kTrayCallbackMessage, wparam, lparam);
}

}  // namespace wakumo
