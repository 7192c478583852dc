#include "effects/HsvColour.h"

#include <algorithm>

namespace px {

Hsv rgbToHsv(int r, int g, int b)
{
    Hsv out;
    out.v = std::max({r, g, b});
    const int delta = out.v - std::min({r, g, b});
    out.s = out.v == 0 ? 0 : delta * 255 / out.v;
    if (out.s == 0)
        return out;
    if (r == out.v)
        out.h = (g - b) * 60 / delta;
    else if (g == out.v)
        out.h = (b - r) * 60 / delta + 120;
    else
        out.h = (r - g) * 60 / delta + 240;
    if (out.h < 1)
        out.h += 360;
    return out;
}

Colour hsvToRgb(const Hsv& hsv)
{
    const int v = hsv.v, s = hsv.s;
    if (hsv.h == 0 || s == 0 || v == 0)
        return makeColour(v, v, v);
    const int h = hsv.h == 360 ? 0 : hsv.h;
    const int f = h % 60;
    const int p = v - v * s / 255;
    const int q = v - v * s * f / 15300;
    const int t = v - (60 - f) * v * s / 15300;
    switch (h / 60) {
    case 0:
        return makeColour(v, t, p);
    case 1:
        return makeColour(q, v, p);
    case 2:
        return makeColour(p, v, t);
    case 3:
        return makeColour(p, q, v);
    case 4:
        return makeColour(t, p, v);
    default:
        return makeColour(v, p, q);
    }
}

} // namespace px
