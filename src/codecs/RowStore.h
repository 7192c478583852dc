#pragma once
// Rows written around the cache. A decoded image this large does not stay
// in the processor's cache anyway, and ordinary stores would first read
// every line they are about to overwrite; streaming stores send the rows
// straight to memory. Smaller images are written as usual, so that they are
// still in the cache for whatever reads them next.
#include <cstddef>
#include <cstdint>

namespace px {

constexpr std::size_t kStreamedImageBytes = std::size_t(8) << 20;

inline bool streamsRows(std::size_t imageBytes)
{
    return imageBytes >= kStreamedImageBytes;
}

// dst[0..n) = src[0..n), with streaming stores when `stream` is set. No
// overlap allowed.
void storeRow(std::uint8_t* dst, const std::uint8_t* src, std::size_t n, bool stream);

} // namespace px
