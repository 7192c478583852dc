#include "graphics/Canvas.h"
#include "graphics/CanvasTestHelpers.h"

#include <gtest/gtest.h>

namespace px {
namespace {

using test::grid;
using test::kGrey;
using test::kRed;
using test::sameImage;

// A row or column of `n` pixels whose red channel is the position.
Bitmap ramp(int w, int h)
{
    Bitmap b(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, makeColour(x + y, 7, 9));
    return b;
}

TEST(CanvasStretch, MirroredDestinationOf130PixelsComesOutExactlyReversed)
{
    const Bitmap src = ramp(130, 1);
    Bitmap dst(130, 1, 24);
    Canvas c(dst);
    // Left 129 > right -1: covers columns 0..129, walked from 129 down.
    EXPECT_EQ(c.stretchCopy({129, 0, -1, 1}, src, {0, 0, 130, 1}), (Rect{0, 0, 130, 1}));
    for (int x = 0; x < 130; ++x)
        ASSERT_EQ(dst.pixel(x, 0), makeColour(129 - x, 7, 9)) << x;

    const Bitmap column = ramp(1, 130);
    Bitmap flipped(1, 130, 24);
    Canvas cv(flipped);
    cv.stretchCopy({0, 129, 1, -1}, column, {0, 0, 1, 130});
    for (int y = 0; y < 130; ++y)
        ASSERT_EQ(flipped.pixel(0, y), makeColour(129 - y, 7, 9)) << y;
}

TEST(CanvasStretch, MirrorBesideTheImageLikeTheDoublingMirror)
{
    // (0,0,3,1) then (5,0,2,1): A B C followed by C B A.
    const Bitmap src = grid({"rgb"});
    Bitmap dst(6, 1, 24);
    Canvas c(dst);
    c.stretchCopy({0, 0, 3, 1}, src, {0, 0, 3, 1});
    c.stretchCopy({5, 0, 2, 1}, src, {0, 0, 3, 1});
    EXPECT_TRUE(sameImage("stretch-double", dst, grid({"rgbbgr"})));
}

TEST(CanvasStretch, BothRectanglesBackwardsKeepTheCopyUpright)
{
    // Both walk from their left edge leftwards: destination 4,3,2,1 takes
    // source 4 (outside the source: left alone), 3, 2, 1.
    const Bitmap src = grid({"#rgb"});
    Bitmap dst = grid({"....."});
    Canvas c(dst);
    c.stretchCopy({4, 0, 0, 1}, src, {4, 0, 0, 1});
    EXPECT_TRUE(sameImage("stretch-both", dst, grid({".rgb."})));
}

struct ScaleCase {
    Rect dst;
    Rect src;
    std::vector<const char*> rows; // destination, 4 x 4, from grey
};

class CanvasStretchScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(CanvasStretchScale, TakesTheNearestSourcePixel)
{
    const ScaleCase& sc = GetParam();
    const Bitmap src = grid({"rg.", "b#.", "..."});
    Bitmap dst(4, 4, 24);
    dst.fill(kGrey);
    Canvas c(dst);
    c.stretchCopy(sc.dst, src, sc.src);
    EXPECT_TRUE(sameImage("stretch-scale", dst, grid({sc.rows[0], sc.rows[1], sc.rows[2], sc.rows[3]})));
}

INSTANTIATE_TEST_SUITE_P(
    Scales, CanvasStretchScale,
    ::testing::Values(
        // Twice as large: destination step k takes source step k * 2 / 4.
        ScaleCase{{0, 0, 4, 4}, {0, 0, 2, 2}, {"rrgg", "rrgg", "bb##", "bb##"}},
        // Smaller: destination step k takes source step k * 3 / 2 = 0, 1.
        ScaleCase{{0, 0, 2, 2}, {0, 0, 3, 3}, {"rgxx", "b#xx", "xxxx", "xxxx"}},
        // A source window hanging out of the top left (the magnifier near the
        // edge): destination pixels of outside sources keep their grey.
        ScaleCase{{0, 0, 4, 4}, {-1, -1, 1, 1}, {"xxxx", "xxxx", "xxrr", "xxrr"}},
        // Mirrored both ways at once.
        ScaleCase{{3, 3, 1, 1}, {0, 0, 2, 2}, {"xxxx", "xxxx", "xx#b", "xxgr"}},
        // Destination partly off the bitmap: clipped, mapping unchanged.
        ScaleCase{{-2, -2, 2, 2}, {0, 0, 2, 2}, {"##xx", "##xx", "xxxx", "xxxx"}},
        // Squeezed onto one pixel whose source is column 0: the columns after
        // it are not copied (they are no mirrored continuation of it).
        ScaleCase{{1, 0, 2, 1}, {0, 0, 3, 1}, {"xrxx", "xxxx", "xxxx", "xxxx"}}));

TEST(CanvasStretch, EmptyRectanglesCopyNothing)
{
    const Bitmap src = grid({"rg"});
    Bitmap dst = grid({"...."});
    Canvas c(dst);
    EXPECT_TRUE(c.stretchCopy({0, 0, 0, 1}, src, {0, 0, 2, 1}).isEmpty());
    EXPECT_TRUE(c.stretchCopy({0, 0, 4, 1}, src, {1, 0, 1, 1}).isEmpty());
    EXPECT_TRUE(c.stretchCopy({0, 0, 4, 1}, src, {5, 0, 9, 1}).isEmpty()); // source entirely outside
    EXPECT_TRUE(sameImage("stretch-empty", dst, grid({"...."})));
}

TEST(CanvasStretch, CopyWithinTheSameBitmapReadsTheOriginalPixels)
{
    Bitmap b = grid({"rgb#"});
    Canvas c(b);
    c.stretchCopy({1, 0, 4, 1}, b, {0, 0, 3, 1});
    EXPECT_TRUE(sameImage("stretch-self", b, grid({"rrgb"})));
}

TEST(CanvasStretch, OtherCopyModesIgnoreTheSource)
{
    Bitmap b = grid({"....", "...."});
    Canvas c(b);
    c.setCopyMode(CopyMode::Blackness);
    c.stretchCopy({3, 0, 1, 2}, grid({"r"}), {0, 0, 1, 1});
    EXPECT_TRUE(sameImage("stretch-blackness", b, grid({"..##", "..##"})));
}

TEST(CanvasDraw, DrawsAnyDepthAtItsOwnSize)
{
    Bitmap mono(2, 1, 1); // black, white
    mono.setPixelIndex(1, 0, 1);
    Bitmap dst = grid({"rrrr"});
    Canvas c(dst);
    EXPECT_EQ(c.draw(1, 0, mono), (Rect{1, 0, 3, 1}));
    EXPECT_TRUE(sameImage("draw-mono", dst, grid({"r#.r"})));

    Bitmap pal(3, 1, 4);
    pal.setPixelIndex(0, 0, 9);  // red
    pal.setPixelIndex(1, 0, 12); // blue
    pal.setPixelIndex(2, 0, 10); // lime
    c.draw(-1, 0, pal);
    EXPECT_TRUE(sameImage("draw-four", dst, grid({"bg.r"})));
    EXPECT_TRUE(c.draw(4, 0, pal).isEmpty());
    EXPECT_TRUE(c.draw(2147483647, 0, pal).isEmpty());

    // One pixel followed by columns outside the copy: only that pixel.
    Bitmap one(1, 1, 24);
    Bitmap wide = grid({"rrrr"});
    Canvas cw(wide);
    EXPECT_EQ(cw.draw(1, 0, one), (Rect{1, 0, 2, 1}));
    EXPECT_TRUE(sameImage("draw-one", wide, grid({"r#rr"})));
}

TEST(CanvasDraw, TransparentColourIsLeftOut)
{
    const Bitmap stamp = grid({"r.g", ".b."});
    Bitmap dst(5, 3, 24);
    dst.fill(kGrey);
    Canvas c(dst);
    EXPECT_EQ(c.drawTransparent(1, 1, stamp, kWhite), (Rect{1, 1, 4, 3}));
    EXPECT_TRUE(sameImage("draw-transparent", dst, grid({"xxxxx", "xrxgx", "xxbxx"})));
    // Only the transparent pixels in view: nothing changes.
    EXPECT_TRUE(c.drawTransparent(-1, -1, grid({"r.", ".."}), kWhite).isEmpty());
    c.drawTransparent(3, -1, grid({"r.", ".b"}), kRed);
    EXPECT_TRUE(sameImage("draw-transparent-clip", dst, grid({"xxx.b", "xrxgx", "xxbxx"})));
}

} // namespace
} // namespace px
