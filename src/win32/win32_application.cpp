#include "win32/win32_application.h"

#include <exception>

#include "win32/win32_api.h"
#include "win32/win32_form.h"
#include "win32/win32_handles.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

void Win32ApplicationPeer::Run() {
  MSG msg;
  if (on_first_idle_) {
    // Window messages come before the paints they cause, and a paint is made
    // only when nothing else is queued: an empty queue means all is painted.
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (GetMessageW(&msg, nullptr, 0, 0) <= 0) return;
      tk_.RouteMessage(msg);
    }
    std::function<void()> first_idle = std::move(on_first_idle_);
    on_first_idle_ = nullptr;
    first_idle();
  }
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) tk_.RouteMessage(msg);
}

void Win32ApplicationPeer::Terminate() { PostQuitMessage(0); }

WindowHandle Win32ApplicationPeer::Handle() const {
  const Win32FormPeer* main = tk_.MainForm();
  return main ? ToHandle(main->Hwnd()) : 0;
}

void Win32ApplicationPeer::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Left for the main loop, which ends on it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    tk_.RouteMessage(msg);
  }
}

void Win32ApplicationPeer::Restore() {
  const Win32FormPeer* main = tk_.MainForm();
  HWND hwnd = main ? main->Hwnd() : nullptr;
  if (!hwnd) return;
  // Shows a hidden window too; the restore handler follows from WM_SIZE.
  ShowWindow(hwnd, IsIconic(hwnd) || !IsWindowVisible(hwnd) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd);
}

void Win32ApplicationPeer::MainFormSized(bool minimized) {
  if (minimized == minimized_) return;
  minimized_ = minimized;
  RunHandler(minimized ? on_minimize_ : on_restore_);
}

void Win32ApplicationPeer::RunHandler(std::function<void()> handler) {
  if (!handler) return;
  // Called from the form's window procedure, which no exception may leave:
  // the error is told to the user instead.
  try {
    handler();
  } catch (const std::exception& e) {
    ShowMessage(e.what());
  }
}

void Win32ApplicationPeer::ShowMessage(const std::string& text) {
  // Owned by the form the user is working in, so it stays above it (a
  // stay-on-top main window included) and that form waits for it.
  HWND owner = GetActiveWindow();
  if (!(owner && tk_.IsForm(owner) && IsWindowVisible(owner))) {
    Win32FormPeer* main = tk_.MainForm();
    owner = main && main->Hwnd() && IsWindowVisible(main->Hwnd()) ? main->Hwnd() : nullptr;
  }
  // With no form to own it (tray mode, closing), the message still comes
  // forward and keeps every window of the program waiting.
  UINT style = MB_OK | (owner ? 0 : MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST);
  if (owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST)) style |= MB_TOPMOST;
  MessageBoxW(owner, Wide(text).c_str(), Wide(title_).c_str(), style);
}

}  // namespace wakumo
