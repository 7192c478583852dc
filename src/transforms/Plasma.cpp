#include "transforms/Plasma.h"

#include <algorithm>
#include <cstring>

namespace px {

namespace {

// The height map and the subdivision. A cell holding 0 is not yet set; the
// subdivision only fills such cells, so edges copied before a quadrant is
// subdivided stay as they are.
class PlasmaField {
public:
    PlasmaField(int width, int height, int range, RandomGenerator& random)
        : width_(width), cells_(std::size_t(width) * std::size_t(height), 0), range_(range), random_(random)
    {
    }

    std::int32_t& at(int x, int y) { return cells_[std::size_t(x) + std::size_t(y) * std::size_t(width_)]; }
    std::vector<std::int32_t>& cells() { return cells_; }

    void subdivideFromTop(int x1, int y1, int x2, int y2)
    {
        level_ = 0;
        subdivide(x1, y1, x2, y2);
    }

private:
    // A still-empty midpoint takes the mean of its two ends, moved by a
    // random amount that halves at every level.
    void displace(int mx, int my, std::int32_t p, std::int32_t q)
    {
        std::int32_t& cell = at(mx, my);
        if (cell != 0)
            return;
        std::int32_t v = random_.random(range_) >> level_;
        if (random_.random(2) != 1)
            v = -v;
        cell = std::clamp(((p + q + 1) >> 1) + v, 1, 255);
    }

    void subdivide(int x1, int y1, int x2, int y2)
    {
        if (x2 - x1 < 2 && y2 - y1 < 2)
            return;
        ++level_;
        const int mx = (x1 + x2) >> 1, my = (y1 + y2) >> 1;
        displace(mx, y1, at(x1, y1), at(x2, y1));
        displace(x2, my, at(x2, y1), at(x2, y2));
        displace(mx, y2, at(x1, y2), at(x2, y2));
        displace(x1, my, at(x1, y1), at(x1, y2));
        std::int32_t& centre = at(mx, my);
        if (centre == 0)
            centre = (at(mx, y1) + at(x2, my) + at(mx, y2) + at(x1, my) + 2) >> 2;
        subdivide(x1, y1, mx, my);
        subdivide(mx, y1, x2, my);
        subdivide(mx, my, x2, y2);
        subdivide(x1, my, mx, y2);
        --level_;
    }

    int width_;
    std::vector<std::int32_t> cells_;
    int range_;
    RandomGenerator& random_;
    int level_ = 0;
};

} // namespace

std::vector<std::int32_t> PlasmaHeights(int width, int height, int range, RandomGenerator& random)
{
    random.seedFromClock();
    PlasmaField field(width, height, range, random);
    if (width < 2 || height < 2)
        return std::move(field.cells());
    const int hw = width / 2, hh = height / 2;
    const int right = 2 * hw - 1, bottom = 2 * hh - 1;
    field.at(0, 0) = std::int32_t(random.random(255));
    field.at(hw, 0) = std::int32_t(random.random(255));
    field.at(0, hh) = std::int32_t(random.random(255));
    field.at(hw, hh) = std::int32_t(random.random(255));
    field.subdivideFromTop(0, 0, hw, hh);

    // The other three quarters start from copies of the edges they share
    // with the opposite side, which makes the picture tile.
    for (int y = 0; y <= hh; ++y)
        field.at(right, y) = field.at(0, y);
    field.subdivideFromTop(hw, 0, right, hh);
    for (int x = 0; x <= right; ++x)
        field.at(x, bottom) = field.at(x, 0);
    field.subdivideFromTop(hw, hh, right, bottom);
    for (int y = hh; y <= bottom; ++y)
        field.at(0, y) = field.at(right, y);
    field.subdivideFromTop(0, hh, hw, bottom);
    return std::move(field.cells());
}

void Plasma(const Bitmap& source, Bitmap& target, int range, RandomGenerator& random)
{
    const int w = source.width(), h = source.height();
    const std::vector<std::int32_t> cells = PlasmaHeights(w, h, range, random);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* out = target.row(y);
        const std::int32_t* in = cells.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x, out += 3)
            out[0] = out[1] = out[2] = std::uint8_t(in[x]);
    }
}

} // namespace px
