// Feeds arbitrary bytes to the reader: it must return a bitmap or raise the
// reader's own errors, never crash, leak or read outside its buffers.
#include "codecs/CodecPcx.h"
#include "codecs/ImageFileError.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const px::Bitmap bmp = px::decodeCodecPcx({data, size});
        if (!bmp.isEmpty())
            (void)bmp.row(bmp.height() - 1)[bmp.stride() - 1];
    } catch (const px::InvalidImageError&) {
    } catch (const px::BitmapError&) {
    }
    return 0;
}
