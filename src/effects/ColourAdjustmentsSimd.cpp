#include "effects/ColourAdjustmentsSimd.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// GCC 12's AVX-512 headers start some intrinsics from an undefined vector
// and warn about it in every caller.
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

namespace px::colour_simd {

int maxFastAmount(PointRule rule)
{
    // Products stay below 65536: (255 - k) * a and k * a for a <= 257,
    // |k - 127| * a (at most 128 * a) for a <= 511.
    return rule == PointRule::Contraste ? 511 : 257;
}

#if defined(__x86_64__)
namespace {

bool hasAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

// x div 255 for 0 <= x <= 65535 (unsigned 16-bit lanes): (x * 32897) >> 23.
__attribute__((target("avx2"))) inline __m256i div255(__m256i x)
{
    return _mm256_srli_epi16(_mm256_mulhi_epu16(x, _mm256_set1_epi16(std::int16_t(32897))), 7);
}

// The rule on 16 lanes holding one byte each; the result is signed and
// packed with saturation afterwards, which is ClampByte.
__attribute__((target("avx2"))) inline __m256i applyRule(PointRule rule, __m256i k, __m256i a)
{
    switch (rule) {
    case PointRule::Luminosite:
        return _mm256_add_epi16(k, div255(_mm256_mullo_epi16(_mm256_sub_epi16(_mm256_set1_epi16(255), k), a)));
    case PointRule::Eclipse:
        return _mm256_sub_epi16(k, div255(_mm256_mullo_epi16(k, a)));
    case PointRule::Contraste: {
        const __m256i diff = _mm256_sub_epi16(k, _mm256_set1_epi16(127));
        const __m256i d = div255(_mm256_mullo_epi16(_mm256_abs_epi16(diff), a));
        return _mm256_add_epi16(k, _mm256_sign_epi16(d, diff)); // 127 has d = 0
    }
    }
    return k;
}

template <PointRule R>
__attribute__((target("avx2"))) std::size_t pointRuleAvx2(int amount, std::uint8_t* bytes, std::size_t count)
{
    const __m256i a = _mm256_set1_epi16(std::int16_t(amount));
    const __m256i zero = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
        const __m256i lo = applyRule(R, _mm256_unpacklo_epi8(v, zero), a);
        const __m256i hi = applyRule(R, _mm256_unpackhi_epi8(v, zero), a);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(bytes + i), _mm256_packus_epi16(lo, hi));
    }
    return i;
}

__attribute__((target("avx2"))) std::size_t negateAvx2(std::uint8_t* bytes, std::size_t count)
{
    const __m256i ones = _mm256_set1_epi8(-1);
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        __m256i* p = reinterpret_cast<__m256i*>(bytes + i);
        _mm256_storeu_si256(p, _mm256_xor_si256(_mm256_loadu_si256(p), ones));
    }
    return i;
}

// Three vectors of 32 bytes holding pattern[(32 j + i) mod 3].
struct Pattern3 {
    __m256i v[3];
};

__attribute__((target("avx2"))) Pattern3 makePattern(const std::uint8_t values[3])
{
    alignas(32) std::uint8_t bytes[96];
    for (int i = 0; i < 96; ++i)
        bytes[i] = values[i % 3];
    Pattern3 p;
    for (int j = 0; j < 3; ++j)
        p.v[j] = _mm256_load_si256(reinterpret_cast<const __m256i*>(bytes + 32 * j));
    return p;
}

__attribute__((target("avx2"))) std::size_t offsetRowAvx2(std::uint8_t* row, std::size_t bytes,
                                                          const std::uint8_t add[3], const std::uint8_t sub[3])
{
    const Pattern3 up = makePattern(add), down = makePattern(sub);
    std::size_t i = 0;
    for (; i + 96 <= bytes; i += 96)
        for (int j = 0; j < 3; ++j) {
            __m256i* p = reinterpret_cast<__m256i*>(row + i + 32 * j);
            const __m256i v = _mm256_adds_epu8(_mm256_loadu_si256(p), up.v[j]);
            _mm256_storeu_si256(p, _mm256_subs_epu8(v, down.v[j]));
        }
    return i;
}

__attribute__((target("avx2"))) std::size_t twoColourRowAvx2(std::uint8_t* row, std::size_t bytes, int channel)
{
    std::uint8_t keep[3] = {0, 0, 0};
    keep[channel] = 255;
    const Pattern3 mask = makePattern(keep);
    const __m256i two = _mm256_set1_epi8(2), top = _mm256_set1_epi8(97);
    std::size_t i = 0;
    for (; i + 96 <= bytes; i += 96)
        for (int j = 0; j < 3; ++j) {
            __m256i* p = reinterpret_cast<__m256i*>(row + i + 32 * j);
            // 2 <= k <= 99  <=>  (k - 2) mod 256 <= 97
            const __m256i t = _mm256_sub_epi8(_mm256_loadu_si256(p), two);
            const __m256i inside = _mm256_cmpeq_epi8(_mm256_min_epu8(t, top), t);
            _mm256_storeu_si256(p, _mm256_and_si256(inside, mask.v[j]));
        }
    return i;
}

__attribute__((target("avx2"))) inline __m256i widen(const std::uint8_t* p)
{
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

// 16 bytes starting at a byte whose channel index is `phase` (0 for the
// first vector of a 48-byte block, then 1, then 2, since 16 mod 3 = 1).
// Each lane's pixel sum is gathered from loads shifted by -2..+2 bytes.
__attribute__((target("avx2"))) int saturationRowAvx2(std::uint8_t* row, int width, int amount)
{
    alignas(32) std::int16_t masks[3][2][16]; // [phase][channel 1 or 2][lane]
    for (int phase = 0; phase < 3; ++phase)
        for (int lane = 0; lane < 16; ++lane) {
            const int c = (phase + lane) % 3;
            masks[phase][0][lane] = c == 1 ? -1 : 0;
            masks[phase][1][lane] = c == 2 ? -1 : 0;
        }
    const __m256i a = _mm256_set1_epi16(std::int16_t(amount));
    const __m256i third = _mm256_set1_epi16(21846); // s div 3 = (s * 21846) >> 16 for s <= 765
    const std::size_t end = std::size_t(width) * 3;
    std::size_t i = 3; // pixel 0 has no bytes before it; the caller does it
    // A vector reads two bytes of the one before it, and a block reads two
    // bytes of the block before: each block's results are stored only after
    // the next block has been read, so no load waits on a recent store.
    __m128i pending[3];
    bool havePending = false;
    std::size_t pendingAt = 0;
    for (; i + 48 + 2 <= end; i += 48) {
        __m128i packed[3];
        for (int phase = 0; phase < 3; ++phase) {
            const std::uint8_t* p = row + i + 16 * phase;
            const __m256i c1 = _mm256_load_si256(reinterpret_cast<const __m256i*>(masks[phase][0]));
            const __m256i c2 = _mm256_load_si256(reinterpret_cast<const __m256i*>(masks[phase][1]));
            const __m256i m2 = widen(p - 2), m1 = widen(p - 1), k = widen(p), p1 = widen(p + 1), p2 = widen(p + 2);
            // channel 0: k + p1 + p2; channel 1: m1 + k + p1; channel 2: m2 + m1 + k
            const __m256i first = _mm256_blendv_epi8(p1, m1, c2);
            const __m256i second = _mm256_blendv_epi8(_mm256_blendv_epi8(p2, m1, c1), m2, c2);
            const __m256i sum = _mm256_add_epi16(k, _mm256_add_epi16(first, second));
            const __m256i mean = _mm256_mulhi_epu16(sum, third);
            const __m256i diff = _mm256_sub_epi16(k, mean);
            const __m256i d = div255(_mm256_mullo_epi16(_mm256_abs_epi16(diff), a));
            const __m256i r = _mm256_add_epi16(mean, _mm256_sign_epi16(d, diff));
            packed[phase] = _mm_packus_epi16(_mm256_castsi256_si128(r), _mm256_extracti128_si256(r, 1));
        }
        if (havePending)
            for (int phase = 0; phase < 3; ++phase)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(row + pendingAt + 16 * phase), pending[phase]);
        for (int phase = 0; phase < 3; ++phase)
            pending[phase] = packed[phase];
        pendingAt = i;
        havePending = true;
    }
    if (havePending)
        for (int phase = 0; phase < 3; ++phase)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + pendingAt + 16 * phase), pending[phase]);
    return int(i / 3);
}

bool hasAvx512Vbmi()
{
    static const bool vbmi =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
    return vbmi;
}

// Saturation with 512-bit byte permutations: a 64-byte window starting two
// bytes before 32 output bytes holds every byte those pixels need, and for
// each output byte `first`, `second` and `third` pick the three bytes of its
// pixel and `own` the byte itself, zero-extended into 16-bit lanes. The
// arithmetic is that of the AVX2 rows.
struct Gather {
    __m512i first, second, third, own;
};

// The picks for 32 output bytes whose byte 0 has channel index `phase`.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) Gather makeGather(int phase)
{
    alignas(64) std::uint8_t idx[4][64] = {};
    for (int j = 0; j < 32; ++j) {
        const int c = (phase + j) % 3;
        idx[0][2 * j] = std::uint8_t(j + 2 - c);
        idx[1][2 * j] = std::uint8_t(j + 3 - c);
        idx[2][2 * j] = std::uint8_t(j + 4 - c);
        idx[3][2 * j] = std::uint8_t(j + 2);
    }
    return Gather{_mm512_load_si512(idx[0]), _mm512_load_si512(idx[1]), _mm512_load_si512(idx[2]),
                  _mm512_load_si512(idx[3])};
}

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline __m256i saturation32Vbmi(const std::uint8_t* p,
                                                                                       const Gather& g, __m512i a)
{
    const __m512i window = _mm512_loadu_si512(p - 2);
    const __mmask64 even = 0x5555555555555555ull;
    const __m512i k = _mm512_maskz_permutexvar_epi8(even, g.own, window);
    const __m512i sum = _mm512_add_epi16(_mm512_maskz_permutexvar_epi8(even, g.first, window),
                                         _mm512_add_epi16(_mm512_maskz_permutexvar_epi8(even, g.second, window),
                                                          _mm512_maskz_permutexvar_epi8(even, g.third, window)));
    const __m512i mean = _mm512_mulhi_epu16(sum, _mm512_set1_epi16(21846)); // s div 3 for s <= 765
    const __m512i diff = _mm512_sub_epi16(k, mean);
    const __m512i product = _mm512_mullo_epi16(_mm512_abs_epi16(diff), a);
    const __m512i d = _mm512_srli_epi16(_mm512_mulhi_epu16(product, _mm512_set1_epi16(std::int16_t(32897))), 7);
    const __m512i r = _mm512_mask_sub_epi16(_mm512_add_epi16(mean, d), _mm512_movepi16_mask(diff), mean, d);
    return _mm512_cvtusepi16_epi8(_mm512_max_epi16(r, _mm512_setzero_si512()));
}

// 96-byte blocks (three 32-byte vectors, phases 0, 2, 1), each stored after
// the next block has been read, as in the AVX2 rows; the window of the last
// vector of a block reaches 62 bytes past its start.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) int saturationRowVbmi(std::uint8_t* row, int width, int amount)
{
    const Gather g0 = makeGather(0), g1 = makeGather(1), g2 = makeGather(2);
    const __m512i a = _mm512_set1_epi16(std::int16_t(amount));
    const std::size_t end = std::size_t(width) * 3;
    std::size_t i = 3;
    __m256i pending0 = _mm256_setzero_si256(), pending1 = pending0, pending2 = pending0;
    bool havePending = false;
    std::size_t pendingAt = 0;
    for (; i + 64 + 62 <= end; i += 96) {
        const __m256i r0 = saturation32Vbmi(row + i, g0, a);
        const __m256i r1 = saturation32Vbmi(row + i + 32, g2, a);
        const __m256i r2 = saturation32Vbmi(row + i + 64, g1, a);
        if (havePending) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + pendingAt), pending0);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + pendingAt + 32), pending1);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + pendingAt + 64), pending2);
        }
        pending0 = r0;
        pending1 = r1;
        pending2 = r2;
        pendingAt = i;
        havePending = true;
    }
    if (havePending) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + pendingAt), pending0);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + pendingAt + 32), pending1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + pendingAt + 64), pending2);
    }
    return int(i / 3);
}

__attribute__((target("avx2"))) std::size_t addOffsetsAvx2(std::uint8_t* bytes, const std::int16_t* offsets,
                                                           std::size_t count)
{
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m256i k = widen(bytes + i);
        const __m256i r = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(offsets + i));
        const __m256i v = _mm256_add_epi16(k, r);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + i),
                         _mm_packus_epi16(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1)));
    }
    return i;
}

// Four pixels per 128-bit half: bytes B, G, R become the lane value
// B << 16 | G << 8 | R, and back.
__attribute__((target("avx2"))) int cycleRowAvx2(std::uint8_t* row, int width)
{
    const __m256i gather = _mm256_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1, 2, 1, 0, -1, 5, 4, 3,
                                            -1, 8, 7, 6, -1, 11, 10, 9, -1);
    const __m256i scatter = _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1, 2, 1, 0, 6, 5, 4,
                                             10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    const __m256i one = _mm256_set1_epi32(1);
    int x = 0;
    // Eight pixels (24 bytes) per step; the loads read 4 bytes past them,
    // so the last 8 pixels are left to the caller.
    for (; x + 8 + 2 <= width; x += 8) {
        std::uint8_t* p = row + std::size_t(x) * 3;
        const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12));
        __m256i v = _mm256_shuffle_epi8(_mm256_set_m128i(hi, lo), gather);
        for (int step = 0; step < 10; ++step) {
            v = _mm256_or_si256(_mm256_slli_epi32(v, 1), _mm256_srli_epi32(v, 31));
            v = _mm256_add_epi32(v, _mm256_and_si256(_mm256_srli_epi32(v, 24), one));
        }
        const __m256i out = _mm256_shuffle_epi8(v, scatter);
        const __m128i outLo = _mm256_castsi256_si128(out), outHi = _mm256_extracti128_si256(out, 1);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), outLo);
        const int loTail = _mm_extract_epi32(outLo, 2);
        __builtin_memcpy(p + 8, &loTail, 4);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p + 12), outHi);
        const int hiTail = _mm_extract_epi32(outHi, 2);
        __builtin_memcpy(p + 20, &hiTail, 4);
    }
    return x;
}

// Eight lanes, lane l drawing numbers l, l+8, l+16...: each lane jumps
// eight states at a time with the composed map s -> a8 * s + c8.
__attribute__((target("avx2"))) int drawOffsetsAvx2(std::uint32_t state, std::uint32_t range, int half,
                                                    std::int16_t* out, int count)
{
    std::uint32_t first[8];
    std::uint32_t s = state;
    for (int l = 0; l < 8; ++l) {
        s = s * 134775813u + 1u;
        first[l] = s;
    }
    std::uint32_t a8 = 1, c8 = 0;
    for (int i = 0; i < 8; ++i) {
        a8 *= 134775813u;
        c8 = c8 * 134775813u + 1u;
    }
    __m256i st = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(first));
    const __m256i mul = _mm256_set1_epi32(int(a8)), add = _mm256_set1_epi32(int(c8));
    const __m256i n = _mm256_set1_epi32(int(range)), h = _mm256_set1_epi32(half);
    const __m256i low = _mm256_set1_epi32(-256), high = _mm256_set1_epi32(256);
    int j = 0;
    for (; j + 8 <= count; j += 8) {
        // high 32 bits of range * state, even and odd lanes separately
        const __m256i even = _mm256_srli_epi64(_mm256_mul_epu32(st, n), 32);
        const __m256i odd = _mm256_mul_epu32(_mm256_srli_epi64(st, 32), n);
        const __m256i r = _mm256_blend_epi32(even, odd, 0xAA);
        // Random(n) < 2^31 here, so the signed subtraction is exact
        const __m256i v = _mm256_min_epi32(_mm256_max_epi32(_mm256_sub_epi32(r, h), low), high);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j),
                         _mm_packs_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1)));
        st = _mm256_add_epi32(_mm256_mullo_epi32(st, mul), add);
    }
    return j;
}

// Sixteen 16-entry shuffles, one per high nibble. For part h the index
// is b - 16h: values 0..15 keep bit 7 clear after a saturating + 0x70 and
// select an entry; any other value ends with bit 7 set, which makes the
// shuffle give 0, so exactly one part contributes to each byte.
__attribute__((target("avx2"))) std::size_t lookUpAvx2(const std::uint8_t table[256], std::uint8_t* bytes,
                                                       std::size_t count)
{
    __m256i parts[16];
    for (int h = 0; h < 16; ++h)
        parts[h] = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(table + 16 * h)));
    const __m256i sixteen = _mm256_set1_epi8(16), bias = _mm256_set1_epi8(0x70);
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        __m256i index = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
        __m256i result = _mm256_shuffle_epi8(parts[0], _mm256_adds_epu8(index, bias));
        for (int h = 1; h < 16; ++h) {
            index = _mm256_sub_epi8(index, sixteen);
            result = _mm256_or_si256(result, _mm256_shuffle_epi8(parts[h], _mm256_adds_epu8(index, bias)));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(bytes + i), result);
    }
    return i;
}

} // namespace

std::size_t lookUp(const std::uint8_t table[256], std::uint8_t* bytes, std::size_t count)
{
    return hasAvx2() ? lookUpAvx2(table, bytes, count) : 0;
}

int drawOffsets(std::uint32_t state, std::uint32_t range, int half, std::int16_t* out, int count)
{
    if (!hasAvx2() || range > 0x7FFFFFFFu || half < -0x3FFFFFFF || half > 0x3FFFFFFF)
        return 0;
    return drawOffsetsAvx2(state, range, half, out, count);
}

std::size_t addOffsets(std::uint8_t* bytes, const std::int16_t* offsets, std::size_t count)
{
    return hasAvx2() ? addOffsetsAvx2(bytes, offsets, count) : 0;
}

int cycleRow(std::uint8_t* row, int width)
{
    return hasAvx2() ? cycleRowAvx2(row, width) : 0;
}

std::size_t pointRule(PointRule rule, int amount, std::uint8_t* bytes, std::size_t count)
{
    if (!hasAvx2() || amount < 0 || amount > maxFastAmount(rule))
        return 0;
    switch (rule) {
    case PointRule::Luminosite:
        return pointRuleAvx2<PointRule::Luminosite>(amount, bytes, count);
    case PointRule::Contraste:
        return pointRuleAvx2<PointRule::Contraste>(amount, bytes, count);
    case PointRule::Eclipse:
        return pointRuleAvx2<PointRule::Eclipse>(amount, bytes, count);
    }
    return 0;
}

std::size_t negate(std::uint8_t* bytes, std::size_t count)
{
    return hasAvx2() ? negateAvx2(bytes, count) : 0;
}

std::size_t offsetRow(std::uint8_t* row, std::size_t bytes, const std::uint8_t add[3], const std::uint8_t sub[3])
{
    return hasAvx2() ? offsetRowAvx2(row, bytes, add, sub) : 0;
}

std::size_t twoColourRow(std::uint8_t* row, std::size_t bytes, int channel)
{
    return hasAvx2() ? twoColourRowAvx2(row, bytes, channel) : 0;
}

int saturationRow(std::uint8_t* row, int width, int amount)
{
    if (!hasAvx2() || amount < 0 || amount > 257)
        return 1;
    return hasAvx512Vbmi() ? saturationRowVbmi(row, width, amount) : saturationRowAvx2(row, width, amount);
}

#else

std::size_t pointRule(PointRule, int, std::uint8_t*, std::size_t)
{
    return 0;
}
std::size_t negate(std::uint8_t*, std::size_t)
{
    return 0;
}
std::size_t offsetRow(std::uint8_t*, std::size_t, const std::uint8_t*, const std::uint8_t*)
{
    return 0;
}
std::size_t twoColourRow(std::uint8_t*, std::size_t, int)
{
    return 0;
}
int saturationRow(std::uint8_t*, int, int)
{
    return 1;
}
std::size_t addOffsets(std::uint8_t*, const std::int16_t*, std::size_t)
{
    return 0;
}
int cycleRow(std::uint8_t*, int)
{
    return 0;
}
int drawOffsets(std::uint32_t, std::uint32_t, int, std::int16_t*, int)
{
    return 0;
}

#endif

} // namespace px::colour_simd
