// Sixteen pixels at a time for the twirl and the lens, on processors with
// AVX-512 (F, BW, VL, DQ). Every lane performs the single-precision
// operations of ResampleKernels.h and SampleWrapped in the same order (the
// project builds without fused multiply-adds), so a pixel is the same
// whichever path computed it. As in the eight-lane rows, a group whose lanes
// leave the handled ranges (trigonometric arguments past the reduction's
// limit, sample positions past 2^22, reads past the last pixel, the lens
// meeting its radius) takes the plain arithmetic for those pixels.
//
// Twice the lanes halve the instructions per pixel. The positions of a
// whole batch are worked out before any of its samples are read, so that
// the long dependency chains of neighbouring groups overlap; the samples
// are then read with plain loads (see loadTwo). The twirl works out the
// sine and cosine of a block once for the block and its three mirror
// images about the centre lines (twirlMirroredBlockAvx512).
#include "transforms/Deformations.h"
#include "transforms/PixelVectors.h"
#include "transforms/ResampleKernels.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// GCC 12's AVX-512 headers start some intrinsics from an undefined vector
// and warn about it in every caller.
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

namespace px::resample {

#if defined(__x86_64__)

bool haveAvx512()
{
    static const bool avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                               __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512dq");
    return avx512;
}

namespace {

#define PX_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl,avx512dq")))

constexpr int kLanes = 16;
constexpr int kBatch = 256; // pixels whose positions are worked out ahead
constexpr int kGroups = kBatch / kLanes;
constexpr int kTurnRows = 32; // rows of a mirrored block

// How a group of sixteen pixels is summed.
enum class GroupKind : std::uint8_t {
    Paired, // each row's two neighbours read as one eight-byte pair
    Single, // the four neighbours read one by one
    Plain,  // SampleWrapped, pixel by pixel
};

struct Batch {
    alignas(64) float sx[kBatch];
    alignas(64) float sy[kBatch];
    // Neighbours (0,0), (0,1), (1,0), (1,1): byte offsets and weights.
    alignas(64) int offset[4][kBatch];
    alignas(64) float weight[4][kBatch];
    GroupKind kind[kGroups];
};

struct Sampler {
    const std::uint8_t* bits;
    int width, height, stride;
    int lastSingle; // largest offset a four-byte read may start at
    int lastPair;   // largest offset an eight-byte read may start at
};

Sampler samplerOf(const Bitmap& source)
{
    const int size = int(source.byteSize());
    return {source.bits(), source.width(), source.height(), int(source.stride()), size - 4, size - 8};
}

PX_AVX512 inline __m512 abs16(__m512 v)
{
    return _mm512_abs_ps(v);
}

PX_AVX512 inline __m512 splat(float v)
{
    return _mm512_set1_ps(v);
}

struct AxisLanes {
    __m512i index0, index1;
    __m512 weight0, weight1;
};

// The sample's axis rule (truncation, weights, wrapping) for |s| < 2^22.
PX_AVX512 inline AxisLanes axisLanes(__m512 s, int size)
{
    __m512i i = _mm512_cvttps_epi32(s);
    const __m512 fi = _mm512_cvtepi32_ps(i);
    const __mmask16 negative = _mm512_cmp_ps_mask(s, _mm512_setzero_ps(), _CMP_LT_OQ);
    const __m512 up1 = _mm512_sub_ps(s, fi);
    const __m512 down0 = _mm512_sub_ps(fi, s);
    AxisLanes a;
    a.weight0 = _mm512_mask_blend_ps(negative, _mm512_sub_ps(splat(1.0f), up1), down0);
    a.weight1 = _mm512_mask_blend_ps(negative, up1, _mm512_sub_ps(splat(1.0f), down0));

    const __m512i last = _mm512_set1_epi32(size - 1);
    const __mmask16 below = _mm512_cmplt_epi32_mask(i, _mm512_setzero_si512());
    const __mmask16 above = _mm512_cmpgt_epi32_mask(i, last);
    if (below | above) {
        // (W-1) - ((-i) mod W) below the first index, i mod W past the last.
        const __m512i m = pixelvectors::moduloLanes(_mm512_abs_epi32(i), size);
        i = _mm512_mask_mov_epi32(i, above, m);
        i = _mm512_mask_sub_epi32(i, below, last, m);
    }
    a.index0 = i;
    const __m512i next = _mm512_add_epi32(i, _mm512_set1_epi32(1));
    a.index1 = _mm512_mask_sub_epi32(next, _mm512_cmpgt_epi32_mask(next, last), last, i);
    return a;
}

// Stores group g's positions and, when its lanes are within what the
// sixteen-lane sums handle, its offsets and weights; says how to sum it.
PX_AVX512 inline void prepareGroup(const Sampler& s, Batch& b, int g, __m512 sx, __m512 sy)
{
    const int first = kLanes * g;
    _mm512_store_ps(b.sx + first, sx);
    _mm512_store_ps(b.sy + first, sy);
    const __m512 limit = splat(4194304.0f);
    if ((_mm512_cmp_ps_mask(abs16(sx), limit, _CMP_LT_OQ) & _mm512_cmp_ps_mask(abs16(sy), limit, _CMP_LT_OQ)) !=
        0xFFFF) {
        b.kind[g] = GroupKind::Plain;
        return;
    }
    const AxisLanes ax = axisLanes(sx, s.width);
    const AxisLanes ay = axisLanes(sy, s.height);
    const __m512i stride = _mm512_set1_epi32(s.stride);
    const __m512i row0 = _mm512_mullo_epi32(ay.index0, stride), row1 = _mm512_mullo_epi32(ay.index1, stride);
    const __m512i col0 = _mm512_add_epi32(ax.index0, _mm512_add_epi32(ax.index0, ax.index0));
    const __m512i col1 = _mm512_add_epi32(ax.index1, _mm512_add_epi32(ax.index1, ax.index1));
    const __m512i o[4] = {_mm512_add_epi32(row0, col0), _mm512_add_epi32(row1, col0), _mm512_add_epi32(row0, col1),
                          _mm512_add_epi32(row1, col1)};
    const __m512i lastSingle = _mm512_set1_epi32(s.lastSingle);
    const __mmask16 beyond = _mm512_cmpgt_epi32_mask(o[0], lastSingle) | _mm512_cmpgt_epi32_mask(o[1], lastSingle) |
                             _mm512_cmpgt_epi32_mask(o[2], lastSingle) | _mm512_cmpgt_epi32_mask(o[3], lastSingle);
    _mm512_store_si512(b.offset[0] + first, o[0]);
    _mm512_store_si512(b.offset[1] + first, o[1]);
    _mm512_store_si512(b.offset[2] + first, o[2]);
    _mm512_store_si512(b.offset[3] + first, o[3]);
    _mm512_store_ps(b.weight[0] + first, _mm512_mul_ps(ax.weight0, ay.weight0));
    _mm512_store_ps(b.weight[1] + first, _mm512_mul_ps(ax.weight0, ay.weight1));
    _mm512_store_ps(b.weight[2] + first, _mm512_mul_ps(ax.weight1, ay.weight0));
    _mm512_store_ps(b.weight[3] + first, _mm512_mul_ps(ax.weight1, ay.weight1));
    if (beyond) {
        b.kind[g] = GroupKind::Plain;
        return;
    }
    // Column index1 = index0 + 1 in every lane, and eight bytes readable
    // from both rows' first neighbour.
    const __m512i lastPair = _mm512_set1_epi32(s.lastPair);
    const __mmask16 split = _mm512_cmpeq_epi32_mask(ax.index1, _mm512_add_epi32(ax.index0, _mm512_set1_epi32(1)));
    const __mmask16 near = _mm512_cmple_epi32_mask(o[0], lastPair) & _mm512_cmple_epi32_mask(o[1], lastPair) & split;
    b.kind[g] = near == 0xFFFF ? GroupKind::Paired : GroupKind::Single;
}

// The eight bytes at each of two offsets, as two lanes. The samples are
// read with plain loads inserted into the vectors rather than with vector
// gathers: on the processors measured, the gathers wait for all their lanes
// and keep far fewer misses in flight, and the twirl's samples of
// neighbouring pixels lie far apart in the source.
PX_AVX512 inline __m128i loadTwo(const std::uint8_t* bits, const int* offsets)
{
    std::uint64_t first, second;
    std::memcpy(&first, bits + offsets[0], 8);
    std::memcpy(&second, bits + offsets[1], 8);
    return _mm_insert_epi64(_mm_cvtsi64_si128(static_cast<long long>(first)), static_cast<long long>(second), 1);
}

// The eight bytes at each of the eight offsets, as eight lanes.
PX_AVX512 inline __m512i loadEight(const std::uint8_t* bits, const int* offsets)
{
    const __m256i low =
        _mm256_inserti128_si256(_mm256_castsi128_si256(loadTwo(bits, offsets)), loadTwo(bits, offsets + 2), 1);
    const __m256i high =
        _mm256_inserti128_si256(_mm256_castsi128_si256(loadTwo(bits, offsets + 4)), loadTwo(bits, offsets + 6), 1);
    return _mm512_inserti64x4(_mm512_castsi256_si512(low), high, 1);
}

// Channel c (0 blue, 1 green, 2 red) of pixels held in the low three bytes
// of each lane, as floats.
PX_AVX512 inline __m512 channelOf(__m512i pixels, int c)
{
    return _mm512_cvtepi32_ps(_mm512_and_si512(_mm512_srli_epi32(pixels, 8 * c), _mm512_set1_epi32(0xFF)));
}

// ((w00 p00 + w01 p01) + (w10 p10 + w11 p11)) to the nearest integer
// (halves to even, the default rounding mode), for one channel.
PX_AVX512 inline __m512i weightedSum(const __m512 w[4], __m512 p00, __m512 p01, __m512 p10, __m512 p11)
{
    const __m512 left = _mm512_add_ps(_mm512_mul_ps(w[0], p00), _mm512_mul_ps(w[1], p01));
    const __m512 right = _mm512_add_ps(_mm512_mul_ps(w[2], p10), _mm512_mul_ps(w[3], p11));
    return _mm512_cvtps_epi32(_mm512_add_ps(left, right));
}

// The sixteen pixels' channels (each 0..255: the weights are at most 1 and
// sum to 1), written as 48 blue, green, red bytes at `out`.
PX_AVX512 inline void storePixels(const __m512i channel[3], std::uint8_t* out)
{
    const __m512i pixels = _mm512_or_si512(
        channel[0], _mm512_or_si512(_mm512_slli_epi32(channel[1], 8), _mm512_slli_epi32(channel[2], 16)));
    const __m512i packed =
        _mm512_shuffle_epi8(pixels, _mm512_set4_epi32(int(0xFFFFFFFF), 0x0E0D0C0A, 0x09080605, 0x04020100));
    const __m512i joined =
        _mm512_permutexvar_epi32(_mm512_setr_epi32(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 3, 7, 11, 15), packed);
    _mm512_mask_storeu_epi32(out, 0x0FFF, joined);
}

// The low four bytes of every eight-byte lane of `low` (lanes 0-7) and
// `high` (lanes 8-15), as sixteen lanes.
PX_AVX512 inline __m512i lowHalves(__m512i low, __m512i high)
{
    return _mm512_permutex2var_epi32(low, _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30),
                                     high);
}

PX_AVX512 void sumPairedGroup(const Sampler& s, const Batch& b, int g, std::uint8_t* out)
{
    const int first = kLanes * g;
    const __m512 w[4] = {_mm512_load_ps(b.weight[0] + first), _mm512_load_ps(b.weight[1] + first),
                         _mm512_load_ps(b.weight[2] + first), _mm512_load_ps(b.weight[3] + first)};
    const __m512i top0 = loadEight(s.bits, b.offset[0] + first);
    const __m512i top1 = loadEight(s.bits, b.offset[0] + first + 8);
    const __m512i bottom0 = loadEight(s.bits, b.offset[1] + first);
    const __m512i bottom1 = loadEight(s.bits, b.offset[1] + first + 8);
    const __m512i p00 = lowHalves(top0, top1);
    const __m512i p10 = lowHalves(_mm512_srli_epi64(top0, 24), _mm512_srli_epi64(top1, 24));
    const __m512i p01 = lowHalves(bottom0, bottom1);
    const __m512i p11 = lowHalves(_mm512_srli_epi64(bottom0, 24), _mm512_srli_epi64(bottom1, 24));
    __m512i channel[3];
    for (int c = 0; c < 3; ++c)
        channel[c] = weightedSum(w, channelOf(p00, c), channelOf(p01, c), channelOf(p10, c), channelOf(p11, c));
    storePixels(channel, out);
}

PX_AVX512 void sumSingleGroup(const Sampler& s, const Batch& b, int g, std::uint8_t* out)
{
    const int first = kLanes * g;
    const __m512 w[4] = {_mm512_load_ps(b.weight[0] + first), _mm512_load_ps(b.weight[1] + first),
                         _mm512_load_ps(b.weight[2] + first), _mm512_load_ps(b.weight[3] + first)};
    __m512i p[4];
    for (int k = 0; k < 4; ++k)
        p[k] = _mm512_i32gather_epi32(_mm512_load_si512(b.offset[k] + first), s.bits, 1);
    __m512i channel[3];
    for (int c = 0; c < 3; ++c)
        channel[c] = weightedSum(w, channelOf(p[0], c), channelOf(p[1], c), channelOf(p[2], c), channelOf(p[3], c));
    storePixels(channel, out);
}

// Stage two for the `groups` prepared groups of a batch; `out` is pixel 0.
PX_AVX512 void sumBatch(const Bitmap& source, const Sampler& s, Batch& b, int groups, std::uint8_t* out)
{
    for (int g = 0; g < groups; ++g) {
        std::uint8_t* pixels = out + std::size_t(kLanes * g) * 3;
        switch (b.kind[g]) {
        case GroupKind::Paired:
            sumPairedGroup(s, b, g, pixels);
            break;
        case GroupKind::Single:
            sumSingleGroup(s, b, g, pixels);
            break;
        case GroupKind::Plain:
            for (int i = 0; i < kLanes; ++i)
                SampleWrapped(source, b.sx[kLanes * g + i], b.sy[kLanes * g + i], pixels + 3 * i);
            break;
        }
    }
}

// Pixels x .. end-1 in batches of groups of sixteen, each prepared by
// prepare(batch, first x, groups) and then summed; returns the first x
// not done.
template <class Prepare>
PX_AVX512 int batchedSpan(const Bitmap& source, const Sampler& s, int x, int end, std::uint8_t* out, Prepare prepare)
{
    Batch batch;
    for (int groups; (groups = std::min(kBatch, end - x) / kLanes) > 0; x += kLanes * groups) {
        prepare(batch, x, groups);
        sumBatch(source, s, batch, groups, out + std::size_t(x) * 3);
    }
    return x;
}

PX_AVX512 inline __m512 columnsFrom(int x)
{
    return _mm512_cvtepi32_ps(_mm512_add_epi32(
        _mm512_set1_epi32(x), _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15)));
}

PX_AVX512 inline __m512 negateWhere(__m512 v, __mmask16 mask)
{
    return _mm512_mask_xor_ps(v, mask, v, splat(-0.0f));
}

// sinCosSingle, lane by lane, for |x| <= kSinCosLimit.
PX_AVX512 inline void sinCos16(__m512 x, __m512& s, __m512& c)
{
    const __mmask16 negative = _mm512_cmp_ps_mask(x, _mm512_setzero_ps(), _CMP_LT_OQ);
    __m512 a = abs16(x);
    __m512i octant = _mm512_cvttps_epi32(_mm512_mul_ps(a, splat(kFourOverPi)));
    octant = _mm512_add_epi32(octant, _mm512_and_si512(octant, _mm512_set1_epi32(1)));
    const __m512 k = _mm512_cvtepi32_ps(octant);
    a = _mm512_sub_ps(a, _mm512_mul_ps(k, splat(kPiPart1)));
    a = _mm512_sub_ps(a, _mm512_mul_ps(k, splat(kPiPart2)));
    a = _mm512_sub_ps(a, _mm512_mul_ps(k, splat(kPiPart3)));
    // Octant bit 2: both signs turn; bit 1: the cosine's sign turns; octants
    // 1 and 2 (mod 4) swap the polynomials.
    const __mmask16 upper = _mm512_test_epi32_mask(octant, _mm512_set1_epi32(4));
    const __mmask16 second = _mm512_test_epi32_mask(octant, _mm512_set1_epi32(2));
    const __m512i quarter = _mm512_and_si512(octant, _mm512_set1_epi32(3));
    const __mmask16 swap =
        _mm512_cmpeq_epi32_mask(quarter, _mm512_set1_epi32(1)) | _mm512_cmpeq_epi32_mask(quarter, _mm512_set1_epi32(2));
    const __m512 z = _mm512_mul_ps(a, a);
    __m512 cp = _mm512_add_ps(_mm512_mul_ps(splat(kCosP0), z), splat(kCosP1));
    cp = _mm512_add_ps(_mm512_mul_ps(cp, z), splat(kCosP2));
    cp = _mm512_mul_ps(_mm512_mul_ps(cp, z), z);
    cp = _mm512_add_ps(_mm512_sub_ps(cp, _mm512_mul_ps(splat(0.5f), z)), splat(1.0f));
    __m512 sp = _mm512_add_ps(_mm512_mul_ps(splat(kSinP0), z), splat(kSinP1));
    sp = _mm512_add_ps(_mm512_mul_ps(sp, z), splat(kSinP2));
    sp = _mm512_add_ps(_mm512_mul_ps(_mm512_mul_ps(sp, z), a), a);
    const __m512 sv = _mm512_mask_blend_ps(swap, sp, cp);
    const __m512 cv = _mm512_mask_blend_ps(swap, cp, sp);
    s = negateWhere(sv, negative ^ upper);
    c = negateWhere(cv, upper ^ second);
}

// The sine and cosine of r/T for sixteen pixels whose offsets from the
// centre are dx, dy; false when a lane lies past the reduction's limit.
PX_AVX512 inline bool turnLanes(const Twirl& t, __m512 dx, __m512 dy, __m512& sn, __m512& cs)
{
    const __m512 r = _mm512_sqrt_ps(_mm512_add_ps(_mm512_mul_ps(dx, dx), _mm512_mul_ps(dy, dy)));
    const __m512 turn = _mm512_div_ps(r, splat(t.twist));
    if (_mm512_cmp_ps_mask(abs16(turn), splat(kSinCosLimit), _CMP_NLE_UQ))
        return false;
    sinCos16(turn, sn, cs);
    return true;
}

// The twirl's sample positions from a pixel's offsets from the centre and
// the sine and cosine of its turn, as in twirlPosition.
PX_AVX512 inline void prepareTurned(const Twirl& t, const Sampler& s, Batch& b, int g, __m512 dx, __m512 dy, __m512 sn,
                                    __m512 cs)
{
    prepareGroup(s, b, g, _mm512_add_ps(splat(t.cx), _mm512_sub_ps(_mm512_mul_ps(dx, sn), _mm512_mul_ps(dy, cs))),
                 _mm512_add_ps(splat(t.cy), _mm512_add_ps(_mm512_mul_ps(dy, sn), _mm512_mul_ps(dx, cs))));
}

// Stage one of the twirl for `groups` groups from column x0 of row y.
struct TwirlBatch {
    const Twirl& t;
    const Sampler& s;
    int y;

    PX_AVX512 void operator()(Batch& b, int x0, int groups) const
    {
        const __m512 cx = splat(t.cx);
        const __m512 dy = splat(float(y) - t.cy);
        for (int g = 0; g < groups; ++g) {
            const int column = x0 + kLanes * g;
            const __m512 dx = _mm512_sub_ps(columnsFrom(column), cx);
            __m512 sn, cs;
            if (!turnLanes(t, dx, dy, sn, cs)) {
                // Past the reduction's limit: the plain positions.
                alignas(64) float sx[kLanes], sy[kLanes];
                for (int i = 0; i < kLanes; ++i)
                    twirlPosition(t, column + i, y, sx[i], sy[i]);
                prepareGroup(s, b, g, _mm512_load_ps(sx), _mm512_load_ps(sy));
                continue;
            }
            prepareTurned(t, s, b, g, dx, dy, sn, cs);
        }
    }
};

// The twirl's sine and cosine of r/T for the pixels of a batch.
struct Turns {
    alignas(64) float sine[kBatch];
    alignas(64) float cosine[kBatch];
};

// Works out the turns of `groups` groups from column x0 of row y; false
// when a lane lies past the reduction's limit.
PX_AVX512 bool turnsOf(const Twirl& t, int y, int x0, int groups, Turns& turns)
{
    const __m512 dy = splat(float(y) - t.cy);
    for (int g = 0; g < groups; ++g) {
        __m512 sn, cs;
        if (!turnLanes(t, _mm512_sub_ps(columnsFrom(x0 + kLanes * g), splat(t.cx)), dy, sn, cs))
            return false;
        _mm512_store_ps(turns.sine + kLanes * g, sn);
        _mm512_store_ps(turns.cosine + kLanes * g, cs);
    }
    return true;
}

// Stage one for `groups` groups of row y from stored turns. The groups
// start at column x0; `mirrored` means columns W-1-x0 downwards, so group g
// there takes the turns of group groups-1-g in reverse lane order.
PX_AVX512 void prepareFromTurns(const Twirl& t, const Sampler& s, Batch& b, const Turns& turns, int y, int x0,
                                int groups, bool mirrored)
{
    const __m512 dy = splat(float(y) - t.cy);
    const __m512i reverse = _mm512_setr_epi32(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    for (int g = 0; g < groups; ++g) {
        __m512 dx, sn, cs;
        if (mirrored) {
            const int from = kLanes * (groups - 1 - g);
            dx = _mm512_sub_ps(columnsFrom(s.width - x0 - kLanes * groups + kLanes * g), splat(t.cx));
            sn = _mm512_permutexvar_ps(reverse, _mm512_load_ps(turns.sine + from));
            cs = _mm512_permutexvar_ps(reverse, _mm512_load_ps(turns.cosine + from));
        } else {
            dx = _mm512_sub_ps(columnsFrom(x0 + kLanes * g), splat(t.cx));
            sn = _mm512_load_ps(turns.sine + kLanes * g);
            cs = _mm512_load_ps(turns.cosine + kLanes * g);
        }
        prepareTurned(t, s, b, g, dx, dy, sn, cs);
    }
}

// Stage one of the lens; the radius carries on from group to group.
struct LensBatch {
    const Lens& l;
    float& radius;
    const Sampler& s;
    int y;

    PX_AVX512 void operator()(Batch& b, int x0, int groups) const
    {
        const __m512 cx = splat(l.cx), cy = splat(l.cy);
        const __m512 dy = splat(float(y) - l.cy);
        const __m512 zero = _mm512_setzero_ps(), one = splat(1.0f);
        for (int g = 0; g < groups; ++g) {
            const int column = x0 + kLanes * g;
            const __m512 dx = _mm512_sub_ps(columnsFrom(column), cx);
            const __m512 r = _mm512_sqrt_ps(_mm512_add_ps(_mm512_mul_ps(dx, dx), _mm512_mul_ps(dy, dy)));
            const __mmask16 atCentre = _mm512_cmp_ps_mask(r, zero, _CMP_EQ_OQ);
            const __m512 R = splat(radius);
            if (_mm512_cmp_ps_mask(r, R, _CMP_EQ_OQ) & ~atCentre) {
                // A pixel on the radius widens it for the pixels after it:
                // this group's positions one after the other.
                alignas(64) float sx[kLanes], sy[kLanes];
                for (int i = 0; i < kLanes; ++i)
                    lensPosition(l, radius, column + i, y, sx[i], sy[i]);
                prepareGroup(s, b, g, _mm512_load_ps(sx), _mm512_load_ps(sy));
                continue;
            }
            const __m512 inverse = _mm512_div_ps(one, _mm512_sub_ps(one, _mm512_div_ps(r, R)));
            const __m512 k = _mm512_mul_ps(_mm512_sub_ps(inverse, one), splat(radius / 2.0f));
            prepareGroup(s, b, g,
                         _mm512_mask_mov_ps(_mm512_add_ps(cx, _mm512_div_ps(_mm512_mul_ps(dx, k), r)), atCentre, cx),
                         _mm512_mask_mov_ps(_mm512_add_ps(cy, _mm512_div_ps(_mm512_mul_ps(dy, k), r)), atCentre, cy));
        }
    }
};

} // namespace

PX_AVX512 int twirlSpanAvx512(const Twirl& t, const Bitmap& source, int y, int x, int end, std::uint8_t* out)
{
    const Sampler s = samplerOf(source);
    return batchedSpan(source, s, x, end, out, TwirlBatch{t, s, y});
}

PX_AVX512 int twirlMirroredBlockAvx512(const Twirl& t, const Bitmap& source, Bitmap& result, int y0, int y1, int x,
                                       int end)
{
    const int groups = std::min(kBatch, end - x) / kLanes, rows = y1 - y0;
    if (groups == 0 || rows > kTurnRows)
        return x;
    Turns turns[kTurnRows];
    for (int i = 0; i < rows; ++i)
        if (!turnsOf(t, y0 + i, x, groups, turns[i]))
            return x;
    const Sampler s = samplerOf(source);
    const int mirrorX = source.width() - x - kLanes * groups;
    Batch batch;
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        const bool mirroredColumns = quadrant & 1;
        for (int i = 0; i < rows; ++i) {
            const int y = quadrant < 2 ? y0 + i : source.height() - 1 - (y0 + i);
            prepareFromTurns(t, s, batch, turns[i], y, x, groups, mirroredColumns);
            sumBatch(source, s, batch, groups, result.row(y) + std::size_t(mirroredColumns ? mirrorX : x) * 3);
        }
    }
    return x + kLanes * groups;
}

PX_AVX512 int lensSpanAvx512(const Lens& l, float& radius, const Bitmap& source, int y, int x, int end,
                             std::uint8_t* out)
{
    const Sampler s = samplerOf(source);
    return batchedSpan(source, s, x, end, out, LensBatch{l, radius, s, y});
}

#else

bool haveAvx512()
{
    return false;
}

int twirlSpanAvx512(const Twirl&, const Bitmap&, int, int x, int, std::uint8_t*)
{
    return x;
}

int lensSpanAvx512(const Lens&, float&, const Bitmap&, int, int x, int, std::uint8_t*)
{
    return x;
}

int twirlMirroredBlockAvx512(const Twirl&, const Bitmap&, Bitmap&, int, int, int x, int)
{
    return x;
}

#endif

} // namespace px::resample
