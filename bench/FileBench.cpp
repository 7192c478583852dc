// Encoding and decoding the benchmark image in each writable format, in
// memory (the file layer adds only the write of the finished bytes). Each
// encoder writes into a buffer reused across iterations and each decoder
// into a reused bitmap, as repeated saves and loads into a work bitmap do,
// so that page faults of fresh allocations do not hide the codec's own time.
#include "BenchImage.h"

#include "codecs/CodecTiff.h"
#include "fileio/JpegFile.h"
#include "fileio/PngFile.h"
#include "fileio/TargaFile.h"
#include "fileio/TiffWriter.h"

#include <vector>

namespace px::bench {
namespace {

void BM_PngEncode(::benchmark::State& state)
{
    const Bitmap src = photoImage();
    std::vector<std::uint8_t> out;
    encodePng(src, out);
    for (auto _ : state) {
        encodePng(src, out);
        ::benchmark::DoNotOptimize(out.data());
    }
    state.counters["ratio"] = double(out.size()) / double(src.byteSize());
    setImageBytes(state);
}
BENCHMARK(BM_PngEncode)->Unit(::benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_PngDecode(::benchmark::State& state)
{
    const std::vector<std::uint8_t> file = encodePng(photoImage());
    Bitmap target = decodePng(file);
    for (auto _ : state) {
        decodePngInto(file, target);
        ::benchmark::DoNotOptimize(target.bits());
    }
    setImageBytes(state);
}
BENCHMARK(BM_PngDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_JpegEncodeQ90(::benchmark::State& state)
{
    const Bitmap src = photoImage();
    std::vector<std::uint8_t> out;
    encodeJpeg(src, JpegOptions{90, false}, out);
    for (auto _ : state) {
        encodeJpeg(src, JpegOptions{90, false}, out);
        ::benchmark::DoNotOptimize(out.data());
    }
    setImageBytes(state);
}
BENCHMARK(BM_JpegEncodeQ90)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_JpegDecodeQ90(::benchmark::State& state)
{
    const std::vector<std::uint8_t> file = encodeJpeg(photoImage(), JpegOptions{90, false});
    Bitmap target = decodeJpeg(file);
    for (auto _ : state) {
        decodeJpegInto(file, target);
        ::benchmark::DoNotOptimize(target.bits());
    }
    setImageBytes(state);
}
BENCHMARK(BM_JpegDecodeQ90)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_TargaEncode(::benchmark::State& state)
{
    const Bitmap src = photoImage();
    std::vector<std::uint8_t> out;
    encodeTarga(src, kTargaTrueColour, out); // the buffer is reused, as a saver would
    for (auto _ : state) {
        encodeTarga(src, kTargaTrueColour, out);
        ::benchmark::DoNotOptimize(out.data());
    }
    setImageBytes(state);
}
BENCHMARK(BM_TargaEncode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_TargaDecode(::benchmark::State& state)
{
    std::vector<std::uint8_t> file;
    encodeTarga(photoImage(), kTargaTrueColour, file);
    Bitmap target = decodeTarga(file);
    for (auto _ : state) {
        decodeTargaInto(file, target);
        ::benchmark::DoNotOptimize(target.bits());
    }
    setImageBytes(state);
}
BENCHMARK(BM_TargaDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_TiffEncode(::benchmark::State& state)
{
    const Bitmap src = photoImage();
    std::vector<std::uint8_t> out;
    encodeTiff(src, out);
    for (auto _ : state) {
        encodeTiff(src, out);
        ::benchmark::DoNotOptimize(out.data());
    }
    setImageBytes(state);
}
BENCHMARK(BM_TiffEncode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_TiffDecode(::benchmark::State& state)
{
    std::vector<std::uint8_t> file;
    encodeTiff(photoImage(), file);
    Bitmap target = decodeTiff(file);
    for (auto _ : state) {
        decodeTiffInto(file, target);
        ::benchmark::DoNotOptimize(target.bits());
    }
    setImageBytes(state);
}
BENCHMARK(BM_TiffDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace px::bench
