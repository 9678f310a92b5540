// The conversion step of a screen or canvas capture: the rows of a bottom-up 24-bit DIB become a
// canvas image. Measured against one memcpy of the same frame into a buffer that already exists,
// in the same loop. The counter "copies" is the conversion's time in memcpys of the frame (the goal
// is at most 1: the conversion is the one copy); "vs_memcpy" is its throughput as a share of
// memcpy's.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

#include "canvas/canvas_image.h"

namespace {

using Clock = std::chrono::steady_clock;

// Rows as a DIB section holds them: bottom row first, each padded to 4 bytes.
ByteBlock DibRows(int width, int height) {
  ByteBlock rows(CanvasImage_Stride(width) * static_cast<std::size_t>(height));
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint8_t>(i * 29 + 3);
  return rows;
}

void BM_CaptureConversion(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  const ByteBlock rows = DibRows(width, height);
  const std::size_t stride = CanvasImage_Stride(width);
  ByteBlock target(rows.size());
  double convertSeconds = 0, copySeconds = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    ByteBlock image = CanvasImage_FromBottomUpRows(width, height, rows.data(), stride);
    benchmark::DoNotOptimize(image.data());
    image = ByteBlock();  // the capture's block is released by its user; count it here
    auto t1 = Clock::now();
    std::memcpy(target.data(), rows.data(), rows.size());
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
    auto t2 = Clock::now();
    convertSeconds += std::chrono::duration<double>(t1 - t0).count();
    copySeconds += std::chrono::duration<double>(t2 - t1).count();
  }
  const double bytes = static_cast<double>(rows.size()) * static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.counters["convert_GBps"] = bytes / convertSeconds / 1e9;
  state.counters["memcpy_GBps"] = bytes / copySeconds / 1e9;
  state.counters["copies"] = convertSeconds / copySeconds;
  state.counters["vs_memcpy"] = copySeconds / convertSeconds;
}
BENCHMARK(BM_CaptureConversion)
    ->Name("BM_CaptureConversion/1920x1080")
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CaptureConversion)
    ->Name("BM_CaptureConversion/3840x2160")
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond);
// A width whose rows need padding (3 * 1366 is no multiple of 4).
BENCHMARK(BM_CaptureConversion)
    ->Name("BM_CaptureConversion/1366x768")
    ->Args({1366, 768})
    ->Unit(benchmark::kMillisecond);

}  // namespace
