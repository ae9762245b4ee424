#include "win32/win32_paint_box.h"

#include "win32/win32_canvas.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

namespace {
constexpr const wchar_t* kPaintBoxClass = L"TPaintBox";
}

Win32PaintBoxPeer::Win32PaintBoxPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events,
                                     const std::string& name)
    : Win32ControlPeer(tk, ControlKind::PaintBox, parent, events, name, clBtnFace) {
  tk.RegisterWindowClass(kPaintBoxClass, CS_DBLCLKS, nullptr, false);
  CreateHwnd(kPaintBoxClass, 0, 0, true);
}

bool Win32PaintBoxPeer::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_PAINT:
      PaintBuffered([this](HDC dc, const RECT&) {
        // What the facade leaves unpainted shows the parent.
        PaintParentBackground(dc);
        GdiCanvas canvas(tk_, dc, Dpi());
        if (PeerEvents* e = Events()) e->PeerPaint(canvas);
      });
      result = 0;
      return true;
    default:
      break;
  }
  return HandlePaintedMessage(msg, w, l, ClickMode::kTrack, result);
}

}  // namespace wakumo
