#pragma once
// What the notification-area component needs of the platform, and the one
// registry of its registration objects. Start-up makes one of these and
// gives it to the form that owns tray icons; it must outlive them. Tests
// make as many independent ones as they like.
#include <memory>

#include "app/window_system/window_system.h"
#include "platform/platform.h"

namespace wakumo {

class TTrayIconWinProcList;

struct TrayPorts {
  NotifyArea& shell;
  MessageWindows& windows;
  TaskbarTooltip& tooltip;
  IconStore& icons;
  WorkerThreads& workers;
  Sleeper& sleeper;
  SystemParameters& system;
  const AnsiCodePage& code_page;
  // Cursor position, foreground window, the application window's state.
  WindowSystem& ws;
};

class TrayServices {
 public:
  TrayServices(WindowSystem& ws, const Platform& platform);
  TrayServices(const TrayServices&) = delete;
  TrayServices& operator=(const TrayServices&) = delete;

  const TrayPorts& Ports() const { return ports_; }
  // The live registry, or a new one when none lives. It lasts as long as
  // some registration object holds it.
  std::shared_ptr<TTrayIconWinProcList> Registry();
  bool HasRegistry() const { return !registry_.expired(); }

 private:
  TrayPorts ports_;
  std::weak_ptr<TTrayIconWinProcList> registry_;
};

}  // namespace wakumo
