#pragma once
// Routines that several effect commands end with.
#include "graphics/Bitmap.h"

namespace px {

// Grey from red and green only: grey = (R + G + G) div 3; blue does not
// enter, so pure blue becomes black. Indexed bitmaps stay indexed: each
// pixel takes the palette entry nearest to its grey.
void GrisatreImage(Bitmap& bitmap);

// Every byte of a 24-bit bitmap XOR the brush colour's matching channel
// (the PATINVERT copy of the canvas onto itself): a white brush inverts.
void XorWithBrush(Bitmap& bitmap, Colour brushColour);

} // namespace px
