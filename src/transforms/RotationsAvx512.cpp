// The AVX-512 kernels of the quarter and free turns (RotationKernels.h).
#include "transforms/PixelVectors.h"
#include "transforms/RotationKernels.h"

#if defined(__x86_64__)
#include <immintrin.h>

#include <algorithm>
#include <cstdint>

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
                pixelvectors::transposeLanes(v);
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
            pixelvectors::transposeLanes(v);
            for (int i = 0; i < rows; ++i)
                _mm512_mask_storeu_epi8(target.row(y + (clockwise ? i : rows - 1 - i)) + std::size_t(x) * 3, storeMask,
                                        _mm512_permutexvar_epi8(narrow, v[i]));
        }
    }
}

namespace {

// The constants of one target row of the free turn, in vector lanes.
struct FreeLanes {
    PX_AVX512 FreeLanes(const Bitmap& source, const FreeTurn& row)
        : vs(_mm512_setzero_pd()), vc(_mm512_setzero_pd()), one(_mm512_set1_epi32(1)), cx(_mm512_set1_epi32(row.cx)),
          cy(_mm512_set1_epi32(row.cy)), w(_mm512_set1_epi32(source.width())), h(_mm512_set1_epi32(source.height())),
          stride(_mm512_set1_epi32(int(source.stride()))),
          background(_mm512_set1_epi32(
              int(row.background[0] | std::uint32_t(row.background[1]) << 8 | std::uint32_t(row.background[2]) << 16))),
          bits(reinterpret_cast<const int*>(source.bits()))
    {
    }
    __m512d vs, vc;
    __m512i one, cx, cy, w, h, stride, background;
    const int* bits;
};

// The source byte offsets of sixteen target pixels of the row whose v * s
// and v * c are in l.vs and l.vc, -1 for those whose source lies outside;
// uc and us hold the pixels' u * c and u * s. The differences and sums are
// the plain loop's own, rounded the same way (the explicit-rounding forms
// keep the compiler from fusing operations into differently rounded ones).
// Adding 1.5 * 2^52 rounds a double below 2^51 in magnitude to the nearest
// integer, halves to even, and leaves that integer in the low 32 bits of
// its bit pattern, which a single permutation gathers from two vectors.
PX_AVX512 __attribute__((always_inline)) inline __m512i freeOffsets(const FreeLanes& l, const double* uc,
                                                                    const double* us)
{
    constexpr int kAsUsual = _MM_FROUND_CUR_DIRECTION;
    const __m512d rounder = _mm512_set1_pd(6755399441055744.0);
    const __m512i lowHalves = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    auto round = [&](__m512d t) PX_AVX512 { return _mm512_castpd_si512(_mm512_add_round_pd(t, rounder, kAsUsual)); };
    const __m512i su =
        _mm512_permutex2var_epi32(round(_mm512_sub_round_pd(_mm512_load_pd(uc), l.vs, kAsUsual)), lowHalves,
                                  round(_mm512_sub_round_pd(_mm512_load_pd(uc + 8), l.vs, kAsUsual)));
    const __m512i sv =
        _mm512_permutex2var_epi32(round(_mm512_add_round_pd(_mm512_load_pd(us), l.vc, kAsUsual)), lowHalves,
                                  round(_mm512_add_round_pd(_mm512_load_pd(us + 8), l.vc, kAsUsual)));
    // (t - 1) div 2, truncating towards zero, plus the centre.
    const __m512i du = _mm512_sub_epi32(su, l.one), dv = _mm512_sub_epi32(sv, l.one);
    const __m512i sx = _mm512_add_epi32(_mm512_srai_epi32(_mm512_add_epi32(du, _mm512_srli_epi32(du, 31)), 1), l.cx);
    const __m512i sy = _mm512_add_epi32(_mm512_srai_epi32(_mm512_add_epi32(dv, _mm512_srli_epi32(dv, 31)), 1), l.cy);
    const __mmask16 inside = _mm512_cmplt_epu32_mask(sx, l.w) & _mm512_cmplt_epu32_mask(sy, l.h);
    const __m512i offset =
        _mm512_add_epi32(_mm512_mullo_epi32(sy, l.stride), _mm512_add_epi32(sx, _mm512_add_epi32(sx, sx)));
    return _mm512_mask_mov_epi32(_mm512_set1_epi32(-1), inside, offset);
}

// Bytes 64 * part .. 64 * part + 63 of 64 pixels of three bytes held in
// four vectors of sixteen 32-bit lanes: from vectors `part` and `part` + 1.
PX_AVX512 inline __m512i packIndex(int part)
{
    alignas(64) std::uint8_t index[64];
    for (int j = 0; j < 64; ++j) {
        const int pixel = (64 * part + j) / 3, byte = (64 * part + j) % 3;
        index[j] = std::uint8_t((pixel / 16 - part) * 64 + (pixel % 16) * 4 + byte);
    }
    return _mm512_load_si512(index);
}

} // namespace

PX_AVX512 int rotateFreeTileAvx512(const Bitmap& source, const RowBand& target, int tx, int xEnd, int ty, int yEnd,
                                   const FreeTurn& turn)
{
    // Whole groups of sixteen pixels; the caller finishes the rows.
    const int groups = std::min((xEnd - tx) / 16, kFreeTileWidth / 16);
    if (groups == 0)
        return tx;
    FreeLanes lanes(source, turn);
    const __m512i background = lanes.background, one = lanes.one;
    const __m512i pack0 = packIndex(0), pack1 = packIndex(1), pack2 = packIndex(2), narrow = narrowIndex();
    const int* bits = lanes.bits;
    const std::uintptr_t base = reinterpret_cast<std::uintptr_t>(source.bits());
    // The source offsets of a row are worked out kAhead rows before the
    // row is copied, and the cache lines they name fetched meanwhile: the
    // rows of a turned tile cross many source rows, a few bytes each, which
    // the processor would not foresee.
    constexpr int kAhead = 8;
    alignas(64) std::int32_t ring[kAhead][kFreeTileWidth];
    // u * c and u * s of the tile's columns, the same for every row.
    alignas(64) double uc[kFreeTileWidth], us[kFreeTileWidth];
    for (int k = 0; k < 16 * groups; ++k) {
        const double u = 2.0 * (tx + k - turn.cx) + 1;
        uc[k] = u * turn.c;
        us[k] = u * turn.s;
    }
    // Target row y from its offsets.
    auto copyRow = [&](int y, const std::int32_t* at) PX_AVX512 {
        std::uint8_t* out = target.row(y) + std::size_t(tx) * 3;
        __m512i p[kFreeTileWidth / 16];
        for (int g = 0; g < groups; ++g) {
            const __m512i offset = _mm512_load_si512(at + 16 * g);
            const __mmask16 inside = _mm512_cmpge_epi32_mask(offset, _mm512_setzero_si512());
            // Four bytes are read for each pixel: from the byte before it,
            // so that the last pixel of the bitmap reads nothing after it,
            // except for the very first pixel, which is read from itself.
            const __m512i from = _mm512_max_epi32(_mm512_sub_epi32(offset, one), _mm512_setzero_si512());
            const __m512i shift = _mm512_slli_epi32(_mm512_sub_epi32(offset, from), 3);
            const __m512i pixels = _mm512_mask_i32gather_epi32(background, inside, from, bits, 1);
            p[g] = _mm512_mask_srlv_epi32(pixels, inside, pixels, shift);
        }
        if (groups == 4) {
            // Sixty-four pixels make three whole vectors of bytes.
            _mm512_storeu_si512(out, _mm512_permutex2var_epi8(p[0], pack0, p[1]));
            _mm512_storeu_si512(out + 64, _mm512_permutex2var_epi8(p[1], pack1, p[2]));
            _mm512_storeu_si512(out + 128, _mm512_permutex2var_epi8(p[2], pack2, p[3]));
        } else {
            for (int g = 0; g < groups; ++g)
                _mm512_mask_storeu_epi8(out + 48 * g, firstBytes(48), _mm512_permutexvar_epi8(narrow, p[g]));
        }
    };
    for (int r = ty; r < yEnd + kAhead; ++r) {
        // Row r - kAhead is copied before row r takes its place.
        const int y = r - kAhead;
        if (y >= ty)
            copyRow(y, ring[y % kAhead]);
        if (r < yEnd) {
            const double v = 2.0 * (r - turn.cy) + 1;
            lanes.vs = _mm512_set1_pd(v * turn.s);
            lanes.vc = _mm512_set1_pd(v * turn.c);
            std::int32_t* at = ring[r % kAhead];
            for (int g = 0; g < groups; ++g)
                _mm512_store_si512(at + 16 * g, freeOffsets(lanes, uc + 16 * g, us + 16 * g));
            // Every third pixel's line: the next rows' samples fall between
            // these, and each line serves many rows (every other pixel, or
            // every fourth, measured slower at every angle from 10 to 87
            // degrees). Outside pixels name the byte before the bitmap,
            // which a prefetch may harmlessly name.
            auto fetch = [&](int k) {
                _mm_prefetch(reinterpret_cast<const char*>(base + std::uintptr_t(std::intptr_t(at[k]))), _MM_HINT_T0);
            };
            if (groups == 4) {
#pragma GCC unroll 22
                for (int k = 0; k < 64; k += 3)
                    fetch(k);
            } else {
                for (int k = 0; k < 16 * groups; k += 3)
                    fetch(k);
            }
        }
    }
    return tx + 16 * groups;
}

#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

} // namespace px::rotation

#endif
