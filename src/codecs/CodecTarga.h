#pragma once
// The codec library's Truevision Targa reader (.win, .vst, .vda, .icb, and
// ".tga" when "&Restaurer..." reads a file back), a full reader apart from
// the program's own lenient one.
//
// Image types 1, 2, 3 (colour-mapped, true-colour, grey) and their
// run-length forms 9, 10, 11; packets may run on from one row into the
// next. Colour-mapped images of 8-bit indices give an 8-bit image with the
// colour map at full precision (entries of 15, 16, 24 or 32 bits, placed
// from the map's first index; other indices are black); 16-bit indices give
// a 24-bit image. Grey images (8 bits, or 16 with alpha) give an 8-bit image
// with a grey ramp. True-colour pixels of 15, 16, 24 or 32 bits give a
// 24-bit image; 5-bit channels are scaled to 0..255, alpha is dropped. Rows
// are put in order by the descriptor's top-to-bottom and right-to-left bits.
// Any other type or depth, a colour map missing where it is needed, or data
// cut short raises InvalidImageError.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <span>

namespace px {

Bitmap decodeCodecTarga(std::span<const std::uint8_t> data);
// The same, reusing `bmp`'s memory; after a failure `bmp` is unspecified.
void decodeCodecTargaInto(std::span<const std::uint8_t> data, Bitmap& bmp);

} // namespace px
