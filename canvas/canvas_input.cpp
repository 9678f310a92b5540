// The canvas's input state machine.
//
// A stroke draws one segment per pointer move from the previous move position. A selection shows a
// rubber band: the canvas as it was at the selection's first move, with exactly one rectangle on
// top. Instead of putting the whole snapshot back on every move, only the strips that the previous
// rectangle covered are restored, so a move costs the rectangle's outline rather than the screen.

#include "canvas/canvas_input.h"

#include <algorithm>

#include "app/app_state.h"
#include "canvas/picture_save.h"
#include "platform/platform.h"
#include "resources/forms.h"

namespace {

constexpr int kKeyMinus = 189;  // VK_OEM_MINUS (the keypad's "-" arrives as this too)
constexpr int kKeyPlus = 187;   // VK_OEM_PLUS
constexpr unsigned kMessageBoxOk = 0;

struct RubberBand {
  bool snapshotTaken = false;   // the snapshot of this selection exists (or its capture failed)
  bool drawn = false;           // a rectangle is on the canvas and `last` holds it
  Rect last;                    // corners sorted, right and bottom inclusive
};

RubberBand g_band;
int g_canvasPenWidth = 0;  // what the canvas pen is set to; the rubber band is drawn with it

Rect Sorted(const SelectionRectangle& r) {
  return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
          std::max(r.top, r.bottom)};
}

// Puts back, from the snapshot, everything the outline of `r` may have painted.
void RestoreOutline(const ByteBlock& snapshot, const Rect& r) {
  const int pad = g_canvasPenWidth / 2 + 2;
  const Rect outer{r.left - pad, r.top - pad, r.right + pad + 1, r.bottom + pad + 1};
  if (r.right - r.left <= 4 * pad || r.bottom - r.top <= 4 * pad) {
    Plat_Canvas_DrawImagePart(App().Canvas, snapshot, outer);
    return;
  }
  const WindowHandle canvas = App().Canvas;
  Plat_Canvas_DrawImagePart(canvas, snapshot, {outer.left, outer.top, outer.right, r.top + pad + 1});
  Plat_Canvas_DrawImagePart(canvas, snapshot,
                            {outer.left, r.bottom - pad, outer.right, outer.bottom});
  Plat_Canvas_DrawImagePart(canvas, snapshot,
                            {outer.left, r.top + pad + 1, r.left + pad + 1, r.bottom - pad});
  Plat_Canvas_DrawImagePart(canvas, snapshot,
                            {r.right - pad, r.top + pad + 1, outer.right, r.bottom - pad});
}

void MoveRubberBand(int x, int y) {
  AppState& a = App();
  if (g_band.drawn && !a.RubberBandImage.empty()) RestoreOutline(a.RubberBandImage, g_band.last);
  if (!g_band.snapshotTaken) {
    // The first move of a selection: the canvas carries no rectangle yet.
    a.RubberBandImage = Plat_Canvas_Capture(a.Canvas);
    g_band.snapshotTaken = true;
  }
  a.SelectionRect.right = x;
  a.SelectionRect.bottom = y;
  Plat_Canvas_DrawRect(a.Canvas, a.SelectionRect.left, a.SelectionRect.top, a.SelectionRect.right,
                       a.SelectionRect.bottom);
  g_band.drawn = true;
  g_band.last = Sorted(a.SelectionRect);
  a.SelectionMoved = 1;
}

}  // namespace

void Canvas_ReleaseRubberBand() {
  ByteBlock().swap(App().RubberBandImage);
  g_band = {};
}

void Canvas_OnLeftPress(int x, int y, int /*modifiers*/) {
  AppState& a = App();
  if (a.ScreenshotMode == 1) {
    Plat_Canvas_SetBrushHollow(a.Canvas);
    a.SelectionStart = {x, y};
    a.SelectionRect.left = x;
    a.SelectionRect.top = y;
    a.Selecting = 1;
    return;
  }
  g_canvasPenWidth = std::clamp(a.PenWidth, 0, 32767);
  Plat_Canvas_SetPenWidth(a.Canvas, a.PenWidth);
  Plat_Canvas_SetPenColour(a.Canvas, a.PenColour);
  a.Drawing = 1;
}

void Canvas_OnMouseMove(int x, int y, int /*modifiers*/) {
  AppState& a = App();
  if (a.Selecting == 1) return MoveRubberBand(x, y);
  if (a.Drawing == 0) return;
  // A stroke starts at its first move; every later move adds one segment.
  const Point from = a.LastPoint.value_or(Point{x, y});
  Plat_Canvas_DrawLine(a.Canvas, from.x, from.y, x, y);
  a.LastPoint = Point{x, y};
}

void Canvas_OnLeftRelease(int x, int y, int /*modifiers*/) {
  AppState& a = App();
  if (a.SelectionMoved == 1) {
    a.SelectionRect.right = x;
    a.SelectionRect.bottom = y;
    a.SelectionEnd = {x, y};
    Picture_SaveSelection();
    Canvas_ReleaseRubberBand();
    return;
  }
  a.Drawing = 0;
  a.LastPoint.reset();
}

void Canvas_OnRightPress(int /*x*/, int /*y*/, int /*modifiers*/) {
  Plat_PopupMenu(App().OverlayWindow, kOverlayMenuName);
}

void Canvas_OnKeyPress(int keyCode, int /*modifiers*/) {
  const WindowHandle canvas = App().Canvas;
  if (keyCode == kKeyMinus) {
    Plat_MessageBox(0, "dd", "信息：", kMessageBoxOk);
    Plat_Canvas_SetCursor(canvas, CanvasCursor::WidthDown);
  }
  if (keyCode == kKeyPlus) Plat_Canvas_SetCursor(canvas, CanvasCursor::WidthUp);
}

void Menu_Redraw() { Plat_Canvas_Repaint(App().Canvas); }

void Menu_Screenshot() { App().ScreenshotMode = 1; }
