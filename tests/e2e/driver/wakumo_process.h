// Wakumo started from a temporary folder, its main window and its controls.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The text as the window itself answers WM_GETTEXT.
std::wstring WindowText(HWND hwnd);
std::wstring ClassName(HWND hwnd);
RECT WindowRect(HWND hwnd);
std::string SizeText(const RECT& r);  // "W x H"
POINT Centre(const RECT& r);
// The window that holds the mouse capture on that thread, or null.
HWND CaptureOf(DWORD thread_id);
// The children of `root` that carry a "WakumoName" atom, by name.
std::map<std::wstring, HWND> NamedControls(HWND root);
// The visible top-level windows of a process (0: of any) and of a class
// (empty: of any), in stacking order from the top.
std::vector<HWND> VisibleTopLevelsOf(DWORD pid, const std::wstring& cls = {});
// The process's visible top-level windows (class and title), for failure messages.
std::string VisibleWindowsOf(DWORD pid);

// How one start of Wakumo is set up.
struct LaunchSetup {
  // Names the temporary folder (wakumo-e2e-<driver pid>[-tag]).
  std::wstring folder_tag;
  // Bytes of the settings file put beside the exe before the start; none: no file.
  std::optional<std::string> settings;
  // Files copied beside the exe under their own names (the help file).
  std::vector<std::wstring> beside;
};

class WakumoProcess {
 public:
  WakumoProcess() = default;
  WakumoProcess(const WakumoProcess&) = delete;
  WakumoProcess& operator=(const WakumoProcess&) = delete;
  ~WakumoProcess();

  // Copies the exe into a fresh temporary folder and starts it there; waits
  // for the main window. False with `error` set on failure.
  bool Start(const std::wstring& exe, std::string& error, const LaunchSetup& setup = {});
  // Posts WM_CLOSE and waits for the process to end; false when it does not.
  bool Close(int timeout_ms, DWORD& exit_code);
  // Ends the process if it still runs and removes its folder, so that Start
  // can follow for a fresh instance.
  void Discard();

  // The settings file beside the copied exe.
  std::wstring SettingsPath() const { return folder_ + L"\\wakumo.ini"; }
  // Names of the files in the folder.
  std::vector<std::wstring> FolderFiles() const;

  HWND main() const { return main_; }
  HANDLE process() const { return pi_.hProcess; }
  DWORD process_id() const { return pi_.dwProcessId; }
  DWORD thread_id() const { return thread_id_; }
  const std::wstring& folder() const { return folder_; }
  // The control whose "WakumoName" property names `name`; null if none.
  HWND Control(const std::wstring& name) const;
  // Every named control found, for failure messages.
  std::string ControlNames() const;

 private:
  void FindControls();
  PROCESS_INFORMATION pi_{};
  HWND main_ = nullptr;
  DWORD thread_id_ = 0;
  std::wstring folder_;
  std::map<std::wstring, HWND> controls_;
};

}  // namespace e2e
