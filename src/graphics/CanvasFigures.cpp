// Rectangles, ellipses, rounded rectangles and pie slices: each figure is a
// region (its pixels row by row) and, for wide pens, a path along its
// outline.
#include "graphics/Canvas.h"
#include "graphics/CanvasRegion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace px {

namespace {

constexpr std::int64_t kCoordLimit = std::int64_t(1) << 30;

std::int64_t clampCoord(int v)
{
    return std::clamp<std::int64_t>(v, -kCoordLimit, kCoordLimit);
}

// A path has a point about every 1.5 pixels of outline, within bounds that
// keep huge figures cheap and small ones smooth.
int pointsFor(double perimeter)
{
    return int(std::clamp(std::ceil(perimeter / 1.5), 16.0, 65536.0));
}

void appendArc(std::vector<double>& path, double cx, double cy, double a, double b, double from, double to, int n)
{
    for (int k = 0; k <= n; ++k) {
        const double t = from + (to - from) * k / n;
        path.push_back(cx + a * std::cos(t));
        path.push_back(cy - b * std::sin(t));
    }
}

double ellipsePerimeter(double a, double b)
{
    return std::numbers::pi * (3 * (a + b) - std::sqrt((3 * a + b) * (a + 3 * b)));
}

std::vector<double> rectanglePath(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
{
    return {double(l), double(t), double(r - 1), double(t), double(r - 1), double(b - 1), double(l), double(b - 1)};
}

struct Box {
    std::int64_t l, t, r, b;
    bool empty() const { return l == r || t == b; }
};

Box normalised(int x1, int y1, int x2, int y2)
{
    const std::int64_t a = clampCoord(x1), b = clampCoord(x2), c = clampCoord(y1), d = clampCoord(y2);
    return {std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)};
}

} // namespace

Rect Canvas::rectangle(int x1, int y1, int x2, int y2)
{
    begin();
    const Box box = normalised(x1, y1, x2, y2);
    if (box.empty())
        return finish();
    const RectRegion region(box.l, box.t, box.r, box.b);
    if (penWidth_ == 1 && penStyle_ != PenStyle::Solid) {
        // The pattern runs clockwise from the top-left corner and can be
        // placed arithmetically, whatever the size of the rectangle.
        drawRectangleStyled(box.l, box.t, box.r, box.b);
        if (!brushHollow_)
            fillBlock(Rect{int(box.l + 1), int(box.t + 1), int(box.r - 1), int(box.b - 1)}, brushInk());
        return finish();
    }
    if (penWidth_ == 1 && penStyle_ == PenStyle::Solid && brushHollow_ && box.r - box.l > 2 && box.b - box.t > 2) {
        // A plain outline (a rubber band): its four sides, without walking
        // the rows of the area it encloses.
        const Ink pen = penInk();
        if (box.t >= 0 && box.t < bmp_->height())
            paintSpan(int(box.t), box.l, box.r, pen);
        if (box.b - 1 >= 0 && box.b - 1 < bmp_->height())
            paintSpan(int(box.b - 1), box.l, box.r, pen);
        paintColumn(box.l, box.t + 1, box.b - 1, pen);
        paintColumn(box.r - 1, box.t + 1, box.b - 1, pen);
        return finish();
    }
    drawFigure(region, rectanglePath(box.l, box.t, box.r, box.b), true);
    return finish();
}

Rect Canvas::ellipse(int x1, int y1, int x2, int y2)
{
    begin();
    const Box box = normalised(x1, y1, x2, y2);
    if (box.empty())
        return finish();
    const EllipseRegion region(box.l, box.t, box.r, box.b);
    std::vector<double> path;
    if (penWidth_ > 1) {
        const double a = (box.r - box.l - 1) / 2.0, b = (box.b - box.t - 1) / 2.0;
        const double cx = (box.l + box.r - 1) / 2.0, cy = (box.t + box.b - 1) / 2.0;
        const int n = pointsFor(ellipsePerimeter(a, b));
        appendArc(path, cx, cy, a, b, 0, 2 * std::numbers::pi, n);
        path.resize(path.size() - 2); // the last point repeats the first
    }
    drawFigure(region, path, true);
    return finish();
}

Rect Canvas::roundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight)
{
    begin();
    const Box box = normalised(x1, y1, x2, y2);
    if (box.empty())
        return finish();
    const std::int64_t cw = std::min(std::abs(std::int64_t(cornerWidth)), box.r - box.l);
    const std::int64_t ch = std::min(std::abs(std::int64_t(cornerHeight)), box.b - box.t);
    const RoundRectRegion region(box.l, box.t, box.r, box.b, cw, ch);
    std::vector<double> path;
    if (penWidth_ > 1) {
        if (cw <= 1 || ch <= 1) {
            path = rectanglePath(box.l, box.t, box.r, box.b);
        } else {
            const double a = (cw - 1) / 2.0, b = (ch - 1) / 2.0;
            const double left = box.l + a, right = box.r - 1 - a, top = box.t + b, bottom = box.b - 1 - b;
            const int n = std::max(4, pointsFor(ellipsePerimeter(a, b)) / 4);
            const double pi = std::numbers::pi;
            appendArc(path, right, top, a, b, pi / 2, 0, n);
            appendArc(path, right, bottom, a, b, 0, -pi / 2, n);
            appendArc(path, left, bottom, a, b, -pi / 2, -pi, n);
            appendArc(path, left, top, a, b, pi, pi / 2, n);
        }
    }
    drawFigure(region, path, true);
    return finish();
}

Rect Canvas::pie(int x1, int y1, int x2, int y2, int sx, int sy, int ex, int ey)
{
    begin();
    const Box box = normalised(x1, y1, x2, y2);
    if (box.empty())
        return finish();
    const std::int64_t cx2 = box.l + box.r - 1, cy2 = box.t + box.b - 1;
    const std::int64_t d1x = 2 * clampCoord(sx) - cx2, d1y = 2 * clampCoord(sy) - cy2;
    const std::int64_t d2x = 2 * clampCoord(ex) - cx2, d2y = 2 * clampCoord(ey) - cy2;
    const PieRegion region(box.l, box.t, box.r, box.b, d1x, d1y, d2x, d2y);
    std::vector<double> path;
    if (penWidth_ > 1) {
        const double a = (box.r - box.l - 1) / 2.0, b = (box.b - box.t - 1) / 2.0;
        const double cx = cx2 / 2.0, cy = cy2 / 2.0;
        // Parameter of the point of the ellipse in a ray's direction.
        const auto angleOf = [&](double dx, double dy) { return std::atan2(-dy * a, dx * b); };
        const double from = angleOf(double(d1x), double(d1y));
        double sweep = angleOf(double(d2x), double(d2y)) - from;
        const double turn = 2 * std::numbers::pi;
        while (sweep <= 1e-12)
            sweep += turn;
        while (sweep > turn)
            sweep -= turn;
        const int n = std::max(2, int(pointsFor(ellipsePerimeter(a, b)) * sweep / turn));
        appendArc(path, cx, cy, a, b, from, from + sweep, n);
        path.push_back(cx);
        path.push_back(cy);
    }
    drawFigure(region, path, true);
    return finish();
}

void Canvas::drawFigure(const CanvasRegion& region, const std::vector<double>& outline, bool closed)
{
    if (penWidth_ > 1) {
        drawWideFigure(region, outline, closed);
        return;
    }
    if (penStyle_ != PenStyle::Solid)
        drawStyledOutline(region);
    drawThinFigure(region);
}

// One-pixel pen: the outline is the region's border pixels (those with a
// neighbour outside), the interior the rest. A styled outline has already
// been drawn, so only the interior is painted then.
void Canvas::drawThinFigure(const CanvasRegion& region)
{
    const bool outlineToo = penStyle_ == PenStyle::Solid;
    if (!outlineToo && brushHollow_)
        return;
    const std::int64_t y0 = std::max<std::int64_t>(region.top, 0);
    const std::int64_t y1 = std::min<std::int64_t>(region.bottom, bmp_->height());
    RowSplitter splitter;
    CanvasSpans outline, interior;
    const Ink pen = penInk(), brush = brushInk();
    for (std::int64_t y = y0; y < y1; ++y) {
        splitter.split(region, y, outline, interior);
        if (!brushHollow_)
            paintSpans(int(y), interior, brush);
        if (outlineToo)
            paintSpans(int(y), outline, pen);
    }
}

void Canvas::drawWideFigure(const CanvasRegion& region, const std::vector<double>& outline, bool closed)
{
    const std::int64_t reach = penWidth_;
    WidePenArea area;
    area.build(outline, closed, penWidth_, std::max<std::int64_t>(region.top - reach, 0),
               std::min<std::int64_t>(region.bottom + reach, bmp_->height()));
    CanvasSpans pen, body, fill;
    const Ink penI = penInk(), brush = brushInk();
    for (std::int64_t y = area.rowBegin(); y < area.rowEnd(); ++y) {
        area.row(y, pen);
        if (!brushHollow_) {
            region.row(y, body);
            subtractSpans(body, pen, fill);
            paintSpans(int(y), fill, brush);
        }
        paintSpans(int(y), pen, penI);
    }
}

// A styled one-pixel outline of a curved figure: its border pixels are put
// in order clockwise about the centre, starting from the leftmost pixel of
// the top row, and the pattern runs along that order. The whole outline is
// walked because the phase of a visible pixel depends on all before it; an
// outline too long to walk (figures thousands of times the largest bitmap)
// is drawn solid instead.
void Canvas::drawStyledOutline(const CanvasRegion& region)
{
    constexpr std::int64_t kMaxOutline = std::int64_t(1) << 23;
    RowSplitter splitter;
    CanvasSpans outline, interior;
    std::int64_t total = 0;
    bool tooLong = region.bottom - region.top > kMaxOutline;
    for (std::int64_t y = region.top; !tooLong && y < region.bottom; ++y) {
        splitter.split(region, y, outline, interior);
        for (const CanvasSpan& s : outline)
            total += s.x1 - s.x0;
        tooLong = total > kMaxOutline;
    }
    const Ink pen = penInk(), gap = brushInk();
    if (tooLong) {
        const std::int64_t y0 = std::max<std::int64_t>(region.top, 0);
        const std::int64_t y1 = std::min<std::int64_t>(region.bottom, bmp_->height());
        for (std::int64_t y = y0; y < y1; ++y) {
            splitter.split(region, y, outline, interior);
            paintSpans(int(y), outline, pen);
        }
        return;
    }
    struct Pixel {
        double key;
        double dist;
        std::int64_t x, y;
    };
    std::vector<Pixel> pixels;
    pixels.reserve(std::size_t(total));
    for (std::int64_t y = region.top; y < region.bottom; ++y) {
        splitter.split(region, y, outline, interior);
        for (const CanvasSpan& s : outline)
            for (std::int64_t x = s.x0; x < s.x1; ++x) {
                const double dx = double(2 * x - region.centreX2), dy = double(2 * y - region.centreY2);
                pixels.push_back({std::atan2(dy, dx), dx * dx + dy * dy, x, y});
            }
    }
    if (pixels.empty())
        return;
    const double start = pixels.front().key, turn = 2 * std::numbers::pi;
    for (Pixel& p : pixels) {
        p.key -= start;
        if (p.key < 0)
            p.key += turn;
    }
    std::stable_sort(pixels.begin(), pixels.end(),
                     [](const Pixel& a, const Pixel& b) { return a.key != b.key ? a.key < b.key : a.dist < b.dist; });
    const bool gapsPainted = backgroundOpaque();
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const Pixel& p = pixels[i];
        if (p.x < 0 || p.y < 0 || p.x >= bmp_->width() || p.y >= bmp_->height())
            continue;
        if (styleOn(std::int64_t(i)))
            paintPixel(int(p.x), int(p.y), pen);
        else if (gapsPainted)
            paintPixel(int(p.x), int(p.y), gap);
    }
}

// Clockwise from the top-left corner: the top row left to right, the right
// column downward, the bottom row right to left, the left column upward.
void Canvas::drawRectangleStyled(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
{
    const std::int64_t w = r - l, h = b - t;
    const Ink pen = penInk(), gap = brushInk();
    const bool gapsPainted = backgroundOpaque();
    const std::int64_t W = bmp_->width(), H = bmp_->height();
    const auto put = [&](std::int64_t x, std::int64_t y, std::int64_t index) {
        if (styleOn(index))
            paintPixel(int(x), int(y), pen);
        else if (gapsPainted)
            paintPixel(int(x), int(y), gap);
    };
    if (t >= 0 && t < H)
        for (std::int64_t x = std::max<std::int64_t>(l, 0); x < std::min(r, W); ++x)
            put(x, t, x - l);
    if (r - 1 >= 0 && r - 1 < W)
        for (std::int64_t y = std::max(t + 1, std::int64_t(0)); y < std::min(b, H); ++y)
            put(r - 1, y, w + (y - t - 1));
    if (h > 1 && b - 1 >= 0 && b - 1 < H)
        for (std::int64_t x = std::max<std::int64_t>(l, 0); x < std::min(r - 1, W); ++x)
            put(x, b - 1, w + h - 1 + (r - 2 - x));
    if (w > 1 && l >= 0 && l < W)
        for (std::int64_t y = std::max(t + 1, std::int64_t(0)); y < std::min(b - 1, H); ++y)
            put(l, y, 2 * w + h - 2 + (b - 2 - y));
}

} // namespace px
