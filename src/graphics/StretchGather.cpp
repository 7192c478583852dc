#include "graphics/StretchGather.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace px::stretch {

bool planGather(const std::int64_t* columns, int first, int last, int sourceWidth, std::vector<GatherGroup>& groups)
{
    groups.clear();
    for (int x = first; x <= last; x += 16) {
        GatherGroup g{};
        g.x = x;
        g.pixels = std::min(16, last - x + 1);
        std::int64_t lo = columns[x], hi = columns[x];
        for (int k = 1; k < g.pixels; ++k) {
            lo = std::min(lo, columns[x + k]);
            hi = std::max(hi, columns[x + k]);
        }
        if (lo < 0 || (hi - lo + 1) * 3 > 128)
            return false;
        g.window = int(lo * 3);
        g.windowSize = int((hi - lo + 1) * 3);
        g.whole = std::int64_t(g.window) + 128 <= std::int64_t(sourceWidth) * 3;
        for (int k = 0; k < g.pixels; ++k)
            for (int b = 0; b < 3; ++b)
                g.index[3 * k + b] = std::uint8_t((columns[x + k] - lo) * 3 + b);
        groups.push_back(g);
    }
    return true;
}

#if defined(__x86_64__)

bool gatherAvailable()
{
    static const bool vbmi =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
    return vbmi;
}

namespace {

inline __mmask64 firstBytes(int n)
{
    return n <= 0 ? __mmask64(0) : n >= 64 ? ~__mmask64(0) : (__mmask64(1) << n) - 1;
}

} // namespace

#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void gatherRow(const std::vector<GatherGroup>& groups,
                                                                      const std::uint8_t* in, std::uint8_t* out)
{
    for (const GatherGroup& g : groups) {
        // Within the row, 128 bytes whole; at its end, the window's bytes
        // only (masked loads read nothing past them).
        const std::uint8_t* w = in + g.window;
        __m512i low, high;
        if (g.whole) {
            low = _mm512_loadu_si512(w);
            high = _mm512_loadu_si512(w + 64);
        } else {
            low = _mm512_maskz_loadu_epi8(firstBytes(g.windowSize), w);
            high = g.windowSize > 64 ? _mm512_maskz_loadu_epi8(firstBytes(g.windowSize - 64), w + 64)
                                     : _mm512_setzero_si512();
        }
        const __m512i index = _mm512_loadu_si512(g.index);
        _mm512_mask_storeu_epi8(out + std::size_t(g.x) * 3, firstBytes(3 * g.pixels),
                                _mm512_permutex2var_epi8(low, index, high));
    }
}

#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#else

bool gatherAvailable()
{
    return false;
}

void gatherRow(const std::vector<GatherGroup>&, const std::uint8_t*, std::uint8_t*) {}

#endif

} // namespace px::stretch
