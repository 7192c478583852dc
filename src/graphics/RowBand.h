#pragma once
// Some rows of a 24-bit image held outside a Bitmap: the band a routine
// writes when an image is produced a band at a time and passed on (to a file
// writer) without ever existing whole.
#include "graphics/Bitmap.h"

#include <cstddef>
#include <cstdint>

namespace px {

struct RowBand {
    std::uint8_t* data = nullptr;
    std::size_t stride = 0; // bytes from one row to the next
    int first = 0;          // the image row held at `data`
    int end = 0;            // one past the last row held

    // Row y of the image, first <= y < end.
    std::uint8_t* row(int y) const { return data + stride * std::size_t(y - first); }

    // Every row of `bmp`.
    static RowBand whole(Bitmap& bmp) { return {bmp.bits(), bmp.stride(), 0, bmp.height()}; }
};

} // namespace px
