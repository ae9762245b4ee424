#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "sim/sim_platform.h"

namespace wakumo {
namespace {

using ::testing::IsEmpty;

struct Tick {
  char timer;
  std::uint64_t at;
  friend bool operator==(const Tick&, const Tick&) = default;
};
void PrintTo(const Tick& t, std::ostream* os) { *os << t.timer << "@" << t.at; }

TEST(ManualClock, FiresDueTicksInTimeOrderAndTiesInStartOrder) {
  ManualClock clock;
  std::vector<Tick> log;
  auto logger = [&](char name) { return [&, name] { log.push_back({name, clock.NowMs()}); }; };
  clock.StartTimer(30, logger('A'));
  clock.StartTimer(20, logger('B'));
  clock.StartTimer(30, logger('C'));

  clock.Advance(60);
  const std::vector<Tick> expected{{'B', 20}, {'A', 30}, {'C', 30}, {'B', 40}, {'A', 60}, {'B', 60}, {'C', 60}};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(clock.NowMs(), 60u);

  // The same ticks come whether time moves in one go or in pieces.
  ManualClock pieces;
  std::vector<Tick> log2;
  auto logger2 = [&](char name) { return [&, name] { log2.push_back({name, pieces.NowMs()}); }; };
  pieces.StartTimer(30, logger2('A'));
  pieces.StartTimer(20, logger2('B'));
  pieces.StartTimer(30, logger2('C'));
  for (int i = 0; i < 6; ++i) pieces.Advance(i % 2 ? 7 : 13);
  EXPECT_EQ(log2, expected);
}

TEST(ManualClock, CallbacksMayStopAndRestartTimers) {
  ManualClock clock;
  std::vector<std::uint64_t> ticks;
  // A repeat button's pattern: first tick after the delay, then every interval.
  TimerId id = 0;
  bool first = true;
  std::function<void()> repeat = [&] {
    ticks.push_back(clock.NowMs());
    if (first) {
      first = false;
      clock.StopTimer(id);
      id = clock.StartTimer(33, repeat);
    }
  };
  id = clock.StartTimer(500, repeat);
  clock.Advance(600);
  EXPECT_EQ(ticks, (std::vector<std::uint64_t>{500, 533, 566, 599}));
  EXPECT_EQ(clock.IntervalOf(id), 33);

  // A timer stopped by an earlier callback misses its tick due at the same moment.
  ManualClock c2;
  int late = 0;
  TimerId victim = 0;
  c2.StartTimer(10, [&] { c2.StopTimer(victim); });
  victim = c2.StartTimer(10, [&] { ++late; });
  c2.Advance(50);
  EXPECT_EQ(late, 0);
  EXPECT_FALSE(c2.IsRunning(victim));
  EXPECT_EQ(c2.RunningCount(), 1u);
}

TEST(ManualClock, ShortIntervalsRunAtTheFloorAndNestedAdvanceIsRefused) {
  ManualClock clock;
  int zero = 0, negative = 0;
  TimerId a = clock.StartTimer(0, [&] { ++zero; });
  clock.StartTimer(-5, [&] { ++negative; });
  EXPECT_EQ(clock.IntervalOf(a), ManualClock::kMinimumInterval);
  clock.Advance(100);
  EXPECT_EQ(zero, 10);
  EXPECT_EQ(negative, 10);

  ManualClock nested;
  nested.StartTimer(10, [&] { nested.Advance(5); });
  EXPECT_THROW(nested.Advance(10), std::logic_error);
  nested.StopTimer(1);
  EXPECT_NO_THROW(nested.Advance(10)) << "the clock stays usable after a refused call";
  EXPECT_EQ(nested.NowMs(), 20u);
}

TEST(SimKeyboardHook, FeedsNewestFirstAndReportsSwallowing) {
  SimKeyboardHook hooks;
  std::vector<std::string> calls;
  KeyEvent seen;
  HookId older = hooks.InstallKeyboardHook([&](const KeyEvent& key) {
    calls.push_back("older " + std::to_string(key.virtual_key));
    seen = key;
    return key.virtual_key == VK_UP_;
  });
  HookId newer = hooks.InstallKeyboardHook([&](const KeyEvent& key) {
    calls.push_back("newer " + std::to_string(key.virtual_key));
    return false;
  });
  ASSERT_NE(older, 0u);
  ASSERT_NE(newer, older);

  EXPECT_TRUE(hooks.FeedKeyDown(VK_UP_));
  EXPECT_EQ(calls, (std::vector<std::string>{"newer 38", "older 38"}));
  EXPECT_TRUE(seen.pressed);
  EXPECT_FALSE(seen.was_down);
  EXPECT_FALSE(hooks.FeedKeyDown(VK_DOWN_, true));
  EXPECT_TRUE(seen.was_down) << "an auto-repeat";
  EXPECT_FALSE(hooks.FeedKeyUp(VK_DOWN_));
  EXPECT_FALSE(seen.pressed);
  EXPECT_EQ(seen.virtual_key, VK_DOWN_);

  // A hook that removes another during an event keeps it from being called.
  calls.clear();
  hooks.RemoveKeyboardHook(newer);
  hooks.InstallKeyboardHook([&](const KeyEvent&) {
    hooks.RemoveKeyboardHook(older);
    return false;
  });
  EXPECT_FALSE(hooks.FeedKeyDown(VK_UP_));
  EXPECT_THAT(calls, IsEmpty());
  EXPECT_EQ(hooks.InstalledCount(), 1u);

  hooks.FailNextInstall();
  EXPECT_EQ(hooks.InstallKeyboardHook([](const KeyEvent&) { return true; }), 0u);
  EXPECT_EQ(hooks.InstalledCount(), 1u);
}

TEST(SimPlatform, PortsReachTheSimulatedFacilities) {
  SimPlatform sim;
  Platform ports = sim.Ports();

  TimerId id = ports.timers.StartTimer(100, [] {});
  EXPECT_TRUE(sim.clock.IsRunning(id));
  sim.clock.Advance(250);
  EXPECT_EQ(ports.clock.NowMs(), 250u);

  sim.keyboard.SetKeyDown(VK_CONTROL_, true);
  EXPECT_LT(ports.keyboard.GetKeyState(VK_CONTROL_), 0) << "a held key has the top bit set";

  EXPECT_EQ(ports.system.KeyboardDelay(), 1u);
  EXPECT_EQ(ports.system.KeyboardSpeed(), 31u);
  sim.system.SetKeyboardDelay(9);
  sim.system.SetKeyboardSpeed(std::nullopt);
  EXPECT_EQ(ports.system.KeyboardDelay(), 3u) << "held to the documented range";
  EXPECT_EQ(ports.system.KeyboardSpeed(), std::nullopt);

  EXPECT_EQ(ports.clipboard.GetText(), std::nullopt);
  EXPECT_TRUE(ports.clipboard.SetText("12a3 幅"));
  EXPECT_EQ(ports.clipboard.GetText(), "12a3 幅");

  sim.locale.SetSeparators({U',', U'.'});
  EXPECT_EQ(ports.locale.Separators().decimal, U',');
  EXPECT_EQ(ports.locale.Separators().thousands, U'.');
}

}  // namespace
}  // namespace wakumo
