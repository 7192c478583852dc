#include "fileio/PcxFile.h"

#include "fileio/FileBytes.h"
#include "platform/AtomicFile.h"

#include <algorithm>
#include <cstring>

namespace px {

namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kTrailerSize = 769;
constexpr std::uint8_t kTrailerMarker = 12;
// Screen resolution written into the header (the bitmap keeps none).
constexpr unsigned kDpi = 96;

inline unsigned u16(const std::uint8_t* p) { return unsigned(p[0]) | (unsigned(p[1]) << 8); }

void putU16(std::uint8_t* p, unsigned v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

std::vector<Colour> greyRamp(int n)
{
    std::vector<Colour> pal(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int g = i * 255 / (n - 1);
        pal[std::size_t(i)] = makeColour(g, g, g);
    }
    return pal;
}

std::vector<Colour> rgbPalette(const std::uint8_t* p, int n)
{
    std::vector<Colour> pal(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i, p += 3)
        pal[std::size_t(i)] = makeColour(p[0], p[1], p[2]);
    return pal;
}

} // namespace

PcxImage decodePcxImage(std::span<const std::uint8_t> data)
{
    PcxImage result;
    if (data.size() < kHeaderSize)
        return result;
    const std::uint8_t* h = data.data();
    const unsigned bits = h[3];
    const unsigned planes = h[65];
    const unsigned bytesPerLine = u16(h + 66);
    unsigned paletteInfo = u16(h + 68);
    if (h[0] != 10 || h[1] < 1 || h[1] > 5 || h[2] != 1 || paletteInfo >= 3 || h[64] != 0)
        return result;

    std::vector<Colour> palette;
    PcxFormat format;
    int depth;
    if (planes == 1 && bits == 1) {
        if (paletteInfo == 0)
            paletteInfo = 2;
        format = paletteInfo == 2 ? PcxFormat::MonoGrey : PcxFormat::Mono;
        palette = paletteInfo == 2 ? greyRamp(2) : rgbPalette(h + 16, 2);
        // Older writers leave the header palette all zero: two equal
        // entries would show nothing at all, so the image is black and white.
        if (palette[0] == palette[1])
            palette = {kBlack, kWhite};
        depth = 1;
    } else if (planes == 1 && bits == 4) {
        format = paletteInfo == 2 ? PcxFormat::Grey16 : PcxFormat::Colour16;
        palette = paletteInfo == 2 ? greyRamp(16) : rgbPalette(h + 16, 16);
        depth = 4;
    } else if (planes == 1 && bits == 8) {
        if (data.size() < kHeaderSize + kTrailerSize)
            return result;
        const std::uint8_t* trailer = data.data() + data.size() - kTrailerSize;
        if (trailer[0] != kTrailerMarker)
            return result;
        format = paletteInfo == 2 ? PcxFormat::Grey256 : PcxFormat::Colour256;
        palette = paletteInfo == 2 ? greyRamp(256) : rgbPalette(trailer + 1, 256);
        depth = 8;
    } else if (planes == 3 && bits == 8) {
        format = PcxFormat::TrueColour;
        depth = 24;
    } else {
        return result;
    }

    // Sizes wrap at 16 bits, so Xmax below Xmin gives a huge (refused) width.
    const unsigned width = (u16(h + 8) - u16(h + 4) + 1) & 0xFFFF;
    const unsigned height = (u16(h + 10) - u16(h + 6) + 1) & 0xFFFF;
    // A line shorter than the image width (a common writer bug) fills the
    // start of each row; the rest stays black.
    const std::size_t usedBytes = std::min<std::size_t>((std::size_t(width) * bits + 7) / 8, bytesPerLine);
    if (!Bitmap::isAcceptableSize(width, height) || bytesPerLine == 0)
        return result;

    Bitmap bmp(int(width), int(height), depth);
    if (depth < 24)
        bmp.setPalette(std::move(palette));

    // The decoded bytes form one stream of height lines of planes x
    // bytesPerLine bytes; runs carry over plane and line ends.
    const std::size_t lineBytes = std::size_t(bytesPerLine) * planes;
    const std::size_t total = lineBytes * height;
    std::size_t produced = 0;
    std::size_t line = 0, offset = 0;
    std::uint8_t* row = bmp.row(0);
    auto put = [&](std::uint8_t v) {
        if (planes == 1) {
            if (offset < usedBytes)
                row[offset] = v;
        } else {
            const std::size_t plane = offset / bytesPerLine;
            const std::size_t x = offset % bytesPerLine;
            if (x < width)
                row[3 * x + (2 - plane)] = v;
        }
        if (++offset == lineBytes) {
            offset = 0;
            if (++line < height)
                row = bmp.row(int(line));
        }
    };
    const std::uint8_t* p = data.data() + kHeaderSize;
    const std::uint8_t* end = data.data() + data.size();
    while (produced < total && p < end) {
        std::uint8_t v = *p++;
        std::size_t count = 1;
        if (v >= 192) {
            if (p == end)
                break;
            count = v & 63u;
            v = *p++;
        }
        count = std::min(count, total - produced);
        produced += count;
        while (count-- > 0)
            put(v);
    }
    result.bitmap = std::move(bmp);
    result.format = format;
    return result;
}

Bitmap decodePcx(std::span<const std::uint8_t> data) { return decodePcxImage(data).bitmap; }

Bitmap readPcxFile(const std::filesystem::path& path) { return decodePcx(readFileBytes(path)); }

void encodePcxLine(const std::uint8_t* line, std::size_t length, std::vector<std::uint8_t>& out)
{
    std::size_t i = 0;
    while (i < length) {
        const std::uint8_t v = line[i];
        std::size_t n = 1;
        while (i + n < length && line[i + n] == v)
            ++n;
        i += n;
        if (n == 1 && v < 192) {
            out.push_back(v);
            continue;
        }
        for (std::size_t k = n / 63; k > 0; --k) {
            out.push_back(255);
            out.push_back(v);
        }
        const std::size_t r = n % 63;
        if (r == 1 && v < 192) {
            out.push_back(v);
        } else if (r != 0) {
            out.push_back(std::uint8_t(192 + r));
            out.push_back(v);
        }
    }
}

std::vector<std::uint8_t> encodePcx(const Bitmap& bmp)
{
    if (bmp.isEmpty())
        throw BitmapError("image vide");
    const int bpp = bmp.bitsPerPixel();
    const unsigned bits = bpp == 24 ? 8 : unsigned(bpp);
    const unsigned planes = bpp == 24 ? 3 : 1;
    const unsigned width = unsigned(bmp.width());
    unsigned bytesPerLine = (width * bits + 7) / 8;
    bytesPerLine += bytesPerLine & 1;

    std::vector<std::uint8_t> out(kHeaderSize, 0);
    std::uint8_t* h = out.data();
    h[0] = 10;
    h[1] = 5;
    h[2] = 1;
    h[3] = std::uint8_t(bits);
    putU16(h + 8, width - 1);
    putU16(h + 10, unsigned(bmp.height()) - 1);
    putU16(h + 12, kDpi);
    putU16(h + 14, kDpi);
    const auto& pal = bmp.palette();
    auto entry = [&](std::size_t i) { return i < pal.size() ? pal[i] : kBlack; };
    if (bpp == 1 || bpp == 4) {
        for (std::size_t i = 0; i < (std::size_t(1) << bpp); ++i) {
            h[16 + 3 * i] = redOf(entry(i));
            h[17 + 3 * i] = greenOf(entry(i));
            h[18 + 3 * i] = blueOf(entry(i));
        }
    }
    h[65] = std::uint8_t(planes);
    putU16(h + 66, bytesPerLine);
    putU16(h + 68, 1);

    std::vector<std::uint8_t> line(bytesPerLine, 0);
    for (int y = 0; y < bmp.height(); ++y) {
        const std::uint8_t* src = bmp.row(y);
        if (planes == 1) {
            std::memcpy(line.data(), src, (width * bits + 7) / 8);
            encodePcxLine(line.data(), bytesPerLine, out);
            continue;
        }
        for (unsigned plane = 0; plane < 3; ++plane) {
            for (unsigned x = 0; x < width; ++x)
                line[x] = src[3 * x + 2 - plane];
            encodePcxLine(line.data(), bytesPerLine, out);
        }
    }
    if (bpp == 8) {
        out.push_back(kTrailerMarker);
        for (std::size_t i = 0; i < 256; ++i) {
            out.push_back(redOf(entry(i)));
            out.push_back(greenOf(entry(i)));
            out.push_back(blueOf(entry(i)));
        }
    }
    return out;
}

void writePcxFile(const std::filesystem::path& path, const Bitmap& bmp)
{
    const std::vector<std::uint8_t> data = encodePcx(bmp);
    writeFileAtomically(path, data.data(), data.size());
}

} // namespace px
