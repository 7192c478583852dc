// Every effect row of the program runs on the smallest images of every pixel
// format. Built with the sanitizers (scripts/test.sh does), any read or write
// outside the image's pixels fails the run: the slack after a bitmap's last
// row is poisoned there.
#include "effects/EffectFrame.h"
#include "registry/EffectRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace px {
namespace {

struct Size {
    int width;
    int height;
};
constexpr Size kSizes[] = {{1, 1}, {1, 17}, {17, 1}, {3, 3}};
constexpr int kDepths[] = {1, 4, 8, 24};

Bitmap noise(Size size, int depth, std::mt19937& rng)
{
    Bitmap b(size.width, size.height, depth);
    const std::size_t rowBytes = (std::size_t(size.width) * std::size_t(depth) + 7) / 8;
    for (int y = 0; y < b.height(); ++y)
        for (std::size_t i = 0; i < rowBytes; ++i)
            b.row(y)[i] = std::uint8_t(rng());
    return b;
}

// The values tried for a row: every parameter at its lowest, at its highest,
// and at a small ordinary value.
std::vector<std::vector<int>> valueSets(const EffectCommand& row)
{
    std::vector<std::vector<int>> sets(3);
    for (const EffectParameter& p : row.parameters) {
        switch (p.kind) {
        case EffectParameter::Kind::Colour:
            sets[0].push_back(0);
            sets[1].push_back(0xFFFFFF);
            sets[2].push_back(0x3080C0);
            break;
        case EffectParameter::Kind::Choice:
            sets[0].push_back(0);
            sets[1].push_back(int(p.choices.size()) - 1);
            sets[2].push_back(int(p.choices.size()) / 2);
            break;
        case EffectParameter::Kind::Integer:
            sets[0].push_back(p.minimum);
            sets[1].push_back(p.maximum);
            sets[2].push_back(std::clamp(1, p.minimum, p.maximum));
            break;
        }
    }
    return sets;
}

class EveryRow : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryRow, RunsOnTheSmallestImagesOfEveryFormat)
{
    const EffectRegistry registry = makeEffectRegistry();
    const EffectCommand* row = registry.find(GetParam());
    ASSERT_NE(row, nullptr);
    std::mt19937 rng(7);
    RandomGenerator random(3);
    const EffectContext context{.mainColour = makeColour(200, 30, 90),
                                .backgroundColour = makeColour(10, 240, 60),
                                .brushColour = kWhite,
                                .random = &random};
    EffectScratch scratch;
    for (const std::vector<int>& values : valueSets(*row)) {
        ASSERT_EQ(checkEffectValues(*row, values), "");
        for (const Size size : kSizes)
            for (const int depth : kDepths) {
                Bitmap document = noise(size, depth, rng);
                const std::string where = std::to_string(size.width) + "x" + std::to_string(size.height) + " at " +
                                          std::to_string(depth) + " bits";
                try {
                    applyEffect(*row, document, context, values, scratch);
                } catch (const EffectError&) {
                    continue; // a refused value (a divisor of 0) is a clean outcome
                }
                EXPECT_TRUE(Bitmap::isValidDepth(document.bitsPerPixel())) << where;
                EXPECT_FALSE(document.isEmpty()) << where;
            }
    }
}

std::vector<std::string> rowNames()
{
    std::vector<std::string> names;
    const EffectRegistry registry = makeEffectRegistry();
    for (const EffectCommand& row : registry.all())
        names.push_back(row.name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Registry, EveryRow, ::testing::ValuesIn(rowNames()),
                         [](const auto& info) { return info.param; });

} // namespace
} // namespace px
