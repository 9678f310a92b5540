// Saving what the canvas shows: the whole canvas from the overlay menu, or the region of a
// finished selection. Both ask for a name with the same dialog and write BMP bytes whatever the
// name's extension. Failures stay silent: the user sees no file and no message.

#include "canvas/picture_save.h"

#include <algorithm>

#include "app/app_state.h"
#include "canvas/bitmap_crop.h"
#include "canvas/canvas_image.h"
#include "canvas/save_dialog.h"
#include "platform/platform.h"

namespace {

constexpr const char* kPictureCaption = "保存图片";
// One pair: labelled "*.jpg", listing "*.bmp" files. The bytes written are BMP either way.
constexpr const char* kPictureFilter = "*.jpg|*.bmp";

std::string AskPictureName() {
  return Dialog_SaveFile(App().OverlayWindow, Plat_RunDirectory(), std::string(kPictureCaption),
                         std::string(kPictureFilter), std::nullopt, true);
}

// The old file stays as it was unless all of `bytes` made it to disk; nothing empty is written.
void WritePicture(const std::string& name, const ByteBlock& bytes) {
  if (name.empty() || bytes.empty()) return;
  Plat_ReplaceFile(name, bytes);
}

// The selection as the user saw it: the two corners in either order, the end exclusive, clipped
// to the captured image. Empty when nothing of it lies on the image.
Rect SelectedRegion(const ByteBlock& image) {
  const AppState& a = App();
  const auto view = CanvasImage_View(image);
  if (!view) return {};
  Rect r{std::min(a.SelectionStart.x, a.SelectionEnd.x),
         std::min(a.SelectionStart.y, a.SelectionEnd.y),
         std::max(a.SelectionStart.x, a.SelectionEnd.x),
         std::max(a.SelectionStart.y, a.SelectionEnd.y)};
  r.left = std::clamp(r.left, 0, view->width);
  r.right = std::clamp(r.right, 0, view->width);
  r.top = std::clamp(r.top, 0, view->height);
  r.bottom = std::clamp(r.bottom, 0, view->height);
  return r.Empty() ? Rect{} : r;
}

}  // namespace

void Picture_SaveCanvas() {
  const std::string name = AskPictureName();
  if (name.empty()) return;
  // Captured after the dialog has gone, so the picture is what the canvas shows now.
  WritePicture(name, Plat_Canvas_Capture(App().Canvas));
}

void Picture_SaveSelection() {
  AppState& a = App();
  // The final rectangle stays on the canvas and is part of the saved picture.
  Plat_Canvas_DrawRect(a.Canvas, a.SelectionRect.left, a.SelectionRect.top, a.SelectionRect.right,
                       a.SelectionRect.bottom);
  ByteBlock region;
  {
    const Size screen = Plat_ScreenSize();
    const ByteBlock image = Plat_Canvas_Capture(a.Canvas, screen.width, screen.height);
    const Rect r = SelectedRegion(image);
    if (!r.Empty()) region = Bitmap_CropRegion(image, r.left, r.top, r.Width(), r.Height());
  }
  // A selection with nothing in it asks for no name and writes nothing.
  if (!region.empty()) WritePicture(AskPictureName(), region);
  a.ScreenshotMode = 0;
  a.Selecting = 0;
  a.SelectionMoved = 0;
}
