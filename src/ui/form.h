#pragma once
#include <functional>

#include "ui/control.h"

namespace wakumo {

class TPopupMenu;

class TForm : public TKindControl<FormPeer> {
 public:
  TForm(UiToolkit& tk, const std::string& name) : TKindControl(tk, ControlKind::Form, nullptr, name) {}
  void SetClientSize(int w, int h) { Peer().SetClientSize(w, h); }
  int ClientWidth() const { return Peer().ClientRect().Width(); }
  int ClientHeight() const { return Peer().ClientRect().Height(); }
  void SetBorderIcons(bool system_menu, bool minimize, bool maximize) { Peer().SetBorderIcons(system_menu, minimize, maximize); }
  // A sizing border the user can drag.
  void SetSizeable(bool on) { Peer().SetSizeable(on); }
  // The frame of a dialog: caption with a close box only, fixed size.
  void SetDialogFrame(bool on) { Peer().SetDialogFrame(on); }
  void SetStayOnTop(bool on) { Peer().SetStayOnTop(on); }
  bool StayOnTop() const { return Peer().StayOnTop(); }
  void SetPopupMenu(TPopupMenu* menu);
  // Dots per inch of the form's monitor.
  int ScreenDpi() const { return Peer().ScreenDpi(); }
  // A design length (96 DPI) in the screen pixels of the form's monitor.
  int ScaleToScreen(int design) const { return (design * Peer().ScreenDpi() + 48) / 96; }
  // Outer rectangle on the screen.
  Rect WindowRect() const { return Peer().WindowRect(); }
  void SetWindowRect(const Rect& r) { Peer().SetWindowRect(r); }
  void Show() { Peer().Show(); }
  void Close() { Peer().Close(); }
  // Runs OnShow, then shows the form modally until SetModalResult closes it.
  ModalResult ShowModal() {
    if (OnShow) OnShow();
    return Peer().ShowModal();
  }
  // Closes the modal form with this result.
  void SetModalResult(ModalResult result) { Peer().EndModal(result); }

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;
  // A size change is about to happen: the proposed outer width and height may
  // be adjusted; clearing `resize` refuses it.
  std::function<void(int& width, int& height, bool& resize)> OnCanResize;
  TNotifyEvent OnResize;
  // The form went to a monitor of another DPI; heights it keeps in screen
  // pixels are worth recomputing. Its size changes here are not put to OnCanResize.
  std::function<void(int old_dpi, int new_dpi)> OnDpiChanged;

 protected:
  void PeerClose() override { if (OnClose) OnClose(); }
  bool PeerCanResize(int& width, int& height) override {
    bool resize = true;
    if (OnCanResize) OnCanResize(width, height, resize);
    return resize;
  }
  void PeerResize() override { if (OnResize) OnResize(); }
  void PeerDpiChanged(int old_dpi, int new_dpi) override {
    if (OnDpiChanged) OnDpiChanged(old_dpi, new_dpi);
  }
};

}  // namespace wakumo
