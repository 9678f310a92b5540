// The program-wide state shared by the handlers of every subsystem. It lives from start-up to the
// end of the process and is touched only on the UI thread.
#pragma once

#include <optional>

#include "platform/types.h"

struct SelectionRectangle {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct AppState {
  int ScreenshotMode = 0;
  Point SelectionStart;
  SelectionRectangle SelectionRect;  // never normalised: right may be less than left
  int Selecting = 0;
  int SelectionMoved = 0;
  Point SelectionEnd;
  int PenWidth = 0;
  Colour PenColour = 0;
  int Drawing = 0;
  int PanelDragging = 0;
  // The previous point of the current stroke. Empty means "no previous point": a coordinate of 0 is
  // a real position on the left or top edge.
  std::optional<Point> LastPoint;
  ByteBlock RubberBandImage;  // empty: none

  // The windows of the program (0 until loaded).
  WindowHandle OverlayWindow = 0;
  WindowHandle Canvas = 0;
  WindowHandle PanelWindow = 0;
};

AppState& App();
