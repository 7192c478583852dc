#include "transforms/Gradients.h"

#include "graphics/Canvas.h"
#include "graphics/CanvasRegion.h"
#include "transforms/TransformMath.h"

#include <algorithm>
#include <cmath>
#include <limits>
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

// The styles whose fills are whole columns give every row the same
// pixels: the columns are filled on a one-row bitmap, which is then
// stretched over the image (one copy per row instead of a walk down every
// column).
template <class FillRow> void sameInEveryRow(Canvas& canvas, FillRow fillRow)
{
    const int w = canvas.bitmap().width(), h = canvas.bitmap().height();
    Bitmap row(w, 1, 24);
    Canvas rowCanvas(row);
    rowCanvas.setBrushHollow(false);
    fillRow(rowCanvas);
    canvas.stretchCopy({0, 0, w, h}, row, {0, 0, w, 1});
}

// Horizontal and Vertical: 256 bands side by side.
void bands(Canvas& canvas, bool vertical, Colour start, Colour end)
{
    const int n = 255;
    const int w = canvas.bitmap().width(), h = canvas.bitmap().height();
    if (vertical) {
        for (int i = 0; i <= n; ++i) {
            setColour(canvas, gradientColour(start, end, i, n));
            canvas.fillRect(0, int(gradientScale(i, h, n + 1)), w, int(gradientScale(i + 1, h, n + 1)));
        }
        return;
    }
    sameInEveryRow(canvas, [&](Canvas& row) {
        for (int i = 0; i <= n; ++i) {
            setColour(row, gradientColour(start, end, i, n));
            row.fillRect(int(gradientScale(i, w, n + 1)), 0, int(gradientScale(i + 1, w, n + 1)), 1);
        }
    });
}

// VertCentre and HorizCentre: row (column) i and row H - i share step i of
// H div 2; the second fill is given backwards, which covers row H - i alone.
void centred(Canvas& canvas, bool columns, Colour start, Colour end)
{
    const int w = canvas.bitmap().width(), h = canvas.bitmap().height();
    if (!columns) {
        const int m = h / 2;
        for (int i = 0; i <= m; ++i) {
            setColour(canvas, gradientColour(start, end, i, m));
            canvas.fillRect(0, i, w, i + 1);
            canvas.fillRect(0, h - i, w, h - i - 1);
        }
        return;
    }
    sameInEveryRow(canvas, [&](Canvas& row) {
        const int m = w / 2;
        for (int i = 0; i <= m; ++i) {
            setColour(row, gradientColour(start, end, i, m));
            row.fillRect(i, 0, i + 1, 1);
            row.fillRect(w - i, 0, w - i - 1, 1);
        }
    });
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

// The rows of a filled ellipse as the canvas draws it, with its pen in the
// brush colour: one run per row. Rows outside the image are left out.
struct EllipseRows {
    std::vector<std::int32_t> first, last; // last < first: empty row
    int top = 0;                           // first row held

    EllipseRows(const Box& box, int height)
    {
        if (box.empty())
            return;
        top = std::max(box.t, 0);
        const int bottom = std::min(box.b, height);
        const EllipseRegion region(box.l, box.t, box.r, box.b);
        first.resize(std::size_t(std::max(bottom - top, 0)));
        last.resize(first.size());
        // The ellipse is symmetric about its middle row: the mirrored row
        // (t + b - 1 - y) has the same run.
        for (int y = top; y < bottom; ++y) {
            const std::size_t i = std::size_t(y - top);
            const std::int64_t mirror = std::int64_t(box.t) + box.b - 1 - y;
            if (mirror >= top && mirror < y) {
                first[i] = first[std::size_t(mirror - top)];
                last[i] = last[std::size_t(mirror - top)];
                continue;
            }
            std::int64_t f = 0, e = -1;
            if (!region.rowRange(y, f, e))
                f = 0, e = -1;
            // Runs lie within the box, whose corners are ints.
            first[i] = std::int32_t(f);
            last[i] = std::int32_t(e);
        }
    }
    bool row(int y, int& f, int& e) const
    {
        const std::size_t i = std::size_t(y - top);
        if (y < top || i >= first.size() || last[i] < first[i])
            return false;
        f = first[i];
        e = last[i];
        return true;
    }
};

// Elliptic: 156 filled ellipses from the box (-W/4, -H/4, W + W/4 + 4,
// H + H/4 + 4), shrinking by ((W/2 + W/4) / 155, (H/2 + H/4) / 155) on each
// side before each one, with the pixels of the canvas's own filled
// ellipse. As for the rectangles, ellipse i is painted only where ellipse
// i + 1 does not cover it. The image is painted row by row, each row
// receiving the ellipses in order, so a row stays in the cache while every
// ellipse paints it; rows never share a pixel, so the result is that of
// drawing the ellipses one after the other.
void ellipses(Canvas& canvas, Colour start, Colour end)
{
    const int n = 155;
    const int w = canvas.bitmap().width(), h = canvas.bitmap().height();
    std::vector<Box> boxes;
    std::vector<EllipseRegion> regions;
    std::vector<Colour> colours;
    double l = -w / 4.0, t = -h / 4.0, r = w + w / 4.0 + 4, b = h + h / 4.0 + 4;
    const double dx = (w / 2.0 + w / 4.0) / n, dy = (h / 2.0 + h / 4.0) / n;
    for (int i = 0; i <= n; ++i) {
        l += dx;
        t += dy;
        r -= dx;
        b -= dy;
        const Box box = boxOf(l, t, r, b);
        boxes.push_back(box);
        // An empty box draws nothing; its region is never asked for a row.
        regions.emplace_back(box.l, box.t, box.empty() ? box.l + 1 : box.r, box.empty() ? box.t + 1 : box.b);
        colours.push_back(gradientColour(start, end, i, n));
    }
    // An ellipse is symmetric about its middle row and column: row y has
    // the run of row t + b - 1 - y, and its last column is l + r - 1 less
    // its first. The first column of every ellipse on the rows above their
    // middles is kept (kNone: no run) for the rows below, where it is read
    // back instead of found again.
    constexpr std::int32_t kNone = std::numeric_limits<std::int32_t>::max();
    const std::size_t count = std::size_t(n + 1);
    int keptRows = 0;
    for (const Box& box : boxes)
        if (!box.empty())
            keptRows = std::max(keptRows, std::min(h, (box.t + box.b) / 2 + 1));
    std::vector<std::int32_t> kept(std::size_t(keptRows) * count);
    // The run of every ellipse on the current row (last < first: none).
    std::vector<std::int64_t> first(std::size_t(n + 2)), last(std::size_t(n + 2));
    std::vector<ColourRun> runs;
    for (int y = 0; y < h; ++y) {
        for (std::size_t i = 0; i < count; ++i) {
            const Box& box = boxes[i];
            first[i] = 0;
            last[i] = -1;
            if (box.empty() || y < box.t || y >= box.b)
                continue;
            const int mirror = box.t + box.b - 1 - y;
            if (mirror < y && mirror >= 0) {
                const std::int32_t f = kept[std::size_t(mirror) * count + i];
                if (f != kNone) {
                    first[i] = f;
                    last[i] = std::int64_t(box.l) + box.r - 1 - f;
                }
                continue;
            }
            const bool found = regions[i].rowRange(y, first[i], last[i]);
            if (y < mirror) // then y < keptRows
                kept[std::size_t(y) * count + i] = found ? std::int32_t(first[i]) : kNone;
        }
        first[std::size_t(n + 1)] = 0;
        last[std::size_t(n + 1)] = -1;
        runs.clear();
        for (std::size_t i = 0; i <= std::size_t(n); ++i) {
            // Runs lie within the box, whose corners are ints.
            const int f = int(first[i]), e = int(last[i]);
            if (e < f)
                continue;
            // Parts outside the image are left out before they reach the
            // canvas, which would only clip them away.
            auto fill = [&](int x0, int x1) {
                if (x0 < x1 && x1 > 0 && x0 < w)
                    runs.push_back({x0, x1, colours[i]});
            };
            const int fi = int(first[i + 1]), ei = int(last[i + 1]);
            if (ei < fi || ei < f || fi > e) {
                fill(f, e + 1);
                continue;
            }
            fill(f, fi);
            fill(ei + 1, e + 1);
        }
        canvas.fillRowRuns(y, runs.data(), runs.size());
    }
}

// One slice of a radial gradient and the rows that can hold it. A narrow
// slice (less than half a turn, as every slice of a large image is) is cut
// by its two rays (see RayEdge); the others are left to the pie.
struct Slice {
    PieRegion pie;
    Colour colour;
    int from, to;
    bool narrow;
};

std::int64_t floorDivide(std::int64_t n, std::int64_t d) // d > 0
{
    const std::int64_t q = n / d;
    return q - (n % d < 0);
}

// Where a ray from the centre, direction (dx, dy) in doubled coordinates,
// cuts row y, as the pie finds it: the columns with dy X - dx Y >= 0
// (X = 2x - cx2, Y = 2y - cy2, the side a slice starting at the ray keeps)
// begin at ceil(n / 2dy) for dy > 0 and end after floor(n / 2dy) for
// dy < 0, n = dx Y + dy cx2; a slice ending at the ray keeps the columns
// with dy X - dx Y <= 0, the other way round. n grows by 2dx from row to
// row, so from one row to the next the quotient and remainder step along
// without a division.
class RayEdge {
public:
    static constexpr std::int64_t kFar = std::int64_t(1) << 50;

    RayEdge(std::int64_t dx, std::int64_t dy, std::int64_t cx2, std::int64_t cy2) : dx_(dx), dy_(dy), cy2_(cy2)
    {
        if (dy == 0)
            return;
        const std::int64_t sign = dy > 0 ? 1 : -1;
        d_ = 2 * dy * sign;
        const std::int64_t n = sign * (dx * -cy2 + dy * cx2), step = sign * 2 * dx; // row 0
        q_ = floorDivide(n, d_);
        r_ = n - q_ * d_;
        stepQ_ = floorDivide(step, d_);
        stepR_ = step - stepQ_ * d_;
    }

    // Makes y the current row.
    void moveTo(std::int64_t y)
    {
        if (y == y_ + 1) {
            q_ += stepQ_;
            r_ += stepR_;
            const std::int64_t carry = r_ >= d_;
            q_ += carry;
            r_ -= carry * d_;
        } else if (y != y_) {
            r_ += (y - y_) * stepR_;
            const std::int64_t carry = floorDivide(r_, d_);
            q_ += (y - y_) * stepQ_ + carry;
            r_ -= carry * d_;
        }
        y_ = y;
    }

    // The columns x0 .. x1-1 of the current row on the slice's side; false
    // when there are none.
    bool starting(std::int64_t& x0, std::int64_t& x1) const { return side(dy_, dx_, x0, x1); }
    bool ending(std::int64_t& x0, std::int64_t& x1) const { return side(-dy_, -dx_, x0, x1); }

private:
    // The columns where a X - b Y >= 0 for (a, b) = +-(dy, dx).
    bool side(std::int64_t a, std::int64_t b, std::int64_t& x0, std::int64_t& x1) const
    {
        if (a > 0) {
            x0 = q_ + (r_ != 0);
            x1 = kFar;
        } else if (a < 0) {
            x0 = -kFar;
            x1 = q_ + 1;
        } else {
            if (b * (2 * y_ - cy2_) > 0)
                return false;
            x0 = -kFar;
            x1 = kFar;
        }
        return true;
    }

    std::int64_t dx_, dy_, cy2_;
    std::int64_t y_ = 0;
    std::int64_t d_ = 1, q_ = 0, r_ = 0, stepQ_ = 0, stepR_ = 0;
};

// At most two runs of a row, sorted and apart.
struct TwoSpans {
    CanvasSpan span[2];
    int count = 0;
};

// The rows a slice of the ellipse (doubled semi-axes a, b about the
// doubled centre row cy2) between directions d1 and d2 can hold, 2 rows to
// spare. An arc that contains neither the top nor the bottom of the ellipse
// lies on one side, where the height changes steadily, so the slice lies
// between the centre and the arc's ends; otherwise it reaches the top or
// the bottom.
void sliceRows(double a, double b, std::int64_t cy2, std::int64_t d1x, std::int64_t d1y, std::int64_t d2x,
               std::int64_t d2y, bool narrow, int& from, int& to)
{
    if (!narrow)
        return;
    auto endY = [&](double dx, double dy) { return dy / std::sqrt(dx * dx / (a * a) + dy * dy / (b * b)); };
    const bool oneSide = (d1x > 0 && d2x > 0) || (d1x < 0 && d2x < 0);
    double lo = 0, hi = 0;
    if (oneSide) {
        const double e1 = endY(double(d1x), double(d1y)), e2 = endY(double(d2x), double(d2y));
        lo = std::min({0.0, e1, e2});
        hi = std::max({0.0, e1, e2});
    } else if (d1y < 0 && d2y < 0) {
        lo = -b;
    } else if (d1y > 0 && d2y > 0) {
        hi = b;
    } else {
        return;
    }
    from = std::max(from, int(std::floor((lo + double(cy2)) / 2)) - 2);
    to = std::min(to, int(std::ceil((hi + double(cy2)) / 2)) + 3);
}

// Radial1 and Radial2: a pie slice of 2 degrees for every degree a, from
// the ray at a + 2 counter-clockwise to the ray at a (angles clockwise from
// the top), each filled with the pixels of the canvas's own pie. All the
// slices are cut from one ellipse, whose runs are found once per row. As
// for the ellipses, the image is painted row by row, each row receiving the
// slices in order.
void radial(Canvas& canvas, bool quarters, Colour start, Colour end)
{
    const int w = canvas.bitmap().width(), h = canvas.bitmap().height();
    const int r = std::max(w, h) / 2;
    const double degree = std::numbers::pi / 180;
    auto rayX = [&](int a) { return w / 2 + int(roundHalfEven(r * std::sin(a * degree))); };
    auto rayY = [&](int a) { return h / 2 - int(roundHalfEven(r * std::cos(a * degree))); };
    const Box box{-w / 4, -h / 4, w + w / 4, h + h / 4};
    const EllipseRows ellipse(box, h);
    const std::int64_t cx2 = box.l + box.r - 1, cy2 = box.t + box.b - 1;
    std::vector<RayEdge> rays;
    for (int a = 0; a < 362; ++a)
        rays.emplace_back(2 * std::int64_t(rayX(a)) - cx2, 2 * std::int64_t(rayY(a)) - cy2, cx2, cy2);
    std::vector<Slice> slices;
    for (int a = 0; a < 360; ++a) {
        const int step = !quarters ? (a < 180 ? a : 359 - a)
                         : a < 90  ? a
                         : a < 180 ? 179 - a
                         : a < 270 ? a - 180
                                   : 359 - a;
        const std::int64_t d1x = 2 * std::int64_t(rayX(a + 2)) - cx2, d1y = 2 * std::int64_t(rayY(a + 2)) - cy2;
        const std::int64_t d2x = 2 * std::int64_t(rayX(a)) - cx2, d2y = 2 * std::int64_t(rayY(a)) - cy2;
        int from = std::max(box.t, 0), to = std::min(box.b, h);
        const bool narrow = d1y * d2x - d1x * d2y > 0;
        sliceRows(box.r - box.l, box.b - box.t, cy2, d1x, d1y, d2x, d2y, narrow, from, to);
        slices.push_back({PieRegion(box.l, box.t, box.r, box.b, d1x, d1y, d2x, d2y),
                          gradientColour(start, end, step, quarters ? 90 : 180), from, to, narrow});
    }
    // Slice a is painted only where slice a + 1 does not cover it (they
    // overlap by half), which gives what painting every slice whole gives.
    CanvasSpans general;
    std::vector<ColourRun> runs;
    for (int y = 0; y < h; ++y) {
        int first = 0, last = 0;
        if (ellipse.row(y, first, last)) {
            runs.clear();
            // `here` holds the runs of slice a - 1, `next` those of slice a.
            TwoSpans here, next;
            const std::size_t count = slices.size();
            for (std::size_t a = 0; a <= count; ++a) {
                next.count = 0;
                if (a < count && y >= slices[a].from && y < slices[a].to) {
                    const Slice& slice = slices[a];
                    if (slice.narrow) {
                        RayEdge& ray1 = rays[a + 2];
                        RayEdge& ray2 = rays[a];
                        ray1.moveTo(y);
                        ray2.moveTo(y);
                        std::int64_t a0, a1, b0, b1;
                        if (ray1.starting(a0, a1) && ray2.ending(b0, b1)) {
                            const std::int64_t x0 = std::max({a0, b0, std::int64_t(first)});
                            const std::int64_t x1 = std::min({a1, b1, std::int64_t(last) + 1});
                            if (x0 < x1)
                                next.span[next.count++] = {x0, x1};
                        }
                    } else {
                        slice.pie.rowWithin(y, first, last, general);
                        for (const CanvasSpan& span : general)
                            next.span[next.count++] = span;
                    }
                }
                if (a > 0) {
                    const Colour colour = slices[a - 1].colour;
                    // here minus next, both sorted and apart.
                    for (int i = 0; i < here.count; ++i) {
                        std::int64_t x = here.span[i].x0;
                        const std::int64_t end = here.span[i].x1;
                        for (int k = 0; k < next.count && x < end; ++k) {
                            const CanvasSpan& cut = next.span[k];
                            if (cut.x1 <= x || cut.x0 >= end)
                                continue;
                            if (cut.x0 > x)
                                runs.push_back({int(x), int(cut.x0), colour});
                            x = cut.x1;
                        }
                        if (x < end)
                            runs.push_back({int(x), int(end), colour});
                    }
                }
                here = next;
            }
            canvas.fillRowRuns(y, runs.data(), runs.size());
        }
    }
}

} // namespace

void renderGradient(Bitmap& bitmap, GradientStyle style, Colour start, Colour end)
{
    bitmap.setPixelFormat(24);
    Canvas canvas(bitmap);
    canvas.setBrushHollow(false);
    switch (style) {
    case GradientStyle::Horizontal:
        bands(canvas, false, start, end);
        break;
    case GradientStyle::Vertical:
        bands(canvas, true, start, end);
        break;
    case GradientStyle::Elliptic:
        ellipses(canvas, start, end);
        break;
    case GradientStyle::Rectangle:
        rectangles(canvas, start, end);
        break;
    case GradientStyle::VertCentre:
        centred(canvas, false, start, end);
        break;
    case GradientStyle::HorizCentre:
        centred(canvas, true, start, end);
        break;
    case GradientStyle::Radial1:
        radial(canvas, false, start, end);
        break;
    case GradientStyle::Radial2:
        radial(canvas, true, start, end);
        break;
    }
}

} // namespace px
