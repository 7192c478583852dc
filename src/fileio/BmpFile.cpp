#include "fileio/BmpFile.h"

#include "codecs/ImageFileError.h"
#include "fileio/BmpRle.h"
#include "fileio/FileBytes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>
#include <memory>

namespace px {

namespace {

enum Compression : std::uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitfields = 3,
    kAlphaBitfields = 6,
};

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;

[[noreturn]] void invalid(const char* why)
{
    throw InvalidImageError(why);
}

inline std::uint16_t u16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | (p[1] << 8));
}
inline std::uint32_t u32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
inline std::int32_t i32(const std::uint8_t* p)
{
    return std::int32_t(u32(p));
}

// What the headers say, checked for consistency.
struct BmpInfo {
    std::int64_t width = 0;
    std::int64_t height = 0; // always positive; topDown tells the row order
    bool topDown = false;
    int bpp = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t masks[3] = {0, 0, 0}; // red, green, blue (16 and 32 bits)
    std::size_t paletteStart = 0;
    std::size_t paletteEntrySize = 4;
    std::uint64_t declaredColours = 0; // colour table entries the header claims
    std::size_t pixelOffset = 0;
};

bool isWindowsHeaderSize(std::uint32_t size)
{
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// OS/2 2.x headers may stop after any field from the bit count on; the
// missing fields read as zero.
bool isOs2v2HeaderSize(std::uint32_t size)
{
    return size >= 16 && size <= 64 && size % 4 == 0;
}

BmpInfo parseHeaders(std::span<const std::uint8_t> data)
{
    if (data.size() < kFileHeaderSize + 4)
        invalid("en-tête tronqué");
    if (data[0] != 'B' || data[1] != 'M')
        invalid("signature BM absente");
    BmpInfo info;
    info.pixelOffset = u32(&data[10]);
    const std::uint32_t headerSize = u32(&data[14]);
    const bool core = headerSize == kCoreHeaderSize;
    const bool windows = isWindowsHeaderSize(headerSize);
    if (!core && !windows && !isOs2v2HeaderSize(headerSize))
        invalid("taille d'en-tête inconnue");
    if (data.size() - kFileHeaderSize < headerSize)
        invalid("en-tête tronqué");

    // Copy the header into a zeroed block so that short OS/2 2.x headers
    // read their missing fields as zero.
    std::array<std::uint8_t, 124> h{};
    std::memcpy(h.data(), &data[kFileHeaderSize], headerSize);
    int planes = 1;
    if (core) {
        info.width = u16(&h[4]);
        info.height = u16(&h[6]);
        planes = u16(&h[8]);
        info.bpp = u16(&h[10]);
        info.paletteEntrySize = 3;
    } else {
        info.width = i32(&h[4]);
        info.height = i32(&h[8]);
        planes = u16(&h[12]);
        info.bpp = u16(&h[14]);
        info.compression = u32(&h[16]);
        info.declaredColours = u32(&h[32]);
    }
    if (planes != 1)
        invalid("nombre de plans différent de 1");
    if (info.width <= 0 || info.height == 0)
        invalid("dimensions nulles ou négatives");
    if (info.height < 0) {
        info.topDown = true;
        info.height = -info.height;
    }
    if (!Bitmap::isAcceptableSize(info.width, info.height))
        invalid("dimensions trop grandes");
    switch (info.bpp) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        invalid("nombre de bits par pixel non pris en charge");
    }

    std::size_t maskBytes = 0;
    switch (info.compression) {
    case kRgb:
        if (info.bpp == 16) {
            info.masks[0] = 0x7C00;
            info.masks[1] = 0x03E0;
            info.masks[2] = 0x001F;
        } else if (info.bpp == 32) {
            info.masks[0] = 0x00FF0000;
            info.masks[1] = 0x0000FF00;
            info.masks[2] = 0x000000FF;
        }
        break;
    case kRle8:
    case kRle4:
        if (info.bpp != (info.compression == kRle8 ? 8 : 4))
            invalid("compression RLE et profondeur incompatibles");
        if (info.topDown)
            invalid("image RLE de haut en bas");
        break;
    case kBitfields:
    case kAlphaBitfields:
        // OS/2 2.x gives these numbers to Huffman and RLE24 coding.
        if (!windows || (info.bpp != 16 && info.bpp != 32))
            invalid("compression non prise en charge");
        if (headerSize >= 52) {
            for (int i = 0; i < 3; ++i)
                info.masks[i] = u32(&h[40 + 4 * i]);
        } else {
            // A 40-byte header is followed by the masks (and the alpha mask).
            maskBytes = info.compression == kAlphaBitfields ? 16 : 12;
            const std::size_t at = kFileHeaderSize + headerSize;
            if (data.size() - at < maskBytes)
                invalid("masques de couleur tronqués");
            for (int i = 0; i < 3; ++i)
                info.masks[i] = u32(&data[at + 4 * std::size_t(i)]);
        }
        break;
    default:
        invalid("compression non prise en charge");
    }

    info.paletteStart = kFileHeaderSize + headerSize + maskBytes;
    if (core && info.bpp <= 8)
        info.declaredColours = std::uint64_t(1) << info.bpp;
    if (info.declaredColours * info.paletteEntrySize > data.size() - std::min(data.size(), info.paletteStart))
        invalid("table des couleurs hors du fichier");
    if (info.pixelOffset < info.paletteStart)
        invalid("données des pixels dans l'en-tête");
    if (info.pixelOffset > data.size())
        invalid("données des pixels absentes");
    return info;
}

// The colour table: the declared number of entries, at most 2^bpp, as far as
// they lie before the pixel data; padded with black to the full palette of
// the bitmap's depth (which for 2-bit files is 4 bits).
std::vector<Colour> readPalette(std::span<const std::uint8_t> data, const BmpInfo& info, int bitmapBpp)
{
    const std::size_t full = std::size_t(1) << info.bpp;
    std::size_t count =
        info.declaredColours == 0 ? full : std::size_t(std::min<std::uint64_t>(info.declaredColours, full));
    count = std::min(count, (info.pixelOffset - info.paletteStart) / info.paletteEntrySize);
    std::vector<Colour> palette(std::size_t(1) << bitmapBpp, kBlack);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &data[info.paletteStart + i * info.paletteEntrySize];
        palette[i] = makeColour(p[2], p[1], p[0]);
    }
    return palette;
}

// One colour channel of a 16 or 32-bit pixel: a contiguous mask, its value
// scaled to 0..255 with rounding.
class Channel {
public:
    Channel(std::uint32_t mask, int pixelBits)
    {
        if (mask == 0)
            invalid("masque de couleur nul");
        if (pixelBits == 16 && mask > 0xFFFF)
            invalid("masque de couleur hors du pixel");
        shift_ = std::countr_zero(mask);
        const std::uint32_t m = mask >> shift_;
        if ((m & (m + 1)) != 0)
            invalid("masque de couleur non contigu");
        max_ = m;
        if (std::popcount(m) <= 16) {
            lut_.resize(std::size_t(m) + 1);
            for (std::uint32_t v = 0; v <= m; ++v)
                lut_[v] = scale(v);
        }
    }
    std::uint8_t operator()(std::uint32_t pixel) const
    {
        const std::uint32_t v = (pixel >> shift_) & max_;
        return lut_.empty() ? scale(v) : lut_[v];
    }

private:
    std::uint8_t scale(std::uint32_t v) const { return std::uint8_t((std::uint64_t(v) * 255 + max_ / 2) / max_); }
    int shift_ = 0;
    std::uint32_t max_ = 1;
    std::vector<std::uint8_t> lut_;
};

void decodeMasked(const std::uint8_t* src, std::size_t stride, const BmpInfo& info, Bitmap& bmp)
{
    const int w = bmp.width(), h = bmp.height();
    const bool plain32 =
        info.bpp == 32 && info.masks[0] == 0x00FF0000 && info.masks[1] == 0x0000FF00 && info.masks[2] == 0x000000FF;
    const Channel red(info.masks[0], info.bpp), green(info.masks[1], info.bpp), blue(info.masks[2], info.bpp);
    for (int i = 0; i < h; ++i) {
        const std::uint8_t* s = src + stride * std::size_t(i);
        std::uint8_t* d = bmp.row(info.topDown ? i : h - 1 - i);
        if (plain32) {
            for (int x = 0; x < w; ++x, s += 4, d += 3) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
        } else if (info.bpp == 32) {
            for (int x = 0; x < w; ++x, s += 4, d += 3) {
                const std::uint32_t v = u32(s);
                d[0] = blue(v);
                d[1] = green(v);
                d[2] = red(v);
            }
        } else {
            for (int x = 0; x < w; ++x, s += 2, d += 3) {
                const std::uint32_t v = u16(s);
                d[0] = blue(v);
                d[1] = green(v);
                d[2] = red(v);
            }
        }
    }
}

// 2-bit indices widened to 4-bit ones, the palette unchanged.
void decode2Bit(const std::uint8_t* src, std::size_t stride, const BmpInfo& info, Bitmap& bmp)
{
    const int w = bmp.width(), h = bmp.height();
    for (int i = 0; i < h; ++i) {
        const std::uint8_t* s = src + stride * std::size_t(i);
        std::uint8_t* d = bmp.row(info.topDown ? i : h - 1 - i);
        for (int x = 0; x < w; x += 2) {
            const int a = (s[x >> 2] >> (6 - 2 * (x & 3))) & 3;
            const int b = x + 1 < w ? (s[(x + 1) >> 2] >> (6 - 2 * ((x + 1) & 3))) & 3 : 0;
            d[x >> 1] = std::uint8_t((a << 4) | b);
        }
    }
}

// Rows stored as the bitmap stores them: copied, trailing bits cleared.
void decodeNative(const std::uint8_t* src, std::size_t stride, const BmpInfo& info, Bitmap& bmp)
{
    const int w = bmp.width(), h = bmp.height();
    const std::size_t bits = std::size_t(w) * std::size_t(info.bpp);
    const std::size_t used = (bits + 7) / 8;
    const int restBits = int(bits % 8);
    for (int i = 0; i < h; ++i) {
        std::uint8_t* d = bmp.row(info.topDown ? i : h - 1 - i);
        std::memcpy(d, src + stride * std::size_t(i), used);
        if (restBits)
            d[used - 1] &= std::uint8_t(0xFF00 >> restBits);
    }
}

} // namespace

Bitmap decodeBmp(std::span<const std::uint8_t> data)
{
    const BmpInfo info = parseHeaders(data);
    const std::span<const std::uint8_t> pixels = data.subspan(info.pixelOffset);
    const int w = int(info.width), h = int(info.height);

    if (info.compression == kRle8 || info.compression == kRle4) {
        Bitmap bmp(w, h, info.bpp);
        bmp.setPalette(readPalette(data, info, bmp.bitsPerPixel()));
        decodeBmpRle(pixels, bmp);
        return bmp;
    }

    // The whole pixel array must be present before anything is allocated;
    // only the last row's padding may be missing.
    const std::size_t stride = Bitmap::strideFor(w, info.bpp);
    const std::size_t lastRow = (std::size_t(w) * std::size_t(info.bpp) + 7) / 8;
    if (pixels.size() < stride * std::size_t(h - 1) + lastRow)
        invalid("données des pixels tronquées");

    switch (info.bpp) {
    case 16:
    case 32: {
        Bitmap bmp(w, h, 24);
        decodeMasked(pixels.data(), stride, info, bmp);
        return bmp;
    }
    case 2: {
        Bitmap bmp(w, h, 4);
        bmp.setPalette(readPalette(data, info, bmp.bitsPerPixel()));
        decode2Bit(pixels.data(), stride, info, bmp);
        return bmp;
    }
    default: {
        Bitmap bmp(w, h, info.bpp);
        if (info.bpp <= 8)
            bmp.setPalette(readPalette(data, info, bmp.bitsPerPixel()));
        decodeNative(pixels.data(), stride, info, bmp);
        return bmp;
    }
    }
}

Bitmap readBmpFile(const std::filesystem::path& path)
{
    return decodeBmp(readFileBytes(path));
}

} // namespace px
