#include "win32/win32_speed_button.h"

#include <algorithm>

#include "win32/win32_panel.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

namespace {

constexpr const wchar_t* kSpeedButtonClass = L"TSpeedButton";

// The checkered face of a button that is held down.
void FillDithered(HDC dc, const RECT& rc) {
  static constexpr WORD kPattern[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  HBITMAP bits = CreateBitmap(8, 8, 1, 1, kPattern);
  HBRUSH brush = CreatePatternBrush(bits);
  const COLORREF old_text = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
  const COLORREF old_bk = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  FillRect(dc, &rc, brush);
  SetTextColor(dc, old_text);
  SetBkColor(dc, old_bk);
  DeleteObject(brush);
  DeleteObject(bits);
}

}  // namespace

Win32SpeedButtonPeer::Win32SpeedButtonPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events,
                                           const std::string& name)
    : Win32ControlPeer(tk, ControlKind::SpeedButton, parent, events, name, clBtnFace) {
  tk.RegisterWindowClass(kSpeedButtonClass, CS_DBLCLKS, nullptr, false);
  CreateHwnd(kSpeedButtonClass, 0, 0, true);
}

void Win32SpeedButtonPeer::SetPicture(const std::string& resource, bool) {
  glyph_ = resource;
  Invalidate();
}

void Win32SpeedButtonPeer::SetChecked(bool down) {
  // Only a grouped button can stay down.
  SetDownState(group_ != 0 && down);
}

void Win32SpeedButtonPeer::SetSpeedStyle(bool flat, int group, bool allow_all_up) {
  flat_ = flat;
  group_ = group;
  allow_all_up_ = allow_all_up;
  if (group_ == 0) down_ = false;
  Invalidate();
}

void Win32SpeedButtonPeer::SetEnabled(bool e) {
  Win32ControlPeer::SetEnabled(e);
  if (!e) pressed_ = false;
  Invalidate();
}

void Win32SpeedButtonPeer::SetDownState(bool down) {
  if (down && ParentPeer()) {
    for (Win32ControlPeer* sibling : ParentPeer()->Children()) {
      if (sibling == this || sibling->Kind() != ControlKind::SpeedButton) continue;
      auto* other = static_cast<Win32SpeedButtonPeer*>(sibling);
      if (other->group_ == group_ && other->down_) {
        other->down_ = false;
        other->Invalidate();
      }
    }
  }
  down_ = down;
  Invalidate();
}

void Win32SpeedButtonPeer::Paint(HDC dc, RECT rc) {
  const bool enabled = Enabled();
  const bool sunken = Sunken();
  if (flat_) {
    PaintParentBackground(dc);
    if (down_ && !(pressed_ && mouse_inside_)) {
      RECT inner = rc;
      InflateRect(&inner, -1, -1);
      FillDithered(dc, inner);
    }
    if (sunken || (enabled && Hovering())) {
      RECT frame = rc;
      DrawBevel(dc, frame, sunken ? BevelKind::bvLowered : BevelKind::bvRaised, 1);
    }
  } else {
    DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (sunken ? DFCS_PUSHED : 0));
    if (down_ && !(pressed_ && mouse_inside_)) {
      RECT inner = rc;
      InflateRect(&inner, -2, -2);
      FillDithered(dc, inner);
    }
  }

  const int shift = sunken ? std::max(1, Scale(1)) : 0;
  const ResourceBitmap* glyph = glyph_.empty() ? nullptr : tk_.Bitmap(glyph_);
  const std::wstring text = Wide(Caption());
  const int gw = glyph ? Scale(glyph->Width()) : 0;
  const int gh = glyph ? Scale(glyph->Height()) : 0;
  SIZE ts{0, 0};
  HGDIOBJ old_font = SelectObject(dc, CurrentFont());
  if (!text.empty()) GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &ts);
  const int gap = glyph && !text.empty() ? Scale(4) : 0;
  int x = (rc.right - rc.left - (gw + gap + ts.cx)) / 2 + shift;
  if (glyph) {
    const int y = (rc.bottom - rc.top - gh) / 2 + shift;
    if (enabled) {
      glyph->Draw(dc, x, y, gw, gh, true);
    } else {
      glyph->DrawDisabled(dc, x, y, gw, gh);
    }
    x += gw + gap;
  }
  if (!text.empty()) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled ? FontColor() : GetSysColor(COLOR_GRAYTEXT));
    const int y = (rc.bottom - rc.top - ts.cy) / 2 + shift;
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
  }
  SelectObject(dc, old_font);
}

void Win32SpeedButtonPeer::HoverChanged() {
  if (flat_ && hwnd_) Invalidate();
}

bool Win32SpeedButtonPeer::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_PAINT:
      PaintBuffered([this](HDC dc, const RECT& rc) { Paint(dc, rc); });
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      if (pressed_) {
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        const bool inside = PtInRect(&rc, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}) != FALSE;
        if (inside != mouse_inside_) {
          mouse_inside_ = inside;
          Invalidate();
        }
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      mouse_inside_ = true;
      ::SetCapture(hwnd_);
      Invalidate();
      UpdateWindow(hwnd_);
      break;
    case WM_LBUTTONUP: {
      if (!pressed_) break;
      pressed_ = false;
      if (GetCapture() == hwnd_) ReleaseCapture();
      RECT rc{};
      GetClientRect(hwnd_, &rc);
      const bool click = PtInRect(&rc, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}) != FALSE;
      if (click && group_ != 0) SetDownState(!(down_ && allow_all_up_));
      Invalidate();
      UpdateWindow(hwnd_);
      // The state is settled before the click runs: its handler may open a
      // menu and not return for a while.
      if (click) {
        if (PeerEvents* e = Events()) e->PeerClick();
      }
      break;
    }
    case WM_CAPTURECHANGED:
      if (pressed_ && reinterpret_cast<HWND>(l) != hwnd_) {
        pressed_ = false;
        Invalidate();
      }
      result = 0;
      return true;
    default:
      break;
  }
  return HandlePaintedMessage(msg, w, l, ClickMode::kNone, result);
}

}  // namespace wakumo
