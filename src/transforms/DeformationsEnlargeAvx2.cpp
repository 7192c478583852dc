// Eight rows of "Agrandissement flou" at once, one per vector lane. Lane r
// works on row y0+r and runs one column behind lane r-1: at step t it
// computes column c = t - r. Its reads are then all at hand:
// - the row above at columns c-2 .. c: lane r-1's results of the last three
//   steps, moved one lane along (lane 0 reads the finished row y0-1);
// - its own row at c-2 and c-1: its own results of the last two steps;
// - its own original pixel at c, from the copy of the row.
// Column c reads columns sx and sx+1, with sx = c-1 or, near the right edge
// of wide images, c-2; the lanes choose accordingly. Channels are kept in
// separate vectors, 32-bit lanes. The first and last kLanes steps, where
// some lanes have no column, go through the plain rule.
#include "transforms/EnlargeKernels.h"

#include <immintrin.h>

#include <cstring>

namespace px::enlarge {

bool haveAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

namespace {

#define PX_AVX2 __attribute__((target("avx2")))

struct Channels {
    __m256i c[3];
};

// Pixel values (blue, green, red in the low three bytes) split into channels.
PX_AVX2 inline Channels split(__m256i pixels)
{
    const __m256i byte = _mm256_set1_epi32(0xFF);
    return {{_mm256_and_si256(pixels, byte), _mm256_and_si256(_mm256_srli_epi32(pixels, 8), byte),
             _mm256_and_si256(_mm256_srli_epi32(pixels, 16), byte)}};
}

// The pixels at byte offsets `offsets` from `base`.
PX_AVX2 inline Channels gatherPixels(const std::uint8_t* base, __m256i offsets)
{
    return split(_mm256_i32gather_epi32(reinterpret_cast<const int*>(base), offsets, 1));
}

// 3 t for every lane, raised to 3 r where column t - r would be left of
// column 0 (the lane's offsets subtract 3 r).
PX_AVX2 inline __m256i columnOffset(int t, __m256i laneBack)
{
    return _mm256_max_epi32(_mm256_set1_epi32(3 * t), _mm256_sub_epi32(_mm256_setzero_si256(), laneBack));
}

// (a w00 + b w10 + c w01 + d w11) >> 15, lane by lane.
PX_AVX2 inline __m256i weighted(__m256i a, __m256i b, __m256i c, __m256i d, __m256i w00, __m256i w10, __m256i w01,
                                __m256i w11)
{
    const __m256i sum = _mm256_add_epi32(_mm256_add_epi32(_mm256_mullo_epi32(a, w00), _mm256_mullo_epi32(b, w10)),
                                         _mm256_add_epi32(_mm256_mullo_epi32(c, w01), _mm256_mullo_epi32(d, w11)));
    return _mm256_srli_epi32(sum, 15);
}

// `two` in the lanes of `mask`, `one` elsewhere.
PX_AVX2 inline __m256i select(__m256i one, __m256i two, __m256i mask)
{
    return _mm256_blendv_epi8(one, two, mask);
}

} // namespace

PX_AVX2 void enlargeBlockAvx2(const Geometry& g, Bitmap& b, const Row* rows)
{
    const int W = g.W;
    const int y0 = rows[0].y;
    const std::size_t rowBytes = std::size_t(W) * 3;
    // The plain rule for every lane that has a column at step t.
    const auto plainStep = [&](int t) {
        for (int r = 0; r < kLanes; ++r)
            if (t - r >= 0 && t - r < W)
                plainPixel(g, b, rows[r], t - r);
    };
    const int first = kLanes, last = W - 2; // steps run lanes wide
    for (int t = 0; t < std::min(first, last + 1); ++t)
        plainStep(t);
    if (first <= last) {
        const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
        const __m256i reverse = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
        const __m256i up = _mm256_setr_epi32(0, 0, 1, 2, 3, 4, 5, 6); // lane r takes lane r-1
        alignas(32) int fyLanes[kLanes];
        for (int r = 0; r < kLanes; ++r)
            fyLanes[r] = rows[r].fy;
        const __m256i fy = _mm256_load_si256(reinterpret_cast<const __m256i*>(fyLanes));
        const __m256i gy = _mm256_sub_epi32(_mm256_set1_epi32(32768), fy);
        // Byte offsets of column c = t - r: in the image from row y0 (and
        // from row y0-1 for the row above), in the copies of the rows.
        const std::uint8_t* image = b.row(y0 - 1);
        const __m256i stride = _mm256_set1_epi32(int(b.stride()));
        const __m256i laneBack = _mm256_mullo_epi32(lane, _mm256_set1_epi32(-3));
        const __m256i imageRow = _mm256_add_epi32(_mm256_mullo_epi32(lane, stride), laneBack);
        const __m256i ownRow = _mm256_add_epi32(imageRow, stride);
        const std::uint8_t* copies = rows[0].original;
        const __m256i copyRow = _mm256_add_epi32(_mm256_mullo_epi32(lane, _mm256_set1_epi32(int(rowBytes))), laneBack);
        // Histories at the first step, from the pixels the plain steps wrote.
        Channels above1 = gatherPixels(image, _mm256_add_epi32(imageRow, columnOffset(first - 1, laneBack)));
        Channels above2 = gatherPixels(image, _mm256_add_epi32(imageRow, columnOffset(first - 2, laneBack)));
        Channels own1 = gatherPixels(image, _mm256_add_epi32(ownRow, columnOffset(first - 1, laneBack)));
        Channels own2 = gatherPixels(image, _mm256_add_epi32(ownRow, columnOffset(first - 2, laneBack)));
        // The row above the block, lane 0's source, by channel.
        const std::uint8_t* rowAbove = b.row(y0 - 1);
        alignas(32) std::uint32_t outPixels[kLanes];
        std::uint8_t* outRow[kLanes];
        for (int r = 0; r < kLanes; ++r)
            outRow[r] = b.row(y0 + r) - std::size_t(r) * 3;
        // The histories by channel, in registers: row above at columns c-2, c-1;
        // own row at c-2, c-1.
        __m256i above2B = above2.c[0], above2G = above2.c[1], above2R = above2.c[2];
        __m256i above1B = above1.c[0], above1G = above1.c[1], above1R = above1.c[2];
        __m256i own2B = own2.c[0], own2G = own2.c[1], own2R = own2.c[2];
        __m256i own1B = own1.c[0], own1G = own1.c[1], own1R = own1.c[2];
        for (int t = first; t <= last; ++t) {
            // Row above at column c: lane r-1's results of the last step;
            // lane 0 reads row y0-1 at column t.
            std::uint32_t abovePixel;
            std::memcpy(&abovePixel, rowAbove + std::size_t(t) * 3, 4);
            const Channels lane0 = split(_mm256_set1_epi32(int(abovePixel)));
            const __m256i above0B = _mm256_blend_epi32(_mm256_permutevar8x32_epi32(own1B, up), lane0.c[0], 0x01);
            const __m256i above0G = _mm256_blend_epi32(_mm256_permutevar8x32_epi32(own1G, up), lane0.c[1], 0x01);
            const __m256i above0R = _mm256_blend_epi32(_mm256_permutevar8x32_epi32(own1R, up), lane0.c[2], 0x01);
            const int at = t - kLanes + 1 + kGuard;
            const __m256i fx = _mm256_permutevar8x32_epi32(
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(g.fraction.data() + at)), reverse);
            const __m256i sx = _mm256_permutevar8x32_epi32(
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(g.source.data() + at)), reverse);
            const __m256i w11 = _mm256_srli_epi32(_mm256_mullo_epi32(fx, fy), 15);
            const __m256i w10 = _mm256_srli_epi32(_mm256_mullo_epi32(fx, gy), 15);
            const __m256i w00 = _mm256_sub_epi32(gy, w10);
            const __m256i w01 = _mm256_sub_epi32(fy, w11);
            const Channels original = gatherPixels(copies, _mm256_add_epi32(copyRow, _mm256_set1_epi32(3 * t)));
            // Lanes whose source column is c-2 rather than c-1.
            const __m256i twoBack = _mm256_cmpeq_epi32(
                _mm256_sub_epi32(_mm256_sub_epi32(_mm256_set1_epi32(t), lane), sx), _mm256_set1_epi32(2));
            __m256i resultB, resultG, resultR;
            if (_mm256_testz_si256(twoBack, twoBack)) {
                // Source column c-1: above c-1, c; own c-1 (written), c (original).
                resultB = weighted(above1B, above0B, own1B, original.c[0], w00, w10, w01, w11);
                resultG = weighted(above1G, above0G, own1G, original.c[1], w00, w10, w01, w11);
                resultR = weighted(above1R, above0R, own1R, original.c[2], w00, w10, w01, w11);
            } else {
                // Source column c-2: above c-2, c-1; own c-2, c-1 (both written).
                const __m256i m = twoBack;
                resultB = weighted(select(above1B, above2B, m), select(above0B, above1B, m), select(own1B, own2B, m),
                                   select(original.c[0], own1B, m), w00, w10, w01, w11);
                resultG = weighted(select(above1G, above2G, m), select(above0G, above1G, m), select(own1G, own2G, m),
                                   select(original.c[1], own1G, m), w00, w10, w01, w11);
                resultR = weighted(select(above1R, above2R, m), select(above0R, above1R, m), select(own1R, own2R, m),
                                   select(original.c[2], own1R, m), w00, w10, w01, w11);
            }
            // Four bytes per pixel: the fourth lands on the next column of the
            // row, written at a later step (the last column never comes here).
            const __m256i pixels = _mm256_or_si256(
                resultB, _mm256_or_si256(_mm256_slli_epi32(resultG, 8), _mm256_slli_epi32(resultR, 16)));
            _mm256_store_si256(reinterpret_cast<__m256i*>(outPixels), pixels);
            for (int r = 0; r < kLanes; ++r)
                std::memcpy(outRow[r] + std::size_t(t) * 3, &outPixels[r], 4);
            above2B = above1B, above2G = above1G, above2R = above1R;
            above1B = above0B, above1G = above0G, above1R = above0R;
            own2B = own1B, own2G = own1G, own2R = own1R;
            own1B = resultB, own1G = resultG, own1R = resultR;
        }
    }
    for (int t = std::max(first, last + 1); t < W + kLanes - 1; ++t)
        plainStep(t);
}

} // namespace px::enlarge
