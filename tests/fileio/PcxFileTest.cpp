#include "fileio/PcxFile.h"
#include "fileio/FileTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace px {
namespace {

using test::Bytes;
using test::indicesOf;
using test::operator+;

struct LineCase {
    const char* name;
    Bytes line;
    Bytes encoded;
};

class PcxLineEncoding : public ::testing::TestWithParam<LineCase> {};

TEST_P(PcxLineEncoding, MatchesTheRunRules)
{
    Bytes out;
    encodePcxLine(GetParam().line.data(), GetParam().line.size(), out);
    EXPECT_EQ(out, GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(Runs, PcxLineEncoding,
                         ::testing::Values(LineCase{"single_low_literal", {5}, {5}},
                                           LineCase{"single_high_needs_pair", {200}, {193, 200}},
                                           LineCase{"run_127_two_full_and_literal", Bytes(127, 5), {255, 5, 255, 5, 5}},
                                           // 130 = 2 * 63 + 4: the remainder is a pair, no byte is lost.
                                           LineCase{"run_130", Bytes(130, 5), {255, 5, 255, 5, 196, 5}},
                                           LineCase{"run_63_exact", Bytes(63, 9), {255, 9}},
                                           LineCase{"run_64_high", Bytes(64, 250), {255, 250, 193, 250}},
                                           LineCase{"mixed", {1, 1, 2, 192}, {194, 1, 2, 193, 192}}),
                         [](const auto& info) { return std::string(info.param.name); });

Bytes pcxHeader(int bits, int planes, int w, int h, int bytesPerLine, int paletteInfo = 1)
{
    Bytes hd(128, 0);
    hd[0] = 10;
    hd[1] = 5;
    hd[2] = 1;
    hd[3] = std::uint8_t(bits);
    test::putLE(hd, 8, std::uint32_t(w - 1), 2);
    test::putLE(hd, 10, std::uint32_t(h - 1), 2);
    hd[65] = std::uint8_t(planes);
    hd[66] = std::uint8_t(bytesPerLine);
    hd[68] = std::uint8_t(paletteInfo);
    return hd;
}

Bytes withTrailer(Bytes file, const Bytes& palette)
{
    file.push_back(12);
    Bytes pal = palette;
    pal.resize(768, 0);
    file.insert(file.end(), pal.begin(), pal.end());
    return file;
}

TEST(PcxRead, EightBitWithTrailerAndRunAcrossLines)
{
    // 3 x 2, bytes per line 4: a run of 6 value 1 fills line 0 (3 used + 1
    // padding) and carries 2 bytes into line 1; then literal 2 ends the
    // image and 0 is the last padding byte.
    const PcxImage img =
        decodePcxImage(withTrailer(pcxHeader(8, 1, 3, 2, 4) + Bytes{198, 1, 2, 0}, {0, 0, 0, 10, 20, 30, 40, 50, 60}));
    ASSERT_EQ(img.format, PcxFormat::Colour256);
    EXPECT_EQ(indicesOf(img.bitmap), "111|112");
    EXPECT_EQ(img.bitmap.palette()[2], makeColour(40, 50, 60));
}

TEST(PcxRead, ThreePlanesInterleave)
{
    // 1 x 1, bytes per line 2: R plane 9 (+pad), G 8, B 7.
    const Bitmap b = decodePcx(pcxHeader(8, 3, 1, 1, 2) + Bytes{9, 0, 8, 0, 7, 0});
    ASSERT_EQ(b.bitsPerPixel(), 24);
    EXPECT_EQ(b.pixel(0, 0), makeColour(9, 8, 7));
}

TEST(PcxRead, GreyRampAndMonochrome)
{
    const PcxImage img = decodePcxImage(pcxHeader(4, 1, 2, 1, 2, 2) + Bytes{0x0F, 0});
    EXPECT_EQ(img.format, PcxFormat::Grey16);
    EXPECT_EQ(img.bitmap.palette()[1], makeColour(17, 17, 17));
    EXPECT_EQ(img.bitmap.pixel(1, 0), kWhite);

    // Palette info 0 counts as grey.
    const PcxImage m = decodePcxImage(pcxHeader(1, 1, 8, 1, 2, 0) + Bytes{0x80, 0});
    EXPECT_EQ(m.format, PcxFormat::MonoGrey);
    EXPECT_EQ(m.bitmap.pixel(0, 0), kWhite);
    EXPECT_EQ(m.bitmap.pixel(1, 0), kBlack);
}

// A 1-bit file takes its two colours from the header palette, unless they
// are equal (all zero from older writers): then black and white.
TEST(PcxRead, OneBitWithEqualHeaderEntriesIsBlackAndWhite)
{
    for (const auto& [entries, colour0, colour1] :
         {std::tuple{Bytes{}, kBlack, kWhite}, std::tuple{Bytes{9, 9, 9, 9, 9, 9}, kBlack, kWhite},
          std::tuple{Bytes{0, 0, 128, 255, 255, 0}, makeColour(0, 0, 128), makeColour(255, 255, 0)}}) {
        Bytes file = pcxHeader(1, 1, 8, 1, 2) + Bytes{0x0F, 0};
        std::copy(entries.begin(), entries.end(), file.begin() + 16);
        const PcxImage img = decodePcxImage(file);
        EXPECT_EQ(img.format, PcxFormat::Mono);
        EXPECT_EQ(img.bitmap.pixel(0, 0), colour0);
        EXPECT_EQ(img.bitmap.pixel(7, 0), colour1);
    }
}

class PcxInvalid : public ::testing::TestWithParam<Bytes> {};

TEST_P(PcxInvalid, GivesAnEmptyImage)
{
    const PcxImage img = decodePcxImage(GetParam());
    EXPECT_TRUE(img.bitmap.isEmpty());
    EXPECT_EQ(img.format, PcxFormat::None);
}

Bytes withByte(Bytes b, std::size_t at, std::uint8_t v)
{
    b[at] = v;
    return b;
}

INSTANTIATE_TEST_SUITE_P(Files, PcxInvalid,
                         ::testing::Values(Bytes(20, 10),                             // short header
                                           withByte(pcxHeader(8, 3, 1, 1, 2), 0, 11), // manufacturer
                                           withByte(pcxHeader(8, 3, 1, 1, 2), 1, 6),  // version
                                           withByte(pcxHeader(8, 3, 1, 1, 2), 64, 1), // reserved
                                           pcxHeader(1, 4, 1, 1, 2),                  // four planes
                                           pcxHeader(8, 3, 8, 1, 0),                  // no bytes per line
                                           pcxHeader(8, 1, 1, 1, 2),                  // 8 bits without trailer
                                           withByte(withTrailer(pcxHeader(8, 1, 1, 1, 2), {}), 128,
                                                    13))); // marker not 12

TEST(PcxRead, ShortLinesAndDataStoppingEarlyKeepWhatCame)
{
    // 3 x 2 eight bits but 2 bytes per line: the third column stays 0.
    const Bitmap s = decodePcxImage(withTrailer(pcxHeader(8, 1, 3, 2, 2) + Bytes{1, 2, 3, 4}, {})).bitmap;
    EXPECT_EQ(indicesOf(s), "120|340");
    // The second line is missing entirely.
    const Bitmap b = decodePcx(pcxHeader(8, 3, 1, 2, 2) + Bytes{5, 0, 6, 0, 7});
    ASSERT_EQ(b.height(), 2);
    EXPECT_EQ(b.pixel(0, 0), makeColour(5, 6, 7));
    EXPECT_EQ(b.pixel(0, 1), kBlack);
}

class PcxRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(PcxRoundTrip, EveryDepthReadsBackExactly)
{
    Bitmap src =
        test::fromAscii({"#..r#", ".gg#.", "r...#"}, {{'r', makeColour(200, 0, 0)}, {'g', makeColour(0, 128, 0)}});
    if (GetParam() != 24)
        src.setPixelFormat(GetParam());
    const Bitmap back = decodePcx(encodePcx(src));
    EXPECT_TRUE(back == src) << test::dumpMismatch("pcx_roundtrip", back, src);
}

INSTANTIATE_TEST_SUITE_P(Depths, PcxRoundTrip, ::testing::Values(1, 4, 8, 24));

TEST(PcxWrite, HeaderFields)
{
    const Bytes file = encodePcx(Bitmap(5, 2, 24));
    // Maker, version, bits, last column and row, planes, bytes per line (5
    // rounded up to even), palette info.
    for (const auto& [at, value] : {std::pair{0, 10}, {1, 5}, {3, 8}, {8, 4}, {10, 1}, {65, 3}, {66, 6}, {68, 1}})
        EXPECT_EQ(file[std::size_t(at)], value) << "byte " << at;
    // Each plane line of 6 zero bytes is the pair 198 0; 2 lines x 3 planes.
    EXPECT_EQ(file.size(), 128u + 6 * 2);
}

} // namespace
} // namespace px
