#pragma once
// Windows icon files (.ico, and cursors of the same layout): the largest
// image of the file (most pixels, then most bits a pixel) as a 24-bit
// image drawn over the background colour white, the colour of a new image.
//
// Each image is a device-independent bitmap (a 40-byte info header whose
// height counts the colour rows and the mask rows, 1, 4, 8, 16, 24 or 32
// bits, then the 1-bit mask) or a PNG file. As the icon is drawn on
// screen, a pixel is (background AND mask) XOR colour: mask 0 gives the
// colour, mask 1 the background (or its inverse where the colour is not
// black). A 32-bit image whose alpha is not all zero, and a PNG image, are
// blended over the background by their alpha instead. Images over 1024
// pixels a side are not icons and are passed over. A file without a usable
// image, or whose images lie outside the file, raises InvalidImageError.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <span>

namespace px {

Bitmap decodeIcon(std::span<const std::uint8_t> data);

} // namespace px
