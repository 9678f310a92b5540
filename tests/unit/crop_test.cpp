// Cutting regions out of BMP file images of every supported depth.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "canvas/bitmap_crop.h"

namespace {

std::uint32_t Get(const ByteBlock& b, std::size_t offset, int width) {
  std::uint32_t v = 0;
  for (int i = 0; i < width; ++i) v |= static_cast<std::uint32_t>(b.at(offset + i)) << (8 * i);
  return v;
}

void Set(ByteBlock& b, std::size_t offset, int width, std::uint32_t v) {
  for (int i = 0; i < width; ++i) b.at(offset + i) = static_cast<std::uint8_t>(v >> (8 * i));
}

int BytesPerPixel(int depth) { return depth / 8; }
std::size_t HeaderSize(int depth) { return depth == 8 ? 1078 : 54; }
std::size_t Stride(int width, int depth) { return ((width * depth + 31) / 32) * 4; }

// A bottom-up BMP whose every pixel byte (and padding byte) is distinct from its neighbours, with
// the optional header fields filled in the way other programs write them.
ByteBlock MakeBmp(int depth, int width, int height, std::uint32_t compression = 0) {
  const std::size_t header = HeaderSize(depth);
  const std::size_t rows =
      Stride(width, depth) * static_cast<std::size_t>(height < 0 ? -height : height);
  ByteBlock b(header + rows);
  b[0] = 'B';
  b[1] = 'M';
  Set(b, 2, 4, static_cast<std::uint32_t>(b.size()));
  Set(b, 10, 4, static_cast<std::uint32_t>(header));
  Set(b, 14, 4, 40);
  Set(b, 18, 4, static_cast<std::uint32_t>(width));
  Set(b, 22, 4, static_cast<std::uint32_t>(height));
  Set(b, 26, 2, 1);
  Set(b, 28, 2, static_cast<std::uint32_t>(depth));
  Set(b, 30, 4, compression);
  Set(b, 34, 4, static_cast<std::uint32_t>(rows));
  Set(b, 38, 4, 2835);
  Set(b, 42, 4, 2835);
  Set(b, 46, 4, depth == 8 ? 256 : 0);
  Set(b, 50, 4, depth == 8 ? 17 : 0);
  for (std::size_t i = 54; i < header; ++i) b[i] = static_cast<std::uint8_t>(i * 13 + 5);
  for (std::size_t i = header; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return b;
}

// The bytes of pixel (x, y), y counted from the top, of a bottom-up BMP.
ByteBlock PixelBytes(const ByteBlock& bmp, int x, int y) {
  const int depth = static_cast<int>(Get(bmp, 28, 2));
  const int width = static_cast<int>(Get(bmp, 18, 4));
  const int height = static_cast<int>(Get(bmp, 22, 4));
  const std::size_t at = Get(bmp, 10, 4) + Stride(width, depth) * (height - 1 - y) +
                         static_cast<std::size_t>(x) * BytesPerPixel(depth);
  return ByteBlock(bmp.begin() + at, bmp.begin() + at + BytesPerPixel(depth));
}

// Calls the crop with a copy of `source` in a block of exactly its length, so that ASan sees any
// read past its end.
ByteBlock Crop(const ByteBlock& source, int x, int y, int w, int h) {
  auto exact = std::make_unique<std::uint8_t[]>(source.size() + 1);  // never 0 bytes
  if (!source.empty()) std::memcpy(exact.get(), source.data(), source.size());
  return Bitmap_CropRegion({exact.get(), source.size()}, x, y, w, h);
}

// A successful crop: fresh headers, and every pixel of the region upright at its place.
void ExpectRegion(const ByteBlock& source, const ByteBlock& out, int x, int y, int w, int h) {
  const int depth = static_cast<int>(Get(source, 28, 2));
  const std::size_t header = HeaderSize(depth);
  ASSERT_EQ(out.size(), header + Stride(w, depth) * h);
  EXPECT_EQ(out[0], 'B');
  EXPECT_EQ(out[1], 'M');
  EXPECT_EQ(Get(out, 2, 4), out.size());
  EXPECT_EQ(Get(out, 6, 4), 0u);
  EXPECT_EQ(Get(out, 10, 4), header);
  EXPECT_EQ(Get(out, 14, 4), 40u);
  EXPECT_EQ(Get(out, 18, 4), static_cast<std::uint32_t>(w));
  EXPECT_EQ(Get(out, 22, 4), static_cast<std::uint32_t>(h));
  EXPECT_EQ(Get(out, 26, 2), 1u);
  EXPECT_EQ(Get(out, 28, 2), static_cast<std::uint32_t>(depth));
  for (std::size_t field = 30; field < 54; field += 4) EXPECT_EQ(Get(out, field, 4), 0u) << field;
  if (depth == 8) {
    EXPECT_TRUE(std::equal(out.begin() + 54, out.begin() + 1078, source.begin() + 54));
  }
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < w; ++col)
      ASSERT_EQ(PixelBytes(out, col, row), PixelBytes(source, x + col, y + row))
          << "pixel " << col << "," << row;
}

}  // namespace

TEST(BitmapCrop, RegionsInsideThePictureAreCutOutUpright) {
  struct Case {
    const char* what;
    int depth, pictureWidth, pictureHeight;
    int x, y, w, h;
  };
  const Case cases[] = {
      {"whole 24-bit picture", 24, 5, 3, 0, 0, 5, 3},
      {"inner 24-bit region", 24, 9, 7, 2, 1, 4, 3},
      {"region ending exactly at the right edge", 24, 9, 7, 6, 2, 3, 2},
      {"region ending exactly at the bottom edge", 24, 9, 7, 1, 4, 2, 3},
      {"bottom-right corner pixel", 24, 9, 7, 8, 6, 1, 1},
      {"8-bit with its palette", 8, 11, 5, 3, 1, 5, 4},
      {"16-bit", 16, 7, 4, 1, 1, 3, 3},
      {"32-bit", 32, 6, 5, 2, 0, 4, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ByteBlock source = MakeBmp(c.depth, c.pictureWidth, c.pictureHeight);
    ExpectRegion(source, Crop(source, c.x, c.y, c.w, c.h), c.x, c.y, c.w, c.h);
  }
}

TEST(BitmapCrop, WholePictureIsTheSourceWithAFreshHeader) {
  const ByteBlock source = MakeBmp(24, 5, 3);
  ByteBlock expected = source;
  for (std::size_t field = 34; field < 54; field += 4) Set(expected, field, 4, 0);
  EXPECT_EQ(Crop(source, 0, 0, 5, 3), expected);
}

TEST(BitmapCrop, OnePixelWideRowsCarryTheNextSourceByteAsPadding) {
  const ByteBlock source = MakeBmp(24, 4, 3);  // stride 12
  const ByteBlock out = Crop(source, 1, 0, 1, 3);
  ASSERT_EQ(out.size(), 54u + 4 * 3);
  for (int row = 0; row < 3; ++row) {
    const std::size_t from = 54 + 12 * row + 3;  // bottom row first, column 1
    EXPECT_TRUE(std::equal(out.begin() + 54 + 4 * row, out.begin() + 54 + 4 * row + 4,
                           source.begin() + from))
        << row;
  }
}

TEST(BitmapCrop, RejectedInputsGiveTheEmptyBlock) {
  const ByteBlock picture = MakeBmp(24, 9, 7);
  ByteBlock topDown = MakeBmp(24, 9, -7);
  ByteBlock oddDepth = MakeBmp(24, 9, 7);
  Set(oddDepth, 28, 2, 12);
  struct Case {
    const char* what;
    ByteBlock source;
    int x, y, w, h;
  };
  const Case cases[] = {
      {"one pixel past the right edge", picture, 6, 2, 4, 2},
      {"one pixel past the bottom edge", picture, 1, 4, 2, 4},
      {"negative x", picture, -1, 0, 2, 2},
      {"negative y", picture, 0, -1, 2, 2},
      {"zero width", picture, 1, 1, 0, 2},
      {"negative width", picture, 3, 1, -2, 2},
      {"zero height", picture, 1, 1, 2, 0},
      {"negative height", picture, 1, 3, 2, -2},
      {"x + width overflowing 32 bits", picture, 0x7FFFFFFF, 0, 0x7FFFFFFF, 1},
      {"16-bit bit fields", MakeBmp(16, 4, 4, 3), 0, 0, 2, 2},
      {"32-bit bit fields", MakeBmp(32, 4, 4, 3), 0, 0, 2, 2},
      {"24-bit RLE-like compression 1", MakeBmp(24, 4, 4, 1), 0, 0, 2, 2},
      {"top-down rows", topDown, 0, 0, 2, 2},
      {"1-bit", MakeBmp(1, 16, 4), 0, 0, 2, 2},
      {"4-bit", MakeBmp(4, 16, 4), 0, 0, 2, 2},
      {"depth 12", oddDepth, 0, 0, 2, 2},
      {"empty block", {}, 0, 0, 1, 1},
      {"28-byte block of a real header", ByteBlock(picture.begin(), picture.begin() + 28), 0, 0, 1,
       1},
      {"28 bytes of 0xFF", ByteBlock(28, 0xFF), 0, 0, 1, 1},
  };
  for (const Case& c : cases) EXPECT_TRUE(Crop(c.source, c.x, c.y, c.w, c.h).empty()) << c.what;
}

// A block that ends early is never read past its end: what the region needs must be there.
TEST(BitmapCrop, TruncatedSourcesAreReadOnlyInsideTheirBounds) {
  const ByteBlock rgb = MakeBmp(24, 5, 4);  // stride 16, 15 bytes of pixels a row
  const ByteBlock grey = MakeBmp(8, 5, 4);
  auto cut = [](const ByteBlock& b, std::size_t n) { return ByteBlock(b.begin(), b.begin() + n); };

  struct Case {
    const char* what;
    ByteBlock source;
    int x, y, w, h;
  };
  const Case rejected[] = {
      {"headers only", cut(rgb, 54), 0, 0, 1, 1},
      {"header cut inside the info header", cut(rgb, 40), 0, 0, 1, 1},
      {"8-bit palette cut short", cut(grey, 600), 0, 3, 1, 1},
      {"last needed row missing its final pixel", cut(rgb, rgb.size() - 2), 0, 0, 5, 1},
      {"pixel rows cut in the middle", cut(rgb, 54 + 16 * 2 + 5), 0, 0, 2, 2},
  };
  for (const Case& c : rejected) EXPECT_TRUE(Crop(c.source, c.x, c.y, c.w, c.h).empty()) << c.what;

  // The region reaches the right edge of the top stored row: the stride-long copy would run 1 byte
  // past a source that ends right after the pixels. That padding byte is zero.
  const ByteBlock tight = cut(rgb, rgb.size() - 1);
  const ByteBlock out = Crop(tight, 0, 0, 5, 1);
  ExpectRegion(rgb, out, 0, 0, 5, 1);
  EXPECT_EQ(out.back(), 0);
  // The same region of the whole block carries the source's own padding byte instead.
  EXPECT_EQ(Crop(rgb, 0, 0, 5, 1).back(), rgb.back());

  // A 1-pixel-wide region at the right edge of the top row: 3 pixel bytes, then a zero.
  const ByteBlock corner = Crop(tight, 4, 0, 1, 1);
  ASSERT_EQ(corner.size(), 58u);
  EXPECT_TRUE(std::equal(corner.begin() + 54, corner.begin() + 57, rgb.end() - 4));
  EXPECT_EQ(corner[57], 0);
}
