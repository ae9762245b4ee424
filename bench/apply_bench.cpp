// Cost of one ApplyWindowPos and one UndoBtnClick on the simulated desktop
// with 1k, 10k and 100k records already on the undo history, and of the bare
// history's push and pop. Each iteration times a batch of one kind of step
// and undoes it untimed, so the depth stays where it was set. At the end the
// time per step at the greatest depth is printed against the smallest: a
// constant-time history keeps the ratio near 1.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "app/undo_list.h"
#include "bench_main.h"
#include "../tests/unit/main_window_scene.h"

namespace wakumo {
namespace {

using testing::kOverlapped;
constexpr int kBatch = 1000;

using Clock = std::chrono::steady_clock;

struct ApplyScene : testing::MainWindowScene {
  explicit ApplyScene(int depth) {
    form.Show();
    app = desk.Create({.class_name = "App", .title = "target", .style = kOverlapped, .rect = {20, 20, 420, 320}});
    for (int i = 0; i < depth; ++i) Apply(i);
    desk.ClearLogs();
  }
  void Apply(int i) { form.ApplyWindowPos(app, 800 + (i & 1), 600, 10, 20, 0, true); }

  WindowHandle app = 0;
};

void Finish(benchmark::State& state, double ns, std::int64_t ops) {
  state.counters["ns_per_op"] = ns / static_cast<double>(ops);
  state.counters["depth"] = static_cast<double>(state.range(0));
  state.SetItemsProcessed(ops);
}

// Applies and undoes a batch per iteration, timing one of the two.
void TimeBatches(benchmark::State& state, bool time_undo) {
  ApplyScene s(static_cast<int>(state.range(0)));
  double ns = 0;
  std::int64_t ops = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    for (int k = 0; k < kBatch; ++k) s.Apply(k);
    const auto t1 = Clock::now();
    for (int k = 0; k < kBatch; ++k) s.form.UndoBtnClick();
    const auto t2 = Clock::now();
    s.desk.ClearLogs();
    const double batch = std::chrono::duration<double, std::nano>(time_undo ? t2 - t1 : t1 - t0).count();
    state.SetIterationTime(batch * 1e-9);
    ns += batch;
    ops += kBatch;
  }
  Finish(state, ns, ops);
}

void BM_ApplyWindowPos(benchmark::State& state) { TimeBatches(state, false); }
void BM_UndoBtnClick(benchmark::State& state) { TimeBatches(state, true); }

void BM_UndoListPushPop(benchmark::State& state) {
  CUndoList list;
  for (std::int64_t i = 0; i < state.range(0); ++i) list.Push({1, {0, 0, 100, 100}});
  double ns = 0;
  std::int64_t ops = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    for (int k = 0; k < kBatch; ++k) list.Push({2, {k, k, k + 1, k + 1}});
    for (int k = 0; k < kBatch; ++k) benchmark::DoNotOptimize(list.Pop());
    const auto t1 = Clock::now();
    const double batch = std::chrono::duration<double, std::nano>(t1 - t0).count();
    state.SetIterationTime(batch * 1e-9);
    ns += batch;
    ops += 2 * kBatch;
  }
  Finish(state, ns, ops);
}

BENCHMARK(BM_ApplyWindowPos)->Arg(1'000)->Arg(10'000)->Arg(100'000)->UseManualTime();
BENCHMARK(BM_UndoBtnClick)->Arg(1'000)->Arg(10'000)->Arg(100'000)->UseManualTime();
BENCHMARK(BM_UndoListPushPop)->Arg(1'000)->Arg(10'000)->Arg(100'000)->UseManualTime();

// Keeps each run's time per step by benchmark family and depth.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      const auto per_op = run.counters.find("ns_per_op");
      const auto depth = run.counters.find("depth");
      if (per_op == run.counters.end() || depth == run.counters.end()) continue;
      times_[run.run_name.function_name][static_cast<long>(depth->second.value)] = per_op->second.value;
    }
  }
  void PrintRatios() const {
    std::printf("\nTime per step by history depth (ratio of the deepest to the shallowest):\n");
    for (const auto& [name, by_depth] : times_) {
      if (by_depth.size() < 2) continue;
      const auto& [low_depth, low] = *by_depth.begin();
      const auto& [high_depth, high] = *by_depth.rbegin();
      std::printf("  %-20s", name.c_str());
      for (const auto& [depth, ns] : by_depth) std::printf("  %7ld: %8.1f ns", depth, ns);
      std::printf("   ratio %ld/%ld = %.2f\n", high_depth, low_depth, high / low);
    }
  }

 private:
  std::map<std::string, std::map<long, double>> times_;
};

}  // namespace
}  // namespace wakumo

int main(int argc, char** argv) {
  wakumo::RatioReporter reporter;
  return wakumo::RunBenchmarks(argc, argv, reporter, [&] { reporter.PrintRatios(); });
}
