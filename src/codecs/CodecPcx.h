#pragma once
// The codec library's ZSoft PCX reader (.pcc, .scr), a full reader apart
// from the program's own PCX class.
//
// Run-length (or, with encoding 0, raw) files of one plane of 1, 2, 4 or 8
// bits, two to four planes of 1 bit (EGA: the plane bits make a 4-bit
// index), or three or four planes of 8 bits (24-bit colour, a fourth plane
// of alpha dropped). A 1-bit single plane is black and white; the other
// indexed layouts take the header's 16-colour palette, except 8 bits,
// which take the 256-colour palette after the data (marker 12) or a grey
// ramp when the file has none. Runs may continue from one line into the
// next. Data cut short, a line length too short for the width or any other
// layout raises InvalidImageError.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <span>

namespace px {

Bitmap decodeCodecPcx(std::span<const std::uint8_t> data);
// The same, reusing `bmp`'s memory; after a failure `bmp` is unspecified.
void decodeCodecPcxInto(std::span<const std::uint8_t> data, Bitmap& bmp);

} // namespace px
