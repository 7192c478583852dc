#pragma once
// Row kernels of Convolve3x3. A plan, chosen once per kernel and divisor,
// says which arithmetic gives the exact result: 16-bit lanes when every
// reachable sum fits in 16 bits (and then a shift or a reciprocal
// multiplication when it reproduces the division for every reachable sum),
// 32-bit lanes otherwise.
#include "effects/Convolution.h"

#include <cstdint>

namespace px::convolution {

struct Tap {
    int row;   // 0 above, 1 own, 2 below
    int shift; // byte offset in the framed row: 0, 3 or 6
    int weight;
};

struct Plan {
    // Pairs32: every weight fits 16 bits, so two taps at a time are
    // multiplied and added into 32-bit sums that cannot wrap.
    enum class Path { Zero, Lanes16, Pairs32, Lanes32 };
    enum class Division { None, Shift, Multiply };
    Path path = Path::Lanes32;
    Division division = Division::None;
    int divisor = 1;
    Tap taps[9]{};
    int tapCount = 0;
    int shift = 0;                // Division::Shift, or the shift after the multiplication
    std::uint16_t multiplier = 0; // Division::Multiply: q = ((s * multiplier) >> 16) >> shift
    int limit32 = 0;              // Lanes32: sums above this all give 255
    float reciprocal32 = 0.0f;    // Lanes32: estimate of 1 / divisor, corrected exactly afterwards
};

// divisor must not be 0.
Plan makePlan(const Kernel3x3& kernel, std::uint16_t divisor);

// One output row of `bytes` bytes (3 x width). above, own and below point at
// the first byte of framed rows of bytes + 6 bytes.
void convolveRow(const Plan& plan, const std::uint8_t* above, const std::uint8_t* own, const std::uint8_t* below,
                 std::uint8_t* out, int bytes);

// The plain loop every path must equal; also used for row tails.
void convolveRowPlain(const Plan& plan, const std::uint8_t* above, const std::uint8_t* own, const std::uint8_t* below,
                      std::uint8_t* out, int first, int bytes);

} // namespace px::convolution
