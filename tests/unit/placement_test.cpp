// The placement arithmetic on its own: target facts and a request in, the
// SetWindowPos plan out, without a form or a desktop.
#include <gtest/gtest.h>

#include <limits>
#include <ostream>

#include "app/frame_window.h"
#include "app/placement.h"
#include "app/window_system/window_system.h"

namespace wakumo {

void PrintTo(const WindowPosPlan& p, std::ostream* os) {
  *os << "{" << p.x << ", " << p.y << ", " << p.width << " x " << p.height << ", flags 0x" << std::hex << p.flags
      << std::dec << "}";
}

namespace {

constexpr std::uint32_t kFront = SWP_FRAMECHANGED_;
constexpr std::uint32_t kQuiet = SWP_NOZORDER_ | SWP_NOACTIVATE_;
constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

TargetFacts Window(Rect frame, Rect area = {0, 0, 1920, 1040}) {
  TargetFacts t;
  t.frame = frame;
  t.child = frame;
  t.area = area;
  return t;
}

PlacementRequest Request(int width, int height, int placement = kPlaceStandard) {
  PlacementRequest r;
  r.width = width;
  r.height = height;
  r.x = 30;
  r.y = 40;
  r.placement = placement;
  return r;
}

TEST(RectSize, SaturatesForCornersFurtherApartThan32BitsHold) {
  const Rect huge{kIntMin, kIntMax, kIntMax, kIntMin};
  EXPECT_EQ(huge.Width(), kIntMax);
  EXPECT_EQ(huge.Height(), kIntMin);
  EXPECT_EQ(SizeText(huge), "2147483647 x -2147483648") << "the current-size text of an odd window";
  EXPECT_EQ(SizeText(Rect{10, 20, 650, 500}), "640 x 480");
  EXPECT_EQ(kEmptyMarker.Width(), -1);
}

TEST(StackingFlags, FrontRedrawsTheFrameAndQuietLeavesOrderAndFocus) {
  EXPECT_EQ(StackingFlags(true), kFront);
  EXPECT_EQ(StackingFlags(false), kQuiet);
}

TEST(PlanWindowPos, StandardPlacementMovesOnlyWithATopLeft) {
  const TargetFacts t = Window({100, 100, 500, 400});
  PlacementRequest r = Request(800, 600);
  EXPECT_EQ(PlanWindowPos(t, r), (WindowPosPlan{30, 40, 800, 600, kFront | SWP_NOMOVE_}));
  r.use_base = true;
  r.to_front = false;
  EXPECT_EQ(PlanWindowPos(t, r), (WindowPosPlan{30, 40, 800, 600, kQuiet}));
}

TEST(PlanWindowPos, AWindowThatMayNotBeResizedKeepsItsSize) {
  TargetFacts t = Window({100, 100, 500, 400});
  t.sizable = false;
  EXPECT_EQ(PlanWindowPos(t, Request(800, 600, kPlaceTopLeft)), (WindowPosPlan{0, 0, 400, 300, kFront | SWP_NOSIZE_}))
      << "placements use the size it keeps";
}

TEST(PlanWindowPos, ChildModeGrowsTheFrameByItsMarginsAroundTheChild) {
  TargetFacts t = Window({100, 100, 500, 400});
  t.child_mode = true;
  t.child = {110, 130, 490, 390};  // 20 narrower, 40 lower than the frame
  EXPECT_EQ(PlanWindowPos(t, Request(800, 600)), (WindowPosPlan{30, 40, 820, 640, kFront | SWP_NOMOVE_}));
  t.frame = {kIntMin, 0, kIntMax, 10};
  t.child = {0, 0, 10, 10};
  EXPECT_EQ(PlanWindowPos(t, Request(800, 600)).width, kIntMax) << "an odd frame saturates the sum";
}

struct PlaceRow {
  int placement;
  int x;
  int y;
};

TEST(PlanWindowPos, PlacementsAlignWithTheAreaAndCentringTruncatesTowardZero) {
  const TargetFacts t = Window({0, 0, 10, 10}, {10, 20, 1010, 820});
  const PlaceRow rows[] = {
      {kPlaceCentre, 10 + (1000 - 301) / 2, 20 + (800 - 201) / 2},
      {kPlaceTopLeft, 10, 20},
      {kPlaceTopRight, 1010 - 301, 20},
      {kPlaceBottomLeft, 10, 820 - 201},
      {kPlaceBottomRight, 1010 - 301, 820 - 201},
      {6, 30, 40},  // beyond the known ones: the numbers as passed
  };
  for (const PlaceRow& row : rows) {
    SCOPED_TRACE(row.placement);
    EXPECT_EQ(PlanWindowPos(t, Request(301, 201, row.placement)), (WindowPosPlan{row.x, row.y, 301, 201, kFront}));
  }
  // Larger than the area: (1000 - 1301) / 2 is -150.5, truncated to -150.
  EXPECT_EQ(PlanWindowPos(t, Request(1301, 801, kPlaceCentre)), (WindowPosPlan{-140, 20, 1301, 801, kFront}));
}

TEST(PlanWindowPos, PlacementsSaturateInsteadOfOverflowing) {
  const TargetFacts t = Window({0, 0, 10, 10}, {kIntMin, kIntMin, kIntMax, kIntMax});
  const WindowPosPlan right = PlanWindowPos(t, Request(9999, 9999, kPlaceBottomRight));
  EXPECT_EQ(right.x, kIntMax - 9999);
  const TargetFacts low = Window({0, 0, 10, 10}, {kIntMin, kIntMin, kIntMin + 5, kIntMin + 5});
  const WindowPosPlan corner = PlanWindowPos(low, Request(9999, 9999, kPlaceBottomRight));
  EXPECT_EQ(corner.x, kIntMin);
  EXPECT_EQ(corner.y, kIntMin);
}

TEST(ShiftForClientTopLeft, MovesTheFrameByTheChildsOffset) {
  const WindowPosPlan plan{100, 200, 640, 480, kQuiet};
  EXPECT_EQ(ShiftForClientTopLeft(plan, {108, 231}), (WindowPosPlan{92, 169, 640, 480, kQuiet}));
  EXPECT_EQ(ShiftForClientTopLeft({kIntMin, 0, 1, 1, 0}, {kIntMax, 0}).x, kIntMin) << "saturates";
}

}  // namespace
}  // namespace wakumo
