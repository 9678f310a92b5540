#include "panel/pen_width.h"

#include <algorithm>

#include "app/app_state.h"
#include "platform/platform.h"

namespace {

void Step(int delta, CanvasCursor cursor) {
  AppState& a = App();
  a.PenWidth = std::clamp(a.PenWidth + delta, kPenWidthMin, kPenWidthMax);
  Plat_Canvas_SetCursor(a.Canvas, cursor);
  // Events keep flowing meanwhile: a held key nests further steps inside this one, and each of
  // them counts.
  Plat_PauseDispatching(kWidthCursorMilliseconds);
  Plat_Canvas_SetCursor(App().Canvas, CanvasCursor::Pen);
}

}  // namespace

void PenWidth_StepUp() { Step(+1, CanvasCursor::WidthUp); }

void PenWidth_StepDown() { Step(-1, CanvasCursor::WidthDown); }
