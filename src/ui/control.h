#pragma once
// Base of the widget facades: a name, a peer and the events every control has.
#include <functional>
#include <memory>
#include <string>

#include "ui/peer.h"

namespace wakumo {

using TNotifyEvent = std::function<void()>;
using TMouseEvent = std::function<void(MouseButton, ShiftState, int x, int y)>;
using TMouseMoveEvent = std::function<void(ShiftState, int x, int y)>;

class TControl : protected PeerEvents {
 public:
  TControl(UiToolkit& tk, ControlKind kind, TControl* parent, const std::string& name);
  ~TControl() override = default;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  const std::string& Name() const { return peer_->Name(); }
  ControlPeer& Peer() { return *peer_; }
  const ControlPeer& Peer() const { return *peer_; }
  WindowHandle Handle() const { return peer_->Handle(); }

  void SetBounds(int left, int top, int width, int height) { peer_->SetBounds({left, top, left + width, top + height}); }
  int Left() const { return peer_->Bounds().left; }
  int Top() const { return peer_->Bounds().top; }
  int Width() const { return peer_->Bounds().Width(); }
  int Height() const { return peer_->Bounds().Height(); }
  void SetCaption(const std::string& s) { peer_->SetCaption(s); }
  std::string Caption() const { return peer_->Caption(); }
  void SetVisible(bool v) { peer_->SetVisible(v); }
  bool Visible() const { return peer_->Visible(); }
  void SetEnabled(bool e) { peer_->SetEnabled(e); }
  bool Enabled() const { return peer_->Enabled(); }
  void SetHint(const std::string& h) { peer_->SetHint(h); }
  std::string Hint() const { return peer_->Hint(); }
  void SetFont(const FontSpec& f) { peer_->SetFont(f); }
  FontSpec Font() const { return peer_->Font(); }
  void SetColor(TColor c) { peer_->SetColor(c); }
  TColor Color() const { return peer_->Color(); }
  void Repaint() { peer_->Repaint(); }
  // The program's own number for the control; the widget set never sees it.
  void SetTag(int tag) { tag_ = tag; }
  int Tag() const { return tag_; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;

 protected:
  void PeerClick() override { if (OnClick) OnClick(); }
  void PeerDblClick() override { if (OnDblClick) OnDblClick(); }
  void PeerMouseDown(MouseButton b, ShiftState s, Point p) override { if (OnMouseDown) OnMouseDown(b, s, p.x, p.y); }
  void PeerMouseMove(ShiftState s, Point p) override { if (OnMouseMove) OnMouseMove(s, p.x, p.y); }
  void PeerMouseUp(MouseButton b, ShiftState s, Point p) override { if (OnMouseUp) OnMouseUp(b, s, p.x, p.y); }

 private:
  std::unique_ptr<ControlPeer> peer_;
  int tag_ = 0;
};

// A facade whose kind has its own peer interface P: Peer() gives that one.
template <class P>
class TKindControl : public TControl {
 public:
  P& Peer() { return typed_; }
  const P& Peer() const { return typed_; }

 protected:
  TKindControl(UiToolkit& tk, ControlKind kind, TControl* parent, const std::string& name)
      : TControl(tk, kind, parent, name), typed_(PeerAs<P>(TControl::Peer())) {}

 private:
  P& typed_;
};

}  // namespace wakumo
