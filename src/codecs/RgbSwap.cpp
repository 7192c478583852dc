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

// Shuffle masks taking sample i of one plane to byte 3i + offset of the
// 48-byte output of 16 pixels, one mask per 16-byte output chunk; 0x80
// leaves the byte zero for the other planes to fill.
struct InterleaveMasks {
    alignas(16) std::uint8_t m[3][3][16];
    constexpr InterleaveMasks() : m{}
    {
        for (int chunk = 0; chunk < 3; ++chunk)
            for (int plane = 0; plane < 3; ++plane)
                for (int j = 0; j < 16; ++j) {
                    const int n = 16 * chunk + j;
                    m[chunk][plane][j] = n % 3 == plane ? std::uint8_t(n / 3) : 0x80;
                }
    }
};
constexpr InterleaveMasks kInterleave;

// With `Stream`, the 48-byte blocks go straight to memory; `dst` must then
// be 16-byte aligned.
template <bool Stream>
__attribute__((target("ssse3"))) std::size_t interleaveSsse3(const std::uint8_t* r, const std::uint8_t* g,
                                                             const std::uint8_t* b, std::uint8_t* dst,
                                                             std::size_t pixels)
{
    const auto mask = [](int chunk, int plane) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(kInterleave.m[chunk][plane]));
    };
    const auto store = [](std::uint8_t* at, __m128i v) {
        if constexpr (Stream)
            _mm_stream_si128(reinterpret_cast<__m128i*>(at), v);
        else
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at), v);
    };
    const __m128i m00 = mask(0, 0), m01 = mask(0, 1), m02 = mask(0, 2);
    const __m128i m10 = mask(1, 0), m11 = mask(1, 1), m12 = mask(1, 2);
    const __m128i m20 = mask(2, 0), m21 = mask(2, 1), m22 = mask(2, 2);
    std::size_t done = 0;
    for (; done + 16 <= pixels; done += 16, dst += 48) {
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + done));
        const __m128i vg = _mm_loadu_si128(reinterpret_cast<const __m128i*>(g + done));
        const __m128i vr = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + done));
        const __m128i o0 =
            _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(vb, m00), _mm_shuffle_epi8(vg, m01)), _mm_shuffle_epi8(vr, m02));
        const __m128i o1 =
            _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(vb, m10), _mm_shuffle_epi8(vg, m11)), _mm_shuffle_epi8(vr, m12));
        const __m128i o2 =
            _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(vb, m20), _mm_shuffle_epi8(vg, m21)), _mm_shuffle_epi8(vr, m22));
        store(dst, o0);
        store(dst + 16, o1);
        store(dst + 32, o2);
    }
    if constexpr (Stream)
        _mm_sfence();
    return done;
}
#endif

void interleaveScalar(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue, std::uint8_t* dst,
                      std::size_t pixels)
{
    for (std::size_t i = 0; i < pixels; ++i) {
        dst[3 * i] = blue[i];
        dst[3 * i + 1] = green[i];
        dst[3 * i + 2] = red[i];
    }
}

} // namespace

void interleaveBgr(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue, std::uint8_t* dst,
                   std::size_t pixels, bool stream)
{
    std::size_t done = 0;
#if defined(__x86_64__)
    if (hasSsse3()) {
        if (stream) {
            // Pixels one by one up to the first 16-byte boundary; as 3 and 16
            // are coprime, one of the first 16 pixels starts on it.
            std::size_t head = 0;
            while (head < pixels && reinterpret_cast<std::uintptr_t>(dst + 3 * head) % 16 != 0)
                ++head;
            interleaveScalar(red, green, blue, dst, head);
            done = head + interleaveSsse3<true>(red + head, green + head, blue + head, dst + 3 * head, pixels - head);
        } else {
            done = interleaveSsse3<false>(red, green, blue, dst, pixels);
        }
    }
#else
    (void)stream;
#endif
    interleaveScalar(red + done, green + done, blue + done, dst + 3 * done, pixels - done);
}

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
