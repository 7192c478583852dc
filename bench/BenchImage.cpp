#include "BenchImage.h"

#include <cmath>
#include <cstring>

namespace px::bench {

Bitmap photoImage()
{
    static const Bitmap image = [] {
        Bitmap b(kWidth, kHeight, 24);
        std::uint32_t noise = 12345;
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* p = b.row(y);
            for (int x = 0; x < kWidth; ++x, p += 3) {
                noise = noise * 1103515245u + 12345u;
                const int n = int(noise >> 28) - 8;
                p[0] = ClampByte(int(128 + 100 * std::sin(x * 0.003) + n));
                p[1] = ClampByte(int(128 + 90 * std::cos(y * 0.004 + x * 0.001) + n));
                p[2] = ClampByte(int((x + y) * 255 / (kWidth + kHeight)) + n);
            }
        }
        return b;
    }();
    return image;
}

void setImageBytes(::benchmark::State& state)
{
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(Bitmap::strideFor(kWidth, 24)) * kHeight);
}

void runOnCopies(::benchmark::State& state, const std::function<void(Bitmap&)>& routine)
{
    const Bitmap source = photoImage();
    Bitmap b = source;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(b.bits(), source.bits(), source.byteSize());
        state.ResumeTiming();
        routine(b);
        ::benchmark::DoNotOptimize(b.bits());
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}

} // namespace px::bench
