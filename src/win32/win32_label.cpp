#include "win32/win32_label.h"

#include "win32/win32_toolkit.h"

namespace wakumo {

Win32LabelPeer::Win32LabelPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events,
                               const std::string& name)
    : Win32ControlPeer(tk, ControlKind::Label, parent, events, name, clBtnFace) {
  // SS_NOPREFIX: window titles shown here keep their '&'. SS_NOTIFY: clicks,
  // and mouse messages for the hint.
  CreateHwnd(L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, 0, false);
}

void Win32LabelPeer::SetAlignment(TextAlign a) {
  alignment_ = a;
  ApplyTextStyle();
}

void Win32LabelPeer::SetWordWrap(bool wrap) {
  word_wrap_ = wrap;
  ApplyTextStyle();
}

void Win32LabelPeer::ApplyTextStyle() {
  DWORD type = word_wrap_ ? SS_LEFT : SS_LEFTNOWORDWRAP;
  if (alignment_ == TextAlign::taCenter) type = SS_CENTER;
  if (alignment_ == TextAlign::taRightJustify) type = SS_RIGHT;
  ChangeStyle(type, SS_TYPEMASK);
}

void Win32LabelPeer::SetColor(TColor c) {
  own_color_ = true;
  Win32ControlPeer::SetColor(c);
}

TColor Win32LabelPeer::BackgroundColor() const {
  if (own_color_) return color_;
  const Win32ControlPeer* parent = ParentPeer();
  return parent ? parent->BackgroundColor() : clBtnFace;
}

void Win32LabelPeer::OnCommand(int code) {
  PeerEvents* e = Events();
  if (!e) return;
  if (code == STN_CLICKED) e->PeerClick();
  if (code == STN_DBLCLK) e->PeerDblClick();
}

HBRUSH Win32LabelPeer::OnCtlColor(UINT, HDC dc) {
  // The parent's colour behind the text, so the label looks see-through.
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, FontColor());
  return tk_.Brush(BackgroundColor());
}

}  // namespace wakumo
