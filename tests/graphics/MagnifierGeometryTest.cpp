#include "graphics/MagnifierGeometry.h"

#include <gtest/gtest.h>

#include <array>

namespace px {
namespace {

struct StepCase {
    int step;
    int h;
    int m;
    MagnifierLine horizontal;
    MagnifierLine vertical;
};

// The cross-hair table of the 150-pixel magnifier, written out with m
// substituted: h = 150 / (4 p) rounded half to even, m = 2 p h.
const StepCase kSteps[] = {
    {1, 38, 76, {39, 76, 113, 76}, {76, 39, 76, 113}},
    {2, 19, 76, {39, 77, 113, 77}, {77, 39, 77, 113}},
    {3, 12, 72, {42, 78, 112, 78}, {78, 42, 78, 112}},
    {4, 9, 72, {42, 79, 117, 79}, {79, 42, 79, 112}},
    {5, 8, 80, {43, 79, 117, 79}, {79, 43, 79, 117}},
    {6, 6, 72, {42, 81, 117, 81}, {81, 42, 81, 117}},
    {7, 5, 70, {40, 82, 120, 82}, {82, 40, 82, 120}},
};

class MagnifierStepTable : public ::testing::TestWithParam<StepCase> {};

TEST_P(MagnifierStepTable, HalfSideCentreAndCrossHair)
{
    const StepCase& c = GetParam();
    const MagnifierStep s = magnifierStep(150, c.step);
    EXPECT_EQ(s.halfSide, c.h);
    EXPECT_EQ(s.crossCentre, c.m);
    const auto ends = [](const MagnifierLine& l) { return std::array{l.x0, l.y0, l.x1, l.y1}; };
    EXPECT_EQ(ends(s.horizontal), ends(c.horizontal));
    EXPECT_EQ(ends(s.vertical), ends(c.vertical));
}

INSTANTIATE_TEST_SUITE_P(Steps, MagnifierStepTable, ::testing::ValuesIn(kSteps),
                         [](const auto& info) { return "p" + std::to_string(info.param.step); });

TEST(MagnifierHalfSide, RoundsHalvesToEvenForOtherSides)
{
    EXPECT_EQ(magnifierHalfSide(100, 2), 12); // 12.5
    EXPECT_EQ(magnifierHalfSide(36, 2), 4);   // 4.5
    EXPECT_EQ(magnifierHalfSide(30, 2), 4);   // 3.75
    EXPECT_EQ(magnifierHalfSide(26, 2), 3);   // 3.25
}

struct RegionCase {
    int x, y;
    bool inside;
};

class MagnifierRegion : public ::testing::TestWithParam<RegionCase> {};

// Window 501 x 409 at top 30 of the MDI area: x in 0..321, y in 0..519.
TEST_P(MagnifierRegion, FollowsTheMouseInsideTheRegionOnly)
{
    const RegionCase& c = GetParam();
    EXPECT_EQ(magnifierFollowsMouse(c.x, c.y, 501, 30, 409), c.inside) << c.x << "," << c.y;
}

INSTANTIATE_TEST_SUITE_P(Edges, MagnifierRegion,
                         ::testing::Values(RegionCase{0, 0, true}, RegionCase{321, 519, true},
                                           RegionCase{322, 10, false}, RegionCase{10, 520, false},
                                           RegionCase{-1, 10, false}, RegionCase{10, -1, false}));

TEST(MagnifierCrossHair, DrawsBothLinesWithoutTheirLastPixel)
{
    Bitmap b(150, 150, 24);
    clearMagnifier(b);
    drawCrossHair(b, magnifierStep(150, 7), kWhite);
    const Colour grey = makeColour(128, 128, 128);
    EXPECT_EQ(b.pixel(39, 82), grey);
    EXPECT_EQ(b.pixel(40, 82), kWhite);
    EXPECT_EQ(b.pixel(119, 82), kWhite);
    EXPECT_EQ(b.pixel(120, 82), grey);
    EXPECT_EQ(b.pixel(82, 39), grey);
    EXPECT_EQ(b.pixel(82, 40), kWhite);
    EXPECT_EQ(b.pixel(82, 119), kWhite);
    EXPECT_EQ(b.pixel(82, 120), grey);
    EXPECT_EQ(b.pixel(81, 81), grey);
}

} // namespace
} // namespace px
