#include "graphics/Canvas.h"
#include "graphics/CanvasTestHelpers.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace px {
namespace {

using test::grid;
using test::kRed;
using test::sameImage;
using test::white;

// Black pen, red brush.
Canvas& redBrush(Canvas& c)
{
    c.setPenColour(kBlack);
    c.setBrushColour(kRed);
    return c;
}

TEST(CanvasRectangle, CoversLeftTopInclusiveRightBottomExclusiveInAnyCornerOrder)
{
    for (auto corners : {std::array{10, 10, 50, 30}, std::array{50, 30, 10, 10}, std::array{10, 30, 50, 10},
                         std::array{50, 10, 10, 30}}) {
        Bitmap b = white(60, 40);
        Canvas c(b);
        redBrush(c);
        EXPECT_EQ(c.rectangle(corners[0], corners[1], corners[2], corners[3]), (Rect{10, 10, 50, 30}));
        Bitmap expected = white(60, 40);
        for (int y = 10; y < 30; ++y)
            for (int x = 10; x < 50; ++x)
                expected.setPixel(x, y, (x == 10 || x == 49 || y == 10 || y == 29) ? kBlack : kRed);
        EXPECT_TRUE(sameImage("rect-coverage", b, expected)) << corners[0] << "," << corners[1];
    }
}

// A hollow outline (the rubber band's figure) in NOT-XOR, also where it
// leaves the bitmap: only its four sides, each pixel inverted once; the
// corners of two sides are not inverted twice.
TEST(CanvasRectangle, HollowOutlineInvertsItsSidesOnceAndClips)
{
    struct Case {
        std::array<int, 4> corners;
        std::array<int, 4> box; // the outline's box, before clipping
    };
    for (const Case& k : {Case{{2, 1, 8, 5}, {2, 1, 8, 5}}, Case{{8, 5, 2, 1}, {2, 1, 8, 5}},
                          Case{{-3, 2, 5, 9}, {-3, 2, 5, 9}}, Case{{4, -2, 12, 3}, {4, -2, 12, 3}}}) {
        Bitmap b = white(10, 7);
        Canvas c(b);
        c.setBrushHollow(true);
        c.setPenColour(kRed);
        c.setPenMode(MixMode::NotXor);
        c.rectangle(k.corners[0], k.corners[1], k.corners[2], k.corners[3]);
        // NOT-XOR of red on white: white ^ ~red = red.
        Bitmap expected = white(10, 7);
        const auto [l, t, r, bottom] = k.box;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool inBox = x >= l && x < r && y >= t && y < bottom;
                if (inBox && (x == l || x == r - 1 || y == t || y == bottom - 1))
                    expected.setPixel(x, y, kRed);
            }
        EXPECT_TRUE(sameImage("rect-hollow", b, expected)) << k.corners[0] << "," << k.corners[1];
    }
}

TEST(CanvasRectangle, ChangedRectangleIsClippedAndEmptyBoxesDrawNothing)
{
    Bitmap b = white(10, 10);
    Canvas c(b);
    EXPECT_TRUE(c.rectangle(3, 3, 3, 3).isEmpty());
    EXPECT_TRUE(c.rectangle(0, 0, 6, 0).isEmpty());
    EXPECT_TRUE(c.ellipse(2, 0, 2, 5).isEmpty());
    EXPECT_TRUE(sameImage("rect-empty", b, white(10, 10)));
    EXPECT_EQ(c.rectangle(-5, -5, 5, 5), (Rect{0, 0, 5, 5}));
    EXPECT_EQ(c.lastChangedRect(), (Rect{0, 0, 5, 5}));
    EXPECT_TRUE(c.rectangle(20, 20, 30, 30).isEmpty());
    c.setBrushHollow(true);
    EXPECT_TRUE(c.rectangle(-1000000000, -1000000000, 1000000000, 1000000000).isEmpty());
}

TEST(CanvasRectangle, StyledOutlineRunsClockwiseFromTheTopLeft)
{
    // Dots of 3 along the outline: the top row left to right (steps 0..5),
    // the right column down (6..8), the bottom row right to left (9..13),
    // the left column up (14..15).
    Bitmap b = white(6, 4);
    Canvas c(b);
    c.setBrushHollow(true);
    c.setPenStyle(PenStyle::Dot);
    c.rectangle(0, 0, 6, 4);
    EXPECT_TRUE(sameImage("rect-dots", b, grid({"###...", ".....#", "#....#", "##...#"})));
}

TEST(CanvasRectangle, WidePenStraddlesTheEdgeWithRoundCorners)
{
    // Width 3 centred on the one-pixel outline: the outer half falls outside.
    Bitmap b = white(8, 6);
    Canvas c(b);
    redBrush(c).setPenWidth(3);
    c.rectangle(0, 0, 8, 6);
    EXPECT_TRUE(
        sameImage("rect-wide", b, grid({"########", "########", "##rrrr##", "##rrrr##", "########", "########"})));
    // Width 5 on (3,3)-(6,5): the outer corners are rounded, pixel centres
    // at distance sqrt(8) > 2.5 from the corner points stay white.
    Bitmap big = white(10, 9);
    Canvas cb(big);
    cb.setBrushHollow(true);
    cb.setPenWidth(5);
    cb.rectangle(3, 3, 7, 6);
    EXPECT_TRUE(sameImage("rect-wide-corners", big,
                          grid({"..........", "..######..", ".########.", ".########.", ".########.", ".########.",
                                ".########.", "..######..", ".........."})));
}

TEST(CanvasEllipse, SevenByFourFromReversedCorners)
{
    Bitmap wide = white(7, 4);
    Canvas c(wide);
    redBrush(c).ellipse(7, 4, 0, 0);
    EXPECT_TRUE(sameImage("ellipse-7x4", wide, grid({".#####.", "#rrrrr#", "#rrrrr#", ".#####."})));
}

TEST(CanvasEllipse, NineByNineOutlineIsAThinClosedCurve)
{
    // Pixel centres (u, v) from the centre with 4(u^2 + v^2) <= 81; border
    // pixels are those with a side neighbour outside.
    Bitmap b = white(9, 9);
    Canvas c(b);
    redBrush(c).ellipse(0, 0, 9, 9);
    EXPECT_TRUE(sameImage("ellipse-9x9", b,
                          grid({"..#####..", ".#rrrrr#.", "#rrrrrrr#", "#rrrrrrr#", "#rrrrrrr#", "#rrrrrrr#",
                                "#rrrrrrr#", ".#rrrrr#.", "..#####.."})));
}

TEST(CanvasEllipse, HugeEllipseCostsOnlyItsVisibleRows)
{
    Bitmap b = white(4, 3);
    Canvas c(b);
    c.setBrushColour(kRed);
    EXPECT_EQ(c.ellipse(-1000000000, -1000000000, 1000000000, 1000000000), (Rect{0, 0, 4, 3}));
    EXPECT_TRUE(sameImage("ellipse-huge", b, grid({"rrrr", "rrrr", "rrrr"})));
}

TEST(CanvasRoundRect, CornersFollowTheCornerEllipse)
{
    // The 8 x 8 corner ellipse indents its first rows by 2 and 1 pixels.
    for (auto [cw, ch] : {std::pair{8, 8}, std::pair{-8, -8}}) {
        Bitmap b = white(12, 8);
        Canvas c(b);
        redBrush(c).roundRect(0, 0, 12, 8, cw, ch);
        EXPECT_TRUE(sameImage("roundrect", b,
                              grid({"..########..", ".#rrrrrrrr#.", "#rrrrrrrrrr#", "#rrrrrrrrrr#", "#rrrrrrrrrr#",
                                    "#rrrrrrrrrr#", ".#rrrrrrrr#.", "..########.."})))
            << cw;
    }
}

TEST(CanvasPie, QuarterCounterClockwiseFromRightToUp)
{
    Bitmap b = white(9, 9);
    Canvas c(b);
    redBrush(c).pie(0, 0, 9, 9, 9, 4, 4, 0);
    EXPECT_TRUE(sameImage("pie-quarter", b,
                          grid({"....###..", "....#rr#.", "....#rrr#", "....#rrr#", "....#####", ".........",
                                ".........", ".........", "........."})));
}

TEST(CanvasPie, ThreeQuartersFromUpToRight)
{
    Bitmap b = white(9, 9);
    Canvas c(b);
    redBrush(c).pie(0, 0, 9, 9, 4, 0, 9, 4);
    EXPECT_TRUE(sameImage("pie-three-quarters", b,
                          grid({"..###....", ".#rr#....", "#rrr#....", "#rrr#....", "#rrrr####", "#rrrrrrr#",
                                "#rrrrrrr#", ".#rrrrr#.", "..#####.."})));
}

TEST(CanvasFigure, RoundRectWithoutCornersAndPieWithOneDirectionAreTheirPlainFigures)
{
    const std::pair<std::function<void(Canvas&)>, std::function<void(Canvas&)>> pairs[] = {
        {[](Canvas& c) { c.roundRect(1, 1, 5, 4, 0, 0); }, [](Canvas& c) { c.rectangle(1, 1, 5, 4); }},
        {[](Canvas& c) { c.pie(0, 0, 9, 9, 8, 4, 100, 4); }, [](Canvas& c) { c.ellipse(0, 0, 9, 9); }}};
    for (const auto& [figure, plain] : pairs) {
        Bitmap a = white(9, 9), b = white(9, 9);
        Canvas ca(a), cb(b);
        figure(redBrush(ca));
        plain(redBrush(cb));
        EXPECT_TRUE(sameImage("same-figure", a, b));
    }
}

// --- Mix modes over every figure ---

struct FigureCase {
    const char* name;
    std::function<Rect(Canvas&)> draw;
};

std::vector<FigureCase> figures()
{
    return {
        {"line",
         [](Canvas& c) {
             c.moveTo(3, 40);
             return c.lineTo(57, 2);
         }},
        {"polyline",
         [](Canvas& c) {
             c.moveTo(5, 5);
             c.lineTo(50, 9);
             return c.lineTo(20, 38);
         }},
        {"rectangle", [](Canvas& c) { return c.rectangle(50, 35, 4, 3); }},
        {"ellipse", [](Canvas& c) { return c.ellipse(-7, 2, 45, 47); }},
        {"roundrect", [](Canvas& c) { return c.roundRect(5, 5, 55, 35, -20, -10); }},
        {"pie", [](Canvas& c) { return c.pie(2, 2, 58, 38, 60, 30, 10, 0); }},
        {"wide pie", [](Canvas& c) { return c.pie(2, 2, 58, 38, 10, 0, 60, 30); }},
    };
}

struct PenCase {
    int width;
    PenStyle style;
    bool hollow;
};

class CanvasMixMode : public ::testing::TestWithParam<PenCase> {
protected:
    void setPen(Canvas& c, MixMode mode, Colour pen, Colour brush) const
    {
        c.setPenColour(pen);
        c.setBrushColour(brush);
        c.setPenWidth(GetParam().width);
        c.setPenStyle(GetParam().style);
        c.setBrushHollow(GetParam().hollow);
        c.setPenMode(mode);
    }
};

TEST_P(CanvasMixMode, NotXorTwiceRestoresTheBitmapAndXorWithBlackLeavesIt)
{
    const Bitmap original = test::noise(60, 40);
    for (const FigureCase& f : figures()) {
        Bitmap b = original;
        Canvas c(b);
        setPen(c, MixMode::NotXor, makeColour(200, 30, 90), makeColour(17, 99, 250));
        const Rect first = f.draw(c);
        EXPECT_FALSE(first.isEmpty()) << f.name;
        EXPECT_FALSE(b == original) << f.name;
        EXPECT_EQ(f.draw(c), first) << f.name;
        EXPECT_TRUE(sameImage(std::string("notxor-") + f.name, b, original));
        setPen(c, MixMode::Xor, kBlack, kBlack);
        f.draw(c);
        EXPECT_TRUE(sameImage(std::string("xor-black-") + f.name, b, original));
    }
}

TEST_P(CanvasMixMode, EachPixelIsTouchedOnceSoXorMarksTheWholeFigure)
{
    // With XOR of white on white, a pixel painted twice would come back white:
    // the XOR result must equal the copy result with black for white.
    for (const FigureCase& f : figures()) {
        // Two wide lines overlap at their joint, as two separate strokes do.
        if (GetParam().width > 1 && std::string(f.name) == "polyline")
            continue;
        Bitmap xored = white(60, 40), copied = white(60, 40);
        Canvas cx(xored), cc(copied);
        setPen(cx, MixMode::Xor, kWhite, kWhite);
        setPen(cc, MixMode::Copy, kBlack, kBlack);
        f.draw(cx);
        f.draw(cc);
        EXPECT_TRUE(sameImage(std::string("xor-once-") + f.name, xored, copied));
    }
}

INSTANTIATE_TEST_SUITE_P(Pens, CanvasMixMode,
                         ::testing::Values(PenCase{1, PenStyle::Solid, false}, PenCase{1, PenStyle::Solid, true},
                                           PenCase{1, PenStyle::DashDot, false}, PenCase{1, PenStyle::Dash, true},
                                           PenCase{4, PenStyle::Solid, false}, PenCase{7, PenStyle::Dot, true}));

} // namespace
} // namespace px
