// The main of a benchmark program: runs the benchmarks the command line
// names through `reporter`, then prints the summary the figures are for.
#pragma once
#include <benchmark/benchmark.h>

#include <functional>

namespace wakumo {

inline int RunBenchmarks(int argc, char** argv, benchmark::BenchmarkReporter& reporter,
                         const std::function<void()>& summary) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  summary();
  benchmark::Shutdown();
  return 0;
}

}  // namespace wakumo
