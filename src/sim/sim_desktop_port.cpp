// The simulated desktop as the features see it: each window-system call is
// counted and answered from the window tree, as Win32 would answer it.
#include <algorithm>

#include "sim/sim_desktop.h"

namespace wakumo {

namespace {

// ShowWindow commands the port does not name.
constexpr int kSwShowNoActivate = 4;
constexpr int kSwShow = 5;
constexpr int kSwMinimize = 6;
constexpr int kSwShowMinNoActive = 7;
constexpr int kSwShowNa = 8;
constexpr int kSwShowDefault = 10;

}  // namespace

Point SimDesktop::GetCursorPos() {
  Count(Op::GetCursorPos);
  return cursor_;
}

WindowHandle SimDesktop::WindowFromPoint(Point p) {
  Count(Op::WindowFromPoint);
  return HitTest(p);
}

WindowHandle SimDesktop::GetParent(WindowHandle w) {
  Count(Op::GetParent);
  const Win* win = Find(w);
  if (!win) return 0;
  if (win->child) return win->parent;
  return (win->style & WS_POPUP_) ? win->parent : 0;
}

std::uint32_t SimDesktop::GetStyle(WindowHandle w) {
  Count(Op::GetStyle);
  return StyleOf(w);
}

std::uint32_t SimDesktop::GetExStyle(WindowHandle w) {
  Count(Op::GetExStyle);
  return ExStyleOf(w);
}

bool SimDesktop::IsWindowVisible(WindowHandle w) {
  Count(Op::IsWindowVisible);
  // Visible only when every ancestor up to the top-level window is.
  for (const Win* win = Find(w); win; win = win->child ? Find(win->parent) : nullptr) {
    if (!win->visible) return false;
    if (!win->child) return true;
  }
  return false;
}

bool SimDesktop::IsIconic(WindowHandle w) {
  Count(Op::IsIconic);
  const Win* win = Find(w);
  return win && win->minimised;
}

bool SimDesktop::IsZoomed(WindowHandle w) {
  Count(Op::IsZoomed);
  const Win* win = Find(w);
  return win && win->maximised;
}

std::string SimDesktop::GetClassName(WindowHandle w) {
  Count(Op::GetClassName);
  const Win* win = Find(w);
  return win ? win->class_name : std::string();
}

std::string SimDesktop::GetWindowText(WindowHandle w) {
  Count(Op::GetWindowText);
  return TitleOf(w);
}

Rect SimDesktop::GetWindowRect(WindowHandle w) {
  Count(Op::GetWindowRect);
  return ScreenRect(w);
}

Rect SimDesktop::GetClientRect(WindowHandle w) {
  Count(Op::GetClientRect);
  const Rect r = ClientScreenRect(w);
  return {0, 0, r.Width(), r.Height()};
}

Point SimDesktop::ScreenToClient(WindowHandle w, Point p) {
  Count(Op::ScreenToClient);
  if (!Find(w)) return p;
  const Point o = ClientOrigin(w);
  return {p.x - o.x, p.y - o.y};
}

Rect SimDesktop::GetWorkArea() {
  Count(Op::GetWorkArea);
  return work_area_;
}

int SimDesktop::GetSystemMetric(SystemMetric m) {
  Count(Op::GetSystemMetric);
  return Metric(m);
}

int SimDesktop::GetSystemMetricForDpi(SystemMetric m, int dpi) {
  Count(Op::GetSystemMetricForDpi);
  if (m == SystemMetric::CxScreen || m == SystemMetric::CyScreen || dpi <= 0) return Metric(m);
  return (Metric(m) * dpi + 48) / 96;
}

int SimDesktop::GetShowCmd(WindowHandle w) {
  Count(Op::GetShowCmd);
  const Win* win = Find(w);
  if (!win) return 0;
  if (win->minimised) return SW_SHOWMINIMIZED_;
  if (win->maximised) return SW_SHOWMAXIMIZED_;
  return SW_SHOWNORMAL_;
}

std::vector<WindowHandle> SimDesktop::EnumWindows() {
  Count(Op::EnumWindows);
  return z_order_;
}

void SimDesktop::SetWindowPos(WindowHandle w, WindowHandle insert_after, int x, int y, int cx, int cy,
                              std::uint32_t flags) {
  Count(Op::SetWindowPos);
  set_window_pos_calls_.push_back({w, insert_after, x, y, cx, cy, flags});
  Win* win = Find(w);
  if (!win) return;

  Rect r = win->rect;
  if (!(flags & SWP_NOSIZE_)) {
    cx = std::max(cx, 0);
    cy = std::max(cy, 0);
    if ((win->style & WS_THICKFRAME_) || !(win->style & (WS_POPUP_ | WS_CHILD_))) {
      if (win->max_track.x > 0) cx = std::min(cx, win->max_track.x);
      if (win->max_track.y > 0) cy = std::min(cy, win->max_track.y);
      if (!win->minimised) {
        cx = std::max(cx, win->min_track.x);
        cy = std::max(cy, win->min_track.y);
      }
    }
    r.right = r.left + cx;
    r.bottom = r.top + cy;
  }
  if (!(flags & SWP_NOMOVE_)) r = OffsetRect(r, {x - r.left, y - r.top});
  SetRect(w, r);

  if (!(flags & SWP_NOZORDER_)) {
    if (insert_after == kSimHwndTopmost || insert_after == kSimHwndNotopmost) {
      SetTopmost(w, insert_after == kSimHwndTopmost);
      Relink(w, 0);
    } else if (insert_after == kSimHwndBottom) {
      if (!win->child) win->ex_style &= ~kSimWsExTopmost;
      Relink(w, Siblings(*win).size());
    } else if (insert_after == 0) {
      Relink(w, 0);
    } else {
      const auto& list = Siblings(*win);
      auto it = std::find(list.begin(), list.end(), insert_after);
      if (it != list.end() && insert_after != w) {
        // Below insert_after; account for w's own slot leaving the list.
        auto self = std::find(list.begin(), list.end(), w);
        std::size_t index = static_cast<std::size_t>(it - list.begin()) + 1;
        if (self < it) --index;
        Relink(w, index);
      }
    }
  }
  // Activation brings a visible top-level window to the front.
  if (!(flags & SWP_NOACTIVATE_) && !win->child && win->visible) Activate(w);
}

void SimDesktop::ShowWindow(WindowHandle w, int cmd) {
  Count(Op::ShowWindow);
  show_window_calls_.push_back({w, cmd});
  Win* win = Find(w);
  if (!win) return;
  bool activate = false;
  switch (cmd) {
    case SW_HIDE_:
      win->visible = false;
      ActivateNextAfter(w);
      return;
    case SW_SHOWNORMAL_:
    case SW_RESTORE_:
    case kSwShowDefault:
      Restore(w);
      activate = true;
      break;
    case kSwShowNoActivate:
      Restore(w);
      break;
    case SW_SHOWMINIMIZED_:
    case kSwMinimize:
    case kSwShowMinNoActive:
      Minimise(w);
      win->visible = true;
      ActivateNextAfter(w);
      return;
    case SW_SHOWMAXIMIZED_:
      Maximise(w);
      activate = true;
      break;
    case kSwShow:
      activate = true;
      break;
    case kSwShowNa:
      break;
    default:
      return;
  }
  win->visible = true;
  if (activate && !win->child) Activate(w);
}

WindowHandle SimDesktop::GetForegroundWindow() {
  Count(Op::GetForegroundWindow);
  return foreground_;
}

void SimDesktop::SetForegroundWindow(WindowHandle w) {
  Count(Op::SetForegroundWindow);
  if (w != 0) SetForeground(w);
}

bool SimDesktop::IsOwnProcessWindow(WindowHandle w) {
  Count(Op::IsOwnProcessWindow);
  const Win* win = Find(w);
  return win && win->own_process;
}

void SimDesktop::SetCapture(WindowHandle w) {
  Count(Op::SetCapture);
  if (Find(w)) capture_ = w;
}

void SimDesktop::ReleaseCapture() {
  Count(Op::ReleaseCapture);
  capture_ = 0;
}

void SimDesktop::DrawXorFrame(const Rect& r) {
  Count(Op::DrawXorFrame);
  xor_draws_.push_back(r);
  auto it = std::find(outlines_.begin(), outlines_.end(), r);
  if (it != outlines_.end()) {
    outlines_.erase(it);
  } else {
    outlines_.push_back(r);
  }
}

}  // namespace wakumo
