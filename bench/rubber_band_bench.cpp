// A rubber-band move on a 4K canvas: putting back only the previous rectangle's outline, against
// the naive move that puts back the whole snapshot and captures the whole canvas again.
// Both run in the same loop; the counter "naive_per_outline" is how many outline moves fit in the
// time of one naive move.

#include <benchmark/benchmark.h>

#include <chrono>

#include "app/app.h"
#include "app/app_state.h"
#include "canvas/canvas_input.h"
#include "platform/fake/fake_desktop.h"

namespace {

using Clock = std::chrono::steady_clock;

void StartSelection(int width, int height) {
  fake::Reset();
  fake::Fake().screen = {width, height};
  fake::Fake().screenImage = fake::ScreenPattern(width, height);
  App_StartUp();
  PenMode_Begin();
  Menu_Screenshot();
  fake::LeftPress(100, 100);
  fake::MouseMove(900, 700);  // the first move takes the snapshot
}

void BM_RubberBandMove(benchmark::State& state) {
  const int width = 3840, height = 2160;
  StartSelection(width, height);
  const WindowHandle canvas = App().Canvas;
  ByteBlock naiveSnapshot = Plat_Canvas_Capture(canvas);
  double outlineSeconds = 0, naiveSeconds = 0;
  int step = 0;
  for (auto _ : state) {
    const int x = 900 + (step % 64) * 20, y = 700 + (step % 32) * 20;
    ++step;
    auto t0 = Clock::now();
    fake::MouseMove(x, y);
    auto t1 = Clock::now();
    // The naive move: whole snapshot back, whole canvas captured, one rectangle.
    Plat_Canvas_DrawImage(canvas, naiveSnapshot, 0, 0);
    naiveSnapshot = Plat_Canvas_Capture(canvas);
    Plat_Canvas_DrawRect(canvas, 100, 100, x, y);
    auto t2 = Clock::now();
    outlineSeconds += std::chrono::duration<double>(t1 - t0).count();
    naiveSeconds += std::chrono::duration<double>(t2 - t1).count();
    benchmark::DoNotOptimize(naiveSnapshot.data());
    fake::Fake().log.clear();
  }
  state.counters["outline_ms"] = 1e3 * outlineSeconds / step;
  state.counters["naive_ms"] = 1e3 * naiveSeconds / step;
  state.counters["naive_per_outline"] = naiveSeconds / outlineSeconds;
  Canvas_ReleaseRubberBand();
  App_FreeState();
}
BENCHMARK(BM_RubberBandMove)->Unit(benchmark::kMillisecond)->Iterations(60);

}  // namespace
