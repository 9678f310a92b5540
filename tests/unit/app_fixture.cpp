#include "tests/unit/app_fixture.h"

#include "canvas/canvas_image.h"

int StartedApp::DifferingPixels(const ByteBlock& a, const ByteBlock& b) {
  auto va = CanvasImage_View(a), vb = CanvasImage_View(b);
  if (!va || !vb || va->width != vb->width || va->height != vb->height) return -1;
  int n = 0;
  for (int y = 0; y < va->height; ++y)
    for (int x = 0; x < va->width; ++x) n += va->PixelAt(x, y) != vb->PixelAt(x, y);
  return n;
}
