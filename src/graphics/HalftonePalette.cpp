#include "graphics/HalftonePalette.h"

namespace px {

namespace {

std::array<Colour, 256> buildHalftone()
{
    std::array<Colour, 256> p{};
    const Colour low[10] = {
        makeColour(0, 0, 0),       makeColour(128, 0, 0),     makeColour(0, 128, 0),   makeColour(128, 128, 0),
        makeColour(0, 0, 128),     makeColour(128, 0, 128),   makeColour(0, 128, 128), makeColour(192, 192, 192),
        makeColour(192, 220, 192), makeColour(166, 202, 240),
    };
    const Colour high[10] = {
        makeColour(255, 251, 240), makeColour(160, 160, 164), makeColour(128, 128, 128), makeColour(255, 0, 0),
        makeColour(0, 255, 0),     makeColour(255, 255, 0),   makeColour(0, 0, 255),     makeColour(255, 0, 255),
        makeColour(0, 255, 255),   makeColour(255, 255, 255),
    };
    for (int i = 0; i < 10; ++i) {
        p[i] = low[i];
        p[246 + i] = high[i];
    }
    int i = 10;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p[i++] = makeColour(51 * r, 51 * g, 51 * b);
    for (int k = 1; k < 25; ++k) {
        if (k % 5 == 0)
            continue;
        const int v = (k * 102 + 5) / 10; // k * 10.2 rounded
        p[i++] = makeColour(v, v, v);
    }
    return p;
}

} // namespace

const std::array<Colour, 256>& halftonePalette()
{
    static const std::array<Colour, 256> palette = buildHalftone();
    return palette;
}

} // namespace px
