#pragma once
// The integer hue, saturation and value used by colourisation. Hues lie in
// 1..360 for chromatic colours and are 0 for greys; saturation and value in
// 0..255. The round trip is lossy: it truncates at every division.
#include "graphics/Colour.h"

namespace px {

struct Hsv {
    int h = 0;
    int s = 0;
    int v = 0;
};

// V := max; delta := V - min; S := delta * 255 div V (0 for black); hue 0
// when S = 0, otherwise from the largest channel in steps of 60 degrees, a
// hue below 1 taking 360 more.
Hsv rgbToHsv(int r, int g, int b);

// Grey (V, V, V) when H, S or V is 0; otherwise the six sectors of 60
// degrees, 360 read as 0.
Colour hsvToRgb(const Hsv& hsv);

} // namespace px
