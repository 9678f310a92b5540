// Saving what the canvas shows: the whole canvas, or the region of a finished selection.
#pragma once

void Picture_SaveCanvas();
void Picture_SaveSelection();
