#include "transforms/Rotations.h"

#include "transforms/Mirrors.h"
#include "transforms/TransformMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace px {

namespace {

// Tiles of 32 x 32 pixels keep the 32 source rows a tile reads (about 3 KB
// each) in the first-level cache while the target rows are written.
constexpr int kTile = 32;

inline void copyPixel(std::uint8_t* to, const std::uint8_t* from)
{
    std::memcpy(to, from, 3);
}

// target(x', y') := source(x(y', x'), ...) for a quarter turn, tile by tile.
// `clockwise` reads source(y', H-1-x'), otherwise source(W-1-y', x').
void quarterTurn(const Bitmap& source, Bitmap& target, bool clockwise)
{
    const int w = source.width(), h = source.height();
    target.reallocate(h, w, 24);
    const std::size_t stride = source.stride();
    const std::uint8_t* bits = source.bits();
    for (int ty = 0; ty < w; ty += kTile) {
        const int yEnd = std::min(ty + kTile, w);
        for (int tx = 0; tx < h; tx += kTile) {
            const int xEnd = std::min(tx + kTile, h);
            for (int y = ty; y < yEnd; ++y) {
                std::uint8_t* out = target.row(y) + std::size_t(tx) * 3;
                if (clockwise) {
                    // Source column y, from row H-1-tx upwards.
                    const std::uint8_t* in = bits + std::size_t(h - 1 - tx) * stride + std::size_t(y) * 3;
                    for (int x = tx; x < xEnd; ++x, out += 3, in -= stride)
                        copyPixel(out, in);
                } else {
                    // Source column W-1-y, from row tx downwards.
                    const std::uint8_t* in = bits + std::size_t(tx) * stride + std::size_t(w - 1 - y) * 3;
                    for (int x = tx; x < xEnd; ++x, out += 3, in += stride)
                        copyPixel(out, in);
                }
            }
        }
    }
}

} // namespace

void RotateRight90(const Bitmap& source, Bitmap& target)
{
    quarterTurn(source, target, true);
}

void RotateLeft90(const Bitmap& source, Bitmap& target)
{
    quarterTurn(source, target, false);
}

void Rotate180(const Bitmap& source, Bitmap& target)
{
    const int w = source.width(), h = source.height();
    target.reallocate(w, h, 24);
    for (int y = 0; y < h; ++y)
        reversePixels(source.row(h - 1 - y), target.row(y), w);
}

void RotateFree(const Bitmap& source, Bitmap& target, int angle, Colour background)
{
    const int w = source.width(), h = source.height();
    target.reallocate(w, h, 24);
    const int cx = w / 2, cy = h / 2;
    const double theta = -(angle * 3.141592653589793 / 180.0);
    const double s = std::sin(theta), c = std::cos(theta);
    const std::uint8_t bg[3] = {blueOf(background), greenOf(background), redOf(background)};
    for (int y = 0; y < h; ++y) {
        const double v = 2.0 * (y - cy) + 1;
        const double vs = v * s, vc = v * c;
        std::uint8_t* out = target.row(y);
        for (int x = 0; x < w; ++x, out += 3) {
            const double u = 2.0 * (x - cx) + 1;
            const std::int64_t su = roundHalfEven(u * c - vs);
            const std::int64_t sv = roundHalfEven(u * s + vc);
            // Division truncating towards zero, as the rule says.
            const std::int64_t sx = (su - 1) / 2 + cx;
            const std::int64_t sy = (sv - 1) / 2 + cy;
            const std::uint8_t* in = bg;
            if (sx >= 0 && sx < w && sy >= 0 && sy < h)
                in = source.row(int(sy)) + std::size_t(sx) * 3;
            copyPixel(out, in);
        }
    }
}

RotationRoutine rotationRoutine(RotationDirection direction, RotationDegrees degrees, int freeAngle)
{
    if (degrees == RotationDegrees::Free) {
        switch (freeAngle) {
        case 90: degrees = RotationDegrees::D90; break;
        case 180: degrees = RotationDegrees::D180; break;
        case 270: degrees = RotationDegrees::D270; break;
        default: return RotationRoutine::Free;
        }
    }
    const bool right = direction == RotationDirection::Right;
    switch (degrees) {
    case RotationDegrees::D90: return right ? RotationRoutine::Right90 : RotationRoutine::Left90;
    case RotationDegrees::D270: return right ? RotationRoutine::Left90 : RotationRoutine::Right90;
    case RotationDegrees::D180:
    case RotationDegrees::Free: break;
    }
    return RotationRoutine::Rotate180;
}

} // namespace px
