// Deformations and strip, tile and shape effects on the 4000 x 3000 image,
// as ratios to BM_Memcpy. In-place routines run on a fresh copy restored by
// memcpy outside the timed region; the twirl and the lens write a result
// bitmap that exists before timing starts.
#include "BenchImage.h"
#include "transforms/Deformations.h"
#include "transforms/StripEffects.h"

#include <cstring>
#include <functional>

namespace px::bench {
namespace {

// At most 4 memcpy times.
PX_ON_COPY_BENCH(BM_Mosaique, Mosaique(b, 3));
PX_ON_COPY_BENCH(BM_Lamelle, Lamelle(b, 90));
PX_ON_COPY_BENCH(BM_Triangle, Triangle(b, 100));
PX_ON_COPY_BENCH(BM_Cryptee, Cryptee(b, 50));
PX_ON_COPY_BENCH(BM_RefletHorizontal, RefletHorizontal(b));
PX_ON_COPY_BENCH(BM_RefletVertical, RefletVertical(b));
PX_ON_COPY_BENCH(BM_Formes_Hexagone, Formes(b, 10, 100));
PX_ON_COPY_BENCH(BM_Formes_Rond, Formes(b, 12, 100));
PX_ON_COPY_BENCH(BM_Formes_TrapezeBas, Formes(b, 8, 100));
PX_ON_COPY_BENCH(BM_Rideau, Rideau(b, 15, 100));
PX_ON_COPY_BENCH(BM_Multiplieur, Multiplieur(b, 100));
PX_ON_COPY_BENCH(BM_MultiplieurChevauche, MultiplieurChevauche(b, 150));

// At most 8 memcpy times.
PX_ON_COPY_BENCH(BM_Mirage, Mirage(b, 4));
PX_ON_COPY_BENCH(BM_MiragePlus, Mirage(b, 2));
PX_ON_COPY_BENCH(BM_Decomposee, Decomposee(b, 100));
PX_ON_COPY_BENCH(BM_AgrandissementFlou, AgrandissementFlou(b));

// One arctangent, sine and cosine per pixel: at most 40 memcpy times on one
// thread.
void runResampling(::benchmark::State& state, const std::function<void(const Bitmap&, Bitmap&, int)>& routine)
{
    const Bitmap source = photoImage();
    Bitmap result = source;
    const int threads = int(state.range(0));
    for (auto _ : state) {
        routine(source, result, threads);
        ::benchmark::DoNotOptimize(result.bits());
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}

void BM_Tordre(::benchmark::State& state)
{
    runResampling(state, [](const Bitmap& s, Bitmap& r, int threads) { Tordre(s, r, 90, threads); });
}
BENCHMARK(BM_Tordre)->Arg(1)->Arg(2)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_Fisheye(::benchmark::State& state)
{
    runResampling(state, [](const Bitmap& s, Bitmap& r, int threads) { Fisheye(s, r, 1.0f, threads); });
}
BENCHMARK(BM_Fisheye)->Arg(1)->Arg(2)->Unit(::benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace px::bench
