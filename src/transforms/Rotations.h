#pragma once
// "&Rotation...": quarter and half turns, and a free angle that keeps the
// image's size.
#include "graphics/Bitmap.h"
#include "graphics/RowBand.h"

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

// The same turns a band at a time: rows target.first..target.end-1 of what
// the routine above writes into its target, for callers that pass the
// turned image on without keeping it whole. The rows hold the target's
// width (the source's height for the quarter turns).
void RotateRight90Rows(const Bitmap& source, const RowBand& target);
void RotateLeft90Rows(const Bitmap& source, const RowBand& target);
void Rotate180Rows(const Bitmap& source, const RowBand& target);
void RotateFreeRows(const Bitmap& source, const RowBand& target, int angle, Colour background);

// The dialog's choice: direction and degrees (the "&Libre" text already
// read as an integer) to the routine it runs.
enum class RotationDirection { Right, Left };
enum class RotationDegrees { D90, D180, D270, Free };
enum class RotationRoutine { Right90, Rotate180, Left90, Free };
RotationRoutine rotationRoutine(RotationDirection direction, RotationDegrees degrees, int freeAngle);

} // namespace px
