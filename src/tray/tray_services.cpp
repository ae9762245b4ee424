#include "tray/tray_services.h"

#include "tray/task_tray_icon.h"

namespace wakumo {

TrayServices::TrayServices(WindowSystem& ws, const Platform& platform)
    : ports_{platform.notify_area, platform.message_windows, platform.taskbar_tooltip, platform.icons,
             platform.workers,     platform.sleeper,         platform.system,          platform.code_page,
             ws} {}

std::shared_ptr<TTrayIconWinProcList> TrayServices::Registry() {
  if (auto live = registry_.lock()) return live;
  auto made = std::make_shared<TTrayIconWinProcList>(ports_.windows);
  registry_ = made;
  return made;
}

}  // namespace wakumo
