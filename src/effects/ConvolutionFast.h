#pragma once
// Row kernels of Convolve3x3. A plan, chosen once per kernel and divisor,
// says which arithmetic gives the exact result: 16-bit lanes when every
// reachable sum fits in 16 bits (and then a shift or a reciprocal
// multiplication when it reproduces the division for every reachable sum),
// 32-bit sums of tap pairs otherwise.
#include "effects/Kernel3x3.h"

#include <cstdint>

namespace px::convolution {

struct Tap {
    int row;   // 0 above, 1 own, 2 below
    int shift; // byte offset in the framed row: 0, 3 or 6
    int weight;
};

struct Plan {
    // Lanes16: every partial sum fits 16 bits. Pairs32: two taps at a time
    // are multiplied and added into 32-bit sums; a weight beyond 16 bits is
    // split into a low and a high half whose sums are recombined modulo
    // 2^32, which is exactly the wrap-around of the plain 32-bit sum.
    enum class Path { Zero, Lanes16, Pairs32 };
    enum class Division { None, Shift, Multiply };
    Path path = Path::Pairs32;
    Division division = Division::None;
    int divisor = 1;
    Tap taps[9]{};
    int tapCount = 0;
    bool byteWeights = false;     // Lanes16: every weight fits a signed byte
    bool highWeights = false;     // Pairs32: some weight needs more than 16 bits
    int shift = 0;                // Division::Shift, or the shift after the multiplication
    std::uint16_t multiplier = 0; // Division::Multiply: q = ((s * multiplier) >> 16) >> shift
    int limit32 = 0;              // Pairs32: sums above this all give 255
    float reciprocal32 = 0.0f;    // Pairs32: 1 / divisor rounded up
    bool reciprocalExact = false; // Pairs32: trunc(s * reciprocal32) is s div divisor for 0 <= s <= limit32
};

// divisor must not be 0.
Plan makePlan(const Kernel3x3& kernel, std::uint16_t divisor);

// Whether trunc(float(s) * reciprocal) equals s / divisor for every s in
// 0..256 * divisor - 1, reciprocal being at least 1 / divisor.
bool floatDivisionIsExact(int divisor, float reciprocal);

// One output row of `bytes` bytes (3 x width). above, own and below point at
// the first byte of framed rows of bytes + 6 bytes.
void convolveRow(const Plan& plan, const std::uint8_t* above, const std::uint8_t* own, const std::uint8_t* below,
                 std::uint8_t* out, int bytes);

// The plain loop every path must equal; also used for row tails.
void convolveRowPlain(const Plan& plan, const std::uint8_t* above, const std::uint8_t* own, const std::uint8_t* below,
                      std::uint8_t* out, int first, int bytes);

// Vector prefixes of a row; each returns the number of bytes done.
int rowPrefix16(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out, int bytes);
int rowPrefix32(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out, int bytes);

} // namespace px::convolution
