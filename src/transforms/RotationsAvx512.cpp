// The AVX-512 kernels of the quarter and free turns (RotationKernels.h).
#include "transforms/RotationKernels.h"

#if defined(__x86_64__)
#include <immintrin.h>

#include <algorithm>

namespace px::rotation {

// GCC 12 takes the undefined vectors that its 512-bit intrinsics start
// from for uninitialised reads.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

#define PX_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi")))

namespace {

// The first n bytes of a vector (n <= 64).
inline __mmask64 firstBytes(int n)
{
    return n >= 64 ? ~__mmask64(0) : (__mmask64(1) << n) - 1;
}

// Sixteen pixels of three bytes to sixteen 32-bit lanes (the fourth byte of
// a lane is a copy of the third) and back.
PX_AVX512 inline __m512i widenIndex()
{
    alignas(64) std::uint8_t index[64];
    for (int i = 0; i < 16; ++i) {
        index[4 * i] = std::uint8_t(3 * i);
        index[4 * i + 1] = std::uint8_t(3 * i + 1);
        index[4 * i + 2] = std::uint8_t(3 * i + 2);
        index[4 * i + 3] = std::uint8_t(3 * i + 2);
    }
    return _mm512_load_si512(index);
}

PX_AVX512 inline __m512i narrowIndex()
{
    alignas(64) std::uint8_t index[64];
    for (int i = 0; i < 64; ++i)
        index[i] = std::uint8_t(i < 48 ? 4 * (i / 3) + i % 3 : 0);
    return _mm512_load_si512(index);
}

// r[k] lane j := r[j] lane k, 32-bit lanes.
PX_AVX512 __attribute__((always_inline)) inline void transpose16(__m512i* r)
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
    // t[c] (c < 4): columns c and c+8 of rows 0..7; t[c+4]: c+4 and c+12 of
    // rows 0..7; t[c+8], t[c+12] the same for rows 8..15.
#pragma GCC unroll 16
    for (int c = 0; c < 4; ++c) {
        t[c] = _mm512_shuffle_i32x4(u[c], u[c + 4], 0x88);
        t[c + 4] = _mm512_shuffle_i32x4(u[c], u[c + 4], 0xdd);
        t[c + 8] = _mm512_shuffle_i32x4(u[c + 8], u[c + 12], 0x88);
        t[c + 12] = _mm512_shuffle_i32x4(u[c + 8], u[c + 12], 0xdd);
    }
#pragma GCC unroll 16
    for (int c = 0; c < 4; ++c) {
        r[c] = _mm512_shuffle_i32x4(t[c], t[c + 8], 0x88);
        r[c + 8] = _mm512_shuffle_i32x4(t[c], t[c + 8], 0xdd);
        r[c + 4] = _mm512_shuffle_i32x4(t[c + 4], t[c + 12], 0x88);
        r[c + 12] = _mm512_shuffle_i32x4(t[c + 4], t[c + 12], 0xdd);
    }
}

} // namespace

PX_AVX512 void quarterBandAvx512(const Bitmap& source, const RowBand& target, bool clockwise, int ty, int yEnd)
{
    // The source rows 32 target columns ahead are fetched while a column
    // of blocks is turned: each row is a page of its own, read for a few
    // cache lines, which the processor would not foresee.
    constexpr int kAhead = 32;
    const int w = source.width(), h = source.height();
    const std::ptrdiff_t stride = std::ptrdiff_t(source.stride());
    const std::ptrdiff_t step = clockwise ? -stride : stride;
    const __m512i widen = widenIndex(), narrow = narrowIndex();
    for (int x = 0; x < h; x += 16) {
        // Target columns x..x+cols-1 are source rows H-1-x downwards
        // (clockwise) or x upwards.
        const int cols = std::min(16, h - x);
        const __mmask64 storeMask = firstBytes(3 * cols);
        if (x + kAhead + 16 <= h) {
            const std::uint8_t* next = (clockwise ? source.row(h - 1 - x - kAhead) : source.row(x + kAhead)) +
                                       std::size_t(clockwise ? ty : w - yEnd) * 3;
            const int bytes = 3 * (yEnd - ty);
            for (int k = 0; k < 16; ++k, next += step)
                for (int b = 0; b < bytes + 63; b += 64)
                    _mm_prefetch(reinterpret_cast<const char*>(next + std::min(b, bytes - 1)), _MM_HINT_T0);
        }
        for (int y = ty; y < yEnd; y += 16) {
            // Target rows y..y+rows-1 are source columns: y.. (clockwise) or
            // W-y-rows.. read backwards.
            const int rows = std::min(16, yEnd - y);
            const __mmask64 loadMask = firstBytes(3 * rows);
            const std::uint8_t* in =
                clockwise ? source.row(h - 1 - x) + std::size_t(y) * 3 : source.row(x) + std::size_t(w - y - rows) * 3;
            __m512i v[16];
            if (cols == 16 && rows == 16) {
#pragma GCC unroll 16
                for (int k = 0; k < 16; ++k)
                    v[k] = _mm512_permutexvar_epi8(widen, _mm512_maskz_loadu_epi8(loadMask, in + k * step));
                transpose16(v);
                // Counter-clockwise, the block's rows come out bottom first.
                const std::ptrdiff_t outStep =
                    clockwise ? std::ptrdiff_t(target.stride) : -std::ptrdiff_t(target.stride);
                std::uint8_t* out = target.row(clockwise ? y : y + 15) + std::size_t(x) * 3;
#pragma GCC unroll 16
                for (int i = 0; i < 16; ++i)
                    _mm512_mask_storeu_epi8(out + i * outStep, storeMask, _mm512_permutexvar_epi8(narrow, v[i]));
                continue;
            }
            for (int k = 0; k < 16; ++k)
                v[k] = k < cols ? _mm512_permutexvar_epi8(widen, _mm512_maskz_loadu_epi8(loadMask, in + k * step))
                                : _mm512_setzero_si512();
            transpose16(v);
            for (int i = 0; i < rows; ++i)
                _mm512_mask_storeu_epi8(target.row(y + (clockwise ? i : rows - 1 - i)) + std::size_t(x) * 3, storeMask,
                                        _mm512_permutexvar_epi8(narrow, v[i]));
        }
    }
}

PX_AVX512 int rotateFreeRowAvx512(const Bitmap& source, std::uint8_t* out, int x, int xEnd, const FreeRow& row)
{
    const int w = source.width(), h = source.height();
    // The products and sums are the plain loop's own, rounded the same way:
    // the explicit-rounding forms keep the compiler from fusing a multiply
    // and a subtraction into one differently rounded instruction.
    constexpr int kAsUsual = _MM_FROUND_CUR_DIRECTION;
    const __m512d cc = _mm512_set1_pd(row.c), ss = _mm512_set1_pd(row.s);
    const __m512d vs = _mm512_set1_pd(row.vs), vc = _mm512_set1_pd(row.vc);
    const __m512d steps = _mm512_setr_pd(0, 2, 4, 6, 8, 10, 12, 14), sixteen = _mm512_set1_pd(16);
    const __m512i one = _mm512_set1_epi32(1), cx = _mm512_set1_epi32(row.cx), cy = _mm512_set1_epi32(row.cy);
    const __m512i wv = _mm512_set1_epi32(w), hv = _mm512_set1_epi32(h);
    const __m512i stride = _mm512_set1_epi32(int(source.stride()));
    std::uint32_t bgBytes =
        row.background[0] | std::uint32_t(row.background[1]) << 8 | std::uint32_t(row.background[2]) << 16;
    const __m512i background = _mm512_set1_epi32(int(bgBytes));
    const __m512i narrow = narrowIndex();
    const __mmask64 storeMask = firstBytes(48);
    const int* bits = reinterpret_cast<const int*>(source.bits());
    for (; x + 16 <= xEnd; x += 16) {
        const __m512d ua = _mm512_add_round_pd(_mm512_set1_pd(2.0 * (x - row.cx) + 1), steps, kAsUsual);
        const __m512d ub = _mm512_add_round_pd(ua, sixteen, kAsUsual);
        const __m512i su = _mm512_inserti64x4(
            _mm512_castsi256_si512(
                _mm512_cvtpd_epi32(_mm512_sub_round_pd(_mm512_mul_round_pd(ua, cc, kAsUsual), vs, kAsUsual))),
            _mm512_cvtpd_epi32(_mm512_sub_round_pd(_mm512_mul_round_pd(ub, cc, kAsUsual), vs, kAsUsual)), 1);
        const __m512i sv = _mm512_inserti64x4(
            _mm512_castsi256_si512(
                _mm512_cvtpd_epi32(_mm512_add_round_pd(_mm512_mul_round_pd(ua, ss, kAsUsual), vc, kAsUsual))),
            _mm512_cvtpd_epi32(_mm512_add_round_pd(_mm512_mul_round_pd(ub, ss, kAsUsual), vc, kAsUsual)), 1);
        // (t - 1) div 2, truncating towards zero, plus the centre.
        const __m512i du = _mm512_sub_epi32(su, one), dv = _mm512_sub_epi32(sv, one);
        const __m512i sx = _mm512_add_epi32(_mm512_srai_epi32(_mm512_add_epi32(du, _mm512_srli_epi32(du, 31)), 1), cx);
        const __m512i sy = _mm512_add_epi32(_mm512_srai_epi32(_mm512_add_epi32(dv, _mm512_srli_epi32(dv, 31)), 1), cy);
        const __mmask16 inside = _mm512_cmplt_epu32_mask(sx, wv) & _mm512_cmplt_epu32_mask(sy, hv);
        const __m512i offset =
            _mm512_add_epi32(_mm512_mullo_epi32(sy, stride), _mm512_add_epi32(sx, _mm512_add_epi32(sx, sx)));
        // Four bytes are read for each pixel: from the byte before it, so
        // that the last pixel of the bitmap reads nothing after it, except
        // for the very first pixel, which is read from itself.
        const __m512i from = _mm512_max_epi32(_mm512_sub_epi32(offset, one), _mm512_setzero_si512());
        const __m512i shift = _mm512_slli_epi32(_mm512_sub_epi32(offset, from), 3);
        __m512i pixels = _mm512_mask_i32gather_epi32(background, inside, from, bits, 1);
        pixels = _mm512_mask_srlv_epi32(pixels, inside, pixels, shift);
        _mm512_mask_storeu_epi8(out + std::size_t(x) * 3, storeMask, _mm512_permutexvar_epi8(narrow, pixels));
    }
    return x;
}

#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

} // namespace px::rotation

#endif
