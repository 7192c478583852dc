#include "graphics/Canvas.h"
#include "graphics/CanvasTestHelpers.h"
#include "graphics/PixelFill.h"

#include <gtest/gtest.h>

#include <vector>

namespace px {
namespace {

using test::grid;
using test::kRed;
using test::sameImage;
using test::white;

struct BlockCase {
    int left, top, right, bottom;
    Rect changed;
    std::vector<const char*> rows; // on 5 x 5 white
};

class CanvasFillRect : public ::testing::TestWithParam<BlockCase> {};

TEST_P(CanvasFillRect, FillsWithTheBrushAndTakesBackwardsAxesAfterTheirEnd)
{
    const BlockCase& bc = GetParam();
    Bitmap b = white(5, 5);
    Canvas c(b);
    c.setBrushColour(kRed);
    c.setPenMode(MixMode::Xor); // fills always copy the brush
    EXPECT_EQ(c.fillRect(bc.left, bc.top, bc.right, bc.bottom), bc.changed);
    EXPECT_TRUE(sameImage("fillrect", b, grid({bc.rows[0], bc.rows[1], bc.rows[2], bc.rows[3], bc.rows[4]})));
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, CanvasFillRect,
    ::testing::Values(BlockCase{1, 1, 4, 3, {1, 1, 4, 3}, {".....", ".rrr.", ".rrr.", ".....", "....."}},
                      // columns 2..4, rows 2..3
                      BlockCase{4, 3, 1, 1, {2, 2, 5, 4}, {".....", ".....", "..rrr", "..rrr", "....."}},
                      // a backwards one-row block: row 4 only
                      BlockCase{0, 4, 5, 3, {0, 4, 5, 5}, {".....", ".....", ".....", ".....", "rrrrr"}},
                      // just below the bitmap
                      BlockCase{0, 5, 5, 4, {}, {".....", ".....", ".....", ".....", "....."}},
                      BlockCase{-100, -100, 1000, 2, {0, 0, 5, 2}, {"rrrrr", "rrrrr", ".....", ".....", "....."}},
                      BlockCase{2, 2, 2, 4, {}, {".....", ".....", ".....", ".....", "....."}}));

// Runs fill left to right in the order given, later runs over earlier ones,
// clipped to the row; the changed rectangle spans what was painted.
TEST(CanvasFillRowRuns, PaintsRunsInTurnClippedToTheRow)
{
    Bitmap b = white(5, 3);
    Canvas c(b);
    c.setBrushColour(kBlack);
    const ColourRun runs[] = {{-3, 2, kRed}, {1, 3, test::kGreen}, {4, 9, test::kBlue}, {3, 3, kBlack}};
    EXPECT_EQ(c.fillRowRuns(1, runs, 4), (Rect{0, 1, 5, 2}));
    EXPECT_TRUE(sameImage("rowruns", b, grid({".....", "rgg.b", "....."})));
    EXPECT_EQ(c.brushColour(), kBlack);
    EXPECT_TRUE(c.fillRowRuns(3, runs, 4).isEmpty());
    EXPECT_TRUE(c.fillRowRuns(-1, runs, 4).isEmpty());
    c.setBrushHollow(true);
    EXPECT_TRUE(c.fillRowRuns(0, runs, 4).isEmpty());
    EXPECT_TRUE(sameImage("rowruns-none", b, grid({".....", "rgg.b", "....."})));
}

// Every way of filling pixels sets exactly the n pixels asked for, blue
// first, whatever the length (whole and partial vectors) and start.
class PixelFillPaths : public ::testing::TestWithParam<pixelfill::Path> {};

TEST_P(PixelFillPaths, SetsExactlyTheRunAskedFor)
{
    if (!pixelfill::available(GetParam()))
        GTEST_SKIP() << "processor lacks the instructions";
    const std::uint32_t colour = 0x123456; // red 0x56, green 0x34, blue 0x12
    for (int start : {0, 1, 5})
        for (int n = 0; n <= 90; ++n) {
            std::vector<std::uint8_t> bytes(std::size_t(start + 3 * n + 70), 0xA5);
            pixelfill::fill(bytes.data() + start, n, colour, GetParam());
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                const std::size_t k = i - std::size_t(start);
                const bool inside = i >= std::size_t(start) && k < std::size_t(3 * n);
                const std::uint8_t expected = !inside ? 0xA5 : k % 3 == 0 ? 0x12 : k % 3 == 1 ? 0x34 : 0x56;
                ASSERT_EQ(bytes[i], expected) << "start " << start << " n " << n << " byte " << i;
            }
        }
}

TEST_P(PixelFillPaths, RunsAreClippedAndPaintedInTurn)
{
    if (!pixelfill::available(GetParam()))
        GTEST_SKIP() << "processor lacks the instructions";
    const int width = 47;
    const ColourRun runs[] = {{-5, 30, 0x010203}, {3, 9, 0x0A0B0C},   {8, 8, 0x111111},  {45, 99, 0x202122},
                              {40, 35, 0x303030}, {29, 46, 0x404142}, {60, 70, 0x505050}};
    std::vector<std::uint8_t> bytes(width * 3 + 64, 0xEE), expected = bytes;
    for (const ColourRun& run : runs)
        for (int x = std::max(run.x0, 0); x < std::min(run.x1, width); ++x)
            for (int c = 0; c < 3; ++c)
                expected[std::size_t(x * 3 + c)] = std::uint8_t(run.colour >> (16 - 8 * c));
    int left = -1, right = -1;
    pixelfill::fillRuns(bytes.data(), width, runs, std::size(runs), left, right, GetParam());
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(right, 47);
    pixelfill::fillRuns(bytes.data(), width, runs + 6, 1, left, right, GetParam());
    EXPECT_GE(left, right);
}

INSTANTIATE_TEST_SUITE_P(All, PixelFillPaths, ::testing::Values(pixelfill::Path::Scalar, pixelfill::Path::Avx512));

const std::initializer_list<const char*> kRing = {".....", ".###.", ".#.#.", ".###.", "....."};

TEST(CanvasFloodFill, SurfaceFillsTheConnectedAreaOfTheStartColour)
{
    Bitmap b = grid(kRing);
    Canvas c(b);
    c.setBrushColour(kRed);
    EXPECT_EQ(c.floodFill(2, 2, kWhite, FloodFillMode::Surface), (Rect{2, 2, 3, 3}));
    EXPECT_TRUE(sameImage("flood-surface-inside", b, grid({".....", ".###.", ".#r#.", ".###.", "....."})));
    EXPECT_EQ(c.floodFill(0, 4, kWhite, FloodFillMode::Surface), (Rect{0, 0, 5, 5}));
    EXPECT_TRUE(sameImage("flood-surface-outside", b, grid({"rrrrr", "r###r", "r#r#r", "r###r", "rrrrr"})));
}

TEST(CanvasFloodFill, BorderFillsUpToTheBorderColour)
{
    Bitmap b = grid({"..g..", ".###.", ".#.#.", ".###.", "....."});
    Canvas c(b);
    c.setBrushColour(kRed);
    c.floodFill(0, 0, kBlack, FloodFillMode::Border); // passes over the green pixel
    EXPECT_TRUE(sameImage("flood-border", b, grid({"rrrrr", "r###r", "r#.#r", "r###r", "rrrrr"})));
}

TEST(CanvasFloodFill, StartPixelThatDoesNotQualifyOrAHollowBrushFillsNothing)
{
    Bitmap b = grid(kRing);
    Canvas c(b);
    c.setBrushColour(kRed);
    EXPECT_TRUE(c.floodFill(1, 1, kBlack, FloodFillMode::Border).isEmpty());  // on the border colour
    EXPECT_TRUE(c.floodFill(0, 0, kBlack, FloodFillMode::Surface).isEmpty()); // not the surface colour
    EXPECT_TRUE(c.floodFill(-1, 0, kBlack, FloodFillMode::Border).isEmpty());
    EXPECT_TRUE(c.floodFill(5, 0, kBlack, FloodFillMode::Border).isEmpty());
    c.setBrushHollow(true);
    EXPECT_TRUE(c.floodFill(0, 0, kBlack, FloodFillMode::Border).isEmpty());
    EXPECT_TRUE(c.fillRect(0, 0, 5, 5).isEmpty());
    EXPECT_TRUE(sameImage("flood-none", b, grid(kRing)));
}

TEST(CanvasFloodFill, DoesNotLeakThroughDiagonalGaps)
{
    Bitmap b = grid({"#....", ".#...", "..#..", "...#."});
    Canvas c(b);
    c.setBrushColour(kRed);
    c.floodFill(0, 3, kWhite, FloodFillMode::Surface);
    EXPECT_TRUE(sameImage("flood-diagonal", b, grid({"#....", "r#...", "rr#..", "rrr#."})));
}

TEST(CanvasFloodFill, EndsWhenTheFilledPixelsStillQualify)
{
    // Without marks this would loop for ever: a white brush on a white
    // surface. (A red brush inside a black border is the border fill above.)
    Bitmap b = grid(kRing);
    Canvas c(b);
    c.setBrushColour(kWhite);
    c.floodFill(0, 0, kWhite, FloodFillMode::Surface);
    EXPECT_TRUE(sameImage("flood-same", b, grid(kRing)));
}

TEST(CanvasFloodFill, FillsASpiralThatTurnsBackDownward)
{
    Bitmap b = grid({"........", ".######.", ".#....#.", ".#.##.#.", ".#.#..#.", ".#.####.", ".######."});
    Canvas c(b);
    c.setBrushColour(kRed);
    EXPECT_EQ(c.floodFill(4, 4, kBlack, FloodFillMode::Border), (Rect{2, 2, 6, 6}));
    EXPECT_TRUE(sameImage("flood-spiral", b,
                          grid({"........", ".######.", ".#rrrr#.", ".#r##r#.", ".#r#rr#.", ".#r####.", ".######."})));
}

struct CopyModeCase {
    CopyMode mode;
    Colour brush;
    Colour in;
    Colour out;
};

class CanvasCopyMode : public ::testing::TestWithParam<CopyModeCase> {};

TEST_P(CanvasCopyMode, CopyingTheCanvasOntoItself)
{
    const auto [mode, brush, in, out] = GetParam();
    Bitmap b(4, 3, 24);
    b.fill(in);
    b.setPixel(3, 2, makeColour(1, 2, 3));
    Canvas c(b);
    c.setBrushColour(brush);
    c.setBrushHollow(true); // the brush colour counts all the same
    c.setCopyMode(mode);
    c.copyOntoItself(0, 0, 3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(b.pixel(x, y), out) << x << "," << y;
    EXPECT_EQ(b.pixel(3, 2), makeColour(1, 2, 3)); // outside the block
}

INSTANTIATE_TEST_SUITE_P(
    Modes, CanvasCopyMode,
    ::testing::Values(CopyModeCase{CopyMode::SrcCopy, kWhite, makeColour(10, 20, 30), makeColour(10, 20, 30)},
                      CopyModeCase{CopyMode::Whiteness, kBlack, makeColour(10, 20, 30), kWhite},
                      CopyModeCase{CopyMode::Blackness, kWhite, makeColour(10, 20, 30), kBlack},
                      CopyModeCase{CopyMode::DstInvert, kBlack, makeColour(10, 20, 30), makeColour(245, 235, 225)},
                      CopyModeCase{CopyMode::PatInvert, kWhite, makeColour(10, 20, 30), makeColour(245, 235, 225)},
                      CopyModeCase{CopyMode::PatInvert, makeColour(3, 5, 0), makeColour(10, 20, 30),
                                   makeColour(10 ^ 3, 20 ^ 5, 30)}));

TEST(CanvasFocusRect, InvertsAlternatePixelsOfTheFrameAndUndoesItself)
{
    Bitmap b = white(6, 4);
    Canvas c(b);
    EXPECT_EQ(c.drawFocusRect(6, 4, 0, 0), (Rect{0, 0, 6, 4}));
    EXPECT_TRUE(sameImage("focus", b, grid({"#.#.#.", ".....#", "#.....", ".#.#.#"})));
    const Bitmap original = test::noise(30, 20);
    Bitmap n = original;
    Canvas cn(n);
    cn.drawFocusRect(-3, 2, 25, 40);
    EXPECT_FALSE(n == original);
    cn.drawFocusRect(-3, 2, 25, 40);
    EXPECT_TRUE(sameImage("focus-twice", n, original));
}

} // namespace
} // namespace px
