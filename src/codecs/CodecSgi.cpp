#include "codecs/CodecSgi.h"

#include "codecs/ByteReader.h"
#include "codecs/RgbSwap.h"
#include "codecs/ShortRuns.h"

#include <cstring>
#include <vector>

namespace px {

namespace {

constexpr std::size_t kHeaderSize = 512;

std::uint8_t from16(unsigned v)
{
    return std::uint8_t((v * 255 + 32767) / 65535);
}

// One run-length row of 8-bit samples into `dst`, which has room for
// `width` samples. A control byte's low seven bits count samples: with the
// high bit set that many literal samples follow, otherwise one sample
// repeated that many times; zero ends the row.
void decodeRleRow8(const std::uint8_t* src, std::size_t length, std::uint8_t* dst, std::size_t width)
{
    std::size_t at = 0, x = 0;
    while (x < width) {
        if (at >= length)
            throw InvalidImageError("ligne RLE tronquée");
        const unsigned control = src[at++];
        const std::size_t count = control & 0x7f;
        if (count == 0)
            break;
        if (count > width - x)
            throw InvalidImageError("plage RLE hors de la ligne");
        if (control & 0x80) {
            if (count > length - at)
                throw InvalidImageError("ligne RLE tronquée");
            copyRun(dst + x, src + at, count);
            at += count;
        } else {
            if (at >= length)
                throw InvalidImageError("ligne RLE tronquée");
            fillRun(dst + x, src[at++], count);
        }
        x += count;
    }
    if (x != width)
        throw InvalidImageError("ligne RLE incomplète");
}

// The same with 16-bit control words and samples, scaled, into every
// `step`-th byte of `dst`.
void decodeRleRow16(const std::uint8_t* src, std::size_t length, std::uint8_t* dst, std::size_t step, std::size_t width)
{
    const auto sample = [&](std::size_t& at) -> unsigned {
        if (length - at < 2)
            throw InvalidImageError("ligne RLE tronquée");
        const unsigned v = unsigned(src[at] << 8 | src[at + 1]);
        at += 2;
        return v;
    };
    std::size_t at = 0, x = 0;
    while (x < width) {
        const unsigned control = sample(at);
        const std::size_t count = control & 0x7f;
        if (count == 0)
            break;
        if (count > width - x)
            throw InvalidImageError("plage RLE hors de la ligne");
        if (control & 0x80) {
            for (std::size_t i = 0; i < count; ++i, ++x)
                dst[x * step] = from16(sample(at));
        } else {
            const unsigned v = sample(at);
            const std::uint8_t byte = from16(v);
            for (std::size_t i = 0; i < count; ++i, ++x)
                dst[x * step] = byte;
        }
    }
    if (x != width)
        throw InvalidImageError("ligne RLE incomplète");
}

} // namespace

void decodeSgiInto(std::span<const std::uint8_t> data, Bitmap& bmp)
{
    ByteReader in(data);
    if (data.size() < kHeaderSize || in.u16be() != 474)
        throw InvalidImageError("signature SGI absente");
    const unsigned storage = in.u8();
    const unsigned bpc = in.u8();
    const unsigned dimension = in.u16be();
    const unsigned xsize = in.u16be();
    unsigned ysize = in.u16be();
    unsigned zsize = in.u16be();
    in.seek(104);
    const std::uint32_t colormap = in.u32be();
    if (storage > 1 || (bpc != 1 && bpc != 2) || dimension < 1 || dimension > 3 || colormap != 0)
        throw InvalidImageError("variante SGI non prise en charge");
    if (dimension == 1)
        ysize = 1;
    if (dimension < 3)
        zsize = 1;
    if (zsize == 0)
        throw InvalidImageError("aucun canal");
    checkImageSize(xsize, ysize);
    const int w = int(xsize), h = int(ysize);
    const bool colour = zsize >= 3;
    const unsigned channels = colour ? 3 : 1;
    if (storage == 0)
        checkEnoughData(std::uint64_t(xsize) * bpc * ysize * channels, data.size() - kHeaderSize);
    else
        checkEnoughData(std::uint64_t(ysize) * zsize * 8, data.size() - kHeaderSize);
    bmp.reallocate(w, h, colour ? 24 : 8);
    if (!colour)
        bmp.setPalette(greyRamp(256));
    const std::size_t step = colour ? 3 : 1;
    const bool stream = streamsRows(bmp.byteSize());

    if (storage == 0) {
        const std::size_t rowBytes = std::size_t(xsize) * bpc;
        const std::uint64_t planeBytes = std::uint64_t(rowBytes) * ysize;
        const std::uint8_t* base = data.data() + kHeaderSize;
        // The file's rows in the order they are stored (bottom row first):
        // each plane is then read forwards, which the processor's prefetching
        // follows; read backwards, every row would wait for memory.
        for (std::size_t fileRow = 0; fileRow < ysize; ++fileRow) {
            std::uint8_t* dst = bmp.row(h - 1 - int(fileRow));
            const std::uint8_t* r = base + fileRow * rowBytes;
            if (!colour) {
                if (bpc == 1)
                    std::memcpy(dst, r, rowBytes);
                else
                    for (int x = 0; x < w; ++x)
                        dst[x] = from16(unsigned(r[2 * x] << 8 | r[2 * x + 1]));
                continue;
            }
            const std::uint8_t* g = r + planeBytes;
            const std::uint8_t* b = g + planeBytes;
            if (bpc == 1) {
                interleaveBgr(r, g, b, dst, std::size_t(w), stream);
            } else {
                for (int x = 0; x < w; ++x, dst += 3) {
                    dst[0] = from16(unsigned(b[2 * x] << 8 | b[2 * x + 1]));
                    dst[1] = from16(unsigned(g[2 * x] << 8 | g[2 * x + 1]));
                    dst[2] = from16(unsigned(r[2 * x] << 8 | r[2 * x + 1]));
                }
            }
        }
        return;
    }

    // Run-length: a table of row starts and one of row lengths, each of
    // ysize * zsize entries, channel by channel, bottom row first.
    const std::uint64_t entries = std::uint64_t(ysize) * zsize;
    in.seek(kHeaderSize);
    const std::uint8_t* starts = in.take(entries * 4);
    const std::uint8_t* lengths = in.take(entries * 4);
    const auto entry = [](const std::uint8_t* table, std::size_t i) {
        const std::uint8_t* p = table + 4 * i;
        return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | std::uint32_t(p[3]);
    };
    // 8-bit colour rows are decoded plane by plane and then interleaved.
    std::vector<std::uint8_t> planes(bpc == 1 && colour ? 3 * std::size_t(xsize) : 0);
    // Rows in the tables' order, bottom row first, as the verbatim rows.
    for (std::size_t fileRow = 0; fileRow < ysize; ++fileRow) {
        const int y = h - 1 - int(fileRow);
        for (unsigned z = 0; z < channels; ++z) {
            const std::size_t i = std::size_t(z) * ysize + fileRow;
            const std::uint32_t start = entry(starts, i), length = entry(lengths, i);
            if (start > data.size() || length > data.size() - start)
                throw InvalidImageError("ligne RLE hors du fichier");
            const std::uint8_t* src = data.data() + start;
            if (bpc == 1 && colour)
                decodeRleRow8(src, length, planes.data() + z * std::size_t(xsize), xsize);
            else if (bpc == 1)
                decodeRleRow8(src, length, bmp.row(y), xsize);
            else // blue, green, red order in the bitmap: channel 0 (red) goes to byte 2
                decodeRleRow16(src, length, bmp.row(y) + (colour ? 2 - z : 0), step, xsize);
        }
        if (bpc == 1 && colour)
            interleaveBgr(planes.data(), planes.data() + xsize, planes.data() + 2 * std::size_t(xsize), bmp.row(y),
                          xsize, stream);
    }
}

Bitmap decodeSgi(std::span<const std::uint8_t> data)
{
    Bitmap bmp;
    decodeSgiInto(data, bmp);
    return bmp;
}

} // namespace px
