#pragma once
// Byte orders of 3-byte pixels: the bitmap stores blue, green, red, while
// TIFF and others store red, green, blue, some in one plane per colour.
#include "codecs/RowStore.h"

#include <cstddef>
#include <cstdint>

namespace px {

// dst[3i] = src[3i + 2], dst[3i + 1] = src[3i + 1], dst[3i + 2] = src[3i]
// for i < pixels. `dst` may equal `src` (in place); other overlaps are not
// allowed.
void swapRedBlue(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);

// Interleaves three planes of `pixels` samples into 3-byte pixels stored
// blue, green, red: dst[3i] = blue[i], dst[3i + 1] = green[i],
// dst[3i + 2] = red[i]. No overlap allowed. With `stream`, the pixels go
// straight to memory (see streamsRows).
void interleaveBgr(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue, std::uint8_t* dst,
                   std::size_t pixels, bool stream = false);

} // namespace px
