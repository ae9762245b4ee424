#pragma once
// Icons of the executable's resources, at the notification area's size.
#include "platform/icons.h"
#include "win32/win32_api.h"

namespace wakumo {

class Win32IconStore : public IconStore {
 public:
  explicit Win32IconStore(HINSTANCE instance) : instance_(instance) {}
  IconHandle LoadIcon(const std::string& resource, bool shared) override;
  IconHandle ApplicationIcon() override { return LoadIcon("MAINICON", true); }
  IconHandle CopyIcon(IconHandle icon) override;
  void DestroyIcon(IconHandle icon) override;

 private:
  HINSTANCE instance_;
};

}  // namespace wakumo
