#include "effects/Convolution.h"
#include "effects/EffectTestHelpers.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace px {
namespace {

using test::filled;
using test::greys;
using test::greysOf;
using test::Grid;
using test::randomImage;

struct FixedFilter {
    const char* name;
    Kernel3x3 kernel;
    int divisor;
    // One pixel (R 10, G 100, B 200): every frame pixel equals it, so each
    // channel becomes ClampByte(v * sum(K) div divisor).
    Colour onePixel;
};

class FixedFilters : public ::testing::TestWithParam<FixedFilter> {};

TEST_P(FixedFilters, OnePixelImageSeesItselfAllAroundAndUniformImagesAgree)
{
    const auto& f = GetParam();
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{5, 4}, std::pair{40, 3}}) {
        Bitmap b = filled(w, h, makeColour(10, 100, 200));
        Convolve3x3(b, f.kernel, filterDivisor(f.divisor));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(b.pixel(x, y), f.onePixel) << f.name << " " << w << "x" << h << " at " << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Menu, FixedFilters,
                         ::testing::Values(
                             // kernels summing to their divisor keep a uniform image
                             FixedFilter{"Durcir", {-1, -2, -1, -2, 28, -2, -1, -2, -1}, 16, makeColour(10, 100, 200)},
                             FixedFilter{"Adoucir", {0, 1, 0, 1, 2, 1, 0, 1, 0}, 6, makeColour(10, 100, 200)},
                             // sum 15 over 16: 150 div 16 = 9, 1500 div 16 = 93, 3000 div 16 = 187
                             FixedFilter{"AdoucirPlus", {2, 2, 2, 2, 0, 2, 2, 1, 2}, 16, makeColour(9, 93, 187)},
                             // sums 0 or below: black
                             FixedFilter{"Laplace", {-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1, kBlack},
                             FixedFilter{"Contour", {3, 3, 3, 3, -25, 3, 3, 3, 3}, 1, kBlack},
                             // a typed -1 divides by 65535: 9 * 200 is far below it
                             FixedFilter{"DivisorMinusOne", {-1, -1, -1, -1, 9, -1, -1, -1, -1}, -1, kBlack},
                             // large weights: 100000 * 10 div 1000 = 1000 -> 255; sums beyond 16 bits
                             FixedFilter{"LargeSum", {0, 0, 0, 0, 100000, 0, 0, 0, 0}, 1000, makeColour(255, 255, 255)},
                             FixedFilter{"LargeOddDivisor", {0, 0, 0, 0, 300, 0, 0, 0, 0}, 777, makeColour(3, 38, 77)}),
                         [](const auto& info) { return std::string(info.param.name); });

// Single-weight kernels move one neighbour onto each pixel, which shows the
// frame: opposite edges for the sides, the image's own corners for the
// corners of the frame.
struct Neighbour {
    const char* name;
    int tap;
    Grid expected;
};

class FramedCopy : public ::testing::TestWithParam<Neighbour> {};

TEST_P(FramedCopy, EdgesWrapAndCornersRepeatTheImageCorners)
{
    // 11 12 13
    // 21 22 23
    // 31 32 33
    Bitmap b = greys({{11, 12, 13}, {21, 22, 23}, {31, 32, 33}});
    Kernel3x3 k{};
    k[std::size_t(GetParam().tap)] = 1;
    Convolve3x3(b, k, 1);
    EXPECT_EQ(greysOf(b), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Taps, FramedCopy,
                         ::testing::Values(Neighbour{"Above", 1, {{31, 32, 33}, {11, 12, 13}, {21, 22, 23}}},
                                           Neighbour{"Below", 7, {{21, 22, 23}, {31, 32, 33}, {11, 12, 13}}},
                                           Neighbour{"Left", 3, {{13, 11, 12}, {23, 21, 22}, {33, 31, 32}}},
                                           Neighbour{"Right", 5, {{12, 13, 11}, {22, 23, 21}, {32, 33, 31}}},
                                           // frame (0,0) is image (0,0); frame row 0 is image row 2;
                                           // frame column 0 is image column 2
                                           Neighbour{"AboveLeft", 0, {{11, 31, 32}, {13, 11, 12}, {23, 21, 22}}},
                                           // frame (4,4) is image (2,2); frame row 4 is image row 0;
                                           // frame column 4 is image column 0
                                           Neighbour{"BelowRight", 8, {{22, 23, 21}, {32, 33, 31}, {12, 13, 33}}},
                                           // frame (4,0) is image (2,0); frame (0,4) is image (0,2)
                                           Neighbour{"AboveRight", 2, {{32, 33, 13}, {12, 13, 11}, {22, 23, 21}}},
                                           Neighbour{"BelowLeft", 6, {{23, 21, 22}, {33, 31, 32}, {31, 11, 12}}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Convolve3x3, DivisorZeroRaisesAndLeavesTheImage)
{
    Bitmap b = greys({{1, 2}, {3, 4}});
    const Bitmap before = b;
    EXPECT_THROW(Convolve3x3(b, {1, 1, 1, 1, 1, 1, 1, 1, 1}, filterDivisor(65536)), EffectError);
    EXPECT_TRUE(b == before);
    EXPECT_EQ(filterDivisor(-1), 65535);
    EXPECT_EQ(filterDivisor(65537), 1);
}

// The plain rule written out: frame built pixel by pixel, 32-bit wrapping
// sums, truncating division, clamp.
Bitmap referenceConvolution(const Bitmap& in, const Kernel3x3& k, int divisor)
{
    const int w = in.width(), h = in.height();
    const auto framed = [&](int fx, int fy) -> Colour {
        // fx, fy in 0..w+1, 0..h+1
        const bool left = fx == 0, right = fx == w + 1, top = fy == 0, bottom = fy == h + 1;
        if ((left || right) && (top || bottom))
            return in.pixel(left ? 0 : w - 1, top ? 0 : h - 1);
        if (top)
            return in.pixel(fx - 1, h - 1);
        if (bottom)
            return in.pixel(fx - 1, 0);
        if (left)
            return in.pixel(w - 1, fy - 1);
        if (right)
            return in.pixel(0, fy - 1);
        return in.pixel(fx - 1, fy - 1);
    };
    Bitmap out(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int channel[3];
            for (int c = 0; c < 3; ++c) {
                std::uint32_t sum = 0;
                for (int i = 0; i < 9; ++i) {
                    const Colour p = framed(x + i % 3, y + i / 3);
                    const int v = c == 0 ? redOf(p) : c == 1 ? greenOf(p) : blueOf(p);
                    sum += std::uint32_t(k[std::size_t(i)]) * std::uint32_t(v);
                }
                channel[c] = ClampByte(std::int32_t(sum) / divisor);
            }
            out.setPixel(x, y, makeColour(channel[0], channel[1], channel[2]));
        }
    return out;
}

struct KernelFamily {
    const char* name;
    int low, high; // weight range
    std::vector<int> divisors;
};

class FastPaths : public ::testing::TestWithParam<KernelFamily> {};

TEST_P(FastPaths, EqualThePlainRuleOnRandomImagesAndBothThreadCountsAgree)
{
    const auto& family = GetParam();
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> weight(family.low, family.high);
    for (int round = -2; round < 6; ++round) {
        // 1 x 1 and 2 x 2 images, then widths around the vector sizes, so
        // row tails are exercised
        const int w = round < 0 ? round + 3 : 1 + round * 13, h = round < 0 ? round + 3 : 2 + round * 7;
        const Bitmap source = randomImage(rng, w, h);
        for (int divisor : family.divisors) {
            Kernel3x3 k;
            for (auto& v : k)
                v = weight(rng);
            const Bitmap expected = referenceConvolution(source, k, divisor);
            Bitmap one = source, two = source;
            Convolve3x3(one, k, std::uint16_t(divisor), 1);
            Convolve3x3(two, k, std::uint16_t(divisor), 2);
            ASSERT_TRUE(one == expected) << test::dumpMismatch(std::string("conv_") + family.name, one, expected)
                                         << " divisor " << divisor;
            ASSERT_TRUE(two == one) << "two threads, divisor " << divisor;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kernels, FastPaths,
    ::testing::Values(KernelFamily{"SmallSigned", -4, 4, {1, 2, 4, 16, 3, 6, 7, 9, 32, 255, 1000, 65535}},
                      KernelFamily{"SmallPositive", 0, 14, {1, 8, 9, 13, 15, 64, 127, 129}},
                      KernelFamily{"Sixteen", -14, 14, {1, 3, 5, 11, 17, 256, 4097, 32767}},
                      // byte weights whose sums still fit 16 bits
                      KernelFamily{"Bytes", -128, 127, {1, 2, 5, 8, 100, 254, 255, 8191}},
                      // 16-bit weights: 32-bit sums; divisors below and above the
                      // range where a float reciprocal alone divides exactly
                      KernelFamily{"Large", -3000, 3000, {1, 2, 3, 7, 100, 999, 21845, 21847, 32768, 65535}},
                      KernelFamily{"Halves", -32768, 32767, {1, 6, 777, 4096, 30000, 65521}},
                      // beyond 16 bits, sums that do or do not wrap at 32 bits
                      KernelFamily{"BeyondSixteenBits", -200000, 200000, {1, 9, 777, 25000, 65535}},
                      KernelFamily{"Huge", -2000000000, 2000000000, {1, 3, 65535}}),
    [](const auto& info) { return std::string(info.param.name); });

// One row holding every byte value in all three channels, filtered by the
// centre tap alone: channel v gets v * weight div divisor, so weights next to
// the divisor put sums on both sides of every multiple of it.
class DivisionBoundaries : public ::testing::TestWithParam<int> {};

TEST_P(DivisionBoundaries, SumsNextToMultiplesOfTheDivisorTruncate)
{
    const int d = GetParam();
    Bitmap b(256, 1, 24);
    for (int v = 0; v < 256; ++v)
        b.setPixel(v, 0, makeColour(v, v, v));
    const struct {
        int weight;
        bool onlyBelowDivisor; // the form of the sum holds while v < d
        int (*quotient)(int v);
    } cases[] = {
        {d - 1, true, [](int v) { return v == 0 ? 0 : v - 1; }},         // v d - v
        {d, false, [](int v) { return v; }},                             // v d
        {d + 1, true, [](int v) { return v; }},                          // v d + v
        {2 * d - 1, true, [](int v) { return v == 0 ? 0 : 2 * v - 1; }}, // 2 v d - v
        {-d, false, [](int) { return 0; }},                              // - v d
    };
    for (const auto& c : cases) {
        if (c.weight == 0)
            continue;
        Bitmap out = b;
        Convolve3x3(out, {0, 0, 0, 0, c.weight, 0, 0, 0, 0}, std::uint16_t(d));
        for (int v = 0; v < 256; ++v) {
            if (c.onlyBelowDivisor && v >= d)
                continue;
            const int q = std::min(255, c.quotient(v));
            ASSERT_EQ(out.pixel(v, 0), makeColour(q, q, q)) << "divisor " << d << " weight " << c.weight << " v " << v;
        }
    }
}

TEST_P(DivisionBoundaries, SumsOneBelowAMultipleOfTheDivisorTruncateDown)
{
    // Kernel: d on the pixel, -1 on its right neighbour. Pixels alternate
    // between v (248..255) and 1, so a v pixel sums v d - 1 and becomes v - 1,
    // and a 1 pixel sums d - v and becomes 0 (below one, or negative). The
    // width, 276 pixels, leaves rows ending after the widest vectors.
    const int d = GetParam();
    const int w = 276;
    Bitmap b(w, 1, 24);
    for (int x = 0; x < w; ++x) {
        const int v = x % 2 == 0 ? 255 - (x / 2) % 8 : 1;
        b.setPixel(x, 0, makeColour(v, v, v));
    }
    Convolve3x3(b, {0, 0, 0, 0, d, -1, 0, 0, 0}, std::uint16_t(d));
    for (int x = 0; x < w; ++x) {
        const int q = x % 2 == 0 ? 254 - (x / 2) % 8 : 0;
        ASSERT_EQ(b.pixel(x, 0), makeColour(q, q, q)) << "divisor " << d << " x " << x;
    }
}

INSTANTIATE_TEST_SUITE_P(Divisors, DivisionBoundaries,
                         ::testing::Values(1, 2, 3, 7, 255, 256, 777, 4097, 21845, 21846, 40000, 65521, 65535));

TEST(Emboss, UniformImagesOfAnySizeBecomeGrey125)
{
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{5, 3}}) {
        const Bitmap source = filled(w, h, makeColour(10, 200, 77));
        Bitmap work(w, h, 24);
        EmbossImage(source, work);
        EXPECT_TRUE(work == filled(w, h, makeColour(125, 125, 125))) << w;
    }
}

TEST(Emboss, EachPixelComparesTheOneTwoRightAndTwoDownWrapping)
{
    // 3 x 3: (u, v) gets 125 + src((u+2) mod 3, (v+2) mod 3) - src(u, v)
    const Bitmap source = greys({{0, 10, 20}, {30, 40, 50}, {60, 70, 200}});
    Bitmap work(3, 3, 24);
    EmbossImage(source, work);
    EXPECT_EQ(greysOf(work), (Grid{{255 /* 125 + 200 - 0 */, 125 + 60 - 10, 125 + 70 - 20},
                                   {125 + 20 - 30, 125 + 0 - 40, 125 + 10 - 50},
                                   {125 + 50 - 60, 125 + 30 - 70, 0 /* 125 + 40 - 200 */}}));
}

} // namespace
} // namespace px
