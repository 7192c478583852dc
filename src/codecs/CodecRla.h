#pragma once
// Wavefront RLA and RPF images (.rla, .rpf): the colour channels of the
// active window, 8 bits a channel, each scan line run-length encoded.
//
// A 740-byte header (big-endian) gives the active window (left, right,
// bottom, top) and the number of colour channels; a table of one 32-bit
// offset per line (bottom line first) follows. Each line holds, channel by
// channel, a 16-bit length and that many bytes of packets: a count byte c
// from 0 to 127 repeats the next byte c + 1 times, a negative one is
// followed by -c literal bytes. One colour channel gives an 8-bit image
// with a grey ramp, three or more a 24-bit image from the first three;
// matte and auxiliary channels are not read. Channels of other than 8 bits,
// a line that does not fill exactly the width, or offsets and lengths
// outside the file raise InvalidImageError.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <span>

namespace px {

Bitmap decodeRla(std::span<const std::uint8_t> data);
// The same, reusing `bmp`'s memory; after a failure `bmp` is unspecified.
void decodeRlaInto(std::span<const std::uint8_t> data, Bitmap& bmp);

} // namespace px
