#include "effects/ColourAdjustments.h"

#include "effects/Parallel.h"

#include <vector>

namespace px {

namespace {

// out[i] := Random(amount) - half for the draws i = 0..n-1 that follow
// `state`, exactly as one generator drawing in sequence would give them.
// The run is cut into four stretches, each started at its own position in
// the sequence, so that four independent multiplications are in flight.
void drawOffsets(std::uint32_t state, int amount, int half, int* out, int n)
{
    const std::uint64_t range = amount <= 0 ? 0 : std::uint64_t(amount); // Random(n <= 0) = 0
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
        out[j] = int((range * s0) >> 32) - half;
        out[q + j] = int((range * s1) >> 32) - half;
        out[2 * q + j] = int((range * s2) >> 32) - half;
        out[3 * q + j] = int((range * s3) >> 32) - half;
    }
    for (int j = 4 * q; j < n; ++j) {
        s3 = s3 * m + 1u;
        out[j] = int((range * s3) >> 32) - half;
    }
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
        std::vector<int> offsets(static_cast<std::size_t>(perRow));
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
    withDraws(bitmap, amount, random, 1, threads, [w](std::uint8_t* p, const int* r) {
        for (int x = 0; x < w; ++x, p += 3) {
            p[0] = ClampByte(p[0] + r[x]);
            p[1] = ClampByte(p[1] + r[x]);
            p[2] = ClampByte(p[2] + r[x]);
        }
    });
}

void BruitCouleur(Bitmap& bitmap, int amount, RandomGenerator& random, int threads)
{
    // Three draws per pixel in the order B, G, R: the same order as the bytes.
    const int bytes = bitmap.width() * 3;
    withDraws(bitmap, amount, random, 3, threads, [bytes](std::uint8_t* p, const int* r) {
        for (int i = 0; i < bytes; ++i)
            p[i] = ClampByte(p[i] + r[i]);
    });
}

} // namespace px
