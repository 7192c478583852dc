#pragma once
// SGI images (.sgi, .rgb, .rgba, .bw): verbatim or run-length encoded
// channels of 8 or 16 bits, one to four channels (more are allowed and
// ignored), rows stored bottom-up.
//
// One or two channels (grey, grey and alpha) give an 8-bit image with a grey
// ramp; three or more give a 24-bit image from the first three, alpha
// dropped. 16-bit samples are scaled to 0..255, rounded. Colour-map files
// (the obsolete dithered, screen and colour-map kinds) are refused. Every
// run-length row must lie inside the file and fill exactly the image width;
// anything else raises InvalidImageError.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <span>

namespace px {

Bitmap decodeSgi(std::span<const std::uint8_t> data);
// The same, reusing `bmp`'s memory; after a failure `bmp` is unspecified.
void decodeSgiInto(std::span<const std::uint8_t> data, Bitmap& bmp);

} // namespace px
