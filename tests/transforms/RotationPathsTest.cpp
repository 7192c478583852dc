// Every way of computing the quarter and free turns (plain loops, SSSE3,
// AVX2, AVX-512) against the turns written out pixel by pixel, on sizes
// that leave partial blocks and tiles, into bands of rows with padded
// strides.
#include "support/TestSupport.h"
#include "transforms/RotationKernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace px {
namespace {

using rotation::Path;

const Path kPaths[] = {Path::Plain, Path::Ssse3, Path::Avx2, Path::Avx512};

std::string nameOf(Path p)
{
    switch (p) {
    case Path::Plain:
        return "plain";
    case Path::Ssse3:
        return "ssse3";
    case Path::Avx2:
        return "avx2";
    case Path::Avx512:
        return "avx512";
    }
    return "?";
}

const std::uint8_t* at(const Bitmap& b, int x, int y)
{
    return b.row(y) + std::size_t(x) * 3;
}

// Rows first..end-1 of a `width`-pixel image in a buffer whose rows carry
// seven guard bytes after the pixels.
struct Band {
    Band(int width, int first, int end)
        : stride(std::size_t(width) * 3 + 7),
          bytes(stride * std::size_t(end - first), 0xA5), band{bytes.data(), stride, first, end}
    {
    }
    std::size_t stride;
    std::vector<std::uint8_t> bytes;
    RowBand band;
};

struct Size {
    int w, h;
};

// 1 x 1; a single row or column; both sides short of one 16-pixel block,
// just over one, and over two tiles of 32 with odd remainders.
const Size kSizes[] = {{1, 1}, {1, 37}, {37, 1}, {15, 17}, {17, 15}, {33, 66}, {70, 49}};

TEST(RotationPaths, QuarterTurnsMatchThePixelRule)
{
    for (const Path path : kPaths) {
        if (!rotation::available(path))
            continue;
        for (const Size size : kSizes) {
            const Bitmap source = test::noise(size.w, size.h, unsigned(size.w * 100 + size.h));
            const int W = size.w, H = size.h;
            for (const bool clockwise : {true, false}) {
                // The whole target, and a band that starts and ends mid-block.
                const int firsts[] = {0, std::min(3, W - 1)};
                const int ends[] = {W, std::max(std::min(3, W - 1) + 1, W - 2)};
                for (int b = 0; b < 2; ++b) {
                    Band band(H, firsts[b], ends[b]);
                    rotation::quarterTurnWith(source, band.band, clockwise, path);
                    for (int y = band.band.first; y < band.band.end; ++y) {
                        const std::uint8_t* row = band.band.row(y);
                        for (int x = 0; x < H; ++x) {
                            const std::uint8_t* want = clockwise ? at(source, y, H - 1 - x) : at(source, W - 1 - y, x);
                            ASSERT_EQ(std::memcmp(row + 3 * x, want, 3), 0)
                                << nameOf(path) << " " << W << "x" << H << " cw " << clockwise << " at " << x << ","
                                << y;
                        }
                        for (int g = 0; g < 7; ++g)
                            ASSERT_EQ(row[3 * H + g], 0xA5) << nameOf(path) << " guard byte written";
                    }
                }
            }
        }
    }
}

TEST(RotationPaths, FreeTurnMatchesThePixelRule)
{
    const std::uint8_t bg[3] = {1, 2, 3}; // blue, green, red of the colour below
    const Colour background = makeColour(3, 2, 1);
    const Size sizes[] = {{1, 1}, {2, 3}, {37, 1}, {1, 37}, {31, 17}, {65, 70}, {130, 47}};
    for (const Path path : kPaths) {
        if (!rotation::available(path))
            continue;
        for (const Size size : sizes) {
            const Bitmap source = test::noise(size.w, size.h, unsigned(size.w * 7 + size.h));
            const int W = size.w, H = size.h, cx = W / 2, cy = H / 2;
            // 60 and 120 degrees have a cosine of a half plus one unit, so many
            // products land on or next to halves.
            for (const int angle : {0, 30, 45, -45, 60, 90, 120, 137, 180, 359, -1000}) {
                const double theta = -(angle * 3.141592653589793 / 180.0);
                const double s = std::sin(theta), c = std::cos(theta);
                Band band(W, 0, H);
                rotation::rotateFreeWith(source, band.band, angle, background, path);
                for (int y = 0; y < H; ++y)
                    for (int x = 0; x < W; ++x) {
                        const double u = 2.0 * (x - cx) + 1, v = 2.0 * (y - cy) + 1;
                        const long long su = std::llrint(u * c - v * s), sv = std::llrint(u * s + v * c);
                        const long long sx = (su - 1) / 2 + cx, sy = (sv - 1) / 2 + cy;
                        const bool inside = sx >= 0 && sx < W && sy >= 0 && sy < H;
                        const std::uint8_t* want = inside ? at(source, int(sx), int(sy)) : bg;
                        ASSERT_EQ(std::memcmp(band.band.row(y) + 3 * x, want, 3), 0)
                            << nameOf(path) << " " << W << "x" << H << " angle " << angle << " at " << x << "," << y;
                    }
            }
        }
    }
}

} // namespace
} // namespace px
