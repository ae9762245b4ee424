#pragma once
// Marks between the phases of start-up, so that a measurement can tell where
// the time until the main window shows goes. Marking is cheap and silent: an
// adapter keeps the marks only when asked to from outside the program.
#include <string_view>

namespace wakumo {

class StartupTrace {
 public:
  virtual ~StartupTrace() = default;
  // The phase named ends now; names are string literals.
  virtual void Mark(std::string_view phase) = 0;
};

}  // namespace wakumo
