#pragma once
// PackBits run-length decoding, shared by the readers that use it.
#include <cstddef>
#include <cstdint>

namespace px {

// Decodes `srcSize` bytes into exactly `dstSize` bytes at `dst`. A header
// byte n of 0..127 copies the next n + 1 bytes, -1..-127 repeats the next
// byte 1 - n times, -128 does nothing. Returns false when a run passes the
// end of the source or of the destination, or when the source ends before
// the destination is full; bytes after the destination is full are ignored.
bool unpackBits(const std::uint8_t* src, std::size_t srcSize, std::uint8_t* dst, std::size_t dstSize);

} // namespace px
