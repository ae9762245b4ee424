#pragma once
// The shell's notification area ("tray"): registering, changing and removing
// an icon, the shell's version, and the taskbar's own tooltip window. The
// record and its flags keep the shell's names and values; texts are UTF-8
// and already cut to the record's limits by the caller. Everything here is
// called on the user-interface thread.
#include <cstdint>
#include <optional>
#include <string>

#include "core/geometry.h"
#include "platform/icons.h"
#include "platform/message_windows.h"

namespace wakumo {

enum class NotifyIconMessage : std::uint32_t { nimAdd = 0, nimModify = 1, nimDelete = 2 };

inline constexpr std::uint32_t NIF_MESSAGE_ = 0x01;
inline constexpr std::uint32_t NIF_ICON_ = 0x02;
inline constexpr std::uint32_t NIF_TIP_ = 0x04;
inline constexpr std::uint32_t NIF_STATE_ = 0x08;
inline constexpr std::uint32_t NIF_INFO_ = 0x10;
inline constexpr std::uint32_t NIS_HIDDEN_ = 0x01;
inline constexpr std::uint32_t NIS_SHAREDICON_ = 0x02;
inline constexpr std::uint32_t NIIF_NONE_ = 0;
inline constexpr std::uint32_t NIIF_INFO_ = 1;
inline constexpr std::uint32_t NIIF_WARNING_ = 2;
inline constexpr std::uint32_t NIIF_ERROR_ = 3;
// The busy shell's error, the only one worth waiting for.
inline constexpr std::uint32_t ERROR_TIMEOUT_ = 1460;

// Which layout of the record the shell is given. Version 1 carries the icon
// and a tip of 63 characters; version 2 (shell 5.0 and later) adds the state
// and the balloon fields and a tip of 127. The adapter sets the record size
// that belongs to the layout.
enum class NotifyIconLayout { kVersion1, kVersion2 };

struct NotifyIconData {
  NotifyIconLayout layout = NotifyIconLayout::kVersion1;
  WindowHandle hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  IconHandle hIcon = 0;
  std::string szTip;
  std::uint32_t dwState = 0;
  std::uint32_t dwStateMask = 0;
  std::string szInfo;
  std::uint32_t uTimeout = 0;
  std::string szInfoTitle;
  std::uint32_t dwInfoFlags = 0;
  friend bool operator==(const NotifyIconData&, const NotifyIconData&) = default;
};

// The version shell32 reports of itself.
struct ShellDllVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
};

class NotifyArea {
 public:
  virtual ~NotifyArea() = default;
  // Shell_NotifyIcon: true when the shell took the request.
  virtual bool NotifyIcon(NotifyIconMessage message, const NotifyIconData& data) = 0;
  // The system's error code of the last NotifyIcon that failed, read right
  // after it.
  virtual std::uint32_t LastError() = 0;
  // The "FileVersion" text of the system's shell32.dll version resource
  // (first language listed); nothing when it cannot be read.
  virtual std::optional<std::string> Shell32FileVersion() = 0;
  // What shell32's DllGetVersion answers; nothing when it is missing or fails.
  virtual std::optional<ShellDllVersion> Shell32DllVersion() = 0;
};

// Messages of a tooltip window, sent with MessageWindows::SendMessage.
inline constexpr std::uint32_t TTM_SETTIPBKCOLOR_ = WM_USER_ + 19;
inline constexpr std::uint32_t TTM_SETTIPTEXTCOLOR_ = WM_USER_ + 20;
inline constexpr std::uint32_t TTM_POP_ = WM_USER_ + 28;
inline constexpr int COLOR_INFOTEXT_ = 23;
inline constexpr int COLOR_INFOBK_ = 24;

class TaskbarTooltip {
 public:
  virtual ~TaskbarTooltip() = default;
  // The tooltip window that the taskbar shows over notification-area icons:
  // the first top-level "tooltips_class32" window of the taskbar's process
  // whose style lacks TTS_NOPREFIX. 0 when there is none (no taskbar, or a
  // shell that draws its tooltips otherwise).
  virtual WindowHandle FindTrayTooltip() = 0;
  // GetSysColor: the RGB value (0x00BBGGRR) of a system colour index.
  virtual TColor SystemColor(int index) = 0;
};

}  // namespace wakumo
