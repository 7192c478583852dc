#include "fileio/BmpFile.h"

#include "fileio/ImageRows.h"
#include "platform/AtomicFile.h"

#include <algorithm>
#include <cstring>

namespace px {

namespace {

constexpr std::size_t kHeadersSize = 14 + 40;
constexpr std::uint32_t kPixelsPerMetre = 3780; // 96 dpi

inline void put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
inline void put32(std::uint8_t* p, std::uint32_t v)
{
    put16(p, v);
    put16(p + 2, v >> 16);
}

std::size_t paletteEntries(const ImageRows& bmp)
{
    return bmp.isIndexed() ? std::size_t(1) << bmp.bitsPerPixel() : 0;
}

std::size_t headersAndPaletteSize(const ImageRows& bmp)
{
    return kHeadersSize + 4 * paletteEntries(bmp);
}

void checkWritable(const ImageRows& bmp)
{
    if (bmp.isEmpty())
        throw BitmapError("Image vide : rien à enregistrer");
}

// File header, info header and colour table into `out`
// (headersAndPaletteSize bytes).
void writeHeaders(const ImageRows& bmp, std::uint8_t* out)
{
    const std::size_t offset = headersAndPaletteSize(bmp);
    const std::size_t imageSize = bmp.stride() * std::size_t(bmp.height());
    std::memset(out, 0, offset);
    out[0] = 'B';
    out[1] = 'M';
    put32(out + 2, std::uint32_t(offset + imageSize));
    put32(out + 10, std::uint32_t(offset));
    std::uint8_t* info = out + 14;
    put32(info, 40);
    put32(info + 4, std::uint32_t(bmp.width()));
    put32(info + 8, std::uint32_t(bmp.height())); // positive: bottom-up rows
    put16(info + 12, 1);
    put16(info + 14, std::uint32_t(bmp.bitsPerPixel()));
    put32(info + 16, 0); // uncompressed
    put32(info + 20, std::uint32_t(imageSize));
    put32(info + 24, kPixelsPerMetre);
    put32(info + 28, kPixelsPerMetre);
    // Colour count 0 means 2^bpp: the table is always full, black past the
    // bitmap's own palette (the memset above).
    const auto& palette = bmp.palette();
    std::uint8_t* entry = out + kHeadersSize;
    for (std::size_t i = 0; i < paletteEntries(bmp) && i < palette.size(); ++i, entry += 4) {
        entry[0] = blueOf(palette[i]);
        entry[1] = greenOf(palette[i]);
        entry[2] = redOf(palette[i]);
    }
}

// Row y of the bitmap as stored in the file: padding bytes and the bits past
// the last pixel are zero whatever the bitmap holds there.
void copyRow(ImageRows& bmp, int y, std::uint8_t* dst)
{
    const std::size_t stride = bmp.stride();
    const std::size_t bits = std::size_t(bmp.width()) * std::size_t(bmp.bitsPerPixel());
    const std::size_t used = (bits + 7) / 8;
    std::memcpy(dst, bmp.row(y), used);
    std::memset(dst + used, 0, stride - used);
    if (const int rest = int(bits % 8))
        dst[used - 1] &= std::uint8_t(0xFF00 >> rest);
}

} // namespace

void encodeBmp(const Bitmap& bitmap, std::vector<std::uint8_t>& out)
{
    BitmapRows bmp(bitmap);
    checkWritable(bmp);
    const std::size_t offset = headersAndPaletteSize(bmp);
    const std::size_t stride = bmp.stride();
    const int h = bmp.height();
    out.resize(offset + stride * std::size_t(h));
    writeHeaders(bmp, out.data());
    for (int y = 0; y < h; ++y)
        copyRow(bmp, y, out.data() + offset + stride * std::size_t(h - 1 - y));
}

std::vector<std::uint8_t> encodeBmp(const Bitmap& bmp)
{
    std::vector<std::uint8_t> out;
    encodeBmp(bmp, out);
    return out;
}

void writeBmpFile(const std::filesystem::path& path, const Bitmap& bmp)
{
    BitmapRows rows(bmp);
    writeBmpFile(path, rows);
}

void writeBmpFile(const std::filesystem::path& path, ImageRows& bmp)
{
    checkWritable(bmp);
    std::vector<std::uint8_t> buffer(std::max(headersAndPaletteSize(bmp), bmp.stride()));
    AtomicFileWriter writer(path);
    writeHeaders(bmp, buffer.data());
    writer.write(buffer.data(), headersAndPaletteSize(bmp));
    for (int y = bmp.height() - 1; y >= 0; --y) {
        copyRow(bmp, y, buffer.data());
        writer.write(buffer.data(), bmp.stride());
    }
    writer.commit();
}

} // namespace px
