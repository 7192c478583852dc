// Filters and colour adjustments on the 4000 x 3000 image, as ratios to
// BM_Memcpy. Each iteration runs the routine on a fresh copy restored by
// memcpy outside the timed region.
#include "BenchImage.h"
#include "effects/Blur.h"
#include "effects/ColourAdjustments.h"
#include "effects/ColourCount.h"
#include "effects/Convolution.h"
#include "effects/SharedRoutines.h"

#include <cstring>
#include <functional>

namespace px::bench {
namespace {

// Point adjustments, one thread.
PX_ON_COPY_BENCH(BM_Luminosite, Luminosite(b, 100, 1));
PX_ON_COPY_BENCH(BM_Contraste, Contraste(b, 100, 1));
PX_ON_COPY_BENCH(BM_Eclipse, Eclipse(b, 100, 1));
PX_ON_COPY_BENCH(BM_Saturation, Saturation(b, 50, 1));
PX_ON_COPY_BENCH(BM_Negative, Negative(b, 1));
PX_ON_COPY_BENCH(BM_DeuxCouleurs, DeuxCouleurs(b, KeptChannel::Blue, 1));
PX_ON_COPY_BENCH(BM_AjusterRVB, AjusterRVB(b, 40, -30, 7, 1));

// Noise, bit rotation, curves, hue, grey.
PX_ON_COPY_BENCH(BM_Bruit, RandomGenerator r(1); Bruit(b, 100, r, 1));
PX_ON_COPY_BENCH(BM_BruitCouleur, RandomGenerator r(1); BruitCouleur(b, 100, r, 1));
PX_ON_COPY_BENCH(BM_BruitCouleur2Threads, RandomGenerator r(1); BruitCouleur(b, 100, r, 2));
PX_ON_COPY_BENCH(BM_Cycle, Cycle(b, 1));
PX_ON_COPY_BENCH(BM_Eclaircir, Eclaircir(b, 2, 1));
PX_ON_COPY_BENCH(BM_Teinte, Teinte(b, makeColour(200, 100, 50), 1));
PX_ON_COPY_BENCH(BM_Colorisation, Colorisation(b, makeColour(255, 128, 0), 1));
PX_ON_COPY_BENCH(BM_Grisatre, GrisatreImage(b));

// Blurs that read their own writes.
PX_ON_COPY_BENCH(BM_Flou4, Flou4(b, 0, 0, b.width(), b.height()));
PX_ON_COPY_BENCH(BM_Hallucination, Hallucination(b, 5));

// Convolution: 16-bit lanes with a reciprocal (Antialias 32 is a shift,
// Adoucir 6 a multiplication), 32-bit sums of tap pairs for large weights.
PX_ON_COPY_BENCH(BM_Convolve3x3_Antialias, Convolve3x3(b, {1, 2, 1, 2, 20, 2, 1, 2, 1}, 32, 1));
PX_ON_COPY_BENCH(BM_Convolve3x3_Adoucir, Convolve3x3(b, {0, 1, 0, 1, 2, 1, 0, 1, 0}, 6, 1));
PX_ON_COPY_BENCH(BM_Convolve3x3_Lithographie, Convolve3x3(b, {-5, -5, -5, -5, 42, -5, -5, -5, -5}, 2, 1));
PX_ON_COPY_BENCH(BM_Convolve3x3_LargeWeights, Convolve3x3(b, {-300, 200, 900, 1, 5000, -7, 3, 3, -999}, 777, 1));
// Weights beyond 16 bits and a divisor the float reciprocal cannot divide
// alone: the slowest arithmetic any kernel takes.
PX_ON_COPY_BENCH(BM_Convolve3x3_HugeWeights,
                 Convolve3x3(b, {-300000, 200, 900, 1, 5000000, -7, 3, 3, -99999}, 40000, 1));
PX_ON_COPY_BENCH(BM_Convolve3x3_Antialias2Threads, Convolve3x3(b, {1, 2, 1, 2, 20, 2, 1, 2, 1}, 32, 2));
PX_ON_COPY_BENCH(BM_Convolve3x3_LargeWeights2Threads,
                 Convolve3x3(b, {-300, 200, 900, 1, 5000, -7, 3, 3, -999}, 777, 2));

void BM_CountColours(::benchmark::State& state)
{
    const Bitmap source = photoImage();
    for (auto _ : state)
        ::benchmark::DoNotOptimize(countColours(source, int(state.range(0))));
    setImageBytes(state);
}
BENCHMARK(BM_CountColours)->Arg(1)->Arg(2)->Unit(::benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace px::bench
