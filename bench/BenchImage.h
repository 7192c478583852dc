#pragma once
// The benchmark image: 4000 x 3000, 24 bits, filled with a smooth photo-like
// pattern so that routines with data-dependent paths see realistic input.
// Every result is read as a ratio to BM_Memcpy of the same image.
#include "graphics/Bitmap.h"

#include <benchmark/benchmark.h>

#include <functional>

namespace px::bench {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A fresh copy of the benchmark image (built once, copied per call).
Bitmap photoImage();

// Reports bytes processed as the size of one 4000 x 3000 24-bit image per
// iteration, so throughputs compare directly with the memcpy floor.
void setImageBytes(::benchmark::State& state);

// Times `routine` on a copy of the image, restored by memcpy outside the
// timed region before every run (for routines that change it in place).
void runOnCopies(::benchmark::State& state, const std::function<void(Bitmap&)>& routine);

} // namespace px::bench

// A benchmark NAME that runs the statement on `b`, a fresh copy of the image.
#define PX_ON_COPY_BENCH(NAME, ...)                                                                                    \
    void NAME(::benchmark::State& state)                                                                               \
    {                                                                                                                  \
        ::px::bench::runOnCopies(state, [&](::px::Bitmap& b) { __VA_ARGS__; });                                        \
    }                                                                                                                  \
    BENCHMARK(NAME)->Unit(::benchmark::kMillisecond)->UseRealTime()
