#include "fileio/MetafileFile.h"

#include "codecs/ByteReader.h"
#include "fileio/PngFile.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace px {

namespace {

constexpr double kPixelsPerInch = 96;

// libwmf draws a picture of 16 megapixels in over ten seconds and one of
// the largest size a reader accepts in many minutes: a metafile declaring
// more than this many pixels is drawn smaller, same proportions. It is a
// drawing, so any size shows all of it.
constexpr std::uint64_t kMaxDrawnPixels = std::uint64_t(2048) * 2048;

struct ApiCloser {
    void operator()(wmfAPI* api) const { wmf_api_destroy(api); }
};

} // namespace

Bitmap decodeWindowsMetafile(std::span<const std::uint8_t> data)
{
    if (data.size() < 18)
        throw InvalidImageError("métafichier trop court");
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI* raw = nullptr;
    if (wmf_api_create(&raw, flags, &options) != wmf_E_None || !raw) {
        if (raw)
            wmf_api_destroy(raw);
        throw InvalidImageError("lecteur de métafichiers indisponible");
    }
    std::unique_ptr<wmfAPI, ApiCloser> api(raw);
    // libwmf reads from the buffer without changing it.
    std::vector<unsigned char> copy(data.begin(), data.end());
    wmfD_Rect box{};
    if (wmf_mem_open(api.get(), copy.data(), long(copy.size())) != wmf_E_None ||
        wmf_scan(api.get(), 0, &box) != wmf_E_None)
        throw InvalidImageError("métafichier illisible");
    unsigned int width = 0, height = 0;
    if (wmf_display_size(api.get(), &width, &height, kPixelsPerInch, kPixelsPerInch) != wmf_E_None)
        throw InvalidImageError("taille du métafichier illisible");
    checkImageSize(width, height);
    if (std::uint64_t(width) * height > kMaxDrawnPixels) {
        const double scale = std::sqrt(double(kMaxDrawnPixels) / (double(width) * double(height)));
        width = std::max(1u, unsigned(double(width) * scale));
        height = std::max(1u, unsigned(double(height) * scale));
    }

    // The drawing comes back as a PNG stream through the device's sink:
    // libwmf then frees its picture itself, which it never does for a
    // picture it hands over (there is no call to free one).
    std::vector<std::uint8_t> png;
    wmf_gd_t* device = WMF_GD_GetData(api.get());
    device->type = wmf_gd_png;
    device->bbox = box;
    device->width = width;
    device->height = height;
    // Memory output into a buffer of the caller's own: the stream goes to
    // the sink.
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = [](void* context, char* buffer, int length) {
        auto* out = static_cast<std::vector<std::uint8_t>*>(context);
        if (length > 0)
            out->insert(out->end(), buffer, buffer + length);
        return length;
    };
    if (wmf_play(api.get(), 0, &box) != wmf_E_None || png.empty())
        throw InvalidImageError("métafichier illisible");
    Bitmap bmp = decodePng(png);
    if (bmp.width() != int(width) || bmp.height() != int(height))
        throw InvalidImageError("métafichier illisible");
    return bmp;
}

} // namespace px
