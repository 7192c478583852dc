#include "effects/ConvolutionFast.h"

#include "graphics/Colour.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace px::convolution {

Plan makePlan(const Kernel3x3& kernel, std::uint16_t divisor)
{
    Plan plan;
    plan.divisor = divisor;
    std::int64_t highest = 0, lowest = 0;
    for (int i = 0; i < 9; ++i) {
        if (kernel[std::size_t(i)] == 0)
            continue;
        plan.taps[plan.tapCount++] = Tap{i / 3, (i % 3) * 3, kernel[std::size_t(i)]};
        (kernel[std::size_t(i)] > 0 ? highest : lowest) += std::int64_t(kernel[std::size_t(i)]) * 255;
    }
    // Sums wrap at 32 bits; the bounds below only hold when they do not.
    const bool exact32 = highest <= INT32_MAX && lowest >= INT32_MIN;
    plan.limit32 = int(std::min<std::int64_t>(std::int64_t(divisor) * 256 - 1, INT32_MAX));
    plan.reciprocal32 = 1.0f / float(divisor);
    if (exact32 && highest <= 0) {
        plan.path = Plan::Path::Zero; // every sum is <= 0: every channel becomes 0
        return plan;
    }
    if (!exact32 || highest > 32767 || lowest < -32768) {
        bool pairs = exact32;
        for (int t = 0; t < plan.tapCount; ++t)
            pairs = pairs && plan.taps[t].weight >= -32768 && plan.taps[t].weight <= 32767;
        plan.path = pairs ? Plan::Path::Pairs32 : Plan::Path::Lanes32;
        return plan;
    }
    plan.path = Plan::Path::Lanes16;
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
    plan.path = Plan::Path::Lanes32;
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

#if defined(__x86_64__)
namespace {

template <Plan::Division D>
__attribute__((target("avx2"))) int rows16Avx2(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out,
                                               int bytes)
{
    __m256i weight[9];
    const std::uint8_t* from[9];
    const int n = plan.tapCount;
    for (int t = 0; t < n; ++t) {
        weight[t] = _mm256_set1_epi16(std::int16_t(plan.taps[t].weight));
        from[t] = src[plan.taps[t].row] + plan.taps[t].shift;
    }
    const __m256i zero = _mm256_setzero_si256();
    const __m256i mul = _mm256_set1_epi16(std::int16_t(plan.multiplier));
    const __m128i shift = _mm_cvtsi32_si128(plan.shift);
    int i = 0;
    for (; i + 32 <= bytes; i += 32) {
        __m256i lo = zero, hi = zero;
        for (int t = 0; t < n; ++t) {
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from[t] + i));
            lo = _mm256_add_epi16(lo, _mm256_mullo_epi16(_mm256_unpacklo_epi8(v, zero), weight[t]));
            hi = _mm256_add_epi16(hi, _mm256_mullo_epi16(_mm256_unpackhi_epi8(v, zero), weight[t]));
        }
        lo = _mm256_max_epi16(lo, zero);
        hi = _mm256_max_epi16(hi, zero);
        if constexpr (D == Plan::Division::Shift) {
            lo = _mm256_srl_epi16(lo, shift);
            hi = _mm256_srl_epi16(hi, shift);
        } else if constexpr (D == Plan::Division::Multiply) {
            lo = _mm256_srl_epi16(_mm256_mulhi_epu16(lo, mul), shift);
            hi = _mm256_srl_epi16(_mm256_mulhi_epu16(hi, mul), shift);
        }
        // unpack and pack both work within 128-bit halves, so the bytes
        // come back in their original order.
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_packus_epi16(lo, hi));
    }
    return i;
}

template <Plan::Division D>
int rows16Sse2(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out, int bytes)
{
    const std::uint8_t* from[9];
    const int n = plan.tapCount;
    for (int t = 0; t < n; ++t)
        from[t] = src[plan.taps[t].row] + plan.taps[t].shift;
    const __m128i zero = _mm_setzero_si128();
    const __m128i mul = _mm_set1_epi16(std::int16_t(plan.multiplier));
    const __m128i shift = _mm_cvtsi32_si128(plan.shift);
    int i = 0;
    for (; i + 16 <= bytes; i += 16) {
        __m128i lo = zero, hi = zero;
        for (int t = 0; t < n; ++t) {
            const __m128i w = _mm_set1_epi16(std::int16_t(plan.taps[t].weight));
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from[t] + i));
            lo = _mm_add_epi16(lo, _mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), w));
            hi = _mm_add_epi16(hi, _mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), w));
        }
        lo = _mm_max_epi16(lo, zero);
        hi = _mm_max_epi16(hi, zero);
        if constexpr (D == Plan::Division::Shift) {
            lo = _mm_srl_epi16(lo, shift);
            hi = _mm_srl_epi16(hi, shift);
        } else if constexpr (D == Plan::Division::Multiply) {
            lo = _mm_srl_epi16(_mm_mulhi_epu16(lo, mul), shift);
            hi = _mm_srl_epi16(_mm_mulhi_epu16(hi, mul), shift);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
    }
    return i;
}

// Eight sums of 32 bits, clamped to 0..limit (below 2^24), divided exactly:
// a float estimate is off by at most one and is corrected with the
// remainder.
__attribute__((target("avx2"))) inline __m256i divide32(__m256i s, __m256i limit, __m256i divisor, __m256 reciprocal)
{
    s = _mm256_min_epi32(_mm256_max_epi32(s, _mm256_setzero_si256()), limit);
    __m256i q = _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_cvtepi32_ps(s), reciprocal));
    const __m256i r = _mm256_sub_epi32(s, _mm256_mullo_epi32(q, divisor));
    q = _mm256_add_epi32(q, _mm256_srai_epi32(r, 31)); // r < 0: one too many
    return _mm256_sub_epi32(q, _mm256_cmpgt_epi32(r, _mm256_sub_epi32(divisor, _mm256_set1_epi32(1)))); // r >= d
}

__attribute__((target("avx2"))) int rows32Avx2(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out,
                                               int bytes)
{
    __m256i weight[9];
    const std::uint8_t* from[9];
    const int n = plan.tapCount;
    for (int t = 0; t < n; ++t) {
        weight[t] = _mm256_set1_epi32(plan.taps[t].weight);
        from[t] = src[plan.taps[t].row] + plan.taps[t].shift;
    }
    const __m256i limit = _mm256_set1_epi32(plan.limit32);
    const __m256i divisor = _mm256_set1_epi32(plan.divisor);
    const __m256 reciprocal = _mm256_set1_ps(plan.reciprocal32);
    int i = 0;
    for (; i + 16 <= bytes; i += 16) {
        __m256i s0 = _mm256_setzero_si256(), s1 = _mm256_setzero_si256();
        for (int t = 0; t < n; ++t) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from[t] + i));
            s0 = _mm256_add_epi32(s0, _mm256_mullo_epi32(_mm256_cvtepu8_epi32(v), weight[t]));
            s1 = _mm256_add_epi32(s1, _mm256_mullo_epi32(_mm256_cvtepu8_epi32(_mm_srli_si128(v, 8)), weight[t]));
        }
        const __m256i q0 = divide32(s0, limit, divisor, reciprocal);
        const __m256i q1 = divide32(s1, limit, divisor, reciprocal);
        const __m128i w0 = _mm_packus_epi32(_mm256_castsi256_si128(q0), _mm256_extracti128_si256(q0, 1));
        const __m128i w1 = _mm_packus_epi32(_mm256_castsi256_si128(q1), _mm256_extracti128_si256(q1, 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(w0, w1));
    }
    return i;
}

__attribute__((target("avx2"))) int pairs32Avx2(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out,
                                                int bytes)
{
    __m256i weight[5];
    const std::uint8_t* fromA[5];
    const std::uint8_t* fromB[5];
    const int n = plan.tapCount, pairs = (n + 1) / 2;
    for (int p = 0; p < pairs; ++p) {
        const Tap& a = plan.taps[2 * p];
        const bool single = 2 * p + 1 >= n;
        const Tap& b = single ? a : plan.taps[2 * p + 1];
        // unpacklo/hi_epi16(A, B) puts A in the low word of each pair
        const std::uint32_t wa = std::uint16_t(a.weight), wb = single ? 0u : std::uint16_t(b.weight);
        weight[p] = _mm256_set1_epi32(int(wa | wb << 16));
        fromA[p] = src[a.row] + a.shift;
        fromB[p] = src[b.row] + b.shift;
    }
    const __m256i limit = _mm256_set1_epi32(plan.limit32);
    const __m256i divisor = _mm256_set1_epi32(plan.divisor);
    const __m256 reciprocal = _mm256_set1_ps(plan.reciprocal32);
    int i = 0;
    for (; i + 16 <= bytes; i += 16) {
        __m256i lo = _mm256_setzero_si256(), hi = _mm256_setzero_si256();
        for (int p = 0; p < pairs; ++p) {
            const __m256i a = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(fromA[p] + i)));
            const __m256i b = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(fromB[p] + i)));
            lo = _mm256_add_epi32(lo, _mm256_madd_epi16(_mm256_unpacklo_epi16(a, b), weight[p]));
            hi = _mm256_add_epi32(hi, _mm256_madd_epi16(_mm256_unpackhi_epi16(a, b), weight[p]));
        }
        // lo holds bytes 0-3 and 8-11, hi bytes 4-7 and 12-15: packing the
        // two within each half restores the order.
        const __m256i words =
            _mm256_packus_epi32(divide32(lo, limit, divisor, reciprocal), divide32(hi, limit, divisor, reciprocal));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1)));
    }
    return i;
}

bool hasAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

} // namespace
#endif

void convolveRow(const Plan& plan, const std::uint8_t* above, const std::uint8_t* own, const std::uint8_t* below,
                 std::uint8_t* out, int bytes)
{
    if (plan.path == Plan::Path::Zero) {
        std::fill(out, out + bytes, std::uint8_t(0));
        return;
    }
    int done = 0;
#if defined(__x86_64__)
    const std::uint8_t* src[3] = {above, own, below};
    const bool avx2 = hasAvx2();
    if (plan.path == Plan::Path::Lanes16) {
        switch (plan.division) {
        case Plan::Division::None:
            done = avx2 ? rows16Avx2<Plan::Division::None>(plan, src, out, bytes)
                        : rows16Sse2<Plan::Division::None>(plan, src, out, bytes);
            break;
        case Plan::Division::Shift:
            done = avx2 ? rows16Avx2<Plan::Division::Shift>(plan, src, out, bytes)
                        : rows16Sse2<Plan::Division::Shift>(plan, src, out, bytes);
            break;
        case Plan::Division::Multiply:
            done = avx2 ? rows16Avx2<Plan::Division::Multiply>(plan, src, out, bytes)
                        : rows16Sse2<Plan::Division::Multiply>(plan, src, out, bytes);
            break;
        }
    } else if (plan.path == Plan::Path::Pairs32 && avx2) {
        done = pairs32Avx2(plan, src, out, bytes);
    } else if (avx2) {
        done = rows32Avx2(plan, src, out, bytes);
    }
#endif
    convolveRowPlain(plan, above, own, below, out, done, bytes);
}

} // namespace px::convolution
