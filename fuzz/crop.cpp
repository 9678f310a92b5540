// Arbitrary source bytes and regions for the BMP region crop.
//
// Input: x, y, width, height as little-endian 32-bit integers, then the source block. The result
// is held against a byte-by-byte model of the copy; reads outside the source trip ASan.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "canvas/bitmap_crop.h"

namespace {

std::int64_t Field(const std::uint8_t* data, std::size_t size, std::size_t offset, int width) {
  std::uint32_t v = 0;
  for (int i = 0; i < width; ++i)
    if (offset + i < size) v |= static_cast<std::uint32_t>(data[offset + i]) << (8 * i);
  return width == 2 ? static_cast<std::int16_t>(v) : static_cast<std::int32_t>(v);
}

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 16) return 0;
  std::int32_t region[4];
  std::memcpy(region, data, sizeof region);
  const auto [x, y, w, h] = region;
  const std::uint8_t* src = data + 16;
  const std::size_t n = size - 16;

  const ByteBlock out = Bitmap_CropRegion({src, n}, x, y, w, h);
  if (out.empty()) return 0;

  // A result means a supported, uncompressed, bottom-up picture and a region inside it.
  const std::int64_t pw = Field(src, n, 18, 4), ph = Field(src, n, 22, 4);
  const std::int64_t depth = Field(src, n, 28, 2);
  Check(Field(src, n, 30, 4) == 0);
  Check(depth == 8 || depth == 16 || depth == 24 || depth == 32);
  Check(x >= 0 && y >= 0 && w >= 1 && h >= 1 && x + std::int64_t{w} <= pw &&
        y + std::int64_t{h} <= ph);

  const std::size_t header = depth == 8 ? 1078 : 54;
  const std::size_t bpp = static_cast<std::size_t>(depth / 8);
  const std::size_t inStride = static_cast<std::size_t>((pw * depth + 31) / 32 * 4);
  const std::size_t outStride = static_cast<std::size_t>((w * depth + 31) / 32 * 4);
  Check(out.size() == header + outStride * static_cast<std::size_t>(h));
  Check(out[0] == 'B' && out[1] == 'M');
  Check(Field(out.data(), out.size(), 2, 4) == static_cast<std::int64_t>(out.size()));
  Check(Field(out.data(), out.size(), 10, 4) == static_cast<std::int64_t>(header));
  Check(Field(out.data(), out.size(), 14, 4) == 40);
  Check(Field(out.data(), out.size(), 18, 4) == w && Field(out.data(), out.size(), 22, 4) == h);
  Check(Field(out.data(), out.size(), 26, 2) == 1 && Field(out.data(), out.size(), 28, 2) == depth);
  for (std::size_t f = 30; f < 54; f += 4) Check(Field(out.data(), out.size(), f, 4) == 0);
  if (header == 1078) Check(std::memcmp(out.data() + 54, src + 54, 1024) == 0);

  // Every pixel byte is the source's; padding is the source's where it exists, zero past its end.
  for (std::int64_t row = 0; row < h; ++row) {
    const std::size_t from = header + inStride * static_cast<std::size_t>(ph - h - y + row) +
                             static_cast<std::size_t>(x) * bpp;
    for (std::size_t i = 0; i < outStride; ++i) {
      const std::uint8_t got = out[header + static_cast<std::size_t>(row) * outStride + i];
      if (i < static_cast<std::size_t>(w) * bpp) Check(from + i < n);
      Check(got == (from + i < n ? src[from + i] : 0));
    }
  }
  return 0;
}
