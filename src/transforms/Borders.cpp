#include "transforms/Borders.h"

#include "transforms/BordersPaths.h"
#include "transforms/Resizing.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace px {

void SimpleFrame(Canvas& canvas, bool solid, int thickness, Colour colour)
{
    canvas.setPenWidth(thickness);
    canvas.setBrushHollow(!solid);
    canvas.setPenColour(colour);
    canvas.rectangle(0, 0, canvas.bitmap().width(), canvas.bitmap().height());
}

void TwoColourFrame(Canvas& canvas, bool solid, int thickness, Colour first, Colour second, Colour penAfter)
{
    const int w = canvas.bitmap().width(), h = canvas.bitmap().height();
    canvas.setPenWidth(thickness);
    canvas.setBrushHollow(!solid);
    auto line = [&canvas](Colour c, int x1, int y1, int x2, int y2) {
        canvas.setPenColour(c);
        canvas.moveTo(x1, y1);
        canvas.lineTo(x2, y2);
    };
    line(first, 0, 0, w, 0);
    line(second, w, h, 0, h);
    line(first, 0, 0, 0, h);
    line(second, w, h, w, 0);
    canvas.setPenColour(penAfter);
}

void AddBorder(Bitmap& bitmap, int top, int bottom, int left, int right, Colour background)
{
    const std::int64_t w = std::int64_t(bitmap.width()) + left + right;
    const std::int64_t h = std::int64_t(bitmap.height()) + top + bottom;
    checkNewImageSize(w, h);
    Bitmap framed(int(w), int(h), 24);
    Canvas canvas(framed);
    canvas.setBrushHollow(false);
    canvas.setBrushColour(background);
    canvas.fillRect(0, 0, int(w), int(h));
    canvas.draw(left, top, bitmap);
    bitmap.swap(framed);
}

namespace {

// round(from + (to - from) * k / d) per channel, halves to even, exactly:
// (from * d + (to - from) * k) / d, whose quotient a multiplication by 1/d
// finds to within one and the remainder settles.
class Blend {
public:
    explicit Blend(int d) : d_(d), inverse_(1.0 / d) {}

    std::uint8_t operator()(int from, int to, int k) const
    {
        const int n = from * d_ + (to - from) * k; // 0 .. 255 * d
        int q = int(double(n) * inverse_);
        int r = n - q * d_;
        // Without branches: on photographs their outcome is random.
        const int low = r < 0, high = r >= d_;
        q += high - low;
        r += (low - high) * d_;
        q += (2 * r > d_) | ((2 * r == d_) & q);
        return std::uint8_t(q);
    }

private:
    int d_;
    double inverse_;
};

} // namespace

#if defined(__x86_64__)
namespace {

// out := round((top * (d - k) + mid * k) / d) for `count` bytes, eight at a
// time; returns the bytes done. The numerator stays below 2^24, so it and
// its quotient by d are exact within one in single precision; the
// remainder settles the quotient and the rounding, as Blend does.
__attribute__((target("avx2"))) std::size_t blendRowAvx2(const std::uint8_t* top, const std::uint8_t* mid,
                                                         std::uint8_t* out, std::size_t count, int k, int d)
{
    const __m256i kv = _mm256_set1_epi32(k), rest = _mm256_set1_epi32(d - k), dv = _mm256_set1_epi32(d);
    const __m256i dMinusOne = _mm256_set1_epi32(d - 1), one = _mm256_set1_epi32(1);
    const __m256 inverse = _mm256_set1_ps(1.0f / float(d));
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i t = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(top + i)));
        const __m256i m = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(mid + i)));
        const __m256i n = _mm256_add_epi32(_mm256_mullo_epi32(t, rest), _mm256_mullo_epi32(m, kv));
        __m256i q = _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_cvtepi32_ps(n), inverse));
        __m256i r = _mm256_sub_epi32(n, _mm256_mullo_epi32(q, dv));
        const __m256i low = _mm256_cmpgt_epi32(_mm256_setzero_si256(), r);
        q = _mm256_add_epi32(q, low);
        r = _mm256_add_epi32(r, _mm256_and_si256(low, dv));
        const __m256i high = _mm256_cmpgt_epi32(r, dMinusOne);
        q = _mm256_sub_epi32(q, high);
        r = _mm256_sub_epi32(r, _mm256_and_si256(high, dv));
        const __m256i twice = _mm256_add_epi32(r, r);
        const __m256i up = _mm256_or_si256(
            _mm256_cmpgt_epi32(twice, dv),
            _mm256_and_si256(_mm256_cmpeq_epi32(twice, dv), _mm256_cmpeq_epi32(_mm256_and_si256(q, one), one)));
        q = _mm256_sub_epi32(q, up);
        const __m256i words = _mm256_packus_epi32(q, q); // lanes 0-3 | 4-7 per half
        const __m128i bytes = _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1));
        const std::uint32_t lo = std::uint32_t(_mm_cvtsi128_si32(bytes));
        const std::uint32_t hi = std::uint32_t(_mm_extract_epi32(bytes, 2));
        std::memcpy(out + i, &lo, 4);
        std::memcpy(out + i + 4, &hi, 4);
    }
    return i;
}

// With AVX-512 the blends divide instead. The numerator n is an integer
// below 255 * d < 2^24, exact in single precision, and so is every product
// and sum that builds it. The correctly rounded quotient n / d then rounds
// to the same integer as the exact one, halves to even: an exact half
// (q + 1/2, representable) comes out as itself, and any other quotient lies
// at least 1 / (2d) > 2^-17 from the nearest half, farther than half a unit
// of the last place of a float below 256, so rounding cannot carry it onto
// or across that half (d < 2^16 as both sides are below 2^16).
#define PX_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl")))

// (GCC 12 takes the unset vectors its masked intrinsics start from for
// uninitialised reads.)
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

PX_AVX512 inline __m512i roundedQuotient(__m512 n, __m512 d)
{
    constexpr int nearest = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;
    return _mm512_cvt_roundps_epi32(_mm512_div_round_ps(n, d, nearest), nearest);
}

PX_AVX512 inline __m512 bytesAsFloats(const std::uint8_t* p)
{
    return _mm512_cvtepi32_ps(_mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
}

PX_AVX512 inline __m512 bytesAsFloats(const std::uint8_t* p, __mmask16 keep)
{
    return _mm512_cvtepi32_ps(_mm512_cvtepu8_epi32(_mm_maskz_loadu_epi8(keep, p)));
}

// The row blend, all `count` bytes, sixteen at a time.
PX_AVX512 void blendRowAvx512(const std::uint8_t* top, const std::uint8_t* mid, std::uint8_t* out, std::size_t count,
                              int k, int d)
{
    const __m512 kf = _mm512_set1_ps(float(k)), rest = _mm512_set1_ps(float(d - k)), df = _mm512_set1_ps(float(d));
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m512 n = _mm512_fmadd_ps(bytesAsFloats(top + i), rest, _mm512_mul_ps(bytesAsFloats(mid + i), kf));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm512_cvtepi32_epi8(roundedQuotient(n, df)));
    }
    if (i < count) {
        const __mmask16 keep = __mmask16((1u << (count - i)) - 1);
        const __m512 n =
            _mm512_fmadd_ps(bytesAsFloats(top + i, keep), rest, _mm512_mul_ps(bytesAsFloats(mid + i, keep), kf));
        _mm512_mask_cvtepi32_storeu_epi8(out + i, keep, roundedQuotient(n, df));
    }
}

// The column blend of one row, sixteen pixels (three vectors of sixteen
// channels) at a time, left to right: pixel x (W-wb <= x < W-1) is j =
// W-1-x steps from `right` towards `left`, channel by channel, as
// round((right * wb + (left - right) * j) / wb).
PX_AVX512 void blendColumnsAvx512(std::uint8_t* p, int w, int wb)
{
    // Pixel offset of each of the 48 bytes of a block.
    alignas(64) static const float offset[48] = {0,  0,  0,  1,  1,  1,  2,  2,  2,  3,  3,  3,  4,  4,  4,  5,
                                                 5,  5,  6,  6,  6,  7,  7,  7,  8,  8,  8,  9,  9,  9,  10, 10,
                                                 10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15};
    const std::uint8_t* last = p + std::size_t(w - 1) * 3;
    const std::uint8_t* from = p + std::size_t(w - wb) * 3;
    alignas(64) float steps[48], bases[48];
    for (int k = 0; k < 48; ++k) {
        steps[k] = float(from[k % 3] - last[k % 3]);
        bases[k] = float(last[k % 3] * wb);
    }
    const __m512 df = _mm512_set1_ps(float(wb));
    __m512 step[3], base[3], off[3];
    for (int v = 0; v < 3; ++v) {
        step[v] = _mm512_load_ps(steps + 16 * v);
        base[v] = _mm512_load_ps(bases + 16 * v);
        off[v] = _mm512_load_ps(offset + 16 * v);
    }
    const int end = w - 1;
    for (int x = w - wb; x < end; x += 16) {
        const __m512 j = _mm512_set1_ps(float(end - x));
        std::uint8_t* out = p + std::size_t(x) * 3;
        const int bytes = std::min(16, end - x) * 3;
        for (int v = 0; v < 3; ++v) {
            const __m512i q = roundedQuotient(_mm512_fmadd_ps(step[v], _mm512_sub_ps(j, off[v]), base[v]), df);
            const int here = std::clamp(bytes - 16 * v, 0, 16);
            if (here == 16)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * v), _mm512_cvtepi32_epi8(q));
            else if (here > 0)
                _mm512_mask_cvtepi32_storeu_epi8(out + 16 * v, __mmask16((1u << here) - 1), q);
        }
    }
}

#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

} // namespace
#endif

namespace borders {

bool pathAvailable(Path path)
{
#if defined(__x86_64__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    static const bool avx512 =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
    switch (path) {
    case Path::Scalar:
        return true;
    case Path::Avx2:
        return avx2;
    case Path::Avx512:
        return avx512;
    }
    return false;
#else
    return path == Path::Scalar;
#endif
}

void bordureDecomposeeWith(Bitmap& bitmap, int n, Path path)
{
    if (n < 2)
        return;
    const int w = bitmap.width(), h = bitmap.height();
    const int hb = h / n, wb = w / n;
    const std::size_t bytes = std::size_t(w) * 3;
    std::memmove(bitmap.row(0), bitmap.row(h - 1), bytes);
    const Blend rows(std::max(hb, 1));
    for (int y = 1; y < hb; ++y) {
        const std::uint8_t* top = bitmap.row(0);
        const std::uint8_t* mid = bitmap.row(hb);
        std::uint8_t* out = bitmap.row(y);
        std::size_t i = 0;
#if defined(__x86_64__)
        if (path == Path::Avx512) {
            blendRowAvx512(top, mid, out, bytes, y, hb);
            continue;
        }
        if (path == Path::Avx2)
            i = blendRowAvx2(top, mid, out, bytes, y, hb);
#endif
        for (; i < bytes; ++i)
            out[i] = rows(top[i], mid[i], y);
    }
    if (wb < 2) {
        for (int y = 0; y < h; ++y)
            std::memmove(bitmap.row(y) + std::size_t(w - 1) * 3, bitmap.row(y), 3);
        return;
    }
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = bitmap.row(y);
        std::uint8_t* last = p + std::size_t(w - 1) * 3;
        std::memmove(last, p, 3);
#if defined(__x86_64__)
        if (path == Path::Avx512) {
            blendColumnsAvx512(p, w, wb);
            continue;
        }
#endif
        // Along a row the numerator R * wb + (L - R) * j grows by L - R at
        // each step: quotient and remainder follow without a division.
        const std::uint8_t* from = p + std::size_t(w - wb) * 3;
        for (int c = 0; c < 3; ++c) {
            const int right = last[c], left = from[c];
            const int step = left - right;
            int stepQ = step / wb, stepR = step % wb;
            if (stepR < 0) {
                --stepQ;
                stepR += wb;
            }
            int q = right, r = 0; // j = 0
            std::uint8_t* out = p + std::size_t(w - 2) * 3 + std::size_t(c);
            for (int j = 1; j < wb; ++j, out -= 3) {
                q += stepQ;
                r += stepR;
                const int carry = r >= wb;
                q += carry;
                r -= carry * wb;
                *out = std::uint8_t(q + ((2 * r > wb) | ((2 * r == wb) & q)));
            }
        }
    }
}

} // namespace borders

void BordureDecomposee(Bitmap& bitmap, int n)
{
    using borders::Path;
    borders::bordureDecomposeeWith(bitmap, n,
                                   borders::pathAvailable(Path::Avx512) ? Path::Avx512
                                   : borders::pathAvailable(Path::Avx2) ? Path::Avx2
                                                                        : Path::Scalar);
}

namespace {

// Per-channel lookup of the lightening and darkening rules.
struct BevelTables {
    std::uint8_t lighter[256];
    std::uint8_t darker[256];
    explicit BevelTables(int amount)
    {
        for (int c = 0; c < 256; ++c) {
            lighter[c] = ClampByte(c + (255 - c) * amount / 255);
            darker[c] = ClampByte(c - c * amount / 255);
        }
    }
};

} // namespace

void ButtonBevel(Bitmap& bitmap, int size, int amount)
{
    if (size <= 0)
        return;
    const int w = bitmap.width(), h = bitmap.height();
    const int b = size + 1;
    const BevelTables t(amount);
    auto apply = [&](int x, int y, const std::uint8_t* table) {
        if (x < 0 || x >= w || y < 0 || y >= h)
            return;
        std::uint8_t* p = bitmap.row(y) + std::size_t(x) * 3;
        p[0] = table[p[0]];
        p[1] = table[p[1]];
        p[2] = table[p[2]];
    };
    // Beyond the image's height or width the bands have nothing left to
    // touch.
    const int bands = std::min(b, std::max(w, h));
    for (int k = 0; k < bands; ++k) {
        for (int x = std::max(k, 0); x <= std::min(w - 1 - k, w - 1); ++x) {
            apply(x, k, t.lighter);
            apply(x, h - 1 - k, t.darker);
        }
        for (int x = 0; x <= std::min(k, w - 1); ++x) {
            apply(x, k, t.lighter);
            apply(w - 1 - x, k, t.darker);
            apply(x, h - 1 - k, t.lighter);
            apply(w - 1 - x, h - 1 - k, t.darker);
        }
    }
    for (int y = std::max(b, 0); y <= h - 1 - b; ++y)
        for (int x = 0; x < std::min(b, w); ++x) {
            apply(x, y, t.lighter);
            apply(w - 1 - x, y, t.darker);
        }
}

} // namespace px
