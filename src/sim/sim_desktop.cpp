#include "sim/sim_desktop.h"

#include <algorithm>

namespace wakumo {

namespace {

constexpr std::uint32_t kStateBits = WS_VISIBLE_ | WS_MINIMIZE_ | WS_MAXIMIZE_;

constexpr std::array<std::string_view, 26> kOpNames = {
    "GetCursorPos",     "WindowFromPoint", "GetParent",       "GetStyle",
    "GetExStyle",       "IsWindowVisible", "IsIconic",        "IsZoomed",
    "GetClassName",     "GetWindowText",   "GetWindowRect",   "GetClientRect",
    "ScreenToClient",   "GetWorkArea",     "GetSystemMetric", "GetSystemMetricForDpi", "GetShowCmd",
    "EnumWindows",      "SetWindowPos",    "ShowWindow",      "GetForegroundWindow",
    "SetForegroundWindow", "IsOwnProcessWindow", "SetCapture", "ReleaseCapture", "DrawXorFrame"};

}  // namespace

void PrintTo(const SetWindowPosCall& c, std::ostream* os) {
  *os << "SetWindowPos(" << c.window << ", after " << c.insert_after << ", " << c.x << ", " << c.y << ", "
      << c.cx << ", " << c.cy << ", flags 0x" << std::hex << c.flags << std::dec << ")";
}

void PrintTo(const ShowWindowCall& c, std::ostream* os) {
  *os << "ShowWindow(" << c.window << ", " << c.cmd << ")";
}

SimDesktop::SimDesktop() {
  static_assert(kOpNames.size() == kOpCount);
  SetMetric(SystemMetric::CyCaption, 18);
  SetMetric(SystemMetric::CyFrame, 4);
  SetMetric(SystemMetric::CxFrame, 4);
  SetMetric(SystemMetric::CxDlgFrame, 3);
  SetMetric(SystemMetric::CyDlgFrame, 3);
  SetMetric(SystemMetric::CxScreen, 1280);
  SetMetric(SystemMetric::CyScreen, 1024);
}

SimDesktop::Win* SimDesktop::Find(WindowHandle w) {
  auto it = windows_.find(w);
  return it == windows_.end() ? nullptr : &it->second;
}

const SimDesktop::Win* SimDesktop::Find(WindowHandle w) const {
  auto it = windows_.find(w);
  return it == windows_.end() ? nullptr : &it->second;
}

std::vector<WindowHandle>& SimDesktop::Siblings(const Win& win) {
  return win.child ? windows_.at(win.parent).children : z_order_;
}

void SimDesktop::Unlink(WindowHandle w) {
  auto& list = Siblings(windows_.at(w));
  list.erase(std::remove(list.begin(), list.end(), w), list.end());
}

void SimDesktop::Relink(WindowHandle w, std::size_t index) {
  Unlink(w);
  auto& list = Siblings(windows_.at(w));
  // Topmost windows form a band above the others among top-level windows.
  std::size_t band = 0;
  if (!windows_.at(w).child) {
    while (band < list.size() && (windows_.at(list[band]).ex_style & kSimWsExTopmost)) ++band;
  }
  const bool topmost = !windows_.at(w).child && (windows_.at(w).ex_style & kSimWsExTopmost);
  index = std::min(index, list.size());
  index = topmost ? std::min(index, band) : std::max(index, band);
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), w);
}

WindowHandle SimDesktop::Create(const SimWindowSpec& desc) {
  Win win;
  win.class_name = desc.class_name;
  win.title = desc.title;
  win.style = desc.style & ~kStateBits;
  win.ex_style = desc.ex_style;
  win.parent = desc.parent;
  if (desc.parent != 0 && !Find(desc.parent)) return 0;
  win.child = (desc.style & WS_CHILD_) && desc.parent != 0;
  win.visible = desc.visible;
  win.rect = desc.rect;
  win.normal = desc.rect;
  win.insets = desc.client_insets;
  win.min_track = desc.min_track;
  win.max_track = desc.max_track;
  win.own_process = desc.own_process;
  const WindowHandle h = next_handle_;
  next_handle_ += 0x10;
  windows_.emplace(h, std::move(win));
  Siblings(windows_.at(h)).push_back(h);
  Relink(h, 0);
  if (desc.maximised) Maximise(h);
  if (desc.minimised) Minimise(h);
  return h;
}

void SimDesktop::Destroy(WindowHandle w) {
  Win* win = Find(w);
  if (!win) return;
  std::vector<WindowHandle> doomed = win->children;
  for (const auto& [h, other] : windows_) {
    if (!other.child && other.parent == w) doomed.push_back(h);
  }
  for (WindowHandle d : doomed) Destroy(d);
  Unlink(w);
  windows_.erase(w);
  if (foreground_ == w) foreground_ = 0;
  if (capture_ == w) capture_ = 0;
}

bool SimDesktop::Exists(WindowHandle w) const { return Find(w) != nullptr; }

void SimDesktop::SetVisible(WindowHandle w, bool visible) {
  if (Win* win = Find(w)) win->visible = visible;
}

Point SimDesktop::FrameSize(const Win& win) const {
  if (win.style & WS_THICKFRAME_) return {Metric(SystemMetric::CxFrame), Metric(SystemMetric::CyFrame)};
  if ((win.style & kSimWsDlgFrame) || (win.ex_style & WS_EX_DLGMODALFRAME_)) {
    return {Metric(SystemMetric::CxDlgFrame), Metric(SystemMetric::CyDlgFrame)};
  }
  if (win.style & kSimWsBorder) return {1, 1};
  return {0, 0};
}

Rect SimDesktop::MaximisedRect(const Win& win) const {
  const Point f = FrameSize(win);
  Rect area = work_area_;
  if (win.child) {
    const SimInsets in = ClientInsets(win.parent);
    const Rect pr = windows_.at(win.parent).rect;
    area = {0, 0, std::max(0, pr.Width() - in.left - in.right), std::max(0, pr.Height() - in.top - in.bottom)};
  }
  return {area.left - f.x, area.top - f.y, area.right + f.x, area.bottom + f.y};
}

Rect SimDesktop::IconicRect(const Win& win) const {
  if (!win.child) return {kIconicPos, kIconicPos, kIconicPos + kIconicWidth, kIconicPos + kIconicHeight};
  const int client_bottom = ClientScreenRect(win.parent).Height();
  return {0, client_bottom - kIconicHeight, kIconicWidth, client_bottom};
}

void SimDesktop::Minimise(WindowHandle w) {
  Win* win = Find(w);
  if (!win || win->minimised) return;
  if (!win->maximised) win->normal = win->rect;
  win->restore_maximised = win->maximised;
  win->maximised = false;
  win->minimised = true;
  win->rect = IconicRect(*win);
}

void SimDesktop::Maximise(WindowHandle w) {
  Win* win = Find(w);
  if (!win || win->maximised) return;
  if (!win->minimised) win->normal = win->rect;
  win->minimised = false;
  win->restore_maximised = false;
  win->maximised = true;
  win->rect = MaximisedRect(*win);
}

void SimDesktop::Restore(WindowHandle w) {
  Win* win = Find(w);
  if (!win) return;
  if (win->minimised) {
    win->minimised = false;
    if (win->restore_maximised) {
      win->restore_maximised = false;
      win->maximised = true;
      win->rect = MaximisedRect(*win);
      return;
    }
    win->rect = win->normal;
  } else if (win->maximised) {
    win->maximised = false;
    win->rect = win->normal;
  }
}

void SimDesktop::SetTitle(WindowHandle w, std::string title) {
  if (Win* win = Find(w)) win->title = std::move(title);
}

void SimDesktop::SetStyle(WindowHandle w, std::uint32_t style) {
  if (Win* win = Find(w)) win->style = (style & ~(kStateBits | WS_CHILD_)) | (win->style & WS_CHILD_);
}

void SimDesktop::SetExStyle(WindowHandle w, std::uint32_t ex_style) {
  Win* win = Find(w);
  if (!win) return;
  const bool was_topmost = win->ex_style & kSimWsExTopmost;
  win->ex_style = ex_style;
  if (was_topmost != static_cast<bool>(ex_style & kSimWsExTopmost)) Relink(w, 0);
}

void SimDesktop::SetRect(WindowHandle w, const Rect& r) {
  Win* win = Find(w);
  if (!win) return;
  win->rect = r;
  if (!win->minimised && !win->maximised) win->normal = r;
}

void SimDesktop::SetClientInsets(WindowHandle w, std::optional<SimInsets> insets) {
  if (Win* win = Find(w)) win->insets = insets;
}

void SimDesktop::SetTrackSizes(WindowHandle w, Point min_track, Point max_track) {
  if (Win* win = Find(w)) {
    win->min_track = min_track;
    win->max_track = max_track;
  }
}

void SimDesktop::Raise(WindowHandle w) {
  if (Find(w)) Relink(w, 0);
}

void SimDesktop::SetTopmost(WindowHandle w, bool topmost) {
  if (const Win* win = Find(w)) {
    SetExStyle(w, topmost ? (win->ex_style | kSimWsExTopmost) : (win->ex_style & ~kSimWsExTopmost));
  }
}

void SimDesktop::Activate(WindowHandle w) {
  foreground_ = w;
  Relink(w, 0);
}

void SimDesktop::SetForeground(WindowHandle w) {
  const Win* win = Find(w);
  if (!win) {
    if (w == 0) foreground_ = 0;
    return;
  }
  if (!win->child) Activate(w);
}

void SimDesktop::ActivateNextAfter(WindowHandle w) {
  if (foreground_ != w) return;
  foreground_ = 0;
  for (WindowHandle h : z_order_) {
    const Win& other = windows_.at(h);
    if (h != w && other.visible && !other.minimised) {
      foreground_ = h;
      return;
    }
  }
}

WindowHandle SimDesktop::Owner(WindowHandle w) const {
  const Win* win = Find(w);
  return win && !win->child ? win->parent : 0;
}

WindowHandle SimDesktop::ParentOf(WindowHandle w) const {
  const Win* win = Find(w);
  return win && win->child ? win->parent : 0;
}

std::vector<WindowHandle> SimDesktop::Children(WindowHandle w) const {
  const Win* win = Find(w);
  return win ? win->children : std::vector<WindowHandle>{};
}

bool SimDesktop::VisibleFlag(WindowHandle w) const {
  const Win* win = Find(w);
  return win && win->visible;
}

bool SimDesktop::MinimisedFlag(WindowHandle w) const {
  const Win* win = Find(w);
  return win && win->minimised;
}

std::string SimDesktop::TitleOf(WindowHandle w) const {
  const Win* win = Find(w);
  return win ? win->title : std::string();
}

std::uint32_t SimDesktop::StyleOf(WindowHandle w) const {
  const Win* win = Find(w);
  if (!win) return 0;
  return win->style | (win->visible ? WS_VISIBLE_ : 0) | (win->minimised ? WS_MINIMIZE_ : 0) |
         (win->maximised ? WS_MAXIMIZE_ : 0);
}

std::uint32_t SimDesktop::ExStyleOf(WindowHandle w) const {
  const Win* win = Find(w);
  return win ? win->ex_style : 0;
}

Rect SimDesktop::LocalRect(WindowHandle w) const {
  const Win* win = Find(w);
  return win ? win->rect : Rect{};
}

Rect SimDesktop::RestoreRect(WindowHandle w) const {
  const Win* win = Find(w);
  return win ? win->normal : Rect{};
}

SimInsets SimDesktop::ClientInsets(WindowHandle w) const {
  const Win* win = Find(w);
  if (!win) return {};
  if (win->insets) return *win->insets;
  const Point f = FrameSize(*win);
  const int caption = (win->style & WS_CAPTION_) == WS_CAPTION_ ? Metric(SystemMetric::CyCaption) : 0;
  const int edge = (win->ex_style & kSimWsExClientEdge) ? 2 : 0;
  return {f.x + edge, f.y + caption + edge, f.x + edge, f.y + edge};
}

Point SimDesktop::ClientOrigin(WindowHandle w) const {
  const Rect r = ScreenRect(w);
  const SimInsets in = ClientInsets(w);
  return {r.left + in.left, r.top + in.top};
}

Rect SimDesktop::ScreenRect(WindowHandle w) const {
  const Win* win = Find(w);
  if (!win) return {};
  if (!win->child) return win->rect;
  return OffsetRect(win->rect, ClientOrigin(win->parent));
}

Rect SimDesktop::ClientScreenRect(WindowHandle w) const {
  if (!Find(w)) return {};
  const Rect r = ScreenRect(w);
  const SimInsets in = ClientInsets(w);
  const Point o{r.left + in.left, r.top + in.top};
  return {o.x, o.y, std::max(o.x, r.right - in.right), std::max(o.y, r.bottom - in.bottom)};
}

WindowHandle SimDesktop::Descend(WindowHandle w, Point p) const {
  const Win& win = windows_.at(w);
  // Like Win32, children are only searched when the point is in the client
  // area, and a minimised window hides its children.
  if (win.minimised || !ClientScreenRect(w).Contains(p)) return w;
  for (WindowHandle c : win.children) {
    const Win& child = windows_.at(c);
    if (child.visible && ScreenRect(c).Contains(p)) return Descend(c, p);
  }
  return w;
}

WindowHandle SimDesktop::HitTest(Point p) const {
  for (WindowHandle h : z_order_) {
    const Win& win = windows_.at(h);
    if (win.visible && !win.minimised && win.rect.Contains(p)) return Descend(h, p);
  }
  return 0;
}

void SimDesktop::ClearLogs() {
  set_window_pos_calls_.clear();
  show_window_calls_.clear();
}

long SimDesktop::CallCount(std::string_view operation) const {
  for (std::size_t i = 0; i < kOpCount; ++i) {
    if (kOpNames[i] == operation) return counts_[i];
  }
  return 0;
}

void SimDesktop::ResetCallCounts() {
  counts_.fill(0);
  total_calls_ = 0;
}

}  // namespace wakumo
