// "Spray" with a fixed seed and a clock the test moves: which dots each burst
// paints, how many bursts a tick paints, and a diameter that is not a number.
#include "tools/SprayTool.h"
#include "tools/ToolTestSupport.h"

#include <set>

namespace px::test {
namespace {

using namespace std::chrono_literals;

// The program's generator as its rule states it: state := state *
// 134775813 + 1, Random(n) := (n * state) shr 32.
struct Rule {
    std::uint32_t state;
    int random(int n)
    {
        state = state * 134775813u + 1u;
        return int((std::uint64_t(std::uint32_t(n)) * state) >> 32);
    }
};

using Dots = std::set<std::pair<int, int>>;

// The dots of `bursts` bursts at (cx, cy) by the rule.
Dots expectedDots(std::uint32_t seed, int bursts, int d, bool round, int cx, int cy, std::uint32_t* stateAfter)
{
    Rule rule{seed};
    Dots dots;
    for (int i = 0; i < bursts * 10; ++i) {
        const int dx = rule.random(d) - d / 2;
        const int dy = rule.random(d) - d / 2;
        if (!round || double(dx * dx + dy * dy) < double(d) * d / 5)
            dots.insert({cx + dx, cy + dy});
    }
    *stateAfter = rule.state;
    return dots;
}

Dots dotsOf(const Bitmap& b, Colour colour)
{
    Dots dots;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y) == colour)
                dots.insert({x, y});
    return dots;
}

class SprayTest : public ToolTest {
protected:
    void SetUp() override
    {
        document = Bitmap(40, 40, 24);
        document.fill(kWhite);
        random.setState(kSeed);
        spray.setClock([this] { return now; });
    }
    static constexpr std::uint32_t kSeed = 20260511u;
    std::chrono::nanoseconds now{5s};
    SprayTool spray;
};

struct DiameterCase {
    int d;
    SprayShape shape;
};

class SprayDiameter : public SprayTest, public ::testing::WithParamInterface<DiameterCase> {};

// One tick right after the press paints one burst: ten draws of dx then dy.
TEST_P(SprayDiameter, OneBurstPaintsTheDotsOfTheRule)
{
    const auto [d, shape] = GetParam();
    options.sprayDiameter = d;
    options.sprayShape = shape;
    spray.press(press(20, 20), context());
    now += 1ms;
    spray.timerTick(context());
    std::uint32_t state = 0;
    const Dots expected = expectedDots(kSeed, 1, d, shape == SprayShape::Round, 20, 20, &state);
    EXPECT_EQ(dotsOf(document, kRed), expected);
    EXPECT_EQ(random.state(), state) << "twenty draws, whatever was painted";
    for (const auto& [x, y] : dotsOf(document, kRed)) {
        // Random(d) - d div 2 lies in -(d div 2) .. d - 1 - d div 2 (0 for d = 0).
        const int dx = x - 20, dy = y - 20, low = -(d / 2), high = std::max(d - 1 - d / 2, 0);
        EXPECT_TRUE(dx >= low && dx <= high && dy >= low && dy <= high);
        if (shape == SprayShape::Round) {
            EXPECT_LT(5 * (dx * dx + dy * dy), d * d);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Diameters, SprayDiameter,
                         ::testing::Values(DiameterCase{20, SprayShape::Round}, DiameterCase{20, SprayShape::Square},
                                           DiameterCase{7, SprayShape::Round}, DiameterCase{7, SprayShape::Square}));

// d = 0: the square sets the centre (ten times), the disc nothing (0 < 0 is
// false); d = 1: both the centre only (0 < 0.2).
TEST_F(SprayTest, SmallDiametersPaintTheCentreOrNothing)
{
    const std::tuple<int, SprayShape, Dots> cases[] = {{0, SprayShape::Square, {{20, 20}}},
                                                       {0, SprayShape::Round, {}},
                                                       {1, SprayShape::Round, {{20, 20}}},
                                                       {1, SprayShape::Square, {{20, 20}}}};
    for (const auto& [d, shape, dots] : cases) {
        document.fill(kWhite);
        options.sprayDiameter = d;
        options.sprayShape = shape;
        spray.press(press(20, 20), context());
        spray.timerTick(context());
        spray.release(release(20, 20), context());
        EXPECT_EQ(dotsOf(document, kRed), dots) << d;
    }
}

// Bursts come at 64 a second from the press, whatever the rate of the ticks:
// at 100 ms the spray has painted floor(100 / 15.625) + 1 = 7 bursts.
TEST_F(SprayTest, TicksPaintTheBurstsTheElapsedTimeCallsFor)
{
    options.sprayDiameter = 20;
    spray.press(press(20, 20, ToolEvent::Right), context());
    spray.timerTick(context());
    now += 10ms;
    spray.timerTick(context()); // still the first period
    now += 90ms;
    spray.timerTick(context());
    std::uint32_t state = 0;
    const Dots expected = expectedDots(kSeed, 7, 20, true, 20, 20, &state);
    EXPECT_EQ(dotsOf(document, kBlue), expected);
    EXPECT_EQ(random.state(), state);

    spray.move(move(5, 5, ToolEvent::Right), context());
    spray.release(release(5, 5, ToolEvent::Right), context());
    now += 1s;
    EXPECT_TRUE(spray.timerTick(context()).isEmpty()) << "released";
    EXPECT_EQ(random.state(), state);
    EXPECT_EQ(host.snapshots.size(), 1u);
}

// The dots follow the pointer between ticks.
TEST_F(SprayTest, BurstsFallAroundTheLatestPointerPosition)
{
    options.sprayDiameter = 1;
    spray.press(press(3, 3), context());
    spray.timerTick(context());
    spray.move(move(30, 7), context());
    now += 20ms;
    spray.timerTick(context());
    EXPECT_EQ(dotsOf(document, kRed), (Dots{{3, 3}, {30, 7}}));
}

// A diameter that is not an integer sprays nothing, draws no number and is
// reported once per press, not at every tick.
TEST_F(SprayTest, DiameterThatIsNotANumberIsReportedOnce)
{
    options.sprayDiameter.reset();
    options.sprayDiameterText = "2O";
    spray.press(press(20, 20), context());
    for (int i = 0; i < 5; ++i) {
        now += 50ms;
        EXPECT_TRUE(spray.timerTick(context()).isEmpty());
    }
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("2O"), std::string::npos);
    EXPECT_EQ(random.state(), kSeed);
    EXPECT_TRUE(dotsOf(document, kRed).empty());
    spray.release(release(20, 20), context());
    spray.press(press(20, 20), context());
    spray.timerTick(context());
    EXPECT_EQ(host.messages.size(), 2u) << "a new press reports it again";
}

} // namespace
} // namespace px::test
