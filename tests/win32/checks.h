// The checks of the Win32 adapter test programs, in the manner of Wine's own
// tests: a failed check prints the test, the file and line that made it and
// the values it saw; a check Wine is known to fail is listed as a known
// divergence; a part that cannot run here is listed as skipped. Each program
// ends with Finish(): the line "N passed, N failed, N known Wine
// divergences, N skipped" and an exit status that is non-zero on a failure.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdio>
#include <source_location>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "core/geometry.h"
#include "win32/win32_api.h"

namespace wakumo {

inline int g_passed = 0;
inline int g_failed = 0;
inline int g_divergences = 0;
inline int g_skipped = 0;
// The name of the running test, printed with each line.
inline std::string g_test;

// "adapter_test.cpp:120" rather than the build's full path.
inline std::string Where(const std::source_location& at) {
  std::string_view file = at.file_name();
  const std::size_t slash = file.find_last_of("/\\");
  if (slash != std::string_view::npos) file.remove_prefix(slash + 1);
  return std::string(file) + ":" + std::to_string(at.line());
}

inline void Report(const char* kind, const std::string& what, const std::source_location& at) {
  std::printf("%s [%s] %s: %s\n", kind, g_test.c_str(), Where(at).c_str(), what.c_str());
}

inline void Check(bool ok, const std::string& what, std::source_location at = std::source_location::current()) {
  if (ok) {
    ++g_passed;
  } else {
    ++g_failed;
    Report("FAILED", what, at);
  }
}

// The values CheckEq prints.
inline std::string Shown(const std::string& s) { return "\"" + s + "\""; }
inline std::string Shown(const char* s) { return Shown(std::string(s ? s : "(null)")); }
inline std::string Shown(std::string_view s) { return Shown(std::string(s)); }
inline std::string Shown(bool b) { return b ? "true" : "false"; }
inline std::string Shown(std::nullptr_t) { return "null"; }
inline std::string Shown(const Point& p) { return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")"; }
inline std::string Shown(const Rect& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
         std::to_string(r.bottom) + ")";
}
inline std::string Shown(const void* p) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%p", p);
  return buf;
}
template <typename T>
  requires(std::is_arithmetic_v<T> && !std::same_as<T, bool>)
std::string Shown(T v) {
  return std::to_string(v);
}
template <typename T>
  requires std::is_enum_v<T>
std::string Shown(T v) {
  return std::to_string(static_cast<std::underlying_type_t<T>>(v));
}

// Integers of different signedness are compared by value.
template <typename A, typename B>
bool SameValue(const A& a, const B& b) {
  if constexpr (std::is_integral_v<A> && std::is_integral_v<B> && !std::same_as<A, bool> && !std::same_as<B, bool>) {
    return std::cmp_equal(a, b);
  } else {
    return a == b;
  }
}

// Passes when `actual` equals `expected`; a failure prints both.
template <typename A, typename B>
void CheckEq(const A& actual, const B& expected, const std::string& what,
             std::source_location at = std::source_location::current()) {
  if (SameValue(actual, expected)) return Check(true, what, at);
  Check(false, what + ": got " + Shown(actual) + ", expected " + Shown(expected), at);
}

inline bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// A check Wine is known to fail, as Wine's own todo_wine: under Wine the
// failure is listed as a known divergence, and a pass fails so that the test
// gets updated. Elsewhere it is a plain check.
inline void CheckTodoWine(bool ok, const std::string& what, std::source_location at = std::source_location::current()) {
  if (!UnderWine()) return Check(ok, what, at);
  if (ok) {
    ++g_failed;
    Report("FAILED", "known Wine divergence no longer seen, update the test: " + what, at);
  } else {
    ++g_divergences;
    Report("KNOWN WINE DIVERGENCE", what, at);
  }
}

// A part of a test that cannot run here; the caller returns after it.
inline void Skip(const std::string& why, std::source_location at = std::source_location::current()) {
  ++g_skipped;
  Report("SKIPPED", why, at);
}

// The summary line; the exit status of the program.
inline int Finish() {
  std::printf("%d passed, %d failed, %d known Wine divergences, %d skipped\n", g_passed, g_failed, g_divergences,
              g_skipped);
  return g_failed == 0 ? 0 : 1;
}

}  // namespace wakumo
