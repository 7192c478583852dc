#pragma once
// The program's one pseudo-random generator: a 32-bit linear congruential
// state, state := state * 134775813 + 1 (mod 2^32); Random(n) is the high 32
// bits of the 64-bit product of the new state and n, so 0 <= Random(n) < n
// and Random(0) = 0. Effects depend on the exact sequence (which pixel gets
// which number), so it must never be replaced by another generator.
#include <cstdint>
#include <optional>

namespace px {

class RandomGenerator {
public:
    static constexpr std::uint32_t kMultiplier = 134775813u;

    explicit RandomGenerator(std::uint32_t state = 0) : state_(state) {}

    std::uint32_t state() const { return state_; }
    void setState(std::uint32_t state) { state_ = state; }

    // Random(n): advances the state, then returns (n * state) >> 32.
    std::uint32_t next(std::uint32_t n)
    {
        state_ = state_ * kMultiplier + 1u;
        return std::uint32_t((std::uint64_t(n) * state_) >> 32);
    }
    // Random(n) for a signed amount as effects compute it; n <= 0 yields 0.
    int random(int n) { return n <= 0 ? (next(0), 0) : int(next(std::uint32_t(n))); }

    // Re-seeding "from the clock". When a fixed seed is set (tests, the batch
    // command line's --seed) every re-seeding sets that seed instead, so a
    // run repeats exactly.
    void seedFromClock();
    void setFixedSeed(std::optional<std::uint32_t> seed) { fixedSeed_ = seed; }
    std::optional<std::uint32_t> fixedSeed() const { return fixedSeed_; }

    // The state after `steps` further draws, computed in O(log steps): lets a
    // routine hand each thread the exact numbers the sequential loop would
    // have drawn.
    static std::uint32_t stateAfter(std::uint32_t state, std::uint64_t steps);
    void skip(std::uint64_t steps) { state_ = stateAfter(state_, steps); }

private:
    std::uint32_t state_;
    std::optional<std::uint32_t> fixedSeed_;
};

} // namespace px
