// Small test harness of the end-to-end driver: output, polling, cases and
// access to the Unix side of Wine (xdotool, screenshots).
#pragma once

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// The text in double quotes, UTF-8, so that empty and blank texts are visible.
std::string Quoted(const std::wstring& text);
std::string RectText(const RECT& r);
std::string ColorText(COLORREF c);
void Log(const std::string& line);

// Calls cond every 20 ms until it holds or timeout_ms pass; returns its last answer.
bool PollUntil(const std::function<bool()>& cond, int timeout_ms);

struct CaseFailed : std::runtime_error {
  using std::runtime_error::runtime_error;
};
[[noreturn]] void Fail(const std::string& why);

class Suite {
 public:
  // A case fails by throwing CaseFailed; on_failure runs after its FAIL line.
  void Run(const std::string& id, const std::function<void()>& body);
  void Skip(const std::string& id, const std::string& reason);
  void FailWithout(const std::string& id, const std::string& why);
  std::function<void(const std::string& id)> on_failure;
  int passed = 0, failed = 0, skipped = 0;
};

// Runs /bin/sh scripts on the Unix side: Wine's CreateProcess forks and execs a
// Unix binary but hands back no process handle, so completion is signalled by
// a status file that the script renames into place as its last step.
class UnixShell {
 public:
  // scratch_unix: an existing Unix folder for the status files.
  explicit UnixShell(std::string scratch_unix);
  bool Available() const { return available_; }
  // The script's exit status, or -1 when it could not start or timed out.
  int Run(const std::string& script, int timeout_ms);

 private:
  std::string scratch_;
  bool available_ = false;
  int serial_ = 0;
};

// A Unix path in Wine's DOS form; empty when not running under Wine.
std::wstring DosPath(const std::string& unix_path);
// Single-quoted for /bin/sh (the path may hold no single quote).
std::string ShellQuoted(const std::string& text);

}  // namespace e2e
