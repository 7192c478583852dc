#include "transforms/BandeDessinee.h"

#include <cstdint>

namespace px {

namespace {

// The marking state that carries over rows and passes.
struct Marker {
    bool flag = false;
    std::uint8_t reference = 0;

    bool operator==(const Marker&) const = default;

    // Q differs between `here` (index q) and its neighbour (index n):
    // one of the two pixels turns black.
    void mark(std::uint8_t q, std::uint8_t n, std::uint8_t* here, std::uint8_t* neighbour)
    {
        std::uint8_t* black = here;
        if (!flag) {
            reference = n;
            flag = true;
        } else if (q == reference) {
            black = neighbour;
        }
        black[0] = black[1] = black[2] = 0;
    }
};

} // namespace

void BandeDessinee(Bitmap& bitmap, int passes)
{
    const int w = bitmap.width(), h = bitmap.height();
    Bitmap index = bitmap;
    index.setPixelFormat(8);
    Marker m;
    for (int pass = 1; pass <= passes; ++pass) {
        const Marker before = m;
        for (int y = 0; y + 1 < h; ++y) {
            const std::uint8_t* q = index.row(y);
            const std::uint8_t* below = index.row(y + 1);
            std::uint8_t* p = bitmap.row(y);
            std::uint8_t* pBelow = bitmap.row(y + 1);
            for (int x = 0; x + 2 < w; ++x) {
                if (q[x + 1] != q[x])
                    m.mark(q[x], q[x + 1], p + 3 * x, p + 3 * (x + 1));
                if (below[x] != q[x])
                    m.mark(q[x], below[x], p + 3 * x, pBelow + 3 * x);
            }
        }
        if (pass >= 2) {
            for (int y = h - 1; y >= 1; --y) {
                const std::uint8_t* q = index.row(y);
                const std::uint8_t* above = index.row(y - 1);
                std::uint8_t* p = bitmap.row(y);
                std::uint8_t* pAbove = bitmap.row(y - 1);
                for (int x = w - 1; x >= 2; --x) {
                    if (q[x - 1] != q[x])
                        m.mark(q[x], q[x - 1], p + 3 * x, p + 3 * (x - 1));
                    if (above[x] != q[x])
                        m.mark(q[x], above[x], p + 3 * x, pAbove + 3 * x);
                }
            }
            // The marks depend on Q (which never changes) and on the state
            // a pass starts with; a full pass that ends in the state it
            // started with would be repeated exactly by every later pass.
            if (m == before)
                break;
        }
    }
}

} // namespace px
