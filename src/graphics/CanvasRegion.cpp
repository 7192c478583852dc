#include "graphics/CanvasRegion.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace px {

namespace {

using i128 = __int128;
using u128 = unsigned __int128;

constexpr std::int64_t kFar = std::numeric_limits<std::int64_t>::max() / 4;

std::int64_t floorDiv(i128 n, i128 d)
{
    // Most figures fit 64 bits, whose division is several times cheaper.
    constexpr i128 kMax64 = std::numeric_limits<std::int64_t>::max();
    if (n <= kMax64 && n >= -kMax64 && d <= kMax64 && d >= -kMax64) {
        std::int64_t n64 = std::int64_t(n), d64 = std::int64_t(d);
        if (d64 < 0) {
            n64 = -n64;
            d64 = -d64;
        }
        std::int64_t q = n64 / d64;
        if (n64 % d64 != 0 && n64 < 0)
            --q;
        return std::clamp(q, -kFar, kFar);
    }
    if (d < 0) {
        n = -n;
        d = -d;
    }
    i128 q = n / d;
    if (n % d != 0 && n < 0)
        --q;
    if (q > kFar)
        return kFar;
    if (q < -kFar)
        return -kFar;
    return std::int64_t(q);
}

std::int64_t ceilDiv(i128 n, i128 d)
{
    return -floorDiv(-n, d);
}

} // namespace

void normaliseSpans(CanvasSpans& spans)
{
    if (spans.size() < 2)
        return;
    std::sort(spans.begin(), spans.end(), [](const CanvasSpan& a, const CanvasSpan& b) { return a.x0 < b.x0; });
    std::size_t n = 0;
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].x0 <= spans[n].x1)
            spans[n].x1 = std::max(spans[n].x1, spans[i].x1);
        else
            spans[++n] = spans[i];
    }
    spans.resize(n + 1);
}

void subtractSpans(const CanvasSpans& a, const CanvasSpans& b, CanvasSpans& out)
{
    out.clear();
    std::size_t j = 0;
    for (CanvasSpan s : a) {
        while (j < b.size() && b[j].x1 <= s.x0)
            ++j;
        std::size_t k = j;
        while (k < b.size() && b[k].x0 < s.x1) {
            if (b[k].x0 > s.x0)
                out.push_back({s.x0, b[k].x0});
            s.x0 = std::max(s.x0, b[k].x1);
            ++k;
        }
        if (s.x0 < s.x1)
            out.push_back(s);
    }
}

void intersectSpans(const CanvasSpans& a, const CanvasSpans& b, CanvasSpans& out)
{
    out.clear();
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const std::int64_t x0 = std::max(a[i].x0, b[j].x0);
        const std::int64_t x1 = std::min(a[i].x1, b[j].x1);
        if (x0 < x1)
            out.push_back({x0, x1});
        if (a[i].x1 < b[j].x1)
            ++i;
        else
            ++j;
    }
}

void RowSplitter::split(const CanvasRegion& region, std::int64_t y, CanvasSpans& outline, CanvasSpans& interior)
{
    region.row(y, here);
    region.row(y - 1, above);
    region.row(y + 1, below);
    shrunk.clear();
    for (const CanvasSpan& s : here)
        if (s.x1 - s.x0 > 2)
            shrunk.push_back({s.x0 + 1, s.x1 - 1});
    intersectSpans(shrunk, above, tmp);
    intersectSpans(tmp, below, interior);
    subtractSpans(here, interior, outline);
}

RectRegion::RectRegion(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) : l_(l), r_(r)
{
    top = t;
    bottom = b;
    centreX2 = l + r - 1;
    centreY2 = t + b - 1;
}

void RectRegion::row(std::int64_t y, CanvasSpans& out) const
{
    out.clear();
    if (y >= top && y < bottom)
        out.push_back({l_, r_});
}

EllipseRegion::EllipseRegion(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
    : a_(r - l), b_(b - t), cx2_(l + r - 1), cy2_(t + b - 1)
{
    top = t;
    bottom = b;
    centreX2 = cx2_;
    centreY2 = cy2_;
}

bool EllipseRegion::inside(std::int64_t x, std::int64_t y) const
{
    const i128 X = i128(2 * x - cx2_);
    const i128 Y = i128(2 * y - cy2_);
    const u128 lhs = u128(X * X) * u128(i128(b_) * b_) + u128(Y * Y) * u128(i128(a_) * a_);
    return lhs <= u128(i128(a_) * a_) * u128(i128(b_) * b_);
}

bool EllipseRegion::rowRange(std::int64_t y, std::int64_t& first, std::int64_t& last) const
{
    if (y < top || y >= bottom)
        return false;
    // The row's columns are |2x - centreX2| <= a sqrt(b^2 - Y^2) / b. In
    // double precision the bounds are off by far less than the margin; only
    // a bound that falls that close to a whole column is settled exactly.
    {
        const std::int64_t y2 = 2 * y - cy2_;
        const double xr = double(a_) * std::sqrt(double(b_ * b_ - y2 * y2)) / double(b_);
        const double lo = (double(cx2_) - xr) / 2, hi = (double(cx2_) + xr) / 2;
        const double margin = 1e-9 + 1e-15 * (std::fabs(double(cx2_)) + xr);
        const double loUp = std::ceil(lo), hiDown = std::floor(hi);
        if (loUp - lo > margin && lo - (loUp - 1) > margin && hi - hiDown > margin && hiDown + 1 - hi > margin) {
            first = std::int64_t(loUp);
            last = std::int64_t(hiDown);
            return first <= last;
        }
    }
    const long double Y = (long double)(2 * y - cy2_);
    const long double B = (long double)b_;
    const long double s = 1.0L - (Y * Y) / (B * B);
    const long double xr = s > 0 ? (long double)a_ * std::sqrt(s) : 0.0L;
    first = std::int64_t(std::ceil(((long double)cx2_ - xr) / 2));
    last = std::int64_t(std::floor(((long double)cx2_ + xr) / 2));
    // The estimate is within a pixel; settle the edges with the exact test.
    while (inside(first - 1, y))
        --first;
    while (first <= last && !inside(first, y))
        ++first;
    while (inside(last + 1, y))
        ++last;
    while (last >= first && !inside(last, y))
        --last;
    return first <= last;
}

void EllipseRegion::row(std::int64_t y, CanvasSpans& out) const
{
    out.clear();
    std::int64_t first, last;
    if (rowRange(y, first, last))
        out.push_back({first, last + 1});
}

RoundRectRegion::RoundRectRegion(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::int64_t cw,
                                 std::int64_t ch)
    : l_(l), t_(t), r_(r), b_(b), cw_(cw), ch_(ch),
      corner_(0, 0, std::max<std::int64_t>(cw, 1), std::max<std::int64_t>(ch, 1))
{
    top = t;
    bottom = b;
    centreX2 = l + r - 1;
    centreY2 = t + b - 1;
}

void RoundRectRegion::row(std::int64_t y, CanvasSpans& out) const
{
    out.clear();
    if (y < t_ || y >= b_)
        return;
    std::int64_t inset = 0;
    const std::int64_t j = std::min(y - t_, b_ - 1 - y);
    if (cw_ > 1 && ch_ > 1 && 2 * j < ch_ - 1) {
        std::int64_t first, last;
        inset = corner_.rowRange(j, first, last) ? first : cw_ / 2;
    }
    if (l_ + inset < r_ - inset)
        out.push_back({l_ + inset, r_ - inset});
}

PieRegion::PieRegion(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::int64_t d1x, std::int64_t d1y,
                     std::int64_t d2x, std::int64_t d2y)
    : ellipse_(l, t, r, b), d1x_(d1x), d1y_(d1y), d2x_(d2x), d2y_(d2y)
{
    top = t;
    bottom = b;
    centreX2 = l + r - 1;
    centreY2 = t + b - 1;
    // c > 0: d2 lies counter-clockwise of d1 within half a turn.
    const i128 c = i128(d1y) * d2x - i128(d1x) * d2y;
    const i128 dot = i128(d1x) * d2x + i128(d1y) * d2y;
    if ((d1x == 0 && d1y == 0) || (d2x == 0 && d2y == 0) || (c == 0 && dot > 0))
        sweep_ = Sweep::Full;
    else if (c > 0)
        sweep_ = Sweep::Narrow;
    else if (c < 0)
        sweep_ = Sweep::Wide;
    else
        sweep_ = Sweep::Half;
}

// The columns of row y2 (doubled) where a X - b Y >= 0, X = 2x - centreX2.
bool PieRegion::halfPlane(std::int64_t a, std::int64_t b, std::int64_t y2, CanvasSpan& out) const
{
    const i128 n = i128(b) * y2 + i128(a) * centreX2;
    if (a > 0) {
        out = {ceilDiv(n, 2 * i128(a)), kFar};
    } else if (a < 0) {
        out = {-kFar, floorDiv(n, 2 * i128(a)) + 1};
    } else {
        if (i128(b) * y2 > 0)
            return false;
        out = {-kFar, kFar};
    }
    return out.x0 < out.x1;
}

void PieRegion::row(std::int64_t y, CanvasSpans& out) const
{
    std::int64_t first, last;
    out.clear();
    if (ellipse_.rowRange(y, first, last))
        rowWithin(y, first, last, out);
}

void PieRegion::rowWithin(std::int64_t y, std::int64_t first, std::int64_t last, CanvasSpans& out) const
{
    out.clear();
    const CanvasSpan ell{first, last + 1};
    if (sweep_ == Sweep::Full) {
        out.push_back(ell);
        return;
    }
    const std::int64_t y2 = 2 * y - centreY2;
    CanvasSpan h1{0, 0}, h2{0, 0};
    const bool in1 = halfPlane(d1y_, d1x_, y2, h1);
    const bool in2 = halfPlane(-d2y_, -d2x_, y2, h2);
    // At most two runs, sorted and merged as normaliseSpans would.
    CanvasSpan sector[2];
    int count = 0;
    if (sweep_ == Sweep::Half) {
        if (in1)
            sector[count++] = h1;
    } else if (sweep_ == Sweep::Narrow) {
        if (in1 && in2 && std::max(h1.x0, h2.x0) < std::min(h1.x1, h2.x1))
            sector[count++] = {std::max(h1.x0, h2.x0), std::min(h1.x1, h2.x1)};
    } else {
        if (in1)
            sector[count++] = h1;
        if (in2)
            sector[count++] = h2;
        if (count == 2) {
            if (sector[1].x0 < sector[0].x0)
                std::swap(sector[0], sector[1]);
            if (sector[1].x0 <= sector[0].x1) {
                sector[0].x1 = std::max(sector[0].x1, sector[1].x1);
                count = 1;
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        const std::int64_t x0 = std::max(sector[i].x0, ell.x0), x1 = std::min(sector[i].x1, ell.x1);
        if (x0 < x1)
            out.push_back({x0, x1});
    }
}

namespace {

// Open interval of x on the row at height y covered by the capsule of radius
// r around the segment a-b; false when the row misses it.
bool capsuleRow(double ax, double ay, double bx, double by, double r, double y, double& lo, double& hi)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    lo = inf;
    hi = -inf;
    const auto disc = [&](double cx, double cy) {
        const double d = y - cy;
        const double s = r * r - d * d;
        if (s > 0) {
            const double h = std::sqrt(s);
            lo = std::min(lo, cx - h);
            hi = std::max(hi, cx + h);
        }
    };
    disc(ax, ay);
    disc(bx, by);
    const double dx = bx - ax, dy = by - ay;
    const double len = std::hypot(dx, dy);
    if (len > 0) {
        const double ux = dx / len, uy = dy / len;
        double s0 = -inf, s1 = inf;
        bool empty = false;
        // Along the segment: 0 <= (x - ax) ux + (y - ay) uy <= len.
        // Across it: |-(x - ax) uy + (y - ay) ux| < r.
        const auto constrain = [&](double coef, double base, double minv, double maxv) {
            if (std::fabs(coef) < 1e-12) {
                if (base <= minv || base >= maxv)
                    empty = true;
                return;
            }
            double a = (minv - base) / coef, b = (maxv - base) / coef;
            if (a > b)
                std::swap(a, b);
            s0 = std::max(s0, a);
            s1 = std::min(s1, b);
        };
        constrain(ux, (y - ay) * uy, -1e-9, len + 1e-9);
        constrain(-uy, (y - ay) * ux, -r, r);
        if (!empty && s0 < s1) {
            lo = std::min(lo, ax + s0);
            hi = std::max(hi, ax + s1);
        }
    }
    return lo < hi;
}

} // namespace

void WidePenArea::build(const std::vector<double>& path, bool closed, int width, std::int64_t rowBegin,
                        std::int64_t rowEnd)
{
    entries_.clear();
    rowBegin_ = rowBegin;
    rowEnd_ = std::max(rowBegin, rowEnd);
    const double r = width / 2.0;
    const double shift = (width % 2 == 0) ? 0.5 : 0.0;
    const std::size_t points = path.size() / 2;
    const std::size_t segments =
        points == 0 ? 0 : (closed && points > 2 ? points : std::max<std::size_t>(points - 1, 1));
    for (std::size_t i = 0; i < segments; ++i) {
        const std::size_t j = std::min((i + 1) % points, points - 1);
        const double ax = path[2 * i] - shift, ay = path[2 * i + 1] - shift;
        const double bx = path[2 * j] - shift, by = path[2 * j + 1] - shift;
        const double ylo = std::min(ay, by) - r, yhi = std::max(ay, by) + r;
        const std::int64_t y0 = std::max<std::int64_t>(rowBegin_, std::int64_t(std::floor(std::max(ylo, -4e18))) + 1);
        const std::int64_t y1 = std::min<std::int64_t>(rowEnd_, std::int64_t(std::ceil(std::min(yhi, 4e18))));
        for (std::int64_t y = y0; y < y1; ++y) {
            double lo, hi;
            if (!capsuleRow(ax, ay, bx, by, r, double(y), lo, hi))
                continue;
            const std::int64_t x0 = std::int64_t(std::floor(lo)) + 1;
            const std::int64_t x1 = std::int64_t(std::ceil(hi));
            if (x0 < x1)
                entries_.push_back({y, x0, x1});
        }
    }
    std::sort(entries_.begin(), entries_.end(),
              [](const Entry& a, const Entry& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
    rowStart_.assign(std::size_t(rowEnd_ - rowBegin_) + 1, 0);
    std::size_t k = 0;
    for (std::int64_t y = rowBegin_; y <= rowEnd_; ++y) {
        while (k < entries_.size() && entries_[k].y < y)
            ++k;
        rowStart_[std::size_t(y - rowBegin_)] = k;
    }
}

void WidePenArea::row(std::int64_t y, CanvasSpans& out) const
{
    out.clear();
    if (y < rowBegin_ || y >= rowEnd_)
        return;
    const std::size_t b = rowStart_[std::size_t(y - rowBegin_)];
    const std::size_t e = rowStart_[std::size_t(y - rowBegin_) + 1];
    for (std::size_t k = b; k < e; ++k)
        out.push_back({entries_[k].x0, entries_[k].x1});
    normaliseSpans(out);
}

} // namespace px
