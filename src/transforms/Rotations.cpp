#include "transforms/Rotations.h"

#include "effects/Parallel.h"
#include "transforms/Mirrors.h"
#include "transforms/RotationKernels.h"
#include "transforms/TransformMath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace px {

namespace {

// Tiles of 32 x 32 pixels keep the 32 source rows a tile reads (about 3 KB
// each) in the first-level cache while the target rows are written.
constexpr int kTile = 32;

inline void copyPixel(std::uint8_t* to, const std::uint8_t* from)
{
    std::memcpy(to, from, 3);
}

// The source pixel that target pixel (x, y) of a quarter turn takes.
inline const std::uint8_t* quarterSource(const Bitmap& source, bool clockwise, int x, int y)
{
    const int w = source.width(), h = source.height();
    return clockwise ? source.row(h - 1 - x) + std::size_t(y) * 3 : source.row(x) + std::size_t(w - 1 - y) * 3;
}

#if defined(__x86_64__)
// Exactly 12 bytes (four pixels), without touching the bytes after them.
__attribute__((target("ssse3"))) inline __m128i load12(const std::uint8_t* p)
{
    std::uint32_t last;
    std::memcpy(&last, p + 8, 4);
    return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_cvtsi32_si128(int(last)));
}

__attribute__((target("ssse3"))) inline void store12(std::uint8_t* p, __m128i v)
{
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
    const std::uint32_t last = std::uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(v, 8)));
    std::memcpy(p + 8, &last, 4);
}

// Target rows y..y+3, columns x..x+3 of a quarter turn: four source rows of
// four pixels, widened to 32-bit lanes, transposed as a 4 x 4 matrix and
// narrowed back.
__attribute__((target("ssse3"))) inline void quarterBlock(const Bitmap& source, const RowBand& target, bool clockwise,
                                                          int x, int y)
{
    const __m128i widen = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i narrow = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    // Row k of the block is target column x + k: source row H-1-(x+k) from
    // column y (clockwise), or source row x + k from column W-4-y, whose
    // pixels come in the opposite order.
    __m128i v[4];
    for (int k = 0; k < 4; ++k) {
        const std::uint8_t* p = quarterSource(source, clockwise, x + k, clockwise ? y : y + 3);
        v[k] = _mm_shuffle_epi8(load12(p), widen);
    }
    const __m128i t0 = _mm_unpacklo_epi32(v[0], v[1]), t1 = _mm_unpackhi_epi32(v[0], v[1]);
    const __m128i t2 = _mm_unpacklo_epi32(v[2], v[3]), t3 = _mm_unpackhi_epi32(v[2], v[3]);
    const __m128i lanes[4] = {_mm_unpacklo_epi64(t0, t2), _mm_unpackhi_epi64(t0, t2), _mm_unpacklo_epi64(t1, t3),
                              _mm_unpackhi_epi64(t1, t3)};
    for (int j = 0; j < 4; ++j)
        store12(target.row(y + j) + std::size_t(x) * 3, _mm_shuffle_epi8(lanes[clockwise ? j : 3 - j], narrow));
}

__attribute__((target("ssse3"))) void quarterTile(const Bitmap& source, const RowBand& target, bool clockwise, int tx,
                                                  int xEnd, int ty, int yEnd)
{
    int y = ty;
    for (; y + 4 <= yEnd; y += 4) {
        int x = tx;
        for (; x + 4 <= xEnd; x += 4)
            quarterBlock(source, target, clockwise, x, y);
        for (int j = 0; j < 4; ++j)
            for (int xr = x; xr < xEnd; ++xr)
                copyPixel(target.row(y + j) + std::size_t(xr) * 3, quarterSource(source, clockwise, xr, y + j));
    }
    for (; y < yEnd; ++y)
        for (int x = tx; x < xEnd; ++x)
            copyPixel(target.row(y) + std::size_t(x) * 3, quarterSource(source, clockwise, x, y));
}
#endif

// The target's rows target.first..target.end-1: target(x', y') :=
// source(y', H-1-x') (clockwise) or source(W-1-y', x'), tile by tile. The
// AVX-512 kernel takes bands of 64 target rows whole: it walks down the
// source 16 rows at a time, fetching the rows it reads next ahead.
void quarterTurn(const Bitmap& source, const RowBand& target, bool clockwise, rotation::Path path)
{
    const int h = source.height();
    const int tile = path == rotation::Path::Avx512 ? 64 : kTile;
    // Bands of tile rows write separate target rows: one band per thread.
    const int tileRows = (target.end - target.first + tile - 1) / tile;
    forEachRowBand(
        tileRows, effectThreadCount(),
        [&](int firstTileRow, int endTileRow) {
            const int bandEnd = std::min(target.end, target.first + endTileRow * tile);
            for (int ty = target.first + firstTileRow * tile; ty < bandEnd; ty += tile) {
                const int yEnd = std::min(ty + tile, target.end);
#if defined(__x86_64__)
                if (path == rotation::Path::Avx512) {
                    rotation::quarterBandAvx512(source, target, clockwise, ty, yEnd);
                    continue;
                }
#endif
                for (int tx = 0; tx < h; tx += tile) {
                    const int xEnd = std::min(tx + tile, h);
#if defined(__x86_64__)
                    if (path == rotation::Path::Ssse3) {
                        quarterTile(source, target, clockwise, tx, xEnd, ty, yEnd);
                        continue;
                    }
#endif
                    for (int y = ty; y < yEnd; ++y) {
                        std::uint8_t* out = target.row(y) + std::size_t(tx) * 3;
                        for (int x = tx; x < xEnd; ++x, out += 3)
                            copyPixel(out, quarterSource(source, clockwise, x, y));
                    }
                }
            }
        },
        1);
}

} // namespace

void RotateRight90(const Bitmap& source, Bitmap& target)
{
    target.reallocate(source.height(), source.width(), 24);
    quarterTurn(source, RowBand::whole(target), true, rotation::quarterPath());
}

void RotateLeft90(const Bitmap& source, Bitmap& target)
{
    target.reallocate(source.height(), source.width(), 24);
    quarterTurn(source, RowBand::whole(target), false, rotation::quarterPath());
}

void Rotate180(const Bitmap& source, Bitmap& target)
{
    target.reallocate(source.width(), source.height(), 24);
    Rotate180Rows(source, RowBand::whole(target));
}

void RotateRight90Rows(const Bitmap& source, const RowBand& target)
{
    quarterTurn(source, target, true, rotation::quarterPath());
}

void RotateLeft90Rows(const Bitmap& source, const RowBand& target)
{
    quarterTurn(source, target, false, rotation::quarterPath());
}

void Rotate180Rows(const Bitmap& source, const RowBand& target)
{
    const int w = source.width(), h = source.height();
    for (int y = target.first; y < target.end; ++y)
        reversePixels(source.row(h - 1 - y), target.row(y), w);
}

namespace {

#if defined(__x86_64__)
// t div 2 in each lane, truncating towards zero.
__attribute__((target("avx2"))) inline __m256i halfTowardsZero(__m256i t)
{
    return _mm256_srai_epi32(_mm256_add_epi32(t, _mm256_srli_epi32(t, 31)), 1);
}

// One target row of the free turn, eight pixels at a time: the same double
// products, rounded the same way (nearest, halves to even), and the source
// offsets, in vector lanes; the pixels are then copied one by one (a gather
// instruction is slower than plain loads on processors that guard it).
// Returns the pixels done; the caller finishes the row.
__attribute__((target("avx2"))) int rotateFreeRowAvx2(const Bitmap& source, std::uint8_t* out, int x, int xEnd, int cx,
                                                      int cy, double c, double s, double vs, double vc,
                                                      const std::uint8_t* bg)
{
    const int w = source.width(), h = source.height();
    const __m256d cc = _mm256_set1_pd(c), ss = _mm256_set1_pd(s), vsv = _mm256_set1_pd(vs), vcv = _mm256_set1_pd(vc);
    const __m256d steps = _mm256_setr_pd(0, 2, 4, 6), eight = _mm256_set1_pd(8);
    const __m256i one = _mm256_set1_epi32(1), cxv = _mm256_set1_epi32(cx), cyv = _mm256_set1_epi32(cy);
    const __m256i wv = _mm256_set1_epi32(w), hv = _mm256_set1_epi32(h), minusOne = _mm256_set1_epi32(-1);
    const __m256i stride = _mm256_set1_epi32(int(source.stride()));
    constexpr int kRound = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;
    const std::uint8_t* bits = source.bits();
    alignas(32) std::int32_t offsets[8];
    for (; x + 8 <= xEnd; x += 8) {
        const __m256d ua = _mm256_add_pd(_mm256_set1_pd(2.0 * (x - cx) + 1), steps);
        const __m256d ub = _mm256_add_pd(ua, eight);
        const __m256i su =
            _mm256_set_m128i(_mm256_cvtpd_epi32(_mm256_round_pd(_mm256_sub_pd(_mm256_mul_pd(ub, cc), vsv), kRound)),
                             _mm256_cvtpd_epi32(_mm256_round_pd(_mm256_sub_pd(_mm256_mul_pd(ua, cc), vsv), kRound)));
        const __m256i sv =
            _mm256_set_m128i(_mm256_cvtpd_epi32(_mm256_round_pd(_mm256_add_pd(_mm256_mul_pd(ub, ss), vcv), kRound)),
                             _mm256_cvtpd_epi32(_mm256_round_pd(_mm256_add_pd(_mm256_mul_pd(ua, ss), vcv), kRound)));
        const __m256i sx = _mm256_add_epi32(halfTowardsZero(_mm256_sub_epi32(su, one)), cxv);
        const __m256i sy = _mm256_add_epi32(halfTowardsZero(_mm256_sub_epi32(sv, one)), cyv);
        const __m256i inside =
            _mm256_and_si256(_mm256_and_si256(_mm256_cmpgt_epi32(sx, minusOne), _mm256_cmpgt_epi32(wv, sx)),
                             _mm256_and_si256(_mm256_cmpgt_epi32(sy, minusOne), _mm256_cmpgt_epi32(hv, sy)));
        _mm256_store_si256(
            reinterpret_cast<__m256i*>(offsets),
            _mm256_add_epi32(_mm256_mullo_epi32(sy, stride), _mm256_add_epi32(sx, _mm256_add_epi32(sx, sx))));
        const unsigned in = unsigned(_mm256_movemask_ps(_mm256_castsi256_ps(inside)));
        std::uint8_t* o = out + std::size_t(x) * 3;
        for (int k = 0; k < 8; ++k, o += 3)
            copyPixel(o, (in >> k) & 1 ? bits + offsets[k] : bg);
    }
    return x;
}
#endif

} // namespace

void RotateFree(const Bitmap& source, Bitmap& target, int angle, Colour background)
{
    target.reallocate(source.width(), source.height(), 24);
    RotateFreeRows(source, RowBand::whole(target), angle, background);
}

void RotateFreeRows(const Bitmap& source, const RowBand& target, int angle, Colour background)
{
    rotation::rotateFreeWith(source, target, angle, background, rotation::freePath());
}

namespace rotation {

void rotateFreeWith(const Bitmap& source, const RowBand& target, int angle, Colour background, Path path)
{
    const int w = source.width(), h = source.height();
    const int cx = w / 2, cy = h / 2;
    const double theta = -(angle * 3.141592653589793 / 180.0);
    const double s = std::sin(theta), c = std::cos(theta);
    const std::uint8_t bg[3] = {blueOf(background), greenOf(background), redOf(background)};
    // The vector paths hold source byte offsets in 32-bit lanes.
    if (source.byteSize() > std::size_t(INT32_MAX))
        path = Path::Plain;
    // Tiles of 64 target columns by 256 rows: the source a tile reads (a
    // turned rectangle) stays in the cache while the tile is written,
    // whatever the angle; a whole target row would read from thousands of
    // source rows. (Taller tiles measured faster than squares of 64.)
    constexpr int kFreeTile = 64, kFreeTileRows = 256;
    static_assert(kFreeTile <= kFreeTileWidth);
    // Bands of tile rows write separate target rows: one band per thread.
    const int tileRows = (target.end - target.first + kFreeTileRows - 1) / kFreeTileRows;
    forEachRowBand(
        tileRows, effectThreadCount(),
        [&](int firstTileRow, int endTileRow) {
            const int bandEnd = std::min(target.end, target.first + endTileRow * kFreeTileRows);
            for (int ty = target.first + firstTileRow * kFreeTileRows; ty < bandEnd; ty += kFreeTileRows)
                for (int tx = 0; tx < w; tx += kFreeTile) {
                    const int xEnd = std::min(tx + kFreeTile, w), yEnd = std::min(ty + kFreeTileRows, bandEnd);
                    int xVector = tx;
#if defined(__x86_64__)
                    if (path == Path::Avx512)
                        xVector = rotateFreeTileAvx512(source, target, tx, xEnd, ty, yEnd, FreeTurn{cx, cy, c, s, bg});
#endif
                    for (int y = ty; y < yEnd; ++y) {
                        const double v = 2.0 * (y - cy) + 1;
                        const double vs = v * s, vc = v * c;
                        int x = xVector;
#if defined(__x86_64__)
                        if (path == Path::Avx2)
                            x = rotateFreeRowAvx2(source, target.row(y), x, xEnd, cx, cy, c, s, vs, vc, bg);
#endif
                        std::uint8_t* out = target.row(y) + std::size_t(x) * 3;
                        for (; x < xEnd; ++x, out += 3) {
                            const double u = 2.0 * (x - cx) + 1;
                            const std::int64_t su = roundHalfEven(u * c - vs);
                            const std::int64_t sv = roundHalfEven(u * s + vc);
                            // Division truncating towards zero, as the rule says.
                            const std::int64_t sx = (su - 1) / 2 + cx;
                            const std::int64_t sy = (sv - 1) / 2 + cy;
                            const std::uint8_t* in = bg;
                            if (sx >= 0 && sx < w && sy >= 0 && sy < h)
                                in = source.row(int(sy)) + std::size_t(sx) * 3;
                            copyPixel(out, in);
                        }
                    }
                }
        },
        1);
}

bool available(Path path)
{
#if defined(__x86_64__)
    switch (path) {
    case Path::Plain:
        return true;
    case Path::Ssse3: {
        static const bool ssse3 = __builtin_cpu_supports("ssse3");
        return ssse3;
    }
    case Path::Avx2: {
        static const bool avx2 = __builtin_cpu_supports("avx2");
        return avx2;
    }
    case Path::Avx512: {
        static const bool avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                                   __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi");
        return avx512;
    }
    }
    return false;
#else
    return path == Path::Plain;
#endif
}

Path quarterPath()
{
    return available(Path::Avx512) ? Path::Avx512 : available(Path::Ssse3) ? Path::Ssse3 : Path::Plain;
}

Path freePath()
{
    return available(Path::Avx512) ? Path::Avx512 : available(Path::Avx2) ? Path::Avx2 : Path::Plain;
}

void quarterTurnWith(const Bitmap& source, const RowBand& target, bool clockwise, Path path)
{
    quarterTurn(source, target, clockwise, path);
}

} // namespace rotation

RotationRoutine rotationRoutine(RotationDirection direction, RotationDegrees degrees, int freeAngle)
{
    if (degrees == RotationDegrees::Free) {
        switch (freeAngle) {
        case 90:
            degrees = RotationDegrees::D90;
            break;
        case 180:
            degrees = RotationDegrees::D180;
            break;
        case 270:
            degrees = RotationDegrees::D270;
            break;
        default:
            return RotationRoutine::Free;
        }
    }
    const bool right = direction == RotationDirection::Right;
    switch (degrees) {
    case RotationDegrees::D90:
        return right ? RotationRoutine::Right90 : RotationRoutine::Left90;
    case RotationDegrees::D270:
        return right ? RotationRoutine::Left90 : RotationRoutine::Right90;
    case RotationDegrees::D180:
    case RotationDegrees::Free:
        break;
    }
    return RotationRoutine::Rotate180;
}

} // namespace px
