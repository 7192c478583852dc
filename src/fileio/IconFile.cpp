#include "fileio/IconFile.h"

#include "codecs/ByteReader.h"
#include "fileio/PngFile.h"

#include <cstring>
#include <vector>

namespace px {

namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr Colour kBackground = kWhite;
// Icons are small: a larger side is a damaged directory, not an icon.
constexpr std::int64_t kLargestSide = 1024;

struct Candidate {
    std::span<const std::uint8_t> data;
    std::int64_t width = 0, height = 0;
    int bits = 0;
    bool png = false;
};

std::uint32_t be32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// The size and depth an image says it has, or nothing usable.
bool describe(Candidate& c)
{
    const auto d = c.data;
    if (d.size() >= 24 && std::memcmp(d.data(), kPngSignature, 8) == 0) {
        c.png = true;
        c.width = be32(d.data() + 16);
        c.height = be32(d.data() + 20);
        c.bits = 32;
        return c.width <= kLargestSide && c.height <= kLargestSide && Bitmap::isAcceptableSize(c.width, c.height);
    }
    if (d.size() < 40)
        return false;
    ByteReader in(d);
    if (in.u32le() < 40)
        return false;
    c.width = std::int32_t(in.u32le());
    c.height = std::int32_t(in.u32le()) / 2;
    in.skip(2);
    c.bits = in.u16le();
    const bool knownDepth = c.bits == 1 || c.bits == 4 || c.bits == 8 || c.bits == 16 || c.bits == 24 || c.bits == 32;
    return knownDepth && in.u32le() == 0 && c.width <= kLargestSide && c.height <= kLargestSide &&
           Bitmap::isAcceptableSize(c.width, c.height);
}

Bitmap decodePngImage(const Candidate& c)
{
    Bitmap bmp(int(c.width), int(c.height), 24);
    bmp.fill(kBackground);
    decodePngInto(c.data, bmp);
    return bmp;
}

Bitmap decodeDibImage(const Candidate& c)
{
    ByteReader in(c.data);
    const std::uint32_t headerSize = in.u32le();
    in.seek(32);
    const std::uint32_t used = in.u32le();
    const int w = int(c.width), h = int(c.height), bits = c.bits;
    in.seek(headerSize);
    std::vector<Colour> palette;
    if (bits <= 8) {
        const std::uint32_t entries = used == 0 || used > (1u << bits) ? 1u << bits : used;
        const std::uint8_t* p = in.take(std::uint64_t(entries) * 4);
        palette.assign(std::size_t(1) << bits, kBlack);
        for (std::size_t i = 0; i < entries; ++i)
            palette[i] = makeColour(p[4 * i + 2], p[4 * i + 1], p[4 * i]);
    }
    const std::size_t colourStride = (std::size_t(w) * std::size_t(bits) + 31) / 32 * 4;
    const std::size_t maskStride = (std::size_t(w) + 31) / 32 * 4;
    const std::uint8_t* colours = in.take(colourStride * std::size_t(h));
    // Some 32-bit icons leave out the mask, which their alpha makes useless;
    // part of a mask is an image cut short.
    const std::uint8_t* mask =
        in.remaining() >= maskStride * std::size_t(h) ? in.take(maskStride * std::size_t(h)) : nullptr;
    if (!mask && (bits != 32 || in.remaining() > 0))
        throw InvalidImageError("masque d'icône tronqué");

    bool alpha = false;
    if (bits == 32)
        for (int y = 0; y < h && !alpha; ++y)
            for (int x = 0; x < w && !alpha; ++x)
                alpha = colours[std::size_t(y) * colourStride + std::size_t(x) * 4 + 3] != 0;

    Bitmap bmp(w, h, 24);
    const unsigned bgR = redOf(kBackground), bgG = greenOf(kBackground), bgB = blueOf(kBackground);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = colours + std::size_t(h - 1 - y) * colourStride;
        const std::uint8_t* m = mask ? mask + std::size_t(h - 1 - y) * maskStride : nullptr;
        std::uint8_t* dst = bmp.row(y);
        for (int x = 0; x < w; ++x, dst += 3) {
            unsigned r, g, b, a = 255;
            switch (bits) {
            case 1:
            case 4:
            case 8: {
                const unsigned shift = 8 - unsigned(bits) - unsigned(x * bits % 8);
                const Colour colour = palette[src[x * bits / 8] >> shift & ((1u << bits) - 1)];
                r = redOf(colour), g = greenOf(colour), b = blueOf(colour);
                break;
            }
            case 16: {
                const unsigned v = unsigned(src[2 * x] | src[2 * x + 1] << 8);
                r = ((v >> 10 & 31) * 255 + 15) / 31, g = ((v >> 5 & 31) * 255 + 15) / 31,
                b = ((v & 31) * 255 + 15) / 31;
                break;
            }
            case 24:
                b = src[3 * x], g = src[3 * x + 1], r = src[3 * x + 2];
                break;
            default:
                b = src[4 * x], g = src[4 * x + 1], r = src[4 * x + 2], a = src[4 * x + 3];
                break;
            }
            if (alpha) {
                dst[0] = std::uint8_t((b * a + bgB * (255 - a) + 127) / 255);
                dst[1] = std::uint8_t((g * a + bgG * (255 - a) + 127) / 255);
                dst[2] = std::uint8_t((r * a + bgR * (255 - a) + 127) / 255);
                continue;
            }
            const bool masked = m && (m[x >> 3] >> (7 - (x & 7)) & 1);
            dst[0] = std::uint8_t((masked ? bgB : 0) ^ b);
            dst[1] = std::uint8_t((masked ? bgG : 0) ^ g);
            dst[2] = std::uint8_t((masked ? bgR : 0) ^ r);
        }
    }
    return bmp;
}

} // namespace

Bitmap decodeIcon(std::span<const std::uint8_t> data)
{
    ByteReader in(data);
    const unsigned reserved = in.u16le(), type = in.u16le(), count = in.u16le();
    if (reserved != 0 || (type != 1 && type != 2) || count == 0)
        throw InvalidImageError("signature d'icône absente");
    Candidate best;
    for (unsigned i = 0; i < count; ++i) {
        in.skip(8);
        const std::uint32_t size = in.u32le(), offset = in.u32le();
        // An image that runs past the end of the file: the file was cut short.
        if (offset > data.size() || size > data.size() - offset)
            throw InvalidImageError("icône tronquée");
        Candidate c{data.subspan(offset, size)};
        if (!describe(c))
            continue;
        if (c.width * c.height > best.width * best.height ||
            (c.width * c.height == best.width * best.height && c.bits > best.bits))
            best = c;
    }
    if (best.width == 0)
        throw InvalidImageError("aucune image lisible dans l'icône");
    return best.png ? decodePngImage(best) : decodeDibImage(best);
}

} // namespace px
