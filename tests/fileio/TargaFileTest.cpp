#include "fileio/TargaFile.h"
#include "codecs/ImageFileError.h"
#include "fileio/FileTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace px {
namespace {

using test::Bytes;
using test::operator+;

Bytes header(int type, int depth, int w, int h, int descriptor, int mapType = 0, int mapFirst = 0, int mapLen = 0,
             int mapBits = 0)
{
    Bytes b(18, 0);
    b[1] = std::uint8_t(mapType);
    b[2] = std::uint8_t(type);
    test::putLE(b, 3, std::uint32_t(mapFirst), 2);
    test::putLE(b, 5, std::uint32_t(mapLen), 2);
    b[7] = std::uint8_t(mapBits);
    test::putLE(b, 12, std::uint32_t(w), 2);
    test::putLE(b, 14, std::uint32_t(h), 2);
    b[16] = std::uint8_t(depth);
    b[17] = std::uint8_t(descriptor);
    return b;
}

struct TrueColourCase {
    const char* name;
    Bytes file;
    std::vector<Colour> pixels; // row by row, from the top
};

class TargaTrueColour : public ::testing::TestWithParam<TrueColourCase> {};

TEST_P(TargaTrueColour, DecodesInDisplayOrder)
{
    const Bitmap b = decodeTarga(GetParam().file);
    ASSERT_EQ(b.bitsPerPixel(), 24);
    ASSERT_EQ(std::size_t(b.width() * b.height()), GetParam().pixels.size());
    for (int i = 0; i < b.width() * b.height(); ++i)
        EXPECT_EQ(b.pixel(i % b.width(), i / b.width()), GetParam().pixels[std::size_t(i)]) << "pixel " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, TargaTrueColour,
    ::testing::Values(
        // 1 x 2, descriptor 0: the first stored row is the bottom one.
        TrueColourCase{
            "BottomUp", header(2, 24, 1, 2, 0) + Bytes{1, 2, 3, 4, 5, 6}, {makeColour(6, 5, 4), makeColour(3, 2, 1)}},
        // Descriptor bits 5 and 4: top row first, pixels right to left.
        TrueColourCase{"TopDownRightToLeft",
                       header(2, 24, 2, 1, 0x30) + Bytes{10, 20, 30, 40, 50, 60},
                       {makeColour(60, 50, 40), makeColour(30, 20, 10)}},
        // 0x7FFF -> 248 per channel; 0x7C00 -> pure red 248.
        TrueColourCase{"SixteenBits",
                       header(2, 16, 2, 1, 0x20) + Bytes{0xFF, 0x7F, 0x00, 0x7C},
                       {makeColour(248, 248, 248), makeColour(248, 0, 0)}},
        // 15 bits: the same layout, the top bit ignored; 0x83E0 -> green 248,
        // 0x001F -> blue 248, 0x0421 -> 8 per channel.
        TrueColourCase{"FifteenBits",
                       header(2, 15, 3, 1, 0x20) + Bytes{0xE0, 0x83, 0x1F, 0x00, 0x21, 0x04},
                       {makeColour(0, 248, 0), makeColour(0, 0, 248), makeColour(8, 8, 8)}},
        TrueColourCase{"FifteenBitsRunLength",
                       header(10, 15, 3, 1, 0x20) + Bytes{0x82, 0xFF, 0x7F},
                       {makeColour(248, 248, 248), makeColour(248, 248, 248), makeColour(248, 248, 248)}},
        TrueColourCase{
            "ThirtyTwoBitsDropAlpha", header(2, 32, 1, 1, 0x20) + Bytes{1, 2, 3, 99}, {makeColour(3, 2, 1)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TargaRead, RunAndLiteralPacketsAcrossRowEnds)
{
    // 5 x 1 grey (type 11, 8 bits): 130 = run of 3 of value 200; then 1 =
    // two literals 7 and 9. The grey ramp passes through 6 bits: c -> (c*63/255)*4.
    const Bitmap b = decodeTarga(header(11, 8, 5, 1, 0x20) + Bytes{130, 200, 1, 7, 9});
    ASSERT_EQ(b.bitsPerPixel(), 8);
    EXPECT_EQ(b.pixelIndex(0, 0), 200);
    EXPECT_EQ(b.pixelIndex(2, 0), 200);
    EXPECT_EQ(b.pixelIndex(3, 0), 7);
    EXPECT_EQ(b.pixelIndex(4, 0), 9);
    EXPECT_EQ(b.palette()[200], makeColour(196, 196, 196)); // 200*63/255 = 49, *4
    EXPECT_EQ(b.palette()[255], makeColour(252, 252, 252));
    // 2 x 2 top-down: one run of 4 (header 131) carries on past the first row's end.
    const Bitmap c = decodeTarga(header(11, 8, 2, 2, 0x20) + Bytes{131, 77});
    EXPECT_EQ(c.pixelIndex(0, 1), 77);
    EXPECT_EQ(c.pixelIndex(1, 1), 77);
}

TEST(TargaRead, ColourMapPassesThroughSixBits)
{
    // Map of 2 entries starting at index 1: 24-bit (B, G, R) and index 2.
    const Bytes file = header(1, 8, 2, 1, 0x20, 1, 1, 2, 24) + Bytes{3, 130, 255, 0, 0, 64} + Bytes{1, 2};
    const Bitmap b = decodeTarga(file);
    EXPECT_EQ(b.palette()[1], makeColour(252, 128, 0)); // 255>>2=63 *4, 130>>2=32 *4, 3>>2=0
    EXPECT_EQ(b.palette()[2], makeColour(64, 0, 0));
    EXPECT_EQ(b.palette()[0], kBlack);
}

TEST(TargaRead, OneBitImage)
{
    // 10 x 1 one bit: 0b10100000 0b01000000.
    const Bitmap b = decodeTarga(header(3, 1, 10, 1, 0x20) + Bytes{0xA0, 0x40});
    ASSERT_EQ(b.bitsPerPixel(), 1);
    EXPECT_EQ(test::indicesOf(b), "1010000001");
    EXPECT_EQ(b.palette()[1], kWhite);
}

struct RefusedHeader {
    int type;
    int depth;
};

class TargaRefusedHeader : public ::testing::TestWithParam<RefusedHeader> {};

TEST_P(TargaRefusedHeader, GivesOneBlackPixel)
{
    const Bytes file = header(GetParam().type, GetParam().depth, 4, 4, 0);
    Bitmap b(7, 7, 24);
    b.fill(makeColour(9, 9, 9));
    decodeTargaInto(file, b);
    ASSERT_EQ(b.width(), 1);
    ASSERT_EQ(b.height(), 1);
    EXPECT_EQ(b.pixel(0, 0), kBlack);
    EXPECT_EQ(decodeTarga(file).width(), 1);
}

INSTANTIATE_TEST_SUITE_P(Types, TargaRefusedHeader,
                         ::testing::Values(RefusedHeader{4, 8}, RefusedHeader{5, 24}, RefusedHeader{2, 12},
                                           RefusedHeader{0, 24}, RefusedHeader{32, 8}));

class TargaDamaged : public ::testing::TestWithParam<Bytes> {};

TEST_P(TargaDamaged, RaisesInvalidImage)
{
    EXPECT_THROW(decodeTarga(GetParam()), InvalidImageError);
}

INSTANTIATE_TEST_SUITE_P(Files, TargaDamaged,
                         ::testing::Values(Bytes{0, 0, 2},                                        // header cut
                                           header(2, 24, 2, 2, 0) + Bytes{1, 2, 3},               // pixels cut
                                           header(10, 24, 2, 2, 0) + Bytes{131},                  // run value missing
                                           header(10, 24, 2, 2, 0) + Bytes{3, 1, 2, 3},           // literal packet cut
                                           header(1, 8, 1, 1, 0, 1, 0, 300, 24) + Bytes{1, 2, 3}, // colour map cut
                                           header(2, 24, 0, 5, 0),                                // zero width
                                           header(2, 24, 65535, 65535, 0),                        // over 2^28 pixels
                                           header(2, 4, 2, 2, 0) + Bytes{0, 0}));

TEST(TargaWrite, ColourMappedFileBytes)
{
    // 2 x 1, 8 bits, palette entry 1 = (255, 128, 1): 6-bit stage gives
    // 63, 32, 0 and the file holds B 0, G 129, R 255.
    Bitmap b(2, 1, 8);
    std::vector<Colour> pal(256, kBlack);
    pal[1] = makeColour(255, 128, 1);
    b.setPalette(pal);
    b.setPixelIndex(0, 0, 1);
    Bytes out;
    encodeTarga(b, kTargaColourMapped, out);
    ASSERT_EQ(out.size(), 18u + 46 + 768 + 2);
    const Bytes expectedHeader = {46, 1, 1, 0, 0, 0, 1, 24, 0, 0, 0, 0, 2, 0, 1, 0, 8, 32};
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 18), expectedHeader);
    EXPECT_EQ(std::string(out.begin() + 18, out.begin() + 63), "Quillmark(LUM-TARN) produced this TARGA file!");
    EXPECT_EQ(out[63], 26);
    EXPECT_EQ(Bytes(out.begin() + 64 + 3, out.begin() + 64 + 6), (Bytes{0, 129, 255}));
    EXPECT_EQ(out[64 + 768], 1);
    EXPECT_EQ(out[64 + 769], 0);
}

TEST(TargaWrite, TrueColourFromFourAndOneBit)
{
    // A 4-bit pixel goes through the 6-bit palette: (200, 100, 7) -> 50, 25, 1
    // -> 202, 101, 4. A 1-bit white pixel stays white.
    Bitmap four(1, 1, 4);
    std::vector<Colour> pal(16, kBlack);
    pal[3] = makeColour(200, 100, 7);
    four.setPalette(pal);
    four.setPixelIndex(0, 0, 3);
    Bytes out;
    encodeTarga(four, kTargaTrueColour, out);
    ASSERT_EQ(out.size(), 18u + 46 + 3);
    EXPECT_EQ(out[2], 2);
    EXPECT_EQ(out[16], 24);
    EXPECT_EQ(Bytes(out.begin() + 64, out.end()), (Bytes{4, 101, 202}));

    Bitmap one(2, 1, 1);
    one.setPixelIndex(1, 0, 1);
    encodeTarga(one, kTargaTrueColour, out);
    EXPECT_EQ(Bytes(out.begin() + 64, out.end()), (Bytes{0, 0, 0, 255, 255, 255}));
}

TEST(TargaFile, SavedFileLoadsAndAnUnwritablePathRaises)
{
    test::TempDir dir;
    const Bitmap src = test::fromAscii({"#."});
    saveTargaFile(dir.file("a.tga"), src, kTargaTrueColour);
    EXPECT_TRUE(loadTargaFile(dir.file("a.tga")) == src);
    EXPECT_THROW(saveTargaFile(dir.file("missing/a.tga"), src, kTargaTrueColour), std::exception);
}

} // namespace
} // namespace px
