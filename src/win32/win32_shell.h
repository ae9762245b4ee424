#pragma once
// The desktop's "open" request on shell32.
#include "platform/shell.h"

namespace wakumo {

class Win32Shell : public Shell {
 public:
  bool Open(WindowHandle owner, std::string_view target) override;
};

}  // namespace wakumo
