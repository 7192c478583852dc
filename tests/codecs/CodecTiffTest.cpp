#include "codecs/CodecTiff.h"
#include "codecs/ImageFileError.h"
#include "fileio/FileTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <functional>
#include <optional>
#include <set>
#include <vector>

namespace px {
namespace {

// Found by fuzzing: a tile size that made libtiff ask for 170 GB.
const std::vector<std::uint8_t> kHugeTileAllocation = {
    0x49, 0x49, 0x2a, 0x00, 0x08, 0x00, 0x00, 0x00, 0x0d, 0x00, 0x00, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0xff,
    0xff, 0x00, 0x00, 0x01, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x84, 0x03, 0x00, 0x00, 0x02, 0x01, 0x03, 0x00,
    0x01, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x03, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0xb2, 0x80, 0x00,
    0x00, 0x06, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x0a, 0x01, 0x03, 0x00, 0x01, 0x00,
    0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x11, 0x01, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00, 0xae, 0x00, 0x00, 0x00, 0x12,
    0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x15, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00,
    0xff, 0xff, 0x00, 0x00, 0x16, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00, 0x17, 0x01, 0x04,
    0x00, 0x01, 0x00, 0x00, 0x00, 0x58, 0x00, 0x00, 0x00, 0x1c, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00,
    0x00, 0x00, 0x53, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xd0,
    0x01, 0x01, 0x00, 0x78, 0x9c, 0xed, 0xc1, 0x01, 0x0d, 0x00, 0x00, 0x00, 0xc2, 0xa0, 0xac, 0xef, 0x5f, 0xc2, 0x1e,
    0x0e, 0x28, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xe0, 0xcd, 0x00, 0x32, 0xe5, 0xb5, 0x80};

TEST(TiffRead, FuzzFoundInputsFailCleanly)
{
    try {
        (void)decodeTiff(kHugeTileAllocation);
    } catch (const InvalidImageError&) {
    }
    SUCCEED();
}

TEST(TiffRead, DamagedHeadersRaiseInvalidImage)
{
    using Bytes = std::vector<std::uint8_t>;
    for (const Bytes& file : {Bytes{}, Bytes{'I', 'I', 42, 0}, Bytes{'I', 'I', 42, 0, 200, 0, 0, 0},
                              Bytes{'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0}})
        EXPECT_THROW(decodeTiff(file), InvalidImageError) << file.size() << " bytes";
}

using Bytes = std::vector<std::uint8_t>;

// Copies of `file` cut short at lengths from one byte less down to the
// first few bytes. A reading error of libtiff makes the file invalid, so
// each copy is either refused or, when the cut spared everything the image
// needs, decodes to exactly the whole file's pixels (rows that were read
// are never mixed with filled-in ones).
// The reader that takes the file's parts from the file itself gives what
// the reader of the whole file in memory gives: the same pixels, or a refusal.
Bitmap decodeBoth(const Bytes& bytes)
{
    static const test::TempDir dir;
    const auto path = dir.file("copy.tif");
    test::writeBytes(path, bytes);
    std::optional<Bitmap> fromFile;
    try {
        fromFile = readTiffFile(path);
    } catch (const InvalidImageError&) {
    }
    try {
        Bitmap fromMemory = decodeTiff(bytes);
        EXPECT_TRUE(fromFile && *fromFile == fromMemory) << "the file reader differs at " << bytes.size() << " bytes";
        return fromMemory;
    } catch (const InvalidImageError&) {
        EXPECT_FALSE(fromFile) << "the file reader accepts " << bytes.size() << " bytes";
        throw;
    }
}

void expectRefusedOrExact(const Bytes& file)
{
    Bitmap whole;
    ASSERT_NO_THROW(whole = decodeBoth(file));
    const std::size_t n = file.size();
    int refused = 0;
    std::set<std::size_t> cuts{8, 16, 64};
    for (std::size_t i = 1; i <= 32 && i < n; ++i)
        cuts.insert(n - i);
    for (std::size_t percent = 5; percent < 100; percent += 5)
        cuts.insert(n * percent / 100);
    for (std::size_t cut : cuts) {
        const Bytes part(file.begin(), file.begin() + std::ptrdiff_t(cut));
        try {
            const Bitmap b = decodeBoth(part);
            EXPECT_TRUE(b == whole) << "cut at " << cut << " of " << n << " decodes to other pixels";
        } catch (const InvalidImageError&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

class TiffTruncatedCorpus : public ::testing::TestWithParam<const char*> {};

TEST_P(TiffTruncatedCorpus, IsRefusedOrDecodesExactly)
{
    if (test::corpusDir().empty())
        GTEST_SKIP() << "PIXORAN3_CORPUS is not set";
    const Bytes file = test::readAll(test::corpusDir() / GetParam());
    ASSERT_FALSE(file.empty()) << GetParam();
    expectRefusedOrExact(file);
}

// One file of each layout the corpus has (no old-style JPEG among them).
INSTANTIATE_TEST_SUITE_P(Layouts, TiffTruncatedCorpus,
                         ::testing::Values("generated/im_tif_pal.tif",                  // palette
                                           "tiff/pil_hopper_gray_4bpp.tif",             // grey 4-bit
                                           "tiff/pil_16bit.MM.deflate.tif",             // grey 16-bit, big-endian
                                           "tiff/pil_12in16bit.tif",                    // grey 16-bit, uncompressed
                                           "generated/im_tif_none.tif",                 // RGB contiguous
                                           "generated/im_tif_lzw_pred.tif",             // RGB, LZW with predictor
                                           "generated/im_tif_planar.tif",               // RGB planar
                                           "generated/im_tif_tiled.tif",                // RGB tiles
                                           "generated/im_tif_msb16.tif",                // RGB 16-bit
                                           "tiff/pil_tiff_tiled_planar_16bit_RGB.tiff", // 16-bit planar tiles
                                           "generated/im_tif_cmyk.tif",                 // CMYK
                                           "tiff/pil_tiff_strip_cmyk_jpeg.tif",         // CMYK in JPEG
                                           "generated/im_tif_jpeg.tif",                 // JPEG
                                           "generated/im_tif_g3.tif",                   // CCITT group 3
                                           "generated/im_tif_g4.tif",                   // CCITT group 4
                                           "tiff/pil_hopper_g4.tif"),
                         [](const auto& info) {
                             return test::testName(std::filesystem::path(info.param).stem().string());
                         });

// A file written by libtiff itself.
Bytes writeTiff(const std::function<void(TIFF*)>& fill)
{
    test::TempDir dir;
    const auto path = dir.file("generated.tif");
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    fill(tif);
    TIFFClose(tif);
    return test::readAll(path);
}

void baseTags(TIFF* tif, int w, int h, int bits, int samples, int photometric, int compression)
{
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 4);
}

// Layouts the corpus lacks, written here: 2-bit grey and YCbCr with 2 x 2
// chroma subsampling, several strips each.
TEST(TiffTruncated, GeneratedLayoutsAreRefusedOrDecodeExactly)
{
    const Bytes grey2 = writeTiff([](TIFF* tif) {
        baseTags(tif, 30, 16, 2, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_NONE);
        std::uint8_t row[8];
        for (int y = 0; y < 16; ++y) {
            for (int i = 0; i < 8; ++i)
                row[i] = std::uint8_t(0x1B * (y + i) + 0x4E);
            TIFFWriteScanline(tif, row, std::uint32_t(y), 0);
        }
    });
    SCOPED_TRACE("grey 2-bit");
    expectRefusedOrExact(grey2);

    const Bytes ycbcr = writeTiff([](TIFF* tif) {
        baseTags(tif, 16, 16, 8, 3, PHOTOMETRIC_YCBCR, COMPRESSION_NONE);
        TIFFSetField(tif, TIFFTAG_YCBCRSUBSAMPLING, 2, 2);
        // Each strip of 4 rows: 8 x 2 blocks of 4 luma samples, Cb, Cr.
        for (std::uint32_t strip = 0; strip < 4; ++strip) {
            std::uint8_t data[8 * 2 * 6];
            for (std::size_t i = 0; i < sizeof data; ++i)
                data[i] = std::uint8_t(40 + (i * 37 + strip * 11) % 170);
            TIFFWriteRawStrip(tif, strip, data, sizeof data);
        }
    });
    SCOPED_TRACE("YCbCr 2 x 2");
    expectRefusedOrExact(ycbcr);
}

} // namespace
} // namespace px
