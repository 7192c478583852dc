// Files our writers produce, read by another program: ImageMagick's convert
// turns each into raw RGB, which must match what our own reader sees.
#include "codecs/CodecTiff.h"
#include "fileio/FileTestSupport.h"
#include "fileio/JpegFile.h"
#include "fileio/PcxFile.h"
#include "fileio/PngFile.h"
#include "fileio/TargaFile.h"
#include "fileio/TiffWriter.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace px {
namespace {

struct WriterCase {
    const char* name;
    const char* extension;
    int bitsPerPixel;
    // Writes `bmp` to `path` and returns what our reader makes of that file.
    std::function<Bitmap(const std::filesystem::path&, const Bitmap&)> writeAndRead;
    int tolerance; // per channel: 0 for lossless formats
};

Bitmap picture(int bpp)
{
    // 7 x 5, odd width: rows need padding in every format.
    Bitmap b(7, 5, 24);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            b.setPixel(x, y, makeColour(x * 36, y * 60, (x * y * 23) % 256));
    if (bpp != 24)
        b.setPixelFormat(bpp);
    return b;
}

class SecondReader : public ::testing::TestWithParam<WriterCase> {};

TEST_P(SecondReader, SeesTheSamePixelsAsOurReader)
{
    if (std::system("command -v convert >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "convert not installed";
    const WriterCase& c = GetParam();
    test::TempDir dir;
    const auto file = dir.file(std::string("a.") + c.extension);
    const Bitmap ours = c.writeAndRead(file, picture(c.bitsPerPixel));
    const auto raw = dir.file("a.rgb");
    const std::string cmd = "convert '" + file.string() + "' -depth 8 rgb:'" + raw.string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    const test::Bytes rgb = test::readAll(raw);
    ASSERT_EQ(rgb.size(), std::size_t(3 * ours.width() * ours.height()));
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) {
            const std::size_t i = 3 * (std::size_t(y) * ours.width() + x);
            const Colour c2 = ours.pixel(x, y);
            EXPECT_NEAR(rgb[i], redOf(c2), c.tolerance) << x << "," << y;
            EXPECT_NEAR(rgb[i + 1], greenOf(c2), c.tolerance) << x << "," << y;
            EXPECT_NEAR(rgb[i + 2], blueOf(c2), c.tolerance) << x << "," << y;
        }
}

Bitmap viaTarga(const std::filesystem::path& p, const Bitmap& b, int type)
{
    saveTargaFile(p, b, type);
    return loadTargaFile(p);
}

Bitmap viaPcx(const std::filesystem::path& p, const Bitmap& b)
{
    writePcxFile(p, b);
    return decodePcx(test::readAll(p));
}

INSTANTIATE_TEST_SUITE_P(
    Writers, SecondReader,
    ::testing::Values(WriterCase{"targa_true_colour", "tga", 24,
                                 [](const auto& p, const Bitmap& b) { return viaTarga(p, b, kTargaTrueColour); }, 0},
                      // Colour maps pass through six bits a channel: the file holds v * 255 / 63,
                      // our reader keeps v * 4, another reader the file's value.
                      WriterCase{"targa_colour_mapped", "tga", 8,
                                 [](const auto& p, const Bitmap& b) { return viaTarga(p, b, kTargaColourMapped); }, 3},
                      WriterCase{"tiff_24", "tif", 24,
                                 [](const auto& p, const Bitmap& b) {
                                     saveTiffFile(p, b);
                                     return decodeTiff(test::readAll(p));
                                 },
                                 0},
                      WriterCase{"pcx_24", "pcx", 24, viaPcx, 0}, WriterCase{"pcx_8", "pcx", 8, viaPcx, 0},
                      // Both readers decode with the same library family; rounding of the
                      // colour conversion may differ by one.
                      WriterCase{"jpeg", "jpg", 24,
                                 [](const auto& p, const Bitmap& b) {
                                     const auto bytes = encodeJpeg(b, JpegOptions{90, false});
                                     test::writeBytes(p, bytes);
                                     return decodeJpeg(bytes);
                                 },
                                 2}),
    [](const ::testing::TestParamInfo<WriterCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace px
