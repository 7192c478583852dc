#pragma once
// The parts of "Agrandissement flou" shared by the plain rows
// (DeformationsEnlarge.cpp) and the blocks of eight or sixteen rows
// (DeformationsEnlargeVector.cpp).
#include "graphics/Bitmap.h"

#include <cstdint>
#include <vector>

namespace px::enlarge {

// The most rows a block holds.
inline constexpr int kMaxLanes = 16;
// Entries before and after the per-column tables, so that a lane left of
// column 0 or right of the last column reads a harmless value.
inline constexpr int kGuard = kMaxLanes;

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

// One destination row: its source rows and its fraction.
struct Row {
    int y;
    int row0, row1;
    int fy;
};

// Pixel x of `row` by the plain rule, from the image as it stands: this
// row's pixels left of x written, the others as they were.
void plainPixel(const Geometry& g, Bitmap& b, const Row& row, int x);

bool haveAvx2();
bool haveAvx512();

// "Agrandissement flou" with blocks of `lanes` rows (16 needs haveAvx512(),
// 8 haveAvx2()), or pixel by pixel (0).
void enlargeWith(Bitmap& bitmap, int lanes);

// The 8 (16) rows of `rows` (consecutive, each reading the one before it
// and itself), all of them; only for processors where haveAvx2()
// (haveAvx512()) holds and images wider than the block's rows.
void enlargeBlock8(const Geometry& g, Bitmap& b, const Row* rows);
void enlargeBlock16(const Geometry& g, Bitmap& b, const Row* rows);

} // namespace px::enlarge
