#include "win32/win32_hint_window.h"

#include "win32/win32_handles.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

namespace {

constexpr const wchar_t* kHintWindowClass = L"THintWindow";
constexpr UINT kHintFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;

}  // namespace

Win32HintWindowPeer::Win32HintWindowPeer(Win32Toolkit& tk, PeerEvents& events, const std::string& name)
    : Win32ControlPeer(tk, ControlKind::HintWindow, nullptr, events, name, clInfoBk) {
  tk.RegisterWindowClass(kHintWindowClass, CS_SAVEBITS | CS_DROPSHADOW, nullptr, false);
  // Topmost of its own and owned by nobody: a form that owns a window cannot
  // be made topmost (see Win32FormPeer::SetOwned).
  CreateHwnd(kHintWindowClass, WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, true);
}

Win32HintWindowPeer::~Win32HintWindowPeer() {
  if (font_) DeleteObject(font_);
}

// The system's font for hints and status texts.
HFONT Win32HintWindowPeer::HintFont() {
  if (font_) return font_;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    font_ = CreateFontIndirectW(&metrics.lfStatusFont);
  }
  return font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TextSize Win32HintWindowPeer::HintSize(const std::string& text, int max_width) {
  const std::wstring w = Wide(text);
  RECT r{0, 0, max_width > 0 ? max_width : 0, 0};
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, HintFont());
  DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r, kHintFormat | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  const int border_x = GetSystemMetrics(SM_CXBORDER);
  const int border_y = GetSystemMetrics(SM_CYBORDER);
  return {r.right - r.left + 2 * (border_x + PadX()), r.bottom - r.top + 2 * (border_y + PadY())};
}

void Win32HintWindowPeer::ShowHint(const Rect& screen, const std::string& text) {
  if (!hwnd_) return;
  SetWindowTextW(hwnd_, Wide(text).c_str());
  SetWindowPos(hwnd_, HWND_TOPMOST, screen.left, screen.top, screen.Width(), screen.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
  // Painted at once: the menu's loop may keep it waiting otherwise.
  UpdateWindow(hwnd_);
}

void Win32HintWindowPeer::SetBounds(const Rect& r) {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect Win32HintWindowPeer::Bounds() const {
  RECT r{};
  if (!hwnd_ || !GetWindowRect(hwnd_, &r)) return {};
  return ToRect(r);
}

bool Win32HintWindowPeer::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_NCHITTEST:
      result = HTTRANSPARENT;
      return true;
    case WM_MOUSEACTIVATE:
      result = MA_NOACTIVATE;
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_SETTEXT:
      result = DefWindowProcW(hwnd_, msg, w, l);
      Invalidate();
      return true;
    default:
      break;
  }
  return HandlePaintAndPrint(
      msg, w,
      [this](HDC dc, const RECT& rc) {
        FillRect(dc, &rc, tk_.Brush(color_));
        const std::wstring text = Wide(Caption());
        RECT inner{rc.left + PadX(), rc.top + PadY(), rc.right - PadX(), rc.bottom - PadY()};
        HGDIOBJ old = SelectObject(dc, HintFont());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inner, kHintFormat);
        SelectObject(dc, old);
      },
      result);
}

}  // namespace wakumo
