#pragma once
#include "win32/win32_api.h"

namespace wakumo {

// A message-only window of a facility's own, so that timer ticks, clipboard
// ownership and the steps of worker threads never depend on a form being
// alive. Handles each message through
// the owner's callback.
class HiddenMessageWindow {
 public:
  using Handler = bool (*)(void* owner, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  HiddenMessageWindow(void* owner, Handler handler);
  ~HiddenMessageWindow();
  HiddenMessageWindow(const HiddenMessageWindow&) = delete;
  HiddenMessageWindow& operator=(const HiddenMessageWindow&) = delete;
  HWND Hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  void* owner_;
  Handler handler_;
  HWND hwnd_ = nullptr;
};

}  // namespace wakumo
