#pragma once
#include <functional>

#include "ui/control.h"

namespace wakumo {

class TPopupMenu;

class TForm : public TControl {
 public:
  TForm(UiToolkit& tk, const std::string& name) : TControl(tk, ControlKind::Form, nullptr, name) {}
  void SetClientSize(int w, int h) { Peer().SetClientSize(w, h); }
  int ClientWidth() const { return Peer().ClientRect().Width(); }
  int ClientHeight() const { return Peer().ClientRect().Height(); }
  void SetBorderIcons(bool system_menu, bool minimize, bool maximize) { Peer().SetBorderIcons(system_menu, minimize, maximize); }
  void SetStayOnTop(bool on) { Peer().SetStayOnTop(on); }
  bool StayOnTop() const { return Peer().StayOnTop(); }
  void SetPopupMenu(TPopupMenu* menu);
  // Outer rectangle on the screen.
  Rect WindowRect() const { return Peer().WindowRect(); }
  void SetWindowRect(const Rect& r) { Peer().SetWindowRect(r); }
  void Show() { Peer().Show(); }
  void Close() { Peer().Close(); }

  TNotifyEvent OnClose;

 protected:
  void PeerClose() override { if (OnClose) OnClose(); }
};

}  // namespace wakumo
