#pragma once
// The per-pixel arithmetic of the twirl and the fish-eye lens, shared by the
// plain rows (DeformationsResample.cpp) and the vector rows
// (DeformationsResampleAvx2.cpp, DeformationsResampleAvx512.cpp). Both evaluate the same single-precision
// operations in the same order, without fused multiply-adds, so that a
// pixel comes out the same whichever path computes it.
#include "graphics/Bitmap.h"

#include <cmath>
#include <cstdint>

namespace px::resample {

// Sine and cosine in single precision for |x| <= kSinCosLimit: x is reduced
// by multiples of pi/4 (pi split into three parts, so the reduction stays
// exact that far) to |x| <= pi/4, where two polynomials apply.
inline constexpr float kSinCosLimit = 8192.0f;
inline constexpr float kFourOverPi = 1.27323954473516f;
inline constexpr float kPiPart1 = 0.78515625f;
inline constexpr float kPiPart2 = 2.4187564849853515625e-4f;
inline constexpr float kPiPart3 = 3.77489497744594108e-8f;
inline constexpr float kSinP0 = -1.9515295891e-4f;
inline constexpr float kSinP1 = 8.3321608736e-3f;
inline constexpr float kSinP2 = -1.6666654611e-1f;
inline constexpr float kCosP0 = 2.443315711809948e-5f;
inline constexpr float kCosP1 = -1.388731625493765e-3f;
inline constexpr float kCosP2 = 4.166664568298827e-2f;

inline void sinCosSingle(float x, float& s, float& c)
{
    if (!(std::fabs(x) <= kSinCosLimit)) {
        // Far arguments: the reduction above would lose the angle.
        s = float(std::sin(double(x)));
        c = float(std::cos(double(x)));
        return;
    }
    const bool negative = x < 0.0f;
    float a = negative ? -x : x;
    int octant = int(a * kFourOverPi);
    octant += octant & 1;
    const float k = float(octant);
    a = ((a - k * kPiPart1) - k * kPiPart2) - k * kPiPart3;
    octant &= 7;
    bool sinNegative = negative, cosNegative = false;
    if (octant > 3) {
        octant -= 4;
        sinNegative = !sinNegative;
        cosNegative = !cosNegative;
    }
    if (octant > 1)
        cosNegative = !cosNegative;
    const float z = a * a;
    const float cosPoly = ((kCosP0 * z + kCosP1) * z + kCosP2) * z * z - 0.5f * z + 1.0f;
    const float sinPoly = ((kSinP0 * z + kSinP1) * z + kSinP2) * z * a + a;
    const bool swap = octant == 1 || octant == 2;
    const float sv = swap ? cosPoly : sinPoly;
    const float cv = swap ? sinPoly : cosPoly;
    s = sinNegative ? -sv : sv;
    c = cosNegative ? -cv : cv;
}

// The twirl's constants for one image.
struct Twirl {
    float cx, cy; // (W-1)/2, (H-1)/2
    float twist;  // T
};

// Sample position of pixel (x, y) under the twirl. The sample lies at the
// pixel's distance r from the centre and at its angle turned by
// pi/2 - r/T; with (dx, dy) = r (cos theta, sin theta), that is the centre
// plus (dx sin(r/T) - dy cos(r/T), dy sin(r/T) + dx cos(r/T)), which needs
// no arctangent. The centre itself (dx = dy = 0) samples itself.
inline void twirlPosition(const Twirl& t, int x, int y, float& sx, float& sy)
{
    const float dx = float(x) - t.cx, dy = float(y) - t.cy;
    const float r = std::sqrt(dx * dx + dy * dy);
    float s, c;
    sinCosSingle(r / t.twist, s, c);
    sx = t.cx + (dx * s - dy * c);
    sy = t.cy + (dy * s + dx * c);
}

// The lens's constants for one image; `radius` changes as pixels meet it.
struct Lens {
    float cx, cy; // W/2, H/2
};

inline constexpr float kLensWidening = 0.01f;

// Sample position of pixel (x, y) under the lens of radius `radius`, which
// widens when the pixel lies exactly on it.
inline void lensPosition(const Lens& l, float& radius, int x, int y, float& sx, float& sy)
{
    const float dx = float(x) - l.cx, dy = float(y) - l.cy;
    const float r = std::sqrt(dx * dx + dy * dy);
    if (r == 0.0f) {
        sx = l.cx;
        sy = l.cy;
        return;
    }
    if (r == radius)
        radius = radius + kLensWidening;
    const float k = (1.0f / (1.0f - r / radius) - 1.0f) * (radius / 2.0f);
    sx = l.cx + dx * k / r;
    sy = l.cy + dy * k / r;
}

// The vector rows: each computes pixels x, x+1, ... < end of row y of
// `result` (`out` is the row) from `source` in groups of eight (AVX2) or
// sixteen (AVX-512) and returns the first x it did not compute. Only for
// processors where haveAvx2() / haveAvx512() holds. The pixels they compute
// equal those of twirlPosition / lensPosition + SampleWrapped.
bool haveAvx2();
bool haveAvx512();
int twirlSpanAvx2(const Twirl& t, const Bitmap& source, int y, int x, int end, std::uint8_t* out);
int lensSpanAvx2(const Lens& l, float& radius, const Bitmap& source, int y, int x, int end, std::uint8_t* out);
int twirlSpanAvx512(const Twirl& t, const Bitmap& source, int y, int x, int end, std::uint8_t* out);
int lensSpanAvx512(const Lens& l, float& radius, const Bitmap& source, int y, int x, int end, std::uint8_t* out);

// The twirl's block of rows y0 .. y1-1 (at most 32 rows, each above its
// mirrored row H-1-y) and columns x .. end-1 (at most 256, end <= W/2),
// together with its three mirror images about the centre lines. The four
// pixels (x, y), (W-1-x, y), (x, H-1-y) and (W-1-x, H-1-y) have offsets
// from the centre that differ only in sign, so they share their distance,
// sine and cosine, which are worked out once. Returns the first column
// that no row of the block has done (its mirror images are not done
// either).
int twirlMirroredBlockAvx512(const Twirl& t, const Bitmap& source, Bitmap& result, int y0, int y1, int x, int end);

// Which rows the routines use: the widest the processor has, or (for the
// tests) a narrower one. A span's last pixels that a width leaves over go
// to the next narrower one.
enum class Lanes { Plain, Avx2, Avx512 };
Lanes bestLanes();
void twirlWith(const Bitmap& source, Bitmap& result, int twist, int threads, Lanes lanes);
void fisheyeWith(const Bitmap& source, Bitmap& result, float strength, int threads, Lanes lanes);

} // namespace px::resample
