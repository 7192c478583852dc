// Feeds arbitrary bytes to the Dr. Halo reader, as an image and as a palette
// file: each must give its result or raise the reader's own error, never
// crash, leak or read outside its buffers.
#include "codecs/CodecCut.h"
#include "codecs/ImageFileError.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto palette = px::decodeHaloPalette({data, size});
    if (palette && palette->size() != 256)
        __builtin_trap();
    try {
        const px::Bitmap bmp = px::decodeCut({data, size}, palette ? *palette : std::vector<px::Colour>{});
        if (!bmp.isEmpty())
            (void)bmp.row(bmp.height() - 1)[bmp.stride() - 1];
    } catch (const px::InvalidImageError&) {
    } catch (const px::BitmapError&) {
    }
    return 0;
}
