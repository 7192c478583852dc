#include "codecs/CodecTarga.h"

#include "codecs/ByteReader.h"
#include "codecs/RowStore.h"
#include "codecs/ShortRuns.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace px {

namespace {

// 5-bit channel to 0..255 (v * 255 / 31, rounded down as other readers do).
constexpr std::uint8_t scale5(unsigned v)
{
    return std::uint8_t(v * 255 / 31);
}

// A 15- or 16-bit value (little-endian, blue in the low bits) as a colour.
Colour colourOf16(const std::uint8_t* p)
{
    const unsigned v = unsigned(p[0] | p[1] << 8);
    return makeColour(scale5(v >> 10 & 31), scale5(v >> 5 & 31), scale5(v & 31));
}

// The pixels of the file in stored order, raw or run-length packets; a
// packet may run on past the row that asked for it. Run-length pixels are
// read into a buffer with kRunSlack bytes of room after them.
class PixelStream {
public:
    PixelStream(ByteReader& in, std::size_t pixelBytes, bool rle) : in_(in), bytes_(pixelBytes), rle_(rle) {}

    void read(std::uint8_t* dst, std::size_t count)
    {
        if (!rle_) {
            std::memcpy(dst, in_.take(std::uint64_t(count) * bytes_), count * bytes_);
            return;
        }
        // Packets one after the other through raw pointers, with one check
        // of the data left per packet.
        const std::uint8_t* const src = in_.data().data();
        const std::size_t end = in_.size(), bytes = bytes_;
        std::size_t at = in_.position(), left = left_;
        bool run = run_;
        while (count > 0) {
            if (left == 0) {
                if (at >= end)
                    throw InvalidImageError("fichier tronqué");
                const std::uint8_t header = src[at++];
                left = std::size_t(header & 0x7f) + 1;
                run = header & 0x80;
                if (run) {
                    if (end - at < bytes)
                        throw InvalidImageError("fichier tronqué");
                    std::memcpy(value_, src + at, bytes);
                    at += bytes;
                }
            }
            const std::size_t n = std::min(left, count);
            if (!run) {
                if (n * bytes > end - at)
                    throw InvalidImageError("fichier tronqué");
                if (end - at - n * bytes >= kRunSlack)
                    copyRunOver(dst, src + at, n * bytes);
                else
                    copyRun(dst, src + at, n * bytes);
                at += n * bytes;
            } else if (bytes == 1) {
                fillRun(dst, value_[0], n);
            } else {
                for (std::size_t i = 0; i < n; ++i)
                    std::memcpy(dst + i * bytes, value_, bytes);
            }
            dst += n * bytes;
            count -= n;
            left -= n;
        }
        left_ = left;
        run_ = run;
        in_.seek(at);
    }

private:
    ByteReader& in_;
    std::size_t bytes_;
    bool rle_;
    std::size_t left_ = 0;
    bool run_ = false;
    std::uint8_t value_[4] = {};
};

void reverseRow(std::uint8_t* row, int width, int bytes)
{
    for (int a = 0, b = width - 1; a < b; ++a, --b)
        for (int i = 0; i < bytes; ++i)
            std::swap(row[a * bytes + i], row[b * bytes + i]);
}

} // namespace

void decodeCodecTargaInto(std::span<const std::uint8_t> data, Bitmap& bmp)
{
    ByteReader in(data);
    const unsigned idLength = in.u8();
    const unsigned mapType = in.u8();
    const unsigned imageType = in.u8();
    const unsigned mapFirst = in.u16le();
    const unsigned mapLength = in.u16le();
    const unsigned mapEntryBits = in.u8();
    in.skip(4); // origin
    const unsigned width = in.u16le();
    const unsigned height = in.u16le();
    const unsigned depth = in.u8();
    const unsigned descriptor = in.u8();

    const unsigned kind = imageType & 7;
    const bool rle = imageType & 8;
    if ((imageType & ~11u) != 0 || kind < 1 || kind > 3)
        throw InvalidImageError("type Targa non pris en charge");
    const bool mapped = kind == 1;
    if ((mapped && (depth != 8 && depth != 16)) ||
        (kind == 2 && depth != 15 && depth != 16 && depth != 24 && depth != 32) ||
        (kind == 3 && depth != 8 && depth != 16))
        throw InvalidImageError("profondeur Targa non prise en charge");
    if (mapType > 1 || (mapped && (mapType != 1 || mapLength == 0)))
        throw InvalidImageError("table de couleurs Targa incohérente");
    checkImageSize(width, height);
    in.skip(idLength);

    // The colour map, whatever the image type (true-colour files may carry one).
    std::vector<Colour> map;
    if (mapType == 1) {
        if (mapEntryBits != 15 && mapEntryBits != 16 && mapEntryBits != 24 && mapEntryBits != 32)
            throw InvalidImageError("entrées de la table de couleurs non prises en charge");
        const std::size_t entryBytes = (mapEntryBits + 7) / 8;
        const std::uint8_t* entries = in.take(std::uint64_t(mapLength) * entryBytes);
        if (mapped) {
            map.assign(std::size_t(mapFirst) + mapLength, kBlack);
            for (std::size_t i = 0; i < mapLength; ++i) {
                const std::uint8_t* p = entries + i * entryBytes;
                map[mapFirst + i] = entryBytes == 2 ? colourOf16(p) : makeColour(p[2], p[1], p[0]);
            }
        }
    }

    const int w = int(width), h = int(height);
    // A packet of a header byte and one pixel stands for at most 128 pixels.
    const std::uint64_t pixelCount = std::uint64_t(width) * height, bytesPerPixel = (depth + 7) / 8;
    if (rle)
        checkEnoughData(pixelCount, 128 * (in.remaining() / (1 + bytesPerPixel)));
    else
        checkEnoughData(pixelCount * bytesPerPixel, in.remaining());
    const bool indexedOut = depth == 8 || (kind == 3 && depth == 16);
    bmp.reallocate(w, h, indexedOut ? 8 : 24);
    if (mapped && depth == 8) {
        map.resize(256, kBlack);
        bmp.setPalette(map);
    } else if (kind == 3) {
        bmp.setPalette(greyRamp(256));
    }

    const std::size_t pixelBytes = (depth + 7) / 8;
    PixelStream pixels(in, pixelBytes, rle);
    const bool topDown = descriptor & 0x20;
    const bool rightToLeft = descriptor & 0x10;
    // Raw pixels land in the bitmap row itself when they have its layout;
    // decoded ones are copied there, around the cache for a large image.
    const bool direct = pixelBytes == 1 || depth == 24;
    const bool stream = streamsRows(bmp.byteSize());
    std::vector<std::uint8_t> raw(direct && !rle ? 0 : std::size_t(w) * pixelBytes + kRunSlack);
    for (int i = 0; i < h; ++i) {
        std::uint8_t* row = bmp.row(topDown ? i : h - 1 - i);
        if (direct && !rle) {
            pixels.read(row, std::size_t(w));
        } else if (direct) {
            pixels.read(raw.data(), std::size_t(w));
            storeRow(row, raw.data(), std::size_t(w) * pixelBytes, stream);
        } else {
            pixels.read(raw.data(), std::size_t(w));
            const std::uint8_t* p = raw.data();
            if (kind == 3) { // grey and alpha
                for (int x = 0; x < w; ++x)
                    row[x] = p[2 * x];
            } else if (depth == 32) {
                for (int x = 0; x < w; ++x, row += 3, p += 4) {
                    row[0] = p[0];
                    row[1] = p[1];
                    row[2] = p[2];
                }
            } else {
                for (int x = 0; x < w; ++x, row += 3, p += 2) {
                    Colour c = kBlack;
                    if (!mapped) {
                        c = colourOf16(p);
                    } else {
                        const unsigned index = unsigned(p[0] | p[1] << 8);
                        if (index < map.size())
                            c = map[index];
                    }
                    row[0] = blueOf(c);
                    row[1] = greenOf(c);
                    row[2] = redOf(c);
                }
            }
            row = bmp.row(topDown ? i : h - 1 - i);
        }
        if (rightToLeft)
            reverseRow(row, w, indexedOut ? 1 : 3);
    }
}

Bitmap decodeCodecTarga(std::span<const std::uint8_t> data)
{
    Bitmap bmp;
    decodeCodecTargaInto(data, bmp);
    return bmp;
}

} // namespace px
