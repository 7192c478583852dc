#pragma once
// Geometry of the image window's magnifier: how large a source square one
// zoom step copies, where the cross-hair is drawn, and when the mouse is
// close enough to the window for the magnifier to follow it.
#include "graphics/Bitmap.h"

namespace px {

struct MagnifierLine {
    // From (x0, y0) up to, not including, (x1, y1).
    int x0, y0, x1, y1;
};

struct MagnifierStep {
    int halfSide;   // h: the source square is (Q.x - h, Q.y - h)-(Q.x + h, Q.y + h)
    int crossCentre; // m = 2 * step * h
    MagnifierLine horizontal;
    MagnifierLine vertical;
};

inline constexpr int kMinZoomStep = 1;
inline constexpr int kMaxZoomStep = 7;
inline constexpr int kMagnifierSide = 150;

// width / (4 * step), rounded to the nearest integer with halves to even
// (150 at step 3 gives 12.5 -> 12).
int magnifierHalfSide(int magnifierWidth, int step);

// h and the two cross-hair lines of one zoom step (1..7, clamped). The
// cross-hair offsets around m are fixed per step: they were tuned by eye for
// the 150-pixel magnifier and are not symmetric.
MagnifierStep magnifierStep(int magnifierWidth, int step);

// The region in which the magnifier follows the mouse. The screen position is
// compared with the window's width and its top + height inside the main
// window's client area, so the region is anchored at the screen's top-left
// corner whatever the window's position.
bool magnifierFollowsMouse(int screenX, int screenY, int windowWidth, int windowTop, int windowHeight);

// Fills the 24-bit magnifier picture with grey $808080.
void clearMagnifier(Bitmap& magnifier);

// Draws the cross-hair of `step` in `colour`: each line without its last
// pixel, clipped to the picture.
void drawCrossHair(Bitmap& magnifier, const MagnifierStep& step, Colour colour);

} // namespace px
