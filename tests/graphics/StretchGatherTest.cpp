// Stretching copies that gather their pixels sixteen at a time, against the
// nearest-pixel rule written out pixel by pixel.
#include "graphics/StretchGather.h"
#include "graphics/Canvas.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace px {
namespace {

// One axis by the rule: the rectangle's edge a to b covers a..b-1 walked up
// from a, or b+1..a walked down from a; destination step k takes source
// step k * source count / destination count, rounded down.
struct LiteralAxis {
    LiteralAxis(int a, int b) : origin(a), count(b >= a ? b - a : a - b), step(b >= a ? 1 : -1) {}
    int at(long long k) const { return int(origin + step * k); }
    int origin, count, step;
};

void literalStretch(Bitmap& dst, Rect d, const Bitmap& src, Rect s)
{
    const LiteralAxis dx(d.left, d.right), dy(d.top, d.bottom), sx(s.left, s.right), sy(s.top, s.bottom);
    if (dx.count == 0 || dy.count == 0 || sx.count == 0 || sy.count == 0)
        return;
    for (int i = 0; i < dy.count; ++i)
        for (int k = 0; k < dx.count; ++k) {
            const int x = dx.at(k), y = dy.at(i);
            const int fx = sx.at(std::int64_t(k) * sx.count / dx.count);
            const int fy = sy.at(std::int64_t(i) * sy.count / dy.count);
            if (x >= 0 && x < dst.width() && y >= 0 && y < dst.height() && fx >= 0 && fx < src.width() && fy >= 0 &&
                fy < src.height())
                dst.setPixel(x, y, src.pixel(fx, fy));
        }
}

TEST(StretchGather, RowsMatchTheColumnTable)
{
    std::mt19937 rng(3);
    // Source columns per destination pixel: halving, a shrink by
    // 1.5, enlarging by three, mirrored, and random columns within each
    // group's window of 42 pixels (groups start at pixel 1).
    for (const int width : {1, 15, 16, 17, 33, 101}) {
        const int sourceWidth = 3 * width + 60;
        std::vector<std::vector<std::int64_t>> tables(5, std::vector<std::int64_t>(std::size_t(width)));
        for (int x = 0; x < width; ++x) {
            tables[0][std::size_t(x)] = 2 * x + 1;
            tables[1][std::size_t(x)] = x * 3 / 2;
            tables[2][std::size_t(x)] = x / 3 + 5;
            tables[3][std::size_t(x)] = sourceWidth - 1 - 2 * x;
            tables[4][std::size_t(x)] = (x + 15) / 16 * 16 + int(rng() % 42);
        }
        std::vector<std::uint8_t> in(std::size_t(sourceWidth) * 3);
        for (auto& b : in)
            b = std::uint8_t(rng());
        for (const auto& columns : tables) {
            std::vector<stretch::GatherGroup> groups;
            // Pixels 1..width-1 only: the first stays as it was.
            const int first = width > 1 ? 1 : 0;
            ASSERT_TRUE(stretch::planGather(columns.data(), first, width - 1, sourceWidth, groups));
            if (!stretch::gatherAvailable())
                continue;
            std::vector<std::uint8_t> out(std::size_t(width) * 3 + 5, 0x5A);
            stretch::gatherRow(groups, in.data(), out.data());
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* want = x < first ? nullptr : in.data() + columns[std::size_t(x)] * 3;
                for (int b = 0; b < 3; ++b)
                    ASSERT_EQ(out[std::size_t(x) * 3 + b], want ? want[b] : 0x5A) << "width " << width << " x " << x;
            }
            for (std::size_t i = std::size_t(width) * 3; i < out.size(); ++i)
                ASSERT_EQ(out[i], 0x5A) << "written past the row";
        }
    }
    // Sixteen pixels three source pixels apart read 46 pixels: too wide.
    std::vector<std::int64_t> thirds(16);
    for (int x = 0; x < 16; ++x)
        thirds[std::size_t(x)] = 3 * x;
    std::vector<stretch::GatherGroup> groups;
    EXPECT_FALSE(stretch::planGather(thirds.data(), 0, 15, 46, groups));
}

TEST(StretchGather, CopiesFollowTheNearestPixelRule)
{
    const Bitmap src = test::noise(61, 37, 9);
    Bitmap src8(23, 9, 8);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 23; ++x)
            src8.setPixel(x, y, makeColour(x * 11, y * 20, 0));
    struct Case {
        Rect d, s;
        const Bitmap* source;
    };
    const Case cases[] = {
        {{0, 0, 30, 18}, {0, 0, 61, 37}, &src},     // about half
        {{0, 0, 30, 18}, {0, 0, 60, 36}, &src},     // exactly half
        {{3, 2, 40, 30}, {1, 1, 61, 37}, &src},     // shrink by 1.5 with offsets
        {{0, 0, 57, 41}, {0, 0, 19, 13}, &src},     // three times as large
        {{39, 0, 0, 20}, {0, 0, 61, 37}, &src},     // mirrored, shrunk
        {{-7, -3, 70, 50}, {-5, -2, 31, 19}, &src}, // both hanging over the edges
        {{0, 0, 40, 30}, {0, 0, 23, 9}, &src8},     // a palette source
        {{0, 0, 50, 10}, {0, 0, 61, 2}, &src},      // shrink by a little
    };
    for (const Case& c : cases) {
        Bitmap got = test::noise(50, 40, 2), want = got;
        Canvas canvas(got);
        canvas.stretchCopy(c.d, *c.source, c.s);
        literalStretch(want, c.d, *c.source, c.s);
        EXPECT_TRUE(got == want) << c.d.left << "," << c.d.top << "," << c.d.right << "," << c.d.bottom;
    }
}

} // namespace
} // namespace px
