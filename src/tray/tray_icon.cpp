#include "tray/tray_icon.h"

namespace wakumo {

namespace {

// Handlers run from a copy: one may end the component, and its events with it.
void Fire(TNotifyEvent handler) {
  if (handler) handler();
}

void Fire(TMouseEvent handler, MouseButton b, ShiftState s, Point p) {
  if (handler) handler(b, s, p.x, p.y);
}

ShiftState ButtonFlag(MouseButton b) {
  ShiftState s;
  s.left = b == MouseButton::mbLeft;
  s.right = b == MouseButton::mbRight;
  s.middle = b == MouseButton::mbMiddle;
  return s;
}

}  // namespace

// ---- Animation ---------------------------------------------------------------

TIconAnimation::TIconAnimation(WorkerThreads& workers, TTrayIcon& tray)
    : tray_(tray), worker_(workers.CreatePaused([this](WorkerContext& ctx) { Execute(ctx); })) {}

void TIconAnimation::Execute(WorkerContext& ctx) {
  TTrayIcon& tray = tray_;
  for (;;) {
    if (!tray.AnimationWanted()) {
      if (!ctx.Pause()) return;
      continue;
    }
    // The step changes the image, the index and the shell's record, all
    // owned by the user-interface thread: it runs there, as the tooltip
    // style's leave check does, and this thread only keeps the time.
    if (!ctx.RunOnUiThread([&tray] { tray.AnimationStep(); })) return;
    if (!ctx.Sleep(tray.interval_.load())) return;
  }
}

// ---- Component ---------------------------------------------------------------

TTrayIcon::TTrayIcon(TrayServices& services, UiToolkit& tk, WindowHandle owner_window)
    : ports_(services.Ports()),
      app_(tk),
      owner_window_(owner_window),
      icon_(ports_.icons),
      reg_(std::make_unique<TTaskTrayIcon>(services)) {
  icon_.OnChange = [this] {
    if (Live() && !icon_change_muted_) RefreshIcon();
  };
  reg_->SetOwner([this](MessageRecord& r) { MessageHandler(r); });
  reg_->SetTipText("TipHelp");
  saved_minimize_ = app_.OnMinimize();
  saved_restore_ = app_.OnRestore();
  app_.SetOnMinimize([this] { AppMinimize(); });
  app_.SetOnRestore([this] { AppRestore(); });
}

TTrayIcon::~TTrayIcon() {
  HideIcon();
  app_.SetOnMinimize(saved_minimize_);
  app_.SetOnRestore(saved_restore_);
  animation_.reset();
  SetMenu(left_menu_, nullptr);
  SetMenu(right_menu_, nullptr);
  // The window's last messages find no owner: this object is going.
  reg_->SetOwner(nullptr);
  reg_.reset();
}

void TTrayIcon::Loaded() {
  loading_ = false;
  if (IconWanted()) ShowIcon();
}

bool TTrayIcon::IconWanted() { return visible_.load() && (!minimized_ || ports_.ws.IsIconic(app_.Handle())); }

IconHandle TTrayIcon::CurrentIconHandle() {
  if (!icon_.Empty()) return icon_.Handle();
  if (!resource_icon_list_.empty() && ResourceIconID() >= 0) {
    // Shared icons stay with the system: nothing to give back later.
    resource_icon_ = ports_.icons.LoadIcon(resource_icon_list_[static_cast<std::size_t>(ResourceIconID())], true);
    return resource_icon_;
  }
  return ports_.icons.ApplicationIcon();
}

bool TTrayIcon::ShowIcon() {
  reg_->SetIconHandle(CurrentIconHandle());
  if (!reg_->Show()) return false;
  StartAnimation();
  visible_.store(true);
  return true;
}

void TTrayIcon::HideIcon() {
  StopAnimation();
  reg_->Hide();
}

bool TTrayIcon::RefreshIcon() {
  reg_->SetIconHandle(CurrentIconHandle());
  return IconWanted() ? reg_->Update() : false;
}

void TTrayIcon::DropIcon() {
  icon_change_muted_ = true;
  icon_.Clear();
  icon_change_muted_ = false;
}

void TTrayIcon::SetIcon(const TIcon& icon) {
  icon_change_muted_ = true;
  if (icon.Empty()) {
    icon_.Clear();
  } else {
    icon_.Assign(icon);
  }
  icon_change_muted_ = false;
  if (Live()) RefreshIcon();
}

void TTrayIcon::SetTipHelp(const std::string& tip) {
  reg_->SetTipText(tip);
  if (Live()) RefreshIcon();
}

void TTrayIcon::SetMinimized(bool on) {
  if (on == minimized_) return;
  minimized_ = on;
  if (!Live()) return;
  if (IconWanted()) {
    RefreshIcon();
  } else {
    HideIcon();
  }
}

void TTrayIcon::SetVisible(bool on) {
  if (on == visible_.load()) return;
  visible_.store(on);
  if (!Live()) return;
  if (IconWanted()) {
    ShowIcon();
  } else {
    HideIcon();
  }
}

std::int32_t TTrayIcon::ResourceIconID() {
  if (resource_icon_id_ >= static_cast<std::int32_t>(resource_icon_list_.size())) resource_icon_id_ = 0;
  return resource_icon_id_;
}

void TTrayIcon::SetResourceIconID(std::int32_t index) {
  if (index == resource_icon_id_ && index != 0) return;
  DropIcon();
  if (loading_) {
    // The list may come later in the stored form.
    resource_icon_id_ = index;
  } else {
    const auto count = static_cast<std::int32_t>(resource_icon_list_.size());
    resource_icon_id_ = index >= count ? count - 1 : index < 0 ? -1 : index;
  }
  if (Live() && IconWanted()) RefreshIcon();
}

void TTrayIcon::SetResourceIconList(std::vector<std::string> names) {
  if (resource_icon_list_.empty()) {
    resource_icon_list_ = std::move(names);
    if (Live() && IconWanted()) RefreshIcon();
    return;
  }
  if (resource_icon_id_ < 0) {
    resource_icon_list_ = std::move(names);
    return;
  }
  const std::string selected = resource_icon_list_[static_cast<std::size_t>(ResourceIconID())];
  resource_icon_list_ = std::move(names);
  SetResourceIconID(ResourceIconID());
  const bool same = resource_icon_id_ >= 0 &&
                    resource_icon_id_ < static_cast<std::int32_t>(resource_icon_list_.size()) &&
                    resource_icon_list_[static_cast<std::size_t>(resource_icon_id_)] == selected;
  if (!same && Live() && IconWanted()) RefreshIcon();
}

void TTrayIcon::SetInterval(std::uint32_t ms) {
  if (ms == interval_.load()) return;
  interval_.store(ms > 0 && ms < 50 ? 50 : ms);
  StartAnimation();
}

void TTrayIcon::SetMenu(TPopupMenu*& slot, TPopupMenu* menu) {
  if (slot == menu) return;
  if (slot) slot->RemoveFreeNotification(&slot);
  slot = menu;
  if (slot) slot->AddFreeNotification(&slot, [&slot] { slot = nullptr; });
}

// ---- Animation control ---------------------------------------------------------

bool TTrayIcon::AnimationWanted() const { return animating_.load() && visible_.load() && interval_.load() > 0; }

void TTrayIcon::StartAnimation() {
  // Loaded shows the icon and starts it then.
  if (loading_) return;
  if (visible_.load() && interval_.load() > 0) {
    if (!animation_) animation_ = std::make_unique<TIconAnimation>(ports_.workers, *this);
    animating_.store(true);
    animation_->Resume();
  } else {
    animating_.store(false);
  }
}

void TTrayIcon::StopAnimation() { animating_.store(false); }

void TTrayIcon::AnimationStep() {
  // A stop that came while this step waited for its turn wins.
  if (!AnimationWanted()) return;
  if (OnIconAnimation) {
    Fire(OnIconAnimation);
    RefreshIcon();
    return;
  }
  const std::int32_t next = ResourceIconID() + 1;
  SetResourceIconID(next >= static_cast<std::int32_t>(resource_icon_list_.size()) ? 0 : next);
}

// ---- Application hooks -------------------------------------------------------

void TTrayIcon::AppMinimize() {
  if (saved_minimize_) saved_minimize_();
  if (visible_.load() && minimized_) ShowIcon();
  if (visible_.load() && hide_on_taskbar_) ports_.ws.ShowWindow(app_.Handle(), SW_HIDE_);
}

void TTrayIcon::AppRestore() {
  if (saved_restore_) saved_restore_();
  if (!minimized_) return;
  HideIcon();
  if (owner_window_) ports_.ws.SetForegroundWindow(owner_window_);
}

// ---- Messages ----------------------------------------------------------------

void TTrayIcon::MessageHandler(MessageRecord& r) {
  switch (r.msg) {
    case kTrayCallbackMessage:
      return OnTrayCallback(r);
    case WM_QUERYENDSESSION_:
      // The icon never stands in the way of logging off or shutting down.
      r.result = 1;
      return;
    case kTaskbarRestartedMessage:
      return OnTaskbarRestarted();
    default:
      return;
  }
}

void TTrayIcon::OnTrayCallback(const MessageRecord& r) {
  const Point p = ports_.ws.GetCursorPos();
  auto up = [this, &p](MouseButton b) { Fire(OnMouseUp, b, ButtonFlag(b), p); };
  switch (r.lparam) {
    case WM_MOUSEMOVE_:
      if (const TMouseMoveEvent handler = OnMouseMove) handler(ShiftState{}, p.x, p.y);
      return;
    case WM_LBUTTONDOWN_: return ButtonDown(MouseButton::mbLeft, p);
    case WM_RBUTTONDOWN_: return ButtonDown(MouseButton::mbRight, p);
    case WM_MBUTTONDOWN_: return ButtonDown(MouseButton::mbMiddle, p);
    case WM_LBUTTONUP_: return up(MouseButton::mbLeft);
    case WM_RBUTTONUP_: return up(MouseButton::mbRight);
    case WM_MBUTTONUP_: return up(MouseButton::mbMiddle);
    case WM_LBUTTONDBLCLK_: return Fire(OnDblClick);
    case WM_RBUTTONDBLCLK_: return Fire(OnRDblClick);
    case kTrayMouseEntered: return Fire(OnMouseEnter);
    case kTrayMouseLeft: return Fire(OnMouseExit);
    case kTrayClick:
      if (r.wparam <= 2) Fire(OnMouseClick, static_cast<MouseButton>(r.wparam), ShiftState{}, p);
      return;
    default:
      return;  // the middle button's double click among them
  }
}

TPopupMenu* TTrayIcon::MenuFor(MouseButton button) const {
  if (button == MouseButton::mbLeft) return left_menu_;
  if (button == MouseButton::mbRight) return right_menu_;
  return nullptr;
}

void TTrayIcon::ButtonDown(MouseButton button, Point at) {
  if (auto_popup_ && MenuFor(button)) return PopupMenu(button, at);
  Fire(OnMouseDown, button, ButtonFlag(button), at);
}

void TTrayIcon::PopupMenu(MouseButton button, Point at) {
  // Without the foreground the menu would not close when the user clicks
  // elsewhere.
  ports_.ws.SetForegroundWindow(app_.Handle());
  app_.ProcessMessages();
  // The messages just handled may have taken the menu away.
  if (TPopupMenu* menu = MenuFor(button)) menu->Popup(at.x, at.y);
}

void TTrayIcon::OnTaskbarRestarted() {
  // The registration object has already put the icon back.
  if (animation_) {
    animation_.reset();
    if (visible_.load() && interval_.load() > 0) StartAnimation();
  }
  Fire(OnRestartTaskbar);
}

}  // namespace wakumo
