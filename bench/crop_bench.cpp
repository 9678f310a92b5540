// Cutting regions out of a 4K canvas image, against a plain memcpy of as many bytes into a buffer
// that already exists. Both run in the same loop; the counter "vs_memcpy" is the crop's throughput
// as a share of memcpy's (1.0: as fast as memcpy).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

#include "canvas/bitmap_crop.h"
#include "canvas/canvas_image.h"

namespace {

using Clock = std::chrono::steady_clock;

ByteBlock Frame(int width, int height) {
  ByteBlock image = CanvasImage_Create(width, height);
  std::uint8_t* pixels = CanvasImage_Pixels(image);
  for (std::size_t i = 0; i < CanvasImage_Stride(width) * height; ++i)
    pixels[i] = static_cast<std::uint8_t>(i * 31 + 7);
  return image;
}

void BM_Crop(benchmark::State& state, int x, int y, int w, int h) {
  const ByteBlock frame = Frame(3840, 2160);
  const std::size_t bytes = Bitmap_CropRegion(frame, x, y, w, h).size();
  ByteBlock target(bytes);
  double cropSeconds = 0, copySeconds = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    ByteBlock region = Bitmap_CropRegion(frame, x, y, w, h);
    benchmark::DoNotOptimize(region.data());
    region = ByteBlock();  // freeing is part of the crop's cost
    auto t1 = Clock::now();
    std::memcpy(target.data(), frame.data(), bytes);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
    auto t2 = Clock::now();
    cropSeconds += std::chrono::duration<double>(t1 - t0).count();
    copySeconds += std::chrono::duration<double>(t2 - t1).count();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["crop_GBps"] = bytes * state.iterations() / cropSeconds / 1e9;
  state.counters["memcpy_GBps"] = bytes * state.iterations() / copySeconds / 1e9;
  state.counters["vs_memcpy"] = copySeconds / cropSeconds;
}
BENCHMARK_CAPTURE(BM_Crop, full_3840x2160, 0, 0, 3840, 2160)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Crop, region_1000x1000, 1234, 567, 1000, 1000)->Unit(benchmark::kMillisecond);

}  // namespace
