#include "fileio/BmpFile.h"
#include "fileio/ImageFileError.h"
#include "platform/AtomicFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <tuple>
#include <vector>

namespace px {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr Colour kRed = makeColour(255, 0, 0);
constexpr Colour kGreen = makeColour(0, 255, 0);
constexpr Colour kBlue = makeColour(0, 0, 255);

Bytes readAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

TEST(BmpWrite, TwentyFourBitLayoutIsBottomUpWithPaddedRows)
{
    Bitmap b(2, 2, 24);
    b.setPixel(0, 0, kRed);
    b.setPixel(1, 0, kGreen);
    b.setPixel(0, 1, kBlue);
    b.setPixel(1, 1, kWhite);
    const Bytes expected = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
        40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,
        16, 0, 0, 0, 0xC4, 0x0E, 0, 0, 0xC4, 0x0E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0,
        0, 0, 0xFF, 0, 0xFF, 0, 0, 0,
    };
    EXPECT_EQ(encodeBmp(b), expected);
}

TEST(BmpWrite, IndexedLayoutHasAFullBlackPaddedPaletteAndCleanRowEnds)
{
    // 3 x 1, 4 bits, two colours; junk past the last pixel must not reach the file.
    Bitmap b(3, 1, 4);
    b.setPalette({kRed, kBlue});
    b.setPixelIndex(0, 0, 1);
    b.setPixelIndex(2, 0, 1);
    b.row(0)[1] |= 0x0F;
    b.row(0)[3] = 0x77;
    Bytes expected = {
        'B', 'M', 122, 0, 0, 0, 0, 0, 0, 0, 118, 0, 0, 0,
        40, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 1, 0, 4, 0, 0, 0, 0, 0,
        4, 0, 0, 0, 0xC4, 0x0E, 0, 0, 0xC4, 0x0E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0xFF, 0, 0xFF, 0, 0, 0};
    expected.resize(118, 0); // fourteen black entries
    for (std::uint8_t v : {0x10, 0x10, 0x00, 0x00}) // 1 0 | 1 -
        expected.push_back(v);
    EXPECT_EQ(encodeBmp(b), expected);
}

// A bitmap of the given depth and width whose pixels and palette all differ.
Bitmap patterned(int bpp, int width, int height)
{
    Bitmap b(width, height, bpp);
    if (bpp == 24) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                b.setPixel(x, y, makeColour(x * 7 + y, 255 - x * 5, (x * y * 13) & 255));
        return b;
    }
    const int n = 1 << bpp;
    std::vector<Colour> palette;
    for (int i = 0; i < n; ++i)
        palette.push_back(makeColour(i, 255 - i, (i * 37) & 255));
    b.setPalette(palette);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setPixelIndex(x, y, (x * 3 + y * 5 + 1) % n);
    return b;
}

class BmpRoundTrip : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(BmpRoundTrip, DecodingTheEncodedFileGivesTheSameBitmap)
{
    const auto [bpp, width] = GetParam();
    // Heights 1 to 3, so that 1 x 1 is among the cases.
    const Bitmap original = patterned(bpp, width, 1 + (width / 2) % 3);
    const Bitmap back = decodeBmp(encodeBmp(original));
    EXPECT_TRUE(back == original) << test::dumpMismatch(
        "bmp-roundtrip-" + std::to_string(bpp) + "-" + std::to_string(width), back, original);
}

INSTANTIATE_TEST_SUITE_P(DepthsAndWidths, BmpRoundTrip,
                         ::testing::Combine(::testing::Values(1, 4, 8, 24), ::testing::Range(1, 34)),
                         [](const auto& info) {
                             return std::to_string(std::get<0>(info.param)) + "bpp_w" +
                                    std::to_string(std::get<1>(info.param));
                         });

TEST(BmpWrite, FileRoundTripAndFailedSavesKeepTheOldFile)
{
    test::TempDir dir;
    const auto target = dir.file("image.bmp");
    const Bitmap first = patterned(8, 5, 4);
    writeBmpFile(target, first);
    EXPECT_EQ(readAll(target), encodeBmp(first));
    EXPECT_TRUE(readBmpFile(target) == first);

    // An empty bitmap cannot be stored: the old file stays, no temporary is left.
    EXPECT_THROW(writeBmpFile(target, Bitmap()), BitmapError);
    EXPECT_TRUE(readBmpFile(target) == first);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    EXPECT_THROW(writeBmpFile(dir.path() / "missing" / "x.bmp", first), FileWriteError);
    EXPECT_THROW(encodeBmp(Bitmap()), BitmapError);
}

} // namespace
} // namespace px
