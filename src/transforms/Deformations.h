#pragma once
// Deformations that move pixels rather than recolour them: the twirl and the
// fish-eye lens (both resampled through SampleWrapped), the seamless-edge
// blend "Mirage", the blurred one-pixel enlargement and the half-image
// mirrors. Every routine works on 24-bit bitmaps.
#include "graphics/Bitmap.h"

#include <cstdint>

namespace px {

// Bilinear sample of `source` (24 bits) at the real position (sx, sy), in
// single precision, with its own weights and wrapping:
// - ix, iy := sx, sy truncated toward zero;
// - for sx >= 0: wx1 := sx - ix, wx0 := 1 - wx1; for sx < 0: wx0 := ix - sx,
//   wx1 := 1 - wx0 (and likewise for y);
// - ix < 0 wraps to (W-1) - ((-ix) mod W), ix > W-1 to ix mod W (y with H);
// - the neighbour (i, j) is column ix+i, or W-ix-i past the last column,
//   and row iy+j, or H-iy-j past the last row;
// - each channel is the sum of weight wx_i * wy_j times the neighbour's
//   value, added as ((0,0) + (0,1)) + ((1,0) + (1,1)), to the nearest
//   integer (halves to even).
// Writes blue, green, red into `out`.
void SampleWrapped(const Bitmap& source, float sx, float sy, std::uint8_t out[3]);

// Twirl about the centre ((W-1)/2, (H-1)/2) with twist T: the pixel at
// distance r and angle theta shows the source sample at the same distance
// and angle theta - r/T + pi/2. Every pixel of `result` (same size, 24 bits)
// is written; T = 0 leaves `result` a copy of `source`. The rows are split
// between `threads` threads (same result for any count).
void Tordre(const Bitmap& source, Bitmap& result, int twist, int threads = 1);

// Fish-eye lens about (W/2, H/2) with radius R = W * strength: the pixel at
// distance r samples the source at distance (1/(1 - r/R) - 1) * R/2 in the
// same direction. A pixel exactly at distance R first widens R by 0.01 for
// itself and every later pixel. Every pixel of `result` is written.
void Fisheye(const Bitmap& source, Bitmap& result, float strength, int threads = 1);

// Makes the image tile without seams: the right band of W div n columns is
// blended toward the mirrored left band (column W-1 becomes column 0), then
// the bottom band of H div n rows toward the mirrored top band, each blend
// B + MulDiv(i, M - B, band - 1) rounded half away from zero. A band of 0
// columns (or rows) does nothing; a band of 1 is left unchanged (its blend
// would divide by zero). n <= 0 does nothing.
void Mirage(Bitmap& bitmap, int n);

// Resamples the image in place at (W-1)/W by (H-1)/H with 15-bit fixed-point
// bilinear weights, rows top to bottom and pixels left to right, each read
// seeing the writes made before it. A neighbour past the last column or row
// repeats it.
void AgrandissementFlou(Bitmap& bitmap);

// "Reflet horizontal": for y = 0 .. H div 2, row H-1-y := row y.
void RefletHorizontal(Bitmap& bitmap);
// "Reflet vertical": in every row, for x = 0 .. W div 2, pixel W-1-x := pixel x.
void RefletVertical(Bitmap& bitmap);

} // namespace px
