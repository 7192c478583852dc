#include "transforms/Mirrors.h"

#include "effects/Parallel.h"
#include "graphics/Canvas.h"

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

namespace px {

namespace {

void reversePixelsScalar(const std::uint8_t* src, std::uint8_t* dst, int from, int width)
{
    const std::uint8_t* in = src + std::size_t(width - 1 - from) * 3;
    std::uint8_t* out = dst + std::size_t(from) * 3;
    for (int x = from; x < width; ++x, in -= 3, out += 3) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
    }
}

#if defined(__x86_64__)
bool hasSsse3()
{
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    return ssse3;
}

// Four pixels (12 bytes) at a time: a 16-byte load that ends with the four
// source pixels, a shuffle that reverses them, and a 16-byte store whose
// last 4 bytes the next step overwrites. Both stay inside the row: the
// loop stops 6 pixels before its end and the rest goes pixel by pixel.
__attribute__((target("ssse3"))) int reversePixelsSsse3(const std::uint8_t* src, std::uint8_t* dst, int width)
{
    const __m128i order = _mm_setr_epi8(13, 14, 15, 10, 11, 12, 7, 8, 9, 4, 5, 6, -1, -1, -1, -1);
    int x = 0;
    for (; x + 6 <= width; x += 4) {
        const std::uint8_t* in = src + std::size_t(width - 4 - x) * 3 - 4;
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + std::size_t(x) * 3), _mm_shuffle_epi8(v, order));
    }
    return x;
}
bool hasAvx512Vbmi()
{
    static const bool vbmi = __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw");
    return vbmi;
}

// Twenty-one pixels (63 bytes) at a time with one byte permutation. While
// another 21 pixels follow, a plain 64-byte load ends with the source
// pixels (it starts one byte before them, still inside the row) and a plain
// 64-byte store spills one byte that the next step overwrites; the last
// step's masked load and store touch exactly its bytes.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) int reversePixelsVbmi(const std::uint8_t* src, std::uint8_t* dst,
                                                                             int width)
{
    alignas(64) std::uint8_t order[64];
    for (int p = 0; p < 21; ++p)
        for (int c = 0; c < 3; ++c)
            order[3 * p + c] = std::uint8_t(3 * (20 - p) + c);
    order[63] = 63;
    // The same order for a load that starts one byte earlier (the
    // permutation reads its indices mod 64).
    const __m512i perm = _mm512_load_si512(order), permShifted = _mm512_add_epi8(perm, _mm512_set1_epi8(1));
    const __mmask64 bytes63 = (__mmask64(1) << 63) - 1;
    int x = 0;
    for (; x + 42 <= width; x += 21) {
        const __m512i v = _mm512_loadu_si512(src + std::size_t(width - 21 - x) * 3 - 1);
        _mm512_storeu_si512(dst + std::size_t(x) * 3, _mm512_permutexvar_epi8(permShifted, v));
    }
    for (; x + 21 <= width; x += 21) {
        const __m512i v = _mm512_maskz_loadu_epi8(bytes63, src + std::size_t(width - 21 - x) * 3);
        _mm512_mask_storeu_epi8(dst + std::size_t(x) * 3, bytes63, _mm512_permutexvar_epi8(perm, v));
    }
    return x;
}
#endif

} // namespace

void reversePixels(const std::uint8_t* src, std::uint8_t* dst, int width)
{
    int done = 0;
#if defined(__x86_64__)
    if (hasAvx512Vbmi())
        done = reversePixelsVbmi(src, dst, width);
    else if (hasSsse3())
        done = reversePixelsSsse3(src, dst, width);
#endif
    reversePixelsScalar(src, dst, done, width);
}

// Each row's source is read from its end back to its start; walking the rows
// from the bottom up makes the reads one stream down through memory, which
// the processor fetches ahead better than a jump forward at every row.
void MirrorLeftRight(const Bitmap& source, Bitmap& target)
{
    forEachRowBand(source.height(), effectThreadCount(), [&](int first, int end) {
        for (int y = end - 1; y >= first; --y)
            reversePixels(source.row(y), target.row(y), source.width());
    });
}

void MirrorTopBottom(const Bitmap& source, Bitmap& target)
{
    const int h = source.height();
    const std::size_t bytes = std::size_t(source.width()) * 3;
    for (int y = 0; y < h; ++y)
        std::memcpy(target.row(y), source.row(h - 1 - y), bytes);
}

void MirrorDouble(const Bitmap& source, Bitmap& target, MirrorDoubling doubling)
{
    const int w = source.width(), h = source.height();
    const int nw = doubling == MirrorDoubling::Down ? w : 2 * w;
    const int nh = doubling == MirrorDoubling::Right ? h : 2 * h;
    target.reallocate(nw, nh, 24);
    Canvas canvas(target);
    const Rect whole{0, 0, w, h};
    // The unchanged image keeps its own size on an axis that is not
    // doubled. A destination rectangle given backwards on an axis receives
    // a copy mirrored on that axis: (NW - 1, ..., NW div 2 - 1, ...) covers
    // the columns NW div 2 .. NW - 1 from right to left.
    const int hw = doubling == MirrorDoubling::Down ? nw : nw / 2;
    const int hh = doubling == MirrorDoubling::Right ? nh : nh / 2;
    canvas.stretchCopy({0, 0, hw, hh}, source, whole);
    if (doubling != MirrorDoubling::Down)
        canvas.stretchCopy({nw - 1, 0, hw - 1, hh}, source, whole);
    if (doubling != MirrorDoubling::Right)
        canvas.stretchCopy({0, nh - 1, hw, hh - 1}, source, whole);
    if (doubling == MirrorDoubling::Both)
        canvas.stretchCopy({nw - 1, nh - 1, hw - 1, hh - 1}, source, whole);
}

} // namespace px
