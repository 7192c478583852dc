#include "fileio/PcxFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace px {
namespace {

using Bytes = std::vector<std::uint8_t>;

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

INSTANTIATE_TEST_SUITE_P(
    Runs, PcxLineEncoding,
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
    hd[8] = std::uint8_t(w - 1);
    hd[9] = std::uint8_t((w - 1) >> 8);
    hd[10] = std::uint8_t(h - 1);
    hd[11] = std::uint8_t((h - 1) >> 8);
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
    Bytes file = pcxHeader(8, 1, 3, 2, 4);
    file.insert(file.end(), {198, 1, 2, 0});
    file = withTrailer(file, {0, 0, 0, 10, 20, 30, 40, 50, 60});
    const PcxImage img = decodePcxImage(file);
    ASSERT_EQ(img.format, PcxFormat::Colour256);
    const Bitmap& b = img.bitmap;
    ASSERT_EQ(b.width(), 3);
    ASSERT_EQ(b.height(), 2);
    EXPECT_EQ(b.pixelIndex(0, 0), 1);
    EXPECT_EQ(b.pixelIndex(2, 0), 1);
    EXPECT_EQ(b.pixelIndex(0, 1), 1);
    EXPECT_EQ(b.pixelIndex(1, 1), 1);
    EXPECT_EQ(b.pixelIndex(2, 1), 2);
    EXPECT_EQ(b.palette()[2], makeColour(40, 50, 60));
}

TEST(PcxRead, ThreePlanesInterleave)
{
    // 1 x 1, bytes per line 2: R plane 9 (+pad), G 8, B 7.
    Bytes file = pcxHeader(8, 3, 1, 1, 2);
    file.insert(file.end(), {9, 0, 8, 0, 7, 0});
    const Bitmap b = decodePcx(file);
    ASSERT_EQ(b.bitsPerPixel(), 24);
    EXPECT_EQ(b.pixel(0, 0), makeColour(9, 8, 7));
}

TEST(PcxRead, GreyRampAndMonochrome)
{
    Bytes file = pcxHeader(4, 1, 2, 1, 2, 2);
    file.insert(file.end(), {0x0F, 0});
    const PcxImage img = decodePcxImage(file);
    EXPECT_EQ(img.format, PcxFormat::Grey16);
    EXPECT_EQ(img.bitmap.palette()[1], makeColour(17, 17, 17));
    EXPECT_EQ(img.bitmap.pixel(1, 0), kWhite);

    Bytes mono = pcxHeader(1, 1, 8, 1, 2, 0); // palette info 0 counts as grey
    mono.insert(mono.end(), {0x80, 0});
    const PcxImage m = decodePcxImage(mono);
    EXPECT_EQ(m.format, PcxFormat::MonoGrey);
    EXPECT_EQ(m.bitmap.pixel(0, 0), kWhite);
    EXPECT_EQ(m.bitmap.pixel(1, 0), kBlack);
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

INSTANTIATE_TEST_SUITE_P(
    Files, PcxInvalid,
    ::testing::Values(Bytes(20, 10), // short header
                      withByte(pcxHeader(8, 3, 1, 1, 2), 0, 11), // manufacturer
                      withByte(pcxHeader(8, 3, 1, 1, 2), 1, 6), // version
                      withByte(pcxHeader(8, 3, 1, 1, 2), 64, 1), // reserved
                      pcxHeader(1, 4, 1, 1, 2), // four planes
                      pcxHeader(8, 3, 8, 1, 0), // no bytes per line
                      pcxHeader(8, 1, 1, 1, 2), // 8 bits without trailer
                      withByte(withTrailer(pcxHeader(8, 1, 1, 1, 2), {}), 128, 13))); // marker not 12

TEST(PcxRead, ShortLinesFillTheStartOfEachRow)
{
    // 3 x 2 eight bits but 2 bytes per line: the third column stays 0.
    Bytes file = pcxHeader(8, 1, 3, 2, 2);
    file.insert(file.end(), {4, 5, 6, 7});
    const Bitmap b = decodePcx(withTrailer(file, {}));
    ASSERT_EQ(b.width(), 3);
    EXPECT_EQ(b.pixelIndex(0, 0), 4);
    EXPECT_EQ(b.pixelIndex(1, 0), 5);
    EXPECT_EQ(b.pixelIndex(2, 0), 0);
    EXPECT_EQ(b.pixelIndex(0, 1), 6);
    EXPECT_EQ(b.pixelIndex(1, 1), 7);
}

TEST(PcxRead, DataStoppingEarlyKeepsWhatCame)
{
    Bytes file = pcxHeader(8, 3, 1, 2, 2);
    file.insert(file.end(), {5, 0, 6, 0, 7}); // second line missing entirely
    const Bitmap b = decodePcx(file);
    ASSERT_EQ(b.height(), 2);
    EXPECT_EQ(b.pixel(0, 0), makeColour(5, 6, 7));
    EXPECT_EQ(b.pixel(0, 1), kBlack);
}

class PcxRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(PcxRoundTrip, EveryDepthReadsBackExactly)
{
    Bitmap src = test::fromAscii({"#..r#", ".gg#.", "r...#"}, {{'r', makeColour(200, 0, 0)},
                                                                {'g', makeColour(0, 128, 0)}});
    if (GetParam() != 24)
        src.setPixelFormat(GetParam());
    const Bytes file = encodePcx(src);
    const Bitmap back = decodePcx(file);
    EXPECT_TRUE(back == src) << test::dumpMismatch("pcx_roundtrip", back, src);
}

INSTANTIATE_TEST_SUITE_P(Depths, PcxRoundTrip, ::testing::Values(1, 4, 8, 24));

TEST(PcxWrite, HeaderFields)
{
    const Bytes file = encodePcx(Bitmap(5, 2, 24));
    EXPECT_EQ(file[0], 10);
    EXPECT_EQ(file[1], 5);
    EXPECT_EQ(file[3], 8);
    EXPECT_EQ(file[8], 4);
    EXPECT_EQ(file[10], 1);
    EXPECT_EQ(file[65], 3);
    EXPECT_EQ(file[66], 6); // 5 bytes rounded up to even
    EXPECT_EQ(file[68], 1);
    // Each plane line of 6 zero bytes is the pair 198 0; 2 lines x 3 planes.
    EXPECT_EQ(file.size(), 128u + 6 * 2);
}

} // namespace
} // namespace px
