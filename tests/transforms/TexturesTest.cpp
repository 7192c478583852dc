// Plasma, the Mandelbrot mask, the oval, the marble swirls, the sprays and
// the comic-strip outlines.
#include "transforms/Textures.h"
#include "effects/EffectTestHelpers.h"
#include "graphics/Canvas.h"
#include "support/TestSupport.h"
#include "transforms/BandeDessinee.h"
#include "transforms/Plasma.h"
#include "transforms/TextureKernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

namespace px {
namespace {

using test::filled;
using test::fromAscii;
using test::toAscii;

// A picture whose every pixel says where it comes from.
Bitmap coded(int w, int h)
{
    Bitmap b(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, makeColour(x, y, 7));
    return b;
}

RandomGenerator fixedGenerator(std::uint32_t seed)
{
    RandomGenerator r;
    r.setFixedSeed(seed);
    return r;
}

TEST(Plasma, EvenImageTilesLeftToRightAndTopToBottom)
{
    for (std::uint32_t seed : {1u, 77u, 4242u}) {
        RandomGenerator random = fixedGenerator(seed);
        const Bitmap source(10, 8, 24);
        Bitmap b(10, 8, 24);
        Plasma(source, b, 500, random);
        for (int y = 0; y < 8; ++y)
            EXPECT_EQ(b.pixel(0, y), b.pixel(9, y)) << "seed " << seed << " row " << y;
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(b.pixel(x, 0), b.pixel(x, 7)) << "seed " << seed << " column " << x;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x) {
                const Colour c = b.pixel(x, y);
                EXPECT_TRUE(redOf(c) == greenOf(c) && greenOf(c) == blueOf(c));
            }
    }
}

TEST(Plasma, ReseedsFromTheClockSoAFixedSeedRepeats)
{
    RandomGenerator a = fixedGenerator(9), b = fixedGenerator(9);
    a.setState(1);
    b.setState(2);
    EXPECT_EQ(PlasmaHeights(12, 6, 500, a), PlasmaHeights(12, 6, 500, b));
}

// An odd size leaves the last column or row unset (black); below 2 pixels
// there is no room for the tiling copies and everything stays black.
TEST(Plasma, OddAndTinySizes)
{
    RandomGenerator random = fixedGenerator(5);
    const auto odd = PlasmaHeights(5, 4, 500, random);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(odd[std::size_t(4 + y * 5)], 0) << y;
        EXPECT_NE(odd[std::size_t(3 + y * 5)], 0) << y;
    }
    for (auto [w, h] : {std::pair{1, 1}, {1, 9}, {9, 1}}) {
        const auto cells = PlasmaHeights(w, h, 500, random);
        EXPECT_EQ(cells, std::vector<std::int32_t>(std::size_t(w * h), 0)) << w << "x" << h;
    }
}

TEST(Mandel, CountsIterationsUntilTheOrbitLeaves)
{
    EXPECT_EQ(mandelCount(0, 0), 65);       // inside the set: the count stops at 65
    EXPECT_EQ(mandelCount(-2.0, -1.25), 1); // |k|^2 = 5.5625 after one step
    EXPECT_EQ(mandelCount(1.0, 0.0), 2);    // 0 -> 1 -> 2
    EXPECT_EQ(mandelCount(-1.0, 0.0), 65);  // 0 -> -1 -> 0 -> -1 ...
    // A 1 x 1 image evaluates k = -2 - 1.25i only: black.
    Bitmap one = filled(1, 1, kWhite);
    Mandel(one, 50);
    EXPECT_EQ(one.pixel(0, 0), kBlack);
    // 13 x 4: column 8 is k = 0 (8 * 3.25 / 13 = 2), row 2 is 0i: kept.
    Bitmap wide = filled(13, 4, kWhite);
    Mandel(wide, 50);
    EXPECT_EQ(wide.pixel(8, 2), kWhite);
    EXPECT_EQ(wide.pixel(0, 2), kBlack);
}

// Across the whole set, at any width (four points are computed at once) and
// with the rows shared between threads, each pixel follows the count of its
// own point.
TEST(Mandel, EveryPixelFollowsItsPointsCount)
{
    for (const auto& [w, h, threshold, threads] :
         {std::tuple{103, 67, 50, 1}, std::tuple{40, 64, 64, 2}, std::tuple{7, 33, 3, 2}}) {
        Bitmap b = filled(w, h, kWhite);
        Mandel(b, threshold, threads);
        int black = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool dark = mandelCount(x * 3.25 / w - 2.0, y * 2.5 / h - 1.25) <= threshold;
                black += dark;
                ASSERT_EQ(b.pixel(x, y), dark ? kBlack : kWhite) << w << " x " << h << " at " << x << ", " << y;
            }
        EXPECT_GT(black, 0);
        EXPECT_LT(black, w * h);
    }
}

TEST(Ovale, KeepsTheInscribedEllipse)
{
    // 4 x 4: doubled offsets from the centre are -3, -1, 1, 3; a pixel stays
    // when X^2 + Y^2 <= 16, which leaves out the four corners only.
    const Colour q = makeColour(1, 2, 3);
    Bitmap square = filled(4, 4, kWhite);
    Ovale(square, q);
    EXPECT_EQ(toAscii(square, {{'.', kWhite}, {'q', q}}), "q..q\n....\n....\nq..q\n");
    // Any size: exactly the canvas's filled ellipse (0, 0, W, H) stays.
    for (auto [w, h] : {std::pair{9, 9}, {17, 5}, {1, 1}, {1, 6}, {30, 31}}) {
        Bitmap b = filled(w, h, kWhite);
        Ovale(b, q);
        Bitmap mask = filled(w, h, q);
        Canvas canvas(mask);
        canvas.setPenColour(kWhite);
        canvas.setBrushColour(kWhite);
        canvas.ellipse(0, 0, w, h);
        EXPECT_TRUE(b == mask) << w << "x" << h << "\n" << test::dumpMismatch("ovale", b, mask);
    }
}

// Variant D moves little sideways near x = 0 (tan(x/10)/10) and 10 rows
// down at y = 0 (10 cos 0): on a 20 x 12 image row 0 lands on row 10 ten
// columns to the right, row 1 on row 11 (1 + 9.95), and every other row
// leaves the image (row 2: 2 + 9.80 rounds to 12).
TEST(Marbre, VariantDMovesTheTopRowsDownAndRight)
{
    const Bitmap start = coded(20, 12);
    Bitmap b = start;
    Marbre(b, MarbleVariant::D, 100, 10);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(b.pixel(x + 10, 10), start.pixel(x, 0)) << x;
        EXPECT_EQ(b.pixel(x, 10), start.pixel(x, 10)) << x;
    }
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(b.pixel(x, y), start.pixel(x, y)) << x << "," << y;
}

// Variant A sends (x, y) with x = y to |x - 10 sin(x/10) + 10 cos(x/10)|:
// 10, 9.95, 9.81, 9.60 for x = 0..3, all rounding to 10, then 9.32. The
// last of them to be visited decides (10, 10): (3, 3) forwards, (0, 0)
// backwards. A 1 x 1 image has nowhere to go.
TEST(Marbre, OrderDecidesWhichPixelStays)
{
    Bitmap forward = coded(12, 12), backward = coded(12, 12);
    Marbre(forward, MarbleVariant::A, 100, 10, false);
    Marbre(backward, MarbleVariant::A, 100, 10, true);
    EXPECT_EQ(forward.pixel(10, 10), makeColour(3, 3, 7));
    EXPECT_EQ(backward.pixel(10, 10), makeColour(0, 0, 7));
    Bitmap one = coded(1, 1);
    for (MarbleVariant v : {MarbleVariant::A, MarbleVariant::B, MarbleVariant::C, MarbleVariant::D}) {
        Marbre(one, v, 100, 10);
        EXPECT_EQ(one.pixel(0, 0), makeColour(0, 0, 7));
    }
}

std::vector<textures::Lanes> availableLanes()
{
    std::vector<textures::Lanes> lanes{textures::Lanes::Plain};
    if (textures::haveAvx2())
        lanes.push_back(textures::Lanes::Avx2);
    if (textures::haveAvx512())
        lanes.push_back(textures::Lanes::Avx512);
    return lanes;
}

// Widths whose rows end on a 4-byte boundary (4, 16) leave no padding after
// the last pixel; the others do. 2100 columns and 11 rows take more than one
// of the pieces the lanes work in.
const std::pair<int, int> kAwkwardSizes[] = {{1, 1}, {4, 1}, {5, 3}, {4, 4}, {16, 9}, {37, 29}, {101, 40}, {2100, 11}};

// The marble rule written out pixel by pixel, rounding halves to even.
void literalMarbre(Bitmap& b, MarbleVariant v, int p, int scale, bool backwards)
{
    const int w = b.width(), h = b.height();
    const double s = scale;
    auto visit = [&](int x, int y) {
        const double ay = double(y % p) / s, ax = double(x % p) / s;
        const double cy = v == MarbleVariant::C ? s * std::sin(ay) : s * std::cos(ay);
        const double sx = v == MarbleVariant::C   ? -s * std::cos(ax)
                          : v == MarbleVariant::D ? -std::tan(ax) / s
                                                  : -s * std::sin(ax);
        const double fx = v == MarbleVariant::B ? x - sx + cy : x + sx + cy;
        const double fy = v == MarbleVariant::B ? y - cy + sx : y + cy + sx;
        const double nx = std::nearbyint(std::fabs(fx)), ny = std::nearbyint(std::fabs(fy));
        if (nx < w && ny < h)
            b.setPixel(int(nx), int(ny), b.pixel(x, y));
    };
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < w; ++j)
            backwards ? visit(w - 1 - j, h - 1 - i) : visit(j, i);
}

// Every way of computing the swirls gives the rule's bytes: small and large
// scales (offsets far beyond the image), negative ones, periods shorter
// than the image, both orders, and tangents that grow huge near odd
// multiples of pi/2.
TEST(Marbre, EveryLaneWidthFollowsTheRule)
{
    struct Case {
        MarbleVariant variant;
        int period, scale;
        bool backwards;
    };
    const Case cases[] = {{MarbleVariant::A, 100, 10, false},       {MarbleVariant::A, 102, 100, false},
                          {MarbleVariant::A, 100, 10, true},        {MarbleVariant::B, 7, 3, false},
                          {MarbleVariant::B, 100, -10, true},       {MarbleVariant::C, 13, 4, false},
                          {MarbleVariant::A, 9, 2000000000, false}, {MarbleVariant::D, 100, 10, false},
                          {MarbleVariant::D, 400, 1, false},        {MarbleVariant::D, 50, 7, true}};
    // Sizes where most rows take the row-wide moves: offsets as large as the
    // image, the bottom rows' and right columns' targets outside, a width
    // whose last row ends the bitmap (no padding after the last pixel), and
    // periods shorter and longer than the distance the copies fetch ahead.
    const std::pair<int, int> wideSizes[] = {{64, 80}, {300, 260}};
    const Case wideCases[] = {{MarbleVariant::A, 102, 100, false}, {MarbleVariant::A, 102, 100, true},
                              {MarbleVariant::B, 102, 100, false}, {MarbleVariant::B, 30, 10, true},
                              {MarbleVariant::C, 400, 100, false}, {MarbleVariant::D, 100, 10, false},
                              {MarbleVariant::A, 3, 2, false},     {MarbleVariant::A, 1, 5, true}};
    std::vector<std::tuple<int, int, Case>> runs;
    for (const auto& [w, h] : kAwkwardSizes)
        for (const Case& c : cases)
            runs.emplace_back(w, h, c);
    for (const auto& [w, h] : wideSizes)
        for (const Case& c : wideCases)
            runs.emplace_back(w, h, c);
    for (const auto& [w, h, c] : runs) {
        const Bitmap start = test::noise(w, h, unsigned(w * 31 + h));
        Bitmap expected = start;
        literalMarbre(expected, c.variant, c.period, c.scale, c.backwards);
        for (textures::Lanes lanes : availableLanes()) {
            Bitmap b = start;
            textures::marbreWith(b, c.variant, c.period, c.scale, c.backwards, lanes);
            ASSERT_TRUE(b == expected) << w << "x" << h << " variant " << int(c.variant) << " P " << c.period << " S "
                                       << c.scale << " lanes " << int(lanes) << "\n"
                                       << test::dumpMismatch("marbre", b, expected);
        }
    }
}

// The draws come in the order the rule gives them: r, then the horizontal
// and the vertical offsets, pixel after pixel in row order; each pixel takes
// the one at those offsets, within the radius, and keeps its own outside.
// Every way of spraying (the routine itself and each lane width) gives the
// rule's bytes and leaves the generator where the rule does, including radii
// reaching past the image and sources in the last bytes of the bitmap.
TEST(Spray, EveryLaneWidthFollowsTheRule)
{
    for (const auto& [w, h] : kAwkwardSizes)
        for (int radius : {0, 1, 5, 10, 60}) {
            const Bitmap source = test::noise(w, h, unsigned(radius + 7));
            const Bitmap before = test::noise(w, h, 3);
            RandomGenerator rule(unsigned(w * h + radius));
            Bitmap expected = before;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const int r = rule.random(radius);
                    const int sx = x + r - rule.random(2 * r);
                    const int sy = y + r - rule.random(2 * r);
                    if (sx >= 0 && sx < w && sy >= 0 && sy < h)
                        expected.setPixel(x, y, source.pixel(sx, sy));
                }
            RandomGenerator routineRandom(unsigned(w * h + radius));
            Bitmap routineTarget = before;
            Spray(source, routineTarget, radius, routineRandom);
            ASSERT_TRUE(routineTarget == expected) << w << "x" << h << " radius " << radius << "\n"
                                                   << test::dumpMismatch("spray", routineTarget, expected);
            EXPECT_EQ(routineRandom.state(), rule.state()) << "three draws a pixel";
            for (textures::Lanes lanes : availableLanes()) {
                RandomGenerator random(unsigned(w * h + radius));
                Bitmap target = before;
                textures::sprayWith(source, target, radius, random, lanes);
                ASSERT_TRUE(target == expected)
                    << w << "x" << h << " radius " << radius << " lanes " << int(lanes) << "\n"
                    << test::dumpMismatch("spray", target, expected);
                EXPECT_EQ(random.state(), rule.state()) << w << "x" << h << " lanes " << int(lanes);
            }
        }
}

// Each pixel after the first of a row is copied 0..L-1 rows down, L =
// min(H div 2, amount); the last L rows are never sources.
TEST(SprayDecompose, CopiesPixelsDownWithinTheirColumn)
{
    RandomGenerator random = fixedGenerator(31);
    const Bitmap start = coded(25, 20);
    Bitmap b = start;
    SprayDecompose(b, 200, random); // L = 10
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 25; ++x) {
            const Colour c = b.pixel(x, y);
            EXPECT_EQ(redOf(c), x);
            EXPECT_LE(greenOf(c), y);
            EXPECT_GT(int(greenOf(c)), y - 10) << x << "," << y;
            if (x == 0) {
                EXPECT_EQ(c, start.pixel(0, y));
            }
        }
    EXPECT_FALSE(b == start);
    Bitmap row = coded(8, 1); // L = 0: nothing moves
    SprayDecompose(row, 90, random);
    EXPECT_TRUE(row == coded(8, 1));
}

// Left half red, right half blue, 4 x 3: the first difference (x = 1 to 2
// on row 0) sets the reference to blue and blackens (1, 0); afterwards a
// red pixel next to blue is blackened itself, and the backward scans
// blacken the left neighbour of a blue pixel. Column 1 ends black.
TEST(BandeDessinee, OutlinesTheBordersBetweenRegions)
{
    const Colour red = makeColour(255, 0, 0), blue = makeColour(0, 0, 255);
    const std::initializer_list<std::pair<char, Colour>> legend = {{'r', red}, {'b', blue}, {'#', kBlack}};
    Bitmap columns = fromAscii({"rrbb", "rrbb", "rrbb"}, legend);
    BandeDessinee(columns, 20);
    EXPECT_EQ(toAscii(columns, legend), "r#bb\nr#bb\nr#bb\n");
    // Red above blue, 3 x 4: the first difference is downwards at (0, 1),
    // reference blue; the backward scan marks (2, 1) above a blue pixel;
    // (1, 1) lies outside both scans' columns.
    Bitmap rows = fromAscii({"rrr", "rrr", "bbb", "bbb"}, legend);
    BandeDessinee(rows, 20);
    EXPECT_EQ(toAscii(rows, legend), "rrr\n#r#\nbbb\nbbb\n");
    // One pass has no backward scan.
    Bitmap once = fromAscii({"rrr", "rrr", "bbb", "bbb"}, legend);
    BandeDessinee(once, 1);
    EXPECT_EQ(toAscii(once, legend), "rrr\n#rr\nbbb\nbbb\n");
    Bitmap plain = filled(5, 5, red);
    BandeDessinee(plain, 20);
    EXPECT_TRUE(plain == filled(5, 5, red));
}

} // namespace
} // namespace px
