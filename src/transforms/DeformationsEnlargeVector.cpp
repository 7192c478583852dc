// Blocks of rows of "Agrandissement flou" at once, one row per vector lane:
// eight lanes with AVX2, sixteen with AVX-512. The kernel itself is
// EnlargeBlockBody.inc, compiled once for each width under its processor
// target, over the lane operations defined here.
#include "transforms/EnlargeKernels.h"
#include "transforms/PixelVectors.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>

namespace px::enlarge {

bool haveAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

bool haveAvx512()
{
    static const bool avx512 =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
    return avx512;
}

namespace {

// The four lanes of `v` to rows[0..3] + at, four bytes each.
__attribute__((target("sse4.1"))) inline void storeQuarter(__m128i v, std::uint8_t* const* rows, std::size_t at)
{
    const std::uint32_t l0 = std::uint32_t(_mm_cvtsi128_si32(v)), l1 = std::uint32_t(_mm_extract_epi32(v, 1));
    const std::uint32_t l2 = std::uint32_t(_mm_extract_epi32(v, 2)), l3 = std::uint32_t(_mm_extract_epi32(v, 3));
    std::memcpy(rows[0] + at, &l0, 4);
    std::memcpy(rows[1] + at, &l1, 4);
    std::memcpy(rows[2] + at, &l2, 4);
    std::memcpy(rows[3] + at, &l3, 4);
}

} // namespace

// Every function of a lane set, the kernel's included, carries its
// processor target (PX_LANES).
namespace lanes8 {

#define PX_LANES __attribute__((target("avx2")))

using Vec = __m256i;
using Mask = __m256i;
constexpr int kVecLanes = 8;

PX_LANES inline Vec set1(int v)
{
    return _mm256_set1_epi32(v);
}
PX_LANES inline Vec add(Vec a, Vec b)
{
    return _mm256_add_epi32(a, b);
}
PX_LANES inline Vec sub(Vec a, Vec b)
{
    return _mm256_sub_epi32(a, b);
}
PX_LANES inline Vec mul(Vec a, Vec b)
{
    return _mm256_mullo_epi32(a, b);
}
PX_LANES inline Vec maxOf(Vec a, Vec b)
{
    return _mm256_max_epi32(a, b);
}
PX_LANES inline Vec shiftRight(Vec a, int n)
{
    return _mm256_srli_epi32(a, n);
}
PX_LANES inline Vec shiftLeft(Vec a, int n)
{
    return _mm256_slli_epi32(a, n);
}
PX_LANES inline Vec andBits(Vec a, Vec b)
{
    return _mm256_and_si256(a, b);
}
PX_LANES inline Vec orBits(Vec a, Vec b)
{
    return _mm256_or_si256(a, b);
}
PX_LANES inline Vec select(Vec one, Vec two, Mask m)
{
    return _mm256_blendv_epi8(one, two, m);
}
PX_LANES inline Mask equal(Vec a, Vec b)
{
    return _mm256_cmpeq_epi32(a, b);
}
PX_LANES inline bool none(Mask m)
{
    return _mm256_testz_si256(m, m);
}
PX_LANES inline Vec laneIndex()
{
    return _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
}
PX_LANES inline Vec loadLanes(const int* p)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
// Lane r takes p[-r].
PX_LANES inline Vec loadReversed(const int* p)
{
    return _mm256_permutevar8x32_epi32(loadLanes(p - 7), _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0));
}
PX_LANES inline Vec gather(const std::uint8_t* base, Vec offsets)
{
    return _mm256_i32gather_epi32(reinterpret_cast<const int*>(base), offsets, 1);
}
// Lane r takes lane r-1; lane 0 takes `first`.
PX_LANES inline Vec moveUp(Vec v, int first)
{
    return _mm256_blend_epi32(_mm256_permutevar8x32_epi32(v, _mm256_setr_epi32(0, 0, 1, 2, 3, 4, 5, 6)),
                              _mm256_set1_epi32(first), 0x01);
}
// Lane r's four bytes to rows[r] + at, taken from the registers (a trip
// through memory would make each four-byte read wait for the vector store),
// one store per lane (gathered into a scatter, they would be slower).
PX_LANES inline void storeLanes(Vec pixels, std::uint8_t* const* rows, std::size_t at)
{
    storeQuarter(_mm256_castsi256_si128(pixels), rows, at);
    storeQuarter(_mm256_extracti128_si256(pixels, 1), rows + 4, at);
}

// out[k] lane r := lane r's pixel (three bytes and a zero) at column
// t + k - r, zero for columns at or right of W (rows[r] + 3 t is lane r's
// column t - r): eight pixels of each row, transposed.
PX_LANES inline void skewedColumns(std::uint8_t* const* rows, int t, int W, Vec* out)
{
    const __m256i spread = _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6);
    const __m256i widen = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0, 1, 2, -1, 3, 4, 5,
                                           -1, 6, 7, 8, -1, 9, 10, 11, -1);
    for (int r = 0; r < 8; ++r) {
        const int column = t - r, n = std::clamp(W - column, 0, 8);
        const std::uint8_t* from = rows[r] + std::size_t(t) * 3;
        __m256i bytes = _mm256_setzero_si256();
        if (std::size_t(column) * 3 + 32 <= std::size_t(W) * 3) {
            bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
        } else if (n > 0) {
            alignas(32) std::uint8_t part[32] = {};
            std::memcpy(part, from, std::size_t(n) * 3);
            bytes = _mm256_load_si256(reinterpret_cast<const __m256i*>(part));
        }
        out[r] = _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(bytes, spread), widen);
    }
    __m256i u[8];
    for (int q = 0; q < 8; q += 4) {
        const __m256i t0 = _mm256_unpacklo_epi32(out[q], out[q + 1]), t1 = _mm256_unpackhi_epi32(out[q], out[q + 1]);
        const __m256i t2 = _mm256_unpacklo_epi32(out[q + 2], out[q + 3]);
        const __m256i t3 = _mm256_unpackhi_epi32(out[q + 2], out[q + 3]);
        // u[q + c]: columns c and c + 4 of rows q..q+3.
        u[q] = _mm256_unpacklo_epi64(t0, t2), u[q + 1] = _mm256_unpackhi_epi64(t0, t2);
        u[q + 2] = _mm256_unpacklo_epi64(t1, t3), u[q + 3] = _mm256_unpackhi_epi64(t1, t3);
    }
    for (int c = 0; c < 4; ++c) {
        out[c] = _mm256_permute2x128_si256(u[c], u[c + 4], 0x20);
        out[c + 4] = _mm256_permute2x128_si256(u[c], u[c + 4], 0x31);
    }
}

#include "transforms/EnlargeBlockBody.inc"

#undef PX_LANES

} // namespace lanes8

namespace lanes16 {

#define PX_LANES __attribute__((target("avx2,avx512f,avx512bw,avx512vl")))
// GCC 12 takes the undefined upper lanes that its 512-bit intrinsics start
// from for uninitialised reads.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

using Vec = __m512i;
using Mask = __mmask16;
constexpr int kVecLanes = 16;

PX_LANES inline Vec set1(int v)
{
    return _mm512_set1_epi32(v);
}
PX_LANES inline Vec add(Vec a, Vec b)
{
    return _mm512_add_epi32(a, b);
}
PX_LANES inline Vec sub(Vec a, Vec b)
{
    return _mm512_sub_epi32(a, b);
}
PX_LANES inline Vec mul(Vec a, Vec b)
{
    return _mm512_mullo_epi32(a, b);
}
PX_LANES inline Vec maxOf(Vec a, Vec b)
{
    return _mm512_max_epi32(a, b);
}
PX_LANES inline Vec shiftRight(Vec a, int n)
{
    return _mm512_srli_epi32(a, unsigned(n));
}
PX_LANES inline Vec shiftLeft(Vec a, int n)
{
    return _mm512_slli_epi32(a, unsigned(n));
}
PX_LANES inline Vec andBits(Vec a, Vec b)
{
    return _mm512_and_si512(a, b);
}
PX_LANES inline Vec orBits(Vec a, Vec b)
{
    return _mm512_or_si512(a, b);
}
PX_LANES inline Vec select(Vec one, Vec two, Mask m)
{
    return _mm512_mask_blend_epi32(m, one, two);
}
PX_LANES inline Mask equal(Vec a, Vec b)
{
    return _mm512_cmpeq_epi32_mask(a, b);
}
PX_LANES inline bool none(Mask m)
{
    return m == 0;
}
PX_LANES inline Vec laneIndex()
{
    return _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
}
PX_LANES inline Vec loadLanes(const int* p)
{
    return _mm512_loadu_si512(p);
}
// Lane r takes p[-r].
PX_LANES inline Vec loadReversed(const int* p)
{
    return _mm512_permutexvar_epi32(_mm512_setr_epi32(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0),
                                    loadLanes(p - 15));
}
PX_LANES inline Vec gather(const std::uint8_t* base, Vec offsets)
{
    return _mm512_i32gather_epi32(offsets, base, 1);
}
// Lane r takes lane r-1; lane 0 takes `first`.
PX_LANES inline Vec moveUp(Vec v, int first)
{
    return _mm512_mask_blend_epi32(
        0x0001, _mm512_permutexvar_epi32(_mm512_setr_epi32(0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14), v),
        _mm512_set1_epi32(first));
}
// Lane r's four bytes to rows[r] + at, as in lanes8.
PX_LANES inline void storeLanes(Vec pixels, std::uint8_t* const* rows, std::size_t at)
{
    storeQuarter(_mm512_castsi512_si128(pixels), rows, at);
    storeQuarter(_mm512_extracti32x4_epi32(pixels, 1), rows + 4, at);
    storeQuarter(_mm512_extracti32x4_epi32(pixels, 2), rows + 8, at);
    storeQuarter(_mm512_extracti32x4_epi32(pixels, 3), rows + 12, at);
}

// As in lanes8, sixteen pixels at a time.
PX_LANES inline void skewedColumns(std::uint8_t* const* rows, int t, int W, Vec* out)
{
    const __m512i spread = _mm512_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6, 6, 7, 8, 9, 9, 10, 11, 12);
    const __m512i widen = _mm512_broadcast_i32x4(_mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1));
    for (int r = 0; r < 16; ++r) {
        const int n = std::clamp(W - (t - r), 0, 16);
        const __m512i bytes =
            n > 0 ? _mm512_maskz_loadu_epi8((std::uint64_t(1) << (3 * n)) - 1, rows[r] + std::size_t(t) * 3)
                  : _mm512_setzero_si512();
        out[r] = _mm512_shuffle_epi8(_mm512_permutexvar_epi32(spread, bytes), widen);
        // Each row is read 48 bytes a call: its lines are fetched a few
        // calls ahead (a prefetch past the image is harmless).
        _mm_prefetch(
            reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(rows[r]) + std::size_t(t) * 3 + 256),
            _MM_HINT_T0);
    }
    pixelvectors::transposeLanes(out);
}

#include "transforms/EnlargeBlockBody.inc"

#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#undef PX_LANES

} // namespace lanes16

void enlargeBlock8(const Geometry& g, Bitmap& b, const Row* rows)
{
    lanes8::enlargeBlock(g, b, rows);
}

void enlargeBlock16(const Geometry& g, Bitmap& b, const Row* rows)
{
    lanes16::enlargeBlock(g, b, rows);
}

} // namespace px::enlarge
