// Fills and raster operations that work on blocks of pixels: rectangles
// filled with the brush, flood fills, copy modes applied in place and the
// dotted focus frame.
#include "graphics/Canvas.h"
#include "graphics/PixelFill.h"

#include <algorithm>
#include <cstring>

namespace px {

namespace {

// One axis of a block given as start and end: forwards it covers
// start .. end-1, backwards end+1 .. start.
void axisRange(int start, int end, std::int64_t& lo, std::int64_t& hi)
{
    if (end >= start) {
        lo = start;
        hi = end;
    } else {
        lo = std::int64_t(end) + 1;
        hi = std::int64_t(start) + 1;
    }
}

// The block (left, top)-(right, bottom), either axis possibly backwards,
// clipped to a width x height bitmap; empty when nothing of it is inside.
Rect clippedBlock(int left, int top, int right, int bottom, int width, int height)
{
    std::int64_t x0, x1, y0, y1;
    axisRange(left, right, x0, x1);
    axisRange(top, bottom, y0, y1);
    x0 = std::max<std::int64_t>(x0, 0);
    y0 = std::max<std::int64_t>(y0, 0);
    x1 = std::min<std::int64_t>(x1, width);
    y1 = std::min<std::int64_t>(y1, height);
    if (x0 >= x1 || y0 >= y1)
        return {};
    return Rect{int(x0), int(y0), int(x1), int(y1)};
}

bool sameColour(const std::uint8_t* p, std::uint8_t b, std::uint8_t g, std::uint8_t r)
{
    return p[0] == b && p[1] == g && p[2] == r;
}

} // namespace

// Paints a block: with a setting ink the first row is built once and copied
// to the others, which runs at the speed of a memory copy.
void Canvas::fillBlock(Rect r, Ink ink)
{
    r = r.intersected(bounds());
    if (r.isEmpty())
        return;
    if (ink.set) {
        // Build the first row with paintSpan, then copy it down.
        paintSpan(r.top, r.left, r.right, ink);
        const std::uint8_t* first = bmp_->row(r.top) + std::size_t(r.left) * 3;
        const std::size_t bytes = std::size_t(r.width()) * 3;
        for (int y = r.top + 1; y < r.bottom; ++y)
            std::memcpy(bmp_->row(y) + std::size_t(r.left) * 3, first, bytes);
    } else {
        for (int y = r.top; y < r.bottom; ++y)
            paintSpan(y, r.left, r.right, ink);
    }
    mark(r);
}

Rect Canvas::fillRect(int left, int top, int right, int bottom)
{
    begin();
    if (brushHollow_)
        return finish();
    // One row given forwards, the common case of figures painted row by
    // row: straight to the run.
    if (bottom == top + 1 && right >= left) {
        paintSpan(top, left, right, {true, brushColour_});
        return finish();
    }
    const Rect block = clippedBlock(left, top, right, bottom, bmp_->width(), bmp_->height());
    if (!block.isEmpty())
        fillBlock(block, {true, brushColour_});
    return finish();
}

Rect Canvas::fillRowRuns(int y, const ColourRun* runs, std::size_t count)
{
    begin();
    if (brushHollow_ || y < 0 || y >= bmp_->height())
        return finish();
    int left = 0, right = 0;
    pixelfill::fillRuns(bmp_->row(y), bmp_->width(), runs, count, left, right);
    // The span from the first painted pixel to the last: the runs of a
    // figure's row lie side by side.
    if (left < right)
        mark({left, y, right, y + 1});
    return finish();
}

Rect Canvas::copyOntoItself(int left, int top, int right, int bottom)
{
    begin();
    const Rect block = clippedBlock(left, top, right, bottom, bmp_->width(), bmp_->height());
    if (block.isEmpty())
        return finish();
    switch (copyMode_) {
    case CopyMode::SrcCopy:
        break;
    case CopyMode::Whiteness:
        fillBlock(block, {true, kWhite});
        break;
    case CopyMode::Blackness:
        fillBlock(block, {true, kBlack});
        break;
    case CopyMode::DstInvert:
        fillBlock(block, {false, 0xFFFFFF});
        break;
    case CopyMode::PatInvert:
        // The brush colour counts even when the brush is hollow.
        fillBlock(block, {false, brushColour_});
        break;
    }
    return finish();
}

Rect Canvas::drawFocusRect(int x1, int y1, int x2, int y2)
{
    begin();
    const int l = std::min(x1, x2), r = std::max(x1, x2), t = std::min(y1, y2), b = std::max(y1, y2);
    if (l == r || t == b)
        return finish();
    const Ink invert{false, 0xFFFFFF};
    const auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            paintPixel(x, y, invert);
    };
    const int W = bmp_->width(), H = bmp_->height();
    const int xs = std::max(l, 0), xe = std::min(r, W);
    const int ys = std::max(t + 1, 0), ye = std::min(b - 1, H);
    if (t >= 0 && t < H)
        for (int x = xs; x < xe; ++x)
            dot(x, t);
    if (b - 1 > t && b - 1 >= 0 && b - 1 < H)
        for (int x = xs; x < xe; ++x)
            dot(x, b - 1);
    if (l >= 0 && l < W)
        for (int y = ys; y < ye; ++y)
            dot(l, y);
    if (r - 1 > l && r - 1 >= 0 && r - 1 < W)
        for (int y = ys; y < ye; ++y)
            dot(r - 1, y);
    return finish();
}

// Scan-line fill with a mark per pixel, so that a brush of the same colour
// as the area (or a brush that keeps the pixels inside the border test)
// cannot make the fill revisit its own pixels.
Rect Canvas::floodFill(int x, int y, Colour colour, FloodFillMode mode)
{
    begin();
    Bitmap& bmp = *bmp_;
    if (brushHollow_ || !bmp.contains(x, y))
        return finish();
    const int W = bmp.width(), H = bmp.height();
    const std::uint8_t cb = blueOf(colour), cg = greenOf(colour), cr = redOf(colour);
    const bool border = mode == FloodFillMode::Border;
    const auto qualifies = [&](const std::uint8_t* p) { return sameColour(p, cb, cg, cr) != border; };
    if (!qualifies(bmp.row(y) + std::size_t(x) * 3))
        return finish();

    const std::size_t words = (std::size_t(W) * std::size_t(H) + 63) / 64;
    marks_.assign(words, 0);
    std::uint64_t* marks = marks_.data();
    // Whether pixel px of row py may still be filled.
    const auto open = [&](int px, int py) {
        const std::size_t i = std::size_t(py) * std::size_t(W) + std::size_t(px);
        return !((marks[i >> 6] >> (i & 63)) & 1) && qualifies(bmp.row(py) + std::size_t(px) * 3);
    };

    std::vector<Point> stack{{x, y}};
    int minX = x, maxX = x, minY = y, maxY = y;
    const std::uint8_t fb = blueOf(brushColour_), fg = greenOf(brushColour_), fr = redOf(brushColour_);
    while (!stack.empty()) {
        const Point seed = stack.back();
        stack.pop_back();
        if (!open(seed.x, seed.y))
            continue;
        int a = seed.x, b = seed.x;
        while (a > 0 && open(a - 1, seed.y))
            --a;
        while (b + 1 < W && open(b + 1, seed.y))
            ++b;
        const std::size_t base = std::size_t(seed.y) * std::size_t(W);
        for (std::size_t i = base + std::size_t(a); i <= base + std::size_t(b); ++i)
            marks[i >> 6] |= std::uint64_t(1) << (i & 63);
        // Look at both neighbouring rows before painting: the paint may
        // change what the border test sees only on this row.
        for (int ny : {seed.y - 1, seed.y + 1}) {
            if (ny < 0 || ny >= H)
                continue;
            const std::uint8_t* p = bmp.row(ny) + std::size_t(a) * 3;
            const std::size_t nbase = std::size_t(ny) * std::size_t(W);
            bool inRun = false;
            for (int i = a; i <= b; ++i, p += 3) {
                const std::size_t m = nbase + std::size_t(i);
                const bool o = !((marks[m >> 6] >> (m & 63)) & 1) && qualifies(p);
                if (o && !inRun)
                    stack.push_back({i, ny});
                inRun = o;
            }
        }
        std::uint8_t* p = bmp.row(seed.y) + std::size_t(a) * 3;
        for (int i = a; i <= b; ++i, p += 3) {
            p[0] = fb;
            p[1] = fg;
            p[2] = fr;
        }
        minX = std::min(minX, a);
        maxX = std::max(maxX, b);
        minY = std::min(minY, int(seed.y));
        maxY = std::max(maxY, int(seed.y));
    }
    mark(Rect{minX, minY, maxX + 1, maxY + 1});
    return finish();
}

} // namespace px
