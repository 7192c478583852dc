#include "transforms/Borders.h"

#include "transforms/Resizing.h"

#include <algorithm>
#include <cstring>

namespace px {

void SimpleFrame(Canvas& canvas, bool solid, int thickness, Colour colour)
{
    canvas.setPenWidth(thickness);
    canvas.setBrushHollow(!solid);
    canvas.setPenColour(colour);
    canvas.rectangle(0, 0, canvas.bitmap().width(), canvas.bitmap().height());
}

void TwoColourFrame(Canvas& canvas, bool solid, int thickness, Colour first, Colour second, Colour penAfter)
{
    const int w = canvas.bitmap().width(), h = canvas.bitmap().height();
    canvas.setPenWidth(thickness);
    canvas.setBrushHollow(!solid);
    auto line = [&canvas](Colour c, int x1, int y1, int x2, int y2) {
        canvas.setPenColour(c);
        canvas.moveTo(x1, y1);
        canvas.lineTo(x2, y2);
    };
    line(first, 0, 0, w, 0);
    line(second, w, h, 0, h);
    line(first, 0, 0, 0, h);
    line(second, w, h, w, 0);
    canvas.setPenColour(penAfter);
}

void AddBorder(Bitmap& bitmap, int top, int bottom, int left, int right, Colour background)
{
    const std::int64_t w = std::int64_t(bitmap.width()) + left + right;
    const std::int64_t h = std::int64_t(bitmap.height()) + top + bottom;
    checkNewImageSize(w, h);
    Bitmap framed(int(w), int(h), 24);
    Canvas canvas(framed);
    canvas.setBrushHollow(false);
    canvas.setBrushColour(background);
    canvas.fillRect(0, 0, int(w), int(h));
    canvas.draw(left, top, bitmap);
    bitmap.swap(framed);
}

namespace {

// round(from + (to - from) * k / d) per channel, halves to even, exactly:
// (from * d + (to - from) * k) / d, whose quotient a multiplication by 1/d
// finds to within one and the remainder settles.
class Blend {
public:
    explicit Blend(int d) : d_(d), inverse_(1.0 / d) {}

    std::uint8_t operator()(int from, int to, int k) const
    {
        const int n = from * d_ + (to - from) * k; // 0 .. 255 * d
        int q = int(double(n) * inverse_);
        int r = n - q * d_;
        if (r < 0) {
            --q;
            r += d_;
        } else if (r >= d_) {
            ++q;
            r -= d_;
        }
        if (2 * r > d_ || (2 * r == d_ && (q & 1)))
            ++q;
        return std::uint8_t(q);
    }

private:
    int d_;
    double inverse_;
};

} // namespace

void BordureDecomposee(Bitmap& bitmap, int n)
{
    if (n < 2)
        return;
    const int w = bitmap.width(), h = bitmap.height();
    const int hb = h / n, wb = w / n;
    const std::size_t bytes = std::size_t(w) * 3;
    std::memmove(bitmap.row(0), bitmap.row(h - 1), bytes);
    const Blend rows(std::max(hb, 1)), columns(std::max(wb, 1));
    for (int y = 1; y < hb; ++y) {
        const std::uint8_t* top = bitmap.row(0);
        const std::uint8_t* mid = bitmap.row(hb);
        std::uint8_t* out = bitmap.row(y);
        for (std::size_t i = 0; i < bytes; ++i)
            out[i] = rows(top[i], mid[i], y);
    }
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = bitmap.row(y);
        std::uint8_t* last = p + std::size_t(w - 1) * 3;
        std::memmove(last, p, 3);
        const std::uint8_t* from = p + std::size_t(w - wb) * 3;
        for (int j = 1; j < wb; ++j) {
            std::uint8_t* out = p + std::size_t(w - 1 - j) * 3;
            for (int c = 0; c < 3; ++c)
                out[c] = columns(last[c], from[c], j);
        }
    }
}

namespace {

// Per-channel lookup of the lightening and darkening rules.
struct BevelTables {
    std::uint8_t lighter[256];
    std::uint8_t darker[256];
    explicit BevelTables(int amount)
    {
        for (int c = 0; c < 256; ++c) {
            lighter[c] = ClampByte(c + (255 - c) * amount / 255);
            darker[c] = ClampByte(c - c * amount / 255);
        }
    }
};

} // namespace

void ButtonBevel(Bitmap& bitmap, int size, int amount)
{
    if (size <= 0)
        return;
    const int w = bitmap.width(), h = bitmap.height();
    const int b = size + 1;
    const BevelTables t(amount);
    auto apply = [&](int x, int y, const std::uint8_t* table) {
        if (x < 0 || x >= w || y < 0 || y >= h)
            return;
        std::uint8_t* p = bitmap.row(y) + std::size_t(x) * 3;
        p[0] = table[p[0]];
        p[1] = table[p[1]];
        p[2] = table[p[2]];
    };
    // Beyond the image's height or width the bands have nothing left to
    // touch.
    const int bands = std::min(b, std::max(w, h));
    for (int k = 0; k < bands; ++k) {
        for (int x = std::max(k, 0); x <= std::min(w - 1 - k, w - 1); ++x) {
            apply(x, k, t.lighter);
            apply(x, h - 1 - k, t.darker);
        }
        for (int x = 0; x <= std::min(k, w - 1); ++x) {
            apply(x, k, t.lighter);
            apply(w - 1 - x, k, t.darker);
            apply(x, h - 1 - k, t.lighter);
            apply(w - 1 - x, h - 1 - k, t.darker);
        }
    }
    for (int y = std::max(b, 0); y <= h - 1 - b; ++y)
        for (int x = 0; x < std::min(b, w); ++x) {
            apply(x, y, t.lighter);
            apply(w - 1 - x, y, t.darker);
        }
}

} // namespace px
