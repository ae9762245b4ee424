#include "wakumo_process.h"

#include <cstdio>

#include "harness.h"

namespace e2e {

std::wstring WindowText(HWND hwnd) {
  wchar_t buf[512] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG,
                           3000, &copied))
    return L"<no answer to WM_GETTEXT>";
  return std::wstring(buf, std::min<size_t>(copied, 511));
}

std::wstring ClassName(HWND hwnd) {
  wchar_t buf[256] = {};
  GetClassNameW(hwnd, buf, 256);
  return buf;
}

RECT WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

std::string SizeText(const RECT& r) {
  return Format("%ld x %ld", r.right - r.left, r.bottom - r.top);
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

HWND CaptureOf(DWORD thread_id) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(thread_id, &info)) return nullptr;
  return info.hwndCapture;
}

WakumoProcess::~WakumoProcess() { Discard(); }

void WakumoProcess::Discard() {
  if (pi_.hProcess) {
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(pi_.hProcess, 1);
      WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
  }
  pi_ = {};
  main_ = nullptr;
  thread_id_ = 0;
  controls_.clear();
  if (!folder_.empty()) {
    for (const std::wstring& name : FolderFiles()) DeleteFileW((folder_ + L"\\" + name).c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  folder_.clear();
}

std::vector<std::wstring> WakumoProcess::FolderFiles() const {
  std::vector<std::wstring> names;
  if (folder_.empty()) return names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder_ + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return names;
}

namespace {

BOOL CALLBACK CollectControl(HWND hwnd, LPARAM lp) {
  auto* map = reinterpret_cast<std::map<std::wstring, HWND>*>(lp);
  const ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(hwnd, L"WakumoName")));
  if (atom) {
    wchar_t name[256] = {};
    if (GlobalGetAtomNameW(atom, name, 256)) (*map)[name] = hwnd;
  }
  return TRUE;
}

// The caption as stored, read without a message: a window of a process still
// starting (or hung) answers at once.
std::wstring StoredText(HWND hwnd) {
  wchar_t title[256] = {};
  GetWindowTextW(hwnd, title, 256);
  return title;
}

struct TopLevelSearch {
  DWORD pid;
  const std::wstring& cls;
  std::vector<HWND> found;
};

BOOL CALLBACK FindTopLevels(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<TopLevelSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if ((s->pid == 0 || pid == s->pid) && IsWindowVisible(hwnd) && (s->cls.empty() || ClassName(hwnd) == s->cls)) {
    s->found.push_back(hwnd);
  }
  return TRUE;
}

}  // namespace

std::map<std::wstring, HWND> NamedControls(HWND root) {
  std::map<std::wstring, HWND> controls;
  EnumChildWindows(root, CollectControl, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

std::vector<HWND> VisibleTopLevelsOf(DWORD pid, const std::wstring& cls) {
  TopLevelSearch s{pid, cls, {}};
  EnumWindows(FindTopLevels, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::string VisibleWindowsOf(DWORD pid) {
  std::string text;
  for (HWND hwnd : VisibleTopLevelsOf(pid)) {
    text += (text.empty() ? "" : ", ") + Quoted(ClassName(hwnd)) + " " + Quoted(StoredText(hwnd));
  }
  return text.empty() ? "(none)" : text;
}

bool WakumoProcess::Start(const std::wstring& exe, std::string& error, const LaunchSetup& setup) {
  Discard();
  if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
    error = "no executable at " + Quoted(exe);
    return false;
  }
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  folder_ = std::wstring(temp) + L"wakumo-e2e-" + std::to_wstring(GetCurrentProcessId()) +
            (setup.folder_tag.empty() ? L"" : L"-" + setup.folder_tag);
  CreateDirectoryW(folder_.c_str(), nullptr);
  const std::wstring copy = folder_ + L"\\wakumo.exe";
  if (!CopyFileW(exe.c_str(), copy.c_str(), FALSE)) {
    error = Format("copying the exe to %s failed, error %lu", Quoted(copy).c_str(), GetLastError());
    return false;
  }
  for (const std::wstring& file : setup.beside) {
    const size_t slash = file.find_last_of(L"\\/");
    const std::wstring to = folder_ + L"\\" + (slash == std::wstring::npos ? file : file.substr(slash + 1));
    if (!CopyFileW(file.c_str(), to.c_str(), FALSE)) {
      error = Format("copying %s beside the exe failed, error %lu", Quoted(file).c_str(), GetLastError());
      return false;
    }
  }
  if (setup.settings) {
    bool written = false;
    if (FILE* f = _wfopen(SettingsPath().c_str(), L"wb")) {
      written = fwrite(setup.settings->data(), 1, setup.settings->size(), f) == setup.settings->size();
      written = fclose(f) == 0 && written;
    }
    if (!written) {
      error = "writing " + Quoted(SettingsPath()) + " failed";
      return false;
    }
  }
  std::wstring cmd = L"\"" + copy + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(copy.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                      &si, &pi_)) {
    error = Format("CreateProcess failed, error %lu", GetLastError());
    return false;
  }
  HWND main = nullptr;
  const bool found = PollUntil([&] {
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0) return true;
    for (HWND form : VisibleTopLevelsOf(pi_.dwProcessId, L"TForm1")) {
      if (StoredText(form) == L"Wakumo") main = form;
    }
    return main != nullptr;
  }, 30000);
  DWORD code = 0;
  if (GetExitCodeProcess(pi_.hProcess, &code) && code != STILL_ACTIVE) {
    error = Format("wakumo.exe ended at start with exit code %lu", code);
    return false;
  }
  if (!found) {
    error = "no visible window of class \"TForm1\" titled \"Wakumo\" within 30 s";
    return false;
  }
  main_ = main;
  thread_id_ = GetWindowThreadProcessId(main_, nullptr);
  // Controls may still be in the making when the frame first shows.
  size_t last = 0;
  PollUntil([&] {
    FindControls();
    const bool stable = !controls_.empty() && controls_.size() == last;
    last = controls_.size();
    return stable && controls_.count(L"Image1") && controls_.count(L"Label1");
  }, 5000);
  return true;
}

void WakumoProcess::FindControls() { controls_ = NamedControls(main_); }

HWND WakumoProcess::Control(const std::wstring& name) const {
  auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}

std::string WakumoProcess::ControlNames() const {
  std::string out;
  for (const auto& [name, hwnd] : controls_) out += (out.empty() ? "" : " ") + Utf8(name);
  return out.empty() ? "(none)" : out;
}

bool WakumoProcess::Close(int timeout_ms, DWORD& exit_code) {
  if (!pi_.hProcess) return false;
  PostMessageW(main_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeout_ms)) != WAIT_OBJECT_0) return false;
  GetExitCodeProcess(pi_.hProcess, &exit_code);
  return true;
}

}  // namespace e2e
