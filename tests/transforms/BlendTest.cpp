// "Mirage", "Agrandissement flou" and the two half-image mirrors.
#include "effects/EffectTestHelpers.h"
#include "transforms/Deformations.h"
#include "transforms/EnlargeKernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

namespace px {
namespace {

using test::greys;
using test::greysOf;
using test::Grid;

Grid transposed(const Grid& g)
{
    Grid t(g[0].size(), std::vector<int>(g.size()));
    for (std::size_t y = 0; y < g.size(); ++y)
        for (std::size_t x = 0; x < g[y].size(); ++x)
            t[x][y] = g[y][x];
    return t;
}

struct GridCase {
    const char* what;
    Grid before;
    Grid after;
};

void PrintTo(const GridCase& c, std::ostream* os)
{
    *os << c.what;
}

// Mirage at n = 1 blends the whole width: M(x) = A(4 - x), B(x) = A(x),
// result B + MulDiv(x, M - B, 4). For A = 0, 20, 50, 30, 60: x = 1 gives
// 20 + round(10/4 = 2.5) = 23, x = 3 gives 30 + round(-30/4 = -7.5) = 22
// (halves away from zero), x = 4 gives 60 + (0 - 60) = 0 = column 0.
class MirageGrid : public ::testing::TestWithParam<std::tuple<GridCase, int>> {};

TEST_P(MirageGrid, BlendsTheBandsAsTheRuleSays)
{
    const auto& [c, n] = GetParam();
    Bitmap b = greys(c.before);
    Mirage(b, n);
    EXPECT_EQ(greysOf(b), c.after);
    // The vertical pass is the same blend down the columns.
    Bitmap t = greys(transposed(c.before));
    Mirage(t, n);
    EXPECT_EQ(greysOf(t), transposed(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MirageGrid,
    ::testing::Values(
        std::tuple{GridCase{"whole width at 1",
                            {{0, 20, 50, 30, 60}, {0, 20, 50, 30, 60}},
                            {{0, 23, 50, 22, 0}, {0, 23, 50, 22, 0}}},
                   1},
        std::tuple{GridCase{"whole width, second example", {{10, 20, 30, 40, 90}}, {{10, 25, 30, 25, 10}}}, 1},
        // Bands of one pixel would divide by zero: left unchanged.
        std::tuple{GridCase{"bands of one pixel", {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}},
                   2},
        std::tuple{GridCase{"n wider than the image", {{1, 2, 3}, {4, 5, 6}}, {{1, 2, 3}, {4, 5, 6}}}, 20}));

// 2 x 2 at n = 1: column 1 takes column 0, then row 1 takes row 0.
TEST(Mirage, TwoByTwoBecomesItsFirstPixel)
{
    Bitmap b = greys({{9, 100}, {50, 7}});
    Mirage(b, 1);
    EXPECT_EQ(greysOf(b), (Grid{{9, 9}, {9, 9}}));
}

// n = 4 on 8 x 8: bands of two; the band's first column keeps its value and
// the last takes column 0 (MulDiv(1, M - B, 1) = M - B), then likewise for
// the rows, on the result of the column pass.
TEST(Mirage, NarrowBandsCopyTheOppositeEdge)
{
    std::mt19937 rng(5);
    const Bitmap source = test::randomImage(rng, 8, 8);
    Bitmap expected = source;
    for (int y = 0; y < 8; ++y)
        std::memcpy(expected.row(y) + 7 * 3, expected.row(y), 3);
    std::memcpy(expected.row(7), expected.row(0), 8 * 3);
    Bitmap b = source;
    Mirage(b, 4);
    EXPECT_TRUE(b == expected);
}

// The rule applied literally on images wide and tall enough for the
// eight- and sixteen-lane blends: B + MulDiv(p, M - B, band - 1), halves
// away from zero, columns first, then rows on the columns' result.
TEST(Mirage, WideImagesFollowTheLiteralRule)
{
    const auto mulDiv = [](int p, int q, int d) {
        const int magnitude = (2 * p * std::abs(q) + d) / (2 * d);
        return q < 0 ? -magnitude : magnitude;
    };
    std::mt19937 rng(11);
    const Bitmap source = test::randomImage(rng, 203, 67);
    for (int n : {1, 2, 3}) {
        Bitmap expected = source;
        const int bw = 203 / n, bh = 67 / n;
        for (int y = 0; y < 67; ++y) {
            const std::vector<std::uint8_t> row(expected.row(y), expected.row(y) + 203 * 3);
            for (int x = 0; x < bw; ++x)
                for (int c = 0; c < 3; ++c) {
                    const int b = row[std::size_t(3 * (203 - bw + x) + c)], m = row[std::size_t(3 * (bw - 1 - x) + c)];
                    expected.row(y)[3 * (203 - bw + x) + c] = std::uint8_t(b + mulDiv(x, m - b, bw - 1));
                }
        }
        const Bitmap columns = expected;
        for (int y = 0; y < bh; ++y)
            for (int i = 0; i < 203 * 3; ++i) {
                const int b = columns.row(67 - bh + y)[i], m = columns.row(bh - 1 - y)[i];
                expected.row(67 - bh + y)[i] = std::uint8_t(b + mulDiv(y, m - b, bh - 1));
            }
        Bitmap b = source;
        Mirage(b, n);
        EXPECT_TRUE(b == expected) << "n = " << n;
    }
}

// Fixed point: xstep = 3 * 32768 div 4 = 24576. x = 1: fx = 24576, weights
// 8192 and 24576: (0 * 8192 + 100 * 24576) >> 15 = 75. x = 2: fx = 16384:
// (75 + 200) / 2 = 137, reading the 75 just written. x = 3: fx = 8192:
// (137 * 24576 + 40 * 8192) >> 15 = 112.
// A one-pixel-wide column: ystep = 2 * 32768 div 3 = 21845; row 1:
// (0 * 10923 + 90 * 21845) >> 15 = 59; row 2 (sy = 1, fy = 10922): row 1 as
// written, (59 * 21846 + 180 * 10922) >> 15 = 99.
// 2 x 2: row 0 ends (0 + 101) / 2 = 50; row 1 (fy = 16384): (0 + 50) / 2 =
// 25, then (0 + 50 + 25 + 7) / 4 = 20.
class BlurredEnlargement : public ::testing::TestWithParam<GridCase> {};

TEST_P(BlurredEnlargement, ReadsSeeEarlierWrites)
{
    Bitmap b = greys(GetParam().before);
    AgrandissementFlou(b);
    EXPECT_EQ(greysOf(b), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Cases, BlurredEnlargement,
                         ::testing::Values(GridCase{"one row", {{0, 100, 200, 40}}, {{0, 75, 137, 112}}},
                                           GridCase{"one column", {{0}, {90}, {180}}, {{0}, {59}, {99}}},
                                           GridCase{"two by two", {{0, 101}, {50, 7}}, {{0, 50}, {25, 20}}},
                                           GridCase{"one pixel", {{77}}, {{77}}}));

// The rule applied literally, pixel by pixel in place: wide images take the
// blocks of rows at once, whose lanes must give the same bytes. Widths 300
// and 1000 reach the columns whose source is two columns back (x - sx = 2
// from x = 298 and x = 993).
class BlurredEnlargementSizes : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(BlurredEnlargementSizes, FollowTheLiteralRule)
{
    const auto [W, H] = GetParam();
    std::mt19937 rng(std::uint32_t(W * 7 + H));
    const Bitmap source = test::randomImage(rng, W, H);
    Bitmap expected = source;
    const int xstep = (W - 1) * 32768 / W, ystep = (H - 1) * 32768 / H;
    for (int y = 0, ya = 0; y < H; ++y, ya += ystep) {
        const int sy = ya >> 15, fy = ya & 32767;
        const std::uint8_t* row0 = expected.row(sy);
        const std::uint8_t* row1 = expected.row(sy < H - 1 ? sy + 1 : sy);
        for (int x = 0, xa = 0; x < W; ++x, xa += xstep) {
            const int sx = xa >> 15, fx = xa & 32767, sx1 = std::min(sx + 1, W - 1);
            const int w11 = (fx * fy) >> 15, w10 = (fx * (32768 - fy)) >> 15;
            const int w00 = (32768 - fy) - w10, w01 = fy - w11;
            for (int c = 0; c < 3; ++c)
                expected.row(y)[3 * x + c] = std::uint8_t((row0[3 * sx + c] * w00 + row0[3 * sx1 + c] * w10 +
                                                           row1[3 * sx + c] * w01 + row1[3 * sx1 + c] * w11) >>
                                                          15);
        }
    }
    Bitmap b = source;
    AgrandissementFlou(b);
    EXPECT_TRUE(b == expected);
    // Every path this processor has: pixel by pixel, blocks of 8 and 16 rows.
    for (int lanes : {0, 8, 16}) {
        if ((lanes == 8 && !enlarge::haveAvx2()) || (lanes == 16 && !enlarge::haveAvx512()))
            continue;
        b = source;
        enlarge::enlargeWith(b, lanes);
        EXPECT_TRUE(b == expected) << lanes << " lanes";
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, BlurredEnlargementSizes,
                         ::testing::Values(std::pair{300, 40}, std::pair{1000, 19}, std::pair{9, 17}, std::pair{10, 9},
                                           std::pair{17, 1}, std::pair{18, 40}, std::pair{35, 34}));

struct MirrorCase {
    const char* what;
    std::vector<int> before;
    std::vector<int> after;
};

void PrintTo(const MirrorCase& c, std::ostream* os)
{
    *os << c.what;
}

// The same line of values as a column for "Reflet horizontal" and as a row
// for "Reflet vertical".
class Mirrors : public ::testing::TestWithParam<MirrorCase> {};

TEST_P(Mirrors, CopyTheFirstHalfOntoTheSecond)
{
    const MirrorCase& c = GetParam();
    Bitmap row = greys({c.before});
    RefletVertical(row);
    EXPECT_EQ(greysOf(row), Grid{c.after});

    Grid column;
    for (int v : c.before)
        column.push_back({v});
    Bitmap b = greys(column);
    RefletHorizontal(b);
    EXPECT_EQ(greysOf(b), transposed(Grid{c.after}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Mirrors,
    ::testing::Values(MirrorCase{"odd: the middle stays", {10, 20, 30, 40, 50}, {10, 20, 30, 20, 10}},
                      MirrorCase{"even", {10, 20, 30, 40}, {10, 20, 20, 10}}, MirrorCase{"one", {10}, {10}}));

} // namespace
} // namespace px
