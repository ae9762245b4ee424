// Simulated forms: size and place, the frame, showing and closing, the move
// to another DPI, and modal showing as tests script it.
#include "sim/sim_ui.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace wakumo {

SimFormPeer::SimFormPeer(SimToolkit& tk, SimControlPeer* parent, PeerEvents& events, std::string name)
    : SimControlPeer(tk, ControlKind::Form, parent, events, std::move(name)) {
  Recentre();
}

void SimFormPeer::Recentre() {
  if (!centred_) return;
  const Rect r = Desktop().LocalRect(handle_);
  const int left = (Desktop().Metric(SystemMetric::CxScreen) - r.Width()) / 2;
  const int top = (Desktop().Metric(SystemMetric::CyScreen) - r.Height()) / 2;
  Desktop().SetRect(handle_, {left, top, left + r.Width(), top + r.Height()});
}

void SimFormPeer::SetBounds(const Rect& r) {
  const Rect old = Desktop().LocalRect(handle_);
  // A size change alone keeps a centred form centred.
  if (r.left != old.left || r.top != old.top) centred_ = false;
  SetFormRect(r);
  Recentre();
}

Rect SimFormPeer::Bounds() const {
  if (!Desktop().Exists(handle_)) return bounds_;
  return Desktop().LocalRect(handle_);
}

void SimFormPeer::SetClientSize(int width, int height) {
  // The client size is a design size, shown in the pixels of the form's DPI.
  width = ScaleDesign(std::max(width, 0));
  height = ScaleDesign(std::max(height, 0));
  const SimInsets in = Desktop().ClientInsets(handle_);
  const Rect r = Desktop().LocalRect(handle_);
  SetFormRect({r.left, r.top, r.left + width + in.left + in.right, r.top + height + in.top + in.bottom});
  Recentre();
}

Rect SimFormPeer::ClientRect() const {
  const Rect c = Desktop().ClientScreenRect(handle_);
  if (dpi_ != 96) return {0, 0, c.Width() * 96 / dpi_, c.Height() * 96 / dpi_};
  return {0, 0, c.Width(), c.Height()};
}

int SimFormPeer::ScaleDesign(int v) const { return (v * dpi_ + 48) / 96; }

void SimFormPeer::ChangeDpi(int new_dpi) {
  if (new_dpi <= 0 || new_dpi == dpi_) return;
  const int old_dpi = dpi_;
  const Rect old = Desktop().LocalRect(handle_);
  const Rect client = ClientRect();
  dpi_ = new_dpi;
  dpi_changing_ = true;
  // The window system's suggestion: the old rectangle scaled about its corner.
  SetFormRect({old.left, old.top, old.left + old.Width() * new_dpi / old_dpi,
               old.top + old.Height() * new_dpi / old_dpi});
  SetClientSize(client.Width(), client.Height());
  events_.PeerDpiChanged(old_dpi, new_dpi);
  dpi_changing_ = false;
}

void SimFormPeer::SetBorderIcons(bool system_menu, bool minimize, bool maximize) {
  if (handle_ == 0) return;
  std::uint32_t style = Desktop().StyleOf(handle_) & ~(WS_SYSMENU_ | WS_MINIMIZEBOX_ | WS_MAXIMIZEBOX_);
  if (system_menu) style |= WS_SYSMENU_;
  if (minimize) style |= WS_MINIMIZEBOX_;
  if (maximize) style |= WS_MAXIMIZEBOX_;
  Desktop().SetStyle(handle_, style);
}

void SimFormPeer::SetStayOnTop(bool on) {
  if (handle_ != 0) Desktop().SetTopmost(handle_, on);
}

bool SimFormPeer::StayOnTop() const {
  return handle_ != 0 && (Desktop().ExStyleOf(handle_) & kSimWsExTopmost);
}

void SimFormPeer::Show() {
  SetVisible(true);
  shown_ = true;
  Desktop().SetForeground(handle_);
}

void SimFormPeer::Close() {
  events_.PeerClose();
  SetVisible(false);
  if (tk_.MainForm() == this) tk_.Application().Terminate();
}

Rect SimFormPeer::WindowRect() const {
  // A minimised form answers where it comes back to, not its iconic place.
  if (Desktop().MinimisedFlag(handle_)) return Desktop().RestoreRect(handle_);
  return Desktop().ScreenRect(handle_);
}

void SimFormPeer::SetWindowRect(const Rect& r) {
  centred_ = false;
  SetFormRect(r);
}

void SimFormPeer::SetFormRect(Rect r) {
  const Rect old = Desktop().LocalRect(handle_);
  if (sizeable_ && !dpi_changing_ && (r.Width() != old.Width() || r.Height() != old.Height())) {
    int width = r.Width();
    int height = r.Height();
    if (!events_.PeerCanResize(width, height)) {
      width = old.Width();
      height = old.Height();
    }
    r.right = r.left + std::max(width, 0);
    r.bottom = r.top + std::max(height, 0);
  }
  Desktop().SetRect(handle_, r);
  if (r.Width() != old.Width() || r.Height() != old.Height()) events_.PeerResize();
}

void SimFormPeer::SetSizeable(bool on) {
  sizeable_ = on;
  if (handle_ == 0) return;
  const std::uint32_t style = Desktop().StyleOf(handle_);
  Desktop().SetStyle(handle_, on ? style | WS_THICKFRAME_ : style & ~WS_THICKFRAME_);
}

void SimFormPeer::SetDialogFrame(bool on) {
  dialog_frame_ = on;
  if (handle_ == 0) return;
  if (on) SetSizeable(false);
  const std::uint32_t ex = Desktop().ExStyleOf(handle_);
  Desktop().SetExStyle(handle_, on ? ex | WS_EX_DLGMODALFRAME_ : ex & ~WS_EX_DLGMODALFRAME_);
}

ModalResult SimFormPeer::ShowModal() {
  if (tk_.modal_scripts_.empty()) throw std::logic_error("modal form " + name_ + " shown with no script");
  const auto script = std::move(tk_.modal_scripts_.front());
  tk_.modal_scripts_.pop_front();
  ++tk_.modal_count_;
  // The other forms take no input while this one is open.
  std::vector<SimControlPeer*> disabled;
  for (SimControlPeer* c : tk_.controls_) {
    if (c != this && c->kind_ == ControlKind::Form && c->enabled_) {
      c->enabled_ = false;
      disabled.push_back(c);
    }
  }
  modal_result_ = ModalResult::mrNone;
  modal_open_ = true;
  Show();
  struct Restore {
    SimFormPeer& form;
    std::vector<SimControlPeer*>& disabled;
    ~Restore() {
      for (SimControlPeer* c : disabled) c->enabled_ = true;
      if (form.modal_open_) form.SetVisible(false);
      form.modal_open_ = false;
    }
  };
  bool left_open = false;
  {
    Restore restore{*this, disabled};
    script(*this);
    left_open = modal_open_;
  }
  if (left_open) throw std::logic_error("modal form " + name_ + " left open by its script");
  return modal_result_;
}

void SimFormPeer::EndModal(ModalResult result) {
  if (!modal_open_ || result == ModalResult::mrNone) return;
  modal_result_ = result;
  modal_open_ = false;
  SetVisible(false);
}

bool SimToolkit::CloseForm(std::string_view name) {
  auto* c = dynamic_cast<SimFormPeer*>(&Get(name));
  if (!c) return false;
  c->Close();
  return true;
}

bool SimToolkit::ResizeForm(std::string_view name, int width, int height) {
  auto* form = dynamic_cast<SimFormPeer*>(&Get(name));
  if (!form) return false;
  SimFormPeer& c = *form;
  if (!c.sizeable_ || !c.Visible() || !c.CanTakeInput()) return false;
  const Rect r = desktop_.LocalRect(c.handle_);
  c.centred_ = false;
  c.SetFormRect({r.left, r.top, r.left + width, r.top + height});
  return true;
}

}  // namespace wakumo
