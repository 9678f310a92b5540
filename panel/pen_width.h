// The pen-width steps of the = and - hotkeys.
#pragma once

inline constexpr int kPenWidthMin = 1;
inline constexpr int kPenWidthMax = 40;
// How long a step shows its width cursor on the canvas.
inline constexpr int kWidthCursorMilliseconds = 200;

// One pixel wider (at most 40), with the width-up cursor on the canvas for a moment.
void PenWidth_StepUp();
// One pixel narrower (at least 1), with the width-down cursor on the canvas for a moment.
void PenWidth_StepDown();
