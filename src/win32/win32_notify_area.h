#pragma once
// The notification area on shell32: Shell_NotifyIconW with the record in the
// layout asked for, and the shell's version.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/notify_area.h"

namespace wakumo {

class Win32NotifyArea : public NotifyArea {
 public:
  bool NotifyIcon(NotifyIconMessage message, const NotifyIconData& data) override;
  std::uint32_t LastError() override { return last_error_; }
  std::optional<std::string> Shell32FileVersion() override;
  std::optional<ShellDllVersion> Shell32DllVersion() override;

 private:
  std::uint32_t last_error_ = 0;
};

}  // namespace wakumo
