#pragma once
// The desktop's "open" request: a document (the help file) or a web address
// handed to whatever program the user has for it.
#include <string_view>

#include "core/geometry.h"

namespace wakumo {

// Win32 adapter: ShellExecuteExW with the verb "open", no parameters, no
// working folder, SW_SHOW and SEE_MASK_FLAG_NO_UI, so that a missing file or
// program never brings up a message of the system's own.
class Shell {
 public:
  virtual ~Shell() = default;
  // `target` is UTF-8; `owner` the window the request comes from (0: none).
  // True when the desktop took the request; callers may ignore the answer.
  virtual bool Open(WindowHandle owner, std::string_view target) = 0;
};

}  // namespace wakumo
