#include "codecs/RgbSwap.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace px {

namespace {

void swapScalar(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels)
{
    for (std::size_t i = 0; i < pixels; ++i, src += 3, dst += 3) {
        const std::uint8_t first = src[0];
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = first;
    }
}

#if defined(__x86_64__)
bool hasSsse3()
{
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    return ssse3;
}

// Five pixels (15 bytes) per 16-byte load; the 16th byte is stored back
// unchanged, so it is either rewritten by the next step or was never part of
// a pixel that changes. Loads run one step ahead of stores, which keeps the
// in-place case correct: each load reads bytes no earlier store has touched.
__attribute__((target("ssse3"))) std::size_t swapSsse3(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    std::size_t done = 0;
    // Needs 16 readable bytes: 5 pixels plus one byte of the sixth.
    while (done + 6 <= pixels) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * done));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 3 * done), _mm_shuffle_epi8(v, order));
        done += 5;
    }
    return done;
}
#endif

} // namespace

void swapRedBlue(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels)
{
    std::size_t done = 0;
#if defined(__x86_64__)
    if (hasSsse3())
        done = swapSsse3(src, dst, pixels);
#endif
    swapScalar(src + 3 * done, dst + 3 * done, pixels - done);
}

} // namespace px
