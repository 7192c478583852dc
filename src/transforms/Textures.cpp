#include "transforms/Textures.h"

#include "transforms/TextureKernels.h"

#include "effects/Parallel.h"
#include "graphics/Canvas.h"
#include "graphics/CanvasRegion.h"
#include "transforms/TransformMath.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace px {

int mandelCount(double kr, double ki)
{
    double zr = 0, zi = 0;
    int count = 0;
    while (count < 65 && zr * zr + zi * zi < 4.0) {
        const double r = zr * zr - zi * zi + kr;
        zi = 2 * zr * zi + ki;
        zr = r;
        ++count;
    }
    return count;
}

namespace {

#if defined(__x86_64__)
bool hasAvx()
{
    static const bool avx = __builtin_cpu_supports("avx");
    return avx;
}

// mandelCount for the four points (kr[0..3], ki) at once: each lane does the
// scalar arithmetic in the same order (no fused multiply-add), and a lane
// that has stopped never counts again, so the counts are the scalar ones.
__attribute__((target("avx"))) void mandelCounts4(const double* kr, double ki, int* counts)
{
    const __m256d four = _mm256_set1_pd(4.0), two = _mm256_set1_pd(2.0), one = _mm256_set1_pd(1.0);
    const __m256d vkr = _mm256_loadu_pd(kr), vki = _mm256_set1_pd(ki);
    __m256d zr = _mm256_setzero_pd(), zi = _mm256_setzero_pd(), count = _mm256_setzero_pd();
    __m256d running = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
    for (int n = 0; n < 65; ++n) {
        const __m256d rr = _mm256_mul_pd(zr, zr), ii = _mm256_mul_pd(zi, zi);
        running = _mm256_and_pd(running, _mm256_cmp_pd(_mm256_add_pd(rr, ii), four, _CMP_LT_OQ));
        if (_mm256_movemask_pd(running) == 0)
            break;
        const __m256d r = _mm256_add_pd(_mm256_sub_pd(rr, ii), vkr);
        zi = _mm256_add_pd(_mm256_mul_pd(_mm256_mul_pd(two, zr), zi), vki);
        zr = r;
        count = _mm256_add_pd(count, _mm256_and_pd(running, one));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(counts), _mm256_cvtpd_epi32(count));
}
#endif

void mandelRows(Bitmap& bitmap, int threshold, int first, int end)
{
    const int w = bitmap.width(), h = bitmap.height();
    std::vector<double> kr(std::size_t(w) + 4);
    for (int x = 0; x < w; ++x)
        kr[std::size_t(x)] = x * 3.25 / w - 2.0;
    for (int y = first; y < end; ++y) {
        const double ki = y * 2.5 / h - 1.25;
        std::uint8_t* p = bitmap.row(y);
        int x = 0;
#if defined(__x86_64__)
        if (hasAvx()) {
            int counts[4];
            for (; x + 4 <= w; x += 4) {
                mandelCounts4(&kr[std::size_t(x)], ki, counts);
                for (int k = 0; k < 4; ++k, p += 3)
                    if (counts[k] <= threshold)
                        p[0] = p[1] = p[2] = 0;
            }
        }
#endif
        for (; x < w; ++x, p += 3)
            if (mandelCount(kr[std::size_t(x)], ki) <= threshold)
                p[0] = p[1] = p[2] = 0;
    }
}

} // namespace

void Mandel(Bitmap& bitmap, int threshold, int threads)
{
    // Each pixel depends on its own coordinates only: rows split freely.
    forEachRowBand(bitmap.height(), threads, [&](int first, int end) { mandelRows(bitmap, threshold, first, end); });
}

void Ovale(Bitmap& bitmap, Colour colour)
{
    // The pixels the canvas's filled ellipse (0, 0, W, H) covers, row by
    // row; what lies outside them is filled through the canvas.
    const int w = bitmap.width(), h = bitmap.height();
    const EllipseRegion ellipse(0, 0, w, h);
    Canvas canvas(bitmap);
    canvas.setBrushHollow(false);
    canvas.setBrushColour(colour);
    for (int y = 0; y < h; ++y) {
        std::int64_t first = 0, last = -1;
        if (!ellipse.rowRange(y, first, last)) {
            canvas.fillRect(0, y, w, y + 1);
            continue;
        }
        canvas.fillRect(0, y, int(std::clamp<std::int64_t>(first, 0, w)), y + 1);
        canvas.fillRect(int(std::clamp<std::int64_t>(last + 1, 0, w)), y, w, y + 1);
    }
}

namespace {

// The offsets depend on x mod P and y mod P only: rowOffset[y mod P] is cy,
// columnOffset[x mod P] is sx.
struct MarbleTables {
    MarbleTables(MarbleVariant variant, int period, int scale, int w, int h)
    {
        const double s = scale;
        rowOffset.resize(std::size_t(std::min(h, period)));
        columnOffset.resize(std::size_t(std::min(w, period)));
        for (std::size_t i = 0; i < rowOffset.size(); ++i) {
            const double a = double(i) / s;
            rowOffset[i] = variant == MarbleVariant::C ? s * std::sin(a) : s * std::cos(a);
        }
        for (std::size_t i = 0; i < columnOffset.size(); ++i) {
            const double a = double(i) / s;
            switch (variant) {
            case MarbleVariant::A:
            case MarbleVariant::B:
                columnOffset[i] = -s * std::sin(a);
                break;
            case MarbleVariant::C:
                columnOffset[i] = -s * std::cos(a);
                break;
            case MarbleVariant::D:
                columnOffset[i] = -std::tan(a) / s;
                break;
            }
        }
    }
    std::vector<double> rowOffset, columnOffset;
};

void marbrePlain(Bitmap& bitmap, const MarbleTables& tables, bool minus, int period, bool backwards)
{
    const int w = bitmap.width(), h = bitmap.height();
    const std::vector<double>& rowOffset = tables.rowOffset;
    const std::vector<double>& columnOffset = tables.columnOffset;
    const std::size_t stride = bitmap.stride();
    std::uint8_t* bits = bitmap.bits();
    auto visit = [&](int x, int y, double cy, double sx) {
        const double fx = minus ? double(x) - sx + cy : double(x) + sx + cy;
        const double fy = minus ? double(y) - cy + sx : double(y) + cy + sx;
        const std::int64_t nx = roundHalfEven(std::fabs(fx));
        const std::int64_t ny = roundHalfEven(std::fabs(fy));
        // Beyond the 64-bit range the rounding gives a negative number.
        if (std::uint64_t(nx) >= std::uint64_t(w) || std::uint64_t(ny) >= std::uint64_t(h))
            return;
        const std::uint8_t* from = bits + std::size_t(y) * stride + std::size_t(x) * 3;
        std::uint8_t* to = bits + std::size_t(ny) * stride + std::size_t(nx) * 3;
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
    };
    if (!backwards) {
        for (int y = 0; y < h; ++y) {
            const double cy = rowOffset[std::size_t(y % period)];
            for (int x = 0, c = 0; x < w; ++x, c = c + 1 == period ? 0 : c + 1)
                visit(x, y, cy, columnOffset[std::size_t(c)]);
        }
    } else {
        for (int y = h - 1; y >= 0; --y) {
            const double cy = rowOffset[std::size_t(y % period)];
            for (int x = w - 1; x >= 0; --x)
                visit(x, y, cy, columnOffset[std::size_t(x % period)]);
        }
    }
}

// Copies the three bytes of a pixel; `to` and `from` are the same pixel or
// do not overlap.
inline void copyPixel(std::uint8_t* to, const std::uint8_t* from)
{
    std::uint16_t low;
    std::memcpy(&low, from, 2);
    const std::uint8_t high = from[2];
    std::memcpy(to, &low, 2);
    to[2] = high;
}

// Offsets beyond this size leave too little room under the doubles' units
// for the rounding test below.
constexpr double kRoundingReach = 1 << 24, kHalfMargin = 1e-6;

// Pixel (x, y) goes to (round |x + d|, round |y + e|) with d = cy + sx and
// e = d in variants A, C and D, and d = cy - sx and e = -d in B (sx from
// the column, cy from the row). Where neither abs acts, and d lies farther
// than a hair from a half, that is (x + R, y + R) or (x + R, y - R) with
// R = round d, the same for every pixel of a row in the same column of the
// period. With every offset and coordinate under 2^24, the sums the rule
// makes are off by less than 2^-27, far inside kHalfMargin. The abs acts on
// y + e only in the top rows, on x + d only in the first columns.
struct RoundingPlan {
    RoundingPlan(const MarbleTables& tables, bool minus, int w, int h)
        : sign(minus ? -1 : 1), columns(tables.columnOffset)
    {
        const std::vector<double>& cy = tables.rowOffset;
        std::vector<double>& sx = columns;
        if (minus)
            for (double& v : sx)
                v = -v;
        auto finite = [](double v) { return std::isfinite(v); };
        if (!std::all_of(sx.begin(), sx.end(), finite) || !std::all_of(cy.begin(), cy.end(), finite))
            return;
        const auto [sxLow, sxHigh] = std::minmax_element(sx.begin(), sx.end());
        const auto [cyLow, cyHigh] = std::minmax_element(cy.begin(), cy.end());
        const double reach = std::max(std::fabs(*sxLow), std::fabs(*sxHigh)) +
                             std::max(std::fabs(*cyLow), std::fabs(*cyHigh)) + std::max(w, h);
        if (reach >= kRoundingReach)
            return;
        const double low = *sxLow + *cyLow, high = *sxHigh + *cyHigh;
        firstColumn = int(std::max(0.0, std::ceil(1 - low)));
        firstRow = int(std::max(0.0, std::ceil(1 - (minus ? -high : low))));
        // d lies near a half when frac(sx) lies near 0.5 - frac(cy), modulo 1.
        std::vector<double> fractions(sx.size());
        std::transform(sx.begin(), sx.end(), fractions.begin(), [](double v) { return v - std::floor(v); });
        std::sort(fractions.begin(), fractions.end());
        auto anyWithin = [&](double from, double to) {
            const auto at = std::lower_bound(fractions.begin(), fractions.end(), from);
            return at != fractions.end() && *at <= to;
        };
        clearResidue.resize(cy.size());
        for (std::size_t r = 0; r < cy.size(); ++r) {
            double near = 0.5 - (cy[r] - std::floor(cy[r]));
            if (near < 0)
                near += 1;
            const double from = near - kHalfMargin, to = near + kHalfMargin;
            clearResidue[r] = !anyWithin(from, to) && !anyWithin(from + 1, to + 1) && !anyWithin(from - 1, to - 1);
        }
        usable = true;
    }
    // Row y's pixels from firstColumn on go to (x + R, y + sign R).
    bool clear(int y, int period) const { return usable && y >= firstRow && clearResidue[std::size_t(y % period)]; }

    const int sign;
    // The columns' offsets as they enter d: sx, or -sx in B.
    std::vector<double> columns;
    bool usable = false;
    int firstColumn = 0, firstRow = 0;
    std::vector<char> clearResidue;
};

// The lanes' marble, row after row in the plain order. On a clear row (see
// RoundingPlan) a pixel's target is its own place moved by one of a
// period's worth of byte offsets, worked out once for the row. Elsewhere
// the target positions of a row's pixels are computed in lanes, a piece of
// the row at a time, before those pixels are copied one after the other: a
// copy may read what an earlier one wrote, but the positions depend on x
// and y only. A pixel whose target lies outside is copied onto itself
// instead, which spares the loop a test.
class MarbleLanes {
public:
    MarbleLanes(Bitmap& bitmap, const MarbleTables& tables, bool minus, int period, bool backwards,
                textures::Lanes lanes)
        : bitmap_(bitmap), tables_(tables), minus_(minus), period_(period), backwards_(backwards), lanes_(lanes),
          width_(bitmap.width()), height_(bitmap.height()), columnPeriod_(int(tables.columnOffset.size())),
          plan_(tables, minus, width_, height_), columns_(std::size_t(columnPeriod_ + 16)),
          buffer_(kAhead + kPiece + kAhead, 0), moves_(std::size_t(columnPeriod_ + kAhead)),
          rounded_(std::size_t(columnPeriod_))
    {
        // The column table repeated past its end, so that sixteen lanes
        // from any phase read it in one piece.
        for (std::size_t i = 0; i < columns_.size(); ++i)
            columns_[i] = tables.columnOffset[i % std::size_t(columnPeriod_)];
    }

    void run()
    {
        const int split = std::min(plan_.firstColumn, width_);
        for (int i = 0; i < height_; ++i) {
            const int y = backwards_ ? height_ - 1 - i : i;
            if (!plan_.clear(y, period_)) {
                lanesRow(y, 0, width_);
            } else if (!backwards_) {
                lanesRow(y, 0, split);
                clearRow(y, split);
            } else {
                clearRow(y, split);
                lanesRow(y, 0, split);
            }
        }
    }

private:
    // Pieces of a row whose targets are computed at once, and how many
    // pixels ahead of its copy a target's line is fetched (the targets
    // spread over many rows, the lines are far from the cache).
    static constexpr int kPiece = 2048, kAhead = 160;

    // Columns `first` to the width of clear row y. Its copies never meet:
    // each lands on another row (or, when R is 0, on its own pixel), and
    // reads its own pixel, so the row is copied left to right whichever way
    // the walk goes.
    void clearRow(int y, int first)
    {
        const int w = width_, h = height_, period = columnPeriod_;
        const int sign = plan_.sign;
        const std::ptrdiff_t stride = std::ptrdiff_t(bitmap_.stride());
        const std::ptrdiff_t step = 3 + sign * stride;
        // R and the byte offset for each column of the period (none when
        // the target row lies below the image), and the largest R. The
        // offsets repeat for kAhead entries past the period's end, so that
        // the pixel kAhead further on reads its own too.
        const double cy = tables_.rowOffset[std::size_t(y % period_)];
        const double* const columns = plan_.columns.data();
        int* const rounded = rounded_.data();
        std::int32_t* const moves = moves_.data();
        int high = INT_MIN;
        for (int c = 0; c < period; ++c) {
            const int r = int(roundHalfEven(columns[c] + cy));
            rounded[c] = r;
            moves[c] = y + sign * r < h ? std::int32_t(std::ptrdiff_t(r) * step) : 0;
            high = std::max(high, r);
        }
        for (int i = 0; i < kAhead; i += period)
            std::copy_n(moves, std::min(period, kAhead - i), moves + period + i);
        // Columns before `checked` stay inside the image whatever their R;
        // from there on, a pixel whose target lies right of the image stays.
        const int checked = std::clamp(w - std::max(high, 0), first, w);
        std::uint8_t* const line = bitmap_.row(y);
        copyMoved(line, first, checked, period, moves);
        for (int x = checked, c = checked % period; x < w; ++x, c = c + 1 == period ? 0 : c + 1) {
            const std::ptrdiff_t move = x + rounded[c] < w ? moves[c] : 0;
            copyPixel(line + 3 * x + move, line + 3 * x);
        }
    }

    // Columns [x0, x1) of a clear row, all of them moved inside the image;
    // each copy fetches the line of the copy kAhead after it. Four pixels
    // are read in two 8-byte loads (two bytes past the fourth, which the
    // row holds when a pixel follows) and their moves in pairs.
    void copyMoved(std::uint8_t* line, int x0, int x1, int period, const std::int32_t* moves) const
    {
        auto store = [](std::uint8_t* to, std::uint64_t pixel) {
            const std::uint16_t low = std::uint16_t(pixel);
            std::memcpy(to, &low, 2);
            to[2] = std::uint8_t(pixel >> 16);
        };
        auto first = [](std::uint64_t pair) { return std::int32_t(std::uint32_t(pair)); };
        auto second = [](std::uint64_t pair) { return std::int32_t(std::uint32_t(pair >> 32)); };
        // The place fetched may lie past the bitmap near its end.
        auto fetch = [](const std::uint8_t* from, int j, std::int32_t move) {
            __builtin_prefetch(reinterpret_cast<const void*>(std::uintptr_t(from) + std::uintptr_t(3 * (j + kAhead)) +
                                                             std::uintptr_t(std::intptr_t(move))),
                               1);
        };
        std::uint8_t* from = line + 3 * x0;
        for (int x = x0, c = x0 % period; x < x1;) {
            const int n = std::min(period - c, x1 - x);
            const std::int32_t* const move = moves + c;
            const int groups = (x + n < width_ ? n : n - 1) / 4;
            int j = 0;
            for (; j < 4 * groups; j += 4) {
                std::uint64_t a, b;
                std::memcpy(&a, from + 3 * j, 8);
                std::memcpy(&b, from + 3 * j + 6, 8);
                // Two moves in each 8-byte load.
                std::uint64_t m01, m23, f01, f23;
                std::memcpy(&m01, move + j, 8);
                std::memcpy(&m23, move + j + 2, 8);
                std::memcpy(&f01, move + j + kAhead, 8);
                std::memcpy(&f23, move + j + kAhead + 2, 8);
                fetch(from, j, first(f01));
                fetch(from, j + 1, second(f01));
                fetch(from, j + 2, first(f23));
                fetch(from, j + 3, second(f23));
                std::uint8_t* const at = from + 3 * j;
                store(at + first(m01), a);
                store(at + 3 + second(m01), a >> 24);
                store(at + 6 + first(m23), b);
                store(at + 9 + second(m23), b >> 24);
            }
            for (; j < n; ++j) {
                fetch(from, j, move[j + kAhead]);
                copyPixel(from + 3 * j + move[j], from + 3 * j);
            }
            from += 3 * n;
            x += n;
            c = 0;
        }
    }

    // Columns [x0, x1) of row y, targets computed in lanes.
    void lanesRow(int y, int x0, int x1)
    {
        std::uint8_t* const bits = bitmap_.bits();
        const std::int32_t stride = std::int32_t(bitmap_.stride());
        const bool backwards = backwards_;
        // The ends of the buffer, fetched ahead of the first and last
        // pieces, point at the first pixel.
        std::int32_t* const offsets = buffer_.data() + kAhead;
        textures::MarbleRow row{};
        row.columns = columns_.data();
        row.period = columnPeriod_;
        row.sign = minus_ ? -1.0 : 1.0;
        row.offsets = offsets;
        row.width = width_;
        row.height = height_;
        row.stride = stride;
        row.cy = tables_.rowOffset[std::size_t(y % period_)];
        row.down = minus_ ? double(y) - row.cy : double(y) + row.cy;
        const std::uint8_t* const line = bits + std::size_t(y) * std::size_t(stride);
        for (int k = x0; k < x1; k += kPiece) {
            // Pieces run from the left, or from the right backwards.
            const int first = backwards ? std::max(x0, x1 - (k - x0) - kPiece) : k;
            const int end = backwards ? x1 - (k - x0) : std::min(x1, k + kPiece);
            row.x0 = first;
            row.phase = first % columnPeriod_;
            row.count = (end - first + 15) / 16 * 16;
            row.home = y * stride + first * 3;
            if (lanes_ == textures::Lanes::Avx512)
                textures::marbleTargetsAvx512(row);
            else
                textures::marbleTargetsAvx2(row);
            const int n = end - first;
            const std::uint8_t* from = line + std::size_t(first) * 3;
            if (!backwards) {
#pragma GCC unroll 4
                for (int j = 0; j < n; ++j) {
                    __builtin_prefetch(bits + offsets[j + kAhead], 1);
                    copyPixel(bits + offsets[j], from + 3 * j);
                }
            } else {
#pragma GCC unroll 4
                for (int j = n - 1; j >= 0; --j) {
                    __builtin_prefetch(bits + offsets[j - kAhead], 1);
                    copyPixel(bits + offsets[j], from + 3 * j);
                }
            }
        }
    }

    Bitmap& bitmap_;
    const MarbleTables& tables_;
    const bool minus_;
    const int period_;
    const bool backwards_;
    const textures::Lanes lanes_;
    const int width_, height_, columnPeriod_;
    const RoundingPlan plan_;
    std::vector<double> columns_;
    std::vector<std::int32_t> buffer_;
    std::vector<std::int32_t> moves_;
    std::vector<int> rounded_;
};

} // namespace

void textures::marbreWith(Bitmap& bitmap, MarbleVariant variant, int period, int scale, bool backwards, Lanes lanes)
{
    const int w = bitmap.width(), h = bitmap.height();
    if (period <= 0 || scale == 0 || w <= 0 || h <= 0)
        return;
    const MarbleTables tables(variant, period, scale, w, h);
    const bool minus = variant == MarbleVariant::B;
    // The lanes keep byte offsets, and moves of up to a column and the
    // height's worth of rows, in 32 bits.
    if (lanes == Lanes::Plain || bitmap.byteSize() + 3 * std::size_t(h) > std::size_t(INT32_MAX))
        marbrePlain(bitmap, tables, minus, period, backwards);
    else
        MarbleLanes(bitmap, tables, minus, period, backwards, lanes).run();
}

void Marbre(Bitmap& bitmap, MarbleVariant variant, int period, int scale, bool backwards)
{
    textures::marbreWith(bitmap, variant, period, scale, backwards, textures::bestLanes());
}

namespace {

#if defined(__x86_64__)
bool hasAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

// states[i] := a * states[i - 16] + c (mod 2^32) for i = 16 .. n-1, eight
// lanes at a time; the first 16 states are given.
__attribute__((target("avx2"))) void continueStatesAvx2(std::uint32_t* states, std::size_t n, std::uint32_t a,
                                                        std::uint32_t c)
{
    const __m256i av = _mm256_set1_epi32(int(a)), cv = _mm256_set1_epi32(int(c));
    std::size_t i = 16;
    for (; i + 8 <= n; i += 8) {
        const __m256i before = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(states + i - 16));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(states + i),
                            _mm256_add_epi32(_mm256_mullo_epi32(before, av), cv));
    }
    for (; i < n; ++i)
        states[i] = a * states[i - 16] + c;
}
#endif

// The states the generator passes through in its next n draws, in order,
// and the generator left after them. The draws of a row do not depend on
// one another, so the states are computed 16 apart in independent lanes
// rather than one after the other.
void nextStates(RandomGenerator& random, std::vector<std::uint32_t>& states, std::size_t n)
{
    states.resize(n);
    std::uint32_t state = random.state();
    for (std::size_t i = 0; i < std::min<std::size_t>(n, 16); ++i)
        states[i] = state = state * RandomGenerator::kMultiplier + 1u;
    if (n > 16) {
        const std::uint32_t c = RandomGenerator::stateAfter(0, 16);
        const std::uint32_t a = RandomGenerator::stateAfter(1, 16) - c;
        bool done = false;
#if defined(__x86_64__)
        if (hasAvx2()) {
            continueStatesAvx2(states.data(), n, a, c);
            done = true;
        }
#endif
        if (!done)
            for (std::size_t i = 16; i < n; ++i)
                states[i] = a * states[i - 16] + c;
    }
    if (n > 0)
        random.setState(states[n - 1]);
}

// Random(n) for the draw that left the generator in `state`.
inline int drawn(std::uint32_t n, std::uint32_t state)
{
    return int((std::uint64_t(n) * state) >> 32);
}

} // namespace

namespace {

void sprayPlain(const Bitmap& source, Bitmap& target, std::uint32_t d, RandomGenerator& random)
{
    const int w = source.width(), h = source.height();
    std::vector<std::uint32_t> states;
    // Locals, not the bitmaps' fields: a byte store may alias anything, so
    // fields would be read again after every pixel.
    const std::uint8_t* const in = source.bits();
    const std::size_t stride = source.stride();
    for (int y = 0; y < h; ++y) {
        // Three draws per pixel: r, then the two offsets.
        nextStates(random, states, std::size_t(w) * 3);
        std::uint8_t* out = target.row(y);
        const std::uint32_t* st = states.data();
        for (int x = 0; x < w; ++x, out += 3, st += 3) {
            const int r = drawn(d, st[0]);
            const std::uint32_t span = std::uint32_t(2 * r);
            const int sx = x + r - drawn(span, st[1]);
            const int sy = y + r - drawn(span, st[2]);
            if (unsigned(sx) >= unsigned(w) || unsigned(sy) >= unsigned(h))
                continue;
            std::memcpy(out, in + std::size_t(sy) * stride + std::size_t(sx) * 3, 3);
        }
    }
}

// The state after n draws from s is a * s + c, a and c depending on n only.
void drawsAhead(std::uint64_t n, std::uint32_t& a, std::uint32_t& c)
{
    c = RandomGenerator::stateAfter(0, n);
    a = RandomGenerator::stateAfter(1, n) - c;
}

} // namespace

void textures::sprayWith(const Bitmap& source, Bitmap& target, int radius, RandomGenerator& random, Lanes lanes)
{
    const std::uint32_t d = radius <= 0 ? 0 : std::uint32_t(radius);
    // The lanes read the source while writing the target: a routine writing
    // its own source would read what it wrote, which only the plain loop
    // does.
    if (lanes != Lanes::Avx512 || source.bits() == target.bits() || source.byteSize() > std::size_t(INT32_MAX)) {
        sprayPlain(source, target, d, random);
        return;
    }
    SprayLanes constants;
    for (int j = 0; j < 3; ++j)
        for (int k = 0; k < 16; ++k)
            drawsAhead(std::uint64_t(3 * k + j + 1), constants.laneMul[j][k], constants.laneAdd[j][k]);
    drawsAhead(48, constants.blockMul, constants.blockAdd);
    drawsAhead(std::uint64_t(source.width()) * 3, constants.rowMul, constants.rowAdd);
    random.setState(sprayAvx512(source, target, d, random.state(), constants));
}

void Spray(const Bitmap& source, Bitmap& target, int radius, RandomGenerator& random)
{
    textures::sprayWith(source, target, radius, random, textures::bestLanes());
}

void SprayDecompose(Bitmap& bitmap, int amount, RandomGenerator& random)
{
    const int w = bitmap.width(), h = bitmap.height();
    const int l = std::max(0, std::min(h / 2, amount));
    random.seedFromClock();
    // Rows are walked upwards and copy downwards, so every row is read
    // before anything is written into it.
    for (int y = h - 1 - l; y >= 0; --y) {
        const std::uint8_t* in = bitmap.row(y);
        int k = 0;
        for (int x = 0; x < w; ++x) {
            if (k != 0)
                std::memcpy(bitmap.row(y + k) + std::size_t(x) * 3, in + std::size_t(x) * 3, 3);
            k = random.random(l);
        }
    }
}

} // namespace px
