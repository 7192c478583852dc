#include "effects/ColourAdjustments.h"

#include "effects/ColourAdjustmentsSimd.h"
#include "effects/HsvColour.h"
#include "effects/Parallel.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace px {

std::uint32_t cycleColourValue(std::uint32_t v)
{
    for (int step = 0; step < 10; ++step) {
        v = (v << 1) | (v >> 31);
        v += (v >> 24) & 1u;
    }
    return v;
}

void Cycle(Bitmap& bitmap, int threads)
{
    bitmap.setPixelFormat(24);
    const int w = bitmap.width();
    forEachRowBand(bitmap.height(), threads, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            std::uint8_t* row = bitmap.row(y);
            for (int x = colour_simd::cycleRow(row, w); x < w; ++x) {
                std::uint8_t* p = row + std::size_t(x) * 3; // B, G, R: the value B*65536 + G*256 + R
                const std::uint32_t v =
                    cycleColourValue(std::uint32_t(p[2]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[0]) << 16);
                p[2] = std::uint8_t(v);
                p[1] = std::uint8_t(v >> 8);
                p[0] = std::uint8_t(v >> 16);
            }
        }
    });
}

void Teinte(Bitmap& bitmap, Colour tint, int threads)
{
    // The result depends on the brightest channel alone.
    std::uint8_t shade[256][3];
    for (int m = 0; m < 256; ++m) {
        const double f = m / 255.0;
        shade[m][0] = ClampByte(int(std::nearbyint(blueOf(tint) * f)));
        shade[m][1] = ClampByte(int(std::nearbyint(greenOf(tint) * f)));
        shade[m][2] = ClampByte(int(std::nearbyint(redOf(tint) * f)));
    }
    bitmap.setPixelFormat(24);
    forEachRowBand(bitmap.height(), threads, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            std::uint8_t* p = bitmap.row(y);
            for (int x = 0; x < bitmap.width(); ++x, p += 3) {
                const std::uint8_t* s = shade[std::max({p[0], p[1], p[2]})];
                p[0] = s[0];
                p[1] = s[1];
                p[2] = s[2];
            }
        }
    });
}

void Colorisation(Bitmap& bitmap, Colour colour, int threads)
{
    const int hue = rgbToHsv(redOf(colour), greenOf(colour), blueOf(colour)).h;
    // With the hue fixed, the result depends on V = max and delta = max - min
    // alone (S = delta * 255 div V): one table entry per pair.
    std::vector<std::uint32_t> table(256 * 256);
    for (int v = 0; v < 256; ++v)
        for (int delta = 0; delta <= v; ++delta) {
            const int s = v == 0 ? 0 : delta * 255 / v;
            table[std::size_t(v * 256 + delta)] = hsvToRgb(Hsv{s == 0 ? 0 : hue, s, v});
        }
    bitmap.setPixelFormat(24);
    forEachRowBand(bitmap.height(), threads, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            std::uint8_t* p = bitmap.row(y);
            for (int x = 0; x < bitmap.width(); ++x, p += 3) {
                const int v = std::max({p[0], p[1], p[2]});
                const int delta = v - std::min({p[0], p[1], p[2]});
                const Colour c = table[std::size_t(v * 256 + delta)];
                p[0] = blueOf(c);
                p[1] = greenOf(c);
                p[2] = redOf(c);
            }
        }
    });
}

} // namespace px
