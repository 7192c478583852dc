#pragma once
// Autodesk Animator cels and pictures (.cel, .pic): 8-bit palette images.
//
// Two layouts are read:
// - Animator's own: a 32-byte header (0x9119, width, height, position,
//   8 bits, compression 0, image size), a palette of 256 six-bit RGB
//   triples, then width x height index bytes, top row first.
// - Animator Pro's, an animation file (0xAF12, or 0xAF11 for the older
//   kind) whose first frame is the image: its colour chunks (256 or 64
//   levels), black, byte-run, literal and both delta chunks are applied to a
//   black canvas of the header's size; prefix and stamp chunks are skipped.
// Anything else, a chunk that passes its frame or a line that passes the
// width raises InvalidImageError; pixels the frame leaves out are index 0.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <span>

namespace px {

Bitmap decodeAutodesk(std::span<const std::uint8_t> data);
// The same, reusing `bmp`'s memory; after a failure `bmp` is unspecified.
void decodeAutodeskInto(std::span<const std::uint8_t> data, Bitmap& bmp);

} // namespace px
