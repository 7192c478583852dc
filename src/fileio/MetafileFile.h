#pragma once
// Windows metafiles (.wmf, placeable or not), drawn by libwmf at their
// natural size (their bounding box at 96 pixels an inch) into a 24-bit
// image. A file libwmf cannot play, or whose size is out of bounds, raises
// InvalidImageError. Enhanced metafiles (.emf) have no reader: no library
// of the platform draws them.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <span>

namespace px {

Bitmap decodeWindowsMetafile(std::span<const std::uint8_t> data);

} // namespace px
