#pragma once
// The marble swirls and the spray by lanes: the plain pixel loops
// (Textures.cpp) and the AVX2 / AVX-512 kernels (TexturesVector.cpp). Each
// way gives the same bytes; tests pick one through the *With functions.
#include "graphics/Bitmap.h"
#include "graphics/Random.h"

#include <cstddef>
#include <cstdint>

namespace px {

// Declared with Marbre (Textures.h).
enum class MarbleVariant;

namespace textures {

enum class Lanes { Plain, Avx2, Avx512 };

bool haveAvx2();
// AVX-512 F, BW, VL and VBMI.
bool haveAvx512();
// The widest lanes this processor runs.
Lanes bestLanes();

// Marbre and Spray by the given lanes (Avx2 needs haveAvx2(), Avx512
// haveAvx512()). Images too large for 32-bit byte offsets, and a spray
// whose target is its source, take the plain loops whatever `lanes` says.
void marbreWith(Bitmap& bitmap, MarbleVariant variant, int period, int scale, bool backwards, Lanes lanes);
void sprayWith(const Bitmap& source, Bitmap& target, int radius, RandomGenerator& random, Lanes lanes);

// A piece of a marble row, from column x0: pixel x goes to column
// round |(x + sign * sx) + cy| and row round |down + sx| (halves to even),
// where sx = columns[x mod period]. columns holds period + 16 entries, the
// table repeated past its end, and phase is x0 mod period. offsets[i]
// receives the byte offset of pixel x0 + i's place in the bitmap, or, when
// it lies outside, the pixel's own offset home + 3 i (copying a pixel onto
// itself changes nothing). count is a multiple of 16.
struct MarbleRow {
    const double* columns;
    int period, phase;
    double sign;
    int x0;
    std::int32_t* offsets;
    int count;
    double cy, down;
    int width, height;
    std::int32_t stride;
    std::int32_t home;
};
void marbleTargetsAvx2(const MarbleRow& row);
void marbleTargetsAvx512(const MarbleRow& row);

// The spray's constants for 16 pixels in lanes. The state of draw j (0: r,
// 1: horizontal, 2: vertical) of pixel k of a block is
// laneMul[j][k] * s + laneAdd[j][k] for the state s before the block's first
// draw; a block of 16 pixels moves every state on by blockMul * s +
// blockAdd, a row by rowMul * s + rowAdd.
struct SprayLanes {
    std::uint32_t laneMul[3][16], laneAdd[3][16];
    std::uint32_t blockMul, blockAdd;
    std::uint32_t rowMul, rowAdd;
};
// Spray over the whole image; returns the generator's state after it.
std::uint32_t sprayAvx512(const Bitmap& source, Bitmap& target, std::uint32_t radius, std::uint32_t state,
                          const SprayLanes& lanes);

} // namespace textures
} // namespace px
