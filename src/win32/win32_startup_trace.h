#pragma once
// Start-up marks timed with the performance counter. They are kept only when
// the environment variable WAKUMO_STARTUP_TRACE names a file; Finish appends
// one line per mark there: the phase, milliseconds since the process was
// made, and milliseconds since the mark before.
#include <string>
#include <string_view>
#include <vector>

#include "platform/startup_trace.h"
#include "win32/win32_api.h"

namespace wakumo {

class Win32StartupTrace : public StartupTrace {
 public:
  Win32StartupTrace();
  void Mark(std::string_view phase) override;
  // Writes the marks once; later marks are ignored.
  void Finish();

 private:
  struct Entry {
    std::string_view phase;
    LONGLONG counter;
  };
  std::wstring path_;  // empty: not asked for
  LARGE_INTEGER frequency_{};
  double created_ms_ = 0;  // process creation, on the counter's scale
  std::vector<Entry> marks_;
  bool finished_ = false;
};

}  // namespace wakumo
