#include "document/DocumentView.h"

#include <gtest/gtest.h>

namespace px {
namespace {

TEST(ImageOfBitmap, TrueColourWrapsTheBitmapMemory)
{
    Bitmap b(3, 2, 24);
    b.setPixel(2, 1, makeColour(10, 20, 30));
    const QImage image = imageOfBitmap(b);
    EXPECT_EQ(image.constBits(), b.bits());
    EXPECT_EQ(image.bytesPerLine(), qsizetype(b.stride()));
    EXPECT_EQ(image.pixel(2, 1), qRgb(10, 20, 30));
    EXPECT_TRUE(imageOfBitmap(Bitmap()).isNull());
}

class IndexedImage : public ::testing::TestWithParam<int> {};

// Each indexed depth shows its palette colours: pixel (x, 1) holds index
// x mod 2^bpp of a palette of distinct greens, row 0 index 0.
TEST_P(IndexedImage, ShowsThePaletteColours)
{
    const int bpp = GetParam();
    Bitmap b(5, 2, bpp);
    const int entries = 1 << bpp;
    std::vector<Colour> palette;
    for (int i = 0; i < entries; ++i)
        palette.push_back(makeColour(0, i, 100));
    b.setPalette(palette);
    for (int x = 0; x < 5; ++x)
        b.setPixelIndex(x, 1, x % entries);
    const QImage image = imageOfBitmap(b);
    ASSERT_EQ(image.size(), QSize(5, 2));
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(image.pixel(x, 1), qRgb(0, x % entries, 100)) << "x=" << x;
        EXPECT_EQ(image.pixel(x, 0), qRgb(0, 0, 100));
    }
    if (bpp != 4)
        EXPECT_EQ(image.constBits(), b.bits());
}

INSTANTIATE_TEST_SUITE_P(Depths, IndexedImage, ::testing::Values(1, 4, 8));

} // namespace
} // namespace px
