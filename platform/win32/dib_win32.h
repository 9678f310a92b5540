// An off-screen 24-bit bottom-up DIB section selected into its own memory DC: the pixel layout of a
// canvas image, so GDI can draw into it and the rows can be copied out or in directly.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/win32/handles_win32.h"

namespace win32 {

class DibSurface {
 public:
  // Nothing when a side is below 1 or the system refuses.
  static std::unique_ptr<DibSurface> Create(int width, int height);
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;
  ~DibSurface();

  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  std::size_t stride() const { return stride_; }
  // The rows, bottom row first. Call GdiFlush before touching them after GDI drawing.
  std::uint8_t* bits() const { return bits_; }

 private:
  DibSurface() = default;
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
  std::uint8_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::size_t stride_ = 0;
};

}  // namespace win32
