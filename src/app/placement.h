#pragma once
// The arithmetic of one size / position / stacking change: from what is known
// of the target window and what the user asked for to the SetWindowPos call
// that makes the change. No window is touched here.
#include <cstdint>

#include "core/geometry.h"

namespace wakumo {

// AutoPos entries, by index; the tray menu's placements have the same numbers.
enum AutoPosEntry : int {
  kPlaceStandard,
  kPlaceCentre,
  kPlaceTopLeft,
  kPlaceTopRight,
  kPlaceBottomLeft,
  kPlaceBottomRight,
};

// The target as it is before the change.
struct TargetFacts {
  // The window that moves, restored if it was maximised.
  Rect frame;
  // The child the numbers are meant for, in child mode; the frame grows by
  // its margins around it.
  Rect child;
  bool child_mode = false;
  bool sizable = true;
  // Where placements align: the container's client area for a document
  // window, else the work area. Read only for a placement.
  Rect area;
};

struct PlacementRequest {
  int width = 0;
  int height = 0;
  // Count only with use_base, or for a placement beyond the known ones.
  int x = 0;
  int y = 0;
  int placement = kPlaceStandard;
  bool use_base = false;
  bool to_front = true;
};

struct WindowPosPlan {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::uint32_t flags = 0;
  friend bool operator==(const WindowPosPlan&, const WindowPosPlan&) = default;
};

// Brought to the front (and the frame redrawn), or left where it is in the
// stacking order without taking the focus.
std::uint32_t StackingFlags(bool to_front);

WindowPosPlan PlanWindowPos(const TargetFacts& target, const PlacementRequest& request);

// After the frame moved, the child's top-left (in the frame's own coordinate
// space) is known: the frame shifts by the child's offset, so that point
// lands where the plan put the frame.
WindowPosPlan ShiftForClientTopLeft(const WindowPosPlan& plan, Point child_top_left);

}  // namespace wakumo
