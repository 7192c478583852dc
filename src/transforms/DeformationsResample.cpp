// The resampling deformations: "Tordre" (twirl) and "Fisheye", both reading
// a source bitmap through SampleWrapped and writing every pixel of a result
// bitmap. Rows are independent, so they may be split between threads; the
// lens's widening radius is the one thing that flows from pixel to pixel,
// and it is worked out row by row beforehand.
#include "transforms/Deformations.h"

#include "effects/Parallel.h"
#include "transforms/ResampleKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace px {

namespace {

using namespace resample;

// One axis of a wrapped sample: the two neighbour indices and their weights.
struct AxisSample {
    int index[2];
    float weight[2];
};

AxisSample sampleAxis(float s, int size)
{
    // Positions beyond any image (and NaN) sample as 0; int64 keeps the
    // truncation exact for every position an image can produce.
    if (!(std::fabs(s) < 9.0e18f))
        s = 0.0f;
    std::int64_t i = std::int64_t(s);
    AxisSample a;
    if (s >= 0.0f) {
        a.weight[1] = s - float(i);
        a.weight[0] = 1.0f - a.weight[1];
    } else {
        a.weight[0] = float(i) - s;
        a.weight[1] = 1.0f - a.weight[0];
    }
    if (i < 0)
        i = (size - 1) - ((-i) % size);
    else if (i > size - 1)
        i = i % size;
    a.index[0] = int(i);
    a.index[1] = i + 1 < size ? int(i) + 1 : size - int(i) - 1;
    return a;
}

void copyRows(const Bitmap& source, Bitmap& result)
{
    for (int y = 0; y < source.height(); ++y)
        std::memcpy(result.row(y), source.row(y), std::size_t(source.width()) * 3);
}

void prepareResult(const Bitmap& source, Bitmap& result)
{
    if (result.width() != source.width() || result.height() != source.height() || result.bitsPerPixel() != 24)
        result.reallocate(source.width(), source.height(), 24);
}

// The twirl's samples for one destination row follow a spiral across the
// whole source, and the lens's a ray; a block of neighbouring destination
// pixels samples a much smaller region. Each band of rows is therefore
// walked in blocks of this many rows and columns (the result does not
// depend on the order).
constexpr int kBlockRows = 32;
constexpr int kBlockColumns = 256;

template <class Span> void forEachBlock(int first, int end, int width, Span span)
{
    for (int top = first; top < end; top += kBlockRows)
        for (int left = 0; left < width; left += kBlockColumns)
            for (int y = top, bottom = std::min(end, top + kBlockRows); y < bottom; ++y)
                span(y, left, std::min(width, left + kBlockColumns));
}

void twirlSpan(const Twirl& t, const Bitmap& source, int y, int x, int end, std::uint8_t* out, Lanes lanes)
{
    if (lanes == Lanes::Avx512)
        x = twirlSpanAvx512(t, source, y, x, end, out);
    if (lanes != Lanes::Plain)
        x = twirlSpanAvx2(t, source, y, x, end, out);
    for (; x < end; ++x) {
        float sx, sy;
        twirlPosition(t, x, y, sx, sy);
        SampleWrapped(source, sx, sy, out + std::size_t(x) * 3);
    }
}

void lensSpan(const Lens& l, float radius, const Bitmap& source, int y, int x, int end, std::uint8_t* out, Lanes lanes)
{
    if (lanes == Lanes::Avx512)
        x = lensSpanAvx512(l, radius, source, y, x, end, out);
    if (lanes != Lanes::Plain)
        x = lensSpanAvx2(l, radius, source, y, x, end, out);
    for (; x < end; ++x) {
        float sx, sy;
        lensPosition(l, radius, x, y, sx, sy);
        SampleWrapped(source, sx, sy, out + std::size_t(x) * 3);
    }
}

// The twirl's blocks of `rows` x `columns` pixels from the top-left corner
// (a quarter of the image with sixteen lanes, the whole image otherwise),
// in the order they are walked: ring by ring (rings kRingWidth wide, by
// the distance of the block's centre from the image's centre), and along
// each ring by angle. The twirl turns every ring as a whole, so blocks that
// follow each other along a ring read the same stretch of source rows,
// which stays in the cache from one block to the next; walking row by row,
// the reads of a block spiral away from those of the block before.
constexpr double kRingWidth = 256.0;

struct Block {
    int top, left;
};

std::vector<Block> ringOrder(const Twirl& t, int rows, int columns)
{
    struct Placed {
        Block block;
        double ring, angle;
    };
    std::vector<Placed> placed;
    for (int top = 0; top < rows; top += kBlockRows)
        for (int left = 0; left < columns; left += kBlockColumns) {
            const double dx = left + kBlockColumns / 2.0 - t.cx, dy = top + kBlockRows / 2.0 - t.cy;
            placed.push_back({{top, left}, std::floor(std::hypot(dx, dy) / kRingWidth), std::atan2(dy, dx)});
        }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return a.ring != b.ring ? a.ring < b.ring : a.angle < b.angle;
    });
    std::vector<Block> order;
    order.reserve(placed.size());
    for (const Placed& p : placed)
        order.push_back(p.block);
    return order;
}

// Calls body(block) for the blocks of `order`; threads take runs of the
// order (blocks never overlap).
template <class Body> void forEachInOrder(const std::vector<Block>& order, int threads, Body body)
{
    forEachRowBand(
        int(order.size()), threads,
        [&](int first, int end) {
            for (int i = first; i < end; ++i)
                body(order[std::size_t(i)]);
        },
        1);
}

// The twirl with sixteen lanes. The rows of the top half are walked with
// their mirrored rows about the centre, and the columns of the left half
// with their mirrored columns, so that a pixel's sine and cosine serve all
// four of its mirror images; the blocks go in ring order. A middle row or
// column, and the pixels the mirrored blocks leave, are done one row span
// at a time. Threads share out the ordered blocks: blocks never overlap.
void twirlMirrored(const Twirl& t, const Bitmap& source, Bitmap& result, int threads)
{
    const int W = source.width(), H = source.height(), halfW = W / 2, rows = (H + 1) / 2;
    // Columns first .. end-1 of row y and of its mirrored row (once when
    // the row is the middle one).
    const auto span = [&](int y, int first, int end) {
        twirlSpan(t, source, y, first, end, result.row(y), Lanes::Avx512);
        if (H - 1 - y != y)
            twirlSpan(t, source, H - 1 - y, first, end, result.row(H - 1 - y), Lanes::Avx512);
    };
    forEachInOrder(ringOrder(t, rows, halfW), threads, [&](const Block& b) {
        const int bottom = std::min(rows, b.top + kBlockRows), pairs = std::min(bottom, H / 2);
        const int stop = std::min(halfW, b.left + kBlockColumns);
        const int done =
            b.top < pairs ? twirlMirroredBlockAvx512(t, source, result, b.top, pairs, b.left, stop) : b.left;
        for (int y = b.top; y < bottom; ++y) {
            const int from = y < pairs ? done : b.left;
            span(y, from, stop);
            span(y, W - stop, W - from);
        }
    });
    if (W % 2)
        forEachRowBand(rows, threads, [&](int first, int end) {
            for (int y = first; y < end; ++y)
                span(y, halfW, halfW + 1);
        });
}

float lensDistance(const Lens& l, int x, int y)
{
    const float dx = float(x) - l.cx, dy = float(y) - l.cy;
    return std::sqrt(dx * dx + dy * dy);
}

// Where the lens radius widens: its value at the start of every row, and the
// columns of the row whose pixel lies on it, as the pixels in scan-line
// order leave it. Along a row the distance falls toward the centre column
// and rises after it (each step of its computation is monotonic), so a row
// whose nearest and farthest pixels both miss the radius on the same side
// cannot meet it; only the other rows are walked pixel by pixel.
struct LensRadii {
    std::vector<float> rowStart;
    std::vector<std::vector<int>> widenings;

    // The radius at pixel (x, y) before that pixel is reached.
    float at(int x, int y) const
    {
        float radius = rowStart[std::size_t(y)];
        for (int column : widenings[std::size_t(y)])
            if (column < x)
                radius = radius + kLensWidening;
        return radius;
    }
};

LensRadii lensRadii(const Lens& l, float radius, int width, int height)
{
    LensRadii radii{std::vector<float>(static_cast<std::size_t>(height)),
                    std::vector<std::vector<int>>(static_cast<std::size_t>(height))};
    const int nearLeft = std::clamp(int(std::floor(l.cx)), 0, width - 1);
    const int nearRight = std::clamp(int(std::ceil(l.cx)), 0, width - 1);
    for (int y = 0; y < height; ++y) {
        radii.rowStart[std::size_t(y)] = radius;
        const float nearest = std::min(lensDistance(l, nearLeft, y), lensDistance(l, nearRight, y));
        const float farthest = std::max(lensDistance(l, 0, y), lensDistance(l, width - 1, y));
        if (radius < nearest || radius > farthest)
            continue;
        for (int x = 0; x < width; ++x) {
            const float r = lensDistance(l, x, y);
            if (r != 0.0f && r == radius) {
                radius = radius + kLensWidening;
                radii.widenings[std::size_t(y)].push_back(x);
            }
        }
    }
    return radii;
}

} // namespace

void SampleWrapped(const Bitmap& source, float sx, float sy, std::uint8_t out[3])
{
    const AxisSample ax = sampleAxis(sx, source.width());
    const AxisSample ay = sampleAxis(sy, source.height());
    const std::uint8_t* p[4];
    float w[4];
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) {
            p[2 * i + j] = source.row(ay.index[j]) + std::size_t(ax.index[i]) * 3;
            w[2 * i + j] = ax.weight[i] * ay.weight[j];
        }
    for (int c = 0; c < 3; ++c) {
        const float sum =
            (w[0] * float(p[0][c]) + w[1] * float(p[1][c])) + (w[2] * float(p[2][c]) + w[3] * float(p[3][c]));
        out[c] = ClampByte(int(std::nearbyint(sum)));
    }
}

Lanes resample::bestLanes()
{
    return haveAvx512() ? Lanes::Avx512 : haveAvx2() ? Lanes::Avx2 : Lanes::Plain;
}

void Tordre(const Bitmap& source, Bitmap& result, int twist, int threads)
{
    twirlWith(source, result, twist, threads, bestLanes());
}

void Fisheye(const Bitmap& source, Bitmap& result, float strength, int threads)
{
    fisheyeWith(source, result, strength, threads, bestLanes());
}

void resample::twirlWith(const Bitmap& source, Bitmap& result, int twist, int threads, Lanes lanes)
{
    prepareResult(source, result);
    if (source.isEmpty())
        return;
    if (twist == 0) {
        copyRows(source, result);
        return;
    }
    const Twirl t{float(source.width() - 1) / 2.0f, float(source.height() - 1) / 2.0f, float(twist)};
    if (lanes == Lanes::Avx512) {
        twirlMirrored(t, source, result, threads);
        return;
    }
    const int W = source.width(), H = source.height();
    forEachInOrder(ringOrder(t, H, W), threads, [&](const Block& b) {
        for (int y = b.top; y < std::min(H, b.top + kBlockRows); ++y)
            twirlSpan(t, source, y, b.left, std::min(W, b.left + kBlockColumns), result.row(y), lanes);
    });
}

void resample::fisheyeWith(const Bitmap& source, Bitmap& result, float strength, int threads, Lanes lanes)
{
    prepareResult(source, result);
    if (source.isEmpty())
        return;
    const Lens l{float(source.width()) / 2.0f, float(source.height()) / 2.0f};
    const LensRadii radii = lensRadii(l, float(source.width()) * strength, source.width(), source.height());
    forEachRowBand(source.height(), threads, [&](int first, int end) {
        forEachBlock(first, end, source.width(), [&](int y, int x, int stop) {
            lensSpan(l, radii.at(x, y), source, y, x, stop, result.row(y), lanes);
        });
    });
}

} // namespace px
