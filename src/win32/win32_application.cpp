#include "win32/win32_application.h"

#include "win32/win32_api.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

void Win32ApplicationPeer::Run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab and mnemonic keys move between the controls of our forms.
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && tk_.IsForm(root) && IsDialogMessageW(root, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Win32ApplicationPeer::Terminate() { PostQuitMessage(0); }

}  // namespace wakumo
