// Copies from bitmaps onto the canvas: stretching (and mirroring) copies,
// plain draws at a point and draws that skip a transparent colour.
#include "graphics/Canvas.h"
#include "graphics/StretchGather.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace px {

namespace {

// One axis of a copy rectangle: `count` pixels from `origin`, walking
// forwards (+1) or, for a rectangle given backwards, towards lower
// coordinates (-1) so that it covers end+1 .. origin.
struct Axis {
    std::int64_t origin;
    std::int64_t count;
    int step;
};

Axis axisOf(int start, int end)
{
    if (end >= start)
        return {start, std::int64_t(end) - start, 1};
    return {start, std::int64_t(start) - end, -1};
}

// For each destination coordinate 0 .. limit-1 the source coordinate it
// takes, or -1 when it is outside the destination rectangle or its source
// lies outside the source bitmap (nearest pixel: destination step k takes
// source step k * source count / destination count).
std::vector<std::int64_t> mapAxis(const Axis& dst, const Axis& src, int limit, int srcLimit)
{
    std::vector<std::int64_t> map(std::size_t(limit), -1);
    if (dst.count <= 0 || src.count <= 0)
        return map;
    // Visible destination coordinates only.
    std::int64_t lo = dst.step > 0 ? dst.origin : dst.origin - dst.count + 1;
    std::int64_t hi = dst.step > 0 ? dst.origin + dst.count - 1 : dst.origin;
    lo = std::max<std::int64_t>(lo, 0);
    hi = std::min<std::int64_t>(hi, limit - 1);
    if (lo > hi)
        return map;
    // Steps k of the visible coordinates, taken in increasing order; the
    // quotient j = floor(k * src.count / dst.count) is carried from one step
    // to the next with its remainder instead of being divided out each time.
    const std::int64_t first = dst.step > 0 ? lo - dst.origin : dst.origin - hi;
    const std::int64_t last = dst.step > 0 ? hi - dst.origin : dst.origin - lo;
    const __int128 start = (__int128)first * src.count;
    std::int64_t j = std::int64_t(start / dst.count);
    std::int64_t remainder = std::int64_t(start % dst.count);
    const std::int64_t whole = src.count / dst.count, part = src.count % dst.count;
    for (std::int64_t k = first; k <= last; ++k) {
        const std::int64_t d = dst.step > 0 ? dst.origin + k : dst.origin - k;
        const std::int64_t s = src.origin + src.step * j;
        if (s >= 0 && s < srcLimit)
            map[std::size_t(d)] = s;
        j += whole;
        remainder += part;
        if (remainder >= dst.count) {
            remainder -= dst.count;
            ++j;
        }
    }
    return map;
}

// The pixels of source row y as blue, green, red bytes (a pointer into the
// bitmap for 24 bits, a converted copy otherwise).
const std::uint8_t* rowAs24(const Bitmap& src, int y, std::vector<std::uint8_t>& scratch)
{
    if (src.bitsPerPixel() == 24)
        return src.row(y);
    scratch.resize(std::size_t(src.width()) * 3);
    for (int x = 0; x < src.width(); ++x) {
        const Colour c = src.pixel(x, y);
        scratch[3 * x] = blueOf(c);
        scratch[3 * x + 1] = greenOf(c);
        scratch[3 * x + 2] = redOf(c);
    }
    return scratch.data();
}

} // namespace

Rect Canvas::stretchCopy(Rect dstRect, const Bitmap& src, Rect srcRect)
{
    if (copyMode_ != CopyMode::SrcCopy)
        return copyOntoItself(dstRect.left, dstRect.top, dstRect.right, dstRect.bottom);
    begin();
    if (&src == bmp_) {
        // Copying within the bitmap: read from a snapshot so that rows
        // already written are not read again as source.
        const Bitmap snapshot = src;
        return stretchCopy(dstRect, snapshot, srcRect);
    }
    const int W = bmp_->width(), H = bmp_->height();
    const Axis dx = axisOf(dstRect.left, dstRect.right), dy = axisOf(dstRect.top, dstRect.bottom);
    const Axis sx = axisOf(srcRect.left, srcRect.right), sy = axisOf(srcRect.top, srcRect.bottom);
    const std::vector<std::int64_t> cols = mapAxis(dx, sx, W, src.width());
    const std::vector<std::int64_t> rows = mapAxis(dy, sy, H, src.height());

    // The column mapping is the same for every row: cut it once into runs
    // whose sources follow one another forwards (copied with memcpy) or
    // backwards (a mirrored run).
    struct Run {
        int x;
        std::int64_t s;
        int length;
        bool backwards;
    };
    std::vector<Run> runs;
    int first = W, last = -1;
    for (int x = 0; x < W;) {
        const std::int64_t s = cols[std::size_t(x)];
        if (s < 0) {
            ++x;
            continue;
        }
        int n = 1;
        while (x + n < W && cols[std::size_t(x + n)] == s + n)
            ++n;
        bool backwards = false;
        // A backwards run stops at source column 0: the -1 after it marks a
        // column outside the copy, not source column -1.
        if (n == 1)
            while (x + n < W && s - n >= 0 && cols[std::size_t(x + n)] == s - n) {
                ++n;
                backwards = true;
            }
        runs.push_back({x, s, n, backwards});
        first = std::min(first, x);
        last = x + n - 1;
        x += n;
    }
    if (runs.empty())
        return finish();
    // Runs of a few pixels (a shrink or an enlargement) are gathered sixteen
    // destination pixels at a time when the processor can, the same columns
    // from the same source bytes.
    std::vector<stretch::GatherGroup> groups;
    const bool gather =
        stretch::gatherAvailable() && runs.size() * 4 > std::size_t(last - first + 1) &&
        std::all_of(cols.begin() + first, cols.begin() + last + 1, [](std::int64_t s) { return s >= 0; }) &&
        stretch::planGather(cols.data(), first, last, src.width(), groups);
    std::vector<std::uint8_t> scratch;
    int top = H, bottom = -1;
    for (int y = 0; y < H; ++y) {
        const std::int64_t srow = rows[std::size_t(y)];
        if (srow < 0)
            continue;
        const std::uint8_t* in = rowAs24(src, int(srow), scratch);
        std::uint8_t* out = bmp_->row(y);
        top = std::min(top, y);
        bottom = y;
        if (gather) {
            stretch::gatherRow(groups, in, out);
            continue;
        }
        for (const Run& r : runs) {
            std::uint8_t* o = out + std::size_t(r.x) * 3;
            const std::uint8_t* i = in + std::size_t(r.s) * 3;
            if (r.length == 1) {
                // Shrinking copies are made of single pixels: a fixed-size
                // copy, no library call.
                std::memcpy(o, i, 3);
                continue;
            }
            if (!r.backwards) {
                std::memcpy(o, i, std::size_t(r.length) * 3);
                continue;
            }
            for (int k = 0; k < r.length; ++k, o += 3, i -= 3) {
                o[0] = i[0];
                o[1] = i[1];
                o[2] = i[2];
            }
        }
    }
    if (bottom >= top)
        mark(Rect{first, top, last + 1, bottom + 1});
    return finish();
}

namespace {
// Positions far outside any bitmap are pulled in so that adding a bitmap's
// size cannot overflow.
int clampPosition(int v)
{
    return std::clamp(v, -(1 << 30), 1 << 30);
}
} // namespace

Rect Canvas::draw(int x, int y, const Bitmap& src)
{
    x = clampPosition(x);
    y = clampPosition(y);
    return stretchCopy(Rect{x, y, x + src.width(), y + src.height()}, src, Rect{0, 0, src.width(), src.height()});
}

Rect Canvas::drawTransparent(int x, int y, const Bitmap& src, Colour transparent)
{
    begin();
    x = clampPosition(x);
    y = clampPosition(y);
    if (&src == bmp_) {
        const Bitmap snapshot = src;
        return drawTransparent(x, y, snapshot, transparent);
    }
    const Rect target = Rect{x, y, x + src.width(), y + src.height()}.intersected(bounds());
    if (target.isEmpty())
        return finish();
    const std::uint8_t tb = blueOf(transparent), tg = greenOf(transparent), tr = redOf(transparent);
    std::vector<std::uint8_t> scratch;
    int minX = target.right, maxX = -1, minY = target.bottom, maxY = -1;
    for (int row = target.top; row < target.bottom; ++row) {
        const std::uint8_t* in = rowAs24(src, row - y, scratch) + std::size_t(target.left - x) * 3;
        std::uint8_t* out = bmp_->row(row) + std::size_t(target.left) * 3;
        for (int col = target.left; col < target.right; ++col, in += 3, out += 3) {
            if (in[0] == tb && in[1] == tg && in[2] == tr)
                continue;
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            minX = std::min(minX, col);
            maxX = std::max(maxX, col);
            minY = std::min(minY, row);
            maxY = std::max(maxY, row);
        }
    }
    if (maxX >= 0)
        mark(Rect{minX, minY, maxX + 1, maxY + 1});
    return finish();
}

} // namespace px
