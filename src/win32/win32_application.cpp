#include "win32/win32_application.h"

#include "win32/win32_api.h"
#include "win32/win32_form.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

void Win32ApplicationPeer::Run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) tk_.RouteMessage(msg);
}

void Win32ApplicationPeer::Terminate() { PostQuitMessage(0); }

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
