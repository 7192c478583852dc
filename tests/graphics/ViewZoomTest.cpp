// The zoom of the image view: the mapping between view and image pixels, the
// zoom steps, and the view pixels (blocks above 1:1, averages below).
#include "graphics/ViewZoom.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace px {
namespace {

constexpr std::uint32_t kW = 0xFFFFFFFF;
constexpr std::uint32_t kK = 0xFF000000;
constexpr std::uint32_t kR = 0xFFFF0000;
constexpr std::uint32_t kB = 0xFF0000FF;

struct MappingCase {
    ZoomFactor zoom;
    double view; // a view coordinate
    int image;   // the image pixel it shows
    Rect imageRect;
    Rect viewRect; // the view pixels of imageRect
    int length;    // zoomedLength(10)
};

class ZoomMapping : public ::testing::TestWithParam<MappingCase> {};

TEST_P(ZoomMapping, ViewAndImagePixels)
{
    const MappingCase& c = GetParam();
    EXPECT_EQ(viewToImage(c.view, c.zoom), c.image);
    EXPECT_EQ(imageRectToView(c.imageRect, c.zoom), c.viewRect);
    EXPECT_EQ(zoomedLength(10, c.zoom), c.length);
    EXPECT_EQ(zoomedLength(0, c.zoom), 0);
}

INSTANTIATE_TEST_SUITE_P(Zooms, ZoomMapping,
                         ::testing::Values(
                             // 1:1: a position is floored to its pixel.
                             MappingCase{{1, 1}, 7.9, 7, {2, 3, 5, 4}, {2, 3, 5, 4}, 10},
                             // 3x: view pixels 9, 10, 11 show image pixel 3; left of the view is -1.
                             MappingCase{{3, 1}, 11.5, 3, {2, 3, 5, 4}, {6, 9, 15, 12}, 30},
                             MappingCase{{3, 1}, -0.5, -1, {0, 0, 1, 1}, {0, 0, 3, 3}, 30},
                             MappingCase{{16, 1}, 31.9, 1, {1, 1, 2, 2}, {16, 16, 32, 32}, 160},
                             // 1/4: view pixel 2 shows image pixels 8..11; a rectangle covers every
                             // view pixel it touches; 10 image pixels take 3 view pixels.
                             MappingCase{{1, 4}, 2.5, 10, {5, 1, 9, 2}, {1, 0, 3, 1}, 3},
                             // 1/16: a 10-pixel image is still one view pixel wide.
                             MappingCase{{1, 16}, 0.2, 3, {0, 0, 10, 10}, {0, 0, 1, 1}, 1}));

TEST(ZoomSteps, GoFromOneSixteenthToSixteen)
{
    EXPECT_EQ(zoomSteps().front(), (ZoomFactor{1, 16}));
    EXPECT_EQ(zoomSteps().back(), (ZoomFactor{16, 1}));
    EXPECT_EQ(stepZoom({1, 1}, 1), (ZoomFactor{2, 1}));
    EXPECT_EQ(stepZoom({1, 1}, -1), (ZoomFactor{1, 2}));
    EXPECT_EQ(stepZoom({2, 1}, 1), (ZoomFactor{3, 1}));
    EXPECT_EQ(stepZoom({3, 1}, 3), (ZoomFactor{8, 1}));
    EXPECT_EQ(stepZoom({16, 1}, 1), (ZoomFactor{16, 1}));
    EXPECT_EQ(stepZoom({1, 8}, -5), (ZoomFactor{1, 16}));
    EXPECT_EQ(stepZoom({1, 1}, 99), (ZoomFactor{16, 1}));
    // Between two steps: the next step in the direction counts as one.
    EXPECT_EQ(stepZoom({5, 1}, 1), (ZoomFactor{6, 1}));
    EXPECT_EQ(stepZoom({5, 1}, -1), (ZoomFactor{4, 1}));
    EXPECT_EQ(stepZoom({5, 1}, 0), (ZoomFactor{5, 1}));
}

// The view pixels of `area` into a buffer of that size, pre-filled with a
// marker so that untouched pixels show.
std::vector<std::uint32_t> render(const Bitmap& b, ZoomFactor zoom, Rect area, ZoomPyramid& pyramid)
{
    std::vector<std::uint32_t> out(std::size_t(area.width()) * area.height(), 0x12345678);
    renderZoomedView(b, zoom, area, out.data(), std::size_t(area.width()), pyramid);
    return out;
}

// 3x: each image pixel is a 3 x 3 block. The area starts inside a block and
// runs past the image's right edge (left untouched there).
//
//   image  r.      view columns 4..7 of rows 2..3:  block of r ends at 3,
//          .b                                       . at 3..5, beyond at 6
TEST(RenderZoomedView, BlocksAboveOneToOne)
{
    Bitmap b(2, 2, 24);
    b.fill(kWhite);
    b.setPixel(0, 0, makeColour(255, 0, 0));
    b.setPixel(1, 1, makeColour(0, 0, 255));
    ZoomPyramid pyramid;
    const auto out = render(b, {3, 1}, Rect{1, 2, 8, 4}, pyramid);
    const std::uint32_t u = 0x12345678;
    const std::vector<std::uint32_t> expected = {
        kR, kR, kW, kW, kW, u, u, // view row 2: image row 0
        kW, kW, kB, kB, kB, u, u, // view row 3: image row 1
    };
    EXPECT_EQ(out, expected);
}

// Indexed pixels show their palette colours, at 1:1 and 2x.
TEST(RenderZoomedView, IndexedDepthsThroughThePalette)
{
    for (int bpp : {1, 4, 8}) {
        Bitmap b(3, 1, bpp);
        b.setPalette({kBlack, makeColour(255, 0, 0)});
        b.setPixelIndex(1, 0, 1);
        ZoomPyramid pyramid;
        EXPECT_EQ(render(b, {1, 1}, Rect{0, 0, 3, 1}, pyramid), (std::vector<std::uint32_t>{kK, kR, kK})) << bpp;
        EXPECT_EQ(render(b, {2, 1}, Rect{1, 0, 5, 1}, pyramid), (std::vector<std::uint32_t>{kK, kR, kR, kK})) << bpp;
    }
}

// 1/2: each view pixel averages its 2 x 2 block (rounded); the odd last row
// and column average the pixels they have.
//
//   image (grey levels)   0   40  200      view  (0+40+80+120)/4 = 60    (200+100)/2 = 150
//                         80  120 100                  (10+30)/2 = 20          7
//                         10  30  7
TEST(RenderZoomedView, AveragesBelowOneToOne)
{
    const int levels[3][3] = {{0, 40, 200}, {80, 120, 100}, {10, 30, 7}};
    Bitmap b(3, 3, 24);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            b.setPixel(x, y, makeColour(levels[y][x], levels[y][x], levels[y][x]));
    auto grey = [](std::uint32_t v) { return 0xFF000000u | v << 16 | v << 8 | v; };
    ZoomPyramid pyramid;
    EXPECT_EQ(render(b, {1, 2}, Rect{0, 0, 2, 2}, pyramid),
              (std::vector<std::uint32_t>{grey(60), grey(150), grey(20), grey(7)}));
    // 1/4: one view pixel, the average of the four halves, rounded:
    // (60 + 150 + 20 + 7) / 4 = 59.25.
    EXPECT_EQ(render(b, {1, 4}, Rect{0, 0, 1, 1}, pyramid), (std::vector<std::uint32_t>{grey(59)}));
}

// A change is carried into the halved copies already built: only the
// rectangle said to have changed is recomputed.
TEST(RenderZoomedView, HalvedCopiesFollowTheChangedRectangle)
{
    Bitmap b(8, 8, 24);
    b.fill(kBlack);
    ZoomPyramid pyramid;
    EXPECT_EQ(render(b, {1, 4}, Rect{0, 0, 2, 2}, pyramid), (std::vector<std::uint32_t>(4, kK)));
    // The 4 x 4 block at the bottom right turns white.
    for (int y = 4; y < 8; ++y)
        for (int x = 4; x < 8; ++x)
            b.setPixel(x, y, kWhite);
    EXPECT_EQ(render(b, {1, 4}, Rect{0, 0, 2, 2}, pyramid), (std::vector<std::uint32_t>(4, kK)))
        << "nothing was said to have changed";
    pyramid.invalidate(Rect{4, 4, 8, 8});
    EXPECT_EQ(render(b, {1, 4}, Rect{0, 0, 2, 2}, pyramid), (std::vector<std::uint32_t>{kK, kK, kK, kW}));
    EXPECT_EQ(render(b, {1, 2}, Rect{1, 1, 4, 4}, pyramid),
              (std::vector<std::uint32_t>{kK, kK, kK, kK, kW, kW, kK, kW, kW}));
    // A new size rebuilds everything.
    b = Bitmap(4, 4, 24);
    b.fill(kWhite);
    EXPECT_EQ(render(b, {1, 4}, Rect{0, 0, 1, 1}, pyramid), (std::vector<std::uint32_t>{kW}));
}

} // namespace
} // namespace px
