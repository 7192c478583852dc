// The library's Targa and PCX readers and the Dr. Halo, Wavefront and
// Autodesk readers on small files written out field by field; expected
// pixels worked out by hand from each format's rules.
#include "codecs/CodecAutodesk.h"
#include "codecs/CodecCut.h"
#include "codecs/CodecPcx.h"
#include "codecs/CodecRla.h"
#include "codecs/CodecTarga.h"
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

Bitmap decodeCutGrey(std::span<const std::uint8_t> data)
{
    return decodeCut(data);
}

Bytes tga(int type, int depth, int w, int h, int descriptor, int mapFirst = 0, int mapLength = 0, int mapBits = 0)
{
    Builder b;
    b.u8({0, mapLength > 0 ? 1 : 0, type}).le16(mapFirst).le16(mapLength).u8({mapBits});
    b.le16(0).le16(0).le16(w).le16(h).u8({depth, descriptor});
    return b.bytes;
}

// Palette entry i of the header is (10 i, 10 i + 1, 10 i + 2).
Bytes pcx(int encoding, int bits, int planes, int w, int h, int lineBytes)
{
    Builder b;
    b.u8({10, 5, encoding, bits}).le16(0).le16(0).le16(w - 1).le16(h - 1).le16(72).le16(72);
    for (int i = 0; i < 16; ++i)
        b.u8({10 * i, 10 * i + 1, 10 * i + 2});
    b.u8({0, planes}).le16(lineBytes).le16(1).pad(128);
    return b.bytes;
}

Bytes pcxPaletteTrailer()
{
    Bytes t(769, 0);
    t[0] = 12;
    t[1 + 3] = 9, t[1 + 4] = 8, t[1 + 5] = 7; // entry 1
    return t;
}

Bytes cut(int w, int h, std::initializer_list<Bytes> lines)
{
    Builder b;
    b.le16(w).le16(h).le16(0);
    for (const Bytes& line : lines)
        b.le16(int(line.size())).add(line);
    return b.bytes;
}

// Lines given bottom first, each as its channels' encoded bytes.
Bytes rla(int w, int h, int channels, int channelBits, const std::vector<std::vector<Bytes>>& lines)
{
    Builder b;
    b.be16(0).be16(w - 1).be16(0).be16(h - 1).be16(0).be16(w - 1).be16(0).be16(h - 1);
    b.be16(0).be16(0).be16(channels).pad(658).be16(channelBits).pad(740);
    std::uint32_t offset = std::uint32_t(740 + 4 * lines.size());
    Builder body;
    for (const auto& line : lines) {
        b.be32(offset + std::uint32_t(body.size()));
        for (const Bytes& channel : line)
            body.be16(int(channel.size())).add(channel);
    }
    return b.add(body.bytes).bytes;
}

Bytes cel(int w, int h, int compression, const Bytes& pixels)
{
    Builder b;
    b.le16(0x9119).le16(w).le16(h).le16(0).le16(0).u8({8, compression}).le32(std::uint32_t(w * h)).zeros(16);
    Bytes palette(768, 0);
    palette[0] = 63, palette[1] = 32; // entry 0: (255, 130, 0)
    palette[5] = 63;                  // entry 1: (0, 0, 255)
    return b.add(palette).add(pixels).bytes;
}

Bytes chunk(int type, const Bytes& data)
{
    return Builder().le32(std::uint32_t(6 + data.size())).le16(type).add(data).bytes;
}

// An animation file of one frame holding `chunks`.
Bytes animation(int magic, int w, int h, std::initializer_list<Bytes> chunks, int depth = 8)
{
    Builder frame;
    for (const Bytes& c : chunks)
        frame.add(c);
    const Bytes body = Builder()
                           .le32(std::uint32_t(16 + frame.size()))
                           .le16(0xf1fa)
                           .le16(int(chunks.size()))
                           .zeros(8)
                           .add(frame.bytes)
                           .bytes;
    Builder b;
    b.le32(std::uint32_t(128 + body.size())).le16(magic).le16(1).le16(w).le16(h).le16(depth).le16(3).pad(80);
    b.le32(128).pad(128);
    return b.add(body).bytes;
}

const test::DecodeCase kDecoded[] = {
    {"TargaRlePacketRunsIntoNextRow", decodeCodecTarga, tga(10, 24, 2, 2, 0x20) + Bytes{0x82, 1, 2, 3, 0x00, 4, 5, 6},
     24, "030201 030201|030201 060504"},
    {"TargaBottomUpRightToLeft", decodeCodecTarga, tga(2, 24, 2, 2, 0x10) + Bytes{1, 0, 0, 2, 0, 0, 3, 0, 0, 4, 0, 0},
     24, "000004 000003|000002 000001"},
    {"TargaColourMapFromIndexTwo", decodeCodecTarga,
     tga(1, 8, 3, 1, 0x20, 2, 2, 24) + Bytes{0, 0, 255, 0, 255, 0} + Bytes{2, 3, 0}, 8, "ff0000 00ff00 000000"},
    {"Targa16BitColourMap", decodeCodecTarga, tga(1, 8, 1, 1, 0x20, 0, 1, 16) + Bytes{0x00, 0x7c, 0}, 8, "ff0000"},
    {"Targa16BitPixels", decodeCodecTarga, tga(2, 16, 2, 1, 0x20) + Bytes{0xff, 0x7f, 0x21, 0x04}, 24, "ffffff 080808"},
    {"TargaGreyWithAlpha", decodeCodecTarga, tga(3, 16, 2, 1, 0x20) + Bytes{10, 255, 20, 0}, 8, "0a0a0a 141414"},
    {"Targa32BitsAlphaDropped", decodeCodecTarga, tga(2, 32, 1, 1, 0x20) + Bytes{1, 2, 3, 4}, 24, "030201"},
    {"TargaGreyRle", decodeCodecTarga, tga(11, 8, 3, 1, 0x20) + Bytes{0x82, 9}, 8, "090909 090909 090909"},
    {"PcxEgaPlanes", decodeCodecPcx, pcx(1, 1, 4, 2, 1, 2) + Bytes{0x80, 0, 0x40, 0, 0xc1, 0xc0, 0, 0, 0}, 4,
     "323334 3c3d3e"},
    {"PcxTwoBits", decodeCodecPcx, pcx(1, 2, 1, 4, 1, 2) + Bytes{0x1b, 0}, 4, "000102 0a0b0c 141516 1e1f20"},
    {"PcxMono", decodeCodecPcx, pcx(1, 1, 1, 3, 1, 2) + Bytes{0xa0, 0}, 1, "ffffff 000000 ffffff"},
    {"Pcx8BitsGreyWithoutPalette", decodeCodecPcx, pcx(1, 8, 1, 2, 1, 2) + Bytes{7, 0xc1, 200}, 8, "070707 c8c8c8"},
    {"Pcx8BitsPalette", decodeCodecPcx, pcx(1, 8, 1, 2, 1, 2) + Bytes{1, 0} + pcxPaletteTrailer(), 8, "090807 000000"},
    {"Pcx24BitsRunAcrossLines", decodeCodecPcx, pcx(1, 8, 3, 2, 2, 2) + Bytes{0xc8, 0x11, 1, 2, 3, 4}, 24,
     "111111 111111|110103 110204"},
    {"PcxUnencoded", decodeCodecPcx, pcx(0, 8, 1, 2, 1, 2) + Bytes{0xc5, 3}, 8, "c5c5c5 030303"},
    {"CutRunsLiteralsAndShortLine", decodeCutGrey, cut(4, 2, {{0x82, 5, 0x02, 6, 7, 0}, {0x81, 9, 0}}), 8,
     "050505 050505 060606 070707|090909 000000 000000 000000"},
    {"CutFullLineEndsAtNextByte", decodeCutGrey, cut(2, 2, {{0x02, 1, 2, 0x55}, {0x82, 3, 0}}), 8,
     "010101 020202|030303 030303"},
    {"RlaRgbBottomLineFirst", decodeRla,
     rla(2, 2, 3, 8, {{{0x01, 9}, {0xfe, 1, 2}, {0x01, 0}}, {{0x01, 0}, {0x01, 0}, {0x01, 0xff}}}), 24,
     "0000ff 0000ff|090100 090200"},
    {"RlaGrey", decodeRla, rla(2, 1, 1, 8, {{{0xfe, 5, 6}}}), 8, "050505 060606"},
    {"CelSixBitPalette", decodeAutodesk, cel(2, 1, 0, {1, 0}), 8, "0000ff ff8200"},
    {"FlcColour64AndByteRun", decodeAutodesk,
     animation(0xaf12, 3, 2,
               {chunk(11, {1, 0, 1, 2, 63, 0, 0, 0, 63, 0}), chunk(15, {1, 0x03, 1, 2, 0xfe, 2, 0, 0x01, 1, 0})}),
     8, "ff0000 ff0000 ff0000|00ff00 000000 ff0000"},
    {"FliDeltaBytes", decodeAutodesk,
     animation(0xaf11, 3, 2, {chunk(4, {1, 0, 0, 2, 1, 2, 3, 9, 9, 9}), chunk(12, {1, 0, 1, 0, 1, 1, 1, 1})}), 8,
     "010203 010203 010203|010203 090909 010203"},
    {"FlcDeltaWords", decodeAutodesk,
     animation(0xaf12, 4, 2,
               {chunk(4, {1, 0, 1, 1, 255, 255, 255}), chunk(7, {1, 0, 0xff, 0xff, 1, 0, 2, 0xff, 1, 1})}),
     8, "000000 000000 000000 000000|000000 000000 ffffff ffffff"},
};

INSTANTIATE_TEST_SUITE_P(PaletteFiles, CodecDecode, ::testing::ValuesIn(kDecoded),
                         [](const auto& info) { return std::string(info.param.name); });

const test::RefuseCase kRefused[] = {
    {"TargaType4", decodeCodecTarga, tga(4, 8, 1, 1, 0) + Bytes{0}},
    {"TargaDepth12", decodeCodecTarga, tga(2, 12, 1, 1, 0) + Bytes{0, 0}},
    {"TargaGrey24", decodeCodecTarga, tga(3, 24, 1, 1, 0) + Bytes{0, 0, 0}},
    {"TargaMappedWithoutMap", decodeCodecTarga, tga(1, 8, 1, 1, 0) + Bytes{0}},
    {"TargaMapOf8BitEntries", decodeCodecTarga, tga(1, 8, 1, 1, 0, 0, 1, 8) + Bytes{0, 0}},
    {"TargaPixelsShort", decodeCodecTarga, tga(2, 24, 2, 1, 0) + Bytes{1, 2, 3, 4, 5}},
    {"TargaRunValueMissing", decodeCodecTarga, tga(10, 24, 2, 1, 0) + Bytes{0x81, 1, 2}},
    {"TargaZeroWidth", decodeCodecTarga, tga(2, 24, 0, 1, 0)},
    {"PcxWrongMaker", decodeCodecPcx, Bytes(200, 0)},
    {"PcxLineTooShort", decodeCodecPcx, pcx(1, 1, 1, 9, 1, 1) + Bytes{0, 0}},
    {"PcxTwoPlanesOf8Bits", decodeCodecPcx, pcx(1, 8, 2, 1, 1, 2) + Bytes{0, 0, 0, 0}},
    {"PcxDataShort", decodeCodecPcx, pcx(1, 8, 3, 2, 1, 2) + Bytes{0xc4, 1}},
    {"PcxUnknownEncoding", decodeCodecPcx, pcx(2, 8, 1, 1, 1, 2) + Bytes{0, 0}},
    {"CutRunPastWidth", decodeCutGrey, cut(2, 1, {{0x83, 1, 0}})},
    {"CutLiteralPastWidth", decodeCutGrey, cut(2, 1, {{0x03, 1, 2, 3, 0}})},
    {"CutDataShort", decodeCutGrey, cut(2, 2, {{0x82, 1, 0}})},
    {"CutZeroHeight", decodeCutGrey, cut(2, 0, {})},
    {"RlaLineIncomplete", decodeRla, rla(2, 1, 1, 8, {{{0x00, 9}}})},
    {"RlaRunPastWidth", decodeRla, rla(2, 1, 1, 8, {{{0x02, 9}}})},
    {"RlaLiteralCut", decodeRla, rla(2, 1, 1, 8, {{{0xfe, 9}}})},
    {"Rla16BitChannels", decodeRla, rla(1, 1, 1, 16, {{{0x00, 9}}})},
    {"RlaNoChannel", decodeRla, rla(1, 1, 0, 8, {{}})},
    {"RlaOffsetOutsideFile", decodeRla,
     Builder().add(rla(1, 1, 1, 8, {{{0x00, 9}}})).pad(744).bytes}, // the line itself cut off
    {"CelCompressed", decodeAutodesk, cel(2, 1, 1, {1, 0})},
    {"CelPixelsShort", decodeAutodesk, cel(2, 2, 0, {1, 0})},
    {"AnimationOf16Bits", decodeAutodesk, animation(0xaf12, 1, 1, {chunk(16, {0})}, 16)},
    {"ByteRunPastWidth", decodeAutodesk, animation(0xaf12, 2, 1, {chunk(15, {1, 0x03, 1})})},
    {"DeltaLinePastHeight", decodeAutodesk, animation(0xaf11, 2, 1, {chunk(12, {1, 0, 1, 0, 0})})},
    {"ChunkPastFrame", decodeAutodesk, animation(0xaf12, 1, 1, {Builder().le32(90).le16(16).u8({1}).bytes})},
    {"NoAutodeskSignature", decodeAutodesk, Bytes(200, 1)},
};

INSTANTIATE_TEST_SUITE_P(PaletteFiles, CodecRefused, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

// Palette files: 6-bit ranges scaled to 0..255, and an entry that would
// straddle a 512-byte block starts the next block instead: entries sit at
// 40 + 6 i, so entry 78 would take bytes 508..513 and moves to 512.
TEST(HaloPalette, ScalesEntriesAndSkipsBlockEnds)
{
    Builder b;
    b.text("AH").le16(0xe3).le16(0).u8({10, 0}).le16(0).le16(0).le16(80).le16(63).le16(63).le16(63);
    b.text("Dr. Halo").pad(40);
    b.le16(63).le16(0).le16(0).le16(0).le16(32).le16(63);
    b.pad(508).u8({1, 1, 1, 1}).le16(63).le16(63).le16(63).pad(530);
    const auto palette = decodeHaloPalette(b.bytes);
    ASSERT_TRUE(palette);
    ASSERT_EQ(palette->size(), 256u);
    EXPECT_EQ((*palette)[0], makeColour(255, 0, 0));
    EXPECT_EQ((*palette)[1], makeColour(0, 130, 255));
    EXPECT_EQ((*palette)[78], kWhite);
    EXPECT_FALSE(decodeHaloPalette(Bytes(b.bytes.begin(), b.bytes.begin() + 520))); // entry 79 cut
    b.bytes[0] = 'X';
    EXPECT_FALSE(decodeHaloPalette(b.bytes));
}

} // namespace
} // namespace px
