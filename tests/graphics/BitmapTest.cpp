#include "graphics/Bitmap.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace px {
namespace {

TEST(Bitmap, RowLayoutIsPaddedToFourBytes)
{
    // width * bpp bits rounded up to whole 32-bit words.
    EXPECT_EQ(Bitmap::strideFor(1, 24), 4u);
    EXPECT_EQ(Bitmap::strideFor(33, 1), 8u);
    EXPECT_EQ(Bitmap::strideFor(9, 4), 8u);
    EXPECT_EQ(Bitmap::strideFor(5, 8), 8u);
    Bitmap b(5, 2, 24);
    EXPECT_EQ(b.stride(), 16u);
    EXPECT_EQ(b.row(1) - b.row(0), 16);
}

TEST(Bitmap, TwentyFourBitPixelsAreBlueGreenRedTopRowFirst)
{
    Bitmap b(2, 2, 24);
    b.setPixel(1, 0, makeColour(10, 20, 30));
    const std::uint8_t* r0 = b.row(0);
    EXPECT_EQ(r0[3], 30); // blue
    EXPECT_EQ(r0[4], 20); // green
    EXPECT_EQ(r0[5], 10); // red
    EXPECT_EQ(b.pixel(1, 0), makeColour(10, 20, 30));
    EXPECT_EQ(b.pixel(0, 1), kBlack);
    EXPECT_EQ(b.pixel(-1, 0), kBlack);
}

TEST(Bitmap, IndexedPixelsPackHighBitsFirst)
{
    Bitmap one(10, 1, 1);
    one.setPixelIndex(0, 0, 1);
    one.setPixelIndex(9, 0, 1);
    EXPECT_EQ(one.row(0)[0], 0x80);
    EXPECT_EQ(one.row(0)[1], 0x40);
    EXPECT_EQ(one.pixel(9, 0), kWhite);

    Bitmap four(3, 1, 4);
    four.setPixelIndex(0, 0, 0xA);
    four.setPixelIndex(1, 0, 0x3);
    four.setPixelIndex(2, 0, 0xF);
    EXPECT_EQ(four.row(0)[0], 0xA3);
    EXPECT_EQ(four.row(0)[1], 0xF0);
    EXPECT_EQ(four.pixel(2, 0), kWhite);
}

TEST(Bitmap, RefusesAbsurdSizesAndDepths)
{
    EXPECT_THROW(Bitmap(65536, 1), BitmapError);
    EXPECT_THROW(Bitmap(20000, 20000), BitmapError); // 4e8 > 2^28 pixels
    EXPECT_THROW(Bitmap(-1, 5), BitmapError);
    EXPECT_THROW(Bitmap(4, 4, 16), BitmapError);
    EXPECT_TRUE(Bitmap(0, 0).isEmpty());
    EXPECT_TRUE(Bitmap::isAcceptableSize(65535, 4096));
    EXPECT_FALSE(Bitmap::isAcceptableSize(65535, 4097));
    EXPECT_FALSE(Bitmap::isAcceptableSize(0, 10));
}

TEST(Bitmap, ResizeKeepsTopLeftAndBlackensNewArea)
{
    Bitmap b = test::fromAscii({"..#",
                                "#.."});
    b.resize(4, 3);
    EXPECT_EQ(test::toAscii(b), "..##\n"
                                "#..#\n"
                                "####\n");
    b.resize(2, 1);
    EXPECT_EQ(test::toAscii(b), "..\n");

    // Indexed: partial bytes keep their pixels, new pixels take black's index.
    Bitmap one(3, 1, 1);
    one.setPalette({kWhite, kBlack}); // black is index 1 here
    one.setPixelIndex(1, 0, 1);
    one.resize(12, 2);
    EXPECT_EQ(one.pixel(0, 0), kWhite);
    EXPECT_EQ(one.pixel(1, 0), kBlack);
    EXPECT_EQ(one.pixel(2, 0), kWhite);
    for (int x = 3; x < 12; ++x)
        EXPECT_EQ(one.pixel(x, 0), kBlack) << x;
    EXPECT_EQ(one.pixel(0, 1), kBlack);
}

struct FormatCase {
    int bpp;
    Colour in;
    Colour out;
};

class PixelFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PixelFormat, MapsToNearestStandardColour)
{
    const auto [bpp, in, out] = GetParam();
    Bitmap b(3, 2, 24);
    b.fill(in);
    b.setPixelFormat(bpp);
    ASSERT_EQ(b.bitsPerPixel(), bpp);
    EXPECT_EQ(b.pixel(2, 1), out);
    b.setPixelFormat(24);
    EXPECT_EQ(b.pixel(0, 0), out);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, PixelFormat,
    ::testing::Values(FormatCase{1, makeColour(127, 127, 127), kBlack}, // 3*127^2 < 3*128^2
                      FormatCase{1, makeColour(128, 128, 128), kWhite},
                      FormatCase{1, makeColour(255, 0, 0), kBlack},     // 255^2 < 2*255^2
                      FormatCase{4, makeColour(250, 10, 5), makeColour(255, 0, 0)},
                      FormatCase{4, makeColour(100, 100, 100), makeColour(128, 128, 128)},
                      FormatCase{4, makeColour(200, 190, 185), makeColour(192, 192, 192)},
                      FormatCase{8, makeColour(0, 51, 204), makeColour(0, 51, 204)},
                      FormatCase{8, makeColour(30, 26, 80), makeColour(51, 51, 102)},
                      // Greys between cube levels land on the extra grey ramp.
                      FormatCase{8, makeColour(60, 60, 60), makeColour(62, 62, 62)},
                      FormatCase{8, makeColour(61, 60, 62), makeColour(62, 62, 62)},
                      FormatCase{24, makeColour(1, 2, 3), makeColour(1, 2, 3)}));

TEST(Bitmap, EightBitNearestAgreesWithFullSearch)
{
    // The constant-time lookup must pick what a search of all 256 entries picks.
    const auto& pal = Bitmap::standardPalette(8);
    ASSERT_EQ(pal.size(), 256u);
    Bitmap probe(1, 1, 8);
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 7)
            for (int b = 0; b < 256; b += 3) {
                const Colour c = makeColour(r, g, b);
                int best = 0, bestD = 1 << 30;
                for (int i = 0; i < 256; ++i) {
                    const int dr = r - redOf(pal[i]), dg = g - greenOf(pal[i]), db = b - blueOf(pal[i]);
                    const int d = dr * dr + dg * dg + db * db;
                    if (d < bestD) {
                        bestD = d;
                        best = i;
                    }
                }
                ASSERT_EQ(probe.nearestIndex(c), best) << r << "," << g << "," << b;
            }
}

TEST(Bitmap, IndexedToIndexedAndBackIsExactForPaletteColours)
{
    Bitmap b(17, 3, 24);
    const auto& pal16 = Bitmap::standardPalette(4);
    for (int x = 0; x < 17; ++x)
        for (int y = 0; y < 3; ++y)
            b.setPixel(x, y, pal16[(x + y) % 16]);
    Bitmap copy = b;
    b.setPixelFormat(4);
    b.setPixelFormat(8); // the 16 standard colours are not all in the cube
    b.setPixelFormat(24);
    Bitmap viaFour = copy;
    viaFour.setPixelFormat(4);
    viaFour.setPixelFormat(24);
    EXPECT_TRUE(viaFour == copy);
    EXPECT_EQ(b.pixel(0, 0), kBlack);
    EXPECT_EQ(b.pixel(15, 0), kWhite);
}

TEST(Bitmap, EqualityIgnoresRowPadding)
{
    Bitmap a(3, 1, 8), b(3, 1, 8);
    a.row(0)[3] = 0x55; // padding byte
    EXPECT_TRUE(a == b);
    b.setPixelIndex(2, 0, 9);
    EXPECT_FALSE(a == b);
}

} // namespace
} // namespace px
