#include "fileio/PngFile.h"
#include "codecs/ImageFileError.h"
#include "fileio/FileTestSupport.h"
#include "platform/AtomicFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <png.h>

namespace px {
namespace {

using test::Bytes;

// Encodes a tiny PNG with libpng directly, independent of our writer.
Bytes makePng(int w, int h, int colourType, int depth, const Bytes& pixels, const Bytes& palette = {},
              const Bytes& trns = {})
{
    return test::throughStream([&](std::FILE* f) {
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        png_init_io(png, f);
        png_set_IHDR(png, info, w, h, depth, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        std::vector<png_color> pal;
        for (std::size_t i = 0; i + 2 < palette.size(); i += 3)
            pal.push_back({palette[i], palette[i + 1], palette[i + 2]});
        if (!pal.empty())
            png_set_PLTE(png, info, pal.data(), int(pal.size()));
        if (!trns.empty())
            png_set_tRNS(png, info, trns.data(), int(trns.size()), nullptr);
        png_write_info(png, info);
        const std::size_t rowBytes = png_get_rowbytes(png, info);
        for (int y = 0; y < h; ++y)
            png_write_row(png, pixels.data() + y * rowBytes);
        png_write_end(png, info);
        png_destroy_write_struct(&png, &info);
    });
}

TEST(PngRead, AlphaBlendsOverThePreviousContent)
{
    // RGBA pixels: opaque red, alpha 128 blue, alpha 0 green, over a grey 100 bitmap.
    const Bytes file = makePng(3, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {255, 0, 0, 255, 0, 0, 255, 128, 0, 255, 0, 0});
    Bitmap b(3, 1, 24);
    b.fill(makeColour(100, 100, 100));
    decodePngInto(file, b);
    EXPECT_EQ(b.pixel(0, 0), makeColour(255, 0, 0));
    // (old * 127 + 128 * new) div 255: 100*127/255 = 49; (12700 + 32640)/255 = 177
    EXPECT_EQ(b.pixel(1, 0), makeColour(49, 49, 177));
    EXPECT_EQ(b.pixel(2, 0), makeColour(100, 100, 100));
    // A transparent palette entry leaves the background too.
    Bitmap w(2, 1, 24);
    w.fill(kWhite);
    decodePngInto(makePng(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1}, {10, 20, 30, 40, 50, 60}, {0, 255}), w);
    EXPECT_EQ(w.pixel(0, 0), kWhite);
    EXPECT_EQ(w.pixel(1, 0), makeColour(40, 50, 60));
}

struct LayoutCase {
    const char* name;
    int colourType;
    int depth;
    Bytes pixels;
    Colour first, second;
};

class PngLayouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PngLayouts, BecomeTwentyFourBit)
{
    const LayoutCase& c = GetParam();
    const Bitmap b = decodePng(makePng(2, 1, c.colourType, c.depth, c.pixels));
    ASSERT_EQ(b.bitsPerPixel(), 24);
    EXPECT_EQ(b.pixel(0, 0), c.first);
    EXPECT_EQ(b.pixel(1, 0), c.second);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PngLayouts,
    ::testing::Values(LayoutCase{"grey1", PNG_COLOR_TYPE_GRAY, 1, {0x40}, kBlack, kWhite},
                      LayoutCase{"grey4", PNG_COLOR_TYPE_GRAY, 4, {0x3F}, makeColour(51, 51, 51), kWhite},
                      LayoutCase{
                          "grey8", PNG_COLOR_TYPE_GRAY, 8, {7, 200}, makeColour(7, 7, 7), makeColour(200, 200, 200)},
                      LayoutCase{"grey16",
                                 PNG_COLOR_TYPE_GRAY,
                                 16,
                                 {0x12, 0x34, 0xFF, 0x00},
                                 makeColour(18, 18, 18),
                                 makeColour(255, 255, 255)},
                      LayoutCase{"rgb16",
                                 PNG_COLOR_TYPE_RGB,
                                 16,
                                 {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0},
                                 makeColour(1, 2, 3),
                                 makeColour(4, 5, 6)},
                      LayoutCase{"greyalpha_opaque",
                                 PNG_COLOR_TYPE_GRAY_ALPHA,
                                 8,
                                 {9, 255, 90, 255},
                                 makeColour(9, 9, 9),
                                 makeColour(90, 90, 90)}),
    [](const auto& info) { return std::string(info.param.name); });

// The file reader (parts read from the file as libpng asks for them) gives
// what the reader of the file in memory gives.
TEST(PngRead, TruncatedOrCorruptFilesAreRefusedFromMemoryAndFromTheFile)
{
    const Bytes file = makePng(4, 4, PNG_COLOR_TYPE_RGB, 8, Bytes(48, 77));
    test::TempDir dir;
    const auto path = dir.file("copy.png");
    auto saved = [&](const Bytes& bytes) {
        test::writeBytes(path, bytes);
        return path;
    };
    EXPECT_TRUE(readPngFile(saved(file)) == decodePng(file));
    for (const std::size_t percent : {0, 5, 30, 60, 90}) {
        const Bytes part(file.begin(), file.begin() + std::ptrdiff_t(file.size() * percent / 100));
        EXPECT_THROW(decodePng(part), InvalidImageError) << percent << "%";
        EXPECT_THROW(readPngFile(saved(part)), InvalidImageError) << percent << "%";
    }
    Bytes bad = file;
    bad[20] ^= 0xFF; // inside the header chunk: its CRC no longer matches
    EXPECT_THROW(decodePng(bad), InvalidImageError);
    EXPECT_THROW(decodePng(Bytes{'n', 'o', 't'}), InvalidImageError);
}

TEST(PngWrite, RgbWithSoftwareTextAndExactPixels)
{
    Bitmap src = test::fromAscii({"#.r", ".g#"}, {{'r', makeColour(200, 1, 2)}, {'g', makeColour(3, 150, 4)}});
    src.setPixelFormat(4); // any depth is written as 8-bit RGB
    const Bytes file = encodePng(src);

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, file.data(), file.size()));
    EXPECT_EQ(image.format & PNG_FORMAT_FLAG_ALPHA, 0u);
    EXPECT_EQ(image.format & PNG_FORMAT_FLAG_COLOR, unsigned(PNG_FORMAT_FLAG_COLOR));
    image.format = PNG_FORMAT_RGB;
    Bytes rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(makeColour(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]), src.pixel(i % 3, i / 3)) << "pixel " << i;
    const std::string text(file.begin(), file.end());
    EXPECT_NE(text.find(std::string("tEXtSoftware\0Pixoran3", 21)), std::string::npos);
}

TEST(PngWrite, TransparentColourGivesAlphaZero)
{
    const Bitmap src = test::fromAscii({"#."});
    const Bytes file = encodePng(src, kWhite);
    Bitmap back(2, 1, 24);
    back.fill(makeColour(1, 2, 3));
    decodePngInto(file, back);
    EXPECT_EQ(back.pixel(0, 0), kBlack);
    EXPECT_EQ(back.pixel(1, 0), makeColour(1, 2, 3));
}

TEST(PngFile, SavedFileLoadsAndAMissingOneIsRefused)
{
    test::TempDir dir;
    savePngFile(dir.file("a.png"), test::fromAscii({"#."}));
    Bitmap loaded;
    loadPngFile(dir.file("a.png"), loaded);
    EXPECT_EQ(loaded, test::fromAscii({"#."}));
    EXPECT_THROW(loadPngFile(dir.file("none.png"), loaded), InvalidImageError);
}

// The writer's own texts, then the system's reason; nothing left behind.
TEST(PngFile, WriteFailuresGiveTheWriterMessagesWithTheReason)
{
    test::TempDir dir;
    const auto missing = dir.path() / "absent" / "a.png";
    try {
        savePngFile(missing, test::fromAscii({"#."}));
        FAIL() << "no error";
    } catch (const FileWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Error Opening File " + missing.string() + "! (No such file or directory)");
    }

    // A file size limit makes the system refuse the data, even for root.
    Bitmap noise(300, 300, 24);
    std::uint32_t state = 1;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 900; ++x)
            noise.row(y)[x] = std::uint8_t((state = state * 1664525u + 1013904223u) >> 24);
    std::string message;
    test::withFileSizeLimit(4096, [&] {
        try {
            savePngFile(dir.file("big.png"), noise);
        } catch (const FileWriteError& e) {
            message = e.what();
        }
    });
    EXPECT_EQ(message, "Error Writing PNG File! (File too large)");
    EXPECT_EQ(test::fileCount(dir.path()), 0u);
}

} // namespace
} // namespace px
