#include "transforms/Gradients.h"

#include "graphics/Canvas.h"
#include "graphics/CanvasRegion.h"
#include "transforms/TransformMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace px {

const std::array<const char*, kGradientStyleCount> kGradientStyleNames = {
    "Horizontal", "Vertical", "Elliptic", "Rectangle", "VertCentre", "HorizCentre", "Radial1", "Radial2"};

std::int64_t gradientScale(std::int64_t i, std::int64_t d, std::int64_t n)
{
    return n == 0 ? 0 : i * d / n;
}

Colour gradientColour(Colour start, Colour end, int i, int steps)
{
    auto channel = [&](std::uint8_t (*of)(Colour)) {
        return int(of(start)) + int(gradientScale(i, int(of(end)) - int(of(start)), steps));
    };
    return makeColour(channel(redOf), channel(greenOf), channel(blueOf));
}

namespace {

// A figure's box after truncating its real corners, corners in any order
// as the canvas takes them.
struct Box {
    int l, t, r, b;
    bool empty() const { return l == r || t == b; }
};

Box boxOf(double x1, double y1, double x2, double y2)
{
    const int a = int(x1), c = int(y1), b = int(x2), d = int(y2);
    return {std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)};
}

void setColour(Canvas& canvas, Colour c)
{
    canvas.setBrushColour(c);
    canvas.setPenColour(c);
}

// Horizontal and Vertical: 256 bands side by side.
void bands(Canvas& canvas, bool vertical, Colour start, Colour end)
{
    const int n = 255;
    const int w = canvas.bitmap().width(), h = canvas.bitmap().height();
    for (int i = 0; i <= n; ++i) {
        setColour(canvas, gradientColour(start, end, i, n));
        if (vertical)
            canvas.fillRect(0, int(gradientScale(i, h, n + 1)), w, int(gradientScale(i + 1, h, n + 1)));
        else
            canvas.fillRect(int(gradientScale(i, w, n + 1)), 0, int(gradientScale(i + 1, w, n + 1)), h);
    }
}

// VertCentre and HorizCentre: row (column) i and row H - i share step i of
// H div 2; the second fill is given backwards, which covers row H - i alone.
void centred(Canvas& canvas, bool columns, Colour start, Colour end)
{
    const int w = canvas.bitmap().width(), h = canvas.bitmap().height();
    const int m = (columns ? w : h) / 2;
    const int size = columns ? w : h;
    for (int i = 0; i <= m; ++i) {
        setColour(canvas, gradientColour(start, end, i, m));
        if (columns) {
            canvas.fillRect(i, 0, i + 1, h);
            canvas.fillRect(size - i, 0, size - i - 1, h);
        } else {
            canvas.fillRect(0, i, w, i + 1);
            canvas.fillRect(0, size - i, w, size - i - 1);
        }
    }
}

// Rectangle: n + 1 nested filled rectangles from (0, 0, W + 2, H + 2),
// shrinking by (W / 2 / n, H / 2 / n) on each side before each one.
//
// Drawing each rectangle whole would fill the image about n / 3 times.
// Rectangle i is painted only where rectangle i + 1 does not cover it: a
// pixel then takes its colour from the last rectangle that holds it, as
// when every rectangle is filled in turn, and each pixel is written about
// once.
void rectangles(Canvas& canvas, Colour start, Colour end)
{
    const int n = 255;
    const int w = canvas.bitmap().width(), h = canvas.bitmap().height();
    std::vector<Box> boxes;
    double l = 0, t = 0, r = w + 2, b = h + 2;
    const double dx = w / 2.0 / n, dy = h / 2.0 / n;
    for (int i = 0; i <= n; ++i) {
        l += dx;
        t += dy;
        r -= dx;
        b -= dy;
        boxes.push_back(boxOf(l, t, r, b));
    }
    for (int i = 0; i <= n; ++i) {
        const Box& a = boxes[std::size_t(i)];
        if (a.empty())
            continue;
        setColour(canvas, gradientColour(start, end, i, n));
        const Box next = i < n ? boxes[std::size_t(i + 1)] : Box{0, 0, 0, 0};
        const Box in{std::max(a.l, next.l), std::max(a.t, next.t), std::min(a.r, next.r), std::min(a.b, next.b)};
        if (next.empty() || in.l >= in.r || in.t >= in.b) {
            canvas.fillRect(a.l, a.t, a.r, a.b);
            continue;
        }
        canvas.fillRect(a.l, a.t, a.r, in.t);
        canvas.fillRect(a.l, in.b, a.r, a.b);
        canvas.fillRect(a.l, in.t, in.l, in.b);
        canvas.fillRect(in.r, in.t, a.r, in.b);
    }
}

// Elliptic: 156 filled ellipses from the box (-W/4, -H/4, W + W/4 + 4,
// H + H/4 + 4), shrinking by ((W/2 + W/4) / 155, (H/2 + H/4) / 155) on each
// side before each one. As for the rectangles, ellipse i is painted only
// where ellipse i + 1 does not cover it, row by row, with the pixels of the
// canvas's own filled ellipse.
void ellipses(Canvas& canvas, Colour start, Colour end)
{
    const int n = 155;
    const int w = canvas.bitmap().width(), h = canvas.bitmap().height();
    std::vector<Box> boxes;
    double l = -w / 4.0, t = -h / 4.0, r = w + w / 4.0 + 4, b = h + h / 4.0 + 4;
    const double dx = (w / 2.0 + w / 4.0) / n, dy = (h / 2.0 + h / 4.0) / n;
    for (int i = 0; i <= n; ++i) {
        l += dx;
        t += dy;
        r -= dx;
        b -= dy;
        boxes.push_back(boxOf(l, t, r, b));
    }
    for (int i = 0; i <= n; ++i) {
        const Box& a = boxes[std::size_t(i)];
        if (a.empty())
            continue;
        setColour(canvas, gradientColour(start, end, i, n));
        const EllipseRegion here(a.l, a.t, a.r, a.b);
        const bool hasNext = i < n && !boxes[std::size_t(i + 1)].empty();
        const Box next = hasNext ? boxes[std::size_t(i + 1)] : Box{0, 0, 1, 1};
        const EllipseRegion inner(next.l, next.t, next.r, next.b);
        for (int y = std::max(a.t, 0); y < std::min(a.b, h); ++y) {
            std::int64_t f = 0, e = 0;
            if (!here.rowRange(y, f, e))
                continue;
            // Spans lie within the box, whose corners are ints.
            std::int64_t fi = 0, ei = 0;
            if (!hasNext || !inner.rowRange(y, fi, ei) || ei < f || fi > e) {
                canvas.fillRect(int(f), y, int(e + 1), y + 1);
                continue;
            }
            if (fi > f)
                canvas.fillRect(int(f), y, int(fi), y + 1);
            if (ei < e)
                canvas.fillRect(int(ei + 1), y, int(e + 1), y + 1);
        }
    }
}

// Radial1 and Radial2: a pie slice of 2 degrees for every degree a, from
// the ray at a + 2 counter-clockwise to the ray at a (angles clockwise from
// the top).
void radial(Canvas& canvas, bool quarters, Colour start, Colour end)
{
    const int w = canvas.bitmap().width(), h = canvas.bitmap().height();
    const int r = std::max(w, h) / 2;
    const double degree = std::numbers::pi / 180;
    auto rayX = [&](int a) { return w / 2 + int(roundHalfEven(r * std::sin(a * degree))); };
    auto rayY = [&](int a) { return h / 2 - int(roundHalfEven(r * std::cos(a * degree))); };
    for (int a = 0; a < 360; ++a) {
        Colour c;
        if (!quarters)
            c = gradientColour(start, end, a < 180 ? a : 359 - a, 180);
        else
            c = gradientColour(start, end, a < 90 ? a : a < 180 ? 179 - a : a < 270 ? a - 180 : 359 - a, 90);
        setColour(canvas, c);
        canvas.pie(-w / 4, -h / 4, w + w / 4, h + h / 4, rayX(a + 2), rayY(a + 2), rayX(a), rayY(a));
    }
}

} // namespace

void renderGradient(Bitmap& bitmap, GradientStyle style, Colour start, Colour end)
{
    bitmap.setPixelFormat(24);
    Canvas canvas(bitmap);
    canvas.setBrushHollow(false);
    switch (style) {
    case GradientStyle::Horizontal: bands(canvas, false, start, end); break;
    case GradientStyle::Vertical: bands(canvas, true, start, end); break;
    case GradientStyle::Elliptic: ellipses(canvas, start, end); break;
    case GradientStyle::Rectangle: rectangles(canvas, start, end); break;
    case GradientStyle::VertCentre: centred(canvas, false, start, end); break;
    case GradientStyle::HorizCentre: centred(canvas, true, start, end); break;
    case GradientStyle::Radial1: radial(canvas, false, start, end); break;
    case GradientStyle::Radial2: radial(canvas, true, start, end); break;
    }
}

} // namespace px
