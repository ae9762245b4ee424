#pragma once
// A label: a STATIC window, so other processes read its text with WM_GETTEXT.
#include "win32/win32_control_peer.h"

namespace wakumo {

class Win32LabelPeer : public Win32ControlPeer, public LabelPeer {
 public:
  Win32LabelPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events, const std::string& name);

  void SetAlignment(TextAlign a) override;
  void SetWordWrap(bool wrap) override;
  void SetColor(TColor c) override;
  TColor BackgroundColor() const override;
  void OnCommand(int code) override;
  HBRUSH OnCtlColor(UINT msg, HDC dc) override;

 private:
  void ApplyTextStyle();

  TextAlign alignment_ = TextAlign::taLeftJustify;
  bool word_wrap_ = false;
  bool own_color_ = false;
};

}  // namespace wakumo
