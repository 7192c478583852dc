// Readers that fill a caller's bitmap and writers that fill a caller's
// buffer: whatever the target held before must not show through, and the
// bytes must be those of the plain calls.
#include "codecs/CodecTiff.h"
#include "codecs/RgbSwap.h"
#include "fileio/FileTestSupport.h"
#include "fileio/JpegFile.h"
#include "fileio/PngFile.h"
#include "fileio/TargaFile.h"
#include "fileio/TiffWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <tiffio.h>

#include <functional>
#include <tuple>

namespace px {
namespace {

using test::Bytes;
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
    return fromAscii({"RGB.#", "#.BGR", "R#G.B"},
                     {{'R', makeColour(200, 10, 20)}, {'G', makeColour(30, 220, 40)}, {'B', makeColour(50, 60, 230)}});
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

// ---- TIFF ---------------------------------------------------------------

// Writes fiveByThree() with libtiff itself, in the given strip layout.
Bytes libtiffFile(const TempDir& dir, std::uint16_t compression, std::uint16_t fillOrder, std::uint32_t rowsPerStrip)
{
    const Bitmap src = fiveByThree();
    const auto path = dir.file("t.tif");
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    EXPECT_NE(tif, nullptr);
    for (const auto& [tag, value] : {std::pair<ttag_t, unsigned>{TIFFTAG_IMAGEWIDTH, 5},
                                     {TIFFTAG_IMAGELENGTH, 3},
                                     {TIFFTAG_BITSPERSAMPLE, 8},
                                     {TIFFTAG_SAMPLESPERPIXEL, 3},
                                     {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB},
                                     {TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG},
                                     {TIFFTAG_COMPRESSION, compression},
                                     {TIFFTAG_FILLORDER, fillOrder},
                                     {TIFFTAG_ROWSPERSTRIP, rowsPerStrip}})
        TIFFSetField(tif, tag, value);
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
    return test::readAll(path);
}

class TiffIntoStaleBitmap : public ::testing::TestWithParam<std::tuple<std::uint16_t, std::uint16_t, std::uint32_t>> {};

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
            test::putLE(file, e + 8, std::uint32_t(file.size() - 10));
            patched = true;
        }
    }
    ASSERT_TRUE(patched);
    Bitmap target = staleTarget();
    EXPECT_ANY_THROW(decodeTiffInto(file, target));
}

// ---- Targa and JPEG -----------------------------------------------------

TEST(DecodeIntoStaleBitmap, TargaAndJpegGiveAFreshDecodeWithClearPadding)
{
    Bytes targa;
    encodeTarga(fiveByThree(), kTargaTrueColour, targa);
    Bitmap target = staleTarget();
    decodeTargaInto(targa, target);
    EXPECT_EQ(target, fiveByThree());
    expectZeroPadding(target);

    const Bytes jpeg = encodeJpeg(fiveByThree(), JpegOptions{90, false});
    target = staleTarget();
    decodeJpegInto(jpeg, target);
    EXPECT_EQ(target, decodeJpeg(jpeg));
    expectZeroPadding(target);
}

// ---- Writers ------------------------------------------------------------

// A buffer that held a larger earlier file ends up with exactly the bytes of
// a fresh encode (for JPEG and PNG, those of the stream writer).
TEST(EncodeIntoReusedBuffer, GivesTheBytesOfAFreshEncode)
{
    const Bitmap src = fiveByThree();
    const JpegOptions options{75, false};
    Bytes freshTiff;
    encodeTiff(src, freshTiff);
    const std::tuple<const char*, std::function<void(Bytes&)>, Bytes> writers[] = {
        {"tiff", [&](Bytes& out) { encodeTiff(src, out); }, freshTiff},
        {"jpeg", [&](Bytes& out) { encodeJpeg(src, options, out); },
         test::throughStream([&](std::FILE* f) { encodeJpeg(src, options, f); })},
        {"png", [&](Bytes& out) { encodePng(src, out); },
         test::throughStream([&](std::FILE* f) { encodePng(src, f); })}};
    for (const auto& [name, encode, fresh] : writers) {
        Bytes reused;
        encodeTiff(Bitmap(60, 40, 24), reused);
        reused.resize(300000, 0x5A);
        encode(reused);
        EXPECT_EQ(reused, fresh) << name;
    }
    const Bytes& jpeg = std::get<2>(writers[1]);
    EXPECT_EQ(Bytes(jpeg.end() - 2, jpeg.end()), (Bytes{0xFF, 0xD9})); // the end-of-image marker
    Bitmap back;
    decodePngInto(std::get<2>(writers[2]), back);
    EXPECT_EQ(back, src);
}

} // namespace
} // namespace px
