#pragma once
// The parts of "Agrandissement flou" shared by the plain rows
// (DeformationsEnlarge.cpp) and the eight-row blocks
// (DeformationsEnlargeAvx2.cpp).
#include "graphics/Bitmap.h"

#include <cstdint>
#include <vector>

namespace px::enlarge {

inline constexpr int kLanes = 8;
// Entries before and after the per-column tables, so that a lane left of
// column 0 or right of the last column reads a harmless value.
inline constexpr int kGuard = kLanes;

// Per column: the source column sx and the fraction fx of the 15-bit
// fixed-point walk across the row; the row step.
struct Geometry {
    Geometry(int width, int height);
    int sourceOf(int x) const { return source[std::size_t(x + kGuard)]; }
    int fractionOf(int x) const { return fraction[std::size_t(x + kGuard)]; }

    int W, H;
    std::int64_t ystep;
    std::vector<int> source;
    std::vector<int> fraction;
};

// One destination row: its source rows, its fraction, and a copy of its
// pixels as they were before the row is written.
struct Row {
    int y;
    int row0, row1;
    int fy;
    const std::uint8_t* original;
};

// Pixel x of `row` by the plain rule, reading this row's pixels left of x
// as written and the others as they were.
void plainPixel(const Geometry& g, Bitmap& b, const Row& row, int x);

bool haveAvx2();

// The kLanes rows of `rows` (consecutive, each reading the one before it and
// itself), all of them; only for processors where haveAvx2() holds and
// images wider than kLanes.
void enlargeBlockAvx2(const Geometry& g, Bitmap& b, const Row* rows);

} // namespace px::enlarge
