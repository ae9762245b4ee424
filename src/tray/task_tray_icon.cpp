#include "tray/task_tray_icon.h"

#include <algorithm>

#include "tray/tool_tip_style.h"
#include "tray/tray_text.h"

namespace wakumo {

// ---- Registry ----------------------------------------------------------------

TTrayIconWinProcList::TTrayIconWinProcList(MessageWindows& windows) : windows_(windows) {
  // A class that cannot be registered shows later, as a window that cannot
  // be made (Handle() gives 0 and Show refuses).
  windows_.RegisterClass(kTrayWindowClass, kTrayWindowIcon,
                         [this](WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam) {
                           return WindowProc(w, msg, wparam, lparam);
                         });
  taskbar_created_ = windows_.RegisterWindowMessage(kTaskbarCreatedName);
}

TTrayIconWinProcList::~TTrayIconWinProcList() { windows_.UnregisterClass(kTrayWindowClass); }

void TTrayIconWinProcList::Add(TTaskTrayIcon* icon) { icons_.push_back(icon); }

void TTrayIconWinProcList::Remove(TTaskTrayIcon* icon) {
  icons_.erase(std::remove(icons_.begin(), icons_.end(), icon), icons_.end());
}

bool TTrayIconWinProcList::Dispatch(WindowHandle w, MessageRecord& r) {
  if (w == 0) return false;
  const auto it = std::find_if(icons_.begin(), icons_.end(),
                               [w](const TTaskTrayIcon* icon) { return icon->window_ == w; });
  if (it == icons_.end()) return false;
  // A handler may end the object, or the last one and with it this registry:
  // nothing of either is touched afterwards.
  (*it)->MessageHandler(r);
  return true;
}

std::int64_t TTrayIconWinProcList::WindowProc(WindowHandle w, std::uint32_t msg, std::uint64_t wparam,
                                              std::int64_t lparam) {
  MessageRecord r{msg, wparam, lparam, 0};
  if (Dispatch(w, r)) return r.result;
  // No owner yet (the window is being made) or none at all.
  return windows_.DefWindowProc(w, msg, wparam, lparam);
}

// ---- Registration object -----------------------------------------------------

TTaskTrayIcon::TTaskTrayIcon(TrayServices& services)
    : ports_(services.Ports()), registry_(services.Registry()) {
  registry_->Add(this);
  style_ = std::make_unique<TToolTipStyle>(ports_);
  shell_version_ = DetermineShellVersion(ports_.shell);
}

TTaskTrayIcon::~TTaskTrayIcon() {
  Delete();
  // The messages of the window's end still come through MessageHandler, so
  // the style object goes after it.
  if (window_) ports_.windows.DestroyWindow(window_);
  window_ = 0;
  style_.reset();
  registry_->Remove(this);
}

WindowHandle TTaskTrayIcon::Handle() {
  if (!window_) {
    window_ = ports_.windows.CreateWindow(kTrayWindowClass);
    if (window_) style_->SetWindow(window_);
  }
  return window_;
}

bool TTaskTrayIcon::IsShell5Record() const { return IsShell5(shell_version_); }

void TTaskTrayIcon::SetTipText(const std::string& text) {
  if (IsShell5Record()) {
    record_.szTip = CutToAnsiBytes(text, kTipBytesShell5, ports_.code_page);
  } else {
    record_.szTip = CutToAnsiBytes(CrLfToBlank(text), kTipBytesBeforeShell5, ports_.code_page);
  }
}

void TTaskTrayIcon::SetBalloonTitle(const std::string& text) {
  record_.szInfoTitle = CutToAnsiBytes(text, kBalloonTitleBytes, ports_.code_page);
}

void TTaskTrayIcon::SetBalloonText(const std::string& text) {
  record_.szInfo = CutToAnsiBytes(text, kBalloonTextBytes, ports_.code_page);
}

void TTaskTrayIcon::SetBalloonTimeOut(std::int32_t ms) {
  if (ms < 0) throw std::out_of_range("BalloonHelpTimeOut に負の値 " + std::to_string(ms) + " は使えません");
  record_.uTimeout = static_cast<std::uint32_t>(ms);
}

void TTaskTrayIcon::FillRecord() {
  if (IsShell5Record()) {
    record_.layout = NotifyIconLayout::kVersion2;
    record_.dwState = NIS_SHAREDICON_;
    record_.dwStateMask = 0;
    record_.dwInfoFlags = 0;
  } else {
    record_.layout = NotifyIconLayout::kVersion1;
  }
  record_.uID = kTrayIconId;
  record_.hWnd = Handle();
  record_.uCallbackMessage = kTrayCallbackMessage;
  record_.uFlags = kTrayIconFlags;
}

bool TTaskTrayIcon::Notify(NotifyIconMessage message) { return ports_.shell.NotifyIcon(message, record_); }

void TTaskTrayIcon::BringWindowForward() {
  if (do_foreground_window_ && window_) ports_.ws.SetForegroundWindow(window_);
}

bool TTaskTrayIcon::Show() {
  if (shown_) return true;
  FillRecord();
  if (record_.hIcon == 0) return shown_;
  // Without its window the icon could never report a click.
  if (record_.hWnd == 0) throw ENotifyIconError(kCannotRegisterIconText);
  BringWindowForward();
  if (added_) {
    // Registered but hidden: made visible again, not added a second time.
    record_.dwState = 0;
    record_.uFlags |= NIF_STATE_;
    record_.dwStateMask = kTrayStateMask;
    if (Notify(NotifyIconMessage::nimModify)) shown_ = true;
    return shown_;
  }
  if (Notify(NotifyIconMessage::nimAdd)) {
    added_ = shown_ = true;
    style_->ResetCursorBox();
    return shown_;
  }
  int counter = kTrayRetryCounter;
  while (!shown_ && counter >= 0) RetryAttempt(counter);
  return shown_;
}

void TTaskTrayIcon::RetryAttempt(int& counter) {
  if (ports_.shell.LastError() != ERROR_TIMEOUT_) throw ENotifyIconError(kCannotRegisterIconText);
  ports_.sleeper.Sleep(kTrayRetryPauseMs);
  // A busy shell may have taken the timed-out add after all.
  added_ = shown_ = true;
  if (Notify(NotifyIconMessage::nimModify)) {
    style_->ResetCursorBox();
    return;
  }
  added_ = shown_ = false;
  BringWindowForward();
  if (Notify(NotifyIconMessage::nimAdd)) {
    added_ = shown_ = true;
    style_->ResetCursorBox();
    return;
  }
  if (counter == 0) throw ENotifyIconError(kCannotChangeIconText);
  --counter;
}

bool TTaskTrayIcon::Update() {
  if (!shown_) {
    try {
      return Show();
    } catch (const ENotifyIconError&) {
      return false;
    }
  }
  if (record_.hIcon == 0) return false;
  BringWindowForward();
  if (!Notify(NotifyIconMessage::nimModify) && ports_.shell.LastError() != ERROR_TIMEOUT_) {
    // The shell has forgotten the icon: register it anew.
    added_ = shown_ = false;
    try {
      Show();
    } catch (const ENotifyIconError&) {
    }
  }
  return shown_;
}

bool TTaskTrayIcon::Hide() {
  if (!IsShell5Record()) return Delete();
  if (!(added_ && shown_)) return true;
  // Kept registered while hidden, so that Show needs only a modify.
  record_.uFlags = NIF_STATE_;
  record_.dwState = NIS_HIDDEN_;
  record_.dwStateMask = kTrayStateMask;
  const bool ok = Notify(NotifyIconMessage::nimModify);
  record_.dwState = 0;
  shown_ = false;
  return ok;
}

bool TTaskTrayIcon::Delete() {
  if (!added_) return true;
  const bool ok = Notify(NotifyIconMessage::nimDelete);
  added_ = shown_ = false;
  return ok;
}

void TTaskTrayIcon::RegisteredAnew() {
  // No caller waits for this Show: a refusal leaves both flags clear, which
  // the owner can see when it hears of the restart.
  try {
    Show();
  } catch (const ENotifyIconError&) {
  }
}

void TTaskTrayIcon::MessageHandler(MessageRecord& r) {
  // The owner's handlers may end this object (a click that closes the
  // program): nothing of it is touched once that has happened.
  const std::weak_ptr<char> alive = life_;
  if (r.msg != 0 && r.msg == registry_->TaskbarCreated()) {
    if (added_) {
      const bool was_shown = shown_;
      added_ = shown_ = false;
      if (was_shown) RegisteredAnew();
    }
    const std::uint32_t id = r.msg;
    r.msg = kTaskbarRestartedMessage;
    if (owner_) {
      const Owner owner = owner_;
      owner(r);
      if (alive.expired()) return;
    }
    r.msg = id;
  }
  style_->MessageHandler(r);
  if (alive.expired()) return;
  if (owner_) {
    const Owner owner = owner_;
    owner(r);
  } else {
    r.result = ports_.windows.DefWindowProc(window_, r.msg, r.wparam, r.lparam);
  }
}

}  // namespace wakumo
