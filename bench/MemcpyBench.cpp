// The floor every other benchmark is measured against: one memcpy of the
// 4000 x 3000 24-bit image between two buffers that already exist.
#include "BenchImage.h"

#include <cstring>

namespace px::bench {
namespace {

void BM_Memcpy(::benchmark::State& state)
{
    const Bitmap src = photoImage();
    Bitmap dst(kWidth, kHeight, 24);
    for (auto _ : state) {
        std::memcpy(dst.bits(), src.bits(), src.byteSize());
        ::benchmark::DoNotOptimize(dst.bits());
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}
BENCHMARK(BM_Memcpy)->Unit(::benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace px::bench
