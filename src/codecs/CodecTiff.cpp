#include "codecs/CodecTiff.h"

#include "codecs/ByteSource.h"

#include "codecs/ImageFileError.h"
#include "codecs/RgbSwap.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace px {

namespace {

// libtiff's view of the file: the source and a position in it.
struct SourceFile {
    const ByteSource* source;
    toff_t pos;
};

tsize_t readProc(thandle_t h, tdata_t buf, tsize_t n)
{
    auto* f = static_cast<SourceFile*>(h);
    if (n < 0)
        return -1;
    const toff_t size = f->source->size();
    const toff_t left = f->pos < size ? size - f->pos : 0;
    const toff_t take = std::min<toff_t>(left, toff_t(n));
    if (take > 0 && !f->source->read(f->pos, buf, std::size_t(take)))
        return -1;
    f->pos += take;
    return tsize_t(take);
}

tsize_t writeProc(thandle_t, tdata_t, tsize_t)
{
    return -1;
}

toff_t seekProc(thandle_t h, toff_t off, int whence)
{
    auto* f = static_cast<SourceFile*>(h);
    toff_t base = 0;
    if (whence == SEEK_CUR)
        base = f->pos;
    else if (whence == SEEK_END)
        base = f->source->size();
    const toff_t target = base + off;
    if (target < base && whence != SEEK_SET)
        return toff_t(-1);
    f->pos = target;
    return target;
}

int closeProc(thandle_t)
{
    return 0;
}
toff_t sizeProc(thandle_t h)
{
    return static_cast<SourceFile*>(h)->source->size();
}
int mapProc(thandle_t, tdata_t*, toff_t*)
{
    return 0;
}
void unmapProc(thandle_t, tdata_t, toff_t) {}

// libtiff's messages are not shown. Its warnings (an unknown tag, a
// deprecated layout) leave the file good; any error makes it invalid, even
// when libtiff carries on (a strip or tile that ends early, a damaged code
// stream): what it would give is not the image the file was meant to hold.
int quietHandler(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

int countError(TIFF*, void* errors, const char*, const char*, va_list)
{
    ++*static_cast<int*>(errors);
    return 1;
}

// Largest single buffer libtiff may allocate for one file: strips and tiles
// of bogus sizes are refused instead of exhausting memory.
constexpr tmsize_t kMaxLibtiffAllocation = tmsize_t(1) << 30;

// Bytes of one value of each TIFF field type, by type number: BYTE, ASCII,
// SHORT, LONG, RATIONAL, SBYTE, UNDEFINED, SSHORT, SLONG, SRATIONAL, FLOAT,
// DOUBLE, IFD, (two unused), LONG8, SLONG8, IFD8. 0 for types libtiff skips.
constexpr std::uint8_t kTypeSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4, 0, 0, 8, 8, 8};

std::uint64_t typeSize(unsigned type)
{
    return type < std::size(kTypeSizes) ? kTypeSizes[type] : 0;
}

// True when the first directory and every value it keeps outside itself lie
// inside the file. libtiff only warns about a value it cannot read and
// drops the tag: a colour map cut short would turn a palette image into
// grey indices, a missing reference black and white would shift colours.
bool directoryInsideFile(const ByteSource& file)
{
    const std::uint64_t size = file.size();
    std::uint8_t header[16];
    if (size < 8 || !file.read(0, header, size < 16 ? 8 : 16))
        return false;
    const bool little = header[0] == 'I';
    const auto value = [little](const std::uint8_t* at, int bytes) {
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= std::uint64_t(at[little ? i : bytes - 1 - i]) << (8 * i);
        return v;
    };
    const bool big = value(header + 2, 2) == 43;
    if (big && size < 16)
        return false;
    const std::uint64_t directory = big ? value(header + 8, 8) : value(header + 4, 4);
    const std::size_t countBytes = big ? 8 : 2, entryBytes = big ? 20 : 12, inlineBytes = big ? 8 : 4;
    std::uint8_t count[8];
    if (directory > size || size - directory < countBytes || !file.read(directory, count, countBytes))
        return false;
    const std::uint64_t entries = value(count, int(countBytes));
    if ((size - directory - countBytes) / entryBytes < entries)
        return false;
    for (std::uint64_t i = 0; i < entries; ++i) {
        std::uint8_t e[20];
        if (!file.read(directory + countBytes + i * entryBytes, e, entryBytes))
            return false;
        const std::uint64_t unit = typeSize(unsigned(value(e + 2, 2)));
        const std::uint64_t n = big ? value(e + 4, 8) : value(e + 4, 4);
        if (unit == 0)
            continue;
        if (n > UINT64_MAX / unit)
            return false;
        const std::uint64_t bytes = n * unit;
        if (bytes <= inlineBytes)
            continue;
        const std::uint64_t offset = big ? value(e + 12, 8) : value(e + 8, 4);
        if (offset > size || size - offset < bytes)
            return false;
    }
    return true;
}

struct OptionsFree {
    void operator()(TIFFOpenOptions* o) const { TIFFOpenOptionsFree(o); }
};

struct TiffCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};

// Indexed layouts decoded line by line; false when the image is not one.
bool readIndexed(TIFF* tif, std::uint32_t w, std::uint32_t h, Bitmap& out)
{
    std::uint16_t bps = 1, spp = 1, photometric = 0, planar = PLANARCONFIG_CONTIG;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric))
        return false;
    if (spp != 1 || planar != PLANARCONFIG_CONTIG || TIFFIsTiled(tif))
        return false;
    const bool bilevel = bps == 1 && (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE);
    const bool palette = photometric == PHOTOMETRIC_PALETTE && (bps == 1 || bps == 4 || bps == 8);
    if (!bilevel && !palette)
        return false;
    std::vector<Colour> colours;
    if (bilevel) {
        colours = photometric == PHOTOMETRIC_MINISBLACK ? std::vector<Colour>{kBlack, kWhite}
                                                        : std::vector<Colour>{kWhite, kBlack};
    } else {
        std::uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
        if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b))
            return false;
        const std::size_t n = std::size_t(1) << bps;
        // Maps written with 8-bit values instead of 16-bit ones are common.
        bool eightBit = true;
        for (std::size_t i = 0; i < n; ++i)
            if (r[i] > 255 || g[i] > 255 || b[i] > 255)
                eightBit = false;
        const int shift = eightBit ? 0 : 8;
        colours.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            colours[i] = makeColour(r[i] >> shift, g[i] >> shift, b[i] >> shift);
    }
    const tmsize_t lineSize = TIFFScanlineSize(tif);
    const std::size_t needed = (std::size_t(w) * bps + 7) / 8;
    if (lineSize <= 0 || std::size_t(lineSize) < needed)
        return false;
    out.reallocate(int(w), int(h), bps);
    out.setPalette(std::move(colours));
    std::vector<std::uint8_t> line(static_cast<std::size_t>(lineSize));
    for (std::uint32_t y = 0; y < h; ++y) {
        if (TIFFReadScanline(tif, line.data(), y, 0) < 0)
            throw InvalidImageError("données TIFF illisibles");
        std::uint8_t* row = out.row(int(y));
        std::memcpy(row, line.data(), needed);
        std::memset(row + needed, 0, out.stride() - needed);
    }
    return true;
}

// The offset of an uncompressed strip inside the file, or nothing when
// libtiff has to read it (other compression, reversed bit order, a byte
// count or offset that does not cover the strip). Reading these bytes
// directly gives what libtiff would return for such a strip.
std::optional<std::uint64_t> plainStrip(TIFF* tif, const ByteSource& file, std::uint32_t strip, std::size_t size)
{
    std::uint16_t compression = COMPRESSION_NONE, fillOrder = FILLORDER_MSB2LSB;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &fillOrder);
    if (compression != COMPRESSION_NONE || fillOrder != FILLORDER_MSB2LSB)
        return std::nullopt;
    int err = 0;
    const std::uint64_t offset = TIFFGetStrileOffsetWithErr(tif, strip, &err);
    if (err)
        return std::nullopt;
    const std::uint64_t count = TIFFGetStrileByteCountWithErr(tif, strip, &err);
    if (err || count < size || offset > file.size() || file.size() - offset < size)
        return std::nullopt;
    return offset;
}

// 8-bit RGB in strips of contiguous samples (what most writers, ours
// included, produce). Uncompressed strips are turned from R G B into B G R
// straight from the file's bytes into the rows (from memory, or read from
// the file into the rows and turned there); others are decoded by libtiff
// into the rows (or a strip buffer when rows are padded) and turned there.
// False when the image is not one.
bool readContiguousRgb(TIFF* tif, const ByteSource& file, std::uint32_t w, std::uint32_t h, Bitmap& out)
{
    std::uint16_t bps = 0, spp = 0, photometric = 0, planar = PLANARCONFIG_CONTIG, orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric))
        return false;
    if (bps != 8 || spp != 3 || photometric != PHOTOMETRIC_RGB || planar != PLANARCONFIG_CONTIG ||
        orientation != ORIENTATION_TOPLEFT || TIFFIsTiled(tif))
        return false;
    std::uint32_t rowsPerStrip = h;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    rowsPerStrip = std::min(std::max<std::uint32_t>(rowsPerStrip, 1), h);
    const std::size_t rowBytes = std::size_t(w) * 3;
    if (TIFFScanlineSize(tif) != tmsize_t(rowBytes))
        return false;
    out.reallocate(int(w), int(h), 24);
    std::vector<std::uint8_t> strip;
    const bool packed = out.stride() == rowBytes;
    for (std::uint32_t y = 0; y < h; y += rowsPerStrip) {
        const std::uint32_t rows = std::min(rowsPerStrip, h - y);
        const tmsize_t size = tmsize_t(rowBytes * rows);
        const std::uint32_t index = TIFFComputeStrip(tif, y, 0);
        const std::optional<std::uint64_t> plain = plainStrip(tif, file, index, std::size_t(size));
        const std::uint8_t* source = plain ? file.view(*plain, std::size_t(size)) : nullptr;
        if (!source) {
            std::uint8_t* target = out.row(int(y));
            if (!packed) {
                strip.resize(std::size_t(size));
                target = strip.data();
            }
            const bool read = plain ? file.read(*plain, target, std::size_t(size))
                                    : TIFFReadEncodedStrip(tif, index, target, size) == size;
            if (!read)
                throw InvalidImageError("données TIFF illisibles");
            source = target;
        }
        for (std::uint32_t r = 0; r < rows; ++r) {
            std::uint8_t* d = out.row(int(y + r));
            swapRedBlue(source + r * rowBytes, d, w);
            std::memset(d + rowBytes, 0, out.stride() - rowBytes);
        }
    }
    return true;
}

} // namespace

void decodeTiffInto(const ByteSource& data, Bitmap& bmp)
{
    SourceFile file{&data, 0};
    std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    if (!options)
        throw InvalidImageError("mémoire insuffisante");
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxLibtiffAllocation);
    int errors = 0;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), countError, &errors);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), quietHandler, nullptr);
    std::unique_ptr<TIFF, TiffCloser> tif(TIFFClientOpenExt("memory", "rm", &file, readProc, writeProc, seekProc,
                                                            closeProc, sizeProc, mapProc, unmapProc, options.get()));
    if (!tif || errors)
        throw InvalidImageError("en-tête TIFF illisible");
    if (!directoryInsideFile(data))
        throw InvalidImageError("répertoire TIFF tronqué");
    std::uint32_t w = 0, h = 0;
    if (!TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &w) || !TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &h))
        throw InvalidImageError("dimensions TIFF absentes");
    if (!Bitmap::isAcceptableSize(w, h))
        throw InvalidImageError("dimensions refusées");

    if (readIndexed(tif.get(), w, h, bmp) || readContiguousRgb(tif.get(), data, w, h, bmp)) {
        if (errors)
            throw InvalidImageError("données TIFF illisibles");
        return;
    }

    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif.get(), message))
        throw InvalidImageError("format TIFF non pris en charge");
    std::vector<std::uint32_t> rgba(std::size_t(w) * h);
    if (!TIFFReadRGBAImageOriented(tif.get(), w, h, rgba.data(), ORIENTATION_TOPLEFT, 1) || errors)
        throw InvalidImageError("données TIFF illisibles");
    bmp.reallocate(int(w), int(h), 24);
    const std::uint32_t* s = rgba.data();
    for (std::uint32_t y = 0; y < h; ++y) {
        std::uint8_t* d = bmp.row(int(y));
        for (std::uint32_t x = 0; x < w; ++x, ++s, d += 3) {
            d[0] = std::uint8_t(TIFFGetB(*s));
            d[1] = std::uint8_t(TIFFGetG(*s));
            d[2] = std::uint8_t(TIFFGetR(*s));
        }
        std::memset(d, 0, bmp.stride() - std::size_t(w) * 3);
    }
}

void decodeTiffInto(std::span<const std::uint8_t> data, Bitmap& bmp)
{
    decodeTiffInto(ByteSource(data), bmp);
}

Bitmap decodeTiff(std::span<const std::uint8_t> data)
{
    Bitmap bmp;
    decodeTiffInto(ByteSource(data), bmp);
    return bmp;
}

Bitmap readTiffFile(const std::filesystem::path& path)
{
    Bitmap bmp;
    decodeTiffInto(ByteSource(path), bmp);
    return bmp;
}

} // namespace px
