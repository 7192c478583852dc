#include "effects/Blur.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace px {

void Flou4(Bitmap& bitmap, int x1, int y1, int x2, int y2)
{
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    bitmap.setPixelFormat(24);
    x1 = std::max(x1, 1);
    y1 = std::max(y1, 1);
    x2 = std::min(x2, bitmap.width() - 2);
    y2 = std::min(y2, bitmap.height() - 2);
    if (x1 > x2 || y1 > y2)
        return;
    for (int y = y1; y <= y2; ++y) {
        const std::uint8_t* up = bitmap.row(y - 1);
        const std::uint8_t* down = bitmap.row(y + 1);
        std::uint8_t* p = bitmap.row(y);
        // The three channels are independent chains; each reads the value
        // just written to its left.
        unsigned left0 = p[std::size_t(x1 - 1) * 3], left1 = p[std::size_t(x1 - 1) * 3 + 1],
                 left2 = p[std::size_t(x1 - 1) * 3 + 2];
        for (std::size_t i = std::size_t(x1) * 3, end = std::size_t(x2 + 1) * 3; i < end; i += 3) {
            left0 = (up[i] + down[i] + left0 + p[i + 3]) >> 2;
            left1 = (up[i + 1] + down[i + 1] + left1 + p[i + 4]) >> 2;
            left2 = (up[i + 2] + down[i + 2] + left2 + p[i + 5]) >> 2;
            p[i] = std::uint8_t(left0);
            p[i + 1] = std::uint8_t(left1);
            p[i + 2] = std::uint8_t(left2);
        }
    }
}

namespace {

// Sample index for position i at distance n in a line of `size`.
int lowerSample(int i, int n)
{
    return i - n < 0 ? i : i - n;
}
int upperSample(int i, int n, int size)
{
    return std::min(i + n < size ? i + n : size - i, size - 1);
}

// One row when neither sample row is the row being written: nothing read
// changes during the row, so the loop carries no dependency.
void hallucinationRowApart(const std::uint8_t* __restrict up, const std::uint8_t* __restrict down,
                           std::uint8_t* __restrict out, const int* left, const int* right, int width)
{
    for (int x = 0; x < width; ++x) {
        const std::size_t l = std::size_t(left[x]), r = std::size_t(right[x]), o = std::size_t(x) * 3;
        for (int c = 0; c < 3; ++c)
            out[o + c] = std::uint8_t((up[l + c] + down[l + c] + up[r + c] + down[r + c]) >> 2);
    }
}

// One row that samples itself: each read sees the writes made so far.
void hallucinationRowInPlace(const std::uint8_t* up, const std::uint8_t* down, std::uint8_t* out, const int* left,
                             const int* right, int width)
{
    for (int x = 0; x < width; ++x) {
        const std::size_t l = std::size_t(left[x]), r = std::size_t(right[x]), o = std::size_t(x) * 3;
        for (int c = 0; c < 3; ++c)
            out[o + c] = std::uint8_t((up[l + c] + down[l + c] + up[r + c] + down[r + c]) >> 2);
    }
}

} // namespace

void Hallucination(Bitmap& bitmap, int n)
{
    if (n <= 0 || bitmap.isEmpty())
        return;
    bitmap.setPixelFormat(24);
    const int w = bitmap.width(), h = bitmap.height();
    std::vector<int> left(static_cast<std::size_t>(w)), right(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x) {
        left[std::size_t(x)] = lowerSample(x, n) * 3;
        right[std::size_t(x)] = upperSample(x, n, w) * 3;
    }
    for (int y = 0; y < h; ++y) {
        const int up = lowerSample(y, n), down = upperSample(y, n, h);
        std::uint8_t* out = bitmap.row(y);
        if (up != y && down != y)
            hallucinationRowApart(bitmap.row(up), bitmap.row(down), out, left.data(), right.data(), w);
        else
            hallucinationRowInPlace(bitmap.row(up), bitmap.row(down), out, left.data(), right.data(), w);
    }
}

} // namespace px
