#include "win32/win32_paint_box.h"

#include "win32/win32_canvas.h"
#include "win32/win32_dpi.h"
#include "win32/win32_handles.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

namespace {

constexpr const wchar_t* kPaintBoxClass = L"TPaintBox";

}  // namespace

void PaintInDesignPixels(Win32Toolkit& tk, HDC dc, SIZE device, SIZE design, UINT dpi,
                         const std::function<void(Canvas&)>& paint) {
  if (dpi == kDesignDpi || design.cx <= 0 || design.cy <= 0) {
    GdiCanvas canvas(tk, dc, kDesignDpi);
    paint(canvas);
    return;
  }
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, design.cx, design.cy);
  if (!mem || !bmp) {
    if (bmp) DeleteObject(bmp);
    if (mem) DeleteDC(mem);
    return;
  }
  HGDIOBJ old = SelectObject(mem, bmp);
  // Nearest pixel both ways: a flat background comes back unchanged.
  const int old_mode = SetStretchBltMode(mem, COLORONCOLOR);
  StretchBlt(mem, 0, 0, design.cx, design.cy, dc, 0, 0, device.cx, device.cy, SRCCOPY);
  {
    GdiCanvas canvas(tk, mem, kDesignDpi);
    paint(canvas);
  }
  const int old_dc_mode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, device.cx, device.cy, mem, 0, 0, design.cx, design.cy, SRCCOPY);
  SetStretchBltMode(dc, old_dc_mode);
  SetStretchBltMode(mem, old_mode);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

Win32PaintBoxPeer::Win32PaintBoxPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events,
                                     const std::string& name)
    : Win32ControlPeer(tk, ControlKind::PaintBox, parent, events, name, clBtnFace) {
  tk.RegisterWindowClass(kPaintBoxClass, CS_DBLCLKS, nullptr, false);
  CreateHwnd(kPaintBoxClass, 0, 0, true);
}

void Win32PaintBoxPeer::Repaint() {
  Invalidate();
}

void Win32PaintBoxPeer::SetMouseCapture(bool on) {
  if (!hwnd_) return;
  if (on) {
    ::SetCapture(hwnd_);
  } else if (GetCapture() == hwnd_) {
    releasing_ = true;
    ReleaseCapture();
    releasing_ = false;
  }
}

Point Win32PaintBoxPeer::ClientToScreen(Point p) const {
  POINT pt{ScaleToDpi(p.x, Dpi()), ScaleToDpi(p.y, Dpi())};
  if (hwnd_) ::ClientToScreen(hwnd_, &pt);
  return ToPoint(pt);
}

Point Win32PaintBoxPeer::EventPoint(Point device) const {
  const UINT dpi = Dpi();
  return {UnscaleFromDpi(device.x, dpi), UnscaleFromDpi(device.y, dpi)};
}

// Someone else took the mouse (a menu, another window, a task switch) while
// the left button was held here: the press ends as if released where the
// mouse is, so no button stays pushed in or keeps repeating.
void Win32PaintBoxPeer::LoseCapture() {
  if (!left_down_ || releasing_) return;
  left_down_ = false;
  POINT pt{};
  GetCursorPos(&pt);
  if (hwnd_) ScreenToClient(hwnd_, &pt);
  if (PeerEvents* e = Events()) e->PeerMouseUp(MouseButton::mbLeft, KeyboardShiftState(), EventPoint(ToPoint(pt)));
}

bool Win32PaintBoxPeer::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_PAINT:
      PaintBuffered([this](HDC dc, const RECT& rc) {
        // What the facade leaves unpainted shows the parent.
        PaintParentBackground(dc);
        const SIZE device{rc.right, rc.bottom};
        const SIZE design{bounds_.Width(), bounds_.Height()};
        PaintInDesignPixels(tk_, dc, device, design, Dpi(), [this](Canvas& canvas) {
          if (PeerEvents* e = Events()) e->PeerPaint(canvas);
        });
      });
      result = 0;
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      left_down_ = true;
      break;
    case WM_LBUTTONUP:
      left_down_ = false;
      break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(l) != hwnd_) LoseCapture();
      break;
    default:
      break;
  }
  return HandlePaintedMessage(msg, w, l, ClickMode::kTrack, result);
}

}  // namespace wakumo
