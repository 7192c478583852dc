#pragma once
// Vector versions of the colour adjustments. Each processes a prefix of its
// input with wide instructions when the processor has them and returns how
// much it did; the caller finishes with the plain rule, so both always give
// the same bytes. A return of 0 means "not handled here".
#include <cstddef>
#include <cstdint>

namespace px::colour_simd {

enum class PointRule { Luminosite, Contraste, Eclipse };

// Largest amount for which the 16-bit arithmetic of `rule` is exact.
int maxFastAmount(PointRule rule);

// Bytes done (a multiple of 32) of `count` bytes, every byte the same rule.
std::size_t pointRule(PointRule rule, int amount, std::uint8_t* bytes, std::size_t count);
// bytes[i] := table[bytes[i]]; bytes done (a multiple of 32).
std::size_t lookUp(const std::uint8_t table[256], std::uint8_t* bytes, std::size_t count);
std::size_t negate(std::uint8_t* bytes, std::size_t count);

// Per-channel patterns over one row starting at a pixel; bytes done (a
// multiple of 96). add/sub: saturating byte offsets for B, G, R.
std::size_t offsetRow(std::uint8_t* row, std::size_t bytes, const std::uint8_t add[3], const std::uint8_t sub[3]);
std::size_t twoColourRow(std::uint8_t* row, std::size_t bytes, int channel);

// bytes[i] := ClampByte(bytes[i] + offsets[i]); bytes done.
std::size_t addOffsets(std::uint8_t* bytes, const std::int16_t* offsets, std::size_t count);

// out[j] := clamp(Random(range) - half, -256, 256) for the draws j that
// follow `state` (range 0 gives 0); draws done, a multiple of 8.
int drawOffsets(std::uint32_t state, std::uint32_t range, int half, std::int16_t* out, int count);

// The ten rotation steps of "Cycle" on a row prefix; pixels done.
int cycleRow(std::uint8_t* row, int width);

// Saturation over pixels [1, returned end) of a row of `width` pixels;
// returns 1 when nothing was done.
int saturationRow(std::uint8_t* row, int width, int amount);

} // namespace px::colour_simd
