// Canvas throughput on the 4000 x 3000 image, read against BM_Memcpy.
#include "BenchImage.h"
#include "graphics/Canvas.h"

namespace px::bench {
namespace {

// FillRect of the whole image: one row built, the others copied.
void BM_CanvasFill(::benchmark::State& state)
{
    Bitmap img = photoImage();
    Canvas c(img);
    c.setBrushColour(makeColour(12, 34, 56));
    for (auto _ : state) {
        c.fillRect(0, 0, kWidth, kHeight);
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}
BENCHMARK(BM_CanvasFill)->Unit(::benchmark::kMillisecond)->UseRealTime();

// A figure over the whole image, split row by row into outline and interior.
void BM_CanvasRectangleSolid(::benchmark::State& state)
{
    Bitmap img = photoImage();
    Canvas c(img);
    c.setBrushColour(makeColour(200, 10, 10));
    for (auto _ : state) {
        c.rectangle(0, 0, kWidth, kHeight);
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}
BENCHMARK(BM_CanvasRectangleSolid)->Unit(::benchmark::kMillisecond)->UseRealTime();

// The same in NOT-XOR, as a rubber band over a whole image would be.
void BM_CanvasEllipseNotXor(::benchmark::State& state)
{
    Bitmap img = photoImage();
    Canvas c(img);
    c.setBrushColour(makeColour(200, 10, 10));
    c.setPenMode(MixMode::NotXor);
    for (auto _ : state) {
        c.ellipse(0, 0, kWidth, kHeight);
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}
BENCHMARK(BM_CanvasEllipseNotXor)->Unit(::benchmark::kMillisecond)->UseRealTime();

// Surface fill of a uniform image: every pixel is visited, marked and painted.
void BM_CanvasFloodFill(::benchmark::State& state)
{
    Bitmap img(kWidth, kHeight, 24);
    Canvas c(img);
    Colour colours[2] = {makeColour(1, 2, 3), makeColour(4, 5, 6)};
    img.fill(colours[0]);
    int k = 0;
    for (auto _ : state) {
        c.setBrushColour(colours[1 - k]);
        c.floodFill(kWidth / 2, kHeight / 2, colours[k], FloodFillMode::Surface);
        k = 1 - k;
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}
BENCHMARK(BM_CanvasFloodFill)->Unit(::benchmark::kMillisecond)->UseRealTime();

// Mirrored both ways at the same size, from one image into another.
void BM_CanvasMirrorStretch(::benchmark::State& state)
{
    const Bitmap src = photoImage();
    Bitmap dst(kWidth, kHeight, 24);
    Canvas c(dst);
    for (auto _ : state) {
        c.stretchCopy({kWidth - 1, kHeight - 1, -1, -1}, src, {0, 0, kWidth, kHeight});
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}
BENCHMARK(BM_CanvasMirrorStretch)->Unit(::benchmark::kMillisecond)->UseRealTime();

// Plain copy at the same size: runs of consecutive sources become memcpy.
void BM_CanvasDraw(::benchmark::State& state)
{
    const Bitmap src = photoImage();
    Bitmap dst(kWidth, kHeight, 24);
    Canvas c(dst);
    for (auto _ : state) {
        c.draw(0, 0, src);
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}
BENCHMARK(BM_CanvasDraw)->Unit(::benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace px::bench
