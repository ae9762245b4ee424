// Real input and reads of the screen's pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "harness.h"

namespace e2e {

POINT CursorPos();

// Pointer and Shift key. Under Wine everything goes through xdotool on the X
// display: absolute SendInput moves make Wine warp the X pointer, and with
// several processes' windows on the virtual desktop the window system's
// cursor was seen to fall back to the previous position for ~90 ms and
// sometimes stay there, so a following press hit the previous window. Input
// made on the X side reaches Wine the way a user's does. Without an X display
// (a real Windows desktop) SendInput is used.
class Input {
 public:
  // shell: the Unix side when running under Wine, else null.
  Input(UnixShell* shell, std::string xdotool);
  std::string Backend() const;
  // Moves the pointer and waits until the window system reports it there.
  void MoveTo(POINT to);
  // A drag-like path from the present position in steps of about step_px.
  void MoveInSteps(POINT to, int step_px);
  void LeftButton(bool down);
  // Waits until the key state of the desktop shows the change.
  void Shift(bool down);
  // Moves there, presses and releases the left button.
  void Click(POINT at);
  // The same with the right button.
  void RightClick(POINT at);
  // Two clicks of the left button within the double-click time.
  void DoubleClick(POINT at);
  // Key strokes by X key names, each pressed and released in turn: "Home",
  // "shift+End", "Up", "Down", "End", "Return", "F2", "Escape".
  void Keys(const std::string& names);
  // Types ASCII text as key strokes.
  void Type(const std::string& text);

 private:
  void X(const std::string& args);
  UnixShell* shell_;
  std::string xdotool_;
};

// Let go of the left button and Shift when a case leaves early, so no drag
// or held key outlives it.
class LeftButtonGuard {
 public:
  explicit LeftButtonGuard(Input& in) : in_(in) {}
  LeftButtonGuard(const LeftButtonGuard&) = delete;
  LeftButtonGuard& operator=(const LeftButtonGuard&) = delete;
  ~LeftButtonGuard();
  void Press();
  void Release();

 private:
  Input& in_;
  bool down_ = false;
};

class ShiftGuard {
 public:
  explicit ShiftGuard(Input& in) : in_(in) {}
  ShiftGuard(const ShiftGuard&) = delete;
  ShiftGuard& operator=(const ShiftGuard&) = delete;
  ~ShiftGuard();
  void Down();
  void Up();

 private:
  Input& in_;
  bool down_ = false;
};

COLORREF ScreenPixel(POINT p);

// A copy of a screen area, read from the screen's device context.
class ScreenArea {
 public:
  static ScreenArea Capture(const RECT& area);
  COLORREF At(int x, int y) const;  // screen coordinates inside the area
  const RECT& area() const { return area_; }

 private:
  RECT area_{};
  std::vector<uint32_t> pixels_;
};

// Bounding box of the pixels that differ between two captures of one area;
// empty when none do.
RECT ChangedBox(const ScreenArea& a, const ScreenArea& b);
inline bool IsEmptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// Compares two captures along the outline of `r`: across each sampled point of
// the path (left,top)-(right,top)-(right,bottom)-(left,bottom) a short
// perpendicular section of 5 pixels centred on the path.
struct OutlineDiff {
  int sections = 0;          // sampled sections
  int changed_sections = 0;  // sections with at least one pixel changed
  int changed_pixels = 0;
  std::string examples;      // a few changed pixels, before -> after
  std::string Text() const;
};
RECT OutlineCaptureArea(const RECT& r);
OutlineDiff CompareOutline(const ScreenArea& before, const ScreenArea& after, const RECT& r);

}  // namespace e2e
