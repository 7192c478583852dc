// Feeds arbitrary bytes to the BMP reader. A clean refusal (InvalidImageError,
// or BitmapError for a size the bitmap refuses) is a normal outcome; any other
// exception, crash, leak or undefined behaviour is a bug.
#include "codecs/ImageFileError.h"
#include "fileio/BmpFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const px::Bitmap b = px::decodeBmp({data, size});
        // Touch every row so that a wrong size shows up under the sanitizers.
        volatile std::uint8_t sink = 0;
        for (int y = 0; y < b.height(); ++y)
            sink = sink ^ b.row(y)[b.stride() - 1];
    } catch (const px::InvalidImageError&) {
    } catch (const px::BitmapError&) {
    }
    return 0;
}
