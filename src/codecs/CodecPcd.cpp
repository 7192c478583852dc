#include "codecs/CodecPcd.h"

#include "codecs/ByteReader.h"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace px {

namespace {

constexpr std::size_t kSector = 2048;
constexpr std::size_t kOrientation = 0x0e02;

struct Resolution {
    std::size_t sector;
    int width, height;
};

// Largest first.
constexpr Resolution kResolutions[] = {{96, 768, 512}, {23, 384, 256}, {4, 192, 128}};

// Photo YCC to RGB in 16.16 fixed point, one table per term.
struct YccTables {
    std::array<int, 256> luma, redFromC2, greenFromC1, greenFromC2, blueFromC1;
    YccTables()
    {
        constexpr double one = 65536.0;
        for (int i = 0; i < 256; ++i) {
            const double c1 = 2.2179 * (i - 156), c2 = 1.8215 * (i - 137);
            luma[std::size_t(i)] = int(std::lround(1.3584 * i * one + one / 2)); // rounding folded in
            redFromC2[std::size_t(i)] = int(std::lround(c2 * one));
            greenFromC1[std::size_t(i)] = int(std::lround(-0.194 * c1 * one));
            greenFromC2[std::size_t(i)] = int(std::lround(-0.509 * c2 * one));
            blueFromC1[std::size_t(i)] = int(std::lround(c1 * one));
        }
    }
};

const YccTables& tables()
{
    static const YccTables t;
    return t;
}

std::uint8_t clampFixed(int v)
{
    return v <= 0 ? 0 : v >= (255 << 16) ? 255 : std::uint8_t(v >> 16);
}

// One row of RGB from a luma row and the two half-width chroma rows, as
// blue, green, red into `dst`, each pixel `step` bytes after the previous
// (negative when the row is laid out backwards).
void convertRow(const std::uint8_t* y, const std::uint8_t* c1, const std::uint8_t* c2, std::uint8_t* dst,
                std::ptrdiff_t step, int width)
{
    const YccTables& t = tables();
    for (int x = 0; x < width; ++x, dst += step) {
        const int l = t.luma[y[x]];
        const unsigned a = c1[x >> 1], b = c2[x >> 1];
        dst[0] = clampFixed(l + t.blueFromC1[a]);
        dst[1] = clampFixed(l + t.greenFromC1[a] + t.greenFromC2[b]);
        dst[2] = clampFixed(l + t.redFromC2[b]);
    }
}

} // namespace

void decodePcdInto(std::span<const std::uint8_t> data, Bitmap& bmp)
{
    if (data.size() < kOrientation + 1 || std::memcmp(data.data() + kSector, "PCD_", 4) != 0)
        throw InvalidImageError("signature Photo-CD absente");
    const Resolution* chosen = nullptr;
    for (const Resolution& r : kResolutions) {
        const std::size_t start = r.sector * kSector, bytes = std::size_t(r.width) * std::size_t(r.height) * 3 / 2;
        if (data.size() >= start && data.size() - start >= bytes) {
            chosen = &r;
            break;
        }
    }
    if (!chosen)
        throw InvalidImageError("image Photo-CD tronquée");
    // 0: as stored; 1: stored a quarter turn clockwise; 2: upside down; 3:
    // a quarter turn anticlockwise.
    const unsigned turn = std::memcmp(data.data() + kSector, "PCD_IPI", 7) == 0 ? data[kOrientation] & 3 : 0;
    const int w = chosen->width, h = chosen->height;
    const bool sideways = turn == 1 || turn == 3;
    bmp.reallocate(sideways ? h : w, sideways ? w : h, 24);
    const std::ptrdiff_t stride = std::ptrdiff_t(bmp.stride());

    const std::uint8_t* pair = data.data() + chosen->sector * kSector;
    const std::size_t pairBytes = std::size_t(w) * 3;
    for (int y = 0; y < h; y += 2, pair += pairBytes) {
        const std::uint8_t* c1 = pair + 2 * std::size_t(w);
        const std::uint8_t* c2 = c1 + std::size_t(w) / 2;
        for (int k = 0; k < 2; ++k) {
            const int sy = y + k;
            const std::uint8_t* luma = pair + std::size_t(k) * std::size_t(w);
            // Where source pixel (0, sy) lands and how the next one follows.
            std::uint8_t* dst;
            std::ptrdiff_t step;
            switch (turn) {
            case 1: // turn anticlockwise: (x, sy) goes to column sy, row w-1-x
                dst = bmp.row(w - 1) + 3 * std::ptrdiff_t(sy);
                step = -stride;
                break;
            case 3: // turn clockwise: (x, sy) goes to column h-1-sy, row x
                dst = bmp.row(0) + 3 * std::ptrdiff_t(h - 1 - sy);
                step = stride;
                break;
            case 2:
                dst = bmp.row(h - 1 - sy) + 3 * std::ptrdiff_t(w - 1);
                step = -3;
                break;
            default:
                dst = bmp.row(sy);
                step = 3;
                break;
            }
            convertRow(luma, c1, c2, dst, step, w);
        }
    }
}

Bitmap decodePcd(std::span<const std::uint8_t> data)
{
    Bitmap bmp;
    decodePcdInto(data, bmp);
    return bmp;
}

} // namespace px
