#pragma once
// Exchanging the first and third byte of every 3-byte pixel: the bitmap
// stores blue, green, red, while TIFF and others store red, green, blue.
#include <cstddef>
#include <cstdint>

namespace px {

// dst[3i] = src[3i + 2], dst[3i + 1] = src[3i + 1], dst[3i + 2] = src[3i]
// for i < pixels. `dst` may equal `src` (in place); other overlaps are not
// allowed.
void swapRedBlue(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);

} // namespace px

namespace px {

// Images of this many bytes and more are written with streaming stores,
// which send rows straight to memory: such an image does not stay in the
// cache anyway, and ordinary stores would first read every line they write.
constexpr std::size_t kStreamedImageBytes = std::size_t(8) << 20;
inline bool streamsRows(std::size_t imageBytes)
{
    return imageBytes >= kStreamedImageBytes;
}

// Interleaves three planes of `pixels` samples into 3-byte pixels stored
// blue, green, red: dst[3i] = blue[i], dst[3i + 1] = green[i],
// dst[3i + 2] = red[i]. No overlap allowed. With `stream`, the pixels go
// straight to memory (see kStreamedImageBytes).
void interleaveBgr(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue, std::uint8_t* dst,
                   std::size_t pixels, bool stream = false);

} // namespace px
