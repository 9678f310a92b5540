// Cutting a rectangular region out of a BMP file image held in memory.
#pragma once

#include <cstdint>
#include <span>

#include "platform/types.h"

// Returns the region (x, y, width, height; y counted from the top) of `source` as a new, complete
// bottom-up BMP file image of the source's depth, or an empty block when the source is not an
// uncompressed bottom-up picture of 8, 16, 24 or 32 bits, when the region is empty or reaches
// outside the picture, or when `source` is too short for the headers or rows the region needs.
// The source is read only inside its bounds.
ByteBlock Bitmap_CropRegion(std::span<const std::uint8_t> source, std::int32_t x, std::int32_t y,
                            std::int32_t width, std::int32_t height);
