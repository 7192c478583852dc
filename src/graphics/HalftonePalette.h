#pragma once
// A halftone palette in the Windows style, used as the "system palette" of
// the palette window since this platform's screens have none. 256 entries:
//   0..9      the first ten static colours: black, maroon, green, olive, navy,
//             purple, teal, silver, money green (192, 220, 192), sky blue
//             (166, 202, 240)
//   10..225   the 6 x 6 x 6 colour cube at levels 0, 51, ..., 255, entry
//             10 + 36 r + 6 g + b
//   226..245  twenty greys, four between each pair of neighbouring cube greys
//             (round(k * 10.2) for k = 1..24 not a multiple of 5)
//   246..255  the last ten static colours: cream (255, 251, 240), light grey
//             (160, 160, 164), grey (128, 128, 128), red, lime, yellow, blue,
//             fuchsia, aqua, white
// The static colours are the well-known twenty; the order of the cube and the
// greys inside entries 10..245 is our own.
#include "graphics/Colour.h"

#include <array>

namespace px {

const std::array<Colour, 256>& halftonePalette();

} // namespace px
