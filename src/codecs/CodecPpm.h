#pragma once
// Portable pixel maps: bitmaps (P1 plain, P4 raw), grey maps (P2, P5) and
// pixel maps (P3, P6), with comments in the header and maximum values from 1
// to 65535 (two bytes a sample, most significant first, above 255).
//
// Bitmaps become 1-bit images whose palette is white, black (the file's 1
// is black); grey maps 8-bit images with a grey ramp; pixel maps 24-bit
// images. Samples are scaled to 0..255 by v * 255 / maxval, rounded; a
// sample above the maximum counts as the maximum. Only the first image of a
// file is read. A malformed header, a missing sample or raw data cut short
// raises InvalidImageError.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <span>

namespace px {

Bitmap decodePpm(std::span<const std::uint8_t> data);
// The same, reusing `bmp`'s memory; after a failure `bmp` is unspecified.
void decodePpmInto(std::span<const std::uint8_t> data, Bitmap& bmp);

} // namespace px
