// BMP encoding and decoding of the 24-bit benchmark image, in memory so that
// disk speed does not count.
#include "BenchImage.h"

#include "fileio/BmpFile.h"

namespace px::bench {
namespace {

void BM_BmpEncode(::benchmark::State& state)
{
    const Bitmap image = photoImage();
    std::vector<std::uint8_t> file;
    encodeBmp(image, file); // the buffer is reused, as a repeated save would
    for (auto _ : state) {
        encodeBmp(image, file);
        ::benchmark::DoNotOptimize(file.data());
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}
BENCHMARK(BM_BmpEncode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_BmpDecode(::benchmark::State& state)
{
    const std::vector<std::uint8_t> file = encodeBmp(photoImage());
    for (auto _ : state) {
        Bitmap decoded = decodeBmp(file);
        ::benchmark::DoNotOptimize(decoded.bits());
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}
BENCHMARK(BM_BmpDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace px::bench
