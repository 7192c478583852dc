#pragma once
// "&Rotation...": quarter and half turns, and a free angle that keeps the
// image's size.
#include "graphics/Bitmap.h"

namespace px {

// target := source turned a quarter clockwise: H x W, target(x', y') =
// source(y', H-1-x').
void RotateRight90(const Bitmap& source, Bitmap& target);
// target := source turned a quarter counter-clockwise: H x W,
// target(x', y') = source(W-1-y', x').
void RotateLeft90(const Bitmap& source, Bitmap& target);
// target(W-1-x, H-1-y) := source(x, y).
void Rotate180(const Bitmap& source, Bitmap& target);

// target (the size of source) := source turned `angle` degrees clockwise on
// the screen about (W div 2, H div 2), nearest neighbour in doubled
// coordinates; pixels whose source lies outside the image take
// `background`.
void RotateFree(const Bitmap& source, Bitmap& target, int angle, Colour background);

// The dialog's choice: direction and degrees (the "&Libre" text already
// read as an integer) to the routine it runs.
enum class RotationDirection { Right, Left };
enum class RotationDegrees { D90, D180, D270, Free };
enum class RotationRoutine { Right90, Rotate180, Left90, Free };
RotationRoutine rotationRoutine(RotationDirection direction, RotationDegrees degrees, int freeAngle);

} // namespace px
