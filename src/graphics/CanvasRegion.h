#pragma once
// Internal to the canvas: figures described as rows of pixel runs, the set
// operations on runs that split a figure into outline and interior, and the
// area covered by a wide pen along a path.
#include <cstdint>
#include <vector>

namespace px {

// Pixels x0 .. x1-1 of one row.
struct CanvasSpan {
    std::int64_t x0;
    std::int64_t x1;
};
using CanvasSpans = std::vector<CanvasSpan>;

// Sorts and merges overlapping or touching runs.
void normaliseSpans(CanvasSpans& spans);
// out := a minus b; a and b sorted and disjoint.
void subtractSpans(const CanvasSpans& a, const CanvasSpans& b, CanvasSpans& out);
// out := a intersected with b; a and b sorted and disjoint.
void intersectSpans(const CanvasSpans& a, const CanvasSpans& b, CanvasSpans& out);

// A figure's pixels, rows top .. bottom-1, each row a few sorted runs.
// The centre (in doubled coordinates, so that half pixels are integers)
// orders the outline for styled pens.
class CanvasRegion {
public:
    virtual ~CanvasRegion() = default;
    virtual void row(std::int64_t y, CanvasSpans& out) const = 0;
    std::int64_t top = 0;
    std::int64_t bottom = 0;
    std::int64_t centreX2 = 0;
    std::int64_t centreY2 = 0;
};

// Outline and interior of row y: the outline holds the pixels of the region
// with a left, right, upper or lower neighbour outside it, the interior the
// others. `scratch` avoids allocations between rows.
struct RowSplitter {
    void split(const CanvasRegion& region, std::int64_t y, CanvasSpans& outline, CanvasSpans& interior);
    CanvasSpans above, here, below, shrunk, tmp;
};

// Columns l..r-1, rows t..b-1 (already normalised, non-empty).
class RectRegion : public CanvasRegion {
public:
    RectRegion(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b);
    void row(std::int64_t y, CanvasSpans& out) const override;

private:
    std::int64_t l_, r_;
};

// The pixels whose centres lie inside the ellipse inscribed in the box
// l..r, t..b (edges as real lines, so the ellipse touches the outer edges of
// the extreme pixels): in doubled coordinates X = 2x - (l + r - 1),
// Y = 2y - (t + b - 1), A = r - l, B = b - t, the pixels with
// X^2 B^2 + Y^2 A^2 <= A^2 B^2.
class EllipseRegion : public CanvasRegion {
public:
    EllipseRegion(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b);
    void row(std::int64_t y, CanvasSpans& out) const override;
    // First and last column of row y; false when the row is empty.
    bool rowRange(std::int64_t y, std::int64_t& first, std::int64_t& last) const;

private:
    bool inside(std::int64_t x, std::int64_t y) const;
    std::int64_t a_, b_, cx2_, cy2_;
};

// A rectangle whose corners follow the quarters of a cw x ch ellipse.
class RoundRectRegion : public CanvasRegion {
public:
    RoundRectRegion(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::int64_t cw, std::int64_t ch);
    void row(std::int64_t y, CanvasSpans& out) const override;

private:
    std::int64_t l_, t_, r_, b_, cw_, ch_;
    EllipseRegion corner_;
};

// The pixels of the ellipse region that lie in the angular sector swept
// counter-clockwise (on the screen, y down) from direction d1 to direction d2
// about the box centre, rays included. Directions are in doubled coordinates.
class PieRegion : public CanvasRegion {
public:
    PieRegion(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::int64_t d1x, std::int64_t d1y,
              std::int64_t d2x, std::int64_t d2y);
    void row(std::int64_t y, CanvasSpans& out) const override;
    // The same row from the run first..last that the pie's ellipse has
    // there, for callers that cut several pies out of one ellipse.
    void rowWithin(std::int64_t y, std::int64_t first, std::int64_t last, CanvasSpans& out) const;

private:
    enum class Sweep { Full, Narrow, Wide, Half };
    bool halfPlane(std::int64_t a, std::int64_t b, std::int64_t y2, CanvasSpan& out) const;
    EllipseRegion ellipse_;
    std::int64_t d1x_, d1y_, d2x_, d2y_;
    Sweep sweep_;
};

// The pixels covered by a pen of `width` pixels following a path of points
// (x, y pairs in pixel coordinates) with round ends and joins: the pixels
// whose centres lie closer than width/2 to the path. An even width is
// shifted half a pixel up and left so that it covers exactly `width` rows
// across a horizontal line. Only rows rowBegin .. rowEnd-1 are built.
class WidePenArea {
public:
    void build(const std::vector<double>& path, bool closed, int width, std::int64_t rowBegin, std::int64_t rowEnd);
    // The runs of row y (sorted, merged); empty when nothing covers it.
    void row(std::int64_t y, CanvasSpans& out) const;
    std::int64_t rowBegin() const { return rowBegin_; }
    std::int64_t rowEnd() const { return rowEnd_; }

private:
    struct Entry {
        std::int64_t y, x0, x1;
    };
    std::vector<Entry> entries_;
    std::vector<std::size_t> rowStart_;
    std::int64_t rowBegin_ = 0, rowEnd_ = 0;
};

} // namespace px
