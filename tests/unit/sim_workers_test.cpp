// The simulated worker threads: a real thread that runs only while the test
// waits for it, woken by the manual clock, with its hand-offs run on the
// test's thread.
#include "sim/sim_workers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sim/sim_platform.h"

namespace wakumo {
namespace {

// The worker's side of a conversation, one line per thing it did; only
// touched while the other side waits (the lockstep), read by the test after.
struct Script {
  std::vector<std::string> log;
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(log);
    return out;
  }
};

TEST(SimWorkers, AWorkerStartsPausedAndNeverLosesAResume) {
  ManualClock clock;
  SimWorkers workers(clock);
  Script s;
  auto w = workers.CreatePaused([&s](WorkerContext& ctx) {
    s.log.push_back("started");
    s.log.push_back(ctx.Pause() ? "resumed" : "ending");
    s.log.push_back(ctx.Pause() ? "resumed" : "ending");
  });
  EXPECT_EQ(s.Take(), std::vector<std::string>{});
  EXPECT_EQ(workers.PausedCount(), 1u);
  w->Resume();
  EXPECT_EQ(s.Take(), (std::vector<std::string>{"started"}));
  w->Resume();
  EXPECT_EQ(s.Take(), (std::vector<std::string>{"resumed"}));
  w.reset();
  EXPECT_EQ(s.Take(), (std::vector<std::string>{"ending"}));
  EXPECT_EQ(workers.LiveCount(), 0u);

  // A Resume that comes while the worker is busy elsewhere (asleep) is kept.
  auto v = workers.CreatePaused([&s](WorkerContext& ctx) {
    ctx.Sleep(100);
    s.log.push_back(ctx.Pause() ? "went straight on" : "ending");
  });
  v->Resume();
  v->Resume();
  clock.Advance(100);
  EXPECT_EQ(s.Take(), (std::vector<std::string>{"went straight on"}));
}

TEST(SimWorkers, SleepsFollowTheClockAndStepsRunOnTheTestThread) {
  ManualClock clock;
  SimWorkers workers(clock);
  std::vector<std::uint64_t> steps_at;
  auto w = workers.CreatePaused([&](WorkerContext& ctx) {
    while (ctx.Sleep(100) && ctx.RunOnUiThread([&] { steps_at.push_back(clock.NowMs()); })) {
    }
  });
  w->Resume();
  EXPECT_EQ(workers.SleepingCount(), 1u);
  clock.Advance(99);
  EXPECT_EQ(steps_at, std::vector<std::uint64_t>{});
  clock.Advance(251);
  EXPECT_EQ(steps_at, (std::vector<std::uint64_t>{100, 200, 300}));

  // A busy loop: the step waits until the test runs it.
  workers.SetRunHandOffsAtOnce(false);
  clock.Advance(50);
  EXPECT_EQ(workers.PendingHandOffs(), 1u);
  EXPECT_EQ(steps_at.size(), 3u);
  EXPECT_EQ(workers.RunHandOffs(), 1);
  EXPECT_EQ(steps_at.back(), 400u);
  EXPECT_EQ(workers.SleepingCount(), 1u);
}

TEST(SimWorkers, EndingDropsAStepNotRunAndLetsAStepThatEndsItsWorkerFinish) {
  ManualClock clock;
  SimWorkers workers(clock);
  workers.SetRunHandOffsAtOnce(false);
  int ran = 0;
  bool handed_over = true;
  auto w = workers.CreatePaused([&](WorkerContext& ctx) { handed_over = ctx.RunOnUiThread([&] { ++ran; }); });
  w->Resume();
  EXPECT_EQ(workers.PendingHandOffs(), 1u);
  w.reset();
  EXPECT_EQ(workers.RunHandOffs(), 0);
  EXPECT_EQ(ran, 0);
  EXPECT_FALSE(handed_over) << "the body hears that its step was dropped";

  std::unique_ptr<Worker> v;
  std::string after_end;
  bool body_heard = true;
  v = workers.CreatePaused([&](WorkerContext& ctx) {
    body_heard = ctx.RunOnUiThread([&] {
      v.reset();
      after_end = "the step finished after its worker ended";
    });
  });
  v->Resume();
  EXPECT_EQ(workers.RunHandOffs(), 1);
  EXPECT_EQ(v, nullptr);
  EXPECT_FALSE(body_heard);
  EXPECT_EQ(after_end, "the step finished after its worker ended");
  EXPECT_EQ(workers.LiveCount(), 0u);

  // Asleep for an hour: ending does not wait for the hour.
  auto sleeper = workers.CreatePaused([](WorkerContext& ctx) { ctx.Sleep(3600 * 1000); });
  sleeper->Resume();
  sleeper.reset();
  EXPECT_EQ(clock.RunningCount(), 0u);
}

}  // namespace
}  // namespace wakumo
