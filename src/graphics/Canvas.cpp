#include "graphics/Canvas.h"

#include "graphics/CanvasRegion.h"
#include "graphics/PixelFill.h"

#include <algorithm>
#include <cstdlib>

namespace px {

namespace {

using i128 = __int128;

// Run lengths of the one-pixel styles, alternately drawn and skipped.
struct StylePattern {
    int runs[6];
    int count;
    int length;
};

const StylePattern& patternOf(PenStyle s)
{
    static const StylePattern dash{{18, 6}, 2, 24};
    static const StylePattern dot{{3, 3}, 2, 6};
    static const StylePattern dashDot{{9, 6, 3, 6}, 4, 24};
    static const StylePattern dashDotDot{{9, 3, 3, 3, 3, 3}, 6, 24};
    switch (s) {
    case PenStyle::Dash:
        return dash;
    case PenStyle::Dot:
        return dot;
    case PenStyle::DashDot:
        return dashDot;
    default:
        return dashDotDot;
    }
}

void setPixels(std::uint8_t* p, std::int64_t n, std::uint32_t c)
{
    pixelfill::fill(p, n, c);
}

void xorPixels(std::uint8_t* p, std::int64_t n, std::uint32_t c)
{
    // 16 pixels of pattern, so that the loop runs over whole vector widths.
    std::uint8_t pat[48];
    for (int i = 0; i < 16; ++i) {
        pat[3 * i] = std::uint8_t(c >> 16);
        pat[3 * i + 1] = std::uint8_t(c >> 8);
        pat[3 * i + 2] = std::uint8_t(c);
    }
    std::size_t total = std::size_t(n) * 3, i = 0;
    for (; i + 48 <= total; i += 48)
        for (int k = 0; k < 48; ++k)
            p[i + k] ^= pat[k];
    for (std::size_t k = 0; i < total; ++i, ++k)
        p[i] ^= pat[k];
}

} // namespace

Canvas::Canvas(Bitmap& target, const GlyphRasteriser* glyphs) : bmp_(&target), glyphs_(glyphs) {}

Canvas::Ink Canvas::inkFor(Colour c) const
{
    switch (penMode_) {
    case MixMode::Xor:
        return {false, c & 0xFFFFFF};
    case MixMode::NotXor:
        return {false, ~c & 0xFFFFFF};
    default:
        return {true, c & 0xFFFFFF};
    }
}

void Canvas::begin()
{
    changed_ = Rect{};
    damage_.clear();
    ensure24();
}

Rect Canvas::finish()
{
    return changed_;
}

void Canvas::ensure24()
{
    if (bmp_->bitsPerPixel() != 24)
        bmp_->setPixelFormat(24);
}

void Canvas::paintPixel(int x, int y, Ink ink)
{
    if (!bmp_->contains(x, y))
        return;
    std::uint8_t* p = bmp_->row(y) + std::size_t(x) * 3;
    if (ink.set)
        setPixels(p, 1, ink.value);
    else
        xorPixels(p, 1, ink.value);
    mark({x, y, x + 1, y + 1});
}

void Canvas::paintSpan(int y, std::int64_t x0, std::int64_t x1, Ink ink)
{
    if (y < 0 || y >= bmp_->height())
        return;
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, bmp_->width());
    if (x0 >= x1)
        return;
    std::uint8_t* p = bmp_->row(y) + std::size_t(x0) * 3;
    if (ink.set)
        setPixels(p, x1 - x0, ink.value);
    else
        xorPixels(p, x1 - x0, ink.value);
    mark({int(x0), y, int(x1), y + 1});
}

void Canvas::paintColumn(std::int64_t x, std::int64_t y0, std::int64_t y1, Ink ink)
{
    if (x < 0 || x >= bmp_->width())
        return;
    y0 = std::max<std::int64_t>(y0, 0);
    y1 = std::min<std::int64_t>(y1, bmp_->height());
    if (y0 >= y1)
        return;
    const std::uint8_t b = std::uint8_t(ink.value >> 16), g = std::uint8_t(ink.value >> 8), r = std::uint8_t(ink.value);
    const std::size_t stride = bmp_->stride();
    std::uint8_t* p = bmp_->row(int(y0)) + std::size_t(x) * 3;
    for (std::int64_t y = y0; y < y1; ++y, p += stride) {
        if (ink.set) {
            p[0] = b;
            p[1] = g;
            p[2] = r;
        } else {
            p[0] ^= b;
            p[1] ^= g;
            p[2] ^= r;
        }
    }
    mark({int(x), int(y0), int(x) + 1, int(y1)});
}

void Canvas::paintSpans(int y, const std::vector<CanvasSpan>& spans, Ink ink)
{
    for (const CanvasSpan& s : spans)
        paintSpan(y, s.x0, s.x1, ink);
}

bool Canvas::styleOn(std::int64_t index) const
{
    const StylePattern& pat = patternOf(penStyle_);
    std::int64_t k = index % pat.length;
    if (k < 0)
        k += pat.length;
    for (int i = 0; i < pat.count; ++i) {
        if (k < pat.runs[i])
            return i % 2 == 0;
        k -= pat.runs[i];
    }
    return false;
}

Rect Canvas::setPixel(int x, int y, Colour c)
{
    begin();
    paintPixel(x, y, {true, c & 0xFFFFFF});
    return finish();
}

void Canvas::moveTo(int x, int y)
{
    pos_ = {x, y};
    stylePhase_ = 0;
}

Rect Canvas::lineTo(int x, int y)
{
    begin();
    const Point a = pos_, b{x, y};
    pos_ = b;
    if (penWidth_ > 1)
        wideLine(a, b);
    else
        thinLine(a, b);
    return finish();
}

// Pixel i (0 <= i < n, n the longer of |dx| and |dy|) lies i steps along the
// major axis from the start and round(i * dminor / n) steps along the minor
// axis, halves rounding toward the start. The end point itself is left out.
void Canvas::thinLine(Point a, Point b)
{
    const std::int64_t dx = std::int64_t(b.x) - a.x, dy = std::int64_t(b.y) - a.y;
    const std::int64_t adx = std::llabs(dx), ady = std::llabs(dy);
    const bool xMajor = adx >= ady;
    const std::int64_t n = xMajor ? adx : ady;
    if (n == 0)
        return;
    const std::int64_t dmin = xMajor ? ady : adx;
    const int sMaj = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int sMin = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t maj0 = xMajor ? a.x : a.y, min0 = xMajor ? a.y : a.x;
    const std::int64_t majLimit = xMajor ? bmp_->width() : bmp_->height();
    const std::int64_t minLimit = xMajor ? bmp_->height() : bmp_->width();
    const auto minorSteps = [&](std::int64_t i) { return std::int64_t((i128(2) * i * dmin + n - 1) / (i128(2) * n)); };
    const auto minorAt = [&](std::int64_t i) { return min0 + sMin * minorSteps(i); };

    // Steps whose major coordinate is inside the bitmap.
    std::int64_t lo = 0, hi = n - 1;
    if (sMaj > 0) {
        lo = std::max(lo, -maj0);
        hi = std::min(hi, majLimit - 1 - maj0);
    } else {
        lo = std::max(lo, maj0 - (majLimit - 1));
        hi = std::min(hi, maj0);
    }
    // The minor coordinate moves monotonically: narrow by binary search.
    const auto minorInside = [&](std::int64_t i) {
        const std::int64_t m = minorAt(i);
        return m >= 0 && m < minLimit;
    };
    const auto beforeRange = [&](std::int64_t i) { // still short of the bitmap
        const std::int64_t m = minorAt(i);
        return sMin > 0 ? m < 0 : m >= minLimit;
    };
    if (lo <= hi) {
        std::int64_t l = lo, h = hi + 1;
        while (l < h) { // first step not before the bitmap
            const std::int64_t mid = l + (h - l) / 2;
            if (beforeRange(mid))
                l = mid + 1;
            else
                h = mid;
        }
        lo = l;
        l = lo;
        h = hi + 1;
        while (l < h) { // first step past the bitmap
            const std::int64_t mid = l + (h - l) / 2;
            if (minorInside(mid))
                l = mid + 1;
            else
                h = mid;
        }
        hi = l - 1;
    }
    const bool styled = penStyle_ != PenStyle::Solid;
    const Ink pen = penInk(), gap = brushInk();
    const bool gapsPainted = styled && backgroundOpaque();
    if (lo <= hi) {
        std::int64_t q = minorSteps(lo);
        // remainder of (2 i dmin + n - 1) by 2n, stepped incrementally
        std::int64_t rem = std::int64_t((i128(2) * lo * dmin + n - 1) % (i128(2) * n));
        for (std::int64_t i = lo; i <= hi; ++i) {
            const std::int64_t maj = maj0 + sMaj * i, mnr = min0 + sMin * q;
            const int px = int(xMajor ? maj : mnr), py = int(xMajor ? mnr : maj);
            if (!styled || styleOn(stylePhase_ + i))
                paintPixel(px, py, pen);
            else if (gapsPainted)
                paintPixel(px, py, gap);
            rem += 2 * dmin;
            if (rem >= 2 * n) {
                rem -= 2 * n;
                ++q;
            }
        }
    }
    if (styled)
        stylePhase_ = (stylePhase_ + n) % patternOf(penStyle_).length;
}

void Canvas::wideLine(Point a, Point b)
{
    const std::vector<double> path{double(a.x), double(a.y), double(b.x), double(b.y)};
    WidePenArea area;
    area.build(path, false, penWidth_, 0, bmp_->height());
    CanvasSpans spans;
    const Ink pen = penInk();
    for (std::int64_t y = area.rowBegin(); y < area.rowEnd(); ++y) {
        area.row(y, spans);
        paintSpans(int(y), spans, pen);
    }
}

} // namespace px
