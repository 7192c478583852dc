// Textures, gradients, geometric transforms, borders and the bevel on the
// 4000 x 3000 image, as ratios to BM_Memcpy. Routines that write another
// bitmap reuse one target between iterations, as the effect frame reuses
// its work bitmap; routines that work in place start from a fresh copy
// restored outside the timed region.
#include "BenchImage.h"
#include "transforms/BandeDessinee.h"
#include "transforms/Borders.h"
#include "transforms/Gradients.h"
#include "transforms/Mirrors.h"
#include "transforms/Plasma.h"
#include "transforms/Resizing.h"
#include "transforms/Rotations.h"
#include "transforms/Textures.h"

#include <cstring>
#include <functional>

namespace px::bench {
namespace {

void toTarget(::benchmark::State& state, const std::function<void(const Bitmap&, Bitmap&)>& routine)
{
    const Bitmap source = photoImage();
    Bitmap target = source;
    routine(source, target); // the target's memory is in place before timing
    for (auto _ : state) {
        routine(source, target);
        ::benchmark::DoNotOptimize(target.bits());
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}

#define PX_TO_TARGET(NAME, ...)                                                                                        \
    void NAME(::benchmark::State& state)                                                                               \
    {                                                                                                                  \
        toTarget(state, [&](const Bitmap& s, Bitmap& t) { __VA_ARGS__; });                                             \
    }                                                                                                                  \
    BENCHMARK(NAME)->Unit(::benchmark::kMillisecond)->UseRealTime()

// Geometry.
PX_TO_TARGET(BM_RotateRight90, RotateRight90(s, t));
PX_TO_TARGET(BM_RotateLeft90, RotateLeft90(s, t));
PX_TO_TARGET(BM_Rotate180, Rotate180(s, t));
PX_TO_TARGET(BM_MirrorLeftRight, MirrorLeftRight(s, t));
PX_TO_TARGET(BM_MirrorTopBottom, MirrorTopBottom(s, t));
PX_TO_TARGET(BM_ResizeToHalf, ResizeImage(s, t, kWidth / 2, kHeight / 2));
PX_TO_TARGET(BM_RotateFree30, RotateFree(s, t, 30, kWhite));
// A steep turn: each target row crosses a source row at almost every pixel.
PX_TO_TARGET(BM_RotateFree75, RotateFree(s, t, 75, kWhite));
// Four times the image's pixels are written.
PX_TO_TARGET(BM_MirrorDoubleBoth, MirrorDouble(s, t, MirrorDoubling::Both));

// Textures.
PX_ON_COPY_BENCH(BM_Marbre1, Marbre(b, MarbleVariant::A, 102, 100));
PX_ON_COPY_BENCH(BM_Marbre2, Marbre(b, MarbleVariant::A, 100, 10));
PX_ON_COPY_BENCH(BM_Marbre3, Marbre(b, MarbleVariant::B, 100, 10));
PX_ON_COPY_BENCH(BM_Marbre4, Marbre(b, MarbleVariant::C, 100, 10));
PX_ON_COPY_BENCH(BM_Marbre5, Marbre(b, MarbleVariant::A, 100, 10, true));
PX_ON_COPY_BENCH(BM_Marbre6, Marbre(b, MarbleVariant::D, 100, 10));
PX_TO_TARGET(BM_Spray, RandomGenerator r(1); Spray(s, t, 5, r));
PX_TO_TARGET(BM_SprayPlus, RandomGenerator r(1); Spray(s, t, 10, r));
PX_ON_COPY_BENCH(BM_SprayDecompose, RandomGenerator r; r.setFixedSeed(1); SprayDecompose(b, 200, r));
PX_ON_COPY_BENCH(BM_Ovale, Ovale(b, kWhite));
PX_TO_TARGET(BM_Plasma, RandomGenerator r; r.setFixedSeed(1); Plasma(s, t, 500, r));
PX_ON_COPY_BENCH(BM_Mandel, Mandel(b, 50));
PX_ON_COPY_BENCH(BM_BandeDessinee, BandeDessinee(b, 20));

// Borders and bevel.
PX_ON_COPY_BENCH(BM_ButtonBevel, ButtonBevel(b, 5, 100));
PX_ON_COPY_BENCH(BM_ButtonBevelWide, ButtonBevel(b, 100, 250));
PX_ON_COPY_BENCH(BM_BordureDecomposee, BordureDecomposee(b, 10));
PX_ON_COPY_BENCH(BM_BordureDecomposeePlus, BordureDecomposee(b, 5));
PX_ON_COPY_BENCH(BM_BordureDecomposee2, BordureDecomposee(b, 2));

// Gradients, by style number.
void BM_Gradient(::benchmark::State& state)
{
    runOnCopies(state, [&](Bitmap& b) {
        renderGradient(b, GradientStyle(state.range(0)), makeColour(200, 30, 10), makeColour(10, 90, 250));
    });
}
BENCHMARK(BM_Gradient)->DenseRange(0, kGradientStyleCount - 1)->Unit(::benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace px::bench
