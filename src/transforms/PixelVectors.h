#pragma once
// Helpers of the sixteen-lane (AVX-512) paths of the transforms: a lane
// modulo, sixteen 24-bit pixels read from anywhere and written as one run
// (the column slides, the spray), and a 16 x 16 transpose (the quarter
// turns, the blocks of rows of "Agrandissement flou"). Callers are compiled
// for the helper's target and check the processor first.
#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>

namespace px::pixelvectors {

#define PX_PIXEL_VECTORS __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi")))

// The processor has the PX_PIXEL_VECTORS instructions.
inline bool havePixelVectors()
{
    static const bool vbmi = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                             __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi");
    return vbmi;
}

// GCC 12's AVX-512 headers start some intrinsics from an undefined vector
// and warn about it in every caller.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

// n mod d in every lane, for 0 <= n < 2^22 and d >= 1: the quotient
// through the float reciprocal is off by at most one, and is mended.
__attribute__((target("avx512f"))) inline __m512i moduloLanes(__m512i n, int d)
{
    const __m512i dv = _mm512_set1_epi32(d);
    const __m512i q = _mm512_cvttps_epi32(_mm512_mul_ps(_mm512_cvtepi32_ps(n), _mm512_set1_ps(1.0f / float(d))));
    __m512i r = _mm512_sub_epi32(n, _mm512_mullo_epi32(q, dv));
    r = _mm512_mask_add_epi32(r, _mm512_cmplt_epi32_mask(r, _mm512_setzero_si512()), r, dv);
    return _mm512_mask_sub_epi32(r, _mm512_cmpge_epi32_mask(r, dv), r, dv);
}

// The four bytes at address(first) .. address(first + 3), as four lanes.
template <class Address> PX_PIXEL_VECTORS inline __m128i loadFour(Address address, int first)
{
    const auto four = [&](int i) {
        std::uint32_t v;
        std::memcpy(&v, address(first + i), 4);
        return int(v);
    };
    __m128i lanes = _mm_cvtsi32_si128(four(0));
    lanes = _mm_insert_epi32(lanes, four(1), 1);
    lanes = _mm_insert_epi32(lanes, four(2), 2);
    return _mm_insert_epi32(lanes, four(3), 3);
}

// Bytes 0-2 of every four, packed into the low 48 bytes.
#define PX_PACK_TRIPLES                                                                                                \
    _mm512_set_epi8(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 62, 61, 60, 58, 57, 56, 54, 53, 52, 50, 49, 48,    \
                    46, 45, 44, 42, 41, 40, 38, 37, 36, 34, 33, 32, 30, 29, 28, 26, 25, 24, 22, 21, 20, 18, 17, 16,    \
                    14, 13, 12, 10, 9, 8, 6, 5, 4, 2, 1, 0)

// The store mask of all 48 bytes of sixteen pixels.
constexpr std::uint64_t kSixteenPixels = (std::uint64_t(1) << 48) - 1;

// Pixel i is read as the four bytes at address(i), the fourth dropped, so
// every address must have a byte after its pixel; the sixteen pixels are
// written as 48 bytes at `to`, those of `bytes` only; with `bytes` all
// ones, as 64 bytes (the last 16 unspecified) by a plain store, cheaper than
// a masked one. Plain loads inserted
// into the vector keep more of the scattered reads in flight than a vector
// gather does.
template <class Address>
PX_PIXEL_VECTORS inline void copySixteen(std::uint8_t* to, Address address, std::uint64_t bytes = kSixteenPixels)
{
    const __m128i a = loadFour(address, 0), b = loadFour(address, 4);
    const __m128i c = loadFour(address, 8), d = loadFour(address, 12);
    const __m512i pixels =
        _mm512_inserti64x4(_mm512_castsi256_si512(_mm256_inserti128_si256(_mm256_castsi128_si256(a), b, 1)),
                           _mm256_inserti128_si256(_mm256_castsi128_si256(c), d, 1), 1);
    const __m512i packed = _mm512_permutexvar_epi8(PX_PACK_TRIPLES, pixels);
    if (bytes == ~std::uint64_t(0))
        _mm512_storeu_si512(to, packed);
    else
        _mm512_mask_storeu_epi8(to, bytes, packed);
}

// r[k] lane j := r[j] lane k, 32-bit lanes.
__attribute__((target("avx512f"), always_inline)) inline void transposeLanes(__m512i* r)
{
    __m512i t[16], u[16];
#pragma GCC unroll 16
    for (int i = 0; i < 16; i += 2) {
        t[i] = _mm512_unpacklo_epi32(r[i], r[i + 1]);
        t[i + 1] = _mm512_unpackhi_epi32(r[i], r[i + 1]);
    }
    // u[4q + c]: lanes c, c+4, c+8, c+12 of rows 4q..4q+3, one 128-bit part
    // per column.
#pragma GCC unroll 16
    for (int q = 0; q < 16; q += 4) {
        u[q] = _mm512_unpacklo_epi64(t[q], t[q + 2]);
        u[q + 1] = _mm512_unpackhi_epi64(t[q], t[q + 2]);
        u[q + 2] = _mm512_unpacklo_epi64(t[q + 1], t[q + 3]);
        u[q + 3] = _mm512_unpackhi_epi64(t[q + 1], t[q + 3]);
    }
    // Then 128-bit parts: at distance 4, t[c] (c < 4) holds columns c and
    // c+8 of rows 0..7 and t[c+4] columns c+4 and c+12; at distance 8, the
    // rows 8..15 join them.
    const auto pairParts = [](const __m512i* from, __m512i* to, int distance) __attribute__((target("avx512f")))
    {
#pragma GCC unroll 16
        for (int i = 0; i < 16; ++i)
            if ((i & distance) == 0) {
                to[i] = _mm512_shuffle_i32x4(from[i], from[i + distance], 0x88);
                to[i + distance] = _mm512_shuffle_i32x4(from[i], from[i + distance], 0xdd);
            }
    };
    pairParts(u, t, 4);
    pairParts(t, r, 8);
}

#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

} // namespace px::pixelvectors

#endif
