// Cost of one mouse move of the pick loop on the simulated desktop: over the
// same candidate (only the window lookups) and over a new candidate (labels,
// size text and the outline change). Each run also reports the window-system
// calls one move makes.
#include <benchmark/benchmark.h>

#include "../tests/unit/main_window_scene.h"

namespace wakumo {
namespace {

using testing::kOverlapped;

struct PickScene : testing::MainWindowScene {
  PickScene() {
    form.Show();
    a = desk.Create({.class_name = "A", .title = "first", .style = kOverlapped, .rect = {20, 20, 420, 320}});
    b = desk.Create({.class_name = "B", .title = "second", .style = kOverlapped, .rect = {20, 640, 420, 940}});
    // A few nested children so the lookups climb a realistic chain.
    WindowHandle parent = a;
    for (int i = 0; i < 4; ++i) parent = desk.Create({.class_name = "Child", .style = WS_CHILD_, .parent = parent, .rect = {2, 2, 300, 250}});
    parent = b;
    for (int i = 0; i < 4; ++i) parent = desk.Create({.class_name = "Child", .style = WS_CHILD_, .parent = parent, .rect = {2, 2, 300, 250}});
    tk.MouseDown("Image1", MouseButton::mbLeft, {}, {15, 15});
  }
  WindowHandle a = 0, b = 0;
};

void BM_MoveOverSameCandidate(benchmark::State& state) {
  PickScene s;
  s.tk.MouseMoveOnScreen({100, 100});
  s.desk.ResetCallCounts();
  long moves = 0;
  for (auto _ : state) {
    s.tk.MouseMoveOnScreen({100 + static_cast<int>(moves & 7), 100});
    ++moves;
  }
  state.counters["ws_calls_per_move"] = static_cast<double>(s.desk.CallCount()) / static_cast<double>(moves);
}
BENCHMARK(BM_MoveOverSameCandidate);

void BM_MoveOverNewCandidate(benchmark::State& state) {
  PickScene s;
  s.desk.ResetCallCounts();
  long moves = 0;
  for (auto _ : state) {
    s.tk.MouseMoveOnScreen(moves % 2 == 0 ? Point{100, 100} : Point{100, 700});
    ++moves;
  }
  state.counters["ws_calls_per_move"] = static_cast<double>(s.desk.CallCount()) / static_cast<double>(moves);
}
BENCHMARK(BM_MoveOverNewCandidate);

}  // namespace
}  // namespace wakumo

BENCHMARK_MAIN();
