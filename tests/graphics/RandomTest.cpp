#include "graphics/Random.h"

#include <gtest/gtest.h>

namespace px {
namespace {

TEST(RandomGenerator, FollowsTheLinearCongruentialRule)
{
    RandomGenerator g(0);
    // state 0 -> 1 -> 134775814 ; Random(n) = (n * state) >> 32.
    EXPECT_EQ(g.next(100), 0u); // (100 * 1) >> 32
    EXPECT_EQ(g.state(), 1u);
    EXPECT_EQ(g.next(1000), 31u); // 1000 * 134775814 = 134775814000, >> 32 = 31
    EXPECT_EQ(g.state(), 134775814u);
    g.setState(0xFFFFFFFFu); // wraps: 0xFFFFFFFF * 134775813 + 1 mod 2^32
    g.next(0);
    EXPECT_EQ(g.state(), std::uint32_t(0xFFFFFFFFull * 134775813ull + 1ull));
    EXPECT_EQ(g.random(0), 0);
    EXPECT_EQ(g.random(-3), 0);
}

TEST(RandomGenerator, JumpAheadMatchesSteppedSequence)
{
    for (std::uint64_t steps : {0ull, 1ull, 2ull, 3ull, 1000ull, 12'000'000ull}) {
        RandomGenerator stepped(987654321u);
        for (std::uint64_t i = 0; i < steps; ++i)
            stepped.next(0);
        EXPECT_EQ(RandomGenerator::stateAfter(987654321u, steps), stepped.state()) << steps;
    }
}

TEST(RandomGenerator, FixedSeedReplacesClockSeeding)
{
    RandomGenerator g(5);
    g.setFixedSeed(42u);
    g.next(10);
    g.seedFromClock();
    EXPECT_EQ(g.state(), 42u);
}

} // namespace
} // namespace px
