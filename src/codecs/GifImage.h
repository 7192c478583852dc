#pragma once
// GIF reading through giflib: the first image of the file, on a canvas of
// the logical screen's size.
//
// The result is an 8-bit bitmap with the image's colour map (its local map,
// else the global one, else a grey ramp). The canvas starts in the
// background colour (index 0 when the background index is outside the
// map); the image is drawn at its position, clipped to the screen, and its
// transparent pixels leave the background showing. A file whose screen has
// no size takes the size of its image. Interlaced images are put back in
// row order. Any damage raises InvalidImageError.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <span>

namespace px {

Bitmap decodeGif(std::span<const std::uint8_t> data);

} // namespace px
