#include "sim/sim_desktop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace wakumo {
namespace {

using ::testing::IsEmpty;

constexpr std::uint32_t kSizable = WS_CAPTION_ | WS_SYSMENU_ | WS_THICKFRAME_;

TEST(SimDesktopGeometry, ChildRectanglesFollowTheirParentAndConvertThroughEveryLevel) {
  SimDesktop d;
  // Sizable frame: 4 px border, 18 px caption, so the client origin is (104, 122).
  const WindowHandle frame = d.Create({.class_name = "Frame", .style = kSizable, .rect = {100, 100, 500, 400}});
  const WindowHandle mdi = d.Create({.class_name = "MDIClient", .style = WS_CHILD_, .parent = frame,
                                     .rect = {0, 0, 392, 274}, .client_insets = SimInsets{2, 2, 2, 2}});
  const WindowHandle doc = d.Create({.class_name = "Doc", .style = WS_CHILD_ | kSizable, .parent = mdi,
                                     .rect = {10, 20, 210, 170}});

  EXPECT_EQ(d.GetWindowRect(mdi), (Rect{104, 122, 496, 396}));
  EXPECT_EQ(d.GetClientRect(mdi), (Rect{0, 0, 388, 270}));
  EXPECT_EQ(d.GetWindowRect(doc), (Rect{116, 144, 316, 294}));
  EXPECT_EQ(d.ScreenToClient(mdi, {116, 144}), (Point{10, 20}));
  EXPECT_EQ(d.ScreenToClient(doc, {116 + 4, 144 + 22}), (Point{0, 0}));
  EXPECT_EQ(d.GetClientRect(doc), (Rect{0, 0, 192, 124}));

  // Moving the frame carries both children along.
  d.SetWindowPos(frame, 0, 0, 50, 0, 0, SWP_NOSIZE_ | SWP_NOZORDER_);
  EXPECT_EQ(d.GetWindowRect(frame), (Rect{0, 50, 400, 350}));
  EXPECT_EQ(d.GetWindowRect(doc), (Rect{16, 94, 216, 244}));

  // A child is placed in its parent's client coordinates.
  d.SetWindowPos(doc, 0, 0, 0, 100, 50, SWP_NOZORDER_);
  EXPECT_EQ(d.LocalRect(doc), (Rect{0, 0, 100, 50}));
  EXPECT_EQ(d.GetWindowRect(doc), (Rect{6, 74, 106, 124}));
}

TEST(SimDesktopGeometry, ClientAreaFollowsStyleAndMetricsUnlessSetExplicitly) {
  SimDesktop d;
  const WindowHandle dialog = d.Create({.style = WS_CAPTION_ | WS_SYSMENU_ | WS_POPUP_, .rect = {0, 0, 200, 100}});
  const WindowHandle sizable = d.Create({.style = kSizable, .rect = {0, 0, 200, 100}});
  const WindowHandle bare = d.Create({.style = WS_POPUP_, .rect = {0, 0, 200, 100}});
  // WS_CAPTION_ carries the dialog frame (3 px) when there is no sizing frame.
  EXPECT_EQ(d.GetClientRect(dialog), (Rect{0, 0, 194, 76}));
  EXPECT_EQ(d.GetClientRect(sizable), (Rect{0, 0, 192, 74}));
  EXPECT_EQ(d.GetClientRect(bare), (Rect{0, 0, 200, 100}));

  d.SetMetric(SystemMetric::CyCaption, 30);
  d.SetMetric(SystemMetric::CxFrame, 8);
  EXPECT_EQ(d.GetClientRect(sizable), (Rect{0, 0, 184, 62}));

  d.SetClientInsets(sizable, SimInsets{1, 2, 3, 4});
  EXPECT_EQ(d.GetClientRect(sizable), (Rect{0, 0, 196, 94}));
  EXPECT_EQ(d.ScreenToClient(sizable, {1, 2}), (Point{0, 0}));
  // Insets larger than the window leave an empty client area, not a negative one.
  d.SetRect(sizable, {0, 0, 2, 2});
  EXPECT_EQ(d.GetClientRect(sizable), (Rect{0, 0, 0, 0}));
}

TEST(SimDesktopWindowFromPoint, FindsDeepestVisibleWindowByStackingOrder) {
  SimDesktop d;
  const WindowHandle back = d.Create({.class_name = "Back", .style = kSizable, .rect = {0, 0, 400, 400}});
  const WindowHandle front = d.Create({.class_name = "Front", .style = kSizable, .rect = {200, 200, 600, 600}});
  // front's client origin is (204, 222).
  const WindowHandle panel = d.Create({.style = WS_CHILD_, .parent = front, .rect = {0, 0, 200, 200}});
  const WindowHandle button = d.Create({.style = WS_CHILD_, .parent = panel, .rect = {10, 10, 60, 40}});
  const WindowHandle later = d.Create({.style = WS_CHILD_, .parent = front, .rect = {100, 100, 300, 300}});
  // Reaches above front's client area, into its caption: (504, 207, 584, 232).
  const WindowHandle overhang = d.Create({.style = WS_CHILD_, .parent = front, .rect = {300, -15, 380, 10}});

  EXPECT_EQ(d.WindowFromPoint({100, 100}), back);
  EXPECT_EQ(d.WindowFromPoint({210, 210}), front) << "overlap goes to the later-created window";
  EXPECT_EQ(d.WindowFromPoint({204 + 20, 222 + 20}), button);
  EXPECT_EQ(d.WindowFromPoint({204 + 150, 222 + 150}), later) << "later-created sibling lies on top";
  EXPECT_EQ(d.WindowFromPoint({540, 225}), overhang);
  EXPECT_EQ(d.WindowFromPoint({540, 212}), front) << "the caption is not searched for children";
  EXPECT_EQ(d.WindowFromPoint({700, 700}), 0u);

  d.SetWindowPos(back, 0, 0, 0, 0, 0, SWP_NOSIZE_ | SWP_NOMOVE_);
  EXPECT_EQ(d.WindowFromPoint({210, 210}), back);
  d.SetWindowPos(front, 0, 0, 0, 0, 0, SWP_NOSIZE_ | SWP_NOMOVE_);

  d.SetVisible(button, false);
  EXPECT_EQ(d.WindowFromPoint({204 + 20, 222 + 20}), panel);
  d.SetVisible(panel, false);
  EXPECT_EQ(d.WindowFromPoint({204 + 20, 222 + 20}), front);
  d.SetVisible(front, false);
  EXPECT_EQ(d.WindowFromPoint({210, 210}), back);
  d.SetVisible(front, true);
  d.Minimise(front);
  EXPECT_EQ(d.WindowFromPoint({210, 210}), back);
  EXPECT_EQ(d.WindowFromPoint({450, 450}), 0u);
}

TEST(SimDesktopState, VanishedWindowAnswersLikeAnInvalidHandle) {
  SimDesktop d;
  const WindowHandle frame = d.Create({.class_name = "Frame", .title = "T", .style = kSizable,
                                       .rect = {10, 10, 300, 300}});
  const WindowHandle child = d.Create({.class_name = "Btn", .style = WS_CHILD_, .parent = frame,
                                       .rect = {0, 0, 10, 10}});
  const WindowHandle owned = d.Create({.style = WS_POPUP_ | WS_CAPTION_, .parent = frame, .rect = {0, 0, 5, 5}});
  d.SetForeground(frame);
  d.SetCapture(frame);
  d.Destroy(frame);

  for (WindowHandle w : {frame, child, owned}) {
    SCOPED_TRACE(w);
    EXPECT_FALSE(d.Exists(w));
    EXPECT_EQ(d.GetParent(w), 0u);
    EXPECT_EQ(d.GetStyle(w), 0u);
    EXPECT_EQ(d.GetExStyle(w), 0u);
    EXPECT_FALSE(d.IsWindowVisible(w));
    EXPECT_FALSE(d.IsIconic(w));
    EXPECT_FALSE(d.IsZoomed(w));
    EXPECT_EQ(d.GetClassName(w), "");
    EXPECT_EQ(d.GetWindowText(w), "");
    EXPECT_EQ(d.GetWindowRect(w), (Rect{0, 0, 0, 0}));
    EXPECT_EQ(d.GetClientRect(w), (Rect{0, 0, 0, 0}));
    EXPECT_EQ(d.ScreenToClient(w, {7, 8}), (Point{7, 8}));
    EXPECT_EQ(d.GetShowCmd(w), 0);
  }
  EXPECT_EQ(d.GetForegroundWindow(), 0u);
  EXPECT_EQ(d.Capture(), 0u);
  EXPECT_THAT(d.EnumWindows(), IsEmpty());

  d.SetWindowPos(frame, 0, 1, 2, 3, 4, 0);
  d.ShowWindow(frame, SW_RESTORE_);
  EXPECT_EQ(d.SetWindowPosCalls().size(), 1u) << "calls on vanished windows are still logged";
  EXPECT_EQ(d.ShowWindowCalls().size(), 1u);
  EXPECT_THAT(d.EnumWindows(), IsEmpty());
  EXPECT_NE(d.Create({}), frame) << "handles are never reused";
}

TEST(SimDesktopState, ParentOwnerVisibilityAndStyleBits) {
  SimDesktop d;
  const WindowHandle frame = d.Create({.style = kSizable, .rect = {0, 0, 100, 100}});
  const WindowHandle child = d.Create({.style = WS_CHILD_, .parent = frame, .rect = {0, 0, 10, 10}});
  const WindowHandle popup = d.Create({.style = WS_POPUP_, .parent = frame, .rect = {0, 0, 10, 10}});
  const WindowHandle owned = d.Create({.style = kSizable, .parent = frame, .rect = {0, 0, 10, 10}});

  EXPECT_EQ(d.GetParent(child), frame);
  EXPECT_EQ(d.GetParent(popup), frame);
  EXPECT_EQ(d.GetParent(owned), 0u) << "an owned window without WS_POPUP_ reports no parent";
  EXPECT_EQ(d.Owner(owned), frame);
  EXPECT_EQ(d.GetParent(frame), 0u);
  EXPECT_EQ(d.EnumWindows(), (std::vector<WindowHandle>{owned, popup, frame}));
  EXPECT_EQ(d.Create({.style = WS_CHILD_, .parent = 0xdead}), 0u);

  EXPECT_EQ(d.GetStyle(frame), kSizable | WS_VISIBLE_);
  d.SetVisible(frame, false);
  EXPECT_FALSE(d.IsWindowVisible(child)) << "a child is hidden with its parent";
  EXPECT_TRUE(d.IsWindowVisible(popup)) << "an owned window is not";
  EXPECT_EQ(d.GetStyle(frame), kSizable);
  d.SetVisible(frame, true);
  d.Maximise(frame);
  EXPECT_EQ(d.GetStyle(frame), kSizable | WS_VISIBLE_ | WS_MAXIMIZE_);
  d.Minimise(frame);
  EXPECT_EQ(d.GetStyle(frame), kSizable | WS_VISIBLE_ | WS_MINIMIZE_);
  EXPECT_EQ(d.GetShowCmd(frame), SW_SHOWMINIMIZED_);
}

TEST(SimDesktopSetWindowPos, HonoursFlagsAndLogsEveryCall) {
  SimDesktop d;
  const WindowHandle a = d.Create({.style = kSizable, .rect = {10, 20, 110, 220}});
  const WindowHandle b = d.Create({.style = kSizable, .rect = {0, 0, 50, 50}});
  d.SetForeground(b);

  d.SetWindowPos(a, 0, 300, 400, 640, 480, SWP_NOZORDER_ | SWP_NOACTIVATE_ | SWP_NOSIZE_);
  EXPECT_EQ(d.GetWindowRect(a), (Rect{300, 400, 400, 600}));
  EXPECT_EQ(d.EnumWindows().front(), b) << "SWP_NOZORDER_ does not raise";
  EXPECT_EQ(d.GetForegroundWindow(), b) << "SWP_NOACTIVATE_ does not activate";

  d.SetWindowPos(a, 0, 1, 1, 640, 480, SWP_NOZORDER_ | SWP_NOACTIVATE_ | SWP_NOMOVE_);
  EXPECT_EQ(d.GetWindowRect(a), (Rect{300, 400, 940, 880}));

  d.SetWindowPos(a, 0, 5, 6, 70, 80, SWP_FRAMECHANGED_);
  EXPECT_EQ(d.GetWindowRect(a), (Rect{5, 6, 75, 86}));
  EXPECT_EQ(d.EnumWindows().front(), a) << "HWND_TOP raises";
  EXPECT_EQ(d.GetForegroundWindow(), a) << "without SWP_NOACTIVATE_ the window is activated";

  d.SetWindowPos(a, b, 0, 0, 0, 0, SWP_NOSIZE_ | SWP_NOMOVE_ | SWP_NOACTIVATE_);
  EXPECT_EQ(d.EnumWindows(), (std::vector<WindowHandle>{b, a})) << "insert_after places below it";

  const std::vector<SetWindowPosCall> expected = {
      {a, 0, 300, 400, 640, 480, SWP_NOZORDER_ | SWP_NOACTIVATE_ | SWP_NOSIZE_},
      {a, 0, 1, 1, 640, 480, SWP_NOZORDER_ | SWP_NOACTIVATE_ | SWP_NOMOVE_},
      {a, 0, 5, 6, 70, 80, SWP_FRAMECHANGED_},
      {a, b, 0, 0, 0, 0, SWP_NOSIZE_ | SWP_NOMOVE_ | SWP_NOACTIVATE_},
  };
  EXPECT_EQ(d.SetWindowPosCalls(), expected);
  d.ClearLogs();
  EXPECT_THAT(d.SetWindowPosCalls(), IsEmpty());
}

TEST(SimDesktopSetWindowPos, TrackSizesBindFramedWindowsOnly) {
  SimDesktop d;
  const WindowHandle sizable = d.Create({.style = kSizable, .rect = {0, 0, 300, 300},
                                         .min_track = {200, 150}, .max_track = {800, 600}});
  const WindowHandle popup = d.Create({.style = WS_POPUP_, .rect = {0, 0, 300, 300}, .min_track = {200, 150}});
  d.SetWindowPos(sizable, 0, 0, 0, 100, 1000, SWP_NOZORDER_);
  EXPECT_EQ(d.GetWindowRect(sizable), (Rect{0, 0, 200, 600}));
  d.SetWindowPos(popup, 0, 0, 0, 100, 100, SWP_NOZORDER_);
  EXPECT_EQ(d.GetWindowRect(popup), (Rect{0, 0, 100, 100}));
  d.SetWindowPos(popup, 0, 0, 0, -5, -5, SWP_NOZORDER_);
  EXPECT_EQ(d.GetWindowRect(popup), (Rect{0, 0, 0, 0}));
}

TEST(SimDesktopSetWindowPos, MaximisedAndMinimisedWindowsKeepTheirStateUntilRestored) {
  SimDesktop d;
  const WindowHandle w = d.Create({.style = kSizable, .rect = {100, 100, 500, 400}, .maximised = true});
  EXPECT_TRUE(d.IsZoomed(w));
  EXPECT_EQ(d.GetWindowRect(w), (Rect{-4, -4, 1284, 998})) << "work area grown by the frame";

  d.SetWindowPos(w, 0, 10, 10, 800, 600, SWP_NOZORDER_);
  EXPECT_TRUE(d.IsZoomed(w));
  EXPECT_EQ(d.GetWindowRect(w), (Rect{10, 10, 810, 610}));
  d.ShowWindow(w, SW_RESTORE_);
  EXPECT_FALSE(d.IsZoomed(w));
  EXPECT_EQ(d.GetWindowRect(w), (Rect{100, 100, 500, 400}));

  d.ShowWindow(w, SW_SHOWMAXIMIZED_);
  d.ShowWindow(w, SW_SHOWMINIMIZED_);
  EXPECT_TRUE(d.IsIconic(w));
  EXPECT_FALSE(d.IsZoomed(w));
  EXPECT_EQ(d.GetWindowRect(w), (Rect{-32000, -32000, -31840, -31972}));
  d.SetWindowPos(w, 0, 0, 0, 640, 480, SWP_NOZORDER_ | SWP_NOMOVE_);
  EXPECT_TRUE(d.IsIconic(w)) << "a minimised window is changed in place";
  EXPECT_EQ(d.GetWindowRect(w), (Rect{-32000, -32000, -31360, -31520}));
  d.ShowWindow(w, SW_RESTORE_);
  EXPECT_TRUE(d.IsZoomed(w)) << "minimised from maximised restores to maximised";
  d.ShowWindow(w, SW_RESTORE_);
  EXPECT_EQ(d.GetWindowRect(w), (Rect{100, 100, 500, 400}));
  d.ShowWindow(w, SW_HIDE_);
  EXPECT_FALSE(d.IsWindowVisible(w));

  const std::vector<ShowWindowCall> expected = {{w, SW_RESTORE_}, {w, SW_SHOWMAXIMIZED_}, {w, SW_SHOWMINIMIZED_},
                                                {w, SW_RESTORE_}, {w, SW_RESTORE_}, {w, SW_HIDE_}};
  EXPECT_EQ(d.ShowWindowCalls(), expected);
}

TEST(SimDesktopStacking, TopmostWindowsStayAboveOrdinaryOnes) {
  SimDesktop d;
  const WindowHandle a = d.Create({.rect = {0, 0, 10, 10}});
  const WindowHandle top = d.Create({.ex_style = kSimWsExTopmost, .rect = {0, 0, 10, 10}});
  const WindowHandle b = d.Create({.rect = {0, 0, 10, 10}});
  EXPECT_EQ(d.EnumWindows(), (std::vector<WindowHandle>{top, b, a}));
  d.SetWindowPos(a, 0, 0, 0, 0, 0, SWP_NOSIZE_ | SWP_NOMOVE_);
  EXPECT_EQ(d.EnumWindows(), (std::vector<WindowHandle>{top, a, b}));
  d.SetTopmost(top, false);
  d.SetTopmost(b, true);
  EXPECT_EQ(d.EnumWindows().front(), b);
  EXPECT_EQ(d.WindowFromPoint({5, 5}), b);
}

TEST(SimDesktopLedger, XorOutlinesToggleAndCallsAreCounted) {
  SimDesktop d;
  const Rect a{0, 0, 100, 100};
  const Rect b{10, 10, 50, 50};
  d.DrawXorFrame(a);
  d.DrawXorFrame(b);
  EXPECT_EQ(d.Outlines(), (std::vector<Rect>{a, b}));
  d.DrawXorFrame(a);
  EXPECT_EQ(d.Outlines(), (std::vector<Rect>{b}));
  d.DrawXorFrame(b);
  EXPECT_THAT(d.Outlines(), IsEmpty());
  EXPECT_EQ(d.XorDrawCount(), 4u);
  EXPECT_EQ(d.XorDraws(), (std::vector<Rect>{a, b, a, b}));

  d.ResetCallCounts();
  d.WindowFromPoint({1, 1});
  d.WindowFromPoint({2, 2});
  d.GetWindowRect(0);
  d.SetCursorPos({3, 3});  // test side: not counted
  EXPECT_EQ(d.GetCursorPos(), (Point{3, 3}));
  EXPECT_EQ(d.CallCount(), 4);
  EXPECT_EQ(d.CallCount("WindowFromPoint"), 2);
  EXPECT_EQ(d.CallCount("GetWindowRect"), 1);
  EXPECT_EQ(d.CallCount("GetCursorPos"), 1);
  EXPECT_EQ(d.CallCount("DrawXorFrame"), 0);
  d.ResetCallCounts();
  EXPECT_EQ(d.CallCount(), 0);
}

}  // namespace
}  // namespace wakumo
