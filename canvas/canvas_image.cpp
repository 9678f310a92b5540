#include "canvas/canvas_image.h"

#include <algorithm>
#include <cstring>

namespace {

void Put16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t Get16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// Largest size we accept, so that stride * height can never overflow 32-bit header fields.
constexpr int kMaxSide = 32767;

ByteBlock MakeHeaders(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return {};
  const std::size_t image = CanvasImage_Stride(width) * static_cast<std::size_t>(height);
  ByteBlock out;
  out.reserve(kCanvasImageHeaderSize + image);
  out.resize(kCanvasImageHeaderSize);
  std::uint8_t* p = out.data();
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, static_cast<std::uint32_t>(kCanvasImageHeaderSize + image));
  Put32(p + 10, kCanvasImageHeaderSize);
  Put32(p + 14, 40);
  Put32(p + 18, static_cast<std::uint32_t>(width));
  Put32(p + 22, static_cast<std::uint32_t>(height));
  Put16(p + 26, 1);
  Put16(p + 28, 24);
  Put32(p + 34, static_cast<std::uint32_t>(image));
  return out;
}

}  // namespace

ByteBlock CanvasImage_Create(int width, int height) {
  ByteBlock out = MakeHeaders(width, height);
  if (!out.empty()) out.resize(out.size() + CanvasImage_Stride(width) * height);
  return out;
}

ByteBlock CanvasImage_FromBottomUpRows(int width, int height, const std::uint8_t* rows,
                                       std::size_t sourceStride) {
  ByteBlock out = MakeHeaders(width, height);
  if (out.empty() || rows == nullptr) return {};
  const std::size_t stride = CanvasImage_Stride(width);
  const std::size_t total = stride * static_cast<std::size_t>(height);
  if (sourceStride == stride) {
    out.insert(out.end(), rows, rows + total);  // the common case: one straight copy
  } else {
    out.resize(out.size() + total);
    const std::size_t n = std::min(stride, sourceStride);
    for (int y = 0; y < height; ++y)
      std::memcpy(out.data() + kCanvasImageHeaderSize + y * stride, rows + y * sourceStride, n);
  }
  return out;
}

std::optional<CanvasImageView> CanvasImage_View(const ByteBlock& image) {
  if (image.size() < kCanvasImageHeaderSize) return std::nullopt;
  const std::uint8_t* p = image.data();
  if (p[0] != 'B' || p[1] != 'M' || Get32(p + 14) != 40 || Get16(p + 28) != 24 || Get32(p + 30) != 0)
    return std::nullopt;
  const auto width = static_cast<std::int32_t>(Get32(p + 18));
  const auto height = static_cast<std::int32_t>(Get32(p + 22));
  const std::uint32_t offset = Get32(p + 10);
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return std::nullopt;
  if (offset < kCanvasImageHeaderSize || offset > image.size()) return std::nullopt;
  const std::size_t stride = CanvasImage_Stride(width);
  if ((image.size() - offset) / stride < static_cast<std::size_t>(height)) return std::nullopt;
  return CanvasImageView{width, height, stride, p + offset};
}

std::uint8_t* CanvasImage_Pixels(ByteBlock& image) {
  return image.size() > kCanvasImageHeaderSize ? image.data() + kCanvasImageHeaderSize : nullptr;
}

Colour CanvasImageView::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const std::uint8_t* px = pixels + static_cast<std::size_t>(height - 1 - y) * stride + 3 * x;
  return static_cast<Colour>(px[2]) | (static_cast<Colour>(px[1]) << 8) |
         (static_cast<Colour>(px[0]) << 16);
}

void CanvasImage_BlitInto(std::uint8_t* pixels, int width, int height, std::size_t stride,
                          const CanvasImageView& source, int dx, int dy, Rect part) {
  // Clip the part to the source, then to the destination (after placing it at dx, dy).
  part.left = std::max(part.left, 0);
  part.top = std::max(part.top, 0);
  part.right = std::min(part.right, source.width);
  part.bottom = std::min(part.bottom, source.height);
  int left = part.left + dx, top = part.top + dy;
  int right = part.right + dx, bottom = part.bottom + dy;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width);
  bottom = std::min(bottom, height);
  if (right <= left || bottom <= top || pixels == nullptr) return;
  const std::size_t bytes = 3 * static_cast<std::size_t>(right - left);
  for (int y = top; y < bottom; ++y) {
    const int sy = y - dy;
    const std::uint8_t* from = source.pixels +
                               static_cast<std::size_t>(source.height - 1 - sy) * source.stride +
                               3 * static_cast<std::size_t>(left - dx);
    std::uint8_t* to = pixels + static_cast<std::size_t>(height - 1 - y) * stride + 3 * left;
    std::memcpy(to, from, bytes);
  }
}
