#pragma once
// "Miroir &horizontal", "Miroir &vertical" and the three "Miroir
// m&ultiplieur" commands.
#include "graphics/Bitmap.h"

namespace px {

// dst pixel x := src pixel width-1-x, for 24-bit rows that do not overlap.
void reversePixels(const std::uint8_t* src, std::uint8_t* dst, int width);

// target (24 bits, the size of source) := source mirrored left to right:
// target(x, y) = source(W-1-x, y).
void MirrorLeftRight(const Bitmap& source, Bitmap& target);
// target row y := source row H-1-y.
void MirrorTopBottom(const Bitmap& source, Bitmap& target);

// The image beside and/or above its mirror images, through the canvas's
// stretching copies: Both gives 2W x 2H (the image, its left-right mirror on
// the right, its top-bottom mirror below, both mirrors at the bottom right),
// Down W x 2H, Right 2W x H.
enum class MirrorDoubling { Both, Down, Right };
void MirrorDouble(const Bitmap& source, Bitmap& target, MirrorDoubling doubling);

} // namespace px
