#pragma once
// GIF reading through giflib: the first image of the file, at its own size
// (the logical screen's size and the image's position are not used, so an
// image larger or smaller than the screen is shown whole).
//
// The result is an 8-bit bitmap with the image's colour map (its local map,
// else the global one, else a grey ramp). The canvas starts in the
// background colour (index 0 when the background index is outside the
// map) and the image's transparent pixels leave the background showing.
// Interlaced images are put back in row order. Any damage raises
// InvalidImageError.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <span>

namespace px {

Bitmap decodeGif(std::span<const std::uint8_t> data);

} // namespace px
