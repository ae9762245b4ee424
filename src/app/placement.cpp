#include "app/placement.h"

#include "app/window_system/window_system.h"

namespace wakumo {

std::uint32_t StackingFlags(bool to_front) { return to_front ? SWP_FRAMECHANGED_ : SWP_NOZORDER_ | SWP_NOACTIVATE_; }

WindowPosPlan PlanWindowPos(const TargetFacts& target, const PlacementRequest& request) {
  WindowPosPlan plan{request.x, request.y, request.width, request.height, StackingFlags(request.to_front)};

  if (!target.sizable) {
    plan.width = target.frame.Width();
    plan.height = target.frame.Height();
    plan.flags |= SWP_NOSIZE_;
  } else if (target.child_mode) {
    // Grow the frame by its margins around the child, so the child gets the
    // requested size as long as it keeps those margins.
    plan.width = SaturateToInt(std::int64_t{plan.width} + target.frame.Width() - target.child.Width());
    plan.height = SaturateToInt(std::int64_t{plan.height} + target.frame.Height() - target.child.Height());
  }

  if (request.placement > kPlaceStandard) {
    const Rect& area = target.area;
    // Integer halving truncates toward zero, also for a window larger than the area.
    const auto centre = [](std::int32_t lo, int span, int size) {
      return SaturateToInt(lo + (std::int64_t{span} - size) / 2);
    };
    const int right = SaturateToInt(std::int64_t{area.right} - plan.width);
    const int bottom = SaturateToInt(std::int64_t{area.bottom} - plan.height);
    switch (request.placement) {
      case kPlaceCentre:
        plan.x = centre(area.left, area.Width(), plan.width);
        plan.y = centre(area.top, area.Height(), plan.height);
        break;
      case kPlaceTopLeft:
        plan.x = area.left;
        plan.y = area.top;
        break;
      case kPlaceTopRight:
        plan.x = right;
        plan.y = area.top;
        break;
      case kPlaceBottomLeft:
        plan.x = area.left;
        plan.y = bottom;
        break;
      case kPlaceBottomRight:
        plan.x = right;
        plan.y = bottom;
        break;
      default:
        break;
    }
  } else if (!request.use_base) {
    plan.flags |= SWP_NOMOVE_;
  }
  return plan;
}

WindowPosPlan ShiftForClientTopLeft(const WindowPosPlan& plan, Point child_top_left) {
  WindowPosPlan shifted = plan;
  shifted.x = SaturateToInt(std::int64_t{plan.x} - (std::int64_t{child_top_left.x} - plan.x));
  shifted.y = SaturateToInt(std::int64_t{plan.y} - (std::int64_t{child_top_left.y} - plan.y));
  return shifted;
}

}  // namespace wakumo
