#pragma once
// Packed device-independent bitmaps, the native images of a TWAIN transfer:
// a bitmap info header (40 bytes or more), the colour table, then the rows.
// The colour table has the header's colours-used count of entries, or 2^bit
// count when that is 0 (none above 8 bits); 16 and 32-bit images with
// explicit channel masks carry them after a 40-byte header.
#include "graphics/Bitmap.h"

#include <cstddef>

namespace px {

// Width and height from the header (a top-down image's negative height
// counts as its size).
int dibWidth(const void* dib);
int dibHeight(const void* dib);

// The bytes the whole bitmap occupies according to its header; 0 when the
// header does not describe an image the program reads (unknown header
// size, a size over the limits of Bitmap, a colour table over 256 entries).
std::size_t packedDibSize(const void* dib);

// The image at its own size in 24 bits, as drawing it onto a window-sized
// bitmap does. Throws InvalidImageError for a header that packedDibSize
// refuses or pixel data the bitmap reader rejects.
Bitmap decodePackedDib(const void* dib);

} // namespace px
