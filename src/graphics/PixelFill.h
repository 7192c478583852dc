#pragma once
// Internal to the canvas: runs of 24-bit pixels set to one colour.
#include <cstdint>

namespace px::pixelfill {

enum class Path {
    Scalar, // words of eight pixels
    Avx512, // one 64-byte store per 21 pixels, a masked store for the rest
};

// Whether the processor can run `path`.
bool available(Path path);

// Sets the n pixels at p (blue, green, red bytes) to `colour`, whose blue
// is bits 16-23 and red bits 0-7, along `path` (which must be available).
// Writes no byte past the last pixel.
void fill(std::uint8_t* p, std::int64_t n, std::uint32_t colour, Path path);

// The same along the fastest available path.
void fill(std::uint8_t* p, std::int64_t n, std::uint32_t colour);

} // namespace px::pixelfill
