#pragma once
// The two blurs that read their own earlier writes. Their results depend on
// the visiting order (rows top to bottom, pixels left to right), so they
// stay sequential.
#include "graphics/Bitmap.h"

namespace px {

// Four-neighbour blur over the rectangle (x1, y1)-(x2, y2), corners in any
// order, both inclusive, clipped to columns 1..W-2 and rows 1..H-2 so that
// the outermost rows and columns never change. Each channel becomes
// (above + below + left + right) shr 2, where above and left have already
// been replaced. Converts the bitmap to 24 bits first.
void Flou4(Bitmap& bitmap, int x1, int y1, int x2, int y2);

// Four-sample blur at distance n, in place: each channel becomes the mean
// (shr 2) of the samples at rows up/down and columns left/right, with
// up = y-n (y when negative), down = y+n (H-y when y+n >= H), and likewise
// for columns; a sample index past the last row or column is brought back
// to it. Rows above the current one, and pixels to its left, have already
// been replaced when they are read. n <= 0 does nothing.
void Hallucination(Bitmap& bitmap, int n);

} // namespace px
