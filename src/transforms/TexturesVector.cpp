// The lane kernels of the marble swirls and the spray. Each lane does the
// plain loop's arithmetic on its own pixel in the same order, so the bytes
// are the same; only what does not depend on the pixels runs in lanes.
#include "transforms/PixelVectors.h"
#include "transforms/TextureKernels.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace px::textures {

#if defined(__x86_64__)

bool haveAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

bool haveAvx512()
{
    return pixelvectors::havePixelVectors();
}

Lanes bestLanes()
{
    return haveAvx512() ? Lanes::Avx512 : haveAvx2() ? Lanes::Avx2 : Lanes::Plain;
}

// The conversions round by the processor's mode (halves to even, as the
// plain loop's conversion does); |f| too large for 32 bits converts to
// INT32_MIN, which as an unsigned number is never inside the image, as the
// plain loop's 64-bit conversion of a value beyond 64 bits is not.

__attribute__((target("avx2"))) void marbleTargetsAvx2(const MarbleRow& row)
{
    const __m256d sign = _mm256_set1_pd(-0.0), cy = _mm256_set1_pd(row.cy), down = _mm256_set1_pd(row.down);
    const __m256d flip = _mm256_set1_pd(row.sign), four = _mm256_set1_pd(4.0);
    const __m128i lastColumn = _mm_set1_epi32(row.width - 1), lastRow = _mm_set1_epi32(row.height - 1);
    const __m128i stride = _mm_set1_epi32(row.stride), step = _mm_set1_epi32(12);
    __m128i home = _mm_add_epi32(_mm_set1_epi32(row.home), _mm_setr_epi32(0, 3, 6, 9));
    __m256d column = _mm256_add_pd(_mm256_set1_pd(row.x0), _mm256_setr_pd(0, 1, 2, 3));
    // Locals: the stores could otherwise alias the row's fields.
    const double* const columns = row.columns;
    std::int32_t* const offsets = row.offsets;
    const int count = row.count, period = row.period, advance = 4 % period;
    int phase = row.phase;
    for (int x = 0; x < count; x += 4, home = _mm_add_epi32(home, step), column = _mm256_add_pd(column, four)) {
        const __m256d sx = _mm256_loadu_pd(columns + phase);
        const __m256d fx = _mm256_add_pd(_mm256_add_pd(column, _mm256_mul_pd(sx, flip)), cy);
        const __m256d fy = _mm256_add_pd(down, sx);
        const __m128i nx = _mm256_cvtpd_epi32(_mm256_andnot_pd(sign, fx));
        const __m128i ny = _mm256_cvtpd_epi32(_mm256_andnot_pd(sign, fy));
        // Inside when, unsigned, n <= last.
        const __m128i inside = _mm_and_si128(_mm_cmpeq_epi32(_mm_max_epu32(nx, lastColumn), lastColumn),
                                             _mm_cmpeq_epi32(_mm_max_epu32(ny, lastRow), lastRow));
        const __m128i offset = _mm_add_epi32(_mm_mullo_epi32(ny, stride), _mm_add_epi32(nx, _mm_add_epi32(nx, nx)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(offsets + x), _mm_blendv_epi8(home, offset, inside));
        phase += advance;
        if (phase >= period)
            phase -= period;
    }
}

#define PX_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi")))
// GCC 12 takes the undefined upper lanes that its 512-bit intrinsics start
// from for uninitialised reads.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

PX_AVX512 void marbleTargetsAvx512(const MarbleRow& row)
{
    const __m512d cy = _mm512_set1_pd(row.cy), down = _mm512_set1_pd(row.down);
    const __m512d flip = _mm512_set1_pd(row.sign), sixteen = _mm512_set1_pd(16.0);
    const __m512i width = _mm512_set1_epi32(row.width), height = _mm512_set1_epi32(row.height);
    const __m512i stride = _mm512_set1_epi32(row.stride), step = _mm512_set1_epi32(48);
    __m512i home = _mm512_add_epi32(_mm512_set1_epi32(row.home),
                                    _mm512_setr_epi32(0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 33, 36, 39, 42, 45));
    __m512d column0 = _mm512_add_pd(_mm512_set1_pd(row.x0), _mm512_setr_pd(0, 1, 2, 3, 4, 5, 6, 7));
    __m512d column1 = _mm512_add_pd(column0, _mm512_set1_pd(8.0));
    const double* const columns = row.columns;
    std::int32_t* const offsets = row.offsets;
    const int count = row.count, period = row.period, advance = 16 % period;
    int phase = row.phase;
    for (int x = 0; x < count; x += 16, home = _mm512_add_epi32(home, step)) {
        const __m512d sx0 = _mm512_loadu_pd(columns + phase), sx1 = _mm512_loadu_pd(columns + phase + 8);
        const __m512d fx0 = _mm512_add_pd(_mm512_add_pd(column0, _mm512_mul_pd(sx0, flip)), cy);
        const __m512d fx1 = _mm512_add_pd(_mm512_add_pd(column1, _mm512_mul_pd(sx1, flip)), cy);
        const __m512d fy0 = _mm512_add_pd(down, sx0);
        const __m512d fy1 = _mm512_add_pd(down, sx1);
        const __m512i nx = _mm512_inserti64x4(_mm512_castsi256_si512(_mm512_cvtpd_epi32(_mm512_abs_pd(fx0))),
                                              _mm512_cvtpd_epi32(_mm512_abs_pd(fx1)), 1);
        const __m512i ny = _mm512_inserti64x4(_mm512_castsi256_si512(_mm512_cvtpd_epi32(_mm512_abs_pd(fy0))),
                                              _mm512_cvtpd_epi32(_mm512_abs_pd(fy1)), 1);
        const __mmask16 inside = _mm512_cmplt_epu32_mask(nx, width) & _mm512_cmplt_epu32_mask(ny, height);
        const __m512i offset =
            _mm512_add_epi32(_mm512_mullo_epi32(ny, stride), _mm512_add_epi32(nx, _mm512_add_epi32(nx, nx)));
        _mm512_storeu_si512(offsets + x, _mm512_mask_mov_epi32(home, inside, offset));
        column0 = _mm512_add_pd(column0, sixteen);
        column1 = _mm512_add_pd(column1, sixteen);
        phase += advance;
        if (phase >= period)
            phase -= period;
    }
}

namespace {

// The high 32 bits of the 64-bit products of the unsigned lanes.
PX_AVX512 inline __m512i mulHigh(__m512i a, __m512i b)
{
    const __m512i even = _mm512_srli_epi64(_mm512_mul_epu32(a, b), 32);
    const __m512i odd = _mm512_mul_epu32(_mm512_srli_epi64(a, 32), _mm512_srli_epi64(b, 32));
    return _mm512_mask_blend_epi32(0xAAAA, even, odd);
}

PX_AVX512 inline __m512i affine(__m512i s, __m512i mul, __m512i add)
{
    return _mm512_add_epi32(_mm512_mullo_epi32(s, mul), add);
}

} // namespace

PX_AVX512 std::uint32_t sprayAvx512(const Bitmap& source, Bitmap& target, std::uint32_t radius, std::uint32_t state,
                                    const SprayLanes& lanes)
{
    const int w = source.width(), h = source.height();
    if (w <= 0 || h <= 0)
        return state;
    const std::uint8_t* const in = source.bits();
    const __m512i stride = _mm512_set1_epi32(std::int32_t(source.stride()));
    const __m512i width = _mm512_set1_epi32(w), height = _mm512_set1_epi32(h), d = _mm512_set1_epi32(int(radius));
    const __m512i laneMul0 = _mm512_loadu_si512(lanes.laneMul[0]), laneAdd0 = _mm512_loadu_si512(lanes.laneAdd[0]);
    const __m512i laneMul1 = _mm512_loadu_si512(lanes.laneMul[1]), laneAdd1 = _mm512_loadu_si512(lanes.laneAdd[1]);
    const __m512i laneMul2 = _mm512_loadu_si512(lanes.laneMul[2]), laneAdd2 = _mm512_loadu_si512(lanes.laneAdd[2]);
    const __m512i blockMul = _mm512_set1_epi32(int(lanes.blockMul)), blockAdd = _mm512_set1_epi32(int(lanes.blockAdd));
    const __m512i laneIndex = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    // The copies do not depend on one another (the target is not the
    // source): the image is walked in tiles of kBand rows by kTile columns,
    // whose sources stay in the first-level cache, each row of a tile
    // taking the draws its pixels have in row order.
    constexpr int kBand = 8, kTile = 256;
    constexpr std::uint32_t kFetchedRadius = 64;
    // Up to this radius a tile's sources and the next one's fit together
    // in the first-level cache, and the next one is fetched there.
    constexpr std::uint32_t kFirstLevelRadius = 10;
    std::vector<std::uint32_t> rowStart(std::size_t(h) + 1);
    rowStart[0] = state;
    for (int y = 0; y < h; ++y)
        rowStart[std::size_t(y) + 1] = rowStart[std::size_t(y)] * lanes.rowMul + lanes.rowAdd;
    // The state after the draws of the first k tiles of a row is
    // tileMul[k] * s + tileAdd[k] for the state s before them.
    std::uint32_t stepMul = 1, stepAdd = 0;
    for (int i = 0; i < kTile / 16; ++i) {
        stepAdd = stepAdd * lanes.blockMul + lanes.blockAdd;
        stepMul *= lanes.blockMul;
    }
    const int tiles = (w + kTile - 1) / kTile;
    std::vector<std::uint32_t> tileMul(static_cast<std::size_t>(tiles)), tileAdd(static_cast<std::size_t>(tiles));
    tileMul[0] = 1;
    tileAdd[0] = 0;
    for (int k = 1; k < tiles; ++k) {
        tileMul[std::size_t(k)] = tileMul[std::size_t(k) - 1] * stepMul;
        tileAdd[std::size_t(k)] = tileAdd[std::size_t(k) - 1] * stepMul + stepAdd;
    }
    // Per pixel of a tile's row, the byte offset of its source (0 for a
    // pixel that stays), and per block of sixteen pixels the bytes of the
    // 48 its copy writes: those of the pixels that take a source. A block
    // with a source within four bytes of the source's end, or cut short by
    // its tile, is copied by the plain loop (bytes 0), which takes the
    // pixels of `taking`.
    alignas(64) std::int32_t at[kTile];
    std::uint64_t written[kTile / 16];
    std::uint16_t taking[kTile / 16];
    const __m512i lastWide = _mm512_set1_epi32(std::int32_t(source.byteSize()) - 4);
    for (int y0 = 0; y0 < h; y0 += kBand)
        for (int k = 0; k < tiles; ++k) {
            const int first = k * kTile, end = std::min(w, first + kTile);
            // The source lines of the next tile (the first of the next band
            // after the last) are fetched into the cache while
            // this one is copied: on their own they come from further away,
            // once per tile, and the copies wait for them. Radii far beyond
            // the tile would fetch more than the tile uses.
            if (radius <= kFetchedRadius) {
                const int nextTile = k + 1 < tiles ? k + 1 : 0, nextBand = k + 1 < tiles ? y0 : y0 + kBand;
                const int reach = int(radius);
                const std::size_t from = std::size_t(std::max(0, nextTile * kTile - reach)) * 3;
                const std::size_t to = std::size_t(std::min(w, nextTile * kTile + kTile + reach)) * 3;
                for (int r = std::max(0, nextBand - reach), last = std::min(h, nextBand + kBand + reach); r < last; ++r)
                    for (std::size_t b = from; b < to; b += 64) {
                        const char* const line =
                            reinterpret_cast<const char*>(in + std::size_t(r) * source.stride() + b);
                        if (radius <= kFirstLevelRadius)
                            _mm_prefetch(line, _MM_HINT_T0);
                        else
                            _mm_prefetch(line, _MM_HINT_T1);
                    }
            }
            for (int y = y0; y < std::min(h, y0 + kBand); ++y) {
                std::uint8_t* const out = target.row(y) + std::size_t(first) * 3;
                const __m512i start = _mm512_set1_epi32(
                    int(tileMul[std::size_t(k)] * rowStart[std::size_t(y)] + tileAdd[std::size_t(k)]));
                __m512i s0 = affine(start, laneMul0, laneAdd0);
                __m512i s1 = affine(start, laneMul1, laneAdd1);
                __m512i s2 = affine(start, laneMul2, laneAdd2);
                const __m512i row = _mm512_set1_epi32(y);
                for (int x = first; x < end; x += 16) {
                    const __m512i r = mulHigh(s0, d);
                    const __m512i span = _mm512_add_epi32(r, r);
                    const __m512i column = _mm512_add_epi32(_mm512_set1_epi32(x), laneIndex);
                    const __m512i sx = _mm512_sub_epi32(_mm512_add_epi32(column, r), mulHigh(span, s1));
                    const __m512i sy = _mm512_sub_epi32(_mm512_add_epi32(row, r), mulHigh(span, s2));
                    const __mmask16 inside =
                        _mm512_mask_cmplt_epu32_mask(_mm512_cmplt_epu32_mask(sx, width), sy, height);
                    const __m512i offset = _mm512_maskz_add_epi32(inside, _mm512_mullo_epi32(sy, stride),
                                                                  _mm512_add_epi32(sx, _mm512_add_epi32(sx, sx)));
                    _mm512_store_si512(at + (x - first), offset);
                    taking[(x - first) / 16] = inside;
                    // Bytes 3 i .. 3 i + 2 for every pixel i that takes a source.
                    const __m512i taken =
                        _mm512_permutexvar_epi8(PX_PACK_TRIPLES, _mm512_maskz_mov_epi32(inside, _mm512_set1_epi32(-1)));
                    written[(x - first) / 16] = x + 16 <= end && !_mm512_cmpgt_epi32_mask(offset, lastWide)
                                                    ? _mm512_test_epi8_mask(taken, taken) & pixelvectors::kSixteenPixels
                                                    : 0;
                    s0 = affine(s0, blockMul, blockAdd);
                    s1 = affine(s1, blockMul, blockAdd);
                    s2 = affine(s2, blockMul, blockAdd);
                }
                std::uint8_t* to = out;
                for (int i = 0; i < end - first; i += 16, to += 48) {
                    if (std::uint64_t bytes = written[i / 16]) {
                        // A whole block followed by a whole block of the
                        // same tile row is stored as 64 bytes: the next
                        // block's store covers the 16 it spills over.
                        if (bytes == pixelvectors::kSixteenPixels && i + 16 < end - first &&
                            written[i / 16 + 1] == pixelvectors::kSixteenPixels)
                            bytes = ~std::uint64_t(0);
                        pixelvectors::copySixteen(
                            to, [&](int k) { return in + at[i + k]; }, bytes);
                        continue;
                    }
                    for (int k = i; k < std::min(i + 16, end - first); ++k)
                        if (taking[i / 16] >> (k - i) & 1)
                            std::memcpy(out + 3 * k, in + at[k], 3);
                }
            }
        }
    return rowStart[std::size_t(h)];
}

#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#else

bool haveAvx2()
{
    return false;
}

bool haveAvx512()
{
    return false;
}

Lanes bestLanes()
{
    return Lanes::Plain;
}

void marbleTargetsAvx2(const MarbleRow&) {}
void marbleTargetsAvx512(const MarbleRow&) {}
std::uint32_t sprayAvx512(const Bitmap&, Bitmap&, std::uint32_t, std::uint32_t state, const SprayLanes&)
{
    return state;
}

#endif

} // namespace px::textures
