#include "codecs/RgbSwap.h"

#include <algorithm>

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

bool hasAvx512Vbmi()
{
    static const bool vbmi =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
    return vbmi;
}

// For 64 pixels, byte j of 64-byte output chunk c is sample (64c + j) / 3
// of plane (64c + j) % 3 (blue, green, red). One two-table shuffle takes the
// blue and green samples (indices from 64 up select green), a masked
// shuffle then puts in the red ones.
struct InterleaveIndices {
    alignas(64) std::uint8_t blueGreen[3][64];
    alignas(64) std::uint8_t red[3][64];
    std::uint64_t redBytes[3];
    constexpr InterleaveIndices() : blueGreen{}, red{}, redBytes{}
    {
        for (int chunk = 0; chunk < 3; ++chunk)
            for (int j = 0; j < 64; ++j) {
                const int n = 64 * chunk + j, sample = n / 3, plane = n % 3;
                blueGreen[chunk][j] = std::uint8_t(plane == 1 ? 64 + sample : sample);
                red[chunk][j] = std::uint8_t(sample);
                if (plane == 2)
                    redBytes[chunk] |= std::uint64_t(1) << j;
            }
    }
};
constexpr InterleaveIndices kInterleave64;

// Blocks of 64 pixels; with `Stream`, `dst` must be 64-byte aligned.
template <bool Stream>
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) std::size_t
interleaveAvx512(const std::uint8_t* r, const std::uint8_t* g, const std::uint8_t* b, std::uint8_t* dst,
                 std::size_t pixels)
{
    __m512i blueGreen[3], red[3];
    for (int c = 0; c < 3; ++c) {
        blueGreen[c] = _mm512_load_si512(kInterleave64.blueGreen[c]);
        red[c] = _mm512_load_si512(kInterleave64.red[c]);
    }
    std::size_t done = 0;
    for (; done + 64 <= pixels; done += 64, dst += 192) {
        const __m512i vb = _mm512_loadu_si512(b + done);
        const __m512i vg = _mm512_loadu_si512(g + done);
        const __m512i vr = _mm512_loadu_si512(r + done);
        for (int c = 0; c < 3; ++c) {
            const __m512i o = _mm512_mask_permutexvar_epi8(_mm512_permutex2var_epi8(vb, blueGreen[c], vg),
                                                           kInterleave64.redBytes[c], red[c], vr);
            if constexpr (Stream)
                _mm512_stream_si512(reinterpret_cast<__m512i*>(dst + 64 * c), o);
            else
                _mm512_storeu_si512(dst + 64 * c, o);
        }
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
        const auto at = [&] { return reinterpret_cast<std::uintptr_t>(dst + 3 * done); };
        if (stream) {
            // Pixels one by one up to the first 16-byte boundary; as 3 and 16
            // are coprime, one of the first 16 pixels starts on it.
            while (done < pixels && at() % 16 != 0)
                ++done;
            interleaveScalar(red, green, blue, dst, done);
        }
        if (hasAvx512Vbmi()) {
            // Streamed blocks start on 64-byte boundaries: 16-pixel blocks up
            // to one (each moves 48 bytes, 16 back modulo 64).
            if (stream) {
                const std::size_t toBoundary = std::min(pixels - done, std::size_t(at() % 64 / 16 * 16));
                done += interleaveSsse3<true>(red + done, green + done, blue + done, dst + 3 * done, toBoundary);
            }
            done += stream
                        ? interleaveAvx512<true>(red + done, green + done, blue + done, dst + 3 * done, pixels - done)
                        : interleaveAvx512<false>(red + done, green + done, blue + done, dst + 3 * done, pixels - done);
        }
        done += stream ? interleaveSsse3<true>(red + done, green + done, blue + done, dst + 3 * done, pixels - done)
                       : interleaveSsse3<false>(red + done, green + done, blue + done, dst + 3 * done, pixels - done);
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
