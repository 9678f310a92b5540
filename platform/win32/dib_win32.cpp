#include "platform/win32/dib_win32.h"

#include "canvas/canvas_image.h"

namespace win32 {

std::unique_ptr<DibSurface> DibSurface::Create(int width, int height) {
  if (width < 1 || height < 1) return nullptr;
  std::unique_ptr<DibSurface> s(new DibSurface());
  s->dc_.reset(CreateCompatibleDC(nullptr));
  if (!s->dc_) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up, like a canvas image
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  s->bitmap_.reset(CreateDIBSection(s->dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!s->bitmap_ || bits == nullptr) return nullptr;
  s->oldBitmap_ = SelectObject(s->dc_.get(), s->bitmap_.get());
  if (s->oldBitmap_ == nullptr || s->oldBitmap_ == HGDI_ERROR) {
    s->oldBitmap_ = nullptr;
    return nullptr;
  }
  s->bits_ = static_cast<std::uint8_t*>(bits);
  s->width_ = width;
  s->height_ = height;
  s->stride_ = CanvasImage_Stride(width);  // DIB rows are DWORD-aligned, as canvas-image rows
  return s;
}

DibSurface::~DibSurface() {
  // The bitmap must leave the DC before either is deleted.
  if (oldBitmap_ != nullptr) SelectObject(dc_.get(), oldBitmap_);
}

}  // namespace win32
