#include "graphics/PixelFill.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace px::pixelfill {

namespace {

// One pixel, then doubling copies: eight pixels of pattern as three 64-bit
// words, stored 24 bytes at a time, then 8 at a time: short runs (the rows
// of thin figures) cost a few stores rather than library calls.
void fillScalar(std::uint8_t* p, std::int64_t n, std::uint32_t c)
{
    const std::uint64_t b = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, r = c & 0xFF;
    const std::uint64_t px = b | (g << 8) | (r << 16); // one pixel: blue, green, red
    const std::uint64_t words[3] = {px | (px << 24) | (px << 48), (px >> 16) | (px << 8) | (px << 32) | (px << 56),
                                    (px >> 8) | (px << 16) | (px << 40)};
    const std::size_t total = std::size_t(n) * 3;
    std::size_t i = 0;
    for (; i + 24 <= total; i += 24)
        std::memcpy(p + i, words, 24);
    int k = 0;
    for (; i + 8 <= total; i += 8, ++k)
        std::memcpy(p + i, &words[k], 8);
    for (std::uint64_t rest = words[k]; i < total; ++i, rest >>= 8)
        p[i] = std::uint8_t(rest);
}

#if defined(__x86_64__)
#define PX_AVX512 __attribute__((target("avx512f,avx512bw")))

// A 64-byte vector holds 21 whole pixels and the first byte of the next:
// stores 63 bytes apart overlap by that byte, which they write alike.
PX_AVX512 inline void fillAvx512(std::uint8_t* p, std::int64_t n, std::uint32_t c)
{
    // Byte k of the vector is channel k mod 3 of the pixel, picked within
    // each 16-byte lane from the pixel repeated every four bytes.
    const __m512i channels = _mm512_set_epi8(0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, //
                                             2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, //
                                             1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, //
                                             0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0);
    const std::uint32_t px = ((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16); // blue, green, red
    const __m512i v = _mm512_shuffle_epi8(_mm512_set1_epi32(int(px)), channels);
    const std::size_t total = std::size_t(n) * 3;
    std::size_t i = 0;
    for (; i + 64 <= total; i += 63)
        _mm512_storeu_si512(p + i, v);
    if (i < total)
        _mm512_mask_storeu_epi8(p + i, (std::uint64_t(1) << (total - i)) - 1, v); // total - i < 64
}

PX_AVX512 void fillOneAvx512(std::uint8_t* p, std::int64_t n, std::uint32_t c)
{
    fillAvx512(p, n, c);
}
#endif

// The runs of a row, each clipped, by `fillOne`.
template <class FillOne>
inline void fillRunsWith(std::uint8_t* row, int width, const ColourRun* runs, std::size_t count, int& left, int& right,
                         FillOne fillOne)
{
    left = width;
    right = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int x0 = std::max(runs[i].x0, 0), x1 = std::min(runs[i].x1, width);
        if (x0 >= x1)
            continue;
        fillOne(row + std::size_t(x0) * 3, x1 - x0, runs[i].colour);
        left = std::min(left, x0);
        right = std::max(right, x1);
    }
}

#if defined(__x86_64__)
PX_AVX512 void fillRunsAvx512(std::uint8_t* row, int width, const ColourRun* runs, std::size_t count, int& left,
                              int& right)
{
    // fillRunsWith, with the fill written in: a call per run would cost as
    // much as the short runs of narrow figures themselves.
    left = width;
    right = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int x0 = std::max(runs[i].x0, 0), x1 = std::min(runs[i].x1, width);
        if (x0 >= x1)
            continue;
        fillAvx512(row + std::size_t(x0) * 3, x1 - x0, runs[i].colour);
        left = std::min(left, x0);
        right = std::max(right, x1);
    }
}
#endif

} // namespace

bool available(Path path)
{
#if defined(__x86_64__)
    static const bool avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    return path == Path::Scalar || avx512;
#else
    return path == Path::Scalar;
#endif
}

void fill(std::uint8_t* p, std::int64_t n, std::uint32_t colour, Path path)
{
    if (n <= 0)
        return;
#if defined(__x86_64__)
    if (path == Path::Avx512) {
        fillOneAvx512(p, n, colour);
        return;
    }
#endif
    fillScalar(p, n, colour);
}

void fill(std::uint8_t* p, std::int64_t n, std::uint32_t colour)
{
    static const Path best = available(Path::Avx512) ? Path::Avx512 : Path::Scalar;
    fill(p, n, colour, best);
}

void fillRuns(std::uint8_t* row, int width, const ColourRun* runs, std::size_t count, int& left, int& right, Path path)
{
#if defined(__x86_64__)
    if (path == Path::Avx512) {
        fillRunsAvx512(row, width, runs, count, left, right);
        return;
    }
#endif
    fillRunsWith(row, width, runs, count, left, right,
                 [](std::uint8_t* p, std::int64_t n, std::uint32_t c) { fillScalar(p, n, c); });
}

void fillRuns(std::uint8_t* row, int width, const ColourRun* runs, std::size_t count, int& left, int& right)
{
    static const Path best = available(Path::Avx512) ? Path::Avx512 : Path::Scalar;
    fillRuns(row, width, runs, count, left, right, best);
}

} // namespace px::pixelfill
