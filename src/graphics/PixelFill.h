#pragma once
// Internal to the canvas: runs of 24-bit pixels set to one colour.
#include "graphics/CanvasTypes.h"

#include <cstddef>
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

// Sets the runs of a row of `width` pixels in turn, each clipped to the
// row, along `path`. left .. right-1 receives the columns from the first
// pixel set to the last (left >= right: none).
void fillRuns(std::uint8_t* row, int width, const ColourRun* runs, std::size_t count, int& left, int& right, Path path);
void fillRuns(std::uint8_t* row, int width, const ColourRun* runs, std::size_t count, int& left, int& right);

} // namespace px::pixelfill
