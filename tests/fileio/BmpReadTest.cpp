#include "fileio/BmpFile.h"
#include "fileio/ImageFileError.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace px {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr Colour kRed = makeColour(255, 0, 0);
constexpr Colour kGreen = makeColour(0, 255, 0);
constexpr Colour kBlue = makeColour(0, 0, 255);

void put32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = std::uint8_t(v >> (8 * i));
}

// 2 x 2, 24 bits, bottom-up. Top row red, green; bottom row blue, white.
const Bytes kRgb24 = {
    'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                // file header
    40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,  // size, w, h, planes, bpp, BI_RGB
    16, 0, 0, 0, 0xC4, 0x0E, 0, 0, 0xC4, 0x0E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0,                             // bottom: blue, white, padding
    0, 0, 0xFF, 0, 0xFF, 0, 0, 0,                                   // top: red, green, padding
};

// The same picture stored top-down: negative height, rows swapped.
Bytes topDown(Bytes f)
{
    put32(f, 22, std::uint32_t(-2));
    std::swap_ranges(f.begin() + 54, f.begin() + 62, f.begin() + 62);
    return f;
}

// 4 x 3 RLE8 with four colours: an encoded run, an absolute run with its
// pad byte, a delta move, an end of line and the end of the bitmap.
const Bytes kRle8 = {
    'B', 'M', 88, 0, 0, 0, 0, 0, 0, 0, 70, 0, 0, 0,
    40, 0, 0, 0, 4, 0, 0, 0, 3, 0, 0, 0, 1, 0, 8, 0, 1, 0, 0, 0,
    18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, // black, red, green, blue
    3, 1, 0, 0,          // bottom row: 1 1 1, end of line
    0, 3, 2, 3, 1, 0,    // middle row: absolute 2 3 1, pad
    0, 2, 0, 1,          // delta: up one row, same column
    1, 3,                // top row, column 3: one pixel 3
    0, 1,                // end of bitmap
};
const char* const kRle8Rows[] = {"0003", "2310", "1110"};

// 5 x 2 RLE4 with three colours: an encoded run of alternating indices, an
// absolute run, and an encoded run cut at the right edge.
const Bytes kRle4 = {
    'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 66, 0, 0, 0,
    40, 0, 0, 0, 5, 0, 0, 0, 2, 0, 0, 0, 1, 0, 4, 0, 2, 0, 0, 0,
    12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0xFF, 0, // black, white, red
    5, 0x12, 0, 0,       // bottom row: 1 2 1 2 1, end of line
    0, 3, 0x21, 0x20,    // top row: absolute 2 1 2
    3, 0x10,             // 1 0 1, only two fit
    0, 1,
};
const char* const kRle4Rows[] = {"21210", "12121"};

std::string indicesOf(const Bitmap& b)
{
    std::string s;
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < b.width(); ++x)
            s += "0123456789abcdef"[b.pixelIndex(x, y) & 15];
        s += '\n';
    }
    return s;
}

std::string rowsOf(std::initializer_list<const char*> rows)
{
    std::string s;
    for (const char* r : rows)
        s += std::string(r) + '\n';
    return s;
}

std::vector<Colour> paddedPalette(std::vector<Colour> first, std::size_t size)
{
    first.resize(size, kBlack);
    return first;
}

void expectColours(const Bitmap& b, const std::vector<std::vector<Colour>>& rows)
{
    ASSERT_EQ(b.height(), int(rows.size()));
    for (int y = 0; y < b.height(); ++y) {
        ASSERT_EQ(b.width(), int(rows[y].size()));
        for (int x = 0; x < b.width(); ++x)
            EXPECT_EQ(b.pixel(x, y), rows[y][x]) << "pixel " << x << "," << y;
    }
}

TEST(BmpRead, Uncompressed24BitBottomUpAndTopDown)
{
    for (const Bytes& file : {kRgb24, topDown(kRgb24)}) {
        const Bitmap b = decodeBmp(file);
        EXPECT_EQ(b.bitsPerPixel(), 24);
        expectColours(b, {{kRed, kGreen}, {kBlue, kWhite}});
    }
}

TEST(BmpRead, Rle8RunsDeltaAndAbsoluteRun)
{
    const Bitmap b = decodeBmp(kRle8);
    ASSERT_EQ(b.bitsPerPixel(), 8);
    EXPECT_EQ(indicesOf(b), rowsOf({kRle8Rows[0], kRle8Rows[1], kRle8Rows[2]}));
    EXPECT_EQ(b.palette(), paddedPalette({kBlack, kRed, kGreen, kBlue}, 256));
}

TEST(BmpRead, Rle4AlternatingRunsAbsoluteRunAndRightEdge)
{
    const Bitmap b = decodeBmp(kRle4);
    ASSERT_EQ(b.bitsPerPixel(), 4);
    EXPECT_EQ(indicesOf(b), rowsOf({kRle4Rows[0], kRle4Rows[1]}));
    EXPECT_EQ(b.palette(), paddedPalette({kBlack, kWhite, kRed}, 16));
}

TEST(BmpRead, Rle8RunsPastTheEdgeAndTheTopAreCut)
{
    // 2 x 2: a run of 5 on the bottom row, a delta far above the image,
    // then data that must be ignored.
    Bytes f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,
               40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 8, 0, 1, 0, 0, 0,
               0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0,
               0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0,
               5, 1, 0, 0, 0, 4, 1, 1, 1, 1, 0, 2, 0, 9, 2, 1};
    const Bitmap b = decodeBmp(f);
    // Top row: an absolute run of four, two fit. Bottom row: run cut at 2.
    EXPECT_EQ(indicesOf(b), rowsOf({"11", "11"}));
}

TEST(BmpRead, BitFieldsScaleEveryChannelExactly)
{
    // 16 bits 5-6-5 masks after a 40-byte header: pure red, then green 32
    // of 63 (255 * 32 / 63 = 129.5 -> 130) and blue 16 of 31 (131.6 -> 132).
    const Bytes rgb565 = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 66, 0, 0, 0,
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 16, 0, 3, 0, 0, 0,
        4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0,
        0x00, 0xF8, 0x10, 0x04};
    Bitmap b = decodeBmp(rgb565);
    EXPECT_EQ(b.bitsPerPixel(), 24);
    expectColours(b, {{kRed, makeColour(0, 130, 132)}});

    // 16 bits without masks: 5-5-5. White, then blue 1 of 31 (8.2 -> 8).
    const Bytes rgb555 = {
        'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 16, 0, 0, 0, 0, 0,
        4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0xFF, 0x7F, 0x01, 0x00};
    expectColours(decodeBmp(rgb555), {{kWhite, makeColour(0, 0, 8)}});

    // 32 bits, 10-bit channels in a V4 header: 1023 -> 255, 512 -> 128
    // (127.6), 1 -> 0 (0.25).
    Bytes v4(14 + 108 + 4, 0);
    v4[0] = 'B';
    v4[1] = 'M';
    put32(v4, 2, std::uint32_t(v4.size()));
    put32(v4, 10, 14 + 108);
    put32(v4, 14, 108);
    put32(v4, 18, 1);
    put32(v4, 22, 1);
    v4[26] = 1;
    v4[28] = 32;
    put32(v4, 30, 3);
    put32(v4, 54, 0x3FF00000);
    put32(v4, 58, 0x000FFC00);
    put32(v4, 62, 0x000003FF);
    put32(v4, 122, (1023u << 20) | (512u << 10) | 1u);
    expectColours(decodeBmp(v4), {{makeColour(255, 128, 0)}});
}

TEST(BmpRead, ThirtyTwoBitsKeepTheColourBytesAndDropTheFourth)
{
    const Bytes f = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
        40, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0,
        8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0x10, 0x20, 0x30, 0xFF, // bottom
        0x01, 0x02, 0x03, 0x00, // top
    };
    expectColours(decodeBmp(f), {{makeColour(3, 2, 1)}, {makeColour(0x30, 0x20, 0x10)}});
}

TEST(BmpRead, Os2CoreHeaderWithThreeBytePalette)
{
    const Bytes f = {
        'B', 'M', 40, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0,
        12, 0, 0, 0, 3, 0, 2, 0, 1, 0, 1, 0,
        0, 0, 0xFF, 0xFF, 0xFF, 0xFF,  // red, white
        0xA0, 0, 0, 0,                 // bottom: 1 0 1
        0x60, 0, 0, 0,                 // top: 0 1 1
    };
    const Bitmap b = decodeBmp(f);
    EXPECT_EQ(b.bitsPerPixel(), 1);
    EXPECT_EQ(indicesOf(b), rowsOf({"011", "101"}));
    EXPECT_EQ(b.palette(), (std::vector<Colour>{kRed, kWhite}));
}

TEST(BmpRead, TwoBitImagesBecomeFourBitWithTheSameIndices)
{
    const Bytes f = {
        'B', 'M', 74, 0, 0, 0, 0, 0, 0, 0, 70, 0, 0, 0,
        40, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 1, 0, 2, 0, 0, 0, 0, 0,
        4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0,
        0xD8, 0, 0, 0, // 3 1 2
    };
    const Bitmap b = decodeBmp(f);
    EXPECT_EQ(b.bitsPerPixel(), 4);
    EXPECT_EQ(indicesOf(b), rowsOf({"312"}));
    EXPECT_EQ(b.palette(), paddedPalette({kBlack, kRed, kGreen, kBlue}, 16));
}

TEST(BmpRead, PaletteCutByThePixelOffsetIsPaddedBlackAndGapsAreSkipped)
{
    // 8 bits, colour count 0 (256), but the pixels start after two entries.
    const Bytes shortPalette = {
        'B', 'M', 66, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 8, 0, 0, 0, 0, 0,
        4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0xFF, 0, 0, 0, 0, 0xFF, 0, 0,
        1, 0, 0, 0};
    const Bitmap a = decodeBmp(shortPalette);
    EXPECT_EQ(a.palette(), paddedPalette({kBlue, kGreen}, 256));
    EXPECT_EQ(indicesOf(a), "10\n");

    // One entry declared, then six junk bytes before the pixel offset.
    const Bytes gap = {
        'B', 'M', 68, 0, 0, 0, 0, 0, 0, 0, 64, 0, 0, 0,
        40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 8, 0, 0, 0, 0, 0,
        4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0,
        0, 0xFF, 0, 0, 9, 9, 9, 9, 9, 9,
        0, 0, 0, 0};
    const Bitmap g = decodeBmp(gap);
    EXPECT_EQ(g.palette(), paddedPalette({kGreen}, 256));
    EXPECT_EQ(g.pixel(0, 0), kGreen);
}

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
    for (int i = 0; i < p.bytes; ++i)
        f[p.at + i] = std::uint8_t(p.value >> (8 * i));
    for (int i = 0; i < p.bytes2; ++i)
        f[p.at2 + i] = std::uint8_t(p.value2 >> (8 * i));
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
                      Patch{"UnknownHeaderSize", "taille d'en-tête inconnue", 14, 66},
                      Patch{"ZeroWidth", kSize, 18, 0}, Patch{"NegativeWidth", kSize, 18, 0xFFFFFFFE},
                      Patch{"ZeroHeight", kSize, 22, 0}, Patch{"MinimumHeight", kTooLarge, 22, 0x80000000},
                      Patch{"WidthOverLimit", kTooLarge, 18, 65536},
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
    Bytes base = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 66, 0, 0, 0,
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 16, 0, 3, 0, 0, 0,
        4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0,
        0, 0, 0, 0};
    ASSERT_NO_THROW(decodeBmp(base));
    for (std::uint32_t greenMask : {0u, 0x0F0Fu, 0x00FF0000u}) { // zero, holes, outside 16 bits
        Bytes f = base;
        put32(f, 58, greenMask);
        EXPECT_THROW(decodeBmp(f), InvalidImageError) << std::hex << greenMask;
    }
    Bytes rleTopDown = kRle8;
    put32(rleTopDown, 22, std::uint32_t(-3));
    EXPECT_THROW(decodeBmp(rleTopDown), InvalidImageError);
}

TEST(BmpRead, EveryTruncationOfAnUncompressedFileIsRefused)
{
    // Only the last row's two padding bytes may be missing.
    for (std::size_t n = 0; n < kRgb24.size(); ++n) {
        const Bytes prefix(kRgb24.begin(), kRgb24.begin() + std::ptrdiff_t(n));
        if (n >= 68)
            expectColours(decodeBmp(prefix), {{kRed, kGreen}, {kBlue, kWhite}});
        else
            EXPECT_THROW(decodeBmp(prefix), InvalidImageError) << n << " bytes";
    }
}

TEST(BmpRead, EveryTruncationOfAnRleStreamDecodesAPartOfTheImage)
{
    // Headers and palette end at byte 70; after that each prefix decodes,
    // every pixel either as in the whole file or still 0.
    const char* const* full = kRle8Rows;
    for (std::size_t n = 0; n < kRle8.size(); ++n) {
        const Bytes prefix(kRle8.begin(), kRle8.begin() + std::ptrdiff_t(n));
        if (n < 70) {
            EXPECT_THROW(decodeBmp(prefix), InvalidImageError) << n << " bytes";
            continue;
        }
        const Bitmap b = decodeBmp(prefix);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                const int idx = b.pixelIndex(x, y);
                EXPECT_TRUE(idx == 0 || idx == full[y][x] - '0') << n << " bytes, pixel " << x << "," << y;
            }
    }
}

TEST(BmpRead, HugeDeclaredSizeWithLittleDataIsRefusedWithoutAllocating)
{
    // 65535 x 4096 x 8 bits (256 MiB) declared, four bytes of pixels.
    Bytes f = kRgb24;
    put32(f, 18, 65535);
    put32(f, 22, 4096);
    f[28] = 8;
    put32(f, 10, 54 + 1024);
    f.resize(54 + 1024 + 4, 0);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    EXPECT_THROW(decodeBmp(f), InvalidImageError);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kilobytes";
}

TEST(BmpRead, MissingOrUnreadableFilesRaiseTheSameError)
{
    test::TempDir dir;
    EXPECT_THROW(readBmpFile(dir.file("absent.bmp")), InvalidImageError);
    EXPECT_THROW(readBmpFile(dir.path()), InvalidImageError);
}

} // namespace
} // namespace px
