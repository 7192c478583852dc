#include "effects/ColourAdjustments.h"

#include "effects/Parallel.h"

namespace px {

namespace {

// Runs the pixels of each band with a generator positioned where the
// sequential loop would be at the band's first pixel, then leaves `random`
// where the sequential loop would have left it.
template <typename PixelRule>
void withDraws(Bitmap& bitmap, RandomGenerator& random, int drawsPerPixel, int threads, PixelRule rule)
{
    bitmap.setPixelFormat(24);
    const std::uint32_t start = random.state();
    const std::uint64_t perRow = std::uint64_t(bitmap.width()) * std::uint64_t(drawsPerPixel);
    forEachRowBand(bitmap.height(), threads, [&](int first, int end) {
        RandomGenerator lane(RandomGenerator::stateAfter(start, perRow * std::uint64_t(first)));
        for (int y = first; y < end; ++y) {
            std::uint8_t* p = bitmap.row(y);
            for (int x = 0; x < bitmap.width(); ++x, p += 3)
                rule(p, lane);
        }
    });
    random.skip(perRow * std::uint64_t(bitmap.height()));
}

} // namespace

void Bruit(Bitmap& bitmap, int amount, RandomGenerator& random, int threads)
{
    const int half = amount / 2;
    withDraws(bitmap, random, 1, threads, [&](std::uint8_t* p, RandomGenerator& lane) {
        const int r = lane.random(amount) - half;
        p[0] = ClampByte(p[0] + r);
        p[1] = ClampByte(p[1] + r);
        p[2] = ClampByte(p[2] + r);
    });
}

void BruitCouleur(Bitmap& bitmap, int amount, RandomGenerator& random, int threads)
{
    const int half = amount / 2;
    withDraws(bitmap, random, 3, threads, [&](std::uint8_t* p, RandomGenerator& lane) {
        p[0] = ClampByte(p[0] + lane.random(amount) - half);
        p[1] = ClampByte(p[1] + lane.random(amount) - half);
        p[2] = ClampByte(p[2] + lane.random(amount) - half);
    });
}

} // namespace px
