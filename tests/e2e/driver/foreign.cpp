#include "foreign.h"

#include "harness.h"
#include "wakumo_process.h"

namespace e2e {

namespace {

LRESULT CALLBACK ForeignProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case ForeignProcess::kRaiseMessage:
      SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      SetForegroundWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace

int ForeignMain(int x, int y, int width, int height) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ForeignProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = CreateSolidBrush(kForeignColour);
  wc.lpszClassName = kForeignClass;
  if (!RegisterClassExW(&wc)) return 1;
  HWND w = CreateWindowExW(0, kForeignClass, kForeignTitle, WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr,
                           nullptr, wc.hInstance, nullptr);
  if (!w) return 1;
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

ForeignProcess::~ForeignProcess() { Stop(); }

bool ForeignProcess::Start(const RECT& r, std::string& error) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --foreign " + std::to_wstring(r.left) + L" " +
                         std::to_wstring(r.top) + L" " + std::to_wstring(r.right - r.left) + L" " +
                         std::to_wstring(r.bottom - r.top);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_)) {
    error = Format("CreateProcess of the foreign window failed, error %lu", GetLastError());
    return false;
  }
  HWND shown = nullptr;
  if (!PollUntil([&] {
        const std::vector<HWND> windows = VisibleTopLevelsOf(pi_.dwProcessId, kForeignClass);
        shown = windows.empty() ? nullptr : windows.front();
        return shown != nullptr;
      }, 10000)) {
    error = "the foreign process showed no window within 10 s";
    return false;
  }
  window_ = shown;
  return true;
}

void ForeignProcess::RaiseItself() const {
  if (window_) PostMessageW(window_, kRaiseMessage, 0, 0);
}

void ForeignProcess::Stop() {
  if (!pi_.hProcess) return;
  if (window_ && IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi_.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 1);
  CloseHandle(pi_.hProcess);
  CloseHandle(pi_.hThread);
  pi_ = {};
  window_ = nullptr;
}

}  // namespace e2e
