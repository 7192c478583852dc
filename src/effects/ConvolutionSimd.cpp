// Vector prefixes of the convolution rows, chosen at run time from what the
// processor offers; rows without a vector path return 0 and the plain loop
// does the whole row.
#include "effects/ConvolutionFast.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// GCC 12's AVX-512 headers start some intrinsics from an undefined vector
// and warn about it in every caller.
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

namespace px::convolution {

#if defined(__x86_64__)
namespace {

bool hasAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

// Taps grouped two by two; a lone last tap is paired with itself at weight 0.
struct TapPairs {
    const std::uint8_t* a[5];
    const std::uint8_t* b[5];
    int wa[5], wb[5];
    int count;
};

TapPairs pairTaps(const Plan& plan, const std::uint8_t* const* src)
{
    TapPairs pairs{};
    const int n = plan.tapCount;
    pairs.count = (n + 1) / 2;
    for (int p = 0; p < pairs.count; ++p) {
        const Tap& a = plan.taps[2 * p];
        const bool single = 2 * p + 1 >= n;
        const Tap& b = single ? a : plan.taps[2 * p + 1];
        pairs.a[p] = src[a.row] + a.shift;
        pairs.b[p] = src[b.row] + b.shift;
        pairs.wa[p] = a.weight;
        pairs.wb[p] = single ? 0 : b.weight;
    }
    return pairs;
}

template <Plan::Division D>
__attribute__((target("avx2"))) inline __m256i divide16(__m256i s, __m256i mul, __m128i shift)
{
    s = _mm256_max_epi16(s, _mm256_setzero_si256());
    if constexpr (D == Plan::Division::Shift)
        return _mm256_srl_epi16(s, shift);
    else if constexpr (D == Plan::Division::Multiply)
        return _mm256_srl_epi16(_mm256_mulhi_epu16(s, mul), shift);
    return s;
}

// Weights of a signed byte: the bytes of two taps are interleaved and each
// pair multiplied and added in one step. unpack and pack both work within
// 128-bit halves, so the bytes come back in their original order.
template <Plan::Division D>
__attribute__((target("avx2"))) int bytePairs16Avx2(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out,
                                                    int bytes)
{
    const TapPairs pairs = pairTaps(plan, src);
    __m256i weight[5];
    for (int p = 0; p < pairs.count; ++p)
        weight[p] = _mm256_set1_epi16(std::int16_t(std::uint8_t(pairs.wa[p]) | std::uint8_t(pairs.wb[p]) << 8));
    const __m256i mul = _mm256_set1_epi16(std::int16_t(plan.multiplier));
    const __m128i shift = _mm_cvtsi32_si128(plan.shift);
    int i = 0;
    for (; i + 32 <= bytes; i += 32) {
        __m256i lo = _mm256_setzero_si256(), hi = _mm256_setzero_si256();
        for (int p = 0; p < pairs.count; ++p) {
            const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pairs.a[p] + i));
            const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pairs.b[p] + i));
            lo = _mm256_add_epi16(lo, _mm256_maddubs_epi16(_mm256_unpacklo_epi8(a, b), weight[p]));
            hi = _mm256_add_epi16(hi, _mm256_maddubs_epi16(_mm256_unpackhi_epi8(a, b), weight[p]));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_packus_epi16(divide16<D>(lo, mul, shift), divide16<D>(hi, mul, shift)));
    }
    return i;
}

// Weights of 16 bits whose sums still fit 16 bits: one tap at a time.
template <Plan::Division D>
__attribute__((target("avx2"))) int lanes16Avx2(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out,
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
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_packus_epi16(divide16<D>(lo, mul, shift), divide16<D>(hi, mul, shift)));
    }
    return i;
}

template <Plan::Division D>
int lanes16Sse2(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out, int bytes)
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

template <Plan::Division D> int lanes16(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out, int bytes)
{
    if (!hasAvx2())
        return lanes16Sse2<D>(plan, src, out, bytes);
    return plan.byteWeights ? bytePairs16Avx2<D>(plan, src, out, bytes) : lanes16Avx2<D>(plan, src, out, bytes);
}

// Eight sums of 32 bits clamped to 0..limit (below 2^24, so exact as
// floats), then divided. The reciprocal is rounded up, so the truncated
// product is never below the quotient and at most one above it (its error
// stays under 256 * 2^-22). When the plan has proved it exact over that range
// it is the quotient; otherwise a negative remainder takes one off.
template <bool Exact>
__attribute__((target("avx2"))) inline __m256i divide32(__m256i s, __m256i limit, __m256i divisor, __m256 reciprocal)
{
    s = _mm256_min_epi32(_mm256_max_epi32(s, _mm256_setzero_si256()), limit);
    const __m256i q = _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_cvtepi32_ps(s), reciprocal));
    if constexpr (Exact)
        return q;
    else
        return _mm256_add_epi32(q, _mm256_srai_epi32(_mm256_sub_epi32(s, _mm256_mullo_epi32(q, divisor)), 31));
}

template <bool Exact>
__attribute__((target("avx512f,avx512bw,avx512vnni"))) inline __m512i divide32x16(__m512i s, __m512i limit,
                                                                                  __m512i divisor, __m512 reciprocal)
{
    s = _mm512_min_epi32(_mm512_max_epi32(s, _mm512_setzero_si512()), limit);
    const __m512i q = _mm512_cvttps_epi32(_mm512_mul_ps(_mm512_cvtepi32_ps(s), reciprocal));
    if constexpr (Exact)
        return q;
    else
        return _mm512_add_epi32(q, _mm512_srai_epi32(_mm512_sub_epi32(s, _mm512_mullo_epi32(q, divisor)), 31));
}

// The two weights of each pair as the 16-bit halves of one lane, for a
// multiply-add of lanes A | B << 16. A weight w is lo + 65536 * hi (mod 2^32)
// with lo and hi signed 16-bit values.
struct PairWeights {
    std::uint32_t low[5], high[5];
};

PairWeights pairWeights(const TapPairs& pairs)
{
    PairWeights weights{};
    for (int p = 0; p < pairs.count; ++p) {
        const std::uint32_t wa = std::uint32_t(pairs.wa[p]), wb = std::uint32_t(pairs.wb[p]);
        const std::uint32_t la = wa & 0xFFFFu, lb = wb & 0xFFFFu;
        const std::uint32_t ha = ((wa - std::uint32_t(std::int16_t(la))) >> 16) & 0xFFFFu;
        const std::uint32_t hb = ((wb - std::uint32_t(std::int16_t(lb))) >> 16) & 0xFFFFu;
        weights.low[p] = la | lb << 16;
        weights.high[p] = ha | hb << 16;
    }
    return weights;
}

// Two taps per 32-bit lane: bytes of taps A and B interleaved, then widened
// again with zeros, give lanes A | B << 16 that one multiply-add weighs with
// (wa, wb). Weights beyond 16 bits take a second multiply-add with their
// high halves, shifted up 16 bits and added with wrap-around.
template <bool High, bool Exact>
__attribute__((target("avx2"))) int pairs32Avx2(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out,
                                                int bytes)
{
    const TapPairs pairs = pairTaps(plan, src);
    const PairWeights weights = pairWeights(pairs);
    __m256i low[5], high[5];
    for (int p = 0; p < pairs.count; ++p) {
        low[p] = _mm256_set1_epi32(int(weights.low[p]));
        high[p] = _mm256_set1_epi32(int(weights.high[p]));
    }
    const __m256i zero = _mm256_setzero_si256();
    const __m256i limit = _mm256_set1_epi32(plan.limit32);
    const __m256i divisor = _mm256_set1_epi32(plan.divisor);
    const __m256 reciprocal = _mm256_set1_ps(plan.reciprocal32);
    int i = 0;
    for (; i + 32 <= bytes; i += 32) {
        __m256i s0 = zero, s1 = zero, s2 = zero, s3 = zero;
        __m256i h0 = zero, h1 = zero, h2 = zero, h3 = zero;
        for (int p = 0; p < pairs.count; ++p) {
            const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pairs.a[p] + i));
            const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pairs.b[p] + i));
            const __m256i x0 = _mm256_unpacklo_epi8(a, b), x1 = _mm256_unpackhi_epi8(a, b);
            // lanes of bytes 0-3|16-19, 4-7|20-23, 8-11|24-27, 12-15|28-31
            const __m256i v0 = _mm256_unpacklo_epi8(x0, zero), v1 = _mm256_unpackhi_epi8(x0, zero);
            const __m256i v2 = _mm256_unpacklo_epi8(x1, zero), v3 = _mm256_unpackhi_epi8(x1, zero);
            s0 = _mm256_add_epi32(s0, _mm256_madd_epi16(v0, low[p]));
            s1 = _mm256_add_epi32(s1, _mm256_madd_epi16(v1, low[p]));
            s2 = _mm256_add_epi32(s2, _mm256_madd_epi16(v2, low[p]));
            s3 = _mm256_add_epi32(s3, _mm256_madd_epi16(v3, low[p]));
            if constexpr (High) {
                h0 = _mm256_add_epi32(h0, _mm256_madd_epi16(v0, high[p]));
                h1 = _mm256_add_epi32(h1, _mm256_madd_epi16(v1, high[p]));
                h2 = _mm256_add_epi32(h2, _mm256_madd_epi16(v2, high[p]));
                h3 = _mm256_add_epi32(h3, _mm256_madd_epi16(v3, high[p]));
            }
        }
        if constexpr (High) {
            s0 = _mm256_add_epi32(s0, _mm256_slli_epi32(h0, 16));
            s1 = _mm256_add_epi32(s1, _mm256_slli_epi32(h1, 16));
            s2 = _mm256_add_epi32(s2, _mm256_slli_epi32(h2, 16));
            s3 = _mm256_add_epi32(s3, _mm256_slli_epi32(h3, 16));
        }
        const __m256i q0 = divide32<Exact>(s0, limit, divisor, reciprocal);
        const __m256i q1 = divide32<Exact>(s1, limit, divisor, reciprocal);
        const __m256i q2 = divide32<Exact>(s2, limit, divisor, reciprocal);
        const __m256i q3 = divide32<Exact>(s3, limit, divisor, reciprocal);
        // words of bytes 0-7|16-23 and 8-15|24-31, then bytes 0-15|16-31
        const __m256i w0 = _mm256_packus_epi32(q0, q1), w1 = _mm256_packus_epi32(q2, q3);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_packus_epi16(w0, w1));
    }
    return i;
}

// The same 64 bytes at a time, with the multiply-add and the sum fused.
template <bool High, bool Exact>
__attribute__((target("avx512f,avx512bw,avx512vnni"))) int
pairs32Avx512(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out, int bytes)
{
    const TapPairs pairs = pairTaps(plan, src);
    const PairWeights weights = pairWeights(pairs);
    __m512i low[5], high[5];
    for (int p = 0; p < pairs.count; ++p) {
        low[p] = _mm512_set1_epi32(int(weights.low[p]));
        high[p] = _mm512_set1_epi32(int(weights.high[p]));
    }
    const __m512i zero = _mm512_setzero_si512();
    const __m512i limit = _mm512_set1_epi32(plan.limit32);
    const __m512i divisor = _mm512_set1_epi32(plan.divisor);
    const __m512 reciprocal = _mm512_set1_ps(plan.reciprocal32);
    int i = 0;
    for (; i + 64 <= bytes; i += 64) {
        __m512i s0 = zero, s1 = zero, s2 = zero, s3 = zero;
        __m512i h0 = zero, h1 = zero, h2 = zero, h3 = zero;
        for (int p = 0; p < pairs.count; ++p) {
            const __m512i a = _mm512_loadu_si512(pairs.a[p] + i);
            const __m512i b = _mm512_loadu_si512(pairs.b[p] + i);
            const __m512i x0 = _mm512_unpacklo_epi8(a, b), x1 = _mm512_unpackhi_epi8(a, b);
            const __m512i v0 = _mm512_unpacklo_epi8(x0, zero), v1 = _mm512_unpackhi_epi8(x0, zero);
            const __m512i v2 = _mm512_unpacklo_epi8(x1, zero), v3 = _mm512_unpackhi_epi8(x1, zero);
            s0 = _mm512_dpwssd_epi32(s0, v0, low[p]);
            s1 = _mm512_dpwssd_epi32(s1, v1, low[p]);
            s2 = _mm512_dpwssd_epi32(s2, v2, low[p]);
            s3 = _mm512_dpwssd_epi32(s3, v3, low[p]);
            if constexpr (High) {
                h0 = _mm512_dpwssd_epi32(h0, v0, high[p]);
                h1 = _mm512_dpwssd_epi32(h1, v1, high[p]);
                h2 = _mm512_dpwssd_epi32(h2, v2, high[p]);
                h3 = _mm512_dpwssd_epi32(h3, v3, high[p]);
            }
        }
        if constexpr (High) {
            s0 = _mm512_add_epi32(s0, _mm512_slli_epi32(h0, 16));
            s1 = _mm512_add_epi32(s1, _mm512_slli_epi32(h1, 16));
            s2 = _mm512_add_epi32(s2, _mm512_slli_epi32(h2, 16));
            s3 = _mm512_add_epi32(s3, _mm512_slli_epi32(h3, 16));
        }
        const __m512i q0 = divide32x16<Exact>(s0, limit, divisor, reciprocal);
        const __m512i q1 = divide32x16<Exact>(s1, limit, divisor, reciprocal);
        const __m512i q2 = divide32x16<Exact>(s2, limit, divisor, reciprocal);
        const __m512i q3 = divide32x16<Exact>(s3, limit, divisor, reciprocal);
        const __m512i w0 = _mm512_packus_epi32(q0, q1), w1 = _mm512_packus_epi32(q2, q3);
        _mm512_storeu_si512(out + i, _mm512_packus_epi16(w0, w1));
    }
    return i;
}

bool hasAvx512Vnni()
{
    static const bool vnni =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vnni");
    return vnni;
}

// The wide vectors first, then the narrower ones on what they left.
template <bool High, bool Exact>
int pairs32(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out, int bytes)
{
    const int done = hasAvx512Vnni() ? pairs32Avx512<High, Exact>(plan, src, out, bytes) : 0;
    const std::uint8_t* rest[3] = {src[0] + done, src[1] + done, src[2] + done};
    return done + pairs32Avx2<High, Exact>(plan, rest, out + done, bytes - done);
}

} // namespace

int rowPrefix16(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out, int bytes)
{
    switch (plan.division) {
    case Plan::Division::None:
        return lanes16<Plan::Division::None>(plan, src, out, bytes);
    case Plan::Division::Shift:
        return lanes16<Plan::Division::Shift>(plan, src, out, bytes);
    case Plan::Division::Multiply:
        return lanes16<Plan::Division::Multiply>(plan, src, out, bytes);
    }
    return 0;
}

int rowPrefix32(const Plan& plan, const std::uint8_t* const* src, std::uint8_t* out, int bytes)
{
    if (!hasAvx2())
        return 0;
    if (plan.highWeights)
        return plan.reciprocalExact ? pairs32<true, true>(plan, src, out, bytes)
                                    : pairs32<true, false>(plan, src, out, bytes);
    return plan.reciprocalExact ? pairs32<false, true>(plan, src, out, bytes)
                                : pairs32<false, false>(plan, src, out, bytes);
}

#else

int rowPrefix16(const Plan&, const std::uint8_t* const*, std::uint8_t*, int)
{
    return 0;
}

int rowPrefix32(const Plan&, const std::uint8_t* const*, std::uint8_t*, int)
{
    return 0;
}

#endif

} // namespace px::convolution
