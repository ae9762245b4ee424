#include <gtest/gtest.h>

#include <string>

#include "controls/window_helpers.h"
#include "sim/sim_platform.h"

namespace wakumo {
namespace {

class FixedText : public TextSource {
 public:
  explicit FixedText(std::string t) : text_(std::move(t)) {}
  std::string Text() const override { return text_; }

 private:
  std::string text_;
};

TEST(WindowHelpers, WindowTextEndsAtTheFirstNul) {
  EXPECT_EQ(GetWindowTextString(FixedText("1,234")), "1,234");
  EXPECT_EQ(GetWindowTextString(FixedText("")), "");
  EXPECT_EQ(GetWindowTextString(FixedText(std::string("12\0" "34", 5))), "12");
  EXPECT_EQ(GetWindowTextString(FixedText("幅 800")), "幅 800");
}

// A keyboard that answers a fixed raw state, to pin down which bits count.
class RawKeyboard : public KeyboardState {
 public:
  explicit RawKeyboard(std::uint16_t state) : state_(state) {}
  std::int16_t GetKeyState(int) override { return static_cast<std::int16_t>(state_); }

 private:
  std::uint16_t state_;
};

TEST(WindowHelpers, KeyIsDownWhenAnyBitOfTheHighByteIsSet) {
  struct Row { std::uint16_t state; bool down; };
  for (Row r : {Row{0x0000, false}, Row{0x0001, false}, Row{0x00FF, false}, Row{0x8000, true}, Row{0x0100, true},
                Row{0xFF80, true}, Row{0xFF81, true}}) {
    SCOPED_TRACE(testing::Message() << "state 0x" << std::hex << r.state);
    RawKeyboard kb(r.state);
    EXPECT_EQ(IsKeyDown(kb, VK_SHIFT_), r.down);
  }

  SimKeyboard sim;
  sim.SetToggled(VK_SHIFT_, true);
  EXPECT_FALSE(IsKeyDown(sim, VK_SHIFT_)) << "a toggled key is not a held key";
  sim.SetKeyDown(VK_SHIFT_, true);
  EXPECT_TRUE(IsKeyDown(sim, VK_SHIFT_));
  EXPECT_FALSE(IsKeyDown(sim, VK_CONTROL_));
}

}  // namespace
}  // namespace wakumo
