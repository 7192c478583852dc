#include "effects/Convolution.h"

#include "effects/ConvolutionFast.h"
#include "effects/Parallel.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace px {

namespace {

// One framed row: `left`, the image row, `right` (3 bytes each side).
void frameRow(std::uint8_t* dst, const std::uint8_t* row, const std::uint8_t* left, const std::uint8_t* right,
              int width)
{
    std::memcpy(dst, left, 3);
    std::memcpy(dst + 3, row, std::size_t(width) * 3);
    std::memcpy(dst + 3 + std::size_t(width) * 3, right, 3);
}

// Framed copy of image row y: the right-most pixel on the left, the
// left-most on the right.
void frameInteriorRow(std::uint8_t* dst, const Bitmap& image, int y)
{
    const std::uint8_t* row = image.row(y);
    const int w = image.width();
    frameRow(dst, row, row + std::size_t(w - 1) * 3, row, w);
}

} // namespace

void Convolve3x3(Bitmap& bitmap, const Kernel3x3& kernel, std::uint16_t divisor, int threads)
{
    if (divisor == 0)
        throw EffectError("Division par zéro : le diviseur du filtre vaut 0.");
    if (bitmap.isEmpty())
        return;
    bitmap.setPixelFormat(24);
    const convolution::Plan plan = convolution::makePlan(kernel, divisor);
    const int w = bitmap.width(), h = bitmap.height();
    const std::size_t framed = std::size_t(w + 2) * 3;
    const std::uint8_t* topRow = bitmap.row(0);
    const std::uint8_t* bottomRow = bitmap.row(h - 1);
    const std::size_t last = std::size_t(w - 1) * 3;

    // The frame row above row 0 repeats the bottom row, with the image's
    // top corners at its ends; the one below the last row repeats row 0,
    // with the bottom corners. Both, and the rows just outside each band,
    // are copied before any band starts writing.
    const std::vector<int> starts = rowBandStarts(h, threads);
    const int bandCount = int(starts.size()) - 1;
    std::vector<std::uint8_t> edges(framed * 2 * std::size_t(bandCount));
    for (int b = 0; b < bandCount; ++b) {
        std::uint8_t* above = edges.data() + framed * 2 * std::size_t(b);
        std::uint8_t* below = above + framed;
        if (starts[b] == 0)
            frameRow(above, bottomRow, topRow, topRow + last, w);
        else
            frameInteriorRow(above, bitmap, starts[b] - 1);
        if (starts[b + 1] == h)
            frameRow(below, topRow, bottomRow, bottomRow + last, w);
        else
            frameInteriorRow(below, bitmap, starts[b + 1]);
    }

    forEachRowBand(starts, [&](int band, int first, int end) {
        const std::uint8_t* savedAbove = edges.data() + framed * 2 * std::size_t(band);
        const std::uint8_t* savedBelow = savedAbove + framed;
        // Framed copies of this band's rows y-1, y, y+1 in a ring of
        // three, made before row y is overwritten.
        std::vector<std::uint8_t> ring(framed * 3);
        const auto slot = [&](int y) { return ring.data() + framed * std::size_t((y - first) % 3); };
        frameInteriorRow(slot(first), bitmap, first);
        for (int y = first; y < end; ++y) {
            const std::uint8_t* above = y == first ? savedAbove : slot(y - 1);
            const std::uint8_t* below = savedBelow;
            if (y + 1 < end) {
                frameInteriorRow(slot(y + 1), bitmap, y + 1);
                below = slot(y + 1);
            }
            convolution::convolveRow(plan, above, slot(y), below, bitmap.row(y), w * 3);
        }
    });
}

void EmbossImage(const Bitmap& source, Bitmap& work)
{
    const int w = source.width(), h = source.height();
    for (int v = 0; v < h; ++v) {
        const std::uint8_t* own = source.row(v);
        const std::uint8_t* down = source.row((v + 2) % h);
        std::uint8_t* out = work.row(v);
        for (int u = 0; u < w; ++u) {
            const std::size_t here = std::size_t(u) * 3;
            const std::size_t there = std::size_t((u + 2) % w) * 3;
            for (int c = 0; c < 3; ++c)
                out[here + c] = ClampByte(125 + down[there + c] - own[here + c]);
        }
    }
}

} // namespace px
