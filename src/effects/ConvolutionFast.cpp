#include "effects/ConvolutionFast.h"

#include "graphics/Colour.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>

namespace px::convolution {

namespace {

// Smallest float whose exact value is at least 1 / divisor.
float reciprocalRoundedUp(int divisor)
{
    float r = 1.0f / float(divisor);
    while (double(r) * divisor < 1.0)
        r = std::nextafter(r, 2.0f);
    return r;
}

} // namespace

bool floatDivisionIsExact(int divisor, float reciprocal)
{
    // float(s) * reciprocal rounds to nearest, so it grows with s and is
    // never below the integer k when s = k * divisor (reciprocal >= 1 /
    // divisor, k exact). Each interval [k * d, (k + 1) * d - 1] is therefore
    // right when its last sum still truncates to k.
    for (std::int64_t k = 0; k < 256; ++k) {
        const std::int64_t first = k * divisor, last = first + divisor - 1;
        if (double(reciprocal) * divisor < 1.0 || std::int64_t(float(first) * reciprocal) != k ||
            std::int64_t(float(last) * reciprocal) != k)
            return false;
    }
    return true;
}

Plan makePlan(const Kernel3x3& kernel, std::uint16_t divisor)
{
    Plan plan;
    plan.divisor = divisor;
    std::int64_t highest = 0, lowest = 0;
    bool bytes = true, halves = true;
    for (int i = 0; i < 9; ++i) {
        const int w = kernel[std::size_t(i)];
        if (w == 0)
            continue;
        plan.taps[plan.tapCount++] = Tap{i / 3, (i % 3) * 3, w};
        (w > 0 ? highest : lowest) += std::int64_t(w) * 255;
        bytes = bytes && w >= -128 && w <= 127;
        halves = halves && w >= -32768 && w <= 32767;
    }
    // Sums wrap at 32 bits; the bounds below only hold when they do not.
    const bool exact32 = highest <= INT32_MAX && lowest >= INT32_MIN;
    plan.limit32 = int(std::min<std::int64_t>(std::int64_t(divisor) * 256 - 1, INT32_MAX));
    plan.reciprocal32 = reciprocalRoundedUp(divisor);
    plan.reciprocalExact = floatDivisionIsExact(divisor, plan.reciprocal32);
    plan.highWeights = !halves;
    if (exact32 && highest <= 0) {
        plan.path = Plan::Path::Zero; // every sum is <= 0: every channel becomes 0
        return plan;
    }
    if (!exact32 || highest > 32767 || lowest < -32768) {
        plan.path = Plan::Path::Pairs32;
        return plan;
    }
    // Any subset of the taps sums within [lowest, highest], so 16-bit
    // partial sums (pairs of byte products included) never saturate or wrap.
    plan.path = Plan::Path::Lanes16;
    plan.byteWeights = bytes;
    const int top = int(highest); // largest reachable sum; negatives all give 0
    if (divisor == 1) {
        plan.division = Plan::Division::None;
        return plan;
    }
    if ((divisor & (divisor - 1)) == 0) {
        plan.division = Plan::Division::Shift;
        plan.shift = std::countr_zero(unsigned(divisor));
        return plan;
    }
    for (int shift = 0; shift < 16; ++shift) {
        const std::uint64_t m = ((std::uint64_t(1) << (16 + shift)) + divisor - 1) / divisor;
        if (m > 0xFFFF)
            break;
        bool exact = true;
        for (int s = 0; s <= top && exact; ++s)
            exact = int(((std::uint32_t(s) * std::uint32_t(m)) >> 16) >> shift) == s / int(divisor);
        if (exact) {
            plan.division = Plan::Division::Multiply;
            plan.multiplier = std::uint16_t(m);
            plan.shift = shift;
            return plan;
        }
    }
    plan.path = Plan::Path::Pairs32;
    return plan;
}

void convolveRowPlain(const Plan& plan, const std::uint8_t* above, const std::uint8_t* own, const std::uint8_t* below,
                      std::uint8_t* out, int first, int bytes)
{
    const std::uint8_t* rows[3] = {above, own, below};
    for (int i = first; i < bytes; ++i) {
        std::uint32_t sum = 0;
        for (int t = 0; t < plan.tapCount; ++t)
            sum += std::uint32_t(plan.taps[t].weight) * rows[plan.taps[t].row][i + plan.taps[t].shift];
        out[i] = ClampByte(std::int32_t(sum) / plan.divisor);
    }
}

void convolveRow(const Plan& plan, const std::uint8_t* above, const std::uint8_t* own, const std::uint8_t* below,
                 std::uint8_t* out, int bytes)
{
    if (plan.path == Plan::Path::Zero) {
        std::fill(out, out + bytes, std::uint8_t(0));
        return;
    }
    const std::uint8_t* src[3] = {above, own, below};
    const int done =
        plan.path == Plan::Path::Lanes16 ? rowPrefix16(plan, src, out, bytes) : rowPrefix32(plan, src, out, bytes);
    convolveRowPlain(plan, above, own, below, out, done, bytes);
}

} // namespace px::convolution
