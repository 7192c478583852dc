#include "effects/ColourCount.h"

#include <gtest/gtest.h>

#include <utility>

namespace px {
namespace {

// Every pixel a colour of its own: red and green from the position, blue
// varying in its low bits so that neighbours share a word of the set.
Bitmap distinctColours(int w, int h)
{
    Bitmap b(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, makeColour(y & 255, (y >> 8) * 16 + (x >> 4), x & 15));
    return b;
}

class ColourCountSizes : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(ColourCountSizes, DistinctPixelsCountOnceEachWithEitherThreadCount)
{
    const auto [w, h] = GetParam();
    const Bitmap b = distinctColours(w, h);
    EXPECT_EQ(countColours(b, 1), w * h);
    EXPECT_EQ(countColours(b, 2), w * h);
}

// 1 x 1 and 2 x 2; heights that leave 1, 2 or 3 rows after groups of four;
// widths whose rows have no padding, so the last pixel ends the buffer.
INSTANTIATE_TEST_SUITE_P(Shapes, ColourCountSizes,
                         ::testing::Values(std::pair{1, 1}, std::pair{2, 2}, std::pair{3, 5}, std::pair{4, 7},
                                           std::pair{8, 6}, std::pair{17, 9}, std::pair{16, 130}, std::pair{5, 131},
                                           std::pair{12, 515}));

TEST(ColourCount, RepeatsAcrossDistantRowsAndBandsCountOnce)
{
    // 4 x 256: rows y and y + 128 hold the same colours, so with two bands
    // each band sees every colour and the merge must not add them up.
    Bitmap b(4, 256, 24);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 4; ++x)
            b.setPixel(x, y, makeColour(x * 60, y % 128, 9));
    EXPECT_EQ(countColours(b, 1), 4 * 128);
    EXPECT_EQ(countColours(b, 2), 4 * 128);
}

TEST(ColourCount, EachChannelIsItsOwnPartOfTheColour)
{
    // The eight corners of the colour cube, each twice; then the last pixel
    // differs from its left neighbour in red only (the byte read last).
    Bitmap b(16, 1, 24);
    for (int i = 0; i < 16; ++i) {
        const int c = i % 8;
        b.setPixel(i, 0, makeColour(c & 1 ? 255 : 0, c & 2 ? 255 : 0, c & 4 ? 255 : 0));
    }
    EXPECT_EQ(countColours(b), 8);
    b.setPixel(15, 0, makeColour(254, 255, 255)); // was white, which pixel 7 still shows
    EXPECT_EQ(countColours(b), 9);
    b.setPixel(14, 0, makeColour(0, 1, 255)); // was (0, 255, 255), still at pixel 6
    EXPECT_EQ(countColours(b), 10);
}

TEST(ColourCount, EmptyUniformAndIndexedImagesAndTheMessage)
{
    EXPECT_EQ(countColours(Bitmap()), 0);
    Bitmap b(7, 5, 24);
    b.fill(makeColour(1, 2, 3));
    EXPECT_EQ(countColours(b), 1);
    EXPECT_EQ(colourCountMessage(1), "Le nombre de couleurs unique de cette image est de 1.");
    Bitmap indexed(4, 1, 8); // the colours shown: indices 0, 5, 5, 215
    indexed.setPixelIndex(1, 0, 5);
    indexed.setPixelIndex(2, 0, 5);
    indexed.setPixelIndex(3, 0, 215);
    EXPECT_EQ(countColours(indexed), 3);
    EXPECT_EQ(indexed.bitsPerPixel(), 8);
}

} // namespace
} // namespace px
