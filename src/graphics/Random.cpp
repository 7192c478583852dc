#include "graphics/Random.h"

#include <chrono>

namespace px {

void RandomGenerator::seedFromClock()
{
    if (fixedSeed_) {
        state_ = *fixedSeed_;
        return;
    }
    // Milliseconds since midnight, like a seed taken from the time of day.
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    state_ = std::uint32_t(duration_cast<milliseconds>(now).count() % 86'400'000);
}

std::uint32_t RandomGenerator::stateAfter(std::uint32_t state, std::uint64_t steps)
{
    // The affine map x -> a*x + c composed with itself by repeated squaring.
    std::uint32_t accMul = 1, accAdd = 0;
    std::uint32_t mul = kMultiplier, add = 1;
    while (steps) {
        if (steps & 1) {
            accMul *= mul;
            accAdd = accAdd * mul + add;
        }
        add = add * mul + add;
        mul *= mul;
        steps >>= 1;
    }
    return state * accMul + accAdd;
}

} // namespace px
