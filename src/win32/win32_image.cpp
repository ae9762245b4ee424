#include "win32/win32_image.h"

#include "win32/win32_toolkit.h"

namespace wakumo {

namespace {
constexpr const wchar_t* kImageClass = L"TImage";
}

Win32ImagePeer::Win32ImagePeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events,
                               const std::string& name)
    : Win32ControlPeer(tk, ControlKind::Image, parent, events, name, clBtnFace) {
  tk.RegisterWindowClass(kImageClass, CS_DBLCLKS, nullptr, false);
  CreateHwnd(kImageClass, 0, 0, true);
}

void Win32ImagePeer::SetPicture(const std::string& resource, bool transparent) {
  picture_ = resource;
  transparent_ = transparent;
  Invalidate();
}

bool Win32ImagePeer::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_PAINT:
      PaintBuffered([this](HDC dc, const RECT&) {
        PaintParentBackground(dc);
        if (const ResourceBitmap* bmp = picture_.empty() ? nullptr : tk_.Bitmap(picture_)) {
          bmp->Draw(dc, 0, 0, Scale(bmp->Width()), Scale(bmp->Height()), transparent_);
        }
      });
      result = 0;
      return true;
    default:
      break;
  }
  return HandlePaintedMessage(msg, w, l, ClickMode::kTrackCaptured, result);
}

}  // namespace wakumo
