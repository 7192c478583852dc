#pragma once
// The benchmark image: 4000 x 3000, 24 bits, filled with a smooth photo-like
// pattern so that routines with data-dependent paths see realistic input.
// Every result is read as a ratio to BM_Memcpy of the same image.
#include "graphics/Bitmap.h"

#include <benchmark/benchmark.h>

namespace px::bench {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A fresh copy of the benchmark image (built once, copied per call).
Bitmap photoImage();

// Reports bytes processed as the size of one 4000 x 3000 24-bit image per
// iteration, so throughputs compare directly with the memcpy floor.
void setImageBytes(::benchmark::State& state);

} // namespace px::bench
