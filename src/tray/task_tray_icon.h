#pragma once
// The registration of one notification-area icon with the shell: its record,
// its hidden message window, and the requests that add, change, hide and
// delete the icon, with the retry policy for a busy shell and the new
// registration after the taskbar has been made again. TTrayIconWinProcList
// routes the hidden windows' messages to their registration objects.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/resource_ids.h"
#include "platform/message_windows.h"
#include "platform/notify_area.h"
#include "tray/tray_services.h"

namespace wakumo {

class TToolTipStyle;

inline constexpr const char* kTrayWindowClass = "TaskTrayHandle";
inline constexpr const char* kTrayWindowIcon = kMainIconResource;
inline constexpr const char* kTaskbarCreatedName = "TaskbarCreated";
// The shell sends it with wparam = the icon id and lparam = the mouse message.
inline constexpr std::uint32_t kTrayCallbackMessage = WM_USER_ + 200;  // 1224
inline constexpr std::uint32_t kTrayIconId = 1;
// Under this id the owner hears that the taskbar was made again.
inline constexpr std::uint32_t kTaskbarRestartedMessage = WM_USER_ + 220;  // 1244
inline constexpr std::uint32_t kTrayIconFlags = NIF_MESSAGE_ | NIF_ICON_ | NIF_TIP_;
inline constexpr std::uint32_t kTrayStateMask = NIS_HIDDEN_ | NIS_SHAREDICON_;
inline constexpr std::uint32_t kTrayRetryPauseMs = 2000;
// Retry attempts after a timed-out add: this many and one more.
inline constexpr int kTrayRetryCounter = 5;
inline constexpr std::size_t kTipBytesShell5 = 127;
inline constexpr std::size_t kTipBytesBeforeShell5 = 63;
inline constexpr std::size_t kBalloonTitleBytes = 63;
inline constexpr std::size_t kBalloonTextBytes = 255;

inline constexpr const char* kCannotRegisterIconText = "タスクトレイにアイコンを登録できません。";
inline constexpr const char* kCannotChangeIconText = "タスクトレイのアイコンを変更できません。";

class ENotifyIconError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TBalloonIconType { bitNone = 0, bitInfo = 1, bitWarning = 2, bitError = 3 };

class TTaskTrayIcon;

// The registration objects of one TrayServices, in creation order, and the
// class of their hidden windows. Made with the first registration object and
// gone with the last.
class TTrayIconWinProcList {
 public:
  explicit TTrayIconWinProcList(MessageWindows& windows);
  ~TTrayIconWinProcList();
  TTrayIconWinProcList(const TTrayIconWinProcList&) = delete;
  TTrayIconWinProcList& operator=(const TTrayIconWinProcList&) = delete;

  void Add(TTaskTrayIcon* icon);
  // Objects not in the list are ignored.
  void Remove(TTaskTrayIcon* icon);
  // Hands the message to the first object whose window is w; false when
  // none owns w.
  bool Dispatch(WindowHandle w, MessageRecord& r);
  // The message the shell broadcasts when the taskbar has been made again.
  std::uint32_t TaskbarCreated() const { return taskbar_created_; }
  std::size_t Count() const { return icons_.size(); }

 private:
  std::int64_t WindowProc(WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam);

  MessageWindows& windows_;
  std::vector<TTaskTrayIcon*> icons_;
  std::uint32_t taskbar_created_ = 0;
};

class TTaskTrayIcon {
 public:
  // Receives every message of the hidden window; sets the record's result
  // for the messages it answers.
  using Owner = std::function<void(MessageRecord&)>;

  explicit TTaskTrayIcon(TrayServices& services);
  // Deletes the icon from the notification area (also a hidden one) and
  // destroys the hidden window.
  ~TTaskTrayIcon();
  TTaskTrayIcon(const TTaskTrayIcon&) = delete;
  TTaskTrayIcon& operator=(const TTaskTrayIcon&) = delete;

  // The hidden window, made on first use; 0 while it cannot be made.
  WindowHandle Handle();
  std::uint32_t ShellVersion() const { return shell_version_; }

  // The record only; the shell sees a change with the next Update.
  void SetIconHandle(IconHandle icon) { record_.hIcon = icon; }
  IconHandle GetIconHandle() const { return record_.hIcon; }
  // Cut to 127 bytes of the ANSI code page on shell 5.0 and later, else to
  // 63 with every CR LF made one blank.
  void SetTipText(const std::string& text);
  const std::string& TipText() const { return record_.szTip; }
  // 63 bytes kept.
  void SetBalloonTitle(const std::string& text);
  const std::string& BalloonTitle() const { return record_.szInfoTitle; }
  // 255 bytes kept.
  void SetBalloonText(const std::string& text);
  const std::string& BalloonText() const { return record_.szInfo; }
  // A negative value is refused with std::out_of_range; the old one stays.
  void SetBalloonTimeOut(std::int32_t ms);
  std::int32_t BalloonTimeOut() const { return static_cast<std::int32_t>(record_.uTimeout); }
  void SetBalloonIcon(TBalloonIconType type) { record_.dwInfoFlags = static_cast<std::uint32_t>(type); }
  TBalloonIconType BalloonIcon() const { return static_cast<TBalloonIconType>(record_.dwInfoFlags); }
  // The hidden window is made the foreground window before each add and
  // change request.
  void SetDoForegroundWindow(bool on) { do_foreground_window_ = on; }
  bool DoForegroundWindow() const { return do_foreground_window_; }

  // Each returns whether the icon is in the state asked for. Show may throw
  // ENotifyIconError (kCannotRegisterIconText: the shell refused the icon or
  // the hidden window cannot be made; kCannotChangeIconText: a busy shell
  // kept timing out); Update drops those errors.
  bool Show();
  bool Update();
  bool Hide();
  bool Delete();
  // The shell holds an icon for this record; the icon is visible.
  bool Added() const { return added_; }
  bool Shown() const { return shown_; }

  void SetOwner(Owner owner) { owner_ = std::move(owner); }
  TToolTipStyle& ToolTipStyle() { return *style_; }
  const NotifyIconData& Record() const { return record_; }

  // Called by the registry for every message of the hidden window.
  void MessageHandler(MessageRecord& r);

 private:
  friend class TTrayIconWinProcList;

  bool IsShell5Record() const;
  void FillRecord();
  bool Notify(NotifyIconMessage message);
  void BringWindowForward();
  void RetryAttempt(int& counter);
  void RegisteredAnew();

  const TrayPorts& ports_;
  std::shared_ptr<TTrayIconWinProcList> registry_;
  std::unique_ptr<TToolTipStyle> style_;
  std::uint32_t shell_version_ = 0;
  WindowHandle window_ = 0;
  NotifyIconData record_;
  bool added_ = false;
  bool shown_ = false;
  bool do_foreground_window_ = false;
  Owner owner_;
  // Expires with the object, for handlers that may end it.
  std::shared_ptr<char> life_ = std::make_shared<char>();
};

}  // namespace wakumo
