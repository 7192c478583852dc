#include "codecs/CodecPsd.h"

#include "codecs/ByteReader.h"
#include "codecs/PackBits.h"
#include "codecs/RgbSwap.h"

#include <cstring>
#include <vector>

namespace px {

namespace {

enum Mode : unsigned { Bitmap1 = 0, Greyscale = 1, Indexed = 2, Rgb = 3, Cmyk = 4, Duotone = 8 };

std::uint8_t from16(const std::uint8_t* p)
{
    return std::uint8_t((unsigned(p[0] << 8 | p[1]) * 255 + 32767) / 65535);
}

// One row of `count` channels (each `rowBytes` long, 8 or 16 bits a
// sample) into the bitmap row; `stream` as interleaveBgr takes it.
void combineRow(unsigned mode, unsigned depth, const std::uint8_t* const* ch, std::uint8_t* dst, int w,
                std::size_t rowBytes, bool stream)
{
    if (mode == Bitmap1) {
        std::memcpy(dst, ch[0], rowBytes);
        dst[rowBytes - 1] &= std::uint8_t(0xff << ((8 - w % 8) % 8));
        return;
    }
    if (mode != Rgb && mode != Cmyk) {
        if (depth == 8)
            std::memcpy(dst, ch[0], rowBytes);
        else
            for (int x = 0; x < w; ++x)
                dst[x] = from16(ch[0] + 2 * x);
        return;
    }
    const std::uint8_t *c0 = ch[0], *c1 = ch[1], *c2 = ch[2];
    if (mode == Rgb && depth == 8) {
        interleaveBgr(c0, c1, c2, dst, std::size_t(w), stream);
    } else if (mode == Rgb) {
        for (int x = 0; x < w; ++x, dst += 3) {
            dst[0] = from16(c2 + 2 * x);
            dst[1] = from16(c1 + 2 * x);
            dst[2] = from16(c0 + 2 * x);
        }
    } else {
        // Stored CMYK values are 255 minus the ink: white paper is 255.
        const std::uint8_t* c3 = ch[3];
        const std::size_t bytes = depth / 8;
        for (int x = 0; x < w; ++x, dst += 3) {
            const std::size_t i = std::size_t(x) * bytes;
            const unsigned c = depth == 8 ? c0[i] : from16(c0 + i);
            const unsigned m = depth == 8 ? c1[i] : from16(c1 + i);
            const unsigned y = depth == 8 ? c2[i] : from16(c2 + i);
            const unsigned k = depth == 8 ? c3[i] : from16(c3 + i);
            dst[0] = std::uint8_t((y * k + 127) / 255);
            dst[1] = std::uint8_t((m * k + 127) / 255);
            dst[2] = std::uint8_t((c * k + 127) / 255);
        }
    }
}

} // namespace

void decodePsdInto(std::span<const std::uint8_t> data, Bitmap& bmp)
{
    ByteReader in(data);
    if (data.size() < 26 || std::memcmp(data.data(), "8BPS", 4) != 0)
        throw InvalidImageError("signature PSD absente");
    in.skip(4);
    const unsigned version = in.u16be();
    if (version != 1 && version != 2)
        throw InvalidImageError("version PSD inconnue");
    in.skip(6);
    const unsigned channels = in.u16be();
    const std::uint32_t height = in.u32be();
    const std::uint32_t width = in.u32be();
    const unsigned depth = in.u16be();
    const unsigned mode = in.u16be();
    checkImageSize(width, height);

    unsigned needed = 0;
    if (mode == Bitmap1 && depth == 1)
        needed = 1;
    else if ((mode == Greyscale || mode == Duotone) && (depth == 8 || depth == 16))
        needed = 1;
    else if (mode == Indexed && depth == 8)
        needed = 1;
    else if (mode == Rgb && (depth == 8 || depth == 16))
        needed = 3;
    else if (mode == Cmyk && (depth == 8 || depth == 16))
        needed = 4;
    if (needed == 0)
        throw InvalidImageError("mode PSD non pris en charge");
    if (channels < needed || channels > 56)
        throw InvalidImageError("nombre de canaux incohérent");

    const std::uint32_t colourDataLength = in.u32be();
    const std::uint8_t* colourData = in.take(colourDataLength);
    if (mode == Indexed && colourDataLength < 768)
        throw InvalidImageError("table de couleurs absente");
    in.skip(in.u32be());                             // image resources
    in.skip(version == 1 ? in.u32be() : in.u64be()); // layers and masks
    const unsigned compression = in.u16be();
    if (compression > 1)
        throw InvalidImageError("compression PSD non prise en charge");

    const int w = int(width), h = int(height);
    const std::size_t rowBytes = depth == 1 ? (std::size_t(w) + 7) / 8 : std::size_t(w) * (depth / 8);
    const std::uint64_t planeBytes = std::uint64_t(rowBytes) * height;

    // PackBits: the byte counts of every row of every channel, then the rows
    // in the same order. A row of n bytes takes at least 2 per 128.
    const std::size_t countBytes = version == 1 ? 2 : 4;
    const std::uint8_t* counts = nullptr;
    const auto count = [&](std::size_t i) -> std::size_t {
        const std::uint8_t* p = counts + i * countBytes;
        return countBytes == 2 ? std::size_t(p[0] << 8 | p[1])
                               : std::size_t(std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 |
                                             std::uint32_t(p[2]) << 8 | p[3]);
    };
    std::size_t channelStart[4] = {};
    if (compression == 0) {
        checkEnoughData(planeBytes * needed, in.remaining());
    } else {
        const std::uint64_t counted = std::uint64_t(channels) * height;
        checkEnoughData(counted * countBytes, in.remaining());
        counts = in.take(counted * countBytes);
        const std::size_t leastRow = (rowBytes + 127) / 128 * 2;
        std::size_t offset = in.position();
        for (unsigned c = 0; c < needed; ++c) {
            channelStart[c] = offset;
            for (std::size_t y = 0; y < height; ++y) {
                const std::size_t n = count(c * std::size_t(height) + y);
                if (n < leastRow)
                    throw InvalidImageError("ligne PackBits trop courte");
                offset += n;
                if (offset > data.size())
                    throw InvalidImageError("données tronquées");
            }
        }
    }

    const bool rgb = mode == Rgb || mode == Cmyk;
    bmp.reallocate(w, h, mode == Bitmap1 ? 1 : rgb ? 24 : 8);
    if (mode == Bitmap1) {
        bmp.setPalette({kWhite, kBlack});
    } else if (mode == Indexed) {
        std::vector<Colour> palette(256);
        for (std::size_t i = 0; i < 256; ++i)
            palette[i] = makeColour(colourData[i], colourData[256 + i], colourData[512 + i]);
        bmp.setPalette(std::move(palette));
    } else if (!rgb) {
        bmp.setPalette(greyRamp(256));
    }

    const std::uint8_t* rows[4] = {};
    const bool stream = streamsRows(bmp.byteSize());
    if (compression == 0) {
        const std::uint8_t* base = in.take(0);
        for (int y = 0; y < h; ++y) {
            for (unsigned c = 0; c < needed; ++c)
                rows[c] = base + c * planeBytes + std::size_t(y) * rowBytes;
            combineRow(mode, depth, rows, bmp.row(y), w, rowBytes, stream);
        }
        return;
    }
    std::vector<std::uint8_t> scratch(rowBytes * needed);
    for (int y = 0; y < h; ++y) {
        for (unsigned c = 0; c < needed; ++c) {
            const std::size_t length = count(c * std::size_t(height) + std::size_t(y));
            std::uint8_t* dst = scratch.data() + c * rowBytes;
            if (!unpackBits(data.data() + channelStart[c], length, dst, rowBytes))
                throw InvalidImageError("ligne PackBits incohérente");
            channelStart[c] += length;
            rows[c] = dst;
        }
        combineRow(mode, depth, rows, bmp.row(y), w, rowBytes, stream);
    }
}

Bitmap decodePsd(std::span<const std::uint8_t> data)
{
    Bitmap bmp;
    decodePsdInto(data, bmp);
    return bmp;
}

} // namespace px
