#include "fileio/MetafileFile.h"

#include "codecs/ByteReader.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <memory>
#include <vector>

namespace px {

namespace {

constexpr double kPixelsPerInch = 96;

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

    wmf_gd_t* device = WMF_GD_GetData(api.get());
    device->type = wmf_gd_image;
    device->bbox = box;
    device->width = width;
    device->height = height;
    if (wmf_play(api.get(), 0, &box) != wmf_E_None || !device->gd_image)
        throw InvalidImageError("métafichier illisible");
    const int* pixels = wmf_gd_image_pixels(device->gd_image);
    if (!pixels)
        throw InvalidImageError("métafichier illisible");
    Bitmap bmp(int(width), int(height), 24);
    for (unsigned y = 0; y < height; ++y) {
        std::uint8_t* row = bmp.row(int(y));
        const int* src = pixels + std::size_t(y) * width;
        for (unsigned x = 0; x < width; ++x, row += 3) {
            const unsigned v = unsigned(src[x]);
            row[0] = std::uint8_t(v);
            row[1] = std::uint8_t(v >> 8);
            row[2] = std::uint8_t(v >> 16);
        }
    }
    return bmp;
}

} // namespace px
