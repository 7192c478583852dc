#include "fileio/JpegFile.h"

#include "codecs/ImageFileError.h"
#include "fileio/FileBytes.h"
#include "fileio/ImageRows.h"
#include "platform/AtomicFile.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <functional>

#include <jpeglib.h>

namespace px {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back to the phase that called libjpeg. The phases below hold no
// C++ objects so the jump skips no destructor.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr) {}

void initErrors(ErrorManager& err)
{
    jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.output_message = onMessage;
}

struct Decoder {
    jpeg_decompress_struct info{};
    ErrorManager err{};
    bool created = false;
    ~Decoder()
    {
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

bool readHeader(Decoder& d, const std::uint8_t* data, std::size_t size)
{
    if (setjmp(d.err.jump))
        return false;
    jpeg_create_decompress(&d.info);
    d.created = true;
    jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.info, TRUE);
    const J_COLOR_SPACE space = d.info.jpeg_color_space;
    d.info.out_color_space = (space == JCS_CMYK || space == JCS_YCCK) ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&d.info);
    return true;
}

// Reads every scan line into `rows` (BGR straight into the bitmap, or CMYK
// into a scratch buffer).
bool readLines(Decoder& d, JSAMPROW* rows)
{
    if (setjmp(d.err.jump))
        return false;
    jpeg_start_decompress(&d.info);
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW* at = rows + d.info.output_scanline;
        jpeg_read_scanlines(&d.info, at, d.info.output_height - d.info.output_scanline);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

struct Encoder {
    jpeg_compress_struct info{};
    ErrorManager err{};
    bool created = false;
    ~Encoder()
    {
        if (created)
            jpeg_destroy_compress(&info);
    }
};

// Compressed bytes go straight into a std::vector: the whole of its current
// size (at least its capacity) is handed to libjpeg as the buffer, doubled
// when full, and cut to the written length at the end. A vector reused from
// an earlier save is neither reallocated nor cleared again.
struct VectorDestination {
    jpeg_destination_mgr base;
    std::vector<std::uint8_t>* out;
};

void vectorInit(j_compress_ptr info)
{
    auto* d = reinterpret_cast<VectorDestination*>(info->dest);
    d->out->resize(std::max<std::size_t>(d->out->capacity(), 1 << 16));
    d->base.next_output_byte = d->out->data();
    d->base.free_in_buffer = d->out->size();
}

boolean vectorGrow(j_compress_ptr info)
{
    auto* d = reinterpret_cast<VectorDestination*>(info->dest);
    const std::size_t used = d->out->size();
    d->out->resize(used * 2);
    d->base.next_output_byte = d->out->data() + used;
    d->base.free_in_buffer = d->out->size() - used;
    return TRUE;
}

void vectorTerm(j_compress_ptr info)
{
    auto* d = reinterpret_cast<VectorDestination*>(info->dest);
    d->out->resize(d->out->size() - d->base.free_in_buffer);
}

// Where the compressed bytes go: a C stream, or a vector when `stream` is null.
struct Target {
    std::FILE* stream = nullptr;
    VectorDestination* vector = nullptr;
};

// Row y of the image, 24-bit BGR.
using RowAt = std::function<const std::uint8_t*(int)>;

bool writeAll(Encoder& e, Target target, int width, int height, int quality, bool progressive, const RowAt& rowAt)
{
    if (setjmp(e.err.jump))
        return false;
    jpeg_create_compress(&e.info);
    e.created = true;
    if (target.stream)
        jpeg_stdio_dest(&e.info, target.stream);
    else
        e.info.dest = &target.vector->base;
    e.info.image_width = JDIMENSION(width);
    e.info.image_height = JDIMENSION(height);
    e.info.input_components = 3;
    e.info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&e.info);
    jpeg_set_quality(&e.info, quality, TRUE);
    if (progressive)
        jpeg_simple_progression(&e.info);
    jpeg_start_compress(&e.info, TRUE);
    while (e.info.next_scanline < e.info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rowAt(int(e.info.next_scanline)));
        jpeg_write_scanlines(&e.info, &row, 1);
    }
    jpeg_finish_compress(&e.info);
    return true;
}

} // namespace

void decodeJpegInto(std::span<const std::uint8_t> data, Bitmap& bmp)
{
    Decoder d;
    d.info.err = &d.err.base;
    initErrors(d.err);
    if (data.empty() || !readHeader(d, data.data(), data.size()))
        throw InvalidImageError("en-tête JPEG illisible");
    const int w = int(d.info.output_width), h = int(d.info.output_height);
    if (!Bitmap::isAcceptableSize(w, h))
        throw InvalidImageError("dimensions refusées");
    const bool cmyk = d.info.out_color_space == JCS_CMYK;
    if (cmyk && d.info.output_components != 4)
        throw InvalidImageError("composantes inattendues");
    bmp.reallocate(w, h, 24);
    const std::size_t rowBytes = std::size_t(w) * 3;
    for (int y = 0; y < h; ++y)
        std::memset(bmp.row(y) + rowBytes, 0, bmp.stride() - rowBytes);
    std::vector<std::uint8_t> scratch(cmyk ? std::size_t(w) * h * 4 : 0);
    std::vector<JSAMPROW> rows(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y)
        rows[std::size_t(y)] = cmyk ? scratch.data() + std::size_t(y) * w * 4 : bmp.row(y);
    if (!readLines(d, rows.data()))
        throw InvalidImageError("données JPEG invalides");
    if (cmyk) {
        // Four-channel files are stored inverted (0 = full ink): the colour
        // is each channel times the key, scaled back to 0..255.
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* s = rows[std::size_t(y)];
            std::uint8_t* p = bmp.row(y);
            for (int x = 0; x < w; ++x, s += 4, p += 3) {
                const unsigned k = s[3];
                p[0] = std::uint8_t(s[2] * k / 255);
                p[1] = std::uint8_t(s[1] * k / 255);
                p[2] = std::uint8_t(s[0] * k / 255);
            }
        }
    }
}

Bitmap decodeJpeg(std::span<const std::uint8_t> data)
{
    Bitmap bmp;
    decodeJpegInto(data, bmp);
    return bmp;
}

Bitmap readJpegFile(const std::filesystem::path& path)
{
    return decodeJpeg(readFileBytes(path));
}

namespace {

void encode(ImageRows& rows, const JpegOptions& options, Target target)
{
    if (rows.isEmpty())
        throw BitmapError("image vide");
    if (rows.bitsPerPixel() != 24)
        throw BitmapError("lignes de 24 bits attendues");
    Encoder e;
    e.info.err = &e.err.base;
    initErrors(e.err);
    const int quality = std::clamp(options.quality, 1, 99);
    const RowAt rowAt = [&rows](int y) { return rows.row(y); };
    if (!writeAll(e, target, rows.width(), rows.height(), quality, options.progressive, rowAt))
        throw FileWriteError("Erreur d'écriture JPEG");
}

// Indexed bitmaps are written through their colours.
void encode(const Bitmap& source, const JpegOptions& options, Target target)
{
    if (source.isEmpty())
        throw BitmapError("image vide");
    Bitmap converted;
    BitmapRows rows(viewAs24(source, converted));
    encode(rows, options, target);
}

} // namespace

void encodeJpeg(const Bitmap& bmp, const JpegOptions& options, std::FILE* stream)
{
    encode(bmp, options, Target{stream, nullptr});
}

void encodeJpeg(const Bitmap& bmp, const JpegOptions& options, std::vector<std::uint8_t>& out)
{
    VectorDestination destination{};
    destination.base.init_destination = vectorInit;
    destination.base.empty_output_buffer = vectorGrow;
    destination.base.term_destination = vectorTerm;
    destination.out = &out;
    try {
        encode(bmp, options, Target{nullptr, &destination});
    } catch (...) {
        out.clear();
        throw;
    }
}

std::vector<std::uint8_t> encodeJpeg(const Bitmap& bmp, const JpegOptions& options)
{
    std::vector<std::uint8_t> out;
    encodeJpeg(bmp, options, out);
    return out;
}

void writeJpegFile(const std::filesystem::path& path, const Bitmap& bmp, const JpegOptions& options)
{
    AtomicFileWriter writer(path);
    encodeJpeg(bmp, options, writer.stream());
    writer.commit();
}

void writeJpegFile(const std::filesystem::path& path, ImageRows& rows, const JpegOptions& options)
{
    if (rows.isEmpty() || rows.bitsPerPixel() != 24)
        throw BitmapError(rows.isEmpty() ? "image vide" : "lignes de 24 bits attendues");
    AtomicFileWriter writer(path);
    encode(rows, options, Target{writer.stream(), nullptr});
    writer.commit();
}

} // namespace px
