#include "fileio/TargaFile.h"

#include "codecs/ImageFileError.h"
#include "fileio/FileBytes.h"
#include "fileio/ImageRows.h"
#include "platform/AtomicFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>

namespace px {

namespace {

constexpr std::size_t kHeaderSize = 18;

[[noreturn]] void invalid(const char* why)
{
    throw InvalidImageError(why);
}

inline unsigned u16(const std::uint8_t* p)
{
    return unsigned(p[0]) | (unsigned(p[1]) << 8);
}

// Colour table entries of 6 bits per channel; the same stage on load and save.
struct SixBitPalette {
    std::array<std::array<std::uint8_t, 3>, 256> rgb{}; // R, G, B, each 0..63
};

std::vector<Colour> toBitmapPalette(const SixBitPalette& pal)
{
    std::vector<Colour> out(256);
    for (int i = 0; i < 256; ++i)
        out[i] = makeColour(pal.rgb[i][0] * 4, pal.rgb[i][1] * 4, pal.rgb[i][2] * 4);
    return out;
}

inline std::uint8_t sixToFile(std::uint8_t v)
{
    return std::uint8_t(v * 255 / 63);
}

// Bounded reader over the file's bytes: every take() checks the length.
class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> data) : data_(data) {}
    const std::uint8_t* take(std::size_t n)
    {
        if (data_.size() - pos_ < n)
            invalid("fichier tronqué");
        const std::uint8_t* p = data_.data() + pos_;
        pos_ += n;
        return p;
    }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

struct Header {
    unsigned idLength, colourMapType, imageType, mapFirst, mapLength, mapEntryBits;
    unsigned width, height, depth, descriptor;
};

Header parseHeader(const std::uint8_t* h)
{
    return Header{h[0], h[1], h[2], u16(h + 3), u16(h + 5), h[7], u16(h + 12), u16(h + 14), h[16], h[17]};
}

bool isAcceptedHeader(const Header& h)
{
    const bool typeOk = h.imageType == 1 || h.imageType == 2 || h.imageType == 3 || h.imageType == 9 ||
                        h.imageType == 10 || h.imageType == 11;
    const bool depthOk =
        h.depth == 1 || h.depth == 4 || h.depth == 8 || h.depth == 16 || h.depth == 24 || h.depth == 32;
    return typeOk && depthOk;
}

void readColourMap(Cursor& in, const Header& h, SixBitPalette& pal)
{
    const unsigned entryBytes = (h.mapEntryBits + 7) / 8;
    const std::uint8_t* p = in.take(std::size_t(h.mapLength) * entryBytes);
    for (unsigned i = 0; i < h.mapLength; ++i, p += entryBytes) {
        const unsigned index = h.mapFirst + i;
        if (index >= 256)
            continue; // entries past 255 cannot be referenced by 8-bit pixels
        auto& e = pal.rgb[index];
        if (h.mapEntryBits == 15 || h.mapEntryBits == 16) {
            const unsigned v = u16(p);
            e = {std::uint8_t(((v >> 10) & 31) * 2), std::uint8_t(((v >> 5) & 31) * 2), std::uint8_t((v & 31) * 2)};
        } else if (h.mapEntryBits == 24 || h.mapEntryBits == 32) {
            e = {std::uint8_t(p[2] >> 2), std::uint8_t(p[1] >> 2), std::uint8_t(p[0] >> 2)};
        }
    }
}

// Expands run-length packets into stored-format pixels. The packet state
// lives across rows, so a packet that crosses a row end carries on.
class RleExpander {
public:
    RleExpander(Cursor& in, unsigned pixelBytes) : in_(in), pixelBytes_(pixelBytes) {}
    void fill(std::uint8_t* out, unsigned pixels)
    {
        while (pixels > 0) {
            if (remaining_ == 0) {
                const std::uint8_t h = *in_.take(1);
                remaining_ = (h & 127u) + 1;
                run_ = (h & 128) != 0;
                if (run_)
                    std::memcpy(value_, in_.take(pixelBytes_), pixelBytes_);
            }
            const unsigned n = std::min(remaining_, pixels);
            if (run_) {
                for (unsigned i = 0; i < n; ++i, out += pixelBytes_)
                    std::memcpy(out, value_, pixelBytes_);
            } else {
                std::memcpy(out, in_.take(std::size_t(n) * pixelBytes_), std::size_t(n) * pixelBytes_);
                out += std::size_t(n) * pixelBytes_;
            }
            remaining_ -= n;
            pixels -= n;
        }
    }

private:
    Cursor& in_;
    unsigned pixelBytes_;
    unsigned remaining_ = 0;
    bool run_ = false;
    std::uint8_t value_[4] = {};
};

// Converts one row of stored pixels into the bitmap's row. `src` holds Width
// pixels of `pixelBytes` each (1-bit images: one index byte per pixel).
void convertRow(const std::uint8_t* src, std::uint8_t* dst, unsigned width, unsigned depth, bool reversed)
{
    switch (depth) {
    case 1: {
        std::memset(dst, 0, (width + 7) / 8);
        for (unsigned x = 0; x < width; ++x) {
            const unsigned tx = reversed ? width - 1 - x : x;
            if (src[x] & 1)
                dst[tx >> 3] |= std::uint8_t(0x80 >> (tx & 7));
        }
        break;
    }
    case 8:
        if (!reversed)
            std::memcpy(dst, src, width);
        else
            for (unsigned x = 0; x < width; ++x)
                dst[width - 1 - x] = src[x];
        break;
    case 16:
        for (unsigned x = 0; x < width; ++x, src += 2) {
            const unsigned v = u16(src);
            std::uint8_t* d = dst + 3 * (reversed ? width - 1 - x : x);
            d[0] = std::uint8_t((v & 31) * 8);
            d[1] = std::uint8_t(((v >> 5) & 31) * 8);
            d[2] = std::uint8_t(((v >> 10) & 31) * 8);
        }
        break;
    case 24:
        if (!reversed) {
            std::memcpy(dst, src, std::size_t(width) * 3);
            break;
        }
        [[fallthrough]];
    default: {
        const unsigned step = depth / 8;
        for (unsigned x = 0; x < width; ++x, src += step) {
            std::uint8_t* d = dst + 3 * (reversed ? width - 1 - x : x);
            d[0] = src[0];
            d[1] = src[1];
            d[2] = src[2];
        }
    }
    }
}

void decode(std::span<const std::uint8_t> data, Bitmap& bmp)
{
    Cursor in(data);
    Header h = parseHeader(in.take(kHeaderSize));
    // 15-bit pixels are stored as 16-bit ones (5 bits a channel, the top bit
    // unused), and some writers say 15 for the same layout.
    if (h.depth == 15)
        h.depth = 16;
    if (!isAcceptedHeader(h)) {
        bmp.reallocate(1, 1, 24);
        bmp.fill(kBlack);
        return;
    }
    if (h.depth == 4)
        invalid("profondeur de 4 bits non prise en charge");
    if (!Bitmap::isAcceptableSize(h.width, h.height))
        invalid("dimensions refusées");
    in.take(h.idLength);

    SixBitPalette pal;
    if (h.colourMapType != 0) {
        readColourMap(in, h, pal);
    } else if (h.depth == 8) {
        for (int i = 0; i < 256; ++i) {
            const auto g = std::uint8_t(i * 63 / 255);
            pal.rgb[i] = {g, g, g};
        }
    } else if (h.depth == 1) {
        pal.rgb[1] = {63, 63, 63};
    }

    // Every row is written in full below, padding included, so the memory is
    // reused without clearing it first.
    bmp.reallocate(int(h.width), int(h.height), h.depth == 1 ? 1 : h.depth == 8 ? 8 : 24);
    const std::size_t used = (std::size_t(h.width) * std::size_t(bmp.bitsPerPixel()) + 7) / 8;
    const std::size_t padding = bmp.stride() - used;
    if (h.depth == 1)
        bmp.setPalette({kBlack, kWhite});
    else if (h.depth == 8)
        bmp.setPalette(toBitmapPalette(pal));

    const bool topFirst = (h.descriptor & 0x20) != 0;
    const bool reversed = (h.descriptor & 0x10) != 0;
    const bool rle = h.imageType >= 9;
    const unsigned pixelBytes = h.depth == 1 ? 1 : h.depth / 8;
    const bool direct = !rle && !reversed && (h.depth == 8 || h.depth == 24);
    std::vector<std::uint8_t> rowBuffer(direct ? 0 : std::size_t(h.width) * pixelBytes);
    RleExpander expander(in, pixelBytes);

    for (unsigned r = 0; r < h.height; ++r) {
        std::uint8_t* dst = bmp.row(int(topFirst ? r : h.height - 1 - r));
        std::memset(dst + used, 0, padding);
        if (direct) {
            std::memcpy(dst, in.take(std::size_t(h.width) * pixelBytes), std::size_t(h.width) * pixelBytes);
            continue;
        }
        if (rle) {
            expander.fill(rowBuffer.data(), h.width);
        } else if (h.depth == 1) {
            const std::uint8_t* packed = in.take((h.width + 7) / 8);
            for (unsigned x = 0; x < h.width; ++x)
                rowBuffer[x] = (packed[x >> 3] >> (7 - (x & 7))) & 1;
        } else {
            std::memcpy(rowBuffer.data(), in.take(rowBuffer.size()), rowBuffer.size());
        }
        convertRow(rowBuffer.data(), dst, h.width, h.depth, reversed);
    }
}

void putU16(std::uint8_t* p, unsigned v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

} // namespace

void decodeTargaInto(std::span<const std::uint8_t> data, Bitmap& bmp)
{
    decode(data, bmp);
}

Bitmap decodeTarga(std::span<const std::uint8_t> data)
{
    Bitmap bmp;
    decode(data, bmp);
    return bmp;
}

Bitmap loadTargaFile(const std::filesystem::path& path)
{
    return decodeTarga(readFileBytes(path));
}

namespace {

using ByteWriter = std::function<void(const std::uint8_t*, std::size_t)>;

// Header, identification and colour map in one piece, then the rows one at
// a time, top row first.
void writeTarga(ImageRows& bmp, int imageType, const ByteWriter& write)
{
    if (bmp.isEmpty())
        throw BitmapError("image vide");
    const bool mapped = imageType == kTargaColourMapped && bmp.isIndexed();
    const int w = bmp.width();
    const int h = bmp.height();
    const int bpp = bmp.bitsPerPixel();

    SixBitPalette pal;
    const auto& srcPal = bmp.palette();
    for (std::size_t i = 0; i < srcPal.size() && i < 256; ++i)
        pal.rgb[i] = {std::uint8_t(redOf(srcPal[i]) >> 2), std::uint8_t(greenOf(srcPal[i]) >> 2),
                      std::uint8_t(blueOf(srcPal[i]) >> 2)};

    const std::size_t idLength = sizeof kTargaIdentification - 1;
    const std::size_t mapBytes = mapped ? 256 * 3 : 0;
    std::vector<std::uint8_t> head(kHeaderSize + idLength + mapBytes);
    std::uint8_t* p = head.data();
    p[0] = std::uint8_t(idLength);
    p[1] = mapped ? 1 : 0;
    p[2] = mapped ? 1 : 2;
    putU16(p + 5, mapped ? 256 : 0);
    p[7] = 24;
    putU16(p + 12, unsigned(w));
    putU16(p + 14, unsigned(h));
    p[16] = mapped ? 8 : 24;
    p[17] = 32;
    p += kHeaderSize;
    std::memcpy(p, kTargaIdentification, idLength);
    p += idLength;

    // The palette as written: each 6-bit channel scaled back to 0..255.
    std::array<std::array<std::uint8_t, 3>, 256> bgr{};
    for (int i = 0; i < 256; ++i)
        bgr[i] = {sixToFile(pal.rgb[i][2]), sixToFile(pal.rgb[i][1]), sixToFile(pal.rgb[i][0])};
    if (mapped) {
        for (int i = 0; i < 256; ++i, p += 3)
            std::memcpy(p, bgr[i].data(), 3);
    }
    write(head.data(), head.size());

    const std::size_t rowBytes = std::size_t(w) * (mapped ? 1 : 3);
    std::vector<std::uint8_t> line(bpp == 24 ? 0 : rowBytes);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = bmp.row(y);
        if (bpp == 24) {
            write(src, rowBytes);
            continue;
        }
        p = line.data();
        for (int x = 0; x < w; ++x) {
            unsigned index;
            if (bpp == 8)
                index = src[x];
            else if (bpp == 4)
                index = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
            else
                index = (src[x >> 3] >> (7 - (x & 7))) & 1;
            if (mapped) {
                *p++ = std::uint8_t(index);
            } else {
                std::memcpy(p, bgr[index].data(), 3);
                p += 3;
            }
        }
        write(line.data(), rowBytes);
    }
}

} // namespace

void encodeTarga(const Bitmap& bmp, int imageType, std::vector<std::uint8_t>& out)
{
    if (bmp.isEmpty())
        throw BitmapError("image vide");
    BitmapRows rows(bmp);
    const bool mapped = imageType == kTargaColourMapped && bmp.isIndexed();
    out.clear();
    out.reserve(kHeaderSize + sizeof kTargaIdentification - 1 + (mapped ? 256 * 3 : 0) +
                std::size_t(bmp.width()) * std::size_t(bmp.height()) * (mapped ? 1 : 3));
    writeTarga(rows, imageType, [&out](const std::uint8_t* p, std::size_t n) { out.insert(out.end(), p, p + n); });
}

void saveTargaFile(const std::filesystem::path& path, const Bitmap& bmp, int imageType)
{
    BitmapRows rows(bmp);
    saveTargaFile(path, rows, imageType);
}

void saveTargaFile(const std::filesystem::path& path, ImageRows& rows, int imageType)
{
    if (rows.isEmpty())
        throw BitmapError("image vide");
    AtomicFileWriter file(path);
    writeTarga(rows, imageType, [&file](const std::uint8_t* p, std::size_t n) { file.write(p, n); });
    file.commit();
}

} // namespace px
