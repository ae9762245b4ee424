#include "win32/win32_hidden_window.h"

namespace wakumo {

namespace {

constexpr wchar_t kHiddenWindowClass[] = L"WakumoHiddenMessageWindow";

bool RegisterHiddenWindowClass(WNDPROC proc) {
  static const bool registered = [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHiddenWindowClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

HiddenMessageWindow::HiddenMessageWindow(void* owner, Handler handler) : owner_(owner), handler_(handler) {
  if (!RegisterHiddenWindowClass(&Proc)) return;
  hwnd_ = CreateWindowExW(0, kHiddenWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                          this);
}

HiddenMessageWindow::~HiddenMessageWindow() {
  if (!hwnd_) return;
  // Messages sent while the window is destroyed must not reach a half-gone owner.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

LRESULT CALLBACK HiddenMessageWindow::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<HiddenMessageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  LRESULT result = 0;
  if (self && self->handler_ && self->handler_(self->owner_, message, wparam, lparam, result)) return result;
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace wakumo
