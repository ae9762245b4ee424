// Loading and saving the settings file must grow linearly with the number of
// presets: the run prints the time for 100,000 presets over the time for
// 10,000 (linear is 10). The file holds half size presets, a quarter position
// presets and a quarter shortcuts, with Shift-JIS names (one size name in
// eight cut after a lead byte, which takes the slower way through the code
// page), and goes through the store and the simulated file system as at start
// and close.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "bench_main.h"
#include "presets/ansi_text.h"
#include "presets/settings_store.h"
#include "sim/sim_files.h"

namespace wakumo {
namespace {

SettingsData MakeSettings(int presets, const AnsiCodePage& cp) {
  SettingsData d;
  for (int i = 0; i < presets / 2; ++i) {
    d.sizes.push_back({SizeText(100 + i % 4000, 50 + i), "横長 " + std::to_string(i)});
    if (i % 8 == 0) {
      NamedPreset& p = d.sizes.back();
      p.name_bytes = cp.FromUtf8(p.name) + "\x8E";
      p.name = ShownText(p.name_bytes, cp);
    }
  }
  for (int i = 0; i < presets / 4; ++i) d.bases.push_back({PositionText(-i, i % 1000), "表示ソ" + std::to_string(i)});
  for (int i = 0; i < presets - presets / 2 - presets / 4; ++i)
    d.shortcuts.push_back({"ｼｮｰﾄ" + std::to_string(i), {640 + i % 7, 480, -8, i}});
  d.base = NumberPair{100, 50};
  return d;
}

struct Scene {
  explicit Scene(int presets) : data(MakeSettings(presets, cp)), store(files, cp) {
    files.PutFile(store.Path(), FormatSettings(data, cp));
  }
  SimFileSystem files;
  SimAnsiCodePage cp{932};
  SettingsData data;
  SettingsStore store;
};

void BM_LoadSettings(benchmark::State& state) {
  Scene s(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    SettingsLoad load = s.store.Load();
    benchmark::DoNotOptimize(load.data.sizes.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadSettings)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_SaveSettings(benchmark::State& state) {
  Scene s(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (s.store.Save(s.data)) state.SkipWithError("save failed");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveSettings)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Keeps each run's time per iteration so that main can print the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_None) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration && !r.error_occurred) times[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace
}  // namespace wakumo

int main(int argc, char** argv) {
  wakumo::RatioReporter reporter;
  return wakumo::RunBenchmarks(argc, argv, reporter, [&] {
    for (const char* name : {"BM_LoadSettings", "BM_SaveSettings"}) {
      const auto small = reporter.times.find(std::string(name) + "/10000");
      const auto large = reporter.times.find(std::string(name) + "/100000");
      if (small == reporter.times.end() || large == reporter.times.end() || small->second <= 0) continue;
      std::printf("%s: 100,000 presets / 10,000 presets = %.2f (linear: 10)\n", name, large->second / small->second);
    }
  });
}
