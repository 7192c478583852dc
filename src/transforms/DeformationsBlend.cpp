// "Mirage" (seamless edges), "Agrandissement flou" (blurred one-pixel
// enlargement) and the two half-image mirrors, all in place on 24-bit rows.
#include "transforms/Deformations.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace px {

namespace {

// p * q / d rounded to the nearest integer, halves away from zero, for a
// band of d + 1 >= 2 pixels (0 <= p <= d < 2^16) and a channel difference
// |q| <= 255. floor((2 p |q| + d) / 2d) is evaluated as a multiplication by
// a rounded-up reciprocal: for numerators below 2^25 and 2^k <= m * 2d <=
// 2^k + 2^(k-25) the product shifted by k is the exact quotient.
class BandBlend {
public:
    explicit BandBlend(int d) : d_(d)
    {
        const std::uint64_t divisor = 2 * std::uint64_t(d);
        int bits = 0;
        while ((std::uint64_t(1) << bits) < divisor)
            ++bits;
        shift_ = 25 + bits;
        magic_ = ((std::uint64_t(1) << shift_) / divisor) + 1;
    }

    // The numerator's part that depends on p alone: 2 p m.
    std::uint64_t factor(int p) const { return 2 * std::uint64_t(p) * magic_; }

    // MulDiv(p, q, d) for the p of `factor`.
    int mulDiv(std::uint64_t factor, int q) const
    {
        const int size = std::abs(q);
        const int quotient = int((std::uint64_t(size) * factor + std::uint64_t(d_) * magic_) >> shift_);
        return q < 0 ? -quotient : quotient;
    }

private:
    int d_;
    int shift_;
    std::uint64_t magic_;
};

// Right band := B + MulDiv(x, M - B, bw - 1), M the left band mirrored.
void blendColumns(Bitmap& b, int bw)
{
    const int W = b.width();
    const BandBlend blend(bw - 1);
    std::vector<std::uint64_t> factors(std::size_t(bw) * 3);
    for (int x = 0; x < bw; ++x)
        for (int c = 0; c < 3; ++c)
            factors[std::size_t(x) * 3 + c] = blend.factor(x);
    // The bands overlap when bw > W / 2: each row is blended into a buffer
    // from the unchanged row first.
    std::vector<std::uint8_t> band(std::size_t(bw) * 3);
    for (int y = 0; y < b.height(); ++y) {
        std::uint8_t* row = b.row(y);
        const std::uint8_t* right = row + std::size_t(W - bw) * 3;
        for (int x = 0; x < bw; ++x) {
            const std::uint8_t* mirrored = row + std::size_t(bw - 1 - x) * 3;
            for (int c = 0; c < 3; ++c) {
                const std::size_t i = std::size_t(x) * 3 + c;
                band[i] = std::uint8_t(right[i] + blend.mulDiv(factors[i], mirrored[c] - right[i]));
            }
        }
        std::memcpy(row + std::size_t(W - bw) * 3, band.data(), band.size());
    }
}

// Bottom band := B + MulDiv(y, M - B, bh - 1), M the top band mirrored,
// computed from the rows as the column pass left them.
void blendRows(Bitmap& b, int bh)
{
    const int W = b.width(), H = b.height();
    const BandBlend blend(bh - 1);
    // Rows of the top band that the bottom band overwrites before they are
    // read (only when the bands overlap) are read from a copy.
    const int overlapFrom = H - bh;
    Bitmap top;
    if (overlapFrom < bh) {
        top = Bitmap(W, bh, 24);
        for (int y = 0; y < bh; ++y)
            std::memcpy(top.row(y), b.row(y), std::size_t(W) * 3);
    }
    // One row's weight is the same for every channel difference -255..255.
    int table[511];
    for (int y = 0; y < bh; ++y) {
        const std::uint64_t factor = blend.factor(y);
        for (int q = -255; q <= 255; ++q)
            table[q + 255] = blend.mulDiv(factor, q);
        const std::uint8_t* mirrored = top.isEmpty() ? b.row(bh - 1 - y) : top.row(bh - 1 - y);
        std::uint8_t* out = b.row(H - bh + y);
        for (std::size_t i = 0, n = std::size_t(W) * 3; i < n; ++i)
            out[i] = std::uint8_t(out[i] + table[mirrored[i] - out[i] + 255]);
    }
}

} // namespace

void Mirage(Bitmap& bitmap, int n)
{
    if (n <= 0 || bitmap.isEmpty())
        return;
    bitmap.setPixelFormat(24);
    const int bw = bitmap.width() / n, bh = bitmap.height() / n;
    if (bw >= 2)
        blendColumns(bitmap, bw);
    if (bh >= 2)
        blendRows(bitmap, bh);
}

void AgrandissementFlou(Bitmap& bitmap)
{
    if (bitmap.isEmpty())
        return;
    bitmap.setPixelFormat(24);
    const int W = bitmap.width(), H = bitmap.height();
    const std::int64_t xstep = (std::int64_t(W - 1) * 32768) / W;
    const std::int64_t ystep = (std::int64_t(H - 1) * 32768) / H;
    // Per column: the byte offsets of the two source columns (the second
    // repeats the last column of a one-pixel-wide image) and the fraction.
    std::vector<int> left(static_cast<std::size_t>(W)), right(static_cast<std::size_t>(W)), fraction(static_cast<std::size_t>(W));
    std::int64_t xa = 0;
    for (int x = 0; x < W; ++x, xa += xstep) {
        const int sx = int(xa >> 15);
        left[std::size_t(x)] = sx * 3;
        right[std::size_t(x)] = std::min(sx + 1, W - 1) * 3;
        fraction[std::size_t(x)] = int(xa & 32767);
    }
    std::int64_t ya = 0;
    for (int y = 0; y < H; ++y, ya += ystep) {
        const int sy = int(ya >> 15), fy = int(ya & 32767);
        // Both source rows may be this very row (row 0, or row1 = y): the
        // reads then see the pixels already written to their left.
        const std::uint8_t* row0 = bitmap.row(sy);
        const std::uint8_t* row1 = bitmap.row(sy < H - 1 ? sy + 1 : sy);
        std::uint8_t* out = bitmap.row(y);
        for (int x = 0; x < W; ++x) {
            const int fx = fraction[std::size_t(x)];
            const int w11 = (fx * fy) >> 15;
            const int w10 = (fx * (32768 - fy)) >> 15;
            const int w00 = (32768 - fy) - w10;
            const int w01 = fy - w11;
            const std::size_t l = std::size_t(left[std::size_t(x)]), r = std::size_t(right[std::size_t(x)]);
            std::uint8_t* o = out + std::size_t(x) * 3;
            for (int c = 0; c < 3; ++c)
                o[c] = std::uint8_t((row0[l + c] * w00 + row0[r + c] * w10 + row1[l + c] * w01 + row1[r + c] * w11) >>
                                    15);
        }
    }
}

void RefletHorizontal(Bitmap& bitmap)
{
    bitmap.setPixelFormat(24);
    const int H = bitmap.height();
    const std::size_t bytes = std::size_t(bitmap.width()) * 3;
    for (int y = 0; y <= H / 2; ++y)
        if (H - 1 - y != y)
            std::memmove(bitmap.row(H - 1 - y), bitmap.row(y), bytes);
}

void RefletVertical(Bitmap& bitmap)
{
    bitmap.setPixelFormat(24);
    const int W = bitmap.width();
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* row = bitmap.row(y);
        for (int x = 0; x <= W / 2 && x < W; ++x) {
            std::uint8_t* to = row + std::size_t(W - 1 - x) * 3;
            const std::uint8_t* from = row + std::size_t(x) * 3;
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
}

} // namespace px
