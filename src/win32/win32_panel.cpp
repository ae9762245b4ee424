#include "win32/win32_panel.h"

#include <algorithm>

#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

namespace {
constexpr const wchar_t* kPanelClass = L"TPanel";
}  // namespace

void DrawBevel(HDC dc, RECT& rc, BevelKind kind, int width) {
  if (kind == BevelKind::bvNone) return;
  HBRUSH light = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
  HBRUSH dark = GetSysColorBrush(COLOR_BTNSHADOW);
  HBRUSH top_left = kind == BevelKind::bvRaised ? light : dark;
  HBRUSH bottom_right = kind == BevelKind::bvRaised ? dark : light;
  for (int i = 0; i < width && rc.right > rc.left && rc.bottom > rc.top; ++i) {
    const RECT top{rc.left, rc.top, rc.right - 1, rc.top + 1};
    const RECT left{rc.left, rc.top, rc.left + 1, rc.bottom - 1};
    const RECT right{rc.right - 1, rc.top, rc.right, rc.bottom};
    const RECT bottom{rc.left, rc.bottom - 1, rc.right, rc.bottom};
    FillRect(dc, &top, top_left);
    FillRect(dc, &left, top_left);
    FillRect(dc, &right, bottom_right);
    FillRect(dc, &bottom, bottom_right);
    InflateRect(&rc, -1, -1);
  }
}

Win32PanelPeer::Win32PanelPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events,
                               const std::string& name)
    : Win32ControlPeer(tk, ControlKind::Panel, parent, events, name, clBtnFace) {
  tk.RegisterWindowClass(kPanelClass, CS_DBLCLKS, nullptr, false);
  CreateHwnd(kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true);
}

void Win32PanelPeer::SetBevel(BevelKind outer, BevelKind inner) {
  outer_ = outer;
  inner_ = inner;
  InvalidateWithChildren();
}

void Win32PanelPeer::SetAlignment(TextAlign a) {
  alignment_ = a;
  Invalidate();
}

void Win32PanelPeer::Paint(HDC dc, RECT rc) {
  const int bevel = std::max(1, Scale(1));
  DrawBevel(dc, rc, outer_, bevel);
  DrawBevel(dc, rc, inner_, bevel);
  FillRect(dc, &rc, tk_.Brush(color_));
  const std::wstring text = Wide(Caption());
  if (text.empty()) return;
  HGDIOBJ old_font = SelectObject(dc, CurrentFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Enabled() ? FontColor() : GetSysColor(COLOR_GRAYTEXT));
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS;
  format |= alignment_ == TextAlign::taLeftJustify ? DT_LEFT
            : alignment_ == TextAlign::taRightJustify ? DT_RIGHT
                                                      : DT_CENTER;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
  SelectObject(dc, old_font);
}

bool Win32PanelPeer::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  if (HandlePaintAndPrint(msg, w, [this](HDC dc, const RECT& rc) { Paint(dc, rc); }, result)) return true;
  return HandlePaintedMessage(msg, w, l, ClickMode::kTrackCaptured, result);
}

}  // namespace wakumo
