// "Agrandissement flou": the image resampled in place at (W-1)/W by
// (H-1)/H with 15-bit fixed-point bilinear weights, rows top to bottom and
// pixels left to right, each read seeing the writes made before it.
//
// Almost every destination row y reads source rows y-1 (finished) and y
// itself, at columns x-1 and x: the pixel just written to its left and its
// own original value. Each row is thus a chain from left to right, and the
// next row can follow one column behind. Blocks of eight or sixteen such
// rows run as the lanes of a vector, lane r one column behind lane r-1, each
// lane taking its neighbours in the row above from the lane before it (see
// EnlargeBlockBody.inc). The first columns, the last ones and every
// other row go pixel by pixel through the plain rule below.
#include "transforms/Deformations.h"
#include "transforms/EnlargeKernels.h"

#include <algorithm>

namespace px {

namespace enlarge {

Geometry::Geometry(int width, int height) : W(width), H(height)
{
    const std::int64_t xstep = (std::int64_t(W - 1) * 32768) / W;
    ystep = (std::int64_t(H - 1) * 32768) / H;
    source.resize(std::size_t(W) + 2 * kGuard);
    fraction.resize(std::size_t(W) + 2 * kGuard);
    std::int64_t xa = 0;
    for (int x = 0; x < W; ++x, xa += xstep) {
        source[std::size_t(x + kGuard)] = int(xa >> 15);
        fraction[std::size_t(x + kGuard)] = int(xa & 32767);
    }
}

void plainPixel(const Geometry& g, Bitmap& b, const Row& row, int x)
{
    const int s = g.sourceOf(x);
    // A one-pixel-wide image has no column right of its only one: the
    // neighbour repeats it.
    const int s1 = std::min(s + 1, g.W - 1);
    const int fx = g.fractionOf(x), fy = row.fy;
    const int w11 = (fx * fy) >> 15;
    const int w10 = (fx * (32768 - fy)) >> 15;
    const int w00 = (32768 - fy) - w10;
    const int w01 = fy - w11;
    const auto at = [&](int r, int p) -> const std::uint8_t* { return b.row(r) + std::size_t(p) * 3; };
    const std::uint8_t *p00 = at(row.row0, s), *p10 = at(row.row0, s1);
    const std::uint8_t *p01 = at(row.row1, s), *p11 = at(row.row1, s1);
    // Written byte by byte, each after its own reads (pixel x of this row,
    // still as it was, may be one of them): a three-byte copy through
    // memory would make the next pixel's reads wait.
    std::uint8_t* to = b.row(row.y) + std::size_t(x) * 3;
    for (int c = 0; c < 3; ++c)
        to[c] = std::uint8_t((p00[c] * w00 + p10[c] * w10 + p01[c] * w01 + p11[c] * w11) >> 15);
}

void enlargeWith(Bitmap& bitmap, int lanes)
{
    if (bitmap.isEmpty())
        return;
    bitmap.setPixelFormat(24);
    const Geometry g(bitmap.width(), bitmap.height());
    const int W = g.W, H = g.H;
    const auto block = lanes == 16 ? enlargeBlock16 : enlargeBlock8;
    const auto rowAt = [&](int y) {
        const std::int64_t ya = y * g.ystep;
        Row r{y, int(ya >> 15), 0, int(ya & 32767)};
        r.row1 = r.row0 < H - 1 ? r.row0 + 1 : r.row0;
        return r;
    };
    // A row that reads row y-1 and itself.
    const auto follows = [&](int y) { return y >= 1 && rowAt(y).row0 == y - 1; };
    const bool vector = lanes > 0 && W > lanes;
    for (int y = 0; y < H;) {
        if (vector && y + lanes <= H && follows(y) && follows(y + lanes - 1)) {
            Row rows[kMaxLanes];
            for (int r = 0; r < lanes; ++r)
                rows[r] = rowAt(y + r);
            block(g, bitmap, rows);
            y += lanes;
            continue;
        }
        const Row row = rowAt(y);
        for (int x = 0; x < W; ++x)
            plainPixel(g, bitmap, row, x);
        ++y;
    }
}

} // namespace enlarge

void AgrandissementFlou(Bitmap& bitmap)
{
    // A vector of 16 lanes where the processor has one, else of 8.
    enlarge::enlargeWith(bitmap, enlarge::haveAvx512() ? 16 : enlarge::haveAvx2() ? 8 : 0);
}

} // namespace px
