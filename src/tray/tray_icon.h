#pragma once
// The component a form places to own an icon in the notification area: the
// icon's image (an explicit icon, one of a list of icon resources, or the
// program's own), when it is present (while Visible, or only while the
// program is minimised), the shell's mouse reports turned into events, a
// menu for the left or right button, the program's minimise and restore,
// and an optional animation through the icon list.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/message_windows.h"
#include "platform/worker_threads.h"
#include "tray/icon.h"
#include "tray/task_tray_icon.h"
#include "tray/tool_tip_style.h"
#include "tray/tray_services.h"
#include "ui/application.h"
#include "ui/control.h"
#include "ui/menu.h"

namespace wakumo {

class TTrayIcon;

// Steps the icon every Interval milliseconds while the icon is visible;
// pauses itself otherwise.
class TIconAnimation {
 public:
  TIconAnimation(WorkerThreads& workers, TTrayIcon& tray);
  void Resume() { worker_->Resume(); }

 private:
  void Execute(WorkerContext& ctx);

  TTrayIcon& tray_;
  std::unique_ptr<Worker> worker_;
};

class TTrayIcon {
 public:
  // owner_window: the window of the form that owns the component, brought
  // to the front when the program is restored; 0 for none.
  TTrayIcon(TrayServices& services, UiToolkit& tk, WindowHandle owner_window = 0);
  // Hides and deletes the icon, ends the animation and gives the program its
  // earlier minimise and restore handlers back.
  ~TTrayIcon();
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  // While a form applies its stored properties the setters only store;
  // Loaded then shows the icon when it is wanted (and may throw
  // ENotifyIconError).
  void BeginLoading() { loading_ = true; }
  void Loaded();
  bool Loading() const { return loading_; }

  bool AutoPopup() const { return auto_popup_; }
  void SetAutoPopup(bool on) { auto_popup_ = on; }
  // Takes precedence over every other source of the image.
  TIcon& Icon() { return icon_; }
  void SetIcon(const TIcon& icon);
  std::string TipHelp() const { return reg_->TipText(); }
  void SetTipHelp(const std::string& tip);
  bool Minimized() const { return minimized_; }
  void SetMinimized(bool on);
  bool Visible() const { return visible_.load(); }
  // Showing may throw ENotifyIconError.
  void SetVisible(bool on);
  bool HideOnTaskBar() const { return hide_on_taskbar_; }
  void SetHideOnTaskBar(bool on) { hide_on_taskbar_ = on; }
  // An index of ResourceIconList; -1 for none. Reading first puts an index
  // past the list's end back to 0.
  std::int32_t ResourceIconID();
  void SetResourceIconID(std::int32_t index);
  const std::vector<std::string>& ResourceIconList() const { return resource_icon_list_; }
  void SetResourceIconList(std::vector<std::string> names);
  // Milliseconds between animation steps; 0 is no animation, 1 to 49 are 50.
  std::uint32_t Interval() const { return interval_.load(); }
  void SetInterval(std::uint32_t ms);
  bool DoForegroundWindow() const { return reg_->DoForegroundWindow(); }
  void SetDoForegroundWindow(bool on) { reg_->SetDoForegroundWindow(on); }
  bool CheckSingleDoubleClick() const { return reg_->ToolTipStyle().CheckSingleDoubleClick(); }
  void SetCheckSingleDoubleClick(bool on) { reg_->ToolTipStyle().SetCheckSingleDoubleClick(on); }
  // The balloon fields are carried in the record, never shown.
  std::string BalloonHelpTitle() const { return reg_->BalloonTitle(); }
  void SetBalloonHelpTitle(const std::string& t) { reg_->SetBalloonTitle(t); }
  std::string BalloonHelpText() const { return reg_->BalloonText(); }
  void SetBalloonHelpText(const std::string& t) { reg_->SetBalloonText(t); }
  std::int32_t BalloonHelpTimeOut() const { return reg_->BalloonTimeOut(); }
  // A negative value is refused with std::out_of_range.
  void SetBalloonHelpTimeOut(std::int32_t ms) { reg_->SetBalloonTimeOut(ms); }
  TBalloonIconType BalloonHelpIcon() const { return reg_->BalloonIcon(); }
  void SetBalloonHelpIcon(TBalloonIconType t) { reg_->SetBalloonIcon(t); }
  TToolTipStyle& ToolTipStyle() { return reg_->ToolTipStyle(); }
  // Copies into the owned style.
  void SetToolTipStyle(const TPersistent& style) { reg_->ToolTipStyle().Assign(style); }
  // Cleared when the menu is destroyed.
  TPopupMenu* LButtonPopupMenu() const { return left_menu_; }
  void SetLButtonPopupMenu(TPopupMenu* menu) { SetMenu(left_menu_, menu); }
  TPopupMenu* RButtonPopupMenu() const { return right_menu_; }
  void SetRButtonPopupMenu(TPopupMenu* menu) { SetMenu(right_menu_, menu); }

  // Each fired only when assigned. Positions are the cursor's on the screen
  // when the report is handled.
  TNotifyEvent OnDblClick;
  TNotifyEvent OnRDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseExit;
  TMouseEvent OnMouseClick;
  TNotifyEvent OnRestartTaskbar;
  // One animation step in place of the built-in one; the handler changes
  // Icon or ResourceIconID itself.
  TNotifyEvent OnIconAnimation;

  // Visible, and the program minimised when Minimized says so.
  bool IconWanted();
  IconHandle CurrentIconHandle();
  // Registers or shows the icon; may throw ENotifyIconError.
  bool ShowIcon();
  void HideIcon();
  // Sends the current image and tip to the shell when the icon is wanted;
  // never throws.
  bool RefreshIcon();
  // The registration with the shell (Added, Shown, the record).
  const TTaskTrayIcon& Registration() const { return *reg_; }
  bool HasAnimation() const { return animation_ != nullptr; }

  void MessageHandler(MessageRecord& r);

 private:
  friend class TIconAnimation;

  bool Live() const { return !loading_; }
  void SetMenu(TPopupMenu*& slot, TPopupMenu* menu);
  void OnTrayCallback(const MessageRecord& r);
  void OnTaskbarRestarted();
  TPopupMenu* MenuFor(MouseButton button) const;
  void ButtonDown(MouseButton button, Point at);
  void PopupMenu(MouseButton button, Point at);
  void AppMinimize();
  void AppRestore();
  void StartAnimation();
  void StopAnimation();
  bool AnimationWanted() const;
  void AnimationStep();
  // Empties Icon without the refresh its change would cause.
  void DropIcon();

  const TrayPorts& ports_;
  TApplication app_;
  WindowHandle owner_window_;
  TIcon icon_;
  std::vector<std::string> resource_icon_list_;
  std::unique_ptr<TTaskTrayIcon> reg_;
  std::unique_ptr<TIconAnimation> animation_;
  IconHandle resource_icon_ = 0;
  std::function<void()> saved_minimize_;
  std::function<void()> saved_restore_;
  TPopupMenu* left_menu_ = nullptr;
  TPopupMenu* right_menu_ = nullptr;
  bool loading_ = false;
  bool auto_popup_ = true;
  bool minimized_ = false;
  bool hide_on_taskbar_ = false;
  bool icon_change_muted_ = false;
  std::int32_t resource_icon_id_ = -1;
  // Read by the animation thread between its steps.
  std::atomic<bool> visible_{true};
  std::atomic<std::uint32_t> interval_{0};
  std::atomic<bool> animating_{false};
};

}  // namespace wakumo
