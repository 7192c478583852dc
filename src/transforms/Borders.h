#pragma once
// Frames drawn on the picture, a margin added around it, the blended border
// that makes the image tile, and the button bevel.
#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"

namespace px {

// "Bordure simple...": pen width := thickness, brush solid or hollow, pen
// colour := `colour`, then the rectangle (0, 0, W, H). The pen style and
// the brush colour are the canvas's own; the state stays as set.
void SimpleFrame(Canvas& canvas, bool solid, int thickness, Colour colour);

// "Bordure à deux couleurs...": pen width := thickness, brush solid or
// hollow, then the lines top (0, 0)-(W, 0) in `first`, bottom (W, H)-(0, H)
// in `second`, left (0, 0)-(0, H) in `first`, right (W, H)-(W, 0) in
// `second`. The pen colour is left at `penAfter`.
void TwoColourFrame(Canvas& canvas, bool solid, int thickness, Colour first, Colour second, Colour penAfter);

// "Ajouter une bordure...": the bitmap grows by the four margins, filled
// with `background`, the picture at (left, top). Refuses a result the
// program cannot hold (EffectError) before changing anything.
void AddBorder(Bitmap& bitmap, int top, int bottom, int left, int right, Colour background);

// The blended border (n >= 2; 1 or less changes nothing): with hb = H div n
// and wb = W div n, row 0 := row H-1; rows 1..hb-1 blend from row 0 to row
// hb; then in every row, column W-1 := column 0 and columns W-1-j
// (j = 1..wb-1) blend from column W-1 to column W-wb. Blends round to the
// nearest integer, halves to even. The image then tiles without a seam.
void BordureDecomposee(Bitmap& bitmap, int n);

// The button bevel, b = size + 1 pixels thick: the top and left bands are
// lightened, c + (255 - c) * amount div 255, the bottom and right bands
// darkened, c - c * amount div 255 (corner pixels may change twice). A size
// of 0 changes nothing. Pixels of a bevel thicker than half the image that
// fall outside it are left out.
void ButtonBevel(Bitmap& bitmap, int size, int amount);

} // namespace px
