// Eight pixels at a time for the twirl and the lens. Every lane performs the
// single-precision operations of ResampleKernels.h and SampleWrapped in the
// same order (no fused multiply-adds: only "avx2" is enabled), so a pixel is
// the same whichever path computed it. A group whose lanes leave the ranges
// handled here (trigonometric arguments past the reduction's limit, sample
// positions past 2^22, a gather that would read past the last pixel, the
// lens meeting its radius) is computed by the plain path instead.
#include "transforms/Deformations.h"
#include "transforms/ResampleKernels.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>

namespace px::resample {

bool haveAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

namespace {

#define PX_AVX2 __attribute__((target("avx2")))

struct Sampler {
    const std::uint8_t* bits;
    int width, height, stride;
    int lastGather; // largest offset a 4-byte gather may start at
    bool pairs;     // eight-byte gathers of two neighbours are available
};

Sampler samplerOf(const Bitmap& source)
{
    return {source.bits(), source.width(), source.height(), int(source.stride()), int(source.byteSize()) - 4,
            haveAvx512()};
}

PX_AVX2 inline __m256 abs8(__m256 v)
{
    return _mm256_andnot_ps(_mm256_set1_ps(-0.0f), v);
}

PX_AVX2 inline __m256 negateWhere(__m256 v, __m256 mask)
{
    return _mm256_xor_ps(v, _mm256_and_ps(mask, _mm256_set1_ps(-0.0f)));
}

PX_AVX2 inline bool any(__m256 mask)
{
    return _mm256_movemask_ps(mask) != 0;
}

// n mod size for 0 <= n < 2^22: the quotient through the float reciprocal
// is off by at most one.
PX_AVX2 inline __m256i modulo(__m256i n, int size)
{
    const __m256i s = _mm256_set1_epi32(size);
    const __m256i q = _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_cvtepi32_ps(n), _mm256_set1_ps(1.0f / float(size))));
    __m256i m = _mm256_sub_epi32(n, _mm256_mullo_epi32(q, s));
    m = _mm256_add_epi32(m, _mm256_and_si256(_mm256_cmpgt_epi32(_mm256_setzero_si256(), m), s));
    m = _mm256_sub_epi32(m, _mm256_andnot_si256(_mm256_cmpgt_epi32(s, m), s));
    return m;
}

struct AxisLanes {
    __m256i index0, index1;
    __m256 weight0, weight1;
};

// sampleAxis of DeformationsResample.cpp for |s| < 2^22.
PX_AVX2 inline AxisLanes axisLanes(__m256 s, int size)
{
    const __m256 one = _mm256_set1_ps(1.0f);
    __m256i i = _mm256_cvttps_epi32(s);
    const __m256 fi = _mm256_cvtepi32_ps(i);
    const __m256 negative = _mm256_cmp_ps(s, _mm256_setzero_ps(), _CMP_LT_OQ);
    const __m256 up1 = _mm256_sub_ps(s, fi);
    const __m256 up0 = _mm256_sub_ps(one, up1);
    const __m256 down0 = _mm256_sub_ps(fi, s);
    const __m256 down1 = _mm256_sub_ps(one, down0);
    AxisLanes a;
    a.weight0 = _mm256_blendv_ps(up0, down0, negative);
    a.weight1 = _mm256_blendv_ps(up1, down1, negative);

    const __m256i last = _mm256_set1_epi32(size - 1);
    const __m256i below = _mm256_cmpgt_epi32(_mm256_setzero_si256(), i);
    const __m256i above = _mm256_cmpgt_epi32(i, last);
    if (!_mm256_testz_si256(_mm256_or_si256(below, above), _mm256_or_si256(below, above))) {
        // (-i) mod size below the first index, i mod size past the last.
        const __m256i m = modulo(_mm256_abs_epi32(i), size);
        i = _mm256_blendv_epi8(i, _mm256_blendv_epi8(m, _mm256_sub_epi32(last, m), below),
                               _mm256_or_si256(below, above));
    }
    a.index0 = i;
    const __m256i next = _mm256_add_epi32(i, _mm256_set1_epi32(1));
    const __m256i past = _mm256_cmpgt_epi32(next, last);
    a.index1 = _mm256_blendv_epi8(next, _mm256_sub_epi32(_mm256_set1_epi32(size - 1), i), past);
    return a;
}

// A span is worked in batches of up to kBatch pixels, each in two stages:
// first the sample positions, their wrapped neighbour offsets and weights,
// then the sums. The source rows of the next batch are fetched while the
// current one is summed: the twirl's samples of neighbouring pixels lie far
// apart in the source, and waiting for each of them in turn would cost more
// than the arithmetic.
constexpr int kBatch = 128;

struct Batch {
    alignas(32) float sx[kBatch];
    alignas(32) float sy[kBatch];
    // Neighbours (0,0), (0,1), (1,0), (1,1): byte offsets and weights.
    alignas(32) int offset[4][kBatch];
    alignas(32) float weight[4][kBatch];
    bool plain[kBatch / 8];  // the group is left to SampleWrapped
    bool paired[kBatch / 8]; // each lane's two columns are neighbours, read as one eight-byte pair
};

// Stores the positions of group g and, when every lane is within what the
// eight-lane sums handle (positions below 2^22, four-byte reads inside the
// source), its offsets and weights; otherwise marks the group plain.
PX_AVX2 void prepareGroup(const Sampler& s, Batch& b, int g, __m256 sx, __m256 sy)
{
    const int first = 8 * g;
    _mm256_store_ps(b.sx + first, sx);
    _mm256_store_ps(b.sy + first, sy);
    const __m256 limit = _mm256_set1_ps(4194304.0f);
    const __m256 inside =
        _mm256_and_ps(_mm256_cmp_ps(abs8(sx), limit, _CMP_LT_OQ), _mm256_cmp_ps(abs8(sy), limit, _CMP_LT_OQ));
    b.plain[g] = _mm256_movemask_ps(inside) != 0xFF;
    if (b.plain[g])
        return;
    const AxisLanes ax = axisLanes(sx, s.width);
    const AxisLanes ay = axisLanes(sy, s.height);
    const __m256i three = _mm256_set1_epi32(3), stride = _mm256_set1_epi32(s.stride);
    const __m256i row0 = _mm256_mullo_epi32(ay.index0, stride), row1 = _mm256_mullo_epi32(ay.index1, stride);
    const __m256i col0 = _mm256_mullo_epi32(ax.index0, three), col1 = _mm256_mullo_epi32(ax.index1, three);
    const __m256i o[4] = {_mm256_add_epi32(row0, col0), _mm256_add_epi32(row1, col0), _mm256_add_epi32(row0, col1),
                          _mm256_add_epi32(row1, col1)};
    const __m256i lastRead = _mm256_set1_epi32(s.lastGather);
    __m256i beyond = _mm256_setzero_si256();
    for (int k = 0; k < 4; ++k) {
        beyond = _mm256_or_si256(beyond, _mm256_cmpgt_epi32(o[k], lastRead));
        _mm256_store_si256(reinterpret_cast<__m256i*>(b.offset[k] + first), o[k]);
    }
    b.plain[g] = !_mm256_testz_si256(beyond, beyond);
    if (s.pairs) {
        // Column index1 = index0 + 1 in every lane, and eight bytes readable
        // from both rows' first neighbour.
        const __m256i split = _mm256_cmpeq_epi32(ax.index1, _mm256_add_epi32(ax.index0, _mm256_set1_epi32(1)));
        const __m256i lastPair = _mm256_set1_epi32(s.lastGather - 4);
        const __m256i tooFar = _mm256_or_si256(_mm256_cmpgt_epi32(o[0], lastPair), _mm256_cmpgt_epi32(o[1], lastPair));
        b.paired[g] = _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_andnot_si256(tooFar, split))) == 0xFF;
    } else {
        b.paired[g] = false;
    }
    _mm256_store_ps(b.weight[0] + first, _mm256_mul_ps(ax.weight0, ay.weight0));
    _mm256_store_ps(b.weight[1] + first, _mm256_mul_ps(ax.weight0, ay.weight1));
    _mm256_store_ps(b.weight[2] + first, _mm256_mul_ps(ax.weight1, ay.weight0));
    _mm256_store_ps(b.weight[3] + first, _mm256_mul_ps(ax.weight1, ay.weight1));
}

// Asks for the source rows of every prepared group, so that they are on
// their way while the previous batch is summed.
PX_AVX2 inline void fetchBatch(const Sampler& s, const Batch& b, int groups)
{
    for (int g = 0; g < groups; ++g)
        if (!b.plain[g])
            for (int i = 8 * g; i < 8 * g + 8; ++i) {
                _mm_prefetch(reinterpret_cast<const char*>(s.bits) + b.offset[0][i], _MM_HINT_T0);
                _mm_prefetch(reinterpret_cast<const char*>(s.bits) + b.offset[1][i], _MM_HINT_T0);
            }
}

// The blue, green and red of the pixels at byte offsets `offsets`, as
// floats (the gathers read four bytes; the fourth is dropped).
struct ChannelLanes {
    __m256 blue, green, red;
};

PX_AVX2 inline ChannelLanes gatherPixels(const std::uint8_t* bits, const int* offsets)
{
    const __m256i v = _mm256_i32gather_epi32(reinterpret_cast<const int*>(bits),
                                             _mm256_load_si256(reinterpret_cast<const __m256i*>(offsets)), 1);
    const __m256i byte = _mm256_set1_epi32(0xFF);
    return {_mm256_cvtepi32_ps(_mm256_and_si256(v, byte)),
            _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(v, 8), byte)),
            _mm256_cvtepi32_ps(_mm256_srli_epi32(_mm256_slli_epi32(v, 8), 24))};
}

// ((w00 p00 + w01 p01) + (w10 p10 + w11 p11)) to the nearest integer
// (halves to even, the default rounding mode), for one channel.
PX_AVX2 inline __m256i weightedSum(const __m256 w[4], __m256 p00, __m256 p01, __m256 p10, __m256 p11)
{
    const __m256 left = _mm256_add_ps(_mm256_mul_ps(w[0], p00), _mm256_mul_ps(w[1], p01));
    const __m256 right = _mm256_add_ps(_mm256_mul_ps(w[2], p10), _mm256_mul_ps(w[3], p11));
    return _mm256_cvtps_epi32(_mm256_add_ps(left, right));
}

// Each channel is 0..255 already (the weights are at most 1 and sum to 1);
// the eight pixels are written as blue, green, red bytes at `out`.
PX_AVX2 inline void storePixels(__m256i blue, __m256i green, __m256i red, std::uint8_t* out)
{
    const __m256i pixels =
        _mm256_or_si256(blue, _mm256_or_si256(_mm256_slli_epi32(green, 8), _mm256_slli_epi32(red, 16)));
    const __m256i packed =
        _mm256_shuffle_epi8(pixels, _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2, 4,
                                                     5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1));
    const __m256i joined = _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(joined));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm256_extracti128_si256(joined, 1));
}

// The eight pixels of a prepared group, written as 24 bytes at `out`.
PX_AVX2 void sumGroup(const Sampler& s, const Batch& b, int g, std::uint8_t* out)
{
    const int first = 8 * g;
    const __m256 w[4] = {_mm256_load_ps(b.weight[0] + first), _mm256_load_ps(b.weight[1] + first),
                         _mm256_load_ps(b.weight[2] + first), _mm256_load_ps(b.weight[3] + first)};
    const ChannelLanes p00 = gatherPixels(s.bits, b.offset[0] + first);
    const ChannelLanes p01 = gatherPixels(s.bits, b.offset[1] + first);
    const ChannelLanes p10 = gatherPixels(s.bits, b.offset[2] + first);
    const ChannelLanes p11 = gatherPixels(s.bits, b.offset[3] + first);
    storePixels(weightedSum(w, p00.blue, p01.blue, p10.blue, p11.blue),
                weightedSum(w, p00.green, p01.green, p10.green, p11.green),
                weightedSum(w, p00.red, p01.red, p10.red, p11.red), out);
}

// Channel c (0 blue, 1 green, 2 red) of pixels held in the low three bytes
// of each lane, as floats.
PX_AVX2 inline __m256 channelOf(__m256i pixels, int c)
{
    return _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(pixels, 8 * c), _mm256_set1_epi32(0xFF)));
}

// sumGroup for a group whose lanes read each row's two neighbours as one
// eight-byte pair: two gathers instead of four.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif
__attribute__((target("avx512f,avx512bw,avx512vl"))) void sumPairedGroup(const Sampler& s, const Batch& b, int g,
                                                                         std::uint8_t* out)
{
    const int first = 8 * g;
    const __m256 w[4] = {_mm256_load_ps(b.weight[0] + first), _mm256_load_ps(b.weight[1] + first),
                         _mm256_load_ps(b.weight[2] + first), _mm256_load_ps(b.weight[3] + first)};
    const __m512i top =
        _mm512_i32gather_epi64(_mm256_load_si256(reinterpret_cast<const __m256i*>(b.offset[0] + first)), s.bits, 1);
    const __m512i bottom =
        _mm512_i32gather_epi64(_mm256_load_si256(reinterpret_cast<const __m256i*>(b.offset[1] + first)), s.bits, 1);
    const __m256i p00 = _mm512_cvtepi64_epi32(top), p10 = _mm512_cvtepi64_epi32(_mm512_srli_epi64(top, 24));
    const __m256i p01 = _mm512_cvtepi64_epi32(bottom), p11 = _mm512_cvtepi64_epi32(_mm512_srli_epi64(bottom, 24));
    __m256i channel[3];
    for (int c = 0; c < 3; ++c)
        channel[c] = weightedSum(w, channelOf(p00, c), channelOf(p01, c), channelOf(p10, c), channelOf(p11, c));
    storePixels(channel[0], channel[1], channel[2], out);
}
#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

// Stage two for the `groups` prepared groups of a batch; `out` is pixel 0.
PX_AVX2 void sumBatch(const Bitmap& source, const Sampler& s, const Batch& b, int groups, std::uint8_t* out)
{
    for (int g = 0; g < groups; ++g) {
        if (b.paired[g]) {
            sumPairedGroup(s, b, g, out + std::size_t(8 * g) * 3);
            continue;
        }
        if (!b.plain[g]) {
            sumGroup(s, b, g, out + std::size_t(8 * g) * 3);
            continue;
        }
        for (int i = 8 * g; i < 8 * g + 8; ++i)
            SampleWrapped(source, b.sx[i], b.sy[i], out + std::size_t(i) * 3);
    }
}

// Prepares the batches of pixels x .. end-1 (groups of eight) with
// prepare(batch, first x, groups) and sums each while the next one's rows
// are fetched; returns the first x not done.
template <class Prepare>
PX_AVX2 int pipelinedSpan(const Bitmap& source, const Sampler& s, int x, int end, std::uint8_t* out, Prepare prepare)
{
    Batch batches[2];
    int current = 0;
    int groups = std::min(kBatch, end - x) / 8;
    if (groups == 0)
        return x;
    prepare(batches[0], x, groups);
    fetchBatch(s, batches[0], groups);
    while (groups > 0) {
        const int next = x + 8 * groups;
        const int nextGroups = std::min(kBatch, end - next) / 8;
        if (nextGroups > 0) {
            prepare(batches[1 - current], next, nextGroups);
            fetchBatch(s, batches[1 - current], nextGroups);
        }
        sumBatch(source, s, batches[current], groups, out + std::size_t(x) * 3);
        x = next;
        groups = nextGroups;
        current = 1 - current;
    }
    return x;
}

PX_AVX2 inline __m256 columnsFrom(int x)
{
    return _mm256_cvtepi32_ps(_mm256_add_epi32(_mm256_set1_epi32(x), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
}

// sinCosSingle, lane by lane, for |x| <= kSinCosLimit.
PX_AVX2 inline void sinCos8(__m256 x, __m256& s, __m256& c)
{
    const __m256 negative = _mm256_cmp_ps(x, _mm256_setzero_ps(), _CMP_LT_OQ);
    __m256 a = abs8(x);
    __m256i octant = _mm256_cvttps_epi32(_mm256_mul_ps(a, _mm256_set1_ps(kFourOverPi)));
    octant = _mm256_add_epi32(octant, _mm256_and_si256(octant, _mm256_set1_epi32(1)));
    const __m256 k = _mm256_cvtepi32_ps(octant);
    a = _mm256_sub_ps(a, _mm256_mul_ps(k, _mm256_set1_ps(kPiPart1)));
    a = _mm256_sub_ps(a, _mm256_mul_ps(k, _mm256_set1_ps(kPiPart2)));
    a = _mm256_sub_ps(a, _mm256_mul_ps(k, _mm256_set1_ps(kPiPart3)));
    octant = _mm256_and_si256(octant, _mm256_set1_epi32(7));
    const __m256i upper = _mm256_cmpgt_epi32(octant, _mm256_set1_epi32(3));
    octant = _mm256_and_si256(octant, _mm256_set1_epi32(3));
    const __m256i second = _mm256_cmpgt_epi32(octant, _mm256_set1_epi32(1));
    const __m256i swap = _mm256_or_si256(_mm256_cmpeq_epi32(octant, _mm256_set1_epi32(1)),
                                         _mm256_cmpeq_epi32(octant, _mm256_set1_epi32(2)));
    const __m256 z = _mm256_mul_ps(a, a);
    __m256 cp = _mm256_add_ps(_mm256_mul_ps(_mm256_set1_ps(kCosP0), z), _mm256_set1_ps(kCosP1));
    cp = _mm256_add_ps(_mm256_mul_ps(cp, z), _mm256_set1_ps(kCosP2));
    cp = _mm256_mul_ps(_mm256_mul_ps(cp, z), z);
    cp = _mm256_add_ps(_mm256_sub_ps(cp, _mm256_mul_ps(_mm256_set1_ps(0.5f), z)), _mm256_set1_ps(1.0f));
    __m256 sp = _mm256_add_ps(_mm256_mul_ps(_mm256_set1_ps(kSinP0), z), _mm256_set1_ps(kSinP1));
    sp = _mm256_add_ps(_mm256_mul_ps(sp, z), _mm256_set1_ps(kSinP2));
    sp = _mm256_add_ps(_mm256_mul_ps(_mm256_mul_ps(sp, z), a), a);
    const __m256 swapMask = _mm256_castsi256_ps(swap);
    const __m256 sv = _mm256_blendv_ps(sp, cp, swapMask);
    const __m256 cv = _mm256_blendv_ps(cp, sp, swapMask);
    const __m256 upperMask = _mm256_castsi256_ps(upper);
    s = negateWhere(sv, _mm256_xor_ps(negative, upperMask));
    c = negateWhere(cv, _mm256_xor_ps(upperMask, _mm256_castsi256_ps(second)));
}

} // namespace

namespace {

// Stage one of the twirl for `groups` groups from column x0 of row y.
struct TwirlBatch {
    const Twirl& t;
    const Sampler& s;
    int y;

    PX_AVX2 void operator()(Batch& b, int x0, int groups) const
    {
        const __m256 cx = _mm256_set1_ps(t.cx), cy = _mm256_set1_ps(t.cy);
        const __m256 dy = _mm256_set1_ps(float(y) - t.cy);
        for (int g = 0; g < groups; ++g) {
            const int column = x0 + 8 * g;
            const __m256 dx = _mm256_sub_ps(columnsFrom(column), cx);
            const __m256 r = _mm256_sqrt_ps(_mm256_add_ps(_mm256_mul_ps(dx, dx), _mm256_mul_ps(dy, dy)));
            const __m256 turn = _mm256_div_ps(r, _mm256_set1_ps(t.twist));
            if (any(_mm256_cmp_ps(abs8(turn), _mm256_set1_ps(kSinCosLimit), _CMP_NLE_UQ))) {
                // Past the reduction's limit: the plain positions.
                alignas(32) float sx[8], sy[8];
                for (int i = 0; i < 8; ++i)
                    twirlPosition(t, column + i, y, sx[i], sy[i]);
                prepareGroup(s, b, g, _mm256_load_ps(sx), _mm256_load_ps(sy));
                continue;
            }
            __m256 sn, cs;
            sinCos8(turn, sn, cs);
            prepareGroup(s, b, g, _mm256_add_ps(cx, _mm256_sub_ps(_mm256_mul_ps(dx, sn), _mm256_mul_ps(dy, cs))),
                         _mm256_add_ps(cy, _mm256_add_ps(_mm256_mul_ps(dy, sn), _mm256_mul_ps(dx, cs))));
        }
    }
};

// Stage one of the lens; the radius carries on from group to group.
struct LensBatch {
    const Lens& l;
    float& radius;
    const Sampler& s;
    int y;

    PX_AVX2 void operator()(Batch& b, int x0, int groups) const
    {
        const __m256 cx = _mm256_set1_ps(l.cx), cy = _mm256_set1_ps(l.cy);
        const __m256 dy = _mm256_set1_ps(float(y) - l.cy);
        const __m256 zero = _mm256_setzero_ps(), one = _mm256_set1_ps(1.0f);
        for (int g = 0; g < groups; ++g) {
            const int column = x0 + 8 * g;
            const __m256 dx = _mm256_sub_ps(columnsFrom(column), cx);
            const __m256 r = _mm256_sqrt_ps(_mm256_add_ps(_mm256_mul_ps(dx, dx), _mm256_mul_ps(dy, dy)));
            const __m256 atCentre = _mm256_cmp_ps(r, zero, _CMP_EQ_OQ);
            const __m256 R = _mm256_set1_ps(radius);
            if (any(_mm256_andnot_ps(atCentre, _mm256_cmp_ps(r, R, _CMP_EQ_OQ)))) {
                // A pixel on the radius widens it for the pixels after it:
                // this group's positions one after the other.
                alignas(32) float sx[8], sy[8];
                for (int i = 0; i < 8; ++i)
                    lensPosition(l, radius, column + i, y, sx[i], sy[i]);
                prepareGroup(s, b, g, _mm256_load_ps(sx), _mm256_load_ps(sy));
                continue;
            }
            const __m256 inverse = _mm256_div_ps(one, _mm256_sub_ps(one, _mm256_div_ps(r, R)));
            const __m256 k = _mm256_mul_ps(_mm256_sub_ps(inverse, one), _mm256_set1_ps(radius / 2.0f));
            prepareGroup(s, b, g,
                         _mm256_blendv_ps(_mm256_add_ps(cx, _mm256_div_ps(_mm256_mul_ps(dx, k), r)), cx, atCentre),
                         _mm256_blendv_ps(_mm256_add_ps(cy, _mm256_div_ps(_mm256_mul_ps(dy, k), r)), cy, atCentre));
        }
    }
};

} // namespace

PX_AVX2 int twirlSpanAvx2(const Twirl& t, const Bitmap& source, int y, int x, int end, std::uint8_t* out)
{
    const Sampler s = samplerOf(source);
    return pipelinedSpan(source, s, x, end, out, TwirlBatch{t, s, y});
}

PX_AVX2 int lensSpanAvx2(const Lens& l, float& radius, const Bitmap& source, int y, int x, int end, std::uint8_t* out)
{
    const Sampler s = samplerOf(source);
    return pipelinedSpan(source, s, x, end, out, LensBatch{l, radius, s, y});
}

} // namespace px::resample
