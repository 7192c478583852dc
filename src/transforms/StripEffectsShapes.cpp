// The effects that draw stretched copies through the canvas: the tiled
// "Multiplieur" pair, the "F&ormes" shapes and "&Rideau".
#include "transforms/StripEffects.h"

#include "graphics/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace px {

namespace {

// The whole image stretched into an s x s tile, then the tile's top-left
// period x period pixels repeated every `period` pixels from (0,0). Placing
// full tiles every `period` pixels in scan-line order, each covering the
// earlier ones, leaves exactly this: the last tile to cover a pixel is the
// one whose corner is the nearest multiple of `period` above and left of it.
void repeatTile(Bitmap& b, int s, int period)
{
    Bitmap tile(s, s, 24);
    Canvas(tile).stretchCopy(Rect{0, 0, s, s}, b, Rect{0, 0, b.width(), b.height()});
    const int W = b.width();
    for (int y = 0; y < b.height(); ++y) {
        const std::uint8_t* from = tile.row(y % period);
        std::uint8_t* row = b.row(y);
        for (int x = 0; x < W; x += period)
            std::memcpy(row + std::size_t(x) * 3, from, std::size_t(std::min(period, W - x)) * 3);
    }
}

int tileSize(const Bitmap& b, int a)
{
    return std::max(0, std::min(std::min(b.width() / 2, a), b.height() / 2));
}

// Rows that draw the same span are drawn together, at most this many, each
// from its own row of the buffer: the same pixels as one row at a time, with
// the column mapping worked out once per band.
constexpr int kBandRows = 32;

// The destination span of each row, columns [left, right).
struct Span {
    int left;
    int right;
    bool operator==(const Span&) const = default;
};

// Walks the rows in bands of equal spans, skipping the rows for which
// `skip` holds, and calls draw(first row, row count, span).
template <class Skip, class Draw> void forEachBand(const std::vector<Span>& spans, Skip skip, Draw draw)
{
    const int H = int(spans.size());
    for (int y = 0; y < H;) {
        const Span span = spans[std::size_t(y)];
        int n = 1;
        while (y + n < H && n < kBandRows && spans[std::size_t(y + n)] == span)
            ++n;
        if (!skip(span))
            draw(y, n, span);
        y += n;
    }
}

} // namespace

void Multiplieur(Bitmap& bitmap, int a)
{
    bitmap.setPixelFormat(24);
    const int s = tileSize(bitmap, a);
    if (s > 0)
        repeatTile(bitmap, s, s);
}

void MultiplieurChevauche(Bitmap& bitmap, int a)
{
    bitmap.setPixelFormat(24);
    const int s = tileSize(bitmap, a);
    const int step = int(std::nearbyint(2.0 * s / 3.0));
    if (s > 0 && step > 0)
        repeatTile(bitmap, s, step);
}

void Formes(Bitmap& bitmap, int shape, int amount)
{
    if (shape != 8 && shape != 9 && shape != 10 && shape != 12 && shape != 13)
        return;
    bitmap.setPixelFormat(24);
    const int W = bitmap.width(), H = bitmap.height();
    // An image one pixel high has no curve to follow (the curves divide by
    // H - 1); the trapezes would draw its row onto itself.
    if (H < 2)
        return;
    const int off = std::max(0, std::min(amount, W / 2)), half = W / 2;
    const double pi = std::numbers::pi;
    std::vector<Span> spans(static_cast<std::size_t>(H));
    for (int y = 0; y < H; ++y) {
        const double down = double(y) / double(H - 1);
        int t = 0;
        switch (shape) {
        case 8:
            t = int(std::nearbyint(double(H - 1 - y) / double(H) * off));
            break;
        case 9:
            t = int(std::nearbyint(double(y) / double(H) * off));
            break;
        case 10:
            t = int(std::nearbyint(std::fabs(std::cos(down * pi)) * off));
            break;
        case 12:
            t = int(std::nearbyint(std::fabs(std::sin(down * pi)) * off));
            break;
        default:
            t = int(std::nearbyint(std::fabs(std::sin(down * (2.0 * pi))) * off));
            break;
        }
        spans[std::size_t(y)] = shape <= 10 ? Span{t, W - t} : Span{half - t, half + t};
    }
    Bitmap buffer(W, std::min(H, kBandRows), 24);
    Canvas canvas(bitmap);
    const std::size_t rowBytes = std::size_t(W) * 3;
    forEachBand(
        spans,
        // A full-width span draws the row onto itself; an empty one draws nothing.
        [W](Span s) { return s.right <= s.left || (s.left == 0 && s.right == W); },
        [&](int first, int n, Span s) {
            for (int i = 0; i < n; ++i)
                std::memcpy(buffer.row(i), bitmap.row(first + i), rowBytes);
            canvas.stretchCopy(Rect{s.left, first, s.right, first + n}, buffer, Rect{0, 0, W, n});
        });
}

void Rideau(Bitmap& bitmap, int shape, int amount)
{
    if ((shape != 14 && shape != 15) || amount == 0)
        return;
    bitmap.setPixelFormat(24);
    const int W = bitmap.width(), H = bitmap.height();
    const int half = W / 2;
    amount = std::min(amount, half);
    // The curve divides by H - 1: an image one pixel high stays as it is.
    if (amount <= 0 || H < 2)
        return;
    const double pi = std::numbers::pi;
    std::vector<Span> spans(static_cast<std::size_t>(H));
    for (int y = 0; y < H; ++y) {
        const double angle = double(y) / double(H - 1) * pi;
        const double curve = shape == 15 ? std::cos(angle) : std::sin(angle);
        const int t = int(std::nearbyint(std::fabs(curve) * amount));
        spans[std::size_t(y)] = Span{0, t};
    }
    const int bandRows = std::min(H, kBandRows);
    Bitmap left(half, bandRows, 24), right(half, bandRows, 24);
    Canvas canvas(bitmap);
    const std::size_t halfBytes = std::size_t(half) * 3;
    forEachBand(
        spans, [](Span s) { return s.right == 0; },
        [&](int first, int n, Span s) {
            const int t = s.right;
            for (int i = 0; i < n; ++i) {
                const std::uint8_t* row = bitmap.row(first + i);
                std::memcpy(left.row(i), row, halfBytes);
                std::memcpy(right.row(i), row + halfBytes, halfBytes);
            }
            canvas.stretchCopy(Rect{0, first, t, first + n}, left, Rect{0, 0, half, n});
            canvas.stretchCopy(Rect{W - 1 - t, first, W - 1, first + n}, right, Rect{0, 0, half, n});
        });
}

} // namespace px
