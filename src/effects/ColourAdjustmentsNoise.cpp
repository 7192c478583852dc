#include "effects/ColourAdjustments.h"

#include "effects/ColourAdjustmentsSimd.h"
#include "effects/Parallel.h"

#include <vector>

namespace px {

namespace {

// out[i] := Random(amount) - half for the draws i = 0..n-1 that follow
// `state`, exactly as one generator drawing in sequence would give them.
// The run is cut into four stretches, each started at its own position in
// the sequence, so that four independent multiplications are in flight.
// Offsets are kept within -256..256: beyond that every channel clamps the
// same way, and the sum with a byte fits 16 bits.
std::int16_t offset(std::uint64_t range, std::uint32_t state, int half)
{
    const std::int64_t r = std::int64_t((range * state) >> 32) - half;
    return std::int16_t(r < -256 ? -256 : r > 256 ? 256 : r);
}

void drawOffsets(std::uint32_t state, int amount, int half, std::int16_t* out, int n)
{
    const std::uint64_t range = amount <= 0 ? 0 : std::uint64_t(amount); // Random(n <= 0) = 0
    const int wide = colour_simd::drawOffsets(state, std::uint32_t(range), half, out, n);
    if (wide > 0) {
        state = RandomGenerator::stateAfter(state, std::uint64_t(wide));
        out += wide;
        n -= wide;
    }
    const int q = n / 4;
    std::uint32_t s0 = state, s1 = RandomGenerator::stateAfter(state, std::uint64_t(q)),
                  s2 = RandomGenerator::stateAfter(state, 2 * std::uint64_t(q)),
                  s3 = RandomGenerator::stateAfter(state, 3 * std::uint64_t(q));
    constexpr std::uint32_t m = RandomGenerator::kMultiplier;
    for (int j = 0; j < q; ++j) {
        s0 = s0 * m + 1u;
        s1 = s1 * m + 1u;
        s2 = s2 * m + 1u;
        s3 = s3 * m + 1u;
        out[j] = offset(range, s0, half);
        out[q + j] = offset(range, s1, half);
        out[2 * q + j] = offset(range, s2, half);
        out[3 * q + j] = offset(range, s3, half);
    }
    for (int j = 4 * q; j < n; ++j) {
        s3 = s3 * m + 1u;
        out[j] = offset(range, s3, half);
    }
}

void addOffsets(std::uint8_t* p, const std::int16_t* r, std::size_t count)
{
    for (std::size_t i = colour_simd::addOffsets(p, r, count); i < count; ++i)
        p[i] = ClampByte(p[i] + r[i]);
}

// Runs each row with its offsets drawn where the sequential loop (rows top
// to bottom, pixels left to right) would draw them, then leaves `random`
// where that loop would have left it.
template <typename RowRule>
void withDraws(Bitmap& bitmap, int amount, RandomGenerator& random, int drawsPerPixel, int threads, RowRule rule)
{
    bitmap.setPixelFormat(24);
    const std::uint32_t start = random.state();
    const int perRow = bitmap.width() * drawsPerPixel;
    forEachRowBand(bitmap.height(), threads, [&](int first, int end) {
        std::vector<std::int16_t> offsets(static_cast<std::size_t>(bitmap.width()) * 3); // room for Bruit to spread
        for (int y = first; y < end; ++y) {
            drawOffsets(RandomGenerator::stateAfter(start, std::uint64_t(perRow) * std::uint64_t(y)), amount,
                        amount / 2, offsets.data(), perRow);
            rule(bitmap.row(y), offsets.data());
        }
    });
    random.skip(std::uint64_t(perRow) * std::uint64_t(bitmap.height()));
}

} // namespace

void Bruit(Bitmap& bitmap, int amount, RandomGenerator& random, int threads)
{
    const int w = bitmap.width();
    withDraws(bitmap, amount, random, 1, threads, [w](std::uint8_t* p, std::int16_t* r) {
        // One draw per pixel, spread over its three bytes; backwards, so
        // that no draw is overwritten before it is read.
        for (int x = w - 1; x >= 0; --x)
            r[3 * x] = r[3 * x + 1] = r[3 * x + 2] = r[x];
        addOffsets(p, r, std::size_t(w) * 3);
    });
}

void BruitCouleur(Bitmap& bitmap, int amount, RandomGenerator& random, int threads)
{
    // Three draws per pixel in the order B, G, R: the same order as the bytes.
    const int bytes = bitmap.width() * 3;
    withDraws(bitmap, amount, random, 3, threads,
              [bytes](std::uint8_t* p, std::int16_t* r) { addOffsets(p, r, std::size_t(bytes)); });
}

} // namespace px
