#include "effects/ColourAdjustments.h"
#include "effects/EffectTestHelpers.h"
#include "effects/HsvColour.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace px {
namespace {

using test::filled;
using test::randomImage;

// Every byte value at least once, in rows of odd width so that vector
// loops leave tails.
Bitmap allBytes()
{
    Bitmap b(101, 7, 24);
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width() * 3; ++x)
            b.row(y)[x] = std::uint8_t(x * 7 + y * 31);
    return b;
}

// Every stored byte of `out` must be rule(the same byte of `in`).
template <typename Rule> void expectBytewise(const Bitmap& in, const Bitmap& out, Rule rule)
{
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width() * 3; ++x)
            ASSERT_EQ(out.row(y)[x], rule(in.row(y)[x])) << "byte " << x << " of row " << y;
}

struct TableCase {
    const char* name;
    ByteTable (*table)(int);
    int amount;
    std::vector<std::pair<int, int>> points; // k -> result
};

class PointTables : public ::testing::TestWithParam<TableCase> {};

TEST_P(PointTables, GiveTheHandComputedValues)
{
    const auto& c = GetParam();
    const ByteTable t = c.table(c.amount);
    for (const auto& [k, v] : c.points)
        EXPECT_EQ(int(t[std::size_t(k)]), v) << c.name << " k=" << k;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PointTables,
    ::testing::Values(
        // 100 + 155 * 50 div 255 = 130; 255 turns everything white
        TableCase{"Luminosite50", luminositeTable, 50, {{0, 50}, {100, 130}, {255, 255}}},
        TableCase{"Luminosite255", luminositeTable, 255, {{0, 255}, {1, 255}, {128, 255}}},
        // 200 - 200 * 50 div 255 = 161
        TableCase{"Eclipse50", eclipseTable, 50, {{0, 0}, {200, 161}, {255, 205}}},
        TableCase{"Eclipse255", eclipseTable, 255, {{1, 0}, {128, 0}, {255, 0}}},
        // d = |k - 127| * 50 div 255: k=100: 5 -> 95; k=200: 14 -> 214; k=0: 24 -> 0
        TableCase{"Contraste50", contrasteTable, 50, {{0, 0}, {100, 95}, {127, 127}, {128, 128}, {200, 214}}},
        // ClampByte(2k - 127)
        TableCase{"Contraste255",
                  contrasteTable,
                  255,
                  {{0, 0}, {63, 0}, {64, 1}, {127, 127}, {128, 129}, {190, 253}, {191, 255}, {255, 255}}},
        // round(sin(k / 255 * pi / 2) * 255): k=128: sin(0.78847) = 0.70927 -> 180.86 -> 181
        TableCase{"Eclaircir1", eclaircirTable, 1, {{0, 0}, {1, 2}, {128, 181}, {255, 255}}},
        // twice: 181 -> sin(1.11497) * 255 = 228.5..; k=1 -> 2 -> 3
        TableCase{"Eclaircir2", eclaircirTable, 2, {{0, 0}, {1, 3}, {255, 255}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PointRules, FastPathsEqualTheirTablesForEveryAmount)
{
    const Bitmap source = allBytes();
    using Routine = void (*)(Bitmap&, int, int);
    const std::pair<Routine, ByteTable (*)(int)> rules[] = {
        {Luminosite, luminositeTable}, {Contraste, contrasteTable}, {Eclipse, eclipseTable}};
    for (const auto& [routine, table] : rules)
        for (int amount = 0; amount <= 600; amount += amount < 260 ? 1 : 37) {
            Bitmap fast = source;
            routine(fast, amount, 1);
            const ByteTable t = table(amount);
            SCOPED_TRACE(amount);
            expectBytewise(source, fast, [&](int v) { return t[std::size_t(v)]; });
        }
}

TEST(PointRules, ByteTablesOfAnyShapeAreLookedUpExactly)
{
    const Bitmap source = allBytes();
    std::mt19937 rng(8);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2; ++round) {
        ByteTable t;
        for (auto& v : t)
            v = std::uint8_t(byte(rng));
        for (int threads : {1, 2}) {
            Bitmap b = source;
            applyByteTable(b, t, threads);
            expectBytewise(source, b, [&](int v) { return t[std::size_t(v)]; });
        }
    }
    Bitmap twice = source;
    Eclaircir(twice, 2);
    const ByteTable two = eclaircirTable(2);
    EXPECT_EQ(twice.row(3)[50], two[source.row(3)[50]]);
}

// Saturation written out per pixel.
Bitmap referenceSaturation(const Bitmap& in, int a)
{
    Bitmap out = in;
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x) {
            std::uint8_t* p = out.row(y) + x * 3;
            const int m = (p[0] + p[1] + p[2]) / 3;
            for (int c = 0; c < 3; ++c)
                p[c] = ClampByte(m + (p[c] - m) * a / 255);
        }
    return out;
}

TEST(Saturation, FullAmountKeepsAndZeroGreysWithTheTruncatedMean)
{
    // (10, 20, 201): m = 231 div 3 = 77. At 100: R 77 + (-67 * 100 div 255 = -26) = 51;
    // G 77 - 22 = 55; B 77 + 48 = 125
    const std::tuple<int, Colour, Colour> cases[] = {{255, makeColour(10, 20, 200), makeColour(10, 20, 200)},
                                                     {0, makeColour(10, 20, 201), makeColour(77, 77, 77)},
                                                     {100, makeColour(10, 20, 201), makeColour(51, 55, 125)}};
    for (const auto& [amount, in, out] : cases) {
        Bitmap b = filled(1, 1, in);
        Saturation(b, amount);
        EXPECT_EQ(b.pixel(0, 0), out) << amount;
    }
}

TEST(Saturation, FastPathEqualsThePlainRuleAndThreadsAgree)
{
    std::mt19937 rng(99);
    for (int w : {1, 2, 17, 18, 33, 67, 200}) {
        const Bitmap source = randomImage(rng, w, 40);
        for (int a : {0, 1, 50, 100, 127, 200, 254, 255, 256, 257, 300, 1000}) {
            Bitmap one = source, two = source;
            Saturation(one, a, 1);
            Saturation(two, a, 2);
            const Bitmap expected = referenceSaturation(source, a);
            ASSERT_TRUE(one == expected) << test::dumpMismatch("saturation", one, expected) << " a=" << a;
            ASSERT_TRUE(two == one);
        }
    }
}

TEST(Negative, InvertsEveryByte)
{
    const Bitmap source = allBytes();
    Bitmap b = source;
    Negative(b, 2);
    expectBytewise(source, b, [](int v) { return 255 - v; });
}

TEST(AjusterRVB, OffsetsEachChannelWithinTheByteRange)
{
    Bitmap b = filled(1, 1, makeColour(250, 10, 128));
    AjusterRVB(b, 10, -20, 0); // red 260 -> 255, green -10 -> 0, blue unchanged
    EXPECT_EQ(b.pixel(0, 0), makeColour(255, 0, 128));
    std::mt19937 rng(5);
    const Bitmap source = randomImage(rng, 77, 3);
    for (const auto& [r, g, bl] : {std::tuple{255, -255, 3}, std::tuple{-1, 0, 1}, std::tuple{0, 0, 0}}) {
        Bitmap fast = source;
        AjusterRVB(fast, r, g, bl, 2);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 77; ++x) {
                const Colour s = source.pixel(x, y);
                ASSERT_EQ(fast.pixel(x, y),
                          makeColour(ClampByte(redOf(s) + r), ClampByte(greenOf(s) + g), ClampByte(blueOf(s) + bl)));
            }
    }
}

TEST(DeuxCouleurs, KeepsOnlyValuesTwoToNinetyNineOfTheChosenChannel)
{
    const struct {
        KeptChannel channel;
        int value;
        bool lit;
    } cases[] = {{KeptChannel::Blue, 1, false},    {KeptChannel::Blue, 2, true}, {KeptChannel::Blue, 99, true},
                 {KeptChannel::Blue, 100, false},  {KeptChannel::Red, 0, false}, {KeptChannel::Red, 50, true},
                 {KeptChannel::Green, 255, false}, {KeptChannel::Green, 2, true}};
    for (const auto& c : cases) {
        // The other channels hold 50, inside the range, and must still become
        // 0; a long row reaches the vector path.
        const auto pick = [&](KeptChannel k, int v) { return c.channel == k ? v : 50; };
        Bitmap b = test::filled(70, 1,
                                makeColour(pick(KeptChannel::Red, c.value), pick(KeptChannel::Green, c.value),
                                           pick(KeptChannel::Blue, c.value)));
        DeuxCouleurs(b, c.channel);
        const int v = c.lit ? 255 : 0;
        const auto only = [&](KeptChannel k) { return c.channel == k ? v : 0; };
        const Colour expected = makeColour(only(KeptChannel::Red), only(KeptChannel::Green), only(KeptChannel::Blue));
        for (int x = 0; x < 70; ++x)
            ASSERT_EQ(b.pixel(x, 0), expected) << c.value << " at " << x;
    }
}

TEST(Cycle, WhiteBecomesBlackAndBlue128SpreadsAndWideImagesFollowTheValueRule)
{
    EXPECT_EQ(cycleColourValue(0xFFFFFF) & 0xFFFFFF, 0u);
    EXPECT_EQ(cycleColourValue(0), 0u);
    Bitmap b = test::fromAscii({".#b"}, {{'b', makeColour(0, 0, 128)}});
    Cycle(b);
    EXPECT_EQ(test::toAscii(b, {{'b', makeColour(2, 2, 0)}}), "##b\n");
    std::mt19937 rng(11);
    const Bitmap source = randomImage(rng, 300, 3);
    Bitmap wide = source;
    Cycle(wide, 2);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 300; ++x) {
            const Colour s = source.pixel(x, y);
            const std::uint32_t v =
                cycleColourValue(std::uint32_t(blueOf(s)) << 16 | std::uint32_t(greenOf(s)) << 8 | redOf(s));
            ASSERT_EQ(wide.pixel(x, y), makeColour(int(v & 255), int(v >> 8 & 255), int(v >> 16 & 255)));
        }
}

TEST(Bruit, AmountZeroLeavesTheImageButUsesOneDrawPerPixel)
{
    std::mt19937 rng(1);
    const Bitmap source = randomImage(rng, 4, 3);
    Bitmap b = source;
    RandomGenerator random(777);
    Bruit(b, 0, random);
    EXPECT_TRUE(b == source);
    EXPECT_EQ(random.state(), RandomGenerator::stateAfter(777, 12));
}

TEST(Bruit, OneOffsetPerPixelInRowOrderAndThreadsAgree)
{
    std::mt19937 rng(2);
    const Bitmap source = randomImage(rng, 9, 40);
    RandomGenerator expectedDraws(4242);
    Bitmap expected = source;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 9; ++x) {
            const int r = int(expectedDraws.next(50)) - 25;
            std::uint8_t* p = expected.row(y) + x * 3;
            for (int c = 0; c < 3; ++c)
                p[c] = ClampByte(p[c] + r);
        }
    for (int threads : {1, 2}) {
        Bitmap b = source;
        RandomGenerator random(4242);
        Bruit(b, 50, random, threads);
        EXPECT_TRUE(b == expected) << threads;
        EXPECT_EQ(random.state(), expectedDraws.state());
    }
}

TEST(BruitCouleur, OneDrawPerByteInBlueGreenRedOrderAndThreadsAgree)
{
    std::mt19937 rng(4);
    const Bitmap wide = randomImage(rng, 13, 3);
    Bitmap expected = wide;
    RandomGenerator sequence(77);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 13 * 3; ++x) // bytes are stored blue, green, red
            expected.row(y)[x] = ClampByte(expected.row(y)[x] + int(sequence.next(100)) - 50);
    Bitmap actual = wide;
    RandomGenerator drawn(77);
    BruitCouleur(actual, 100, drawn);
    EXPECT_TRUE(actual == expected);
    EXPECT_EQ(drawn.state(), sequence.state());
    const Bitmap source = randomImage(rng, 7, 50);
    Bitmap one = source, two = source;
    RandomGenerator r1(5), r2(5);
    BruitCouleur(one, 100, r1, 1);
    BruitCouleur(two, 100, r2, 2);
    EXPECT_TRUE(one == two);
    EXPECT_EQ(r1.state(), r2.state());
}

TEST(Teinte, ShadesTheTintByTheBrightestChannel)
{
    // f = 128/255 for the middle pixel: 100.39 -> 100, 50.20 -> 50, 25.10 -> 25
    Bitmap b = test::fromAscii({"gm#"}, {{'g', makeColour(0, 255, 3)}, {'m', makeColour(128, 5, 60)}});
    Teinte(b, makeColour(200, 100, 50));
    EXPECT_EQ(test::toAscii(b, {{'t', makeColour(200, 100, 50)}, {'s', makeColour(100, 50, 25)}}), "ts#\n");
}

TEST(Hsv, IntegerRoundTripRules)
{
    const Hsv red = rgbToHsv(255, 0, 0);
    EXPECT_EQ(red.h, 360); // hue 0 gets 360
    EXPECT_EQ(rgbToHsv(0, 255, 0).h, 120);
    EXPECT_EQ(rgbToHsv(0, 0, 255).h, 240);
    EXPECT_EQ(rgbToHsv(255, 128, 0).h, 30); // 128 * 60 div 255
    EXPECT_EQ(rgbToHsv(90, 90, 90).s, 0);
    EXPECT_EQ(rgbToHsv(90, 90, 90).h, 0);
    EXPECT_EQ(rgbToHsv(100, 50, 0).s, 255);
    EXPECT_EQ(hsvToRgb({120, 255, 255}), makeColour(0, 255, 0));
    EXPECT_EQ(hsvToRgb({360, 255, 200}), makeColour(200, 0, 0));
    // h 30: f 30, p 0, t = 200 - 30*200*255 div 15300 = 100
    EXPECT_EQ(hsvToRgb({30, 255, 200}), makeColour(200, 100, 0));
    EXPECT_EQ(hsvToRgb({0, 255, 200}), makeColour(200, 200, 200));
}

TEST(Colorisation, GreyColourGreysByValueAndRedMovesHuesToZero)
{
    const Bitmap b = test::fromAscii({"bg"}, {{'b', makeColour(0, 0, 200)}, {'g', makeColour(30, 90, 60)}});
    Bitmap grey = b, red = b, orange = b;
    Colorisation(grey, makeColour(128, 128, 128));
    EXPECT_EQ(grey.pixel(0, 0), makeColour(200, 200, 200));
    EXPECT_EQ(grey.pixel(1, 0), makeColour(90, 90, 90));
    Colorisation(red, makeColour(255, 0, 0));
    EXPECT_EQ(red.pixel(0, 0), makeColour(200, 0, 0));
    // V 90, delta 60, S = 60*255 div 90 = 170, sector 0 f 0: p = 90 - 90*170 div 255 = 30,
    // t = 90 - 60*90*170 div 15300 = 30
    EXPECT_EQ(red.pixel(1, 0), makeColour(90, 30, 30));
    Colorisation(orange, makeColour(255, 128, 0));
    EXPECT_EQ(orange.pixel(0, 0), makeColour(200, 100, 0));
}

TEST(ChangerCouleur, ReplacesExactMatchesOnlyAndKeepsIndexedImagesIndexed)
{
    Bitmap b = test::fromAscii({"aba"}, {{'a', makeColour(1, 2, 3)}, {'b', makeColour(1, 2, 4)}});
    ChangerCouleur(b, makeColour(1, 2, 3), kWhite);
    EXPECT_EQ(test::toAscii(b, {{'b', makeColour(1, 2, 4)}}), ".b.\n");
    Bitmap indexed(2, 1, 1); // black, black
    indexed.setPixelIndex(1, 0, 1);
    ChangerCouleur(indexed, kBlack, kWhite);
    EXPECT_EQ(indexed.bitsPerPixel(), 1);
    EXPECT_EQ(indexed.pixel(0, 0), kWhite);
    EXPECT_EQ(indexed.pixel(1, 0), kWhite);
}

} // namespace
} // namespace px
