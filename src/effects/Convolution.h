#pragma once
// 3x3 convolution filters and the diagonal emboss.
#include "effects/Effect.h"
#include "effects/Kernel3x3.h"
#include "graphics/Bitmap.h"

#include <array>
#include <cstdint>

namespace px {

// Filters a 24-bit bitmap in place. Each channel becomes
// ClampByte(sum div divisor), the sum taken over the pixel's 3x3
// neighbourhood in a framed copy of the image: the frame row above the top
// row is the bottom row and the one below the bottom row is the top row,
// the frame column left of the image is its right-most column and the one
// right of it the left-most column; the four frame corners repeat the
// image's own corners. Sums are 32-bit with wrap-around, the division
// truncates toward zero. Every read comes from the framed copy, so the
// result does not depend on the visiting order and `threads` > 1 gives the
// same bytes. A divisor of 0 raises EffectError and leaves the bitmap as it
// was.
void Convolve3x3(Bitmap& bitmap, const Kernel3x3& kernel, std::uint16_t divisor, int threads = 1);

// "Emboss": reads `source`, writes `work` (same size, 24 bits). Each pixel
// (u, v) becomes ClampByte(125 + source(u+2, v+2) - source(u, v)) per
// channel, the +2 neighbours wrapping to the left and top edges.
void EmbossImage(const Bitmap& source, Bitmap& work);

} // namespace px
