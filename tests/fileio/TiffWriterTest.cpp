#include "fileio/TiffWriter.h"
#include "codecs/CodecTiff.h"
#include "fileio/FileTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace px {
namespace {

using test::Bytes;

unsigned u16(const Bytes& b, std::size_t at)
{
    return unsigned(b[at]) | (unsigned(b[at + 1]) << 8);
}
std::uint32_t u32(const Bytes& b, std::size_t at)
{
    return u16(b, at) | (std::uint32_t(u16(b, at + 2)) << 16);
}

// The first directory as "tag:type:count:value" fields separated by spaces.
std::string directory(const Bytes& file)
{
    const std::uint32_t at = u32(file, 4);
    const unsigned n = u16(file, at);
    std::string text;
    for (unsigned i = 0; i < n; ++i) {
        const std::size_t e = at + 2 + 12 * i;
        text += (i ? " " : "") + std::to_string(u16(file, e)) + ":" + std::to_string(u16(file, e + 2)) + ":" +
                std::to_string(u32(file, e + 4)) + ":" + std::to_string(u32(file, e + 8));
    }
    EXPECT_EQ(u32(file, at + 2 + 12 * n), 0u) << "next directory offset";
    return text;
}

TEST(TiffWrite, TwentyFourBitTemplate)
{
    // 2 x 2 RGB: rationals at 8, BitsPerSample at 24, text at 30, rows at 40.
    Bitmap b(2, 2, 24);
    b.setPixel(0, 0, makeColour(1, 2, 3));
    Bytes file;
    encodeTiff(b, file);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{'I', 'I', 42, 0}));
    // 877/10 pixels per centimetre twice, then 8 bits for each sample.
    EXPECT_EQ(Bytes(file.begin() + 8, file.begin() + 30),
              (Bytes{0x6D, 3, 0, 0, 10, 0, 0, 0, 0x6D, 3, 0, 0, 10, 0, 0, 0, 8, 0, 8, 0, 8, 0}));
    EXPECT_EQ(std::string(file.begin() + 30, file.begin() + 40), "Talpe soft");
    EXPECT_EQ(Bytes(file.begin() + 40, file.begin() + 43), (Bytes{1, 2, 3}));
    EXPECT_EQ(u32(file, 4), 52u);
    EXPECT_EQ(directory(file), "254:4:1:0 256:3:1:2 257:3:1:2 258:3:3:24 259:3:1:1 262:3:1:2 273:4:1:40 277:3:1:3 "
                               "278:4:1:2 279:4:1:12 282:5:1:8 283:5:1:16 284:3:1:1 296:3:1:2 305:2:10:30");
    EXPECT_EQ(file.size(), 52u + 2 + 15 * 12 + 4);
}

TEST(TiffWrite, OneBitTemplate)
{
    // 10 x 3: rows of 2 bytes at 8, rationals at 14, text at 30, directory at 40.
    Bitmap b(10, 3, 1);
    b.setPixelIndex(0, 0, 1);
    b.setPixelIndex(9, 2, 1);
    Bytes file;
    encodeTiff(b, file);
    EXPECT_EQ(Bytes(file.begin() + 8, file.begin() + 14), (Bytes{0x80, 0, 0, 0, 0, 0x40}));
    EXPECT_EQ(std::string(file.begin() + 30, file.begin() + 40), "Talpe soft");
    EXPECT_EQ(directory(file), "254:4:1:0 256:3:1:10 257:3:1:3 258:3:1:1 259:3:1:1 262:3:1:1 273:4:1:8 277:3:1:1 "
                               "278:4:1:3 279:4:1:6 282:5:1:14 283:5:1:22 296:3:1:2 305:2:10:30");
}

TEST(TiffWrite, FourBitTemplateRoundsWidthDown)
{
    // 5 x 1 four bits: ImageWidth 4, 2 bytes a row; colour map 48 shorts at 8
    // (ends at 104), rationals 104, text 120, rows 130.
    Bitmap b(5, 1, 4);
    std::vector<Colour> pal(16, kBlack);
    pal[1] = makeColour(255, 2, 3);
    b.setPalette(pal);
    b.setPixelIndex(1, 0, 1);
    Bytes file;
    encodeTiff(b, file);
    EXPECT_EQ(u16(file, 8 + 2), 255u * 256);    // red of entry 1
    EXPECT_EQ(u16(file, 8 + 32 + 2), 2u * 256); // green of entry 1
    EXPECT_EQ(u16(file, 8 + 64 + 2), 3u * 256); // blue of entry 1
    EXPECT_EQ(Bytes(file.begin() + 130, file.begin() + 132), (Bytes{0x01, 0x00}));
    EXPECT_EQ(directory(file), "254:4:1:0 256:3:1:4 257:3:1:1 258:3:1:4 259:3:1:1 262:3:1:3 273:4:1:130 277:3:1:1 "
                               "278:4:1:1 279:4:1:2 282:5:1:104 283:5:1:112 296:3:1:2 305:2:10:120 320:3:48:8");
}

class TiffRoundTrip : public ::testing::TestWithParam<int> {};

// Our writer's files read back through libtiff (our reader) pixel for pixel.
TEST_P(TiffRoundTrip, ReadsBackExactly)
{
    Bitmap src = test::fromAscii({"#..r#...", ".gg#...r", "r...#..g"},
                                 {{'r', makeColour(200, 0, 0)}, {'g', makeColour(0, 128, 0)}});
    if (GetParam() != 24)
        src.setPixelFormat(GetParam());
    Bytes file;
    encodeTiff(src, file);
    const Bitmap back = decodeTiff(file);
    EXPECT_TRUE(back == src) << test::dumpMismatch("tiff_roundtrip", back, src);
}

INSTANTIATE_TEST_SUITE_P(Depths, TiffRoundTrip, ::testing::Values(1, 4, 8, 24));

TEST(TiffWrite, InvertedMonochromeAndNarrowFourBitImagesKeepTheirLook)
{
    Bitmap inverted(8, 1, 1);
    inverted.setPalette({kWhite, kBlack});
    inverted.setPixelIndex(0, 0, 1); // black pixel stored as 1
    Bitmap narrow(3, 1, 4);          // narrower than the 4-bit width rounding
    narrow.setPixelIndex(2, 0, 9);
    for (const Bitmap* b : {&inverted, &narrow}) {
        Bytes file;
        encodeTiff(*b, file);
        const Bitmap back = decodeTiff(file);
        ASSERT_EQ(back.width(), b->width());
        for (int x = 0; x < b->width(); ++x)
            EXPECT_EQ(back.pixel(x, 0), b->pixel(x, 0)) << b->bitsPerPixel() << " bits, pixel " << x;
    }
}

} // namespace
} // namespace px
