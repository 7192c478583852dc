#include "graphics/HueChart.h"

namespace px {

namespace {

constexpr int kRowsPerSextant = kSpectrumHeight / 6; // 16
constexpr int kMiddle = kSpectrumWidth / 2;          // 22

// Channel value at `part` sixteenths of a rising ramp, rounded.
int ramp(int part)
{
    return (255 * part + kRowsPerSextant / 2) / kRowsPerSextant;
}

// From 0 (at column 0) to `full` (at column kMiddle) and on to 255.
int shade(int full, int x)
{
    if (x <= kMiddle)
        return (full * x + kMiddle / 2) / kMiddle;
    const int span = kSpectrumWidth - 1 - kMiddle;
    return full + ((255 - full) * (x - kMiddle) + span / 2) / span;
}

} // namespace

Colour spectrumHue(int y)
{
    const int up = ramp(y % kRowsPerSextant);
    const int down = 255 - up;
    switch (y / kRowsPerSextant) {
    case 0: return makeColour(255, up, 0);
    case 1: return makeColour(down, 255, 0);
    case 2: return makeColour(0, 255, up);
    case 3: return makeColour(0, down, 255);
    case 4: return makeColour(up, 0, 255);
    case 5: return makeColour(255, 0, down);
    default: return kBlack;
    }
}

Colour spectrumColour(int x, int y)
{
    if (x < 0 || y < 0 || x >= kSpectrumWidth || y >= kSpectrumHeight)
        return kBlack;
    const Colour hue = spectrumHue(y);
    return makeColour(shade(redOf(hue), x), shade(greenOf(hue), x), shade(blueOf(hue), x));
}

Bitmap makeSpectrum()
{
    Bitmap bmp(kSpectrumWidth, kSpectrumHeight, 24);
    for (int y = 0; y < kSpectrumHeight; ++y) {
        std::uint8_t* p = bmp.row(y);
        for (int x = 0; x < kSpectrumWidth; ++x, p += 3) {
            const Colour c = spectrumColour(x, y);
            p[0] = blueOf(c);
            p[1] = greenOf(c);
            p[2] = redOf(c);
        }
    }
    return bmp;
}

} // namespace px
