#include "harness.h"

#include <cstdarg>
#include <cstdio>

namespace e2e {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  char buf[2048];
  vsnprintf(buf, sizeof buf, fmt, args);
  va_end(args);
  return buf;
}

std::string Quoted(const std::wstring& text) { return "\"" + Utf8(text) + "\""; }

std::string RectText(const RECT& r) {
  return Format("(%ld, %ld, %ld, %ld) %ld x %ld", r.left, r.top, r.right, r.bottom,
                r.right - r.left, r.bottom - r.top);
}

std::string ColorText(COLORREF c) {
  return Format("RGB(%d, %d, %d)", GetRValue(c), GetGValue(c), GetBValue(c));
}

void Log(const std::string& line) {
  // Raw bytes: the CRT's text mode would turn "\n" into "\r\n" on the Unix side.
  fwrite(line.data(), 1, line.size(), stdout);
  fputc('\n', stdout);
  fflush(stdout);
}

bool PollUntil(const std::function<bool()>& cond, int timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout_ms);
  for (;;) {
    if (cond()) return true;
    if (GetTickCount64() >= deadline) return cond();
    Sleep(20);
  }
}

void Fail(const std::string& why) { throw CaseFailed(why); }

void Suite::Run(const std::string& id, const std::function<void()>& body) {
  try {
    body();
    ++passed;
    Log("PASS " + id);
  } catch (const CaseFailed& e) {
    ++failed;
    Log("FAIL " + id + ": " + e.what());
    if (on_failure) on_failure(id);
  }
}

void Suite::Skip(const std::string& id, const std::string& reason) {
  ++skipped;
  Log("SKIP " + id + ": " + reason);
}

void Suite::FailWithout(const std::string& id, const std::string& why) {
  ++failed;
  Log("FAIL " + id + ": " + why);
}

namespace {

using DosNameFn = WCHAR* (*)(const char*);

template <class Fn>
Fn WineExport(const char* name) {
  HMODULE k32 = GetModuleHandleW(L"kernel32.dll");
  return k32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(k32, name))) : nullptr;
}

}  // namespace

std::wstring DosPath(const std::string& unix_path) {
  auto fn = WineExport<DosNameFn>("wine_get_dos_file_name");
  if (!fn) return {};
  WCHAR* p = fn(unix_path.c_str());
  if (!p) return {};
  std::wstring out = p;
  HeapFree(GetProcessHeap(), 0, p);
  return out;
}

std::string ShellQuoted(const std::string& text) { return "'" + text + "'"; }

UnixShell::UnixShell(std::string scratch_unix) : scratch_(std::move(scratch_unix)) {
  available_ = !DosPath("/bin/sh").empty() && GetFileAttributesW(DosPath("/bin/sh").c_str()) !=
                                                  INVALID_FILE_ATTRIBUTES;
}

int UnixShell::Run(const std::string& script, int timeout_ms) {
  if (!available_) return -1;
  const std::string status = scratch_ + Format("/sh-%lu-%d.status", GetCurrentProcessId(), ++serial_);
  const std::wstring status_dos = DosPath(status);
  DeleteFileW(status_dos.c_str());
  // Wine splits this command line with Windows rules before exec: the script
  // sits in one pair of double quotes and must not contain double quotes.
  if (script.find('"') != std::string::npos) return -1;
  const std::string full = "/bin/sh -c \"" + script + "; echo $? > " + ShellQuoted(status + ".tmp") +
                           " && mv " + ShellQuoted(status + ".tmp") + " " + ShellQuoted(status) + "\"";
  std::wstring cmd = Wide(full);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return -1;
  if (pi.hProcess) CloseHandle(pi.hProcess);
  if (pi.hThread) CloseHandle(pi.hThread);
  if (!PollUntil([&] { return GetFileAttributesW(status_dos.c_str()) != INVALID_FILE_ATTRIBUTES; },
                 timeout_ms))
    return -1;
  int code = -1;
  if (FILE* f = _wfopen(status_dos.c_str(), L"rb")) {
    if (fscanf(f, "%d", &code) != 1) code = -1;
    fclose(f);
  }
  DeleteFileW(status_dos.c_str());
  return code;
}

}  // namespace e2e
