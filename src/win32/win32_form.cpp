#include "win32/win32_form.h"

#include "win32/win32_dpi.h"
#include "win32/win32_handles.h"
#include "win32/win32_menu.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

namespace {

// Caption, system menu and minimise box; no sizing border, no maximise box.
constexpr DWORD kFormStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// The control that had the focus when the form was last deactivated.
constexpr const wchar_t* kFocusProperty = L"WakumoFocus";

bool IsDescendant(HWND ancestor, HWND w) { return w && (w == ancestor || IsChild(ancestor, w)); }

// The first control in creation (tab) order that can take the focus.
HWND FirstTabStop(const Win32ControlPeer& container) {
  for (const Win32ControlPeer* child : container.Children()) {
    HWND h = child->Hwnd();
    if (!h || !IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
    if (GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP) return h;
    if (HWND inner = FirstTabStop(*child)) return inner;
  }
  return nullptr;
}

}  // namespace

Win32FormPeer::Win32FormPeer(Win32Toolkit& tk, PeerEvents& events, const std::string& name)
    : Win32ControlPeer(tk, ControlKind::Form, nullptr, events, name, clBtnFace) {
  Win32FormPeer* main = tk.MainForm();
  is_main_ = main == nullptr;
  const std::wstring window_class = L"T" + Wide(name);
  tk.RegisterWindowClass(window_class, CS_DBLCLKS, nullptr, true);
  tk.AddForm(this);
  // Made without an owner: the main form owns another form only while that
  // one is shown (see SetOwned).
  try {
    CreateHwnd(window_class.c_str(), kFormStyle, WS_EX_CONTROLPARENT, true);
  } catch (...) {
    // Not a form after all: the destructor that would say so will not run.
    tk.RemoveForm(this);
    throw;
  }
  dpi_ = static_cast<int>(Dpi());
}

Win32FormPeer::~Win32FormPeer() {
  tk_.RemoveForm(this);
  if (hwnd_) RemovePropW(hwnd_, kFocusProperty);
  // Not owned, so not destroyed with the form.
  if (tooltips_ && IsWindow(tooltips_)) DestroyWindow(tooltips_);
}

void Win32FormPeer::SetBounds(const Rect& r) {
  // The position is on the screen, in its own pixels; the size is a design size.
  if (!hwnd_) return;
  positioned_ = true;
  const UINT dpi = Dpi();
  SetWindowPos(hwnd_, nullptr, r.left, r.top, ScaleToDpi(r.Width(), dpi), ScaleToDpi(r.Height(), dpi),
               SWP_NOZORDER | SWP_NOACTIVATE);
  const Rect client = ClientRect();
  client_width_ = client.Width();
  client_height_ = client.Height();
}

Rect Win32FormPeer::Bounds() const {
  const Rect outer = WindowRect();
  const UINT dpi = Dpi();
  return {outer.left, outer.top, outer.left + UnscaleFromDpi(outer.Width(), dpi),
          outer.top + UnscaleFromDpi(outer.Height(), dpi)};
}

void Win32FormPeer::SetVisible(bool v) {
  if (v) {
    Show();
  } else if (hwnd_) {
    ShowWindow(hwnd_, SW_HIDE);
    SetOwned(false);
  }
}

// While shown, another form belongs to the main one: no taskbar button of its
// own, and above the main form, topmost when that is. While hidden it is
// nobody's: the window system refuses to make a window topmost while it owns
// other windows (Wine moves the owned ones and leaves the owner as it was),
// so an owned hidden form would make "stay on top" silently fail.
void Win32FormPeer::SetOwned(bool owned) {
  if (!hwnd_ || is_main_) return;
  Win32FormPeer* main = tk_.MainForm();
  HWND owner = owned && main && main != this ? main->Hwnd() : nullptr;
  if (GetWindow(hwnd_, GW_OWNER) == owner) return;
  if (owner) {
    // Stacked before it is owned: an owned window keeps the topmost state it had.
    const bool owner_on_top = (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    SetWindowPos(hwnd_, owner_on_top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

bool Win32FormPeer::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

void Win32FormPeer::SetClientSize(int width, int height) {
  client_width_ = width;
  client_height_ = height;
  ApplyClientSize();
}

void Win32FormPeer::ApplyClientSize() {
  if (!hwnd_ || client_width_ <= 0 || client_height_ <= 0) return;
  const UINT dpi = Dpi();
  const RECT client{0, 0, ScaleToDpi(client_width_, dpi), ScaleToDpi(client_height_, dpi)};
  const RECT outer = AdjustWindowRectForDpi(client, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)),
                                            static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)), dpi);
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect Win32FormPeer::ClientRect() const {
  RECT rc{};
  if (!hwnd_ || !GetClientRect(hwnd_, &rc)) return {};
  const UINT dpi = Dpi();
  return {0, 0, UnscaleFromDpi(rc.right, dpi), UnscaleFromDpi(rc.bottom, dpi)};
}

void Win32FormPeer::SetBorderIcons(bool system_menu, bool minimize, bool maximize) {
  // Without a system menu there are no caption buttons at all.
  DWORD set = 0;
  if (system_menu) {
    set |= WS_SYSMENU;
    if (minimize) set |= WS_MINIMIZEBOX;
    if (maximize) set |= WS_MAXIMIZEBOX;
  }
  ChangeStyle(set, (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX) & ~set);
  ApplyClientSize();
}

void Win32FormPeer::SetSizeable(bool on) {
  sizeable_ = on;
  if (on) {
    ChangeStyle(WS_THICKFRAME, 0);
  } else {
    ChangeStyle(0, WS_THICKFRAME);
  }
  ApplyClientSize();
}

void Win32FormPeer::SetDialogFrame(bool on) {
  if (!hwnd_) return;
  if (on) SetSizeable(false);
  const LONG ex = GetWindowLongW(hwnd_, GWL_EXSTYLE);
  SetWindowLongW(hwnd_, GWL_EXSTYLE, on ? (ex | WS_EX_DLGMODALFRAME) : (ex & ~static_cast<LONG>(WS_EX_DLGMODALFRAME)));
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  ApplyClientSize();
}

void Win32FormPeer::SetStayOnTop(bool on) {
  if (hwnd_) {
    SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

bool Win32FormPeer::StayOnTop() const {
  return hwnd_ && (GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void Win32FormPeer::Show() {
  if (!hwnd_) return;
  if (!positioned_ && !shown_once_) {
    // Never placed: the centre of the primary screen.
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  shown_once_ = true;
  SetOwned(true);
  ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
  BringWindowToTop(hwnd_);
}

void Win32FormPeer::Close() {
  if (hwnd_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

ModalResult Win32FormPeer::ShowModal() {
  if (!hwnd_ || modal_) return ModalResult::mrCancel;
  Win32FormPeer* main = tk_.MainForm();
  HWND owner = main && main != this ? main->Hwnd() : nullptr;
  SetOwned(true);

  // The program's other forms take no input until the dialog is closed.
  std::vector<HWND> disabled;
  for (Win32FormPeer* form : tk_.Forms()) {
    HWND h = form->Hwnd();
    if (form == this || !h || !IsWindowEnabled(h)) continue;
    EnableWindow(h, FALSE);
    disabled.push_back(h);
  }
  modal_ = true;
  modal_result_ = ModalResult::mrNone;
  Show();
  SetForegroundWindow(hwnd_);

  bool quit = false;
  WPARAM quit_code = 0;
  while (modal_result_ == ModalResult::mrNone && hwnd_ && IsWindowVisible(hwnd_)) {
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      // The program is ending: the dialog gives way and the outer loop
      // gets the quit message back.
      quit = true;
      quit_code = msg.wParam;
      break;
    }
    tk_.RouteMessage(msg);
  }
  // Ended any other way (hidden, destroyed, quit): as if cancelled.
  const ModalResult result = modal_result_ == ModalResult::mrNone ? ModalResult::mrCancel : modal_result_;
  modal_ = false;
  modal_result_ = ModalResult::mrNone;

  // The owner is enabled before the dialog hides, so that the activation
  // goes back to it and not to another program's window.
  for (HWND h : disabled) {
    if (IsWindow(h)) EnableWindow(h, TRUE);
  }
  if (hwnd_) {
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetOwned(false);
  }
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) {
    SetForegroundWindow(owner);
    SetActiveWindow(owner);
  }
  if (quit) PostQuitMessage(static_cast<int>(quit_code));
  return result;
}

void Win32FormPeer::EndModal(ModalResult result) {
  if (!modal_ || result == ModalResult::mrNone) return;
  modal_result_ = result;
  // Wakes the loop, which may be waiting for a message.
  if (hwnd_) PostMessageW(hwnd_, WM_NULL, 0, 0);
}

Rect Win32FormPeer::WindowRect() const {
  RECT r{};
  if (!hwnd_ || !GetWindowRect(hwnd_, &r)) return {};
  if (!IsIconic(hwnd_)) return ToRect(r);
  // Minimised, the window sits at its icon's place (-32000, -32000 on
  // Windows); what counts is where it comes back to. The placement gives
  // that in workspace coordinates, which are offset from the screen's by
  // the taskbar when it is at the top or left.
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(hwnd_, &wp)) return ToRect(r);
  RECT normal = wp.rcNormalPosition;
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (GetMonitorInfoW(MonitorFromRect(&normal, MONITOR_DEFAULTTONEAREST), &mi)) {
    OffsetRect(&normal, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
  }
  return ToRect(normal);
}

void Win32FormPeer::SetWindowRect(const Rect& r) {
  if (!hwnd_) return;
  positioned_ = true;
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  const Rect client = ClientRect();
  client_width_ = client.Width();
  client_height_ = client.Height();
}

// The window system's suggested rectangle is the old one scaled; the
// controls and the client size follow the new DPI, and the facade, which may
// keep heights of its own in screen pixels, has the last word on the size.
// None of these changes is the user's, so none is put to PeerCanResize.
void Win32FormPeer::OnDpiChanged(UINT new_dpi, const RECT& suggested) {
  const int old_dpi = dpi_;
  dpi_ = static_cast<int>(new_dpi);
  dpi_changing_ = true;
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyDpi();
  if (PeerEvents* e = Events(); e && old_dpi != dpi_) e->PeerDpiChanged(old_dpi, dpi_);
  dpi_changing_ = false;
}

void Win32FormPeer::ApplyDpi() {
  for (Win32ControlPeer* child : Children()) child->ApplyDpi();
  ApplyFont();
  ApplyClientSize();
  Invalidate(true);
}

// A sizing border moves one edge and keeps the opposite one: dragging the
// left border proposes a new left and width with the right edge where it
// was. When the facade changes or refuses the size, that fixed edge must stay
// put, so the window neither moves nor creeps by the drag.
void Win32FormPeer::KeepAnchoredEdges(WINDOWPOS& pos, const RECT& now, int width, int height) {
  if (!(pos.flags & SWP_NOMOVE)) {
    if (pos.x != now.left && pos.x + pos.cx == now.right) pos.x = now.right - width;
    if (pos.y != now.top && pos.y + pos.cy == now.bottom) pos.y = now.bottom - height;
  }
  pos.cx = width;
  pos.cy = height;
}

HWND Win32FormPeer::Tooltips() {
  if (tooltips_ && IsWindow(tooltips_)) return tooltips_;
  // No owner: a form that owns a window cannot be made topmost (see
  // SetOwned); the tool texts are given in place, so no notification needs one.
  tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                              tk_.Instance(), nullptr);
  if (tooltips_) {
    // Long hints wrap instead of running off the screen.
    SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, Scale(400));
  }
  tools_.clear();
  return tooltips_;
}

void Win32FormPeer::SetToolText(HWND control, const std::wstring& text) {
  if (text.empty()) {
    RemoveTool(control);
    return;
  }
  HWND tips = Tooltips();
  if (!tips) return;
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = const_cast<wchar_t*>(text.c_str());
  if (tools_.count(control)) {
    SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  } else if (SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti))) {
    tools_.insert(control);
  }
}

void Win32FormPeer::RemoveTool(HWND control) {
  if (!tools_.erase(control) || !tooltips_ || !IsWindow(tooltips_)) return;
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  SendMessageW(tooltips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Win32FormPeer::OnSize(WPARAM kind) {
  minimized_ = kind == SIZE_MINIMIZED;
  // The main form stands for the program: its minimising is the program's.
  if (is_main_) tk_.ApplicationImpl().MainFormSized(kind == SIZE_MINIMIZED);
  if (kind == SIZE_MINIMIZED) return;
  if (PeerEvents* e = Events()) e->PeerResize();
}

bool Win32FormPeer::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  if (HandleMenuPictureMessage(msg, l, Dpi(), result)) return true;
  switch (msg) {
    case WM_CLOSE:
      if (modal_) {
        // Alt+F4 on a dialog, which has no close box: the same as Cancel.
        if (PeerEvents* e = Events()) e->PeerClose();
        EndModal(ModalResult::mrCancel);
        result = 0;
        return true;
      }
      if (PeerEvents* e = Events()) e->PeerClose();
      // The windows go with their peers; hiding now ends what the user sees.
      if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
      SetOwned(false);
      if (is_main_) PostQuitMessage(0);
      result = 0;
      return true;
    case WM_CONTEXTMENU: {
      if (!popup_) return false;
      POINT pt{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      if (pt.x == -1 && pt.y == -1) {
        // From the keyboard: at the client area's top-left corner.
        pt = {0, 0};
        ::ClientToScreen(hwnd_, &pt);
      } else {
        // A right-button release that ends a drag elsewhere on the screen is
        // not a request for this window's menu.
        RECT wr{};
        GetWindowRect(hwnd_, &wr);
        if (!PtInRect(&wr, pt)) return false;
      }
      popup_->Popup(ToPoint(pt));
      result = 0;
      return true;
    }
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {
      RECT rc{};
      GetClientRect(hwnd_, &rc);
      FillRect(reinterpret_cast<HDC>(w), &rc, tk_.Brush(color_));
      result = 1;
      return true;
    }
    case WM_ACTIVATE: {
      // Keep the focused control across deactivation, as a dialog does.
      if (LOWORD(w) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (IsDescendant(hwnd_, focus) && focus != hwnd_) {
          SetPropW(hwnd_, kFocusProperty, focus);
        }
        return false;
      }
      if (HIWORD(w)) return false;  // minimised
      HWND saved = static_cast<HWND>(GetPropW(hwnd_, kFocusProperty));
      if (!(saved && IsDescendant(hwnd_, saved) && IsWindowEnabled(saved) && IsWindowVisible(saved))) {
        saved = FirstTabStop(*this);
      }
      if (!saved) return false;
      ::SetFocus(saved);
      result = 0;
      return true;
    }
    case WM_WINDOWPOSCHANGING: {
      // Every size change of a sizeable form, ours included, is put to the
      // facade first; minimising and restoring are not its business.
      // A restore comes while the window is still iconic to us: the window
      // system has cleared WS_MINIMIZE by then, but WM_SIZE has not come yet.
      auto* pos = reinterpret_cast<WINDOWPOS*>(l);
      if (!sizeable_ || dpi_changing_ || (pos->flags & SWP_NOSIZE) || IsIconic(hwnd_) || minimized_) return false;
      RECT now{};
      GetWindowRect(hwnd_, &now);
      const int old_w = now.right - now.left;
      const int old_h = now.bottom - now.top;
      if (pos->cx == old_w && pos->cy == old_h) return false;
      int width = pos->cx;
      int height = pos->cy;
      PeerEvents* e = Events();
      if (e && !e->PeerCanResize(width, height)) {
        width = old_w;
        height = old_h;
      }
      KeepAnchoredEdges(*pos, now, width, height);
      return false;
    }
    case WM_SIZE:
      OnSize(w);
      return false;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(w), *reinterpret_cast<const RECT*>(l));
      result = 0;
      return true;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      // While the form holds the mouse capture, moves over the whole screen
      // arrive here, in (possibly negative) client coordinates.
      if (!HandleMouseMessage(msg, w, l, ClickMode::kTrack)) return false;
      result = 0;
      return true;
    default:
      break;
  }
  return HandleContainerMessage(msg, w, l, result);
}

}  // namespace wakumo
