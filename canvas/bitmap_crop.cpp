// Cutting a region out of a BMP file image.
//
// Only four header fields are read (width, height, depth, compression), at their fixed offsets; the
// pixel rows are addressed with the fixed header size of the depth. Each result row is copied a
// full output stride long, so its padding carries whatever follows the region in the source row.
// Where the source block ends before that padding, the padding is zero; where it ends before the
// header, the palette or a pixel the region needs, the result is empty.

#include "canvas/bitmap_crop.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kBaseHeaderSize = kFileHeaderSize + kInfoHeaderSize;  // 54
constexpr std::size_t kPaletteSize = 1024;                                  // 256 RGBQUADs
constexpr double kEdgeTolerance = 0.0000001;

// A little-endian field; bytes past the end of the block count as zero.
std::uint32_t ReadField(std::span<const std::uint8_t> b, std::size_t offset, int width) {
  std::uint32_t v = 0;
  for (int i = 0; i < width; ++i)
    if (offset + i < b.size()) v |= static_cast<std::uint32_t>(b[offset + i]) << (8 * i);
  return v;
}

void Put16(ByteBlock& out, std::size_t offset, std::uint16_t v) {
  out[offset] = static_cast<std::uint8_t>(v);
  out[offset + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(ByteBlock& out, std::size_t offset, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Bytes per stored row: the row's bits rounded up to a multiple of 32.
std::uint64_t Stride(std::int64_t pixels, int depth) {
  return static_cast<std::uint64_t>((pixels * depth + 31) / 32) * 4;
}

}  // namespace

ByteBlock Bitmap_CropRegion(std::span<const std::uint8_t> source, std::int32_t x, std::int32_t y,
                            std::int32_t width, std::int32_t height) {
  const auto pictureWidth = static_cast<std::int32_t>(ReadField(source, 18, 4));
  const auto pictureHeight = static_cast<std::int32_t>(ReadField(source, 22, 4));
  const auto depth = static_cast<std::int16_t>(ReadField(source, 28, 2));
  const auto compression = static_cast<std::int32_t>(ReadField(source, 30, 4));

  if (compression != 0) return {};
  int bytesPerPixel = 0;
  switch (depth) {
    case 8: bytesPerPixel = 1; break;
    case 16: bytesPerPixel = 2; break;
    case 24: bytesPerPixel = 3; break;
    case 32: bytesPerPixel = 4; break;
    default: return {};  // below 8 bits, or no depth a BMP can have
  }
  const std::size_t paletteSize = depth == 8 ? kPaletteSize : 0;
  const std::size_t headerSize = kBaseHeaderSize + paletteSize;

  // The right and bottom edges may be reached exactly; a negative picture height (top-down rows)
  // fails here too.
  if (static_cast<double>(x) + width - pictureWidth > kEdgeTolerance) return {};
  if (static_cast<double>(y) + height - pictureHeight > kEdgeTolerance) return {};
  if (x < 0 || y < 0 || width < 1 || height < 1) return {};

  const std::uint64_t sourceStride = Stride(pictureWidth, depth);
  const std::uint64_t outputStride = Stride(width, depth);
  const std::uint64_t pixelBytes = outputStride * static_cast<std::uint64_t>(height);
  if (headerSize + pixelBytes > std::numeric_limits<std::uint32_t>::max()) return {};

  // The rows are stored bottom first: the region's lowest row is the first one copied.
  const std::uint64_t start =
      headerSize + sourceStride * static_cast<std::uint64_t>(pictureHeight - height - y) +
      static_cast<std::uint64_t>(x) * bytesPerPixel;
  const std::uint64_t lastRow = start + sourceStride * static_cast<std::uint64_t>(height - 1);
  const std::uint64_t regionRowBytes = static_cast<std::uint64_t>(width) * bytesPerPixel;
  if (source.size() < headerSize || source.size() < lastRow + regionRowBytes) return {};

  const std::size_t total = headerSize + static_cast<std::size_t>(pixelBytes);
  ByteBlock out;
  out.reserve(total);
  out.resize(headerSize);  // the zero-filled headers, written below
  Put16(out, 0, 0x4D42);   // "BM"
  Put32(out, 2, static_cast<std::uint32_t>(total));
  Put32(out, 10, static_cast<std::uint32_t>(headerSize));
  Put32(out, 14, kInfoHeaderSize);
  Put32(out, 18, static_cast<std::uint32_t>(width));
  Put32(out, 22, static_cast<std::uint32_t>(height));
  Put16(out, 26, 1);
  Put16(out, 28, static_cast<std::uint16_t>(depth));
  if (paletteSize)
    std::memcpy(out.data() + kBaseHeaderSize, source.data() + kBaseHeaderSize, paletteSize);

  // Rows go in by appending to the reserved block, so the pixel area is written once, not cleared
  // first and then overwritten.
  const std::uint8_t* const base = source.data();
  const std::size_t rowBytes = static_cast<std::size_t>(outputStride);
  std::uint64_t offset = start;
  for (std::int32_t i = 0; i < height; ++i, offset += sourceStride) {
    const std::size_t available =
        static_cast<std::size_t>(std::min<std::uint64_t>(rowBytes, source.size() - offset));
    out.insert(out.end(), base + offset, base + offset + available);
    if (available < rowBytes) out.resize(out.size() + (rowBytes - available));  // zero padding
  }
  return out;
}
