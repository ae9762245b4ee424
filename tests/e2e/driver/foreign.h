// A window of another process: the driver started once more with --foreign,
// so that stacking and activation are those between two programs, not
// between two threads of one.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

inline constexpr wchar_t kForeignClass[] = L"E2EForeignWindow";
inline constexpr wchar_t kForeignTitle[] = L"よその窓 Foreign window";
// Its client area, so that a screen pixel tells it from Wakumo.
inline constexpr COLORREF kForeignColour = RGB(200, 0, 200);

// Body of the driver started with --foreign X Y W H: shows the window there,
// raises and activates it itself on kRaiseMessage, ends on WM_CLOSE.
int ForeignMain(int x, int y, int width, int height);

class ForeignProcess {
 public:
  static constexpr UINT kRaiseMessage = WM_APP + 1;

  ForeignProcess() = default;
  ForeignProcess(const ForeignProcess&) = delete;
  ForeignProcess& operator=(const ForeignProcess&) = delete;
  ~ForeignProcess();

  // Starts the process with its window at `r` and waits for the window.
  bool Start(const RECT& r, std::string& error);
  // The program brings its own window to the front, as it does when the user
  // switches to it: SetWindowPos(HWND_TOP) and SetForegroundWindow.
  void RaiseItself() const;
  void Stop();
  HWND window() const { return window_; }
  DWORD process_id() const { return pi_.dwProcessId; }

 private:
  PROCESS_INFORMATION pi_{};
  HWND window_ = nullptr;
};

}  // namespace e2e
