#include "fileio/JpegFile.h"
#include "codecs/ImageFileError.h"
#include "fileio/FileTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace px {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bitmap smoothImage()
{
    Bitmap b(32, 24, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            b.setPixel(x, y, makeColour(x * 8, y * 10, 128));
    return b;
}

struct JpegCase {
    int quality;
    bool progressive;
    int tolerance;
};

class JpegRoundTrip : public ::testing::TestWithParam<JpegCase> {};

TEST_P(JpegRoundTrip, ReadsBackCloseToTheSource)
{
    const Bitmap src = smoothImage();
    const Bytes file = encodeJpeg(src, JpegOptions{GetParam().quality, GetParam().progressive});
    // Progressive files carry the SOF2 marker, baseline ones SOF0.
    const std::string text(file.begin(), file.end());
    EXPECT_EQ(text.find("\xFF\xC2") != std::string::npos, GetParam().progressive);
    const Bitmap back = decodeJpeg(file);
    ASSERT_EQ(back.width(), 32);
    ASSERT_EQ(back.height(), 24);
    EXPECT_LE(test::largestDifference(back, src), GetParam().tolerance);
}

INSTANTIATE_TEST_SUITE_P(Options, JpegRoundTrip,
                         ::testing::Values(JpegCase{90, false, 12}, JpegCase{90, true, 12}, JpegCase{1, false, 255},
                                           JpegCase{500, false, 6})); // over 99 is read as 99

TEST(JpegWrite, LowerQualityGivesSmallerFiles)
{
    const Bitmap src = smoothImage();
    EXPECT_LT(encodeJpeg(src, {10, false}).size(), encodeJpeg(src, {90, false}).size());
}

TEST(JpegRead, DamagedFilesRaiseInvalidImage)
{
    const Bytes file = encodeJpeg(smoothImage(), {});
    EXPECT_THROW(decodeJpeg(Bytes(file.begin(), file.begin() + 20)), InvalidImageError);
    EXPECT_THROW(decodeJpeg(Bytes{}), InvalidImageError);
    EXPECT_THROW(decodeJpeg(Bytes{0xFF, 0xD8, 0xFF, 0xD9}), InvalidImageError);
    EXPECT_THROW(decodeJpeg(Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10}), InvalidImageError);
}

TEST(JpegWrite, IndexedBitmapIsSavedAsColour)
{
    test::TempDir dir;
    Bitmap one = test::fromAscii({"#.", ".#"});
    one.setPixelFormat(1);
    writeJpegFile(dir.file("a.jpg"), one, {95, false});
    const Bitmap back = readJpegFile(dir.file("a.jpg"));
    EXPECT_EQ(back.bitsPerPixel(), 24);
    EXPECT_LT(redOf(back.pixel(0, 0)), 60);
    EXPECT_GT(redOf(back.pixel(1, 0)), 195);
}

} // namespace
} // namespace px
