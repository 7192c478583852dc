#pragma once
// Image builders shared by the effect tests.
#include "graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace px::test {

using Grid = std::vector<std::vector<int>>;

// A grey image from a grid of values, one row per vector.
inline Bitmap greys(const Grid& rows)
{
    Bitmap b(int(rows[0].size()), int(rows.size()), 24);
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            b.setPixel(x, y, makeColour(rows[y][x], rows[y][x], rows[y][x]));
    return b;
}

// The grid of a grey image; a pixel whose channels differ fails the test.
inline Grid greysOf(const Bitmap& b)
{
    Grid rows(std::size_t(b.height()));
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            const Colour c = b.pixel(x, y);
            EXPECT_TRUE(redOf(c) == greenOf(c) && greenOf(c) == blueOf(c)) << x << "," << y;
            rows[std::size_t(y)].push_back(redOf(c));
        }
    return rows;
}

inline Colour grey(int v)
{
    return makeColour(v, v, v);
}

inline Bitmap filled(int w, int h, Colour c)
{
    Bitmap b(w, h, 24);
    b.fill(c);
    return b;
}

inline Bitmap randomImage(std::mt19937& rng, int w, int h)
{
    Bitmap b(w, h, 24);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * 3; ++x)
            b.row(y)[x] = std::uint8_t(byte(rng));
    return b;
}

} // namespace px::test
