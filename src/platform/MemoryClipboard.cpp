#include "platform/MemoryClipboard.h"

namespace px {

void MemoryClipboard::setImage(const Bitmap& bitmap)
{
    image_ = bitmap;
    if (!image_.isEmpty() && image_.bitsPerPixel() != 24)
        image_.setPixelFormat(24);
}

} // namespace px
