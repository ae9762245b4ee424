// How a Win32 control peer turns its window messages into peer events: the
// mouse (clicks, hovering), focus, and what a container gets on behalf of its
// children (commands, colours, notifications, cursors).
#include "win32/win32_control_peer.h"

#include "ui/hint_text.h"
#include "win32/win32_button.h"
#include "win32/win32_form.h"
#include "win32/win32_handles.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

namespace {

ShiftState ShiftFromKeys(WPARAM keys) {
  ShiftState s;
  s.shift = (keys & MK_SHIFT) != 0;
  s.ctrl = (keys & MK_CONTROL) != 0;
  s.alt = GetKeyState(VK_MENU) < 0;
  return s;
}

}  // namespace

ShiftState KeyboardShiftState() {
  ShiftState s;
  s.shift = GetKeyState(VK_SHIFT) < 0;
  s.ctrl = GetKeyState(VK_CONTROL) < 0;
  s.alt = GetKeyState(VK_MENU) < 0;
  return s;
}

void Win32ControlPeer::NoteMouseOver() {
  // The application's hint is the nearest one up the chain of containers.
  std::string hint;
  for (const Win32ControlPeer* p = this; p && hint.empty(); p = p->parent_) hint = p->hint_;
  tk_.Application().SetHint(LongHint(hint));
}

bool Win32ControlPeer::HandleStandardMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  if (msg != WM_SETFOCUS && msg != WM_KILLFOCUS) return false;
  // Let the control take or give up the focus first, then tell the facade.
  result = CallBase(msg, w, l);
  if (msg == WM_SETFOCUS) {
    RaiseEnter();
  } else {
    RaiseExit();
  }
  return true;
}

void Win32ControlPeer::RaiseEnter() {
  if (PeerEvents* e = Events()) e->PeerEnter();
}

void Win32ControlPeer::RaiseExit() {
  if (PeerEvents* e = Events()) e->PeerExit();
}

bool Win32ControlPeer::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  return HandleContainerMessage(msg, w, l, result);
}

bool Win32ControlPeer::HandleContainerMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND: {
      const int code = HIWORD(w);
      Win32ControlPeer* child = FromHwnd(reinterpret_cast<HWND>(l));
      // The dialog manager reports Enter on a button by its id alone.
      if (!child && l == 0 && code == BN_CLICKED) child = tk_.PeerById(LOWORD(w));
      // Enter and Escape, as the dialog manager reports them, for the
      // form's default and cancel buttons.
      if (!child && l == 0 && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) {
        if (Win32ControlPeer* root = Form()) child = FindDialogButton(*root, LOWORD(w) == IDOK);
      }
      if (!child || child->detaching_) return false;
      child->OnCommand(code);
      result = 0;
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      Win32ControlPeer* child = FromHwnd(reinterpret_cast<HWND>(l));
      if (!child) return false;
      HBRUSH brush = child->OnCtlColor(msg, reinterpret_cast<HDC>(w));
      if (!brush) return false;
      result = reinterpret_cast<LRESULT>(brush);
      return true;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(l);
      Win32ControlPeer* child = header ? FromHwnd(header->hwndFrom) : nullptr;
      return child && !child->detaching_ && child->OnNotify(*header, result);
    }
    case WM_SETCURSOR: {
      // The screen cursor overrides everything; else a control's own cursor
      // shows over its client area.
      if (tk_.ScreenImpl().ApplyScreenCursor()) {
        result = TRUE;
        return true;
      }
      const Win32ControlPeer* over = FromHwnd(reinterpret_cast<HWND>(w));
      if (!over || over->cursor_ == 0 || LOWORD(l) != HTCLIENT) return false;
      ::SetCursor(tk_.ScreenImpl().CursorHandle(over->cursor_));
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

bool Win32ControlPeer::HandleMouseMessage(UINT msg, WPARAM w, LPARAM l, ClickMode click_mode) {
  const Point device{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  const Point p = EventPoint(device);
  const ShiftState shift = ShiftFromKeys(w);
  MouseButton button = MouseButton::mbLeft;
  switch (msg) {
    case WM_MOUSEMOVE:
      if (PeerEvents* e = Events()) e->PeerMouseMove(shift, p);
      UpdateHover(device);
      return true;
    case WM_MOUSELEAVE:
      tracking_leave_ = false;
      // While captured the control still follows the mouse through its moves.
      if (GetCapture() != hwnd_ && hovering_) {
        hovering_ = false;
        HoverChanged();
        if (PeerEvents* e = Events()) e->PeerMouseLeave();
      }
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      clicking_ = click_mode != ClickMode::kNone;
      if (click_mode == ClickMode::kTrackCaptured) ::SetCapture(hwnd_);
      if (PeerEvents* e = Events()) e->PeerMouseDown(MouseButton::mbLeft, shift, p);
      if (msg == WM_LBUTTONDBLCLK) {
        if (PeerEvents* e = Events()) e->PeerDblClick();
      }
      return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      button = (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) ? MouseButton::mbRight : MouseButton::mbMiddle;
      if (PeerEvents* e = Events()) e->PeerMouseDown(button, shift, p);
      return true;
    case WM_LBUTTONUP: {
      const bool was_clicking = clicking_;
      clicking_ = false;
      if (click_mode == ClickMode::kTrackCaptured && GetCapture() == hwnd_) ReleaseCapture();
      RECT rc{};
      GetClientRect(hwnd_, &rc);
      if (was_clicking && PtInRect(&rc, ToPOINT(device))) {
        if (PeerEvents* e = Events()) e->PeerClick();
      }
      if (PeerEvents* e = Events()) e->PeerMouseUp(MouseButton::mbLeft, shift, p);
      UpdateHover(device);
      return true;
    }
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      button = msg == WM_RBUTTONUP ? MouseButton::mbRight : MouseButton::mbMiddle;
      if (PeerEvents* e = Events()) e->PeerMouseUp(button, shift, p);
      // Right-button release goes on to make WM_CONTEXTMENU.
      return msg != WM_RBUTTONUP;
    case WM_CAPTURECHANGED:
      clicking_ = false;
      return false;
    default:
      return false;
  }
}

bool Win32ControlPeer::HandlePaintedMessage(UINT msg, WPARAM w, LPARAM l, ClickMode click_mode, LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_SETTEXT:
    case WM_ENABLE:
      result = DefWindowProcW(hwnd_, msg, w, l);
      Invalidate();
      return true;
    default:
      break;
  }
  if (HandleMouseMessage(msg, w, l, click_mode)) {
    result = 0;
    return true;
  }
  return HandleContainerMessage(msg, w, l, result);
}

void Win32ControlPeer::UpdateHover(Point client) {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  const bool inside = PtInRect(&rc, ToPOINT(client)) != FALSE;
  if (inside && !tracking_leave_) {
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = hwnd_;
    tracking_leave_ = TrackMouseEvent(&tme) != FALSE;
  }
  if (inside == hovering_) return;
  hovering_ = inside;
  HoverChanged();
  if (PeerEvents* e = Events()) {
    if (inside) {
      e->PeerMouseEnter();
    } else {
      e->PeerMouseLeave();
    }
  }
}

}  // namespace wakumo
