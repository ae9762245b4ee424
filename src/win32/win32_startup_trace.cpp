#include "win32/win32_startup_trace.h"

#include <cstdio>

namespace wakumo {

namespace {

constexpr wchar_t kTraceVariable[] = L"WAKUMO_STARTUP_TRACE";

double Ms(LONGLONG ticks, const LARGE_INTEGER& frequency) {
  return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

Win32StartupTrace::Win32StartupTrace() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableW(kTraceVariable, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  path_.assign(path, n);
  QueryPerformanceFrequency(&frequency_);
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  // The process's creation time is a wall-clock time: how long ago it was,
  // put on the counter's scale, gives the start of the first phase.
  FILETIME created{}, exited{}, kernel{}, user{}, wall{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&wall);
  const auto as_100ns = [](const FILETIME& f) {
    return (static_cast<LONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
  };
  const double since_creation_ms = static_cast<double>(as_100ns(wall) - as_100ns(created)) / 10000.0;
  created_ms_ = Ms(now.QuadPart, frequency_) - since_creation_ms;
  marks_.reserve(16);
  marks_.push_back({"entry", now.QuadPart});
}

void Win32StartupTrace::Mark(std::string_view phase) {
  if (path_.empty() || finished_) return;
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  marks_.push_back({phase, now.QuadPart});
}

void Win32StartupTrace::Finish() {
  if (path_.empty() || finished_) return;
  finished_ = true;
  FILE* f = _wfopen(path_.c_str(), L"ab");
  if (!f) return;
  double previous = created_ms_;
  for (const Entry& e : marks_) {
    const double at = Ms(e.counter, frequency_);
    std::fprintf(f, "%.*s %.2f %.2f\r\n", static_cast<int>(e.phase.size()), e.phase.data(), at - created_ms_,
                 at - previous);
    previous = at;
  }
  std::fclose(f);
}

}  // namespace wakumo
