#include "fileio/BmpRle.h"

#include <algorithm>
#include <cstring>

namespace px {

namespace {

inline void setNibble(std::uint8_t* row, int x, int value)
{
    std::uint8_t& b = row[x >> 1];
    b = (x & 1) ? std::uint8_t((b & 0xF0) | (value & 0x0F)) : std::uint8_t((b & 0x0F) | ((value & 0x0F) << 4));
}

} // namespace

void decodeBmpRle(std::span<const std::uint8_t> s, Bitmap& bmp)
{
    const int w = bmp.width();
    const int h = bmp.height();
    const bool rle4 = bmp.bitsPerPixel() == 4;
    const std::size_t n = s.size();
    std::size_t pos = 0;
    int x = 0;
    int y = 0; // counted from the bottom row, as the stream runs
    while (y < h && n - pos >= 2) {
        const int count = s[pos];
        const int value = s[pos + 1];
        pos += 2;
        if (count > 0) {
            // Encoded run: `count` pixels of one index (RLE4: two alternating
            // indices, high nibble first). Pixels past the right edge are dropped.
            std::uint8_t* row = bmp.row(h - 1 - y);
            const int end = std::min(w, x + count);
            if (rle4) {
                const int first = value >> 4, second = value & 0x0F;
                for (int i = x; i < end; ++i)
                    setNibble(row, i, ((i - x) & 1) ? second : first);
            } else if (end > x) {
                std::memset(row + x, value, std::size_t(end - x));
            }
            x = end;
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            ++y;
            break;
        case 1: // end of bitmap
            return;
        case 2: // delta: move right and up, leaving the skipped pixels at 0
            if (n - pos < 2)
                return;
            x = std::min(w, x + s[pos]);
            y += s[pos + 1];
            pos += 2;
            break;
        default: {
            // Absolute run of `value` indices, padded to a 16-bit boundary.
            const int count = value;
            const std::size_t bytes = rle4 ? std::size_t(count + 1) / 2 : std::size_t(count);
            const std::size_t present = std::min(bytes, n - pos);
            const int pixels = rle4 ? std::min(count, int(present * 2)) : int(present);
            std::uint8_t* row = bmp.row(h - 1 - y);
            const int visible = std::max(0, std::min(pixels, w - x));
            if (rle4) {
                for (int i = 0; i < visible; ++i) {
                    const std::uint8_t b = s[pos + std::size_t(i >> 1)];
                    setNibble(row, x + i, (i & 1) ? (b & 0x0F) : (b >> 4));
                }
            } else if (visible > 0) {
                std::memcpy(row + x, s.data() + pos, std::size_t(visible));
            }
            if (present < bytes)
                return; // the stream ends inside the run
            x = std::min(w, x + count);
            pos = std::min(n, pos + ((bytes + 1) & ~std::size_t(1)));
            break;
        }
        }
    }
}

} // namespace px
