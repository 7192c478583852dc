// Readers that fill a caller's bitmap and writers that fill a caller's
// buffer: whatever the target held before must not show through, and the
// bytes must be those of the plain calls.
#include "codecs/CodecTiff.h"
#include "fileio/JpegFile.h"
#include "fileio/PngFile.h"
#include "fileio/RgbSwap.h"
#include "fileio/TargaFile.h"
#include "fileio/TiffWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <tiffio.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <tuple>
#include <vector>

namespace px {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::dumpMismatch;
using test::fromAscii;
using test::TempDir;

// A bitmap with stale content everywhere, padding included, of another size
// and depth than anything decoded below.
Bitmap staleTarget()
{
    Bitmap b(40, 30, 8);
    std::uint8_t* p = b.bits();
    for (std::size_t i = 0; i < b.byteSize(); ++i)
        p[i] = std::uint8_t(0xA5 ^ i);
    return b;
}

void expectZeroPadding(const Bitmap& b)
{
    const std::size_t used = (std::size_t(b.width()) * std::size_t(b.bitsPerPixel()) + 7) / 8;
    for (int y = 0; y < b.height(); ++y)
        for (std::size_t i = used; i < b.stride(); ++i)
            EXPECT_EQ(b.row(y)[i], 0) << "row " << y << " byte " << i;
}

// 5 x 3, so that 24-bit rows carry one byte of padding.
Bitmap fiveByThree()
{
    return fromAscii({"RGB.#", "#.BGR", "R#G.B"}, {{'R', makeColour(200, 10, 20)},
                                                    {'G', makeColour(30, 220, 40)},
                                                    {'B', makeColour(50, 60, 230)}});
}

// ---- exchanging red and blue --------------------------------------------

class SwapRedBlue : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(SwapRedBlue, ExchangesFirstAndThirdByteOfEveryPixel)
{
    const auto [pixels, inPlace] = GetParam();
    // Pixel i holds (3i, 3i + 1, 3i + 2) + 7, so each byte is distinct.
    Bytes src(std::size_t(pixels) * 3 + 8, 0xEE); // 8 guard bytes past the end
    for (int i = 0; i < pixels * 3; ++i)
        src[std::size_t(i)] = std::uint8_t(i + 7);
    Bytes expected = src;
    for (int i = 0; i < pixels; ++i) {
        expected[3 * std::size_t(i)] = std::uint8_t(3 * i + 9);
        expected[3 * std::size_t(i) + 2] = std::uint8_t(3 * i + 7);
    }
    Bytes dst = inPlace ? src : Bytes(src.size(), 0xEE);
    swapRedBlue(inPlace ? dst.data() : src.data(), dst.data(), std::size_t(pixels));
    EXPECT_EQ(dst, expected);
}

// Counts around the five-pixel steps and the one-pixel lookahead.
INSTANTIATE_TEST_SUITE_P(Counts, SwapRedBlue,
                         ::testing::Combine(::testing::Values(0, 1, 4, 5, 6, 7, 10, 11, 16, 33, 85),
                                            ::testing::Bool()));

TEST(SwapRedBlueWorked, TwoPixels)
{
    const Bytes src = {1, 2, 3, 4, 5, 6};
    Bytes dst(6);
    swapRedBlue(src.data(), dst.data(), 2);
    EXPECT_EQ(dst, (Bytes{3, 2, 1, 6, 5, 4}));
}

// ---- TIFF ---------------------------------------------------------------

// Writes fiveByThree() with libtiff itself, in the given strip layout.
Bytes libtiffFile(const TempDir& dir, std::uint16_t compression, std::uint16_t fillOrder, std::uint32_t rowsPerStrip)
{
    const Bitmap src = fiveByThree();
    const auto path = dir.file("t.tif");
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    EXPECT_NE(tif, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 5);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tif, TIFFTAG_FILLORDER, fillOrder);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    for (int y = 0; y < 3; ++y) {
        std::uint8_t line[15];
        for (int x = 0; x < 5; ++x) {
            const Colour c = src.pixel(x, y);
            line[3 * x] = redOf(c);
            line[3 * x + 1] = greenOf(c);
            line[3 * x + 2] = blueOf(c);
        }
        EXPECT_EQ(TIFFWriteScanline(tif, line, std::uint32_t(y), 0), 1);
    }
    TIFFClose(tif);
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

class TiffIntoStaleBitmap
    : public ::testing::TestWithParam<std::tuple<std::uint16_t, std::uint16_t, std::uint32_t>> {};

TEST_P(TiffIntoStaleBitmap, GivesThePixelsAndClearPadding)
{
    const auto [compression, fillOrder, rowsPerStrip] = GetParam();
    TempDir dir;
    const Bytes file = libtiffFile(dir, compression, fillOrder, rowsPerStrip);
    Bitmap target = staleTarget();
    decodeTiffInto(file, target);
    const Bitmap expected = fiveByThree();
    EXPECT_EQ(target, expected) << dumpMismatch("tiff_into", target, expected);
    expectZeroPadding(target);
    EXPECT_EQ(decodeTiff(file), expected);
}

// Plain strips are read from the file's bytes; LZW and reversed bit order go
// through libtiff; a last strip shorter than the others.
INSTANTIATE_TEST_SUITE_P(Layouts, TiffIntoStaleBitmap,
                         ::testing::Values(std::make_tuple(COMPRESSION_NONE, FILLORDER_MSB2LSB, 3u),
                                           std::make_tuple(COMPRESSION_NONE, FILLORDER_MSB2LSB, 2u),
                                           std::make_tuple(COMPRESSION_NONE, FILLORDER_MSB2LSB, 1u),
                                           std::make_tuple(COMPRESSION_NONE, FILLORDER_LSB2MSB, 2u),
                                           std::make_tuple(COMPRESSION_LZW, FILLORDER_MSB2LSB, 2u)));

TEST(TiffIntoStaleBitmap, StripRunningPastTheEndIsRefused)
{
    Bytes file;
    encodeTiff(fiveByThree(), file);
    // Point StripOffsets (tag 273) at the last 10 bytes of the file: the
    // 45-byte strip would run past the end.
    const auto u16 = [&](std::size_t at) { return unsigned(file[at]) | (unsigned(file[at + 1]) << 8); };
    const std::size_t directory = u16(4) | (std::size_t(u16(6)) << 16);
    bool patched = false;
    for (unsigned i = 0; i < u16(directory); ++i) {
        const std::size_t e = directory + 2 + 12 * i;
        if (u16(e) == 273) {
            const std::uint32_t offset = std::uint32_t(file.size() - 10);
            for (int b = 0; b < 4; ++b)
                file[e + 8 + std::size_t(b)] = std::uint8_t(offset >> (8 * b));
            patched = true;
        }
    }
    ASSERT_TRUE(patched);
    Bitmap target = staleTarget();
    EXPECT_ANY_THROW(decodeTiffInto(file, target));
}

TEST(TiffWriteReuse, BufferOfAnEarlierSaveGivesTheSameBytes)
{
    const Bitmap small = fiveByThree();
    Bytes fresh;
    encodeTiff(small, fresh);
    Bytes reused;
    encodeTiff(Bitmap(60, 40, 24), reused); // larger file first
    encodeTiff(small, reused);
    EXPECT_EQ(reused, fresh);
    // After the header, resolution, sample sizes and name (8 + 16 + 6 + 10
    // bytes) come the samples in file order: R G B of the first pixel.
    ASSERT_GT(fresh.size(), 43u);
    EXPECT_EQ(fresh[40], 200);
    EXPECT_EQ(fresh[41], 10);
    EXPECT_EQ(fresh[42], 20);
}

// ---- Targa --------------------------------------------------------------

TEST(TargaIntoStaleBitmap, GivesThePixelsAndClearPadding)
{
    Bytes file;
    encodeTarga(fiveByThree(), kTargaTrueColour, file);
    Bitmap target = staleTarget();
    decodeTargaInto(file, target);
    EXPECT_EQ(target, fiveByThree());
    expectZeroPadding(target);
}

TEST(TargaIntoStaleBitmap, RefusedHeaderGivesOneBlackPixel)
{
    Bytes file(18, 0);
    file[2] = 5; // unknown image type
    file[16] = 24;
    Bitmap target(7, 7, 24);
    target.fill(makeColour(9, 9, 9));
    decodeTargaInto(file, target);
    ASSERT_EQ(target.width(), 1);
    ASSERT_EQ(target.height(), 1);
    EXPECT_EQ(target.pixel(0, 0), kBlack);
}

// ---- JPEG and PNG -------------------------------------------------------

Bytes throughStream(const std::function<void(std::FILE*)>& write)
{
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* f = open_memstream(&buffer, &size);
    write(f);
    std::fclose(f);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

TEST(JpegReuse, VectorAndStreamGiveTheSameFile)
{
    const Bitmap src = fiveByThree();
    const JpegOptions options{75, false};
    const Bytes viaStream = throughStream([&](std::FILE* f) { encodeJpeg(src, options, f); });
    Bytes reused(300000, 0x5A); // a larger earlier file
    encodeJpeg(src, options, reused);
    EXPECT_EQ(reused, viaStream);
    ASSERT_GE(reused.size(), 4u);
    EXPECT_EQ(reused[reused.size() - 2], 0xFF); // ends with the EOI marker
    EXPECT_EQ(reused[reused.size() - 1], 0xD9);
}

TEST(JpegReuse, DecodeIntoStaleBitmapMatchesAFreshDecode)
{
    const Bytes file = encodeJpeg(fiveByThree(), JpegOptions{90, false});
    Bitmap target = staleTarget();
    decodeJpegInto(file, target);
    EXPECT_EQ(target, decodeJpeg(file));
    expectZeroPadding(target);
}

TEST(PngReuse, VectorAndStreamGiveTheSameFileAndItReadsBack)
{
    const Bitmap src = fiveByThree();
    const Bytes viaStream = throughStream([&](std::FILE* f) { encodePng(src, f); });
    Bytes reused(300000, 0x5A);
    encodePng(src, reused);
    EXPECT_EQ(reused, viaStream);
    Bitmap back;
    decodePngInto(reused, back);
    EXPECT_EQ(back, src);
}

} // namespace
} // namespace px
