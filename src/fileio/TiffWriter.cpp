#include "fileio/TiffWriter.h"

#include "codecs/RgbSwap.h"
#include "platform/AtomicFile.h"

#include <cstring>

namespace px {

namespace {

enum FieldType : std::uint16_t { kAscii = 2, kShort = 3, kLong = 4, kRational = 5 };

// Writes at increasing offsets into a buffer sized beforehand: a buffer
// reused from an earlier save of the same size is neither grown nor cleared.
class Out {
public:
    explicit Out(std::uint8_t* bytes) : bytes_(bytes) {}
    std::uint32_t pos() const { return pos_; }
    void u8(std::uint8_t v) { bytes_[pos_++] = v; }
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
        std::memcpy(bytes_ + pos_, p, n);
        pos_ += std::uint32_t(n);
    }
    std::uint8_t* grow(std::size_t n)
    {
        std::uint8_t* at = bytes_ + pos_;
        pos_ += std::uint32_t(n);
        return at;
    }
    void patch32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes_[at + i] = std::uint8_t(v >> (8 * i));
    }

private:
    std::uint8_t* bytes_;
    std::uint32_t pos_ = 0;
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
bool invertedMonochrome(const Bitmap& bmp)
{
    const auto& pal = bmp.palette();
    auto level = [&](std::size_t i) {
        const Colour c = i < pal.size() ? pal[i] : kBlack;
        return int(redOf(c)) + greenOf(c) + blueOf(c);
    };
    return level(0) > level(1);
}

} // namespace

void encodeTiff(const Bitmap& source, std::vector<std::uint8_t>& bytes)
{
    if (source.isEmpty())
        throw BitmapError("image vide");
    const Bitmap* bmpPtr = &source;
    Bitmap widened;
    if (source.bitsPerPixel() == 4 && source.width() < 4) {
        widened = source;
        widened.setPixelFormat(8);
        widened.setPalette(source.palette());
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                widened.setPixelIndex(x, y, source.pixelIndex(x, y));
        bmpPtr = &widened;
    }
    const Bitmap& bmp = *bmpPtr;
    const int bpp = bmp.bitsPerPixel();
    const std::uint32_t height = std::uint32_t(bmp.height());
    std::uint32_t width = std::uint32_t(bmp.width());
    if (bpp == 4)
        width &= ~3u;
    std::uint32_t rowBytes = 0;
    switch (bpp) {
    case 1: rowBytes = (width + 7) / 8; break;
    case 4: rowBytes = width / 2; break;
    case 8: rowBytes = width; break;
    default: rowBytes = width * 3; break;
    }

    // The file's size is known before anything is written: header, the
    // colour map or sample sizes, resolution, software name, pixels and a
    // directory of 14 entries plus one for RGB or colour-mapped images.
    const bool indexed = bpp == 4 || bpp == 8;
    const std::size_t resolutionBytes = 16, softwareBytes = sizeof kTiffSoftware - 1;
    const std::size_t extraBytes = indexed ? 6u << bpp : bpp == 24 ? 6 : 0;
    const std::size_t entryCount = 14 + (bpp == 24 || indexed ? 1 : 0);
    bytes.resize(8 + extraBytes + resolutionBytes + softwareBytes + std::size_t(rowBytes) * height + 2 +
                 12 * entryCount + 4);
    Out out(bytes.data());
    out.raw("II", 2);
    out.u16(42);
    out.u32(0);

    std::uint32_t resolution = 0, software = 0, stripOffset = 0, bitsPerSample = 0;
    auto writeRows = [&] {
        stripOffset = out.pos();
        std::uint8_t* p = out.grow(std::size_t(rowBytes) * height);
        const bool flip = bpp == 1 && invertedMonochrome(bmp);
        for (std::uint32_t y = 0; y < height; ++y, p += rowBytes) {
            const std::uint8_t* src = bmp.row(int(y));
            if (bpp == 24)
                swapRedBlue(src, p, width);
            else if (flip)
                for (std::uint32_t i = 0; i < rowBytes; ++i)
                    p[i] = std::uint8_t(~src[i]);
            else
                std::memcpy(p, src, rowBytes);
        }
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
}

void saveTiffFile(const std::filesystem::path& path, const Bitmap& bmp)
{
    std::vector<std::uint8_t> data;
    encodeTiff(bmp, data);
    writeFileAtomically(path, data.data(), data.size());
}

} // namespace px
