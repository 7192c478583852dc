#include "fileio/TiffWriter.h"

#include "codecs/RgbSwap.h"
#include "fileio/ImageRows.h"
#include "platform/AtomicFile.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <span>
#include <vector>

namespace px {

namespace {

enum FieldType : std::uint16_t { kAscii = 2, kShort = 3, kLong = 4, kRational = 5 };

// Rows go to the file through a buffer of about this size.
constexpr std::size_t kBlockBytes = std::size_t(1) << 20;

// The bytes of the file around its pixel rows, written at increasing
// offsets: the rows themselves are only given their place (the file is then
// written with them read straight from the bitmap).
class Out {
public:
    std::uint32_t pos() const { return std::uint32_t(bytes_.size() + rowBytes_); }
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(unsigned v)
    {
        u8(std::uint8_t(v));
        u8(std::uint8_t(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void raw(const void* p, std::size_t n)
    {
        const auto* b = static_cast<const std::uint8_t*>(p);
        bytes_.insert(bytes_.end(), b, b + n);
    }
    // The rows' place: `n` bytes from here.
    void rows(std::size_t n)
    {
        rowsAt_ = bytes_.size();
        rowBytes_ = n;
    }
    // Offsets before the rows only.
    void patch32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes_[at + i] = std::uint8_t(v >> (8 * i));
    }

    std::span<const std::uint8_t> head() const { return std::span(bytes_).first(rowsAt_); }
    std::span<const std::uint8_t> tail() const { return std::span(bytes_).subspan(rowsAt_); }
    std::size_t size() const { return bytes_.size() + rowBytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t rowsAt_ = 0;
    std::size_t rowBytes_ = 0;
};

struct Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::uint32_t value; // SHORT values sit in the low half (little-endian)
};

std::uint32_t writeResolution(Out& out)
{
    const std::uint32_t at = out.pos();
    for (int i = 0; i < 2; ++i) {
        out.u32(877);
        out.u32(10);
    }
    return at;
}

std::uint32_t writeSoftware(Out& out)
{
    const std::uint32_t at = out.pos();
    out.raw(kTiffSoftware, sizeof kTiffSoftware - 1);
    return at;
}

// 1 where the first palette colour is brighter than the second: such a
// 1-bit bitmap stores white as 0, and its bits are flipped for a
// black-is-zero file.
bool invertedMonochrome(const ImageRows& bmp)
{
    const auto& pal = bmp.palette();
    auto level = [&](std::size_t i) {
        const Colour c = i < pal.size() ? pal[i] : kBlack;
        return int(redOf(c)) + greenOf(c) + blueOf(c);
    };
    return level(0) > level(1);
}

using ByteWriter = std::function<void(const std::uint8_t*, std::size_t)>;

void writeTiff(ImageRows& bmp, const ByteWriter& write)
{
    if (bmp.isEmpty())
        throw BitmapError("image vide");
    const int bpp = bmp.bitsPerPixel();
    const std::uint32_t height = std::uint32_t(bmp.height());
    std::uint32_t width = std::uint32_t(bmp.width());
    if (bpp == 4)
        width &= ~3u;
    std::uint32_t rowBytes = 0;
    switch (bpp) {
    case 1:
        rowBytes = (width + 7) / 8;
        break;
    case 4:
        rowBytes = width / 2;
        break;
    case 8:
        rowBytes = width;
        break;
    default:
        rowBytes = width * 3;
        break;
    }

    Out out;
    out.raw("II", 2);
    out.u16(42);
    out.u32(0);

    std::uint32_t resolution = 0, software = 0, stripOffset = 0, bitsPerSample = 0;
    auto writeRows = [&] {
        stripOffset = out.pos();
        out.rows(std::size_t(rowBytes) * height);
    };

    if (bpp == 1) {
        writeRows();
        resolution = writeResolution(out);
        software = writeSoftware(out);
    } else if (bpp == 4 || bpp == 8) {
        const unsigned colours = 1u << bpp;
        const auto& pal = bmp.palette();
        auto channel = [&](unsigned i, int which) -> unsigned {
            const Colour c = i < pal.size() ? pal[i] : kBlack;
            return (which == 0 ? redOf(c) : which == 1 ? greenOf(c) : blueOf(c)) * 256u;
        };
        for (int which = 0; which < 3; ++which)
            for (unsigned i = 0; i < colours; ++i)
                out.u16(channel(i, which));
        resolution = writeResolution(out);
        software = writeSoftware(out);
        writeRows();
    } else {
        resolution = writeResolution(out);
        bitsPerSample = out.pos();
        out.u16(8);
        out.u16(8);
        out.u16(8);
        software = writeSoftware(out);
        writeRows();
    }

    const std::uint16_t photometric = bpp == 1 ? 1 : bpp == 24 ? 2 : 3;
    std::vector<Entry> entries = {
        {254, kLong, 1, 0},
        {256, kShort, 1, width},
        {257, kShort, 1, height},
        bpp == 24 ? Entry{258, kShort, 3, bitsPerSample} : Entry{258, kShort, 1, std::uint32_t(bpp)},
        {259, kShort, 1, 1},
        {262, kShort, 1, photometric},
        {273, kLong, 1, stripOffset},
        {277, kShort, 1, bpp == 24 ? 3u : 1u},
        {278, kLong, 1, height},
        {279, kLong, 1, rowBytes * height},
        {282, kRational, 1, resolution},
        {283, kRational, 1, resolution + 8},
    };
    if (bpp == 24)
        entries.push_back({284, kShort, 1, 1});
    entries.push_back({296, kShort, 1, 2});
    entries.push_back({305, kAscii, std::uint32_t(sizeof kTiffSoftware - 1), software});
    if (bpp == 4 || bpp == 8)
        entries.push_back({320, kShort, 3u << bpp, 8});

    const std::uint32_t directory = out.pos();
    out.u16(unsigned(entries.size()));
    for (const Entry& e : entries) {
        out.u16(e.tag);
        out.u16(e.type);
        out.u32(e.count);
        out.u32(e.value);
    }
    out.u32(0);
    out.patch32(4, directory);

    // Head, rows (a block of them at a time through a small buffer), tail.
    write(out.head().data(), out.head().size());
    const bool flip = bpp == 1 && invertedMonochrome(bmp);
    const std::uint32_t blockRows = std::max<std::uint32_t>(1, std::uint32_t(kBlockBytes / std::max(rowBytes, 1u)));
    std::vector<std::uint8_t> block(std::size_t(rowBytes) * std::min(blockRows, height));
    for (std::uint32_t y0 = 0; y0 < height; y0 += blockRows) {
        const std::uint32_t n = std::min(blockRows, height - y0);
        std::uint8_t* p = block.data();
        for (std::uint32_t y = y0; y < y0 + n; ++y, p += rowBytes) {
            const std::uint8_t* src = bmp.row(int(y));
            if (bpp == 24)
                swapRedBlue(src, p, width);
            else if (flip)
                for (std::uint32_t i = 0; i < rowBytes; ++i)
                    p[i] = std::uint8_t(~src[i]);
            else
                std::memcpy(p, src, rowBytes);
        }
        write(block.data(), std::size_t(rowBytes) * n);
    }
    write(out.tail().data(), out.tail().size());
}

// A 4-bit bitmap narrower than 4 pixels goes as 8-bit, the rest as it is.
void writeTiff(const Bitmap& source, const ByteWriter& write)
{
    if (source.bitsPerPixel() == 4 && source.width() < 4 && !source.isEmpty()) {
        Bitmap widened = source;
        widened.setPixelFormat(8);
        widened.setPalette(source.palette());
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                widened.setPixelIndex(x, y, source.pixelIndex(x, y));
        BitmapRows rows(widened);
        writeTiff(rows, write);
        return;
    }
    BitmapRows rows(source);
    writeTiff(rows, write);
}

} // namespace

void encodeTiff(const Bitmap& bmp, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    writeTiff(bmp, [&bytes](const std::uint8_t* p, std::size_t n) { bytes.insert(bytes.end(), p, p + n); });
}

void saveTiffFile(const std::filesystem::path& path, const Bitmap& bmp)
{
    AtomicFileWriter file(path);
    writeTiff(bmp, [&file](const std::uint8_t* p, std::size_t n) { file.write(p, n); });
    file.commit();
}

void saveTiffFile(const std::filesystem::path& path, ImageRows& rows)
{
    AtomicFileWriter file(path);
    writeTiff(rows, [&file](const std::uint8_t* p, std::size_t n) { file.write(p, n); });
    file.commit();
}

} // namespace px
