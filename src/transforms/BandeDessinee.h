#pragma once
// "&Bande dessinée": black outlines along the borders between regions of
// the image's 256-colour version.
#include "graphics/Bitmap.h"

namespace px {

// `passes` passes over a 24-bit bitmap. Q is the image converted to 8 bits
// per pixel (the standard 256-colour palette, nearest colour); where Q
// changes between neighbours, one of the two pixels turns black. A flag
// (initially off) and a reference index (initially 0) carry over every row
// and pass:
// - forward scan, every pass, rows 0..H-2, x = 0..W-3: when Q(x+1, y) !=
//   Q(x, y): flag off -> reference := Q(x+1, y), (x, y) black, flag on;
//   flag on -> (x, y) black when Q(x, y) != reference, else (x+1, y) black.
//   Then the same with the pixel below, (x, y+1);
// - backward scan, from the second pass on, rows H-1..1, x = W-1..2, with
//   the left neighbour (x-1, y) and the upper neighbour (x, y-1).
void BandeDessinee(Bitmap& bitmap, int passes);

} // namespace px
