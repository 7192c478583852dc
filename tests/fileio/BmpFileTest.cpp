#include "fileio/BmpFile.h"
#include "codecs/ImageFileError.h"
#include "fileio/FileTestSupport.h"
#include "platform/AtomicFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <tuple>

namespace px {
namespace {

using test::Bytes;
using test::indicesOf;
using test::operator+;
using test::putLE;

constexpr Colour kRed = makeColour(255, 0, 0);
constexpr Colour kGreen = makeColour(0, 255, 0);
constexpr Colour kBlue = makeColour(0, 0, 255);

// 2 x 2, 24 bits, bottom-up, 96 dpi: what the writer produces for a top row
// red, green and a bottom row blue, white.
const Bytes kRgb24 = {
    'B', 'M', 70,   0,    0,    0,    0, 0, 0,    0,    54, 0, 0, 0,                    // file header
    40,  0,   0,    0,    2,    0,    0, 0, 2,    0,    0,  0, 1, 0, 24, 0, 0, 0, 0, 0, // size, w, h, planes, bpp,
                                                                                        // BI_RGB
    16,  0,   0,    0,    0xC4, 0x0E, 0, 0, 0xC4, 0x0E, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0, 0xFF,
    0,   0,   0xFF, 0xFF, 0xFF, 0,    0,    // bottom: blue, white, padding
    0,   0,   0xFF, 0,    0xFF, 0,    0, 0, // top: red, green, padding
};

// A file with a 40-byte info header: `table` (palette, masks or junk) sits
// between the headers and the pixels, which start right after it.
Bytes bmpFile(int w, int h, int bpp, int compression, int colours, const Bytes& table, const Bytes& pixels)
{
    Bytes f(54, 0);
    f = f + table + pixels;
    f[0] = 'B';
    f[1] = 'M';
    putLE(f, 2, std::uint32_t(f.size()));
    putLE(f, 10, std::uint32_t(54 + table.size()));
    putLE(f, 14, 40);
    putLE(f, 18, std::uint32_t(w));
    putLE(f, 22, std::uint32_t(h));
    putLE(f, 26, 1, 2);
    putLE(f, 28, std::uint32_t(bpp), 2);
    putLE(f, 30, std::uint32_t(compression));
    putLE(f, 34, std::uint32_t(pixels.size()));
    putLE(f, 46, std::uint32_t(colours));
    return f;
}

const Bytes kFourColours = {0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0}; // black, red, green, blue

// 4 x 3 RLE8: an encoded run, an absolute run with its pad byte, a delta
// move, an end of line and the end of the bitmap.
const Bytes kRle8 = bmpFile(4, 3, 8, 1, 4, kFourColours,
                            {3, 1, 0, 0,       // bottom row: 1 1 1, end of line
                             0, 3, 2, 3, 1, 0, // middle row: absolute 2 3 1, pad
                             0, 2, 0, 1,       // delta: up one row, same column
                             1, 3,             // top row, column 3: one pixel 3
                             0, 1});           // end of bitmap
const char* const kRle8Rows = "0003|2310|1110";

std::vector<Colour> padded(std::vector<Colour> first, std::size_t size)
{
    first.resize(size, kBlack);
    return first;
}

struct IndexedCase {
    const char* name;
    Bytes file;
    int bpp;
    const char* indices;
    std::vector<Colour> palette;
};

class BmpIndexed : public ::testing::TestWithParam<IndexedCase> {};

TEST_P(BmpIndexed, DecodesIndicesAndPalette)
{
    const Bitmap b = decodeBmp(GetParam().file);
    EXPECT_EQ(b.bitsPerPixel(), GetParam().bpp);
    EXPECT_EQ(indicesOf(b), GetParam().indices);
    EXPECT_EQ(b.palette(), GetParam().palette);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, BmpIndexed,
    ::testing::Values(
        IndexedCase{"Rle8RunsDeltaAndAbsoluteRun", kRle8, 8, kRle8Rows, padded({kBlack, kRed, kGreen, kBlue}, 256)},
        // 5 x 2 RLE4: alternating indices, an absolute run, a run cut at the right edge.
        IndexedCase{"Rle4RunsAbsoluteRunAndRightEdge",
                    bmpFile(5, 2, 4, 2, 3, {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0xFF, 0},
                            {5, 0x12, 0, 0, 0, 3, 0x21, 0x20, 3, 0x10, 0, 1}),
                    4, "21210|12121", padded({kBlack, kWhite, kRed}, 16)},
        // A run of 5 on a 2-wide row, an absolute run of four on the top row,
        // a delta far above the image and then data that must be ignored.
        IndexedCase{"Rle8RunsPastTheEdgeAndTheTopAreCut",
                    bmpFile(2, 2, 8, 1, 1, {0xFF, 0xFF, 0xFF, 0}, {5, 1, 0, 0, 0, 4, 1, 1, 1, 1, 0, 2, 0, 9, 2, 1}), 8,
                    "11|11", padded({kWhite}, 256)},
        IndexedCase{"Os2CoreHeaderWithThreeBytePalette",
                    {'B', 'M', 40, 0, 0, 0, 0, 0, 0,    0,    32,   0,    0,    0, 12, 0, 0,    0, 3, 0,
                     2,   0,   1,  0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xA0, 0, 0,  0, 0x60, 0, 0, 0},
                    1,
                    "011|101",
                    {kRed, kWhite}},
        IndexedCase{"TwoBitsBecomeFourWithTheSameIndices", bmpFile(3, 1, 2, 0, 4, kFourColours, {0xD8, 0, 0, 0}), 4,
                    "312", padded({kBlack, kRed, kGreen, kBlue}, 16)},
        // 5 x 3, 2 bits: rows of 2 bytes padded to 4, bottom row first; the
        // bits after the fifth pixel and the padding bytes are junk.
        IndexedCase{"TwoBitsOddWidthSeveralRows",
                    bmpFile(5, 3, 2, 0, 4, kFourColours,
                            {0x5A, 0xC0, 0xAA, 0xAA,   // bottom: 1 1 2 2 3
                             0xE4, 0x40, 0x55, 0x55,   // middle: 3 2 1 0 1
                             0x1B, 0x15, 0xFF, 0xFF}), // top:    0 1 2 3 0
                    4, "01230|32101|11223", padded({kBlack, kRed, kGreen, kBlue}, 16)},
        // Colour count 0 (256) but the pixels start after two entries.
        IndexedCase{"PaletteCutByThePixelOffset", bmpFile(2, 1, 8, 0, 0, {0xFF, 0, 0, 0, 0, 0xFF, 0, 0}, {1, 0, 0, 0}),
                    8, "10", padded({kBlue, kGreen}, 256)},
        // One entry declared, then six junk bytes before the pixel offset.
        IndexedCase{"GapBeforeThePixelsIsSkipped",
                    bmpFile(1, 1, 8, 0, 1, {0, 0xFF, 0, 0, 9, 9, 9, 9, 9, 9}, {0, 0, 0, 0}), 8, "0",
                    padded({kGreen}, 256)}),
    [](const auto& info) { return std::string(info.param.name); });

struct ColourCase {
    const char* name;
    Bytes file;
    std::vector<std::vector<Colour>> rows;
};

class BmpTrueColour : public ::testing::TestWithParam<ColourCase> {};

TEST_P(BmpTrueColour, DecodesToTwentyFourBits)
{
    const Bitmap b = decodeBmp(GetParam().file);
    EXPECT_EQ(b.bitsPerPixel(), 24);
    const auto& rows = GetParam().rows;
    ASSERT_EQ(b.height(), int(rows.size()));
    ASSERT_EQ(b.width(), int(rows[0].size()));
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            EXPECT_EQ(b.pixel(x, y), rows[y][x]) << "pixel " << x << "," << y;
}

Bytes topDown(Bytes f)
{
    putLE(f, 22, std::uint32_t(-2));
    std::swap_ranges(f.begin() + 54, f.begin() + 62, f.begin() + 62);
    return f;
}

// 32 bits, 10-bit channels in a V4 header: the masks sit inside the header.
Bytes tenBitChannels()
{
    Bytes v4 = bmpFile(1, 1, 32, 3, 0, Bytes(108 - 40, 0), {0, 0, 0, 0});
    putLE(v4, 14, 108);
    putLE(v4, 54, 0x3FF00000);
    putLE(v4, 58, 0x000FFC00);
    putLE(v4, 62, 0x000003FF);
    putLE(v4, 122, (1023u << 20) | (512u << 10) | 1u);
    return v4;
}

const Bytes kMasks565 = {0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Layouts, BmpTrueColour,
    ::testing::Values(ColourCase{"BottomUp24", kRgb24, {{kRed, kGreen}, {kBlue, kWhite}}},
                      ColourCase{"TopDown24", topDown(kRgb24), {{kRed, kGreen}, {kBlue, kWhite}}},
                      // Pure red, then green 32 of 63 (129.5 -> 130) and blue 16 of 31 (131.6 -> 132).
                      ColourCase{"Masks565",
                                 bmpFile(2, 1, 16, 3, 0, kMasks565, {0x00, 0xF8, 0x10, 0x04}),
                                 {{kRed, makeColour(0, 130, 132)}}},
                      // No masks: 5-5-5. White, then blue 1 of 31 (8.2 -> 8).
                      ColourCase{"Default555",
                                 bmpFile(2, 1, 16, 0, 0, {}, {0xFF, 0x7F, 0x01, 0x00}),
                                 {{kWhite, makeColour(0, 0, 8)}}},
                      // 3 x 3, 5-6-5: rows of 6 bytes padded to 8 with junk, bottom row
                      // first. 16 of 31 -> 132 (131.6), 32 of 63 -> 130 (129.5).
                      ColourCase{"Masks565OddWidthSeveralRows",
                                 bmpFile(3, 3, 16, 3, 0, kMasks565,
                                         {0x00, 0x04, 0x10, 0x00, 0x10, 0x84, 0xAA, 0x55,   // 0x0400 0x0010 0x8410
                                          0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 0xAA, 0x55,   // 0xFFFF 0x0000 0x8000
                                          0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xAA, 0x55}), // 0xF800 0x07E0 0x001F
                                 {{kRed, kGreen, kBlue},
                                  {kWhite, kBlack, makeColour(132, 0, 0)},
                                  {makeColour(0, 130, 0), makeColour(0, 0, 132), makeColour(132, 130, 132)}}},
                      // The same with the default 5-5-5 layout; the top bit is unused.
                      ColourCase{"Default555OddWidthSeveralRows",
                                 bmpFile(3, 3, 16, 0, 0, {},
                                         {0x00, 0x80, 0x00, 0x40, 0x01, 0x00, 0x55, 0xAA,   // 0x8000 0x4000 0x0001
                                          0xFF, 0x7F, 0x00, 0x00, 0x10, 0x42, 0x55, 0xAA,   // 0x7FFF 0x0000 0x4210
                                          0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x55, 0xAA}), // 0x7C00 0x03E0 0x001F
                                 {{kRed, kGreen, kBlue},
                                  {kWhite, kBlack, makeColour(132, 132, 132)},
                                  {kBlack, makeColour(132, 0, 0), makeColour(0, 0, 8)}}},
                      // 1023 -> 255, 512 -> 128 (127.6), 1 -> 0 (0.25).
                      ColourCase{"TenBitChannelsInV4Header", tenBitChannels(), {{makeColour(255, 128, 0)}}},
                      // The colour bytes are kept and the fourth dropped.
                      ColourCase{"ThirtyTwoBits",
                                 bmpFile(1, 2, 32, 0, 0, {}, {0x10, 0x20, 0x30, 0xFF, 0x01, 0x02, 0x03, 0x00}),
                                 {{makeColour(3, 2, 1)}, {makeColour(0x30, 0x20, 0x10)}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Fields of kRgb24 patched into something the reader must refuse, with the
// reason it must give (so that a refusal for another cause does not pass).
struct Patch {
    const char* name;
    const char* reason;
    std::size_t at;
    std::uint32_t value;
    int bytes = 4;
    std::size_t at2 = 0;
    std::uint32_t value2 = 0;
    int bytes2 = 0;
};

class BmpRefused : public ::testing::TestWithParam<Patch> {};

TEST_P(BmpRefused, RaisesInvalidImageErrorForTheRightReason)
{
    Bytes f = kRgb24;
    const Patch& p = GetParam();
    putLE(f, p.at, p.value, p.bytes);
    putLE(f, p.at2, p.value2, p.bytes2);
    try {
        decodeBmp(f);
        FAIL() << "accepted";
    } catch (const InvalidImageError& e) {
        EXPECT_STREQ(e.what(), "Le fichier est un fichier image non valide.");
        EXPECT_EQ(e.detail(), p.reason);
    }
}

constexpr const char* kSize = "dimensions nulles ou négatives";
constexpr const char* kTooLarge = "dimensions trop grandes";
constexpr const char* kCompression = "compression non prise en charge";

INSTANTIATE_TEST_SUITE_P(
    HeaderFields, BmpRefused,
    ::testing::Values(Patch{"Signature", "signature BM absente", 1, 'X', 1},
                      Patch{"UnknownHeaderSize", "taille d'en-tête inconnue", 14, 66}, Patch{"ZeroWidth", kSize, 18, 0},
                      Patch{"NegativeWidth", kSize, 18, 0xFFFFFFFE}, Patch{"ZeroHeight", kSize, 22, 0},
                      Patch{"MinimumHeight", kTooLarge, 22, 0x80000000}, Patch{"WidthOverLimit", kTooLarge, 18, 65536},
                      Patch{"TooManyPixels", kTooLarge, 18, 65535, 4, 22, 4097, 4},
                      Patch{"TwoPlanes", "nombre de plans différent de 1", 26, 2, 2},
                      Patch{"OddBitCount", "nombre de bits par pixel non pris en charge", 28, 30000, 2},
                      Patch{"JpegInside", kCompression, 30, 4}, Patch{"PngInside", kCompression, 30, 5},
                      Patch{"BitFieldsOn24Bits", kCompression, 30, 3},
                      Patch{"Rle8On24Bits", "compression RLE et profondeur incompatibles", 30, 1},
                      Patch{"HugeColourCount", "table des couleurs hors du fichier", 46, 0x12345678},
                      Patch{"PixelsInsideHeader", "données des pixels dans l'en-tête", 10, 20},
                      Patch{"PixelsPastTheEnd", "données des pixels absentes", 10, 71},
                      Patch{"PixelsCutShort", "données des pixels tronquées", 10, 60}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BmpRead, RefusesInconsistentMasksAndTopDownRle)
{
    const Bytes base = bmpFile(2, 1, 16, 3, 0, kMasks565, {0, 0, 0, 0});
    ASSERT_NO_THROW(decodeBmp(base));
    for (std::uint32_t greenMask : {0u, 0x0F0Fu, 0x00FF0000u}) { // zero, holes, outside 16 bits
        Bytes f = base;
        putLE(f, 58, greenMask);
        EXPECT_THROW(decodeBmp(f), InvalidImageError) << std::hex << greenMask;
    }
    Bytes rleTopDown = kRle8;
    putLE(rleTopDown, 22, std::uint32_t(-3));
    EXPECT_THROW(decodeBmp(rleTopDown), InvalidImageError);
}

TEST(BmpRead, EveryTruncationOfAnUncompressedFileIsRefused)
{
    // Only the last row's two padding bytes may be missing.
    for (std::size_t n = 0; n < kRgb24.size(); ++n) {
        const Bytes prefix(kRgb24.begin(), kRgb24.begin() + std::ptrdiff_t(n));
        if (n >= 68)
            EXPECT_EQ(decodeBmp(prefix), decodeBmp(kRgb24)) << n << " bytes";
        else
            EXPECT_THROW(decodeBmp(prefix), InvalidImageError) << n << " bytes";
    }
}

TEST(BmpRead, EveryTruncationOfAnRleStreamDecodesAPartOfTheImage)
{
    // Headers and palette end at byte 70; after that each prefix decodes,
    // every pixel either as in the whole file or still 0.
    for (std::size_t n = 0; n < kRle8.size(); ++n) {
        const Bytes prefix(kRle8.begin(), kRle8.begin() + std::ptrdiff_t(n));
        if (n < 70) {
            EXPECT_THROW(decodeBmp(prefix), InvalidImageError) << n << " bytes";
            continue;
        }
        const std::string got = indicesOf(decodeBmp(prefix));
        ASSERT_EQ(got.size(), std::string(kRle8Rows).size());
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_TRUE(got[i] == kRle8Rows[i] || got[i] == '0') << n << " bytes: " << got;
    }
}

TEST(BmpRead, HugeDeclaredSizeWithLittleDataIsRefusedWithoutAllocating)
{
    // 65535 x 4096 x 8 bits (256 MiB) declared, four bytes of pixels.
    const Bytes f = bmpFile(65535, 4096, 8, 0, 0, Bytes(1024, 0), {0, 0, 0, 0});
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    EXPECT_THROW(decodeBmp(f), InvalidImageError);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kilobytes";
}

TEST(BmpWrite, TwentyFourBitLayoutIsBottomUpWithPaddedRows)
{
    EXPECT_EQ(encodeBmp(test::fromAscii({"RG", "B."}, {{'R', kRed}, {'G', kGreen}, {'B', kBlue}})), kRgb24);
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
    Bytes palette = {0, 0, 0xFF, 0, 0xFF, 0, 0, 0};
    palette.resize(64, 0);                                                      // fourteen black entries
    Bytes expected = bmpFile(3, 1, 4, 0, 0, palette, {0x10, 0x10, 0x00, 0x00}); // 1 0 | 1 -
    putLE(expected, 38, 3780);
    putLE(expected, 42, 3780);
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

// A missing file and a folder raise the same error as a damaged file.
TEST(BmpFile, WrittenFileReadsBackAndFailuresRaiseTheirErrors)
{
    test::TempDir dir;
    EXPECT_THROW(readBmpFile(dir.file("absent.bmp")), InvalidImageError);
    EXPECT_THROW(readBmpFile(dir.path()), InvalidImageError);
    const auto target = dir.file("image.bmp");
    const Bitmap first = patterned(8, 5, 4);
    writeBmpFile(target, first);
    EXPECT_EQ(test::readAll(target), encodeBmp(first));
    EXPECT_TRUE(readBmpFile(target) == first);
    EXPECT_THROW(writeBmpFile(dir.path() / "missing" / "x.bmp", first), FileWriteError);
    EXPECT_THROW(encodeBmp(Bitmap()), BitmapError);
}

} // namespace
} // namespace px
