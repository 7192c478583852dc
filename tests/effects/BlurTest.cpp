#include "effects/Blur.h"
#include "effects/EffectTestHelpers.h"

#include <gtest/gtest.h>

namespace px {
namespace {

using test::greys;
using test::greysOf;
using test::Grid;

TEST(Flou4, ReadsTheReplacedPixelsAboveAndLeftAndKeepsTheFrame)
{
    Bitmap b = greys({{0, 40, 80, 120}, {200, 100, 0, 60}, {8, 16, 24, 32}, {4, 4, 4, 4}});
    Flou4(b, 0, 0, b.width(), b.height());
    // (1,1): (40 + 16 + 200 + 0) >> 2 = 64
    // (2,1): (80 + 24 + 64 + 60) >> 2 = 57   (left is the new 64)
    // (1,2): (64 + 4 + 8 + 24) >> 2 = 25     (above is the new 64)
    // (2,2): (57 + 4 + 25 + 32) >> 2 = 29
    EXPECT_EQ(greysOf(b), (Grid{{0, 40, 80, 120}, {200, 64, 57, 60}, {8, 25, 29, 32}, {4, 4, 4, 4}}));
}

TEST(Flou4, RectangleInAnyCornerOrderIsClippedInsideTheFrame)
{
    const Grid start{{0, 0, 0, 0, 0}, {0, 100, 100, 100, 0}, {0, 100, 100, 100, 0}, {0, 0, 0, 0, 0}};
    Bitmap a = greys(start), b = greys(start);
    Flou4(a, 2, 2, 9, -5); // columns 2..3, rows 1..2 after clipping
    Flou4(b, 9, -5, 2, 2);
    // (2,1): (0 + 100 + 100 + 100) >> 2 = 75; (3,1): (0 + 100 + 75 + 0) >> 2 = 43
    // (2,2): (75 + 0 + 100 + 100) >> 2 = 68; (3,2): (43 + 0 + 68 + 0) >> 2 = 27
    const Grid expected{{0, 0, 0, 0, 0}, {0, 100, 75, 43, 0}, {0, 100, 68, 27, 0}, {0, 0, 0, 0, 0}};
    EXPECT_EQ(greysOf(a), expected);
    EXPECT_EQ(greysOf(b), expected);
}

TEST(Flou4, ImagesWithoutAnInteriorAreUnchanged)
{
    for (const Grid& g : {Grid{{7}}, Grid{{1, 2, 3}, {4, 5, 6}}, Grid{{1, 2}, {3, 4}, {5, 6}}}) {
        Bitmap b = greys(g);
        Flou4(b, 0, 0, b.width(), b.height());
        EXPECT_EQ(greysOf(b), g);
    }
}

struct HallucinationCase {
    const char* name;
    int n;
    Grid start, expected;
};

class HallucinationRule : public ::testing::TestWithParam<HallucinationCase> {};

TEST_P(HallucinationRule, SamplesAtDistanceNReadingEarlierWrites)
{
    Bitmap b = greys(GetParam().start);
    Hallucination(b, GetParam().n);
    EXPECT_EQ(greysOf(b), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, HallucinationRule,
    ::testing::Values(HallucinationCase{"ZeroDoesNothing", 0, {{1, 2}, {3, 4}}, {{1, 2}, {3, 4}}},
                      // One row: up = down = row 0 (H - y = 1 is past the last row and is
                      // brought back to it). x=0: left 0, right 1 -> (0+0+100+100)>>2 = 50;
                      // x=1: left 0 (new 50), right 2 -> (50+50+200+200)>>2 = 125;
                      // x=2: left 1 (new 125), right W-x = 1 -> 125.
                      HallucinationCase{"OneRow", 1, {{0, 100, 200}}, {{50, 125, 125}}},
                      // n past the width: x=0: right W-0 = 3 -> 2: (0+0+200+200)>>2 = 100;
                      // x=1: left itself (100), right W-1 = 2 -> (100+100+200+200)>>2 = 150;
                      // x=2: left itself (200), right W-2 = 1 (new 150) -> 175.
                      HallucinationCase{"DistanceBeyondTheWidth", 5, {{0, 100, 200}}, {{100, 150, 175}}},
                      // 2 x 3, n = 1. Row 0 (up 0, down 1): (0,0) = (0+40+20+60)>>2 = 30;
                      // (1,0): left 0 (new 30), right W-1 = 1: (30+40+20+60)>>2 = 37.
                      // Row 1 (up 0, down 2): both pixels (30+100+37+120)>>2 = 71.
                      // Row 2 (up 1, down H-2 = 1): all samples 71.
                      HallucinationCase{
                          "TwoColumns", 1, {{0, 20}, {40, 60}, {100, 120}}, {{30, 37}, {71, 71}, {71, 71}}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace px
