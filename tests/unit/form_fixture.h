#pragma once
// A main window on the simulated desktop with one sizable application window
// (520 x 360 at 100, 600) holding a 500 x 300 child, and the user's ways of
// picking and typing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_window_scene.h"

namespace wakumo::testing {

inline constexpr std::uint32_t kFront = SWP_FRAMECHANGED_;
inline constexpr std::uint32_t kQuiet = SWP_NOZORDER_ | SWP_NOACTIVATE_;

using Calls = std::vector<SetWindowPosCall>;

class FormFixture : public ::testing::Test, protected MainWindowScene {
 protected:
  FormFixture() {
    app = desk.Create({.class_name = "Notepad", .title = "memo.txt", .style = kOverlapped, .rect = {100, 600, 620, 960}});
    child = desk.Create({.class_name = "Edit", .style = WS_CHILD_, .parent = app, .rect = {0, 0, 500, 300}});
    form.Show();
    desk.SetForeground(form.Handle());
  }

  Point Centre(WindowHandle w) const {
    const Rect r = desk.ScreenRect(w);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // Drags the sight onto the window's centre and lets go there.
  void Pick(WindowHandle w, bool shift = false) {
    ASSERT_TRUE(tk.MouseDown("Image1", MouseButton::mbLeft, {}, {15, 15}));
    tk.MouseMoveOnScreen(Centre(w), ShiftState{.shift = shift});
    tk.MouseUpOnScreen(Centre(w), MouseButton::mbLeft, ShiftState{.shift = shift});
  }
  void TypeSize(int width, int height) {
    ASSERT_TRUE(tk.TypeText("EdSizeX", std::to_string(width)));
    ASSERT_TRUE(tk.TypeText("EdSizeY", std::to_string(height)));
  }
  // Ticks "左上：" and types the top-left.
  void TypeBase(int x, int y) {
    if (!form.BaseChk.Checked()) {
      ASSERT_TRUE(tk.Click("BaseChk"));
    }
    ASSERT_TRUE(tk.TypeText("EdBaseX", std::to_string(x)));
    ASSERT_TRUE(tk.TypeText("EdBaseY", std::to_string(y)));
  }
  void SetChecked(std::string_view box, bool on) {
    if (tk.Get<SimCheckBoxPeer>(box).Checked() != on) {
      ASSERT_TRUE(tk.Click(box));
    }
  }
  // Presses Set and returns the SetWindowPos calls it made.
  Calls Set() {
    desk.ClearLogs();
    EXPECT_TRUE(tk.Click("SetBtn"));
    return desk.SetWindowPosCalls();
  }
  Calls Undo() {
    desk.ClearLogs();
    EXPECT_TRUE(tk.Click("UndoBtn"));
    return desk.SetWindowPosCalls();
  }

  WindowHandle app = 0;
  WindowHandle child = 0;
};

}  // namespace wakumo::testing
