#pragma once
// The taskbar's tooltip window over notification-area icons, and the
// system's colours.
#include "platform/notify_area.h"

namespace wakumo {

class Win32TaskbarTooltip : public TaskbarTooltip {
 public:
  WindowHandle FindTrayTooltip() override;
  TColor SystemColor(int index) override;
};

}  // namespace wakumo
