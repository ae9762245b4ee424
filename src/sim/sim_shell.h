#pragma once
// The desktop's "open" request, recorded: a test reads what was asked to be
// opened and by which window, and scripts a desktop that refuses.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell.h"

namespace wakumo {

struct ShellOpenCall {
  WindowHandle owner = 0;
  std::string target;
  friend bool operator==(const ShellOpenCall&, const ShellOpenCall&) = default;
};
inline void PrintTo(const ShellOpenCall& c, std::ostream* os) {
  *os << "{owner " << c.owner << ", \"" << c.target << "\"}";
}

class SimShell : public Shell {
 public:
  bool Open(WindowHandle owner, std::string_view target) override {
    calls_.push_back({owner, std::string(target)});
    return accepts_;
  }
  const std::vector<ShellOpenCall>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // A desktop with no program for the target (or no such file) refuses.
  void SetAccepts(bool accepts) { accepts_ = accepts; }

 private:
  std::vector<ShellOpenCall> calls_;
  bool accepts_ = true;
};

}  // namespace wakumo
