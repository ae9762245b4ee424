#include "win32/win32_control_peer.h"

#include <algorithm>

#include "ui/hint_text.h"
#include "win32/win32_dpi.h"
#include "win32/win32_form.h"
#include "win32/win32_handles.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

Win32ControlPeer::Win32ControlPeer(Win32Toolkit& tk, ControlKind kind, Win32ControlPeer* parent,
                                   PeerEvents& events, std::string name, TColor color)
    : tk_(tk), color_(color), kind_(kind), parent_(parent), events_(events), name_(std::move(name)) {
  // A control uses its parent's font until it is given one of its own.
  if (parent_) {
    font_ = parent_->font_;
    parent_->children_.push_back(this);
  }
}

Win32ControlPeer::~Win32ControlPeer() {
  Detach();
  for (Win32ControlPeer* child : children_) child->parent_ = nullptr;
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

void Win32ControlPeer::Detach() {
  // Destroying a window sends notifications (focus, commands) to its parent;
  // by now the facade is half gone, so nothing may reach it.
  detaching_ = true;
  if (id_) tk_.ReleaseId(id_);
  if (hwnd_) {
    if (Win32FormPeer* form = Form(); form && form != this && !hint_.empty()) form->RemoveTool(hwnd_);
    if (GetCapture() == hwnd_) ReleaseCapture();
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    RemovePropW(hwnd_, kNameProperty);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
  if (name_atom_) GlobalDeleteAtom(name_atom_);
  name_atom_ = 0;
}

WindowHandle Win32ControlPeer::Handle() const { return ToHandle(hwnd_); }

Win32FormPeer* Win32ControlPeer::Form() {
  Win32ControlPeer* p = this;
  while (p->parent_) p = p->parent_;
  return p->kind_ == ControlKind::Form ? static_cast<Win32FormPeer*>(p) : nullptr;
}

WindowCreationError::WindowCreationError(const std::string& control, unsigned long error)
    : std::runtime_error("ウィンドウを作成できません: " + control + " (error " + std::to_string(error) + ")"),
      error_(error) {}

namespace {

// The peer whose window is being made, for the messages that come before
// its window can point at it.
thread_local Win32ControlPeer* t_creating = nullptr;

}  // namespace

Win32ControlPeer* Win32ControlPeer::FromHwnd(HWND hwnd) {
  // Only windows of our own classes point at a peer; the class's window
  // procedure tells them, without a trip to the window system's server. (Not
  // the window's: a tooltip subclasses the controls it shows hints for.)
  if (!hwnd) return nullptr;
  const auto proc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC));
  const bool ours = proc == &CustomWndProc || proc == &StandardClassProc ||
                    // A system control subclassed because no class could be made from it.
                    reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == &StandardClassProc;
  if (!ours) return nullptr;
  return reinterpret_cast<Win32ControlPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Win32ControlPeer::CreateHwnd(const wchar_t* window_class, DWORD style, DWORD ex_style, bool own_class) {
  own_class_ = own_class;
  // A system control runs as a class of our own made from it (a superclass):
  // the peer sees its messages first without a subclass, which costs the
  // window system a property look-up on every message.
  std::wstring superclass;
  if (!own_class) {
    superclass = tk_.StandardClass(window_class, base_proc_);
    window_class = superclass.c_str();
  }
  HWND parent_hwnd = nullptr;
  HMENU id = nullptr;
  // Forms and hint windows are top-level windows, made without an owner.
  const bool top_level = kind_ == ControlKind::Form || kind_ == ControlKind::HintWindow;
  if (!top_level) {
    parent_hwnd = parent_ && parent_->hwnd_ ? parent_->hwnd_ : tk_.UtilityWindow();
    style |= WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    id_ = tk_.AllocateId(this);
    id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_));
  }
  Win32ControlPeer* const outer = t_creating;
  t_creating = this;
  hwnd_ = CreateWindowExW(ex_style, window_class, L"", style, 0, 0, 0, 0, parent_hwnd, id, tk_.Instance(),
                          own_class ? this : nullptr);
  t_creating = outer;
  if (!hwnd_) {
    const DWORD error = GetLastError();
    if (id_) tk_.ReleaseId(id_);
    id_ = 0;
    throw WindowCreationError(name_, error);
  }
  if (!own_class && superclass.rfind(kStandardClassPrefix, 0) != 0) {
    // No class of ours could be made: the window is subclassed instead.
    base_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StandardClassProc)));
  }
  if (!name_.empty()) name_atom_ = GlobalAddAtomW(Wide(name_).c_str());
  AttachTo(hwnd_);
  if (!top_level) PlaceInZOrder();
  ApplyFont();
  ready_ = true;
}

void Win32ControlPeer::AttachTo(HWND hwnd) {
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (name_atom_) SetPropW(hwnd, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(name_atom_)));
}

// Paint boxes stand in for windowless controls, which lie below every
// windowed sibling, later ones above earlier ones (so a spinner's arrows,
// made after its slider strip, cover it). CreateWindowEx puts a new child at
// the bottom, and the windowed siblings keep their creation order, which is
// the tab order. So while no paint box is among the siblings the new child
// is already where it belongs; otherwise its place is just below the
// windowed sibling made last, which is just above the topmost paint box.
// The siblings are known from the peers: asking the window system for them
// would cost two server calls per sibling and child, quadratic in controls.
void Win32ControlPeer::PlaceInZOrder() {
  if (!parent_) return;
  bool painted_sibling = false;
  HWND last_windowed = nullptr;
  for (const Win32ControlPeer* sibling : parent_->children_) {
    if (sibling == this || !sibling->hwnd_) continue;
    if (sibling->kind_ == ControlKind::PaintBox) {
      painted_sibling = true;
    } else {
      last_windowed = sibling->hwnd_;
    }
  }
  if (!painted_sibling) return;
  SetWindowPos(hwnd_, last_windowed ? last_windowed : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Win32ControlPeer::RecreateHwnd(DWORD set, DWORD clear) {
  HWND old = hwnd_;
  if (!old || own_class_ || kind_ == ControlKind::Form) return false;
  const DWORD old_style = static_cast<DWORD>(GetWindowLongW(old, GWL_STYLE));
  const DWORD style = (old_style & ~clear) | set;
  if (style == old_style) return true;
  wchar_t window_class[256] = {};
  if (!GetClassNameW(old, window_class, 256)) return false;
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongW(old, GWL_EXSTYLE));
  HWND parent = GetParent(old);
  RECT r{};
  GetWindowRect(old, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  const std::wstring text = WindowText(old);
  const bool had_focus = GetFocus() == old;

  // Focus moves and notifications of either window are not the facade's.
  detaching_ = true;
  Win32ControlPeer* const outer = t_creating;
  t_creating = this;
  HWND made = CreateWindowExW(ex_style, window_class, text.c_str(), style, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                              tk_.Instance(), nullptr);
  t_creating = outer;
  if (!made) {
    detaching_ = false;
    return false;
  }
  // Into the old one's place in the z-order, then the old one goes.
  SetWindowPos(made, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Win32FormPeer* form = Form();
  if (form && !hint_.empty()) form->RemoveTool(old);
  RemovePropW(old, kNameProperty);
  hwnd_ = made;
  AttachTo(made);
  ApplyFont();
  if (had_focus) ::SetFocus(made);
  DestroyWindow(old);
  if (form && !hint_.empty()) form->SetToolText(made, Wide(ShortHint(hint_)));
  detaching_ = false;
  return true;
}

LRESULT CALLBACK Win32ControlPeer::StandardClassProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  auto* peer = reinterpret_cast<Win32ControlPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!peer && (peer = t_creating) != nullptr) {
    // The first messages of a window being made.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
  }
  if (!peer) return DefWindowProcW(hwnd, msg, w, l);
  const WNDPROC base = peer->base_proc_;
  if (msg == WM_NCDESTROY) {
    // Gone with its parent: the handle must not be used again.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (peer->hwnd_ == hwnd) peer->hwnd_ = nullptr;
    return CallWindowProcW(base, hwnd, msg, w, l);
  }
  // A window being made anew or going away is not the peer's any more.
  if (peer->hwnd_ == hwnd && !peer->detaching_) {
    if (msg == WM_MOUSEMOVE) peer->NoteMouseOver();
    LRESULT result = 0;
    if (peer->HandleStandardMessage(msg, w, l, result)) return result;
  }
  return CallWindowProcW(base, hwnd, msg, w, l);
}

LRESULT Win32ControlPeer::CallBase(UINT msg, WPARAM w, LPARAM l) {
  return CallWindowProcW(base_proc_, hwnd_, msg, w, l);
}

LRESULT CALLBACK Win32ControlPeer::CustomWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NCCREATE) {
    auto* peer = static_cast<Win32ControlPeer*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
    if (peer) peer->hwnd_ = hwnd;
  }
  auto* peer = reinterpret_cast<Win32ControlPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (peer && msg == WM_NCDESTROY) {
    // Gone with its parent: the handle must not be used again.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    peer->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, w, l);
  }
  if (peer) {
    if (msg == WM_MOUSEMOVE && !peer->detaching_) peer->NoteMouseOver();
    LRESULT result = 0;
    if (peer->HandleMessage(msg, w, l, result)) return result;
  }
  return DefWindowProcW(hwnd, msg, w, l);
}

bool Win32ControlPeer::Focused() const {
  HWND focus = GetFocus();
  return hwnd_ && focus && (focus == hwnd_ || IsChild(hwnd_, focus));
}

void Win32ControlPeer::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

void Win32ControlPeer::SetTabStop(bool on) {
  if (!hwnd_) return;
  const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  SetWindowLongW(hwnd_, GWL_STYLE, on ? (style | WS_TABSTOP) : (style & ~static_cast<LONG>(WS_TABSTOP)));
}

void Win32ControlPeer::SetMouseCapture(bool on) {
  if (!hwnd_) return;
  if (on) {
    ::SetCapture(hwnd_);
  } else if (GetCapture() == hwnd_) {
    ReleaseCapture();
  }
}

bool Win32ControlPeer::MouseCaptured() const { return hwnd_ && GetCapture() == hwnd_; }

Point Win32ControlPeer::ClientToScreen(Point p) const {
  POINT pt = ToPOINT(p);
  if (hwnd_) ::ClientToScreen(hwnd_, &pt);
  return ToPoint(pt);
}

UINT Win32ControlPeer::Dpi() const { return DpiForWindow(hwnd_); }

int Win32ControlPeer::Scale(int v) const { return ScaleToDpi(v, Dpi()); }

void Win32ControlPeer::SetBounds(const Rect& r) {
  bounds_ = r;
  ApplyBounds();
}

void Win32ControlPeer::ApplyBounds() {
  if (!hwnd_) return;
  const UINT dpi = Dpi();
  const int left = ScaleToDpi(bounds_.left, dpi);
  const int top = ScaleToDpi(bounds_.top, dpi);
  SetWindowPos(hwnd_, nullptr, left, top, ScaleToDpi(bounds_.right, dpi) - left,
               ScaleToDpi(bounds_.bottom, dpi) - top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32ControlPeer::ApplyDpi() {
  ApplyBounds();
  ApplyFont();
  for (Win32ControlPeer* child : children_) child->ApplyDpi();
  Invalidate(true);
}

void Win32ControlPeer::SetCaption(const std::string& text) {
  if (hwnd_) SetWindowTextW(hwnd_, Wide(text).c_str());
}

std::string Win32ControlPeer::Caption() const { return Narrow(WindowText(hwnd_)); }

void Win32ControlPeer::SetVisible(bool v) {
  if (hwnd_) ShowWindow(hwnd_, v ? SW_SHOWNA : SW_HIDE);
}

bool Win32ControlPeer::Visible() const {
  return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32ControlPeer::SetEnabled(bool e) {
  if (hwnd_) EnableWindow(hwnd_, e ? TRUE : FALSE);
}

bool Win32ControlPeer::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void Win32ControlPeer::SetHint(const std::string& hint) {
  hint_ = hint;
  Win32FormPeer* form = Form();
  if (!form || form == this || !hwnd_) return;
  form->SetToolText(hwnd_, Wide(ShortHint(hint_)));
}

void Win32ControlPeer::SetFont(const FontSpec& f) {
  own_font_ = true;
  font_ = f;
  ApplyFont();
  for (Win32ControlPeer* child : children_) child->InheritFont(f);
  Invalidate(true);
}

void Win32ControlPeer::InheritFont(const FontSpec& f) {
  if (own_font_) return;
  font_ = f;
  ApplyFont();
  for (Win32ControlPeer* child : children_) child->InheritFont(f);
  Invalidate(true);
}

void Win32ControlPeer::ApplyFont() {
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont()), FALSE);
}

HFONT Win32ControlPeer::CurrentFont() const { return tk_.Font(font_, Dpi()); }

COLORREF Win32ControlPeer::FontColor() const { return ToColorRef(font_.color); }

void Win32ControlPeer::SetColor(TColor c) {
  color_ = c;
  InvalidateWithChildren();
}

// A window not on the screen (itself or a parent hidden, as every control is
// while its form is being made) is painted whole when it comes on: marking
// it now would only cost the window system's work for nothing.
bool Win32ControlPeer::OnScreen() const { return hwnd_ && IsWindowVisible(hwnd_); }

void Win32ControlPeer::Invalidate(bool erase) {
  if (OnScreen()) InvalidateRect(hwnd_, nullptr, erase ? TRUE : FALSE);
}

void Win32ControlPeer::InvalidateWithChildren() {
  if (OnScreen()) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32ControlPeer::Repaint() {
  if (OnScreen()) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Win32ControlPeer::ChangeStyle(DWORD set, DWORD clear) {
  if (!hwnd_) return;
  const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  const LONG changed = static_cast<LONG>((static_cast<DWORD>(style) & ~clear) | set);
  if (changed == style) return;
  SetWindowLongW(hwnd_, GWL_STYLE, changed);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Invalidate(true);
}

void Win32ControlPeer::PaintParentBackground(HDC dc) {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  FillRect(dc, &rc, tk_.Brush(parent_ ? parent_->BackgroundColor() : clBtnFace));
  if (!parent_ || !parent_->own_class_ || !parent_->hwnd_) return;
  POINT origin{0, 0};
  MapWindowPoints(hwnd_, parent_->hwnd_, &origin, 1);
  POINT old{};
  SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  SendMessageW(parent_->hwnd_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

}  // namespace wakumo
