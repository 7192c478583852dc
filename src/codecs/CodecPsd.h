#pragma once
// Photoshop documents (.psd, .pdd, and the large-document variant of the
// same layout): the merged image stored after the layers, never the layers
// themselves.
//
// Colour modes: bitmap (1 bit, a set bit is black) gives a 1-bit image with
// the palette white, black; greyscale and duotone (8 or 16 bits) an 8-bit
// image with a grey ramp; indexed (8 bits) an 8-bit image with the file's
// colour table; RGB (8 or 16 bits) and CMYK (8 or 16 bits, inks inverted
// as the format stores them, converted without a colour profile: R =
// C' * K' / 255 where C' and K' are the stored values) a 24-bit image.
// Extra channels (alpha, spot colours) are skipped. Raw and PackBits data
// are read; ZIP data, 32-bit samples and the Lab and multichannel modes are
// refused. PackBits rows must lie inside their channel's data and fill
// their row exactly; anything else raises InvalidImageError.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <span>

namespace px {

Bitmap decodePsd(std::span<const std::uint8_t> data);
// The same, reusing `bmp`'s memory; after a failure `bmp` is unspecified.
void decodePsdInto(std::span<const std::uint8_t> data, Bitmap& bmp);

} // namespace px
