#pragma once
// "Plas&ma": a grey midpoint-displacement fractal that tiles: the right
// column repeats the left one and the bottom row the top one.
#include "graphics/Bitmap.h"
#include "graphics/Random.h"

#include <cstdint>
#include <vector>

namespace px {

// The plasma heights of a width x height image (index x + y * width), all
// in 0..255. The generator is re-seeded from the clock first. An image less
// than 2 pixels wide or high has no room for the tiling copies: its heights
// stay 0 (black).
std::vector<std::int32_t> PlasmaHeights(int width, int height, int range, RandomGenerator& random);

// Writes the heights of `source`'s size into `target` (24 bits, same size)
// as greys.
void Plasma(const Bitmap& source, Bitmap& target, int range, RandomGenerator& random);

} // namespace px
