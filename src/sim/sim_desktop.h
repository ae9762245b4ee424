#pragma once
// A deterministic simulated desktop for headless tests: a window tree with
// Win32's answers, a log of the calls that change other windows, a ledger of
// the XOR outlines now on the screen and a count of every port call.
//
// Win32 behaviour kept on purpose:
// - A child window's rectangle is stored relative to its parent's client area,
//   so moving the parent moves the child; GetWindowRect answers in screen
//   coordinates.
// - GetParent answers the parent of a WS_CHILD_ window and the owner of a
//   WS_POPUP_ window; an owned window without WS_POPUP_ answers 0 (Owner()
//   still tells its owner).
// - A minimised top-level window sits at (-32000, -32000), 160 x 28; a
//   minimised child at the bottom-left of its parent's client area. The
//   restore rectangle is kept apart and comes back with SW_RESTORE_.
// - A maximised window covers the work area (a child: its parent's client
//   area) grown by its frame. SetWindowPos on a maximised or minimised window
//   moves it but leaves it maximised or minimised and keeps its restore
//   rectangle; only a restore leaves that state.
// - SetWindowPos clamps a size to the window's min/max track sizes when the
//   window has a sizing frame or is neither popup nor child (the minimum only
//   while not minimised), and a negative size to 0.
// - A vanished (destroyed or never made) handle answers 0, "", false and
//   (0, 0, 0, 0); ScreenToClient leaves the point as it is; calls that would
//   change it do nothing (but are still logged).
// Simplification: among siblings a newly created window goes on top.
#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/window_system/window_system.h"

namespace wakumo {

// Bits the port does not name but the simulated frames depend on.
inline constexpr std::uint32_t kSimWsBorder = 0x00800000u;
inline constexpr std::uint32_t kSimWsDlgFrame = 0x00400000u;
inline constexpr std::uint32_t kSimWsExTopmost = 0x00000008u;
inline constexpr std::uint32_t kSimWsExClientEdge = 0x00000200u;
// Special insert_after values of SetWindowPos besides HWND_TOP (0).
inline constexpr WindowHandle kSimHwndBottom = 1;
inline constexpr WindowHandle kSimHwndTopmost = static_cast<WindowHandle>(-1);
inline constexpr WindowHandle kSimHwndNotopmost = static_cast<WindowHandle>(-2);

// Distances from the outer rectangle to the client area.
struct SimInsets {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const SimInsets&, const SimInsets&) = default;
};

struct SimWindowSpec {
  std::string class_name;
  std::string title;
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  // WS_CHILD_ windows: the parent. Others: the owner (0 for none).
  WindowHandle parent = 0;
  // Screen coordinates for a top-level window, the parent's client
  // coordinates for a child. For a window made minimised or maximised this is
  // its restore rectangle.
  Rect rect;
  // These three decide the WS_VISIBLE_, WS_MINIMIZE_ and WS_MAXIMIZE_ bits;
  // the same bits in `style` are ignored.
  bool visible = true;
  bool minimised = false;
  bool maximised = false;
  // A window of the program under test (its forms, its menus' owner), not of
  // another process.
  bool own_process = false;
  // Unset: derived from the style and the desktop's metrics.
  std::optional<SimInsets> client_insets;
  // Width and height; 0 means no limit.
  Point min_track;
  Point max_track;
};

struct SetWindowPosCall {
  WindowHandle window = 0;
  WindowHandle insert_after = 0;
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  std::uint32_t flags = 0;
  friend bool operator==(const SetWindowPosCall&, const SetWindowPosCall&) = default;
};
void PrintTo(const SetWindowPosCall& c, std::ostream* os);

struct ShowWindowCall {
  WindowHandle window = 0;
  int cmd = 0;
  friend bool operator==(const ShowWindowCall&, const ShowWindowCall&) = default;
};
void PrintTo(const ShowWindowCall& c, std::ostream* os);

class SimDesktop : public WindowSystem {
 public:
  static constexpr int kIconicWidth = 160;
  static constexpr int kIconicHeight = 28;
  static constexpr int kIconicPos = -32000;

  SimDesktop();

  // ---- Test side: none of these is counted or logged. ----
  // 0 when the desc names a parent or owner that does not exist.
  WindowHandle Create(const SimWindowSpec& desc);
  // Also destroys the window's children and the windows it owns.
  void Destroy(WindowHandle w);
  bool Exists(WindowHandle w) const;

  void SetVisible(WindowHandle w, bool visible);
  void Minimise(WindowHandle w);
  void Maximise(WindowHandle w);
  // Leaves the minimised or maximised state (a window minimised from the
  // maximised state becomes maximised again, as SW_RESTORE_ does).
  void Restore(WindowHandle w);
  void SetTitle(WindowHandle w, std::string title);
  // The WS_VISIBLE_/WS_MINIMIZE_/WS_MAXIMIZE_ bits and a change of WS_CHILD_
  // are ignored: those states have their own setters, and a window stays a
  // child or a top-level window for life.
  void SetStyle(WindowHandle w, std::uint32_t style);
  void SetExStyle(WindowHandle w, std::uint32_t ex_style);
  // Moves and sizes without logging; coordinates as in SimWindowSpec::rect.
  void SetRect(WindowHandle w, const Rect& r);
  void SetClientInsets(WindowHandle w, std::optional<SimInsets> insets);
  void SetTrackSizes(WindowHandle w, Point min_track, Point max_track);
  // Top of its siblings (a non-topmost window stays below the topmost ones).
  void Raise(WindowHandle w);
  void SetTopmost(WindowHandle w, bool topmost);
  void SetCursorPos(Point p) { cursor_ = p; }
  void SetWorkArea(const Rect& r) { work_area_ = r; }
  void SetMetric(SystemMetric m, int value) { metrics_[static_cast<std::size_t>(m)] = value; }
  // Makes a top-level window the foreground window and raises it; 0 clears.
  void SetForeground(WindowHandle w);

  // Uncounted reads for tests and the simulated widget set.
  WindowHandle Capture() const { return capture_; }
  WindowHandle Foreground() const { return foreground_; }
  Point CursorPos() const { return cursor_; }
  WindowHandle Owner(WindowHandle w) const;
  // WS_CHILD_ windows only; 0 otherwise.
  WindowHandle ParentOf(WindowHandle w) const;
  // Children top of the stacking order first.
  std::vector<WindowHandle> Children(WindowHandle w) const;
  std::vector<WindowHandle> TopLevelWindows() const { return z_order_; }
  bool VisibleFlag(WindowHandle w) const;
  bool MinimisedFlag(WindowHandle w) const;
  std::string TitleOf(WindowHandle w) const;
  std::uint32_t StyleOf(WindowHandle w) const;
  std::uint32_t ExStyleOf(WindowHandle w) const;
  // As stored: screen for top-level windows, parent-client for children.
  Rect LocalRect(WindowHandle w) const;
  Rect RestoreRect(WindowHandle w) const;
  Rect ScreenRect(WindowHandle w) const;
  SimInsets ClientInsets(WindowHandle w) const;
  // Client area in screen coordinates.
  Rect ClientScreenRect(WindowHandle w) const;
  // WindowFromPoint without counting.
  WindowHandle HitTest(Point p) const;
  int Metric(SystemMetric m) const { return metrics_[static_cast<std::size_t>(m)]; }
  Rect WorkArea() const { return work_area_; }

  // Every SetWindowPos and ShowWindow call, in order, including those on
  // vanished windows.
  const std::vector<SetWindowPosCall>& SetWindowPosCalls() const { return set_window_pos_calls_; }
  const std::vector<ShowWindowCall>& ShowWindowCalls() const { return show_window_calls_; }
  void ClearLogs();

  // The XOR ledger: outlines now on the screen in drawing order (drawing a
  // rectangle that is on the screen erases it), every draw ever made, and
  // their number.
  const std::vector<Rect>& Outlines() const { return outlines_; }
  const std::vector<Rect>& XorDraws() const { return xor_draws_; }
  std::size_t XorDrawCount() const { return xor_draws_.size(); }
  void ClearXorDraws() { xor_draws_.clear(); }

  // Window-system calls since the last reset: all of them, or those of one
  // operation by its port name ("WindowFromPoint", "GetWindowRect", ...).
  long CallCount() const { return total_calls_; }
  long CallCount(std::string_view operation) const;
  void ResetCallCounts();

  // ---- WindowSystem ----
  Point GetCursorPos() override;
  WindowHandle WindowFromPoint(Point p) override;
  WindowHandle GetParent(WindowHandle w) override;
  std::uint32_t GetStyle(WindowHandle w) override;
  std::uint32_t GetExStyle(WindowHandle w) override;
  bool IsWindowVisible(WindowHandle w) override;
  bool IsIconic(WindowHandle w) override;
  bool IsZoomed(WindowHandle w) override;
  std::string GetClassName(WindowHandle w) override;
  std::string GetWindowText(WindowHandle w) override;
  Rect GetWindowRect(WindowHandle w) override;
  Rect GetClientRect(WindowHandle w) override;
  Point ScreenToClient(WindowHandle w, Point p) override;
  Rect GetWorkArea() override;
  int GetSystemMetric(SystemMetric m) override;
  // The metrics set are those at 96 DPI; the frame metrics scale with the
  // DPI (rounded to nearest), the screen's size does not.
  int GetSystemMetricForDpi(SystemMetric m, int dpi) override;
  int GetShowCmd(WindowHandle w) override;
  std::vector<WindowHandle> EnumWindows() override;
  void SetWindowPos(WindowHandle w, WindowHandle insert_after, int x, int y, int cx, int cy,
                    std::uint32_t flags) override;
  void ShowWindow(WindowHandle w, int cmd) override;
  WindowHandle GetForegroundWindow() override;
  void SetForegroundWindow(WindowHandle w) override;
  bool IsOwnProcessWindow(WindowHandle w) override;
  void SetCapture(WindowHandle w) override;
  void ReleaseCapture() override;
  void DrawXorFrame(const Rect& r) override;

 private:
  enum class Op {
    GetCursorPos, WindowFromPoint, GetParent, GetStyle, GetExStyle, IsWindowVisible, IsIconic,
    IsZoomed, GetClassName, GetWindowText, GetWindowRect, GetClientRect, ScreenToClient,
    GetWorkArea, GetSystemMetric, GetSystemMetricForDpi, GetShowCmd, EnumWindows, SetWindowPos, ShowWindow,
    GetForegroundWindow, SetForegroundWindow, IsOwnProcessWindow, SetCapture, ReleaseCapture, DrawXorFrame,
    kCount
  };
  static constexpr std::size_t kOpCount = static_cast<std::size_t>(Op::kCount);

  struct Win {
    std::string class_name;
    std::string title;
    std::uint32_t style = 0;  // without the visible/minimise/maximise bits
    std::uint32_t ex_style = 0;
    bool child = false;
    WindowHandle parent = 0;  // parent of a child, owner of a top-level window
    bool visible = true;
    bool minimised = false;
    bool maximised = false;
    bool restore_maximised = false;  // minimised from the maximised state
    bool own_process = false;
    Rect rect;    // current; screen or parent-client
    Rect normal;  // restore rectangle
    std::optional<SimInsets> insets;
    Point min_track;
    Point max_track;
    std::vector<WindowHandle> children;  // top first
  };

  void Count(Op op) {
    ++counts_[static_cast<std::size_t>(op)];
    ++total_calls_;
  }
  Win* Find(WindowHandle w);
  const Win* Find(WindowHandle w) const;
  std::vector<WindowHandle>& Siblings(const Win& win);
  // Puts w at `index` among its siblings, kept out of / inside the topmost band.
  void Relink(WindowHandle w, std::size_t index);
  void Unlink(WindowHandle w);
  Point FrameSize(const Win& win) const;
  Rect MaximisedRect(const Win& win) const;
  Rect IconicRect(const Win& win) const;
  Point ClientOrigin(WindowHandle w) const;
  WindowHandle Descend(WindowHandle w, Point p) const;
  void ActivateNextAfter(WindowHandle w);
  void Activate(WindowHandle w);

  std::unordered_map<WindowHandle, Win> windows_;
  std::vector<WindowHandle> z_order_;  // top-level windows, top first
  WindowHandle next_handle_ = 0x10010;
  Point cursor_;
  Rect work_area_{0, 0, 1280, 994};
  std::array<int, 7> metrics_{};
  WindowHandle foreground_ = 0;
  WindowHandle capture_ = 0;
  std::vector<SetWindowPosCall> set_window_pos_calls_;
  std::vector<ShowWindowCall> show_window_calls_;
  std::vector<Rect> outlines_;
  std::vector<Rect> xor_draws_;
  std::array<long, kOpCount> counts_{};
  long total_calls_ = 0;
};

}  // namespace wakumo
