// Canvas images: complete 24-bit bottom-up BMP files held in a byte block (14-byte file header,
// 40-byte info header, no colour table, rows padded to 4 bytes, pixel data at offset 54).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/types.h"

inline constexpr int kCanvasImageHeaderSize = 54;

// Bytes per stored row of a 24-bit image `width` pixels wide.
constexpr std::size_t CanvasImage_Stride(int width) {
  return ((24 * static_cast<std::size_t>(width) + 31) / 32) * 4;
}

// A zero-filled canvas image of the given size with both headers written. Sizes below 1 give an
// empty block.
ByteBlock CanvasImage_Create(int width, int height);

// A canvas image made of `height` rows of `sourceStride` bytes, given bottom row first (the layout of
// a bottom-up 24-bit DIB). Costs one copy of the pixels.
ByteBlock CanvasImage_FromBottomUpRows(int width, int height, const std::uint8_t* rows,
                                       std::size_t sourceStride);

// A read-only view of a well-formed canvas image: "BM", a 40-byte info header, 24 bits, no
// compression, positive width and height, pixel offset and length inside the block.
struct CanvasImageView {
  int width = 0;
  int height = 0;
  std::size_t stride = 0;
  const std::uint8_t* pixels = nullptr;  // the bottom row first
  // Pixel (x, y) with y counted from the top, as 0x00BBGGRR.
  Colour PixelAt(int x, int y) const;
};
std::optional<CanvasImageView> CanvasImage_View(const ByteBlock& image);

// The writable pixel rows of a canvas image made by CanvasImage_Create (bottom row first).
std::uint8_t* CanvasImage_Pixels(ByteBlock& image);

// Copies the rectangle `part` (top-down coordinates, clipped to both images) of `source`, placed
// with its top-left corner at (dx, dy) of the destination, into the destination's pixel rows.
// Destination: `width` x `height` pixels, bottom-up rows of `stride` bytes at `pixels`.
void CanvasImage_BlitInto(std::uint8_t* pixels, int width, int height, std::size_t stride,
                          const CanvasImageView& source, int dx, int dy, Rect part);
