// "Mirage" (seamless edges) and the two half-image mirrors, in place on
// 24-bit rows.
#include "transforms/Deformations.h"

#include <immintrin.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace px {

namespace {

// MulDiv(p, q, d): p * q / d rounded to the nearest integer, halves away
// from zero, for a band of d + 1 >= 2 pixels (0 <= p <= d < 2^16) and a
// channel difference |q| <= 255: sign(q) * floor((2 p |q| + d) / 2d).
inline int mulDiv(std::uint32_t twiceP, int q, std::uint32_t d)
{
    const std::uint32_t size = std::uint32_t(q < 0 ? -q : q);
    const int quotient = int((twiceP * size + d) / (2 * d));
    return q < 0 ? -quotient : quotient;
}

// Eight lanes of mulDiv at a time, for 2p given per byte (`twiceP`) or, when
// `twiceP` is null, as `constant`. The quotient is at most 255.5, so its
// float estimate is off by at most one and is corrected exactly.
__attribute__((target("avx2"))) std::size_t blendAvx2(std::uint8_t* out, const std::uint8_t* mirrored,
                                                      const std::uint8_t* right, const std::uint32_t* twiceP,
                                                      std::uint32_t constant, std::size_t count, std::uint32_t d)
{
    const __m256i divisor = _mm256_set1_epi32(int(2 * d)), half = _mm256_set1_epi32(int(d));
    const __m256i lastRest = _mm256_set1_epi32(int(2 * d - 1));
    const __m256 inverse = _mm256_set1_ps(1.0f / float(2 * d));
    const __m256i fixedP = _mm256_set1_epi32(int(constant));
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i m = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(mirrored + i)));
        const __m256i r = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(right + i)));
        const __m256i q = _mm256_sub_epi32(m, r);
        const __m256i p = twiceP ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(twiceP + i)) : fixedP;
        const __m256i n = _mm256_add_epi32(_mm256_mullo_epi32(p, _mm256_abs_epi32(q)), half);
        __m256i quotient = _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_cvtepi32_ps(n), inverse));
        const __m256i rest = _mm256_sub_epi32(n, _mm256_mullo_epi32(quotient, divisor));
        quotient = _mm256_add_epi32(quotient, _mm256_cmpgt_epi32(_mm256_setzero_si256(), rest)); // one less
        quotient = _mm256_sub_epi32(quotient, _mm256_cmpgt_epi32(rest, lastRest));               // one more
        const __m256i result = _mm256_add_epi32(r, _mm256_sign_epi32(quotient, q));
        const __m256i words = _mm256_packus_epi32(result, result);
        const __m128i bytes = _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1));
        const auto eight = std::uint64_t(_mm_cvtsi128_si64(_mm_unpacklo_epi32(bytes, _mm_srli_si128(bytes, 8))));
        std::memcpy(out + i, &eight, 8);
    }
    return i;
}

// blendAvx2 with sixteen lanes. (GCC 12 takes the undefined upper lanes
// that its 512-bit conversion intrinsics start from for uninitialised
// reads.)
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
__attribute__((target("avx512f,avx512bw"))) std::size_t blendAvx512(std::uint8_t* out, const std::uint8_t* mirrored,
                                                                    const std::uint8_t* right,
                                                                    const std::uint32_t* twiceP, std::uint32_t constant,
                                                                    std::size_t count, std::uint32_t d)
{
    const __m512i divisor = _mm512_set1_epi32(int(2 * d)), half = _mm512_set1_epi32(int(d));
    const __m512i lastRest = _mm512_set1_epi32(int(2 * d - 1));
    const __m512 inverse = _mm512_set1_ps(1.0f / float(2 * d));
    const __m512i fixedP = _mm512_set1_epi32(int(constant));
    const __m512i zero = _mm512_setzero_si512(), one = _mm512_set1_epi32(1);
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m512i m = _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(mirrored + i)));
        const __m512i r = _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(right + i)));
        const __m512i q = _mm512_sub_epi32(m, r);
        const __m512i p = twiceP ? _mm512_loadu_si512(twiceP + i) : fixedP;
        const __m512i n = _mm512_add_epi32(_mm512_mullo_epi32(p, _mm512_abs_epi32(q)), half);
        __m512i quotient = _mm512_cvttps_epi32(_mm512_mul_ps(_mm512_cvtepi32_ps(n), inverse));
        const __m512i rest = _mm512_sub_epi32(n, _mm512_mullo_epi32(quotient, divisor));
        quotient = _mm512_mask_sub_epi32(quotient, _mm512_cmplt_epi32_mask(rest, zero), quotient, one);
        quotient = _mm512_mask_add_epi32(quotient, _mm512_cmpgt_epi32_mask(rest, lastRest), quotient, one);
        const __m512i signedQuotient =
            _mm512_mask_sub_epi32(quotient, _mm512_cmplt_epi32_mask(q, zero), zero, quotient);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm512_cvtusepi32_epi8(_mm512_add_epi32(r, signedQuotient)));
    }
    return i;
}
#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

bool haveAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

bool haveAvx512()
{
    static const bool avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    return avx512;
}

// out[i] := right[i] + MulDiv(p_i, mirrored[i] - right[i], d), with 2 p_i
// given per byte by `twiceP`, or `constant` for every byte when `twiceP` is
// null; `out` may be `right`.
void blendBytes(std::uint8_t* out, const std::uint8_t* mirrored, const std::uint8_t* right, const std::uint32_t* twiceP,
                std::uint32_t constant, std::size_t count, std::uint32_t d)
{
    std::size_t i = haveAvx512() ? blendAvx512(out, mirrored, right, twiceP, constant, count, d)
                    : haveAvx2() ? blendAvx2(out, mirrored, right, twiceP, constant, count, d)
                                 : 0;
    for (; i < count; ++i)
        out[i] = std::uint8_t(right[i] + mulDiv(twiceP ? twiceP[i] : constant, int(mirrored[i]) - int(right[i]), d));
}

// Right band := B + MulDiv(x, M - B, bw - 1), M the left band mirrored.
void blendColumns(Bitmap& b, int bw)
{
    const int W = b.width();
    const std::uint32_t d = std::uint32_t(bw - 1);
    const std::size_t bytes = std::size_t(bw) * 3;
    std::vector<std::uint32_t> twiceP(bytes);
    for (std::size_t i = 0; i < bytes; ++i)
        twiceP[i] = 2 * std::uint32_t(i / 3);
    // The mirrored band is copied out first (the bands overlap when
    // bw > W / 2), then the right band is blended in place.
    std::vector<std::uint8_t> mirrored(bytes);
    for (int y = 0; y < b.height(); ++y) {
        std::uint8_t* row = b.row(y);
        for (int x = 0; x < bw; ++x)
            std::memcpy(mirrored.data() + std::size_t(x) * 3, row + std::size_t(bw - 1 - x) * 3, 3);
        std::uint8_t* right = row + std::size_t(W - bw) * 3;
        blendBytes(right, mirrored.data(), right, twiceP.data(), 0, bytes, d);
    }
}

// Bottom band := B + MulDiv(y, M - B, bh - 1), M the top band mirrored,
// computed from the rows as the column pass left them.
void blendRows(Bitmap& b, int bh)
{
    const int W = b.width(), H = b.height();
    const std::uint32_t d = std::uint32_t(bh - 1);
    // Rows of the top band that the bottom band overwrites before they are
    // read (only when the bands overlap) are read from a copy.
    Bitmap top;
    if (H - bh < bh) {
        top = Bitmap(W, bh, 24);
        for (int y = 0; y < bh; ++y)
            std::memcpy(top.row(y), b.row(y), std::size_t(W) * 3);
    }
    const std::size_t bytes = std::size_t(W) * 3;
    for (int y = 0; y < bh; ++y) {
        const std::uint8_t* mirrored = top.isEmpty() ? b.row(bh - 1 - y) : top.row(bh - 1 - y);
        std::uint8_t* out = b.row(H - bh + y);
        blendBytes(out, mirrored, out, nullptr, 2 * std::uint32_t(y), bytes, d);
    }
}

} // namespace

void Mirage(Bitmap& bitmap, int n)
{
    if (n <= 0 || bitmap.isEmpty())
        return;
    bitmap.setPixelFormat(24);
    const int bw = bitmap.width() / n, bh = bitmap.height() / n;
    if (bw >= 2)
        blendColumns(bitmap, bw);
    if (bh >= 2)
        blendRows(bitmap, bh);
}

void RefletHorizontal(Bitmap& bitmap)
{
    bitmap.setPixelFormat(24);
    const int H = bitmap.height();
    const std::size_t bytes = std::size_t(bitmap.width()) * 3;
    for (int y = 0; y <= H / 2; ++y)
        if (H - 1 - y != y)
            std::memmove(bitmap.row(H - 1 - y), bitmap.row(y), bytes);
}

void RefletVertical(Bitmap& bitmap)
{
    bitmap.setPixelFormat(24);
    const int W = bitmap.width();
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* row = bitmap.row(y);
        for (int x = 0; x <= W / 2 && x < W; ++x) {
            std::uint8_t* to = row + std::size_t(W - 1 - x) * 3;
            const std::uint8_t* from = row + std::size_t(x) * 3;
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
}

} // namespace px
