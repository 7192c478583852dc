// Block, column, row, tile and shape deformations on small grids whose
// expected values follow from the rules by hand. Grids are grey values
// 10 * y + x unless a case says otherwise.
#include "transforms/StripEffects.h"
#include "effects/EffectTestHelpers.h"
#include "transforms/StripKernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <random>

namespace px {
namespace {

using test::greys;
using test::greysOf;
using test::Grid;

Grid numbered(int width, int height)
{
    Grid g(static_cast<std::size_t>(height), std::vector<int>(static_cast<std::size_t>(width)));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            g[std::size_t(y)][std::size_t(x)] = 10 * y + x;
    return g;
}

struct StripCase {
    const char* what;
    std::function<void(Bitmap&)> effect;
    Grid before;
    Grid after;
};

void PrintTo(const StripCase& c, std::ostream* os)
{
    *os << c.what;
}

class StripGrid : public ::testing::TestWithParam<StripCase> {};

TEST_P(StripGrid, MovesThePixelsAsTheRuleSays)
{
    Bitmap b = greys(GetParam().before);
    GetParam().effect(b);
    EXPECT_EQ(greysOf(b), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Mosaic, StripGrid,
    ::testing::Values(StripCase{"a block larger than the image takes pixel (0,0)",
                                [](Bitmap& b) { Mosaique(b, 5); },
                                {{7, 1, 2}, {3, 4, 5}},
                                {{7, 7, 7}, {7, 7, 7}}},
                      StripCase{"blocks of 2 cut short at the edges",
                                [](Bitmap& b) { Mosaique(b, 2); },
                                numbered(3, 3),
                                {{0, 0, 2}, {0, 0, 2}, {20, 20, 22}}},
                      StripCase{"blocks of 1", [](Bitmap& b) { Mosaique(b, 1); }, numbered(3, 2), numbered(3, 2)},
                      StripCase{"blocks of 0", [](Bitmap& b) { Mosaique(b, 0); }, numbered(3, 2), numbered(3, 2)}));

// L = 2; Lamelle offsets x mod 3 = 0, 1, 2, 0; Triangle offsets 0, 1, 2, 1,
// 0, 1. A column with offset k takes rows 0..1 into rows k..1+k.
INSTANTIATE_TEST_SUITE_P(
    Slides, StripGrid,
    ::testing::Values(
        StripCase{"Lamelle",
                  [](Bitmap& b) { Lamelle(b, 2); },
                  numbered(4, 4),
                  {{0, 1, 2, 3}, {10, 1, 12, 13}, {20, 11, 2, 23}, {30, 31, 12, 33}}},
        StripCase{"Lamelle on one row: L = 0", [](Bitmap& b) { Lamelle(b, 90); }, numbered(5, 1), numbered(5, 1)},
        StripCase{"Triangle",
                  [](Bitmap& b) { Triangle(b, 2); },
                  numbered(6, 4),
                  {{0, 1, 2, 3, 4, 5}, {10, 1, 12, 3, 14, 5}, {20, 11, 2, 13, 24, 15}, {30, 31, 12, 33, 34, 35}}},
        StripCase{"Triangle on one row", [](Bitmap& b) { Triangle(b, 100); }, numbered(9, 1), numbered(9, 1)}));

// Grey g rises round(g / 255 * 3) rows: 255 by 3 (out of the image from row
// 1), 85 by 1, 170 by 2; the later row's pixel wins row 1.
INSTANTIATE_TEST_SUITE_P(Lift, StripGrid,
                         ::testing::Values(StripCase{"Décomposée",
                                                     [](Bitmap& b) { Decomposee(b, 3); },
                                                     {{0}, {255}, {85}, {170}},
                                                     {{0}, {170}, {85}, {170}}}));

// a = 10: P = 10, h = 5. Row 0: s = 11, m = 10: new samples at x mod 11 = 0
// and x mod 10 = 1. Row 1: s = 1, every pixel samples itself. Row 7:
// s = 10 - 7 = 3, m = |5 - 7| + 5 = 7.
Grid scrambleSource()
{
    Grid g(8, std::vector<int>(12));
    for (auto& row : g)
        for (int x = 0; x < 12; ++x)
            row[std::size_t(x)] = 10 * x;
    return g;
}

TEST(Cryptee, HoldsSamplesAlongEachRow)
{
    Bitmap b = greys(scrambleSource());
    Cryptee(b, 10);
    const Grid g = greysOf(b);
    EXPECT_EQ(g[0], (std::vector<int>{0, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 110}));
    EXPECT_EQ(g[1], scrambleSource()[1]);
    EXPECT_EQ(g[7], (std::vector<int>{0, 10, 10, 30, 30, 30, 60, 60, 80, 90, 90, 90}));
    for (const auto& row : g)
        EXPECT_EQ(row[0], 0) << "pixel 0 of every row keeps its value";
}

// s = 2: the tile is every second pixel of the 4 x 4 image. MultiplieurChevauche
// on 9 x 9, a = 4: s = 4, step = round(8/3) = 3, tile pixels 0, 2, 4, 6 of
// each line; the last tile to cover a pixel starts at the multiple of 3
// before it.
Grid tiled(int size, int period, int scale)
{
    Grid g(static_cast<std::size_t>(size), std::vector<int>(static_cast<std::size_t>(size)));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            g[std::size_t(y)][std::size_t(x)] = 10 * scale * (y % period) + scale * (x % period);
    return g;
}

INSTANTIATE_TEST_SUITE_P(
    Tiles, StripGrid,
    ::testing::Values(StripCase{"Multiplieur", [](Bitmap& b) { Multiplieur(b, 2); }, numbered(4, 4), tiled(4, 2, 2)},
                      StripCase{"Multiplieur chevauché", [](Bitmap& b) { MultiplieurChevauche(b, 4); }, numbered(9, 9),
                                tiled(9, 3, 2)},
                      StripCase{"Multiplieur on one column: s = 0", [](Bitmap& b) { Multiplieur(b, 100); },
                                numbered(1, 17), numbered(1, 17)},
                      StripCase{"Multiplieur chevauché on one row", [](Bitmap& b) { MultiplieurChevauche(b, 150); },
                                numbered(17, 1), numbered(17, 1)}));

// W = 8. Trapèze bas, H = 4, off = 2: t = round(3/4 * 2 = 1.5) = 2, then 1,
// round(0.5) = 0, 0. A span of 4 takes source pixels 0, 2, 4, 6; a span of 6
// takes 0, 1, 2, 4, 5, 6 (nearest: k * 8 / width).
// Rond, H = 5, off = 3: t = 0, round(2.12) = 2, 3, 2, 0 about the middle;
// Hexagone 3, 2, 0, 2, 3 inset from both edges; Sablier 0, 3, 0, 3, 0.
// Rideau, H = 3: t = round(|cos(pi y / 2)| * amount): amount 4 at rows 0 and
// 2, 0 at row 1. The left half (pixels 0..3) is drawn into (0, t), the right
// half (4..7) into (7 - t, 7); the last column keeps its value.
INSTANTIATE_TEST_SUITE_P(
    Shapes, StripGrid,
    ::testing::Values(
        StripCase{"Trapèze bas",
                  [](Bitmap& b) { Formes(b, 8, 2); },
                  numbered(8, 4),
                  {{0, 1, 0, 2, 4, 6, 6, 7}, {10, 10, 11, 12, 14, 15, 16, 17}, numbered(8, 4)[2], numbered(8, 4)[3]}},
        StripCase{
            "Trapèze haut",
            [](Bitmap& b) { Formes(b, 9, 2); },
            numbered(8, 4),
            {numbered(8, 4)[0], numbered(8, 4)[1], {20, 20, 21, 22, 24, 25, 26, 27}, {30, 31, 30, 32, 34, 36, 36, 37}}},
        StripCase{"Rond keeps its first and last rows",
                  [](Bitmap& b) { Formes(b, 12, 3); },
                  numbered(8, 5),
                  {numbered(8, 5)[0],
                   {10, 11, 10, 12, 14, 16, 16, 17},
                   {20, 20, 21, 22, 24, 25, 26, 27},
                   {30, 31, 30, 32, 34, 36, 36, 37},
                   numbered(8, 5)[4]}},
        StripCase{"Hexagone",
                  [](Bitmap& b) { Formes(b, 10, 3); },
                  numbered(8, 5),
                  {{0, 1, 2, 0, 4, 5, 6, 7},
                   {10, 11, 10, 12, 14, 16, 16, 17},
                   numbered(8, 5)[2],
                   {30, 31, 30, 32, 34, 36, 36, 37},
                   {40, 41, 42, 40, 44, 45, 46, 47}}},
        StripCase{"Sablier",
                  [](Bitmap& b) { Formes(b, 13, 3); },
                  numbered(8, 5),
                  {numbered(8, 5)[0],
                   {10, 10, 11, 12, 14, 15, 16, 17},
                   numbered(8, 5)[2],
                   {30, 30, 31, 32, 34, 35, 36, 37},
                   numbered(8, 5)[4]}},
        StripCase{"Rideau",
                  [](Bitmap& b) { Rideau(b, 15, 100); },
                  numbered(8, 3),
                  {{0, 1, 2, 4, 5, 6, 7, 7}, numbered(8, 3)[1], {20, 21, 22, 24, 25, 26, 27, 27}}},
        StripCase{"Rideau squeezed",
                  [](Bitmap& b) { Rideau(b, 15, 2); },
                  numbered(8, 3),
                  {{0, 2, 2, 3, 4, 4, 6, 7}, numbered(8, 3)[1], {20, 22, 22, 23, 24, 24, 26, 27}}},
        StripCase{"Rideau at 0", [](Bitmap& b) { Rideau(b, 15, 0); }, numbered(8, 3), numbered(8, 3)}));

// The curves divide by H - 1: an image one pixel high stays as it is.
class OneRowShapes : public ::testing::TestWithParam<int> {};

TEST_P(OneRowShapes, LeaveTheRow)
{
    Bitmap b = greys(numbered(9, 1));
    if (GetParam() == 15)
        Rideau(b, 15, 100);
    else
        Formes(b, GetParam(), 100);
    EXPECT_EQ(greysOf(b), numbered(9, 1));
}

INSTANTIATE_TEST_SUITE_P(Shapes, OneRowShapes, ::testing::Values(8, 9, 10, 12, 13, 15));

// The slides and the lift on images wide enough to cross the column strips
// the routines walk, against the rules applied literally: Lamelle and
// Triangle copy pixel (x, y) to (x, y + k) for source rows from H-1-L up to
// 0; Décomposée copies each pixel of a copy of the image d rows up, in
// scan-line order; Cryptée holds samples along each row.
TEST(StripEffects, WideImagesFollowTheLiteralRules)
{
    std::mt19937 rng(11);
    const Bitmap source = test::randomImage(rng, 1100, 230);
    const int W = source.width(), H = source.height();
    const auto slid = [&](int L, const std::function<int(int)>& k) {
        Bitmap b = source;
        for (int y = H - 1 - L; y >= 0; --y)
            for (int x = 0; x < W; ++x)
                std::memcpy(b.row(y + k(x)) + 3 * x, b.row(y) + 3 * x, 3);
        return b;
    };
    std::vector<strips::SlideLanes> lanes{strips::SlideLanes::Plain};
    if (strips::bestSlideLanes() == strips::SlideLanes::Avx512)
        lanes.push_back(strips::SlideLanes::Avx512);
    for (strips::SlideLanes l : lanes) {
        Bitmap b = source;
        strips::lamelleWith(b, 90, l);
        EXPECT_TRUE(b == slid(90, [](int x) { return x % 91; })) << int(l);
        b = source;
        strips::triangleWith(b, 100, l);
        EXPECT_TRUE(b == slid(100, [](int x) { return x % 200 > 100 ? 200 - x % 200 : x % 200; })) << int(l);
    }
    Bitmap b = source;

    Bitmap lifted = source;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const std::uint8_t* p = source.row(y) + 3 * x;
            const int d = int(std::nearbyint((p[0] + p[1] + p[2]) / 3.0 / 255.0 * 100));
            if (y - d >= 0)
                std::memcpy(lifted.row(y - d) + 3 * x, p, 3);
        }
    b = source;
    Decomposee(b, 100);
    EXPECT_TRUE(b == lifted);

    for (int a : {50, 7, 200}) {
        Bitmap scrambled = source;
        const int P = a < 5 ? 4 : a & ~1, h = (P + 1) >> 1;
        for (int y = 0; y < H; ++y) {
            int s = y % P;
            s = s > h ? P - s : s;
            s = s == 0 ? P + 1 : s;
            const int m = std::abs(h - y % (P + 1)) + h;
            std::uint8_t* row = scrambled.row(y);
            std::uint8_t q[3];
            std::memcpy(q, row, 3);
            for (int x = 0; x < W; ++x) {
                if (x % s == 0 || x % m == 1)
                    std::memcpy(q, row + 3 * x, 3);
                std::memcpy(row + 3 * x, q, 3);
            }
        }
        for (strips::SlideLanes l : lanes) {
            b = source;
            strips::crypteeWith(b, a, l);
            EXPECT_TRUE(b == scrambled) << a << ", lanes " << int(l);
        }
    }
}

} // namespace
} // namespace px
