// The portable pixel map, SGI, Photoshop and Photo-CD readers on small files
// written out field by field; expected pixels worked out by hand from each
// format's rules.
#include "codecs/CodecPcd.h"
#include "codecs/CodecPpm.h"
#include "codecs/CodecPsd.h"
#include "codecs/CodecSgi.h"
#include "codecs/CodecTestSupport.h"
#include "codecs/ImageFileError.h"

#include <gtest/gtest.h>

namespace px {
namespace {

using test::Builder;
using test::Bytes;
using test::CodecDecode;
using test::CodecRefused;
using test::operator+;

Bytes text(const std::string& s)
{
    return Builder().text(s).bytes;
}

Bytes sgiHeader(int storage, int bpc, int dimension, int x, int y, int z, std::uint32_t colormap = 0)
{
    Builder b;
    b.be16(474).u8({storage, bpc}).be16(dimension).be16(x).be16(y).be16(z).pad(104).be32(colormap).pad(512);
    return b.bytes;
}

// Version 1, no colour data unless given, no resources, no layers.
Bytes psd(int channels, int width, int height, int depth, int mode, int compression, const Bytes& data,
          const Bytes& colourData = {})
{
    Builder b;
    b.text("8BPS").be16(1).zeros(6).be16(channels).be32(std::uint32_t(height)).be32(std::uint32_t(width));
    b.be16(depth).be16(mode).be32(std::uint32_t(colourData.size())).add(colourData).be32(0).be32(0);
    b.be16(compression).add(data);
    return b.bytes;
}

Bytes indexedColours()
{
    Bytes map(768, 0);
    map[1] = 255; // red of entry 1
    return map;
}

const test::DecodeCase kDecoded[] = {
    {"P1WithComment", decodePpm, text("P1\n# made by hand\n3 2\n1 0 1\n0 1 0\n"), 1,
     "000000 ffffff 000000|ffffff 000000 ffffff"},
    {"P1WithoutSeparators", decodePpm, text("P1 3 1 101"), 1, "000000 ffffff 000000"},
    {"P2Maxval15", decodePpm, text("P2 2 1 15 0 15"), 8, "000000 ffffff"},
    {"P3Maxval1000", decodePpm, text("P3 1 1 1000 1000 500 0"), 24, "ff8000"},
    {"P3SampleAboveMaxval", decodePpm, text("P3 1 1 7 9 0 0"), 24, "ff0000"},
    {"P5", decodePpm, text("P5 2 1 255\n") + Bytes{7, 200}, 8, "070707 c8c8c8"},
    {"P5TwoBytes", decodePpm, text("P5 2 1 65535\n") + Bytes{0x80, 0x00, 0xff, 0xff}, 8, "808080 ffffff"},
    {"P6", decodePpm, text("P6 2 1 255\n") + Bytes{10, 20, 30, 1, 2, 3}, 24, "0a141e 010203"},
    {"P6Maxval3", decodePpm, text("P6 1 1 3\n") + Bytes{3, 0, 1}, 24, "ff0055"},
    {"P4", decodePpm, text("P4 10 1\n") + Bytes{0xa5, 0xc0}, 1,
     "000000 ffffff 000000 ffffff ffffff 000000 ffffff 000000 000000 000000"},
    {"SgiVerbatimGreyBottomUp", decodeSgi, sgiHeader(0, 1, 2, 2, 2, 1) + Bytes{10, 20, 30, 40}, 8,
     "1e1e1e 282828|0a0a0a 141414"},
    {"SgiRleRgb", decodeSgi,
     Builder()
         .add(sgiHeader(1, 1, 3, 2, 1, 3))
         .be32(536)
         .be32(539)
         .be32(543)
         .be32(3)
         .be32(4)
         .be32(3)
         .u8({0x02, 0xff, 0x00, 0x82, 0x10, 0x20, 0x00, 0x02, 0x00, 0x00})
         .bytes,
     24, "ff1000 ff2000"},
    {"SgiVerbatim16BitsAlphaDropped", decodeSgi,
     sgiHeader(0, 2, 3, 1, 1, 4) + Bytes{0xff, 0xff, 0x80, 0x00, 0x00, 0x00, 0x12, 0x34}, 24, "ff8000"},
    {"SgiRle16Bits", decodeSgi,
     Builder().add(sgiHeader(1, 2, 1, 2, 1, 1)).be32(520).be32(6).be16(0x0002).be16(0xffff).be16(0).bytes, 8,
     "ffffff ffffff"},
    {"PsdBitmapMode", decodePsd, psd(1, 9, 1, 1, 0, 0, {0x80, 0x80}), 1,
     "000000 ffffff ffffff ffffff ffffff ffffff ffffff ffffff 000000"},
    {"PsdGreyscale", decodePsd, psd(1, 2, 1, 8, 1, 0, {0, 255}), 8, "000000 ffffff"},
    {"PsdGreyscale16Bits", decodePsd, psd(1, 1, 1, 16, 1, 0, {0x80, 0x00}), 8, "808080"},
    {"PsdIndexed", decodePsd, psd(1, 2, 1, 8, 2, 0, {1, 0}, indexedColours()), 8, "ff0000 000000"},
    {"PsdRgbWithAlphaChannel", decodePsd, psd(4, 2, 1, 8, 3, 0, {1, 2, 3, 4, 5, 6, 9, 9}), 24, "010305 020406"},
    {"PsdRgbPackBits", decodePsd,
     psd(3, 2, 1, 8, 3, 1, Builder().be16(2).be16(3).be16(2).u8({0xff, 7, 0x01, 8, 9, 0xff, 0}).bytes), 24,
     "070800 070900"},
    {"PsdCmyk", decodePsd, psd(4, 1, 1, 8, 4, 0, {255, 0, 255, 128}), 24, "800080"},
};

INSTANTIATE_TEST_SUITE_P(RasterFiles, CodecDecode, ::testing::ValuesIn(kDecoded),
                         [](const auto& info) { return std::string(info.param.name); });

// Decoding into a bitmap that held something else gives the same image.
TEST(RasterDecodeInto, AUsedBitmapGivesWhatAFreshOneGives)
{
    int checked = 0;
    for (const test::DecodeCase& d : kDecoded) {
        void (*into)(std::span<const std::uint8_t>, Bitmap&) = d.decode == decodePpm   ? decodePpmInto
                                                               : d.decode == decodeSgi ? decodeSgiInto
                                                               : d.decode == decodePsd ? decodePsdInto
                                                                                       : nullptr;
        if (!into)
            continue;
        Bitmap reused(7, 5, 24);
        reused.fill(kWhite);
        into(d.file, reused);
        EXPECT_TRUE(reused == d.decode(d.file)) << d.name;
        ++checked;
    }
    EXPECT_GT(checked, 10);
}

const test::RefuseCase kRefused[] = {
    {"PamIsNotRead", decodePpm, text("P7 1 1 255\n") + Bytes{0}},
    {"PnmZeroWidth", decodePpm, text("P6 0 1 255\n")},
    {"PnmTooWide", decodePpm, text("P6 70000 1 255\n")},
    {"PnmTooManyPixels", decodePpm, text("P5 40000 40000 255\n")},
    {"PnmRawDataShort", decodePpm, text("P6 2 2 255\n") + Bytes{1, 2, 3}},
    {"PnmPlainSampleMissing", decodePpm, text("P2 2 1 255 4")},
    {"PnmMaxvalZero", decodePpm, text("P5 1 1 0\n") + Bytes{0}},
    {"PnmMaxvalTooLarge", decodePpm, text("P5 1 1 65536\n") + Bytes{0, 0}},
    {"PnmNoSpaceAfterHeader", decodePpm, text("P5 1 1 255")},
    {"PnmPlainBitNotBinary", decodePpm, text("P1 2 1 1 2")},
    {"SgiWrongMagic", decodeSgi, Bytes(600, 0)},
    {"SgiColourMapKind", decodeSgi, sgiHeader(0, 1, 2, 1, 1, 1, 3) + Bytes{0}},
    {"SgiThreeBytesASample", decodeSgi, sgiHeader(0, 3, 2, 1, 1, 1) + Bytes{0, 0, 0}},
    {"SgiZeroWidth", decodeSgi, sgiHeader(0, 1, 2, 0, 1, 1)},
    {"SgiVerbatimShort", decodeSgi, sgiHeader(0, 1, 3, 2, 1, 3) + Bytes{1, 2, 3, 4, 5}},
    {"SgiRunPastWidth", decodeSgi, Builder().add(sgiHeader(1, 1, 1, 1, 1, 1)).be32(520).be32(3).u8({2, 5, 0}).bytes},
    {"SgiRowEndsEarly", decodeSgi, Builder().add(sgiHeader(1, 1, 1, 2, 1, 1)).be32(520).be32(3).u8({1, 5, 0}).bytes},
    {"SgiRowOutsideFile", decodeSgi, Builder().add(sgiHeader(1, 1, 1, 1, 1, 1)).be32(519).be32(9).u8({1, 5, 0}).bytes},
    {"PsdWrongSignature", decodePsd, Builder().text("8BPX").zeros(40).bytes},
    {"PsdZipData", decodePsd, psd(1, 1, 1, 8, 1, 2, {0, 0, 0, 0})},
    {"PsdLabMode", decodePsd, psd(3, 1, 1, 8, 9, 0, {0, 0, 0})},
    {"PsdRgbWithTwoChannels", decodePsd, psd(2, 1, 1, 8, 3, 0, {0, 0})},
    {"Psd32BitSamples", decodePsd, psd(1, 1, 1, 32, 1, 0, {0, 0, 0, 0})},
    {"PsdIndexedWithoutColours", decodePsd, psd(1, 1, 1, 8, 2, 0, {0})},
    {"PsdRawDataShort", decodePsd, psd(3, 2, 1, 8, 3, 0, {1, 2, 3, 4, 5})},
    {"PsdPackBitsRowTooLong", decodePsd, psd(1, 2, 1, 8, 1, 1, Builder().be16(4).u8({2, 1, 2, 3}).bytes)},
    {"PsdPackBitsRowShort", decodePsd, psd(1, 2, 1, 8, 1, 1, Builder().be16(2).u8({0, 1}).bytes)},
    {"PsdPackBitsCountsPastData", decodePsd, psd(1, 2, 1, 8, 1, 1, Builder().be16(900).u8({1, 1, 2}).bytes)},
    {"PcdNoSignature", decodePcd, Bytes(50000, 0)},
};

INSTANTIATE_TEST_SUITE_P(RasterFiles, CodecRefused, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

// A Photo-CD file holding only its smallest image (192 x 128): luma 100 and
// neutral chroma (156, 137) everywhere, except pixel (0, 0) with luma 0 and
// the first chroma pair (255, 0), shared with (1, 0), (0, 1) and (1, 1).
//   neutral: L = 1.3584 * 100 = 135.84 -> 136 grey
//   (0, 0): C1' = 2.2179 * 99 = 219.57, C2' = 1.8215 * -137 = -249.55;
//           R = 0 - 249.55 -> 0, G = -0.194 * 219.57 - 0.509 * -249.55 = 84.4 -> 84, B = 219.57 -> 220
//   (1, 0): L = 135.84: R -> 0, G = 220.3 -> 220, B = 355.4 -> 255
Bytes smallPhotoCd(int orientation)
{
    Bytes file(0x2000 + 192 * 128 * 3 / 2, 0);
    const std::string signature = "PCD_IPI";
    std::copy(signature.begin(), signature.end(), file.begin() + 0x800);
    file[0xe02] = std::uint8_t(orientation);
    for (std::size_t pair = 0; pair < 64; ++pair) {
        std::uint8_t* p = file.data() + 0x2000 + pair * 192 * 3;
        std::fill(p, p + 384, 100);
        std::fill(p + 384, p + 480, 156);
        std::fill(p + 480, p + 576, 137);
    }
    std::uint8_t* first = file.data() + 0x2000;
    first[0] = 0;
    first[384] = 255;
    first[480] = 0;
    return file;
}

struct Turn {
    int orientation;
    int width, height;
    int x0, y0, x1, y1; // where source pixels (0, 0) and (1, 0) land
};

class PhotoCdOrientation : public ::testing::TestWithParam<Turn> {};

TEST_P(PhotoCdOrientation, ConvertsYccAndStandsThePictureUp)
{
    const Turn& t = GetParam();
    const Bitmap bmp = decodePcd(smallPhotoCd(t.orientation));
    ASSERT_EQ(bmp.width(), t.width);
    ASSERT_EQ(bmp.height(), t.height);
    EXPECT_EQ(bmp.bitsPerPixel(), 24);
    EXPECT_EQ(bmp.pixel(t.x0, t.y0), makeColour(0, 84, 220));
    EXPECT_EQ(bmp.pixel(t.x1, t.y1), makeColour(0, 220, 255));
    EXPECT_EQ(bmp.pixel(t.width / 2, t.height / 2), makeColour(136, 136, 136));
}

INSTANTIATE_TEST_SUITE_P(Turns, PhotoCdOrientation,
                         ::testing::Values(Turn{0, 192, 128, 0, 0, 1, 0}, Turn{1, 128, 192, 0, 191, 0, 190},
                                           Turn{2, 192, 128, 191, 127, 190, 127}, Turn{3, 128, 192, 127, 0, 127, 1}));

TEST(PhotoCd, ReadsTheLargestImageTheFileHoldsWhole)
{
    Bytes file = smallPhotoCd(0);
    file.resize(96 * 2048 + 768 * 512 * 3 / 2, 0);
    EXPECT_EQ(decodePcd(file).width(), 768);
    file.resize(file.size() - 1);
    EXPECT_EQ(decodePcd(file).width(), 384);
    file.resize(23 * 2048 + 384 * 256 * 3 / 2 - 1);
    EXPECT_EQ(decodePcd(file).width(), 192);
    file.resize(0x2000 + 192 * 128 * 3 / 2 - 1);
    EXPECT_THROW(decodePcd(file), InvalidImageError);
}

} // namespace
} // namespace px
