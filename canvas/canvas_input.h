// The canvas's input state machine: freehand strokes, the rubber-band selection and the overlay menu.
#pragma once

void Canvas_OnLeftPress(int x, int y, int modifiers);
void Canvas_OnMouseMove(int x, int y, int modifiers);
void Canvas_OnLeftRelease(int x, int y, int modifiers);
void Canvas_OnRightPress(int x, int y, int modifiers);
void Canvas_OnKeyPress(int keyCode, int modifiers);
void Menu_Redraw();
void Menu_Screenshot();

// Forgets the rubber band's snapshot (after a completed selection and at exit).
void Canvas_ReleaseRubberBand();
