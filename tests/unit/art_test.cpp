// The embedded cursors and icon are complete, well-formed CUR / ICO files of the exact sizes the
// program relies on.

#include "resources/art.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>

namespace {

std::uint32_t U16(std::span<const std::uint8_t> d, std::size_t at) {
  return d[at] | (d[at + 1] << 8);
}
std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
  return U16(d, at) | (U16(d, at + 2) << 16);
}

struct Expected {
  const char* name;
  std::span<const std::uint8_t> (*bytes)();
  std::uint32_t type, size, bits, length, field1, field2;  // field1/2: hot spot, or planes/bits
};

}  // namespace

TEST(EmbeddedArt, FilesHaveTheirExactLayout) {
  const Expected all[] = {
      {"pen", Art_PenCursor, 2, 32, 32, 4286, 1, 2},
      {"width up", Art_WidthUpCursor, 2, 48, 32, 9662, 0, 0},
      {"width down", Art_WidthDownCursor, 2, 48, 32, 9662, 0, 0},
      {"icon", Art_AppIcon, 1, 32, 24, 3262, 1, 24},
  };
  for (const Expected& e : all) {
    SCOPED_TRACE(e.name);
    const auto d = e.bytes();
    ASSERT_EQ(d.size(), e.length);
    EXPECT_EQ(U16(d, 0), 0u);
    EXPECT_EQ(U16(d, 2), e.type);
    EXPECT_EQ(U16(d, 4), 1u);
    EXPECT_EQ(d[6], e.size);
    EXPECT_EQ(d[7], e.size);
    EXPECT_EQ(d[8], 0u);  // no palette
    EXPECT_EQ(d[9], 0u);
    EXPECT_EQ(U16(d, 10), e.field1);
    EXPECT_EQ(U16(d, 12), e.field2);
    EXPECT_EQ(U32(d, 14), e.length - 22);  // bytes in the image
    EXPECT_EQ(U32(d, 18), 22u);            // where the image starts
    EXPECT_EQ(U32(d, 22), 40u);
    EXPECT_EQ(U32(d, 26), e.size);
    EXPECT_EQ(U32(d, 30), 2 * e.size);  // colour and mask bitmaps
    EXPECT_EQ(U16(d, 34), 1u);
    EXPECT_EQ(U16(d, 36), e.bits);
    const std::size_t xorBytes = ((e.size * e.bits + 31) / 32) * 4 * e.size;
    const std::size_t andBytes = ((e.size + 31) / 32) * 4 * e.size;
    EXPECT_EQ(22 + 40 + xorBytes + andBytes, e.length);
  }
}

// For the cursors the mask is set exactly where the picture is transparent, and the pen's tip
// (its hot spot, where strokes start) is an opaque pixel.
TEST(EmbeddedArt, CursorMasksFollowAlphaAndThePenTipIsOpaque) {
  for (auto bytes : {Art_PenCursor, Art_WidthUpCursor, Art_WidthDownCursor}) {
    const auto d = bytes();
    const int size = d[6];
    const std::size_t pixels = 62, maskStride = ((size + 31) / 32) * 4;
    const std::size_t mask = pixels + 4u * size * size;
    int opaque = 0;
    for (int row = 0; row < size; ++row)
      for (int x = 0; x < size; ++x) {
        const bool transparent = d[pixels + 4 * (row * size + x) + 3] == 0;
        const bool maskBit = d[mask + row * maskStride + x / 8] & (0x80 >> (x % 8));
        ASSERT_EQ(maskBit, transparent) << "row " << row << " x " << x;
        opaque += !transparent;
      }
    EXPECT_GT(opaque, size * 4);
  }
  const auto pen = Art_PenCursor();
  const int hotX = 1, hotY = 2, storedRow = 31 - hotY;  // rows are stored bottom-up
  EXPECT_NE(pen[62 + 4 * (storedRow * 32 + hotX) + 3], 0);
}

// The icon has no alpha: where its mask is set the colour must be black, or the AND/XOR drawing
// would tint the background there. Its corners are transparent.
TEST(EmbeddedArt, IconMaskedPixelsAreBlack) {
  const auto d = Art_AppIcon();
  const std::size_t pixels = 62, stride = 32 * 3, mask = pixels + stride * 32, maskStride = 4;
  int masked = 0;
  for (int row = 0; row < 32; ++row)
    for (int x = 0; x < 32; ++x) {
      if (!(d[mask + row * maskStride + x / 8] & (0x80 >> (x % 8)))) continue;
      ++masked;
      for (int c = 0; c < 3; ++c)
        ASSERT_EQ(d[pixels + row * stride + 3 * x + c], 0) << row << "," << x;
    }
  EXPECT_GT(masked, 0);
  EXPECT_LT(masked, 32 * 32 / 2);
  EXPECT_TRUE(d[mask] & 0x80);  // bottom-left corner
}
