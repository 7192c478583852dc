#include "effects/ColourAdjustments.h"

#include "effects/ColourAdjustmentsSimd.h"
#include "effects/Parallel.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace px {

namespace {

std::uint8_t clampWide(std::int64_t v)
{
    return v < 0 ? 0 : v > 255 ? 255 : std::uint8_t(v);
}

// Runs body(bytes, count) over the stored rows of each band at once: rules
// that treat every byte alike may run over the row padding too.
template <typename Body> void forEachByteBand(Bitmap& bitmap, int threads, Body body)
{
    bitmap.setPixelFormat(24);
    forEachRowBand(bitmap.height(), threads,
                   [&](int first, int end) { body(bitmap.row(first), bitmap.stride() * std::size_t(end - first)); });
}

template <typename Body> void forEachRow(Bitmap& bitmap, int threads, Body body)
{
    bitmap.setPixelFormat(24);
    forEachRowBand(bitmap.height(), threads, [&](int first, int end) {
        for (int y = first; y < end; ++y)
            body(bitmap.row(y));
    });
}

void applyPointRule(Bitmap& bitmap, colour_simd::PointRule rule, int amount, const ByteTable& table, int threads)
{
    forEachByteBand(bitmap, threads, [&](std::uint8_t* bytes, std::size_t count) {
        for (std::size_t i = colour_simd::pointRule(rule, amount, bytes, count); i < count; ++i)
            bytes[i] = table[bytes[i]];
    });
}

} // namespace

ByteTable luminositeTable(int amount)
{
    ByteTable t;
    for (int k = 0; k < 256; ++k)
        t[std::size_t(k)] = clampWide(k + std::int64_t(255 - k) * amount / 255);
    return t;
}

ByteTable contrasteTable(int amount)
{
    ByteTable t;
    for (int k = 0; k < 256; ++k) {
        const std::int64_t d = std::int64_t(std::abs(k - 127)) * amount / 255;
        t[std::size_t(k)] = k < 128 ? clampWide(k - d) : clampWide(k + d);
    }
    return t;
}

ByteTable eclipseTable(int amount)
{
    ByteTable t;
    for (int k = 0; k < 256; ++k)
        t[std::size_t(k)] = clampWide(k - std::int64_t(k) * amount / 255);
    return t;
}

ByteTable eclaircirTable(int passes)
{
    ByteTable once, t;
    for (int k = 0; k < 256; ++k) {
        once[std::size_t(k)] =
            clampWide(std::int64_t(std::nearbyint(std::sin(k / 255.0 * std::numbers::pi / 2) * 255)));
        t[std::size_t(k)] = std::uint8_t(k);
    }
    // n passes of one table are one table applied n times to each value.
    for (int p = 0; p < passes; ++p)
        for (auto& v : t)
            v = once[v];
    return t;
}

void Luminosite(Bitmap& bitmap, int amount, int threads)
{
    applyPointRule(bitmap, colour_simd::PointRule::Luminosite, amount, luminositeTable(amount), threads);
}

void Contraste(Bitmap& bitmap, int amount, int threads)
{
    applyPointRule(bitmap, colour_simd::PointRule::Contraste, amount, contrasteTable(amount), threads);
}

void Eclipse(Bitmap& bitmap, int amount, int threads)
{
    applyPointRule(bitmap, colour_simd::PointRule::Eclipse, amount, eclipseTable(amount), threads);
}

void Eclaircir(Bitmap& bitmap, int passes, int threads)
{
    if (passes > 0)
        applyByteTable(bitmap, eclaircirTable(passes), threads);
}

void applyByteTable(Bitmap& bitmap, const ByteTable& table, int threads)
{
    forEachByteBand(bitmap, threads, [&](std::uint8_t* bytes, std::size_t count) {
        for (std::size_t i = colour_simd::lookUp(table.data(), bytes, count); i < count; ++i)
            bytes[i] = table[bytes[i]];
    });
}

void Saturation(Bitmap& bitmap, int amount, int threads)
{
    const int w = bitmap.width();
    if (bitmap.isEmpty())
        return;
    forEachRow(bitmap, threads, [&](std::uint8_t* row) {
        const auto plain = [&](int x) {
            std::uint8_t* p = row + std::size_t(x) * 3;
            const int m = (p[0] + p[1] + p[2]) / 3;
            for (int c = 0; c < 3; ++c)
                p[c] = clampWide(m + std::int64_t(p[c] - m) * amount / 255);
        };
        const int end = colour_simd::saturationRow(row, w, amount);
        plain(0);
        for (int x = std::max(end, 1); x < w; ++x)
            plain(x);
    });
}

void Negative(Bitmap& bitmap, int threads)
{
    forEachByteBand(bitmap, threads, [](std::uint8_t* bytes, std::size_t count) {
        for (std::size_t i = colour_simd::negate(bytes, count); i < count; ++i)
            bytes[i] = std::uint8_t(255 - bytes[i]);
    });
}

void AjusterRVB(Bitmap& bitmap, int red, int green, int blue, int threads)
{
    const int offsets[3] = {blue, green, red};
    std::uint8_t add[3], sub[3];
    for (int c = 0; c < 3; ++c) {
        add[c] = offsets[c] > 0 ? std::uint8_t(std::min(offsets[c], 255)) : 0;
        sub[c] = offsets[c] < 0 ? std::uint8_t(std::min(-std::int64_t(offsets[c]), std::int64_t(255))) : 0;
    }
    const std::size_t bytes = std::size_t(bitmap.width()) * 3;
    forEachRow(bitmap, threads, [&](std::uint8_t* row) {
        for (std::size_t i = colour_simd::offsetRow(row, bytes, add, sub); i < bytes; ++i) {
            const int c = int(i % 3);
            row[i] = clampWide(std::int64_t(row[i]) + add[c] - sub[c]);
        }
    });
}

void DeuxCouleurs(Bitmap& bitmap, KeptChannel channel, int threads)
{
    const int kept = int(channel);
    const std::size_t bytes = std::size_t(bitmap.width()) * 3;
    forEachRow(bitmap, threads, [&](std::uint8_t* row) {
        for (std::size_t i = colour_simd::twoColourRow(row, bytes, kept); i < bytes; ++i)
            row[i] = int(i % 3) == kept && row[i] > 1 && row[i] < 100 ? 255 : 0;
    });
}

void ChangerCouleur(Bitmap& bitmap, Colour from, Colour to)
{
    if (bitmap.bitsPerPixel() == 24) {
        const std::uint8_t f[3] = {blueOf(from), greenOf(from), redOf(from)};
        const std::uint8_t t[3] = {blueOf(to), greenOf(to), redOf(to)};
        for (int y = 0; y < bitmap.height(); ++y) {
            std::uint8_t* p = bitmap.row(y);
            for (int x = 0; x < bitmap.width(); ++x, p += 3)
                if (p[0] == f[0] && p[1] == f[1] && p[2] == f[2]) {
                    p[0] = t[0];
                    p[1] = t[1];
                    p[2] = t[2];
                }
        }
        return;
    }
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            if (bitmap.pixel(x, y) == from)
                bitmap.setPixel(x, y, to);
}

} // namespace px
