// The benchmark program's entry. PIXORAN3_BENCH_THREADS=1 runs every effect
// that shares its rows between threads on one thread, for the single-thread
// ratios; unset, effects use the cores as in the program.
#include "effects/Parallel.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    const char* threads = std::getenv("PIXORAN3_BENCH_THREADS");
    const px::ScopedEffectThreads limit(threads ? std::atoi(threads) : 0);
    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
