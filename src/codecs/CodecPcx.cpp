#include "codecs/CodecPcx.h"

#include "codecs/ByteReader.h"
#include "codecs/PcxRuns.h"
#include "codecs/RgbSwap.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace px {

namespace {

constexpr std::size_t kHeaderSize = 128;

// The lines one after the other, run-length coded or raw.
class LineStream {
public:
    LineStream(ByteReader& in, bool encoded) : in_(in), encoded_(encoded), runs_(in.data(), in.position()) {}

    void read(std::uint8_t* dst, std::size_t count)
    {
        if (encoded_)
            runs_.read(dst, count);
        else
            std::memcpy(dst, in_.take(count), count);
    }

    // Where the lines end.
    std::size_t position() const { return encoded_ ? runs_.position() : in_.position(); }

private:
    ByteReader& in_;
    bool encoded_;
    PcxRunDecoder runs_;
};

} // namespace

void decodeCodecPcxInto(std::span<const std::uint8_t> data, Bitmap& bmp)
{
    ByteReader in(data);
    if (data.size() < kHeaderSize || in.u8() != 10)
        throw InvalidImageError("signature PCX absente");
    in.skip(1); // version
    const unsigned encoding = in.u8();
    const unsigned bits = in.u8();
    const int xmin = in.u16le(), ymin = in.u16le(), xmax = in.u16le(), ymax = in.u16le();
    in.seek(16);
    const std::uint8_t* headerPalette = in.take(48);
    in.seek(65);
    const unsigned planes = in.u8();
    const std::size_t lineBytes = in.u16le();
    if (encoding > 1 || xmax < xmin || ymax < ymin)
        throw InvalidImageError("en-tête PCX incohérent");
    const int w = xmax - xmin + 1, h = ymax - ymin + 1;
    checkImageSize(w, h);

    const bool mono = bits == 1 && planes == 1;
    const bool planar = bits == 1 && planes >= 2 && planes <= 4;
    const bool packed = (bits == 2 || bits == 4) && planes == 1;
    const bool byteIndex = bits == 8 && planes == 1;
    const bool trueColour = bits == 8 && (planes == 3 || planes == 4);
    if (!mono && !planar && !packed && !byteIndex && !trueColour)
        throw InvalidImageError("disposition PCX non prise en charge");
    if (lineBytes * 8 < std::size_t(w) * bits)
        throw InvalidImageError("lignes trop courtes");

    // Two encoded bytes stand for at most 63.
    const std::uint64_t scanTotal = std::uint64_t(lineBytes) * planes * std::uint64_t(h);
    checkEnoughData(scanTotal, (encoding == 1 ? 32 : 1) * std::uint64_t(data.size() - kHeaderSize));
    bmp.reallocate(w, h, mono ? 1 : trueColour ? 24 : (planar || packed) ? 4 : 8);
    if (mono) {
        bmp.setPalette({kBlack, kWhite});
    } else if (planar || packed) {
        std::vector<Colour> palette(16);
        for (std::size_t i = 0; i < 16; ++i)
            palette[i] = makeColour(headerPalette[3 * i], headerPalette[3 * i + 1], headerPalette[3 * i + 2]);
        bmp.setPalette(std::move(palette));
    } else if (byteIndex) {
        const std::size_t trailer = 769;
        if (data.size() >= kHeaderSize + trailer && data[data.size() - trailer] == 12) {
            const std::uint8_t* p = data.data() + data.size() - trailer + 1;
            std::vector<Colour> palette(256);
            for (std::size_t i = 0; i < 256; ++i)
                palette[i] = makeColour(p[3 * i], p[3 * i + 1], p[3 * i + 2]);
            bmp.setPalette(std::move(palette));
        } else {
            bmp.setPalette(greyRamp(256));
        }
    }

    in.seek(kHeaderSize);
    LineStream lines(in, encoding == 1);
    const std::size_t scanBytes = lineBytes * planes;
    const bool direct = mono || byteIndex || bits == 4;
    const bool stream = streamsRows(bmp.byteSize());
    std::vector<std::uint8_t> scan(direct ? 0 : scanBytes);
    std::vector<std::uint8_t> spare(direct && lineBytes > bmp.stride() ? lineBytes : 0);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = bmp.row(y);
        if (direct) {
            // The row takes the line itself; bytes a line has past the row go to a spare buffer.
            const std::size_t keep = std::min(lineBytes, bmp.stride());
            lines.read(row, keep);
            if (keep < lineBytes)
                lines.read(spare.data(), lineBytes - keep);
            if (mono && w % 8)
                row[(w - 1) / 8] &= std::uint8_t(0xff << (8 - w % 8));
            if (packed && w % 2)
                row[w / 2] &= 0xf0;
            continue;
        }
        lines.read(scan.data(), scanBytes);
        const std::uint8_t* s = scan.data();
        if (trueColour) {
            interleaveBgr(s, s + lineBytes, s + 2 * lineBytes, row, std::size_t(w), stream);
        } else {
            std::memset(row, 0, (std::size_t(w) + 1) / 2);
            for (int x = 0; x < w; ++x) {
                unsigned index = 0;
                if (planar) {
                    for (unsigned p = 0; p < planes; ++p)
                        index |= unsigned(s[p * lineBytes + std::size_t(x >> 3)] >> (7 - (x & 7)) & 1) << p;
                } else { // 2 bits a pixel, four to a byte
                    index = s[x >> 2] >> (6 - 2 * (x & 3)) & 3;
                }
                row[x >> 1] |= std::uint8_t(x & 1 ? index : index << 4);
            }
        }
    }
    // After the pixels of an 8-bit file comes its 256-colour palette (a 12,
    // then 768 bytes) or nothing at all (an old file, shown in greys). Some
    // bytes but fewer than a palette are a file cut short: its colours are
    // lost.
    in.seek(lines.position());
    if (byteIndex && in.remaining() > 0 && in.remaining() < 769)
        throw InvalidImageError("palette PCX tronquée");
}

Bitmap decodeCodecPcx(std::span<const std::uint8_t> data)
{
    Bitmap bmp;
    decodeCodecPcxInto(data, bmp);
    return bmp;
}

} // namespace px
