#pragma once
// The weights and divisor of a 3 x 3 convolution filter.
#include <array>
#include <cstdint>

namespace px {

// K0..K8 in reading order: K0 K1 K2 weigh the row above (left, pixel,
// right), K3 K4 K5 the pixel's row, K6 K7 K8 the row below.
using Kernel3x3 = std::array<int, 9>;

// A divisor as the user types it: reduced modulo 65536 (-1 acts as 65535).
constexpr std::uint16_t filterDivisor(int typed)
{
    return std::uint16_t(unsigned(typed) & 0xFFFFu);
}

} // namespace px
