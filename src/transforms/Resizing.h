#pragma once
// "Re&dimensionner..." and "&Etirer les bords...": a new image size, with
// the picture scaled to it or kept at the top left.
#include "graphics/Bitmap.h"

#include <cstdint>

namespace px {

// The message of a size the program cannot make into an image.
extern const char* const kImageSizeRefused;

// Throws EffectError (kImageSizeRefused) unless width x height is a size
// the program accepts (1..65535 a side, at most 2^28 pixels).
void checkNewImageSize(std::int64_t width, std::int64_t height);

// target := source stretched (nearest pixel) over width x height, through
// the canvas. Refuses an unacceptable size before changing anything.
void ResizeImage(const Bitmap& source, Bitmap& target, int width, int height);

// The bitmap becomes width x height: its pixels stay at the top left, cut
// or extended with black. Refuses an unacceptable size before changing
// anything.
void StretchEdges(Bitmap& bitmap, int width, int height);

} // namespace px
