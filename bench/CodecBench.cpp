// Decoding the benchmark image in each of the codec library's formats, from
// files built in memory here (by the program's writers where it has one, by
// the small encoders below otherwise). Each decoder writes into a reused
// bitmap, as repeated loads into a work bitmap do. Photo-CD images have a
// fixed size (768 x 512): that benchmark reports its bytes per second on
// the same scale as the others, so its ratio to BM_Memcpy is per pixel.
#include "BenchImage.h"

#include "codecs/CodecAutodesk.h"
#include "codecs/CodecCut.h"
#include "codecs/CodecPcd.h"
#include "codecs/CodecPcx.h"
#include "codecs/CodecPpm.h"
#include "codecs/CodecPsd.h"
#include "codecs/CodecRla.h"
#include "codecs/CodecSgi.h"
#include "codecs/CodecTarga.h"
#include "fileio/PcxFile.h"
#include "fileio/TargaFile.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace px::bench {
namespace {

using Bytes = std::vector<std::uint8_t>;

void be16(Bytes& b, unsigned v)
{
    b.push_back(std::uint8_t(v >> 8));
    b.push_back(std::uint8_t(v));
}
void be32(Bytes& b, std::uint32_t v)
{
    be16(b, v >> 16);
    be16(b, v & 0xffff);
}
void le16(Bytes& b, unsigned v)
{
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

// Channel c (0 red, 1 green, 2 blue) of row y of the benchmark image.
Bytes channelRow(const Bitmap& src, int y, int c)
{
    Bytes row(std::size_t(src.width()));
    const std::uint8_t* p = src.row(y) + (2 - c);
    for (std::size_t x = 0; x < row.size(); ++x)
        row[x] = p[3 * x];
    return row;
}

// Splits `row` into runs of equal bytes (at least 3, at most `longest`) and
// literal stretches (at most `longest`), handing each to `emit`.
void runs(const Bytes& row, std::size_t longest,
          const std::function<void(bool, const std::uint8_t*, std::size_t)>& emit)
{
    std::size_t i = 0;
    while (i < row.size()) {
        std::size_t run = 1;
        while (i + run < row.size() && run < longest && row[i + run] == row[i])
            ++run;
        if (run >= 3) {
            emit(true, &row[i], run);
            i += run;
            continue;
        }
        std::size_t lit = 0;
        while (i + lit < row.size() && lit < longest) {
            if (i + lit + 2 < row.size() && row[i + lit] == row[i + lit + 1] && row[i + lit] == row[i + lit + 2])
                break;
            ++lit;
        }
        emit(false, &row[i], lit);
        i += lit;
    }
}

Bytes ppmFile(const Bitmap& src)
{
    const std::string header = "P6\n" + std::to_string(src.width()) + " " + std::to_string(src.height()) + "\n255\n";
    Bytes out(header.begin(), header.end());
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            const std::uint8_t* p = src.row(y) + 3 * x;
            out.insert(out.end(), {p[2], p[1], p[0]});
        }
    return out;
}

Bytes psdFile(const Bitmap& src, bool packBits)
{
    Bytes out = {'8', 'B', 'P', 'S'};
    be16(out, 1);
    out.resize(out.size() + 6);
    be16(out, 3);
    be32(out, std::uint32_t(src.height()));
    be32(out, std::uint32_t(src.width()));
    be16(out, 8);
    be16(out, 3);
    be32(out, 0);
    be32(out, 0);
    be32(out, 0);
    be16(out, packBits ? 1 : 0);
    if (!packBits) {
        for (int c = 0; c < 3; ++c)
            for (int y = 0; y < src.height(); ++y) {
                const Bytes row = channelRow(src, y, c);
                out.insert(out.end(), row.begin(), row.end());
            }
        return out;
    }
    std::vector<Bytes> encoded;
    for (int c = 0; c < 3; ++c)
        for (int y = 0; y < src.height(); ++y) {
            Bytes e;
            runs(channelRow(src, y, c), 128, [&](bool run, const std::uint8_t* p, std::size_t n) {
                e.push_back(run ? std::uint8_t(257 - n) : std::uint8_t(n - 1));
                e.insert(e.end(), p, run ? p + 1 : p + n);
            });
            encoded.push_back(e);
        }
    for (const Bytes& e : encoded)
        be16(out, unsigned(e.size()));
    for (const Bytes& e : encoded)
        out.insert(out.end(), e.begin(), e.end());
    return out;
}

Bytes sgiFile(const Bitmap& src, bool rle)
{
    const int w = src.width(), h = src.height();
    Bytes out;
    be16(out, 474);
    out.insert(out.end(), {std::uint8_t(rle ? 1 : 0), 1});
    be16(out, 3);
    be16(out, unsigned(w));
    be16(out, unsigned(h));
    be16(out, 3);
    out.resize(512);
    if (!rle) {
        for (int c = 0; c < 3; ++c)
            for (int y = h - 1; y >= 0; --y) {
                const Bytes row = channelRow(src, y, c);
                out.insert(out.end(), row.begin(), row.end());
            }
        return out;
    }
    std::vector<Bytes> encoded;
    for (int c = 0; c < 3; ++c)
        for (int y = h - 1; y >= 0; --y) {
            Bytes e;
            runs(channelRow(src, y, c), 127, [&](bool run, const std::uint8_t* p, std::size_t n) {
                e.push_back(std::uint8_t(run ? n : 0x80 | n));
                e.insert(e.end(), p, run ? p + 1 : p + n);
            });
            e.push_back(0);
            encoded.push_back(e);
        }
    std::uint32_t at = std::uint32_t(512 + encoded.size() * 8);
    for (const Bytes& e : encoded) {
        be32(out, at);
        at += std::uint32_t(e.size());
    }
    for (const Bytes& e : encoded)
        be32(out, std::uint32_t(e.size()));
    for (const Bytes& e : encoded)
        out.insert(out.end(), e.begin(), e.end());
    return out;
}

Bytes rlaFile(const Bitmap& src)
{
    const int w = src.width(), h = src.height();
    Bytes out;
    for (int v : {0, w - 1, 0, h - 1, 0, w - 1, 0, h - 1})
        be16(out, unsigned(v));
    be16(out, 0);
    be16(out, 0);
    be16(out, 3);
    out.resize(658);
    be16(out, 8);
    out.resize(740 + 4 * std::size_t(h));
    for (int line = 0; line < h; ++line) {
        const std::uint32_t at = std::uint32_t(out.size());
        for (int i = 0; i < 4; ++i)
            out[740 + 4 * std::size_t(line) + std::size_t(i)] = std::uint8_t(at >> (24 - 8 * i));
        for (int c = 0; c < 3; ++c) {
            Bytes e;
            runs(channelRow(src, h - 1 - line, c), 128, [&](bool run, const std::uint8_t* p, std::size_t n) {
                e.push_back(run ? std::uint8_t(n - 1) : std::uint8_t(256 - n));
                e.insert(e.end(), p, run ? p + 1 : p + n);
            });
            be16(out, unsigned(e.size()));
            out.insert(out.end(), e.begin(), e.end());
        }
    }
    return out;
}

// Indices: the green channel of the benchmark image.
Bytes cutFile(const Bitmap& src)
{
    Bytes out;
    le16(out, unsigned(src.width()));
    le16(out, unsigned(src.height()));
    le16(out, 0);
    for (int y = 0; y < src.height(); ++y) {
        Bytes e;
        runs(channelRow(src, y, 1), 127, [&](bool run, const std::uint8_t* p, std::size_t n) {
            e.push_back(std::uint8_t(run ? 0x80 | n : n));
            e.insert(e.end(), p, run ? p + 1 : p + n);
        });
        e.push_back(0);
        le16(out, unsigned(e.size()));
        out.insert(out.end(), e.begin(), e.end());
    }
    return out;
}

// An Animator Pro cel: one frame of byte runs over the green channel.
Bytes celFile(const Bitmap& src)
{
    Bytes brun;
    for (int y = 0; y < src.height(); ++y) {
        brun.push_back(0);
        runs(channelRow(src, y, 1), 127, [&](bool run, const std::uint8_t* p, std::size_t n) {
            brun.push_back(run ? std::uint8_t(n) : std::uint8_t(256 - n));
            brun.insert(brun.end(), p, run ? p + 1 : p + n);
        });
    }
    const auto le32 = [](Bytes& b, std::uint32_t v) {
        le16(b, v & 0xffff);
        le16(b, v >> 16);
    };
    Bytes out;
    le32(out, 0);
    le16(out, 0xaf12);
    le16(out, 1);
    le16(out, unsigned(src.width()));
    le16(out, unsigned(src.height()));
    le16(out, 8);
    out.resize(80);
    le32(out, 128);
    out.resize(128);
    le32(out, std::uint32_t(16 + 6 + brun.size()));
    le16(out, 0xf1fa);
    le16(out, 1);
    out.resize(out.size() + 8);
    le32(out, std::uint32_t(6 + brun.size()));
    le16(out, 15);
    out.insert(out.end(), brun.begin(), brun.end());
    return out;
}

Bytes targaRleFile(const Bitmap& src)
{
    Bytes out = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    le16(out, unsigned(src.width()));
    le16(out, unsigned(src.height()));
    out.insert(out.end(), {24, 0x20});
    for (int y = 0; y < src.height(); ++y) {
        const std::uint8_t* row = src.row(y);
        int x = 0;
        while (x < src.width()) {
            int run = 1;
            while (x + run < src.width() && run < 128 && std::memcmp(row + 3 * x, row + 3 * (x + run), 3) == 0)
                ++run;
            if (run >= 2) {
                out.push_back(std::uint8_t(0x80 | (run - 1)));
                out.insert(out.end(), row + 3 * x, row + 3 * x + 3);
                x += run;
                continue;
            }
            int lit = 1;
            while (x + lit < src.width() && lit < 128 &&
                   std::memcmp(row + 3 * (x + lit - 1), row + 3 * (x + lit), 3) != 0)
                ++lit;
            out.push_back(std::uint8_t(lit - 1));
            out.insert(out.end(), row + 3 * x, row + 3 * (x + lit));
            x += lit;
        }
    }
    return out;
}

// The base image of a Photo-CD pac: luma from the green channel, neutral
// chroma plus a slow ramp.
Bytes pcdFile()
{
    const Bitmap src = photoImage();
    Bytes out(96 * 2048 + 768 * 512 * 3 / 2 + 2048, 0);
    const char signature[] = "PCD_IPI";
    std::memcpy(out.data() + 0x800, signature, 7);
    std::uint8_t* p = out.data() + 96 * 2048;
    for (int y = 0; y < 512; y += 2, p += 768 * 3) {
        for (int x = 0; x < 768; ++x) {
            p[x] = src.row(y)[3 * x + 1];
            p[768 + x] = src.row(y + 1)[3 * x + 1];
        }
        for (int x = 0; x < 384; ++x) {
            p[1536 + x] = std::uint8_t(140 + x / 24);
            p[1920 + x] = std::uint8_t(120 + y / 32);
        }
    }
    return out;
}

void runDecoder(::benchmark::State& state, const Bytes& file, void (*decode)(std::span<const std::uint8_t>, Bitmap&))
{
    Bitmap target;
    decode(file, target);
    for (auto _ : state) {
        decode(file, target);
        ::benchmark::DoNotOptimize(target.bits());
    }
    setImageBytes(state);
}

void BM_PpmRawDecode(::benchmark::State& state)
{
    runDecoder(state, ppmFile(photoImage()), decodePpmInto);
}
BENCHMARK(BM_PpmRawDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_PsdRawDecode(::benchmark::State& state)
{
    runDecoder(state, psdFile(photoImage(), false), decodePsdInto);
}
BENCHMARK(BM_PsdRawDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_PsdPackBitsDecode(::benchmark::State& state)
{
    runDecoder(state, psdFile(photoImage(), true), decodePsdInto);
}
BENCHMARK(BM_PsdPackBitsDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_SgiVerbatimDecode(::benchmark::State& state)
{
    runDecoder(state, sgiFile(photoImage(), false), decodeSgiInto);
}
BENCHMARK(BM_SgiVerbatimDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_SgiRleDecode(::benchmark::State& state)
{
    runDecoder(state, sgiFile(photoImage(), true), decodeSgiInto);
}
BENCHMARK(BM_SgiRleDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_RlaDecode(::benchmark::State& state)
{
    runDecoder(state, rlaFile(photoImage()), decodeRlaInto);
}
BENCHMARK(BM_RlaDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void decodeCutGreyInto(std::span<const std::uint8_t> data, Bitmap& bmp)
{
    decodeCutInto(data, {}, bmp);
}

void BM_CutDecode(::benchmark::State& state)
{
    runDecoder(state, cutFile(photoImage()), decodeCutGreyInto);
}
BENCHMARK(BM_CutDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_AutodeskCelDecode(::benchmark::State& state)
{
    runDecoder(state, celFile(photoImage()), decodeAutodeskInto);
}
BENCHMARK(BM_AutodeskCelDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_CodecTargaRawDecode(::benchmark::State& state)
{
    Bytes file;
    encodeTarga(photoImage(), kTargaTrueColour, file);
    runDecoder(state, file, decodeCodecTargaInto);
}
BENCHMARK(BM_CodecTargaRawDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_CodecTargaRleDecode(::benchmark::State& state)
{
    runDecoder(state, targaRleFile(photoImage()), decodeCodecTargaInto);
}
BENCHMARK(BM_CodecTargaRleDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_CodecPcxDecode(::benchmark::State& state)
{
    runDecoder(state, encodePcx(photoImage()), decodeCodecPcxInto);
}
BENCHMARK(BM_CodecPcxDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

void BM_PcdBaseDecode(::benchmark::State& state)
{
    const Bytes file = pcdFile();
    Bitmap target;
    decodePcdInto(file, target);
    for (auto _ : state) {
        decodePcdInto(file, target);
        ::benchmark::DoNotOptimize(target.bits());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(target.byteSize()));
}
BENCHMARK(BM_PcdBaseDecode)->Unit(::benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace px::bench
