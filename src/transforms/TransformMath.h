#pragma once
// Small arithmetic rules shared by the texture, geometry and border
// routines.
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#else
#include <cmath>
#endif

namespace px {

// The nearest integer, halves to even (the processor's default rounding,
// which the routines' formulas assume). Values beyond the 64-bit range give
// an unspecified result that callers bound afterwards.
inline std::int64_t roundHalfEven(double v)
{
#if defined(__x86_64__)
    return _mm_cvtsd_si64(_mm_set_sd(v));
#else
    return std::llrint(v);
#endif
}

// numerator / denominator (denominator > 0) rounded to the nearest integer,
// halves to even, exactly.
inline std::int64_t divideRoundHalfEven(std::int64_t numerator, std::int64_t denominator)
{
    std::int64_t q = numerator / denominator;
    std::int64_t r = numerator % denominator;
    if (r < 0) {
        --q;
        r += denominator;
    }
    if (2 * r > denominator || (2 * r == denominator && (q & 1)))
        ++q;
    return q;
}

} // namespace px
