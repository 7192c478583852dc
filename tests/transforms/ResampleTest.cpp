// The resampling deformations: the wrapped bilinear sample, the twirl and
// the lens.
#include "effects/EffectTestHelpers.h"
#include "transforms/Deformations.h"
#include "transforms/ResampleKernels.h"

#include <gtest/gtest.h>

#include <random>

namespace px {
namespace {

using test::greys;
using test::greysOf;
using test::Grid;

int sampleGrey(const Bitmap& b, float sx, float sy)
{
    std::uint8_t out[3];
    SampleWrapped(b, sx, sy, out);
    EXPECT_TRUE(out[0] == out[1] && out[1] == out[2]);
    return out[0];
}

struct SampleCase {
    float sx, sy;
    int expected;
    const char* why;
};

// A 4 x 3 grid: row 0 holds 0, 100, 50, 1; row 1 holds 10, 20, 30, 40; row 2
// holds 2, 4, 6, 8.
class Sample : public ::testing::TestWithParam<SampleCase> {};

TEST_P(Sample, WeightsAndWrapsAsTheRuleSays)
{
    const Bitmap b = greys({{0, 100, 50, 1}, {10, 20, 30, 40}, {2, 4, 6, 8}});
    const SampleCase& c = GetParam();
    EXPECT_EQ(sampleGrey(b, c.sx, c.sy), c.expected) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Cases, Sample,
                         ::testing::Values(SampleCase{1.0f, 1.0f, 20, "on a pixel"},
                                           SampleCase{0.25f, 0.0f, 25, "a quarter of the right neighbour"},
                                           SampleCase{1.0f, 0.5f, 60, "half way down: (100 + 20) / 2"},
                                           // sx < 0 truncates to 0 and weighs column 0 with ix - sx.
                                           SampleCase{-0.25f, 0.0f, 75, "0.25 * 0 + 0.75 * 100"},
                                           // ix = -1 wraps to (W-1) - (1 mod W) = 2; all the weight is
                                           // on its right neighbour, column 3.
                                           SampleCase{-1.0f, 0.0f, 1, "wrapped below the first column"},
                                           SampleCase{4.5f, 0.0f, 50, "ix = 4 wraps to 0: (0 + 100) / 2"},
                                           SampleCase{3.5f, 1.0f, 25,
                                                      "past the last column comes column 0: (40 + 10) / 2"},
                                           SampleCase{2.0f, 2.5f, 28, "past the last row comes row 0: (6 + 50) / 2"}));

// Halves go to the even neighbour.
TEST(SampleWrapped, RoundsHalvesToEven)
{
    const Bitmap b = greys({{0, 1, 2, 1}});
    EXPECT_EQ(sampleGrey(b, 0.5f, 0.0f), 0); // 0.5
    EXPECT_EQ(sampleGrey(b, 1.5f, 0.0f), 2); // 1.5
    EXPECT_EQ(sampleGrey(b, 2.5f, 0.0f), 2); // 1.5
}

TEST(Tordre, LeavesAOnePixelImageAndTheCentreOfAnOddImage)
{
    Bitmap result;
    const Bitmap one = greys({{77}});
    Tordre(one, result, 90);
    EXPECT_TRUE(result == one);

    const Bitmap b = greys({{0, 0, 0}, {0, 50, 0}, {0, 200, 110}});
    Tordre(b, result, 90);
    // The centre samples itself (r = 0).
    EXPECT_EQ(greysOf(result)[1][1], 50);
    // Right of the centre: theta' = pi/2 - 1/90, sample (1.0111, 1.99994):
    // 0.98883 of the pixel below the centre, 0.01111 of its right neighbour.
    EXPECT_EQ(greysOf(result)[1][2], 199);
}

TEST(Tordre, TwistZeroCopies)
{
    std::mt19937 rng(3);
    const Bitmap b = test::randomImage(rng, 5, 4);
    Bitmap result;
    Tordre(b, result, 0);
    EXPECT_TRUE(result == b);
}

// cx = cy = 2, R = 4. Pixel (3, 2): r = 1, k = (1 / (1 - 1/4) - 1) * 2 = 2/3,
// sample (2.667, 2): 1/3 of (2, 2) and 2/3 of (3, 2).
TEST(Fisheye, SamplesAlongTheRadius)
{
    Grid g(4, std::vector<int>(4, 0));
    g[2][2] = 30;
    g[2][3] = 90;
    Bitmap result;
    Fisheye(greys(g), result, 1.0f);
    EXPECT_EQ(greysOf(result)[2][2], 30) << "the centre samples itself";
    EXPECT_EQ(greysOf(result)[2][3], 70);
    Fisheye(greys({{123}}), result, 1.0f);
    EXPECT_EQ(greysOf(result)[0][0], 123);
}

// The plain path (position then SampleWrapped, pixel by pixel in scan-line
// order) against every vector width the processor has, with the rows split
// between one and two threads. Widths that are not
// multiples of eight, twists whose samples wrap, and lens images tall enough
// for pixels to lie exactly on the radius (W = 10, H = 40: r = 10 at (5, 10)
// and (5, 30)) are included.
struct PathCase {
    int width, height, twist;
};

class ResamplePaths : public ::testing::TestWithParam<PathCase> {};

// The vector widths this processor can run, narrowest first.
std::vector<resample::Lanes> availableLanes()
{
    std::vector<resample::Lanes> lanes{resample::Lanes::Plain};
    if (resample::haveAvx2())
        lanes.push_back(resample::Lanes::Avx2);
    if (resample::haveAvx512())
        lanes.push_back(resample::Lanes::Avx512);
    return lanes;
}

TEST_P(ResamplePaths, EveryPathGivesThePlainPixels)
{
    const PathCase& c = GetParam();
    std::mt19937 rng(std::uint32_t(c.width * 131 + c.height));
    const Bitmap source = test::randomImage(rng, c.width, c.height);
    const int W = c.width, H = c.height;

    Bitmap plain(W, H, 24);
    const resample::Twirl t{float(W - 1) / 2.0f, float(H - 1) / 2.0f, float(c.twist)};
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            float sx, sy;
            resample::twirlPosition(t, x, y, sx, sy);
            SampleWrapped(source, sx, sy, plain.row(y) + 3 * x);
        }
    for (resample::Lanes lanes : availableLanes())
        for (int threads : {1, 2}) {
            Bitmap result;
            resample::twirlWith(source, result, c.twist, threads, lanes);
            EXPECT_TRUE(result == plain) << "twirl, lanes " << int(lanes) << ", threads " << threads;
        }

    const resample::Lens l{float(W) / 2.0f, float(H) / 2.0f};
    float radius = float(W);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            float sx, sy;
            resample::lensPosition(l, radius, x, y, sx, sy);
            SampleWrapped(source, sx, sy, plain.row(y) + 3 * x);
        }
    for (resample::Lanes lanes : availableLanes())
        for (int threads : {1, 2}) {
            Bitmap result;
            resample::fisheyeWith(source, result, 1.0f, threads, lanes);
            EXPECT_TRUE(result == plain) << "lens, lanes " << int(lanes) << ", threads " << threads;
        }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResamplePaths,
                         ::testing::Values(PathCase{1, 1, 90}, PathCase{8, 1, 20}, PathCase{17, 9, 1},
                                           PathCase{10, 40, 300}, PathCase{37, 61, 3}, PathCase{300, 200, 90},
                                           PathCase{701, 263, 50}));

TEST(Fisheye, RadiusWidensOnceAPixelLiesOnIt)
{
    // W = 10, H = 40: R = 10, and pixel (5, 10) is the first to lie on it
    // (r = 10). R becomes 10.01 there, k = (1 / (1 - 10/10.01) - 1) * 5.005,
    // about 5005, and the sample (5, 20 - 5005) wraps to rows 14 to 16. An
    // unwidened R would give an infinite k.
    Grid g(40, std::vector<int>(10, 0));
    for (int y = 13; y <= 16; ++y)
        g[std::size_t(y)][5] = 250;
    Bitmap result;
    Fisheye(greys(g), result, 1.0f);
    EXPECT_EQ(greysOf(result)[10][5], 250);
}

} // namespace
} // namespace px
