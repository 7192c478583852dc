#pragma once
// Generated shapes and scattered pixels: the Mandelbrot mask, the oval
// vignette, the marble swirls and the sprays.
#include "graphics/Bitmap.h"
#include "graphics/Random.h"

namespace px {

// Mandelbrot mask: pixel (x, y) stands for k = (x * 3.25 / W - 2) +
// i (y * 2.5 / H - 1.25); z := z^2 + k from 0, at most 65 times, until
// |z|^2 >= 4. Pixels whose count is at most `threshold` turn black, the
// others keep their colour. `threads` share the rows; the result does not
// depend on it.
void Mandel(Bitmap& bitmap, int threshold, int threads = 1);
// The iteration count of one point, 1..65.
int mandelCount(double kr, double ki);

// Every pixel outside the ellipse inscribed in the image takes `colour`.
// The ellipse is the canvas's filled ellipse (0, 0, W, H).
void Ovale(Bitmap& bitmap, Colour colour);

// The four marble swirls. Each pixel (x, y), in order, is copied onto
// (round |x + sx + cy|, round |y + cy + sx|) when that lies in the image
// (variant B: |x - sx + cy|, |y - cy + sx|), with cy from the row and sx
// from the column:
//   A, B: cy = S cos((y mod P) / S), sx = -S sin((x mod P) / S)
//   C:    cy = S sin((y mod P) / S), sx = -S cos((x mod P) / S)
//   D:    cy = S cos((y mod P) / S), sx = -tan((x mod P) / S) / S
// Later pixels read what earlier ones wrote, so the order matters:
// `backwards` visits rows from the bottom and pixels from the right.
enum class MarbleVariant { A, B, C, D };
void Marbre(Bitmap& bitmap, MarbleVariant variant, int period, int scale, bool backwards = false);

// Each pixel of `target` (a copy of `source`) takes the source pixel at
// (x + r - Random(2r), y + r - Random(2r)) with r = Random(radius), drawn in
// that order for every pixel in row order; a position outside the image
// leaves the pixel as it was.
void Spray(const Bitmap& source, Bitmap& target, int radius, RandomGenerator& random);

// L = min(H div 2, amount); the generator is re-seeded from the clock. For
// rows y from H-1-L up to 0, pixel x > 0 of the row is copied k rows down,
// k being Random(L) drawn after pixel x-1 (the first pixel stays).
void SprayDecompose(Bitmap& bitmap, int amount, RandomGenerator& random);

} // namespace px
