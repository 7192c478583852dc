#include "graphics/Canvas.h"
#include "graphics/CanvasTestHelpers.h"

#include <gtest/gtest.h>

namespace px {
namespace {

using test::grid;
using test::sameImage;
using test::white;

TEST(CanvasLine, LeavesOutItsLastPixelSoZeroLengthDrawsNothing)
{
    Bitmap b = white(8, 1);
    Canvas c(b);
    c.moveTo(0, 0);
    EXPECT_EQ(c.lineTo(5, 0), (Rect{0, 0, 5, 1}));
    EXPECT_TRUE(sameImage("line-last", b, grid({"#####..."})));
    EXPECT_EQ(c.penPosition(), (Point{5, 0}));
    c.moveTo(7, 0);
    EXPECT_TRUE(c.lineTo(7, 0).isEmpty());
    EXPECT_TRUE(c.lastChangedRect().isEmpty());
    EXPECT_TRUE(sameImage("line-zero", b, grid({"#####..."})));
}

TEST(CanvasLine, StepsTheMinorAxisByRoundingHalvesTowardTheStart)
{
    // (0,0) to (6,3): minor offsets round(i * 3 / 6) = 0, 0.5->0, 1, 1.5->1, 2, 2.5->2.
    Bitmap b = white(7, 4);
    Canvas c(b);
    c.moveTo(0, 0);
    c.lineTo(6, 3);
    EXPECT_TRUE(sameImage("line-slope", b,
                          grid({"##.....",
                                "..##...",
                                "....##.",
                                "......."})));
    // Steep and backwards, (2,4) to (0,0): minor offsets round(i * 2 / 4) for
    // i = 0..3 are 0, 0.5->0, 1, 1.5->1, so (2,4) (2,3) (1,2) (1,1).
    Bitmap s = white(3, 5);
    Canvas cs(s);
    cs.moveTo(2, 4);
    cs.lineTo(0, 0);
    EXPECT_TRUE(sameImage("line-steep", s,
                          grid({"...",
                                ".#.",
                                ".#.",
                                "..#",
                                "..#"})));
}

TEST(CanvasLine, HugeCoordinatesAreClippedCheaply)
{
    // Four billion steps would take seconds if they were walked.
    Bitmap b = white(6, 6);
    Canvas c(b);
    c.moveTo(-2000000000, 2);
    EXPECT_EQ(c.lineTo(2000000000, 2), (Rect{0, 2, 6, 3}));
    c.moveTo(-1000000000, -1000000000);
    c.lineTo(1000000000, 1000000000);
    c.moveTo(2000000000, 2000000000); // entirely outside
    c.lineTo(2000000000, -2000000000);
    EXPECT_TRUE(sameImage("line-huge", b,
                          grid({"#.....",
                                ".#....",
                                "######",
                                "...#..",
                                "....#.",
                                ".....#"})));
}

struct StyleCase {
    PenStyle style;
    const char* expected; // a 30-pixel line on a 31-pixel row
};

class CanvasLineStyle : public ::testing::TestWithParam<StyleCase> {};

TEST_P(CanvasLineStyle, RunsItsPatternAlongTheLine)
{
    const auto [style, expected] = GetParam();
    Bitmap b = white(31, 1);
    Canvas c(b);
    c.setBrushHollow(true); // gaps left alone
    c.setPenStyle(style);
    c.moveTo(0, 0);
    c.lineTo(30, 0);
    EXPECT_TRUE(sameImage("line-style", b, grid({expected})));
}

INSTANTIATE_TEST_SUITE_P(Styles, CanvasLineStyle,
                         ::testing::Values(StyleCase{PenStyle::Solid, "##############################."},
                                           StyleCase{PenStyle::Dash, "##################......######."},
                                           StyleCase{PenStyle::Dot, "###...###...###...###...###...."},
                                           StyleCase{PenStyle::DashDot, "#########......###......######."},
                                           StyleCase{PenStyle::DashDotDot, "#########...###...###...######."}));

TEST(CanvasLine, StyleContinuesAcrossJoinedLinesAndRestartsAtMoveTo)
{
    Bitmap b = white(11, 2);
    Canvas c(b);
    c.setBrushHollow(true);
    c.setPenStyle(PenStyle::Dot);
    c.moveTo(0, 0);
    c.lineTo(4, 0); // pattern steps 0..3
    c.lineTo(10, 0); // steps 4..9
    c.moveTo(4, 1);
    c.lineTo(10, 1); // restarts at step 0
    EXPECT_TRUE(sameImage("line-phase", b,
                          grid({"###...###..",
                                "....###...."})));
}

TEST(CanvasLine, SolidBrushPaintsStyleGapsInItsColour)
{
    Bitmap b = white(13, 1);
    Canvas c(b);
    c.setBrushColour(test::kRed);
    c.setPenStyle(PenStyle::Dot);
    c.moveTo(0, 0);
    c.lineTo(12, 0);
    EXPECT_TRUE(sameImage("line-gaps", b, grid({"###rrr###rrr."})));
}

TEST(CanvasLine, WiderPensIgnoreTheStyleAndDrawRoundEnds)
{
    // Width 3 along row 3 from x=2 to x=6: every pixel centre closer than 1.5
    // to the segment, the end caps included.
    Bitmap b = white(9, 7);
    Canvas c(b);
    c.setPenWidth(3);
    c.setPenStyle(PenStyle::Dash);
    c.moveTo(2, 3);
    EXPECT_EQ(c.lineTo(6, 3), (Rect{1, 2, 8, 5}));
    EXPECT_TRUE(sameImage("wide-line", b,
                          grid({".........",
                                ".........",
                                ".#######.",
                                ".#######.",
                                ".#######.",
                                ".........",
                                "........."})));
}

struct DotCase {
    int width;
    std::vector<const char*> rows; // a dot at (4, 4) on 9 x 9
};

class CanvasWideDot : public ::testing::TestWithParam<DotCase> {};

TEST_P(CanvasWideDot, ZeroLengthLineLeavesARoundDot)
{
    const DotCase& dc = GetParam();
    Bitmap b = white(9, 9);
    Canvas c(b);
    c.setPenWidth(dc.width);
    c.moveTo(4, 4);
    c.lineTo(4, 4);
    const auto& r = dc.rows;
    EXPECT_TRUE(sameImage("wide-dot", b, grid({r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]})));
}

// Odd widths centre on the pixel (distance^2 < w^2/4); even widths centre half
// a pixel up and left, so they cover exactly w rows and columns.
INSTANTIATE_TEST_SUITE_P(Widths, CanvasWideDot,
                         ::testing::Values(DotCase{2, {".........", ".........", ".........", "...##....", "...##....",
                                                       ".........", ".........", ".........", "........."}},
                                           DotCase{3, {".........", ".........", ".........", "...###...", "...###...",
                                                       "...###...", ".........", ".........", "........."}},
                                           DotCase{4, {".........", ".........", "...##....", "..####...", "..####...",
                                                       "...##....", ".........", ".........", "........."}},
                                           DotCase{5, {".........", ".........", "...###...", "..#####..", "..#####..",
                                                       "..#####..", "...###...", ".........", "........."}}));

TEST(CanvasLine, MixModesCombineWithThePixels)
{
    Bitmap b(4, 1, 24);
    b.fill(makeColour(1, 2, 3));
    Canvas c(b);
    c.setPenColour(makeColour(10, 20, 30));
    c.setPenMode(MixMode::Xor);
    c.moveTo(0, 0);
    c.lineTo(1, 0);
    c.setPenMode(MixMode::NotXor);
    c.lineTo(2, 0);
    c.setPenMode(MixMode::Copy);
    c.lineTo(3, 0);
    EXPECT_EQ(b.pixel(0, 0), makeColour(1 ^ 10, 2 ^ 20, 3 ^ 30));
    EXPECT_EQ(b.pixel(1, 0), makeColour(255 - (1 ^ 10), 255 - (2 ^ 20), 255 - (3 ^ 30)));
    EXPECT_EQ(b.pixel(2, 0), makeColour(10, 20, 30));
    EXPECT_EQ(b.pixel(3, 0), makeColour(1, 2, 3));
}

TEST(CanvasPixel, SetPixelIgnoresTheMixModeAndTheOutside)
{
    Bitmap b = white(2, 2);
    Canvas c(b);
    c.setPenMode(MixMode::Xor);
    EXPECT_EQ(c.setPixel(1, 0, test::kGreen), (Rect{1, 0, 2, 1}));
    EXPECT_TRUE(c.setPixel(-1, 0, kBlack).isEmpty());
    EXPECT_TRUE(c.setPixel(2, 1, kBlack).isEmpty());
    EXPECT_EQ(c.pixel(1, 0), test::kGreen);
    EXPECT_EQ(c.pixel(5, 5), kBlack);
    EXPECT_TRUE(sameImage("set-pixel", b, grid({".g", ".."})));
}

TEST(CanvasPixel, DrawingOnAnIndexedBitmapConvertsItFirst)
{
    Bitmap b(4, 1, 8);
    b.fill(kWhite);
    Canvas c(b);
    EXPECT_EQ(c.pixel(0, 0), kWhite); // reading leaves the format alone
    EXPECT_EQ(b.bitsPerPixel(), 8);
    c.setPenColour(makeColour(1, 2, 3)); // not in the 8-bit palette
    c.moveTo(0, 0);
    c.lineTo(2, 0);
    EXPECT_EQ(b.bitsPerPixel(), 24);
    EXPECT_EQ(b.pixel(1, 0), makeColour(1, 2, 3));
    EXPECT_EQ(b.pixel(3, 0), kWhite);
}

} // namespace
} // namespace px
