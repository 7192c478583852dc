#pragma once
// Run-length decoding of BMP pixel data (8-bit and 4-bit streams).
#include "graphics/Bitmap.h"

#include <cstdint>
#include <span>

namespace px {

// Decodes an RLE8 stream into an 8-bit bitmap or an RLE4 stream into a 4-bit
// bitmap. The stream's rows run bottom-up. `bmp` must be zero-filled: pixels
// the stream skips (delta moves, early end of line or of bitmap) stay index 0.
// Never reads outside `stream` or writes outside the bitmap; damaged streams
// decode as far as they make sense (see BmpFile.h).
void decodeBmpRle(std::span<const std::uint8_t> stream, Bitmap& bmp);

} // namespace px
