#include "fileio/PngFile.h"

#include "codecs/ByteSource.h"
#include "codecs/ImageFileError.h"
#include "fileio/ImageRows.h"
#include "platform/AtomicFile.h"

#include <png.h>
#include <zlib.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace px {

namespace {

constexpr const char* kReadError = "Error Reading File!";
constexpr const char* kWriteError = "Error Writing PNG File!";

// libpng reads the file in order, a chunk at a time, from memory or from
// the file itself.
struct SourceReader {
    const ByteSource* source;
    std::uint64_t pos;
};

void readFromSource(png_structp png, png_bytep out, png_size_t length)
{
    auto* src = static_cast<SourceReader*>(png_get_io_ptr(png));
    if (!src->source->read(src->pos, out, length))
        png_error(png, "truncated");
    src->pos += length;
}

void silentWarning(png_structp, png_const_charp) {}

// libpng reports errors by longjmp to the jmp_buf of the png struct. Each
// libpng phase runs inside a small function that holds no C++ objects, so
// that the jump skips no destructor; the callers turn the failure into an
// exception afterwards.
struct ReadState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    SourceReader source{};
    png_uint_32 width = 0, height = 0;
    int channels = 0;
    ~ReadState() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

bool readHeader(ReadState& s)
{
    if (setjmp(png_jmpbuf(s.png)))
        return false;
    png_set_read_fn(s.png, &s.source, readFromSource);
    // Huge sizes are refused by the caller before any row is allocated.
    png_set_user_limits(s.png, 0x7fffffff, 0x7fffffff);
    png_set_chunk_malloc_max(s.png, 64u << 20);
    png_read_info(s.png, s.info);
    int depth = 0, colourType = 0;
    png_get_IHDR(s.png, s.info, &s.width, &s.height, &depth, &colourType, nullptr, nullptr, nullptr);
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_expand(s.png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand(s.png);
    if (png_get_valid(s.png, s.info, PNG_INFO_tRNS))
        png_set_expand(s.png);
    if (depth < 8)
        png_set_packing(s.png);
    if (depth == 16)
        png_set_strip_16(s.png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(s.png);
    png_set_bgr(s.png);
    png_set_interlace_handling(s.png);
    png_read_update_info(s.png, s.info);
    s.channels = png_get_channels(s.png, s.info);
    return s.channels == 3 || s.channels == 4;
}

bool readRows(ReadState& s, png_bytep* rows)
{
    if (setjmp(png_jmpbuf(s.png)))
        return false;
    png_read_image(s.png, rows);
    png_read_end(s.png, nullptr);
    return true;
}

// Blends BGRA rows over the bitmap's pixels.
void blendRows(const std::uint8_t* bgra, Bitmap& bmp)
{
    for (int y = 0; y < bmp.height(); ++y) {
        std::uint8_t* d = bmp.row(y);
        for (int x = 0; x < bmp.width(); ++x, d += 3, bgra += 4) {
            const unsigned a = bgra[3];
            if (a == 255) {
                d[0] = bgra[0];
                d[1] = bgra[1];
                d[2] = bgra[2];
            } else if (a != 0) {
                const unsigned inv = 255 - a;
                for (int c = 0; c < 3; ++c)
                    d[c] = std::uint8_t((d[c] * inv + a * bgra[c]) / 255);
            }
        }
    }
}

struct WriteState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~WriteState() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

// Appends libpng's output to a vector whose memory is kept between saves.
void appendToVector(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

// Where the file goes: a C stream, or a vector when `stream` is null.
struct Sink {
    std::FILE* stream = nullptr;
    std::vector<std::uint8_t>* vector = nullptr;
};

// Compressed data is handed to the sink in IDAT chunks of this size.
constexpr std::size_t kIdatBytes = std::size_t(1) << 20;

// Row y of the file's pixels, in the order and layout libpng takes them.
using RowAt = std::function<png_const_bytep(int)>;

bool writeAll(WriteState& s, Sink sink, png_uint_32 width, png_uint_32 height, bool alpha, const RowAt& rowAt)
{
    if (setjmp(png_jmpbuf(s.png)))
        return false;
    if (sink.stream)
        png_init_io(s.png, sink.stream);
    else
        png_set_write_fn(s.png, sink.vector, appendToVector, noFlush);
    png_set_IHDR(s.png, s.info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(s.png, 6);
    // One cheap filter for every row (the average one gave the smallest files
    // of the single filters on photographs), and zlib looking for runs only:
    // after filtering, photographs leave few long repeats, and the default
    // search through the match chains costs about ten times the time for a
    // quarter less size on such images. Flat drawings still shrink to almost
    // nothing.
    png_set_filter(s.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_AVG);
    png_set_compression_strategy(s.png, Z_RLE);
    png_set_compression_buffer_size(s.png, kIdatBytes);
    static char key[] = "Software";
    static char text[] = "Pixoran3";
    png_text entry{};
    entry.compression = PNG_TEXT_COMPRESSION_NONE;
    entry.key = key;
    entry.text = text;
    png_set_text(s.png, s.info, &entry, 1);
    png_write_info(s.png, s.info);
    png_set_bgr(s.png);
    for (png_uint_32 y = 0; y < height; ++y)
        png_write_row(s.png, rowAt(int(y)));
    png_write_end(s.png, s.info);
    png_write_flush(s.png);
    return true;
}

} // namespace

void decodePngInto(const ByteSource& data, Bitmap& bmp)
{
    ReadState s;
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, silentWarning);
    if (!s.png)
        throw InvalidImageError(kReadError);
    s.info = png_create_info_struct(s.png);
    if (!s.info)
        throw InvalidImageError(kReadError);
    png_set_error_fn(
        s.png, nullptr, [](png_structp p, png_const_charp) { png_longjmp(p, 1); }, silentWarning);
    s.source = SourceReader{&data, 0};
    if (!readHeader(s))
        throw InvalidImageError(kReadError);
    if (!Bitmap::isAcceptableSize(s.width, s.height))
        throw InvalidImageError("dimensions refusées");

    const int w = int(s.width), h = int(s.height);
    if (bmp.bitsPerPixel() != 24)
        bmp.setPixelFormat(24);
    if (bmp.width() != w || bmp.height() != h)
        bmp.resize(w, h);

    if (s.channels == 3) {
        // Opaque pixels replace the old ones: decode straight into the rows.
        // A failure part-way leaves the bitmap partly written; callers pass
        // a bitmap of their own and drop it on error.
        std::vector<png_bytep> rows(static_cast<std::size_t>(h));
        for (int y = 0; y < h; ++y)
            rows[std::size_t(y)] = bmp.row(y);
        if (!readRows(s, rows.data()))
            throw InvalidImageError(kReadError);
        return;
    }
    std::vector<std::uint8_t> pixels(std::size_t(w) * h * 4);
    std::vector<png_bytep> rows(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y)
        rows[std::size_t(y)] = pixels.data() + std::size_t(y) * w * 4;
    if (!readRows(s, rows.data()))
        throw InvalidImageError(kReadError);
    blendRows(pixels.data(), bmp);
}

void decodePngInto(std::span<const std::uint8_t> data, Bitmap& bmp)
{
    decodePngInto(ByteSource(data), bmp);
}

Bitmap decodePng(std::span<const std::uint8_t> data)
{
    Bitmap bmp;
    decodePngInto(ByteSource(data), bmp);
    return bmp;
}

Bitmap readPngFile(const std::filesystem::path& path)
{
    Bitmap bmp;
    decodePngInto(ByteSource(path), bmp);
    return bmp;
}

void loadPngFile(const std::filesystem::path& path, Bitmap& bmp)
{
    std::optional<ByteSource> data;
    try {
        data.emplace(path);
    } catch (const InvalidImageError&) {
        throw InvalidImageError("Error Opening File " + path.string() + "!");
    }
    Bitmap work = bmp;
    decodePngInto(*data, work);
    bmp.swap(work);
}

namespace {

// Rows without alpha go to libpng as they are; with a transparent colour,
// each is widened to BGRA in a buffer of one row.
void encode(ImageRows& bmp, Sink sink, Colour transparent)
{
    if (bmp.isEmpty())
        throw BitmapError("image vide");
    if (bmp.bitsPerPixel() != 24)
        throw BitmapError("lignes de 24 bits attendues");
    const bool alpha = transparent != kNoTransparentColour;
    const int w = bmp.width(), h = bmp.height();
    std::vector<std::uint8_t> bgra(alpha ? std::size_t(w) * 4 : 0);
    const Colour key = transparent & 0xFFFFFF;
    const RowAt rowAt = [&](int y) -> png_const_bytep {
        const std::uint8_t* in = bmp.row(y);
        if (!alpha)
            return in;
        std::uint8_t* out = bgra.data();
        for (int x = 0; x < w; ++x, in += 3, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = makeColour(in[2], in[1], in[0]) == key ? 0 : 255;
        }
        return bgra.data();
    };
    WriteState s;
    s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, silentWarning);
    if (!s.png)
        throw FileWriteError(kWriteError);
    s.info = png_create_info_struct(s.png);
    if (!s.info)
        throw FileWriteError(kWriteError);
    png_set_error_fn(
        s.png, nullptr, [](png_structp p, png_const_charp) { png_longjmp(p, 1); }, silentWarning);
    if (!writeAll(s, sink, png_uint_32(w), png_uint_32(h), alpha, rowAt))
        throw FileWriteError(kWriteError);
}

// Indexed bitmaps are written through their colours.
void encode(const Bitmap& source, Sink sink, Colour transparent)
{
    if (source.isEmpty())
        throw BitmapError("image vide");
    Bitmap converted;
    BitmapRows rows(viewAs24(source, converted));
    encode(rows, sink, transparent);
}

} // namespace

void encodePng(const Bitmap& bmp, std::FILE* stream, Colour transparent)
{
    encode(bmp, Sink{stream, nullptr}, transparent);
}

void encodePng(const Bitmap& bmp, std::vector<std::uint8_t>& out, Colour transparent)
{
    out.clear();
    try {
        encode(bmp, Sink{nullptr, &out}, transparent);
    } catch (...) {
        out.clear();
        throw;
    }
}

std::vector<std::uint8_t> encodePng(const Bitmap& bmp, Colour transparent)
{
    std::vector<std::uint8_t> out;
    encodePng(bmp, out, transparent);
    return out;
}

namespace {

void save(const std::filesystem::path& path, const std::function<void(std::FILE*)>& encodeTo)
{
    // The writer's own texts, each followed by the system's reason.
    const auto withReason = [](std::string text, const std::string& reason) {
        return FileWriteError(reason.empty() ? text : text + " (" + reason + ")", reason);
    };
    std::optional<AtomicFileWriter> writer;
    try {
        writer.emplace(path);
    } catch (const FileWriteError& e) {
        throw withReason("Error Opening File " + path.string() + "!", e.reason());
    }
    try {
        errno = 0;
        encodeTo(writer->stream());
        writer->commit();
    } catch (const FileWriteError& e) {
        // libpng stops at the first short write; errno tells why.
        const std::string reason = !e.reason().empty() ? e.reason() : errno ? std::strerror(errno) : std::string();
        throw withReason(kWriteError, reason);
    }
}

} // namespace

void savePngFile(const std::filesystem::path& path, const Bitmap& bmp, Colour transparent)
{
    if (bmp.isEmpty())
        throw BitmapError("image vide");
    save(path, [&](std::FILE* stream) { encodePng(bmp, stream, transparent); });
}

void savePngFile(const std::filesystem::path& path, ImageRows& rows)
{
    if (rows.isEmpty() || rows.bitsPerPixel() != 24)
        throw BitmapError(rows.isEmpty() ? "image vide" : "lignes de 24 bits attendues");
    save(path, [&](std::FILE* stream) { encode(rows, Sink{stream, nullptr}, kNoTransparentColour); });
}

} // namespace px
