#include "graphics/ViewZoom.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace px {

namespace {

constexpr ZoomFactor kSteps[] = {{1, 16}, {1, 8}, {1, 4}, {1, 2}, {1, 1},  {2, 1},
                                 {3, 1},  {4, 1}, {6, 1}, {8, 1}, {12, 1}, {16, 1}};

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b)
{
    return -floorDiv(-a, b);
}

constexpr std::uint32_t rgb32(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

// The palette as view words; indices past its end are black.
std::array<std::uint32_t, 256> paletteWords(const Bitmap& bitmap)
{
    std::array<std::uint32_t, 256> table;
    table.fill(rgb32(0, 0, 0));
    const auto& palette = bitmap.palette();
    for (std::size_t i = 0; i < palette.size() && i < table.size(); ++i)
        table[i] = rgb32(redOf(palette[i]), greenOf(palette[i]), blueOf(palette[i]));
    return table;
}

// The level below 1 that a zoom of 1/2^k reads, or 0 when the zoom is not
// such a halving.
int halvingLevel(ZoomFactor zoom)
{
    if (zoom.num != 1 || zoom.den < 2 || (zoom.den & (zoom.den - 1)) != 0)
        return 0;
    int k = 0;
    while ((1 << k) < zoom.den)
        ++k;
    return k;
}

// The average of up to four view words, rounded, channel by channel.
std::uint32_t average(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t count)
{
    const std::uint32_t half = count / 2;
    const std::uint32_t r = ((a >> 16 & 0xFF) + (b >> 16 & 0xFF) + (c >> 16 & 0xFF) + (d >> 16 & 0xFF) + half) / count;
    const std::uint32_t g = ((a >> 8 & 0xFF) + (b >> 8 & 0xFF) + (c >> 8 & 0xFF) + (d >> 8 & 0xFF) + half) / count;
    const std::uint32_t bl = ((a & 0xFF) + (b & 0xFF) + (c & 0xFF) + (d & 0xFF) + half) / count;
    return rgb32(r, g, bl);
}

// One row of a halved level from the two rows above it (`below2` null at an
// odd bottom edge): columns [x0, x1) of the halved row, whose sources are
// the words [2 x0, min(2 x1, sourceWidth)) of the rows given, which start at
// column 2 x0.
void halveRow(const std::uint32_t* below1, const std::uint32_t* below2, int x0, int x1, int sourceWidth,
              std::uint32_t* out)
{
    for (int x = x0; x < x1; ++x) {
        const int i = 2 * (x - x0);
        const bool pair = 2 * x + 1 < sourceWidth;
        if (below2 && pair)
            out[x] = average(below1[i], below1[i + 1], below2[i], below2[i + 1], 4);
        else if (below2)
            out[x] = average(below1[i], below2[i], 0xFF000000u, 0xFF000000u, 2);
        else if (pair)
            out[x] = average(below1[i], below1[i + 1], 0xFF000000u, 0xFF000000u, 2);
        else
            out[x] = below1[i];
    }
}

// 24-bit pixels (blue, green, red in memory) as view words.
void fetchBgrRowPlain(const std::uint8_t* p, int count, std::uint32_t* out)
{
    for (int x = 0; x < count; ++x, p += 3)
        *out++ = rgb32(p[2], p[1], p[0]);
}

#if defined(__x86_64__) || defined(__i386__)
// Four pixels a step: sixteen bytes loaded, the alpha byte shuffled in after
// each three. The last pixels go one by one, so no load reads past the row.
__attribute__((target("ssse3"))) void fetchBgrRowSsse3(const std::uint8_t* p, int count, std::uint32_t* out)
{
    const __m128i order = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
    int x = 0;
    for (; x + 6 <= count; x += 4, p += 12, out += 4) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_or_si128(_mm_shuffle_epi8(bytes, order), alpha));
    }
    fetchBgrRowPlain(p, count - x, out);
}
#endif

// The conversion every repaint of a 24-bit image goes through at 1:1 and
// above: the vector one where the processor has it.
void fetchBgrRow(const std::uint8_t* p, int count, std::uint32_t* out)
{
#if defined(__x86_64__) || defined(__i386__)
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    if (ssse3) {
        fetchBgrRowSsse3(p, count, out);
        return;
    }
#endif
    fetchBgrRowPlain(p, count, out);
}

} // namespace

std::span<const ZoomFactor> zoomSteps()
{
    return kSteps;
}

ZoomFactor stepZoom(ZoomFactor zoom, int delta)
{
    const std::span<const ZoomFactor> steps = zoomSteps();
    const int last = int(steps.size()) - 1;
    const double value = zoom.value();
    int index = -1;
    for (int i = 0; i <= last; ++i)
        if (steps[i].value() == value)
            index = i;
    if (index < 0 && delta != 0) {
        // Off the steps: the first step beyond the zoom counts as one step.
        int i = 0;
        while (i <= last && steps[i].value() < value)
            ++i;
        index = delta > 0 ? i - 1 : i;
    } else if (index < 0) {
        return zoom;
    }
    return steps[std::clamp(index + delta, 0, last)];
}

int viewToImage(double v, ZoomFactor zoom)
{
    return int(std::floor(v * zoom.den / zoom.num));
}

int imageToView(int i, ZoomFactor zoom)
{
    return int(floorDiv(std::int64_t(i) * zoom.num, zoom.den));
}

Rect imageRectToView(const Rect& r, ZoomFactor zoom)
{
    if (r.isEmpty())
        return {};
    return {int(floorDiv(std::int64_t(r.left) * zoom.num, zoom.den)),
            int(floorDiv(std::int64_t(r.top) * zoom.num, zoom.den)),
            int(ceilDiv(std::int64_t(r.right) * zoom.num, zoom.den)),
            int(ceilDiv(std::int64_t(r.bottom) * zoom.num, zoom.den))};
}

Rect viewRectToImage(const Rect& r, ZoomFactor zoom)
{
    if (r.isEmpty())
        return {};
    return {int(floorDiv(std::int64_t(r.left) * zoom.den, zoom.num)),
            int(floorDiv(std::int64_t(r.top) * zoom.den, zoom.num)),
            int(ceilDiv(std::int64_t(r.right) * zoom.den, zoom.num)),
            int(ceilDiv(std::int64_t(r.bottom) * zoom.den, zoom.num))};
}

int zoomedLength(int imageLength, ZoomFactor zoom)
{
    if (imageLength <= 0)
        return 0;
    return int(std::max<std::int64_t>(1, ceilDiv(std::int64_t(imageLength) * zoom.num, zoom.den)));
}

void fetchRowRgb32(const Bitmap& bitmap, int y, int x0, int x1, std::uint32_t* out)
{
    const std::uint8_t* row = bitmap.row(y);
    switch (bitmap.bitsPerPixel()) {
    case 24: {
        fetchBgrRow(row + 3 * std::size_t(x0), x1 - x0, out);
        return;
    }
    case 8: {
        const auto table = paletteWords(bitmap);
        for (int x = x0; x < x1; ++x)
            *out++ = table[row[x]];
        return;
    }
    case 4: {
        const auto table = paletteWords(bitmap);
        for (int x = x0; x < x1; ++x)
            *out++ = table[(x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4)];
        return;
    }
    default: {
        const auto table = paletteWords(bitmap);
        for (int x = x0; x < x1; ++x)
            *out++ = table[(row[x >> 3] >> (7 - (x & 7))) & 1];
        return;
    }
    }
}

void ZoomPyramid::invalidate(const Rect& imageRect)
{
    if (imageRect.isEmpty()) {
        for (Level& level : levels_)
            level.built = false;
        return;
    }
    levels_[1].dirty = levels_[1].dirty.united(imageRect);
}

void ZoomPyramid::clear()
{
    for (Level& level : levels_)
        level = Level{};
}

const std::uint32_t* ZoomPyramid::level(const Bitmap& bitmap, int k)
{
    k = std::clamp(k, 1, kLevels - 1);
    if (bitmap.width() != sourceWidth_ || bitmap.height() != sourceHeight_ || bitmap.bitsPerPixel() != sourceDepth_) {
        sourceWidth_ = bitmap.width();
        sourceHeight_ = bitmap.height();
        sourceDepth_ = bitmap.bitsPerPixel();
        for (Level& level : levels_)
            level.built = false;
    }
    for (int j = 1; j <= k; ++j) {
        Level& level = levels_[j];
        const int belowWidth = j == 1 ? sourceWidth_ : levels_[j - 1].width;
        const int belowHeight = j == 1 ? sourceHeight_ : levels_[j - 1].height;
        if (!level.built) {
            level.width = int(ceilDiv(belowWidth, 2));
            level.height = int(ceilDiv(belowHeight, 2));
            level.pixels.assign(std::size_t(level.width) * level.height, 0);
            level.built = true;
            rebuild(bitmap, j, Rect{0, 0, belowWidth, belowHeight});
        } else if (!level.dirty.isEmpty()) {
            rebuild(bitmap, j, level.dirty.intersected(Rect{0, 0, belowWidth, belowHeight}));
        }
        level.dirty = Rect{};
    }
    return levels_[k].pixels.data();
}

// Rebuilds the pixels of level k that cover `area` of the level below, and
// marks them changed for the level above.
void ZoomPyramid::rebuild(const Bitmap& bitmap, int k, const Rect& area)
{
    Level& level = levels_[k];
    if (area.isEmpty() || level.width == 0 || level.height == 0)
        return;
    const int belowWidth = k == 1 ? sourceWidth_ : levels_[k - 1].width;
    const int belowHeight = k == 1 ? sourceHeight_ : levels_[k - 1].height;
    const Rect changed = Rect{int(floorDiv(area.left, 2)), int(floorDiv(area.top, 2)), int(ceilDiv(area.right, 2)),
                              int(ceilDiv(area.bottom, 2))}
                             .intersected(Rect{0, 0, level.width, level.height});
    if (changed.isEmpty())
        return;
    const int sx0 = 2 * changed.left;
    const int sx1 = std::min(2 * changed.right, belowWidth);
    std::vector<std::uint32_t> row1;
    std::vector<std::uint32_t> row2;
    if (k == 1) {
        row1.resize(std::size_t(sx1 - sx0));
        row2.resize(std::size_t(sx1 - sx0));
    }
    for (int y = changed.top; y < changed.bottom; ++y) {
        const int sy = 2 * y;
        const bool twoRows = sy + 1 < belowHeight;
        const std::uint32_t* below1;
        const std::uint32_t* below2 = nullptr;
        if (k == 1) {
            fetchRowRgb32(bitmap, sy, sx0, sx1, row1.data());
            below1 = row1.data();
            if (twoRows) {
                fetchRowRgb32(bitmap, sy + 1, sx0, sx1, row2.data());
                below2 = row2.data();
            }
        } else {
            const Level& below = levels_[k - 1];
            below1 = below.pixels.data() + std::size_t(sy) * below.width + sx0;
            if (twoRows)
                below2 = below1 + below.width;
        }
        halveRow(below1, below2, changed.left, changed.right, belowWidth,
                 level.pixels.data() + std::size_t(y) * level.width);
    }
    if (k + 1 < kLevels)
        levels_[k + 1].dirty = levels_[k + 1].dirty.united(changed);
}

void renderZoomedView(const Bitmap& bitmap, ZoomFactor zoom, const Rect& area, std::uint32_t* out, std::size_t stride,
                      ZoomPyramid& pyramid)
{
    if (bitmap.isEmpty())
        return;
    const Rect visible =
        area.intersected(Rect{0, 0, zoomedLength(bitmap.width(), zoom), zoomedLength(bitmap.height(), zoom)});
    if (visible.isEmpty())
        return;
    const std::size_t columns = std::size_t(visible.width());
    std::uint32_t* firstOut = out + std::size_t(visible.top - area.top) * stride + (visible.left - area.left);

    if (const int k = halvingLevel(zoom)) {
        const std::uint32_t* level = pyramid.level(bitmap, k);
        const int width = pyramid.levelWidth(k);
        for (int y = visible.top; y < visible.bottom; ++y)
            std::memcpy(firstOut + std::size_t(y - visible.top) * stride, level + std::size_t(y) * width + visible.left,
                        columns * sizeof(std::uint32_t));
        return;
    }

    // 1:1: each view row is the image row.
    if (zoom.num == zoom.den) {
        for (int y = visible.top; y < visible.bottom; ++y)
            fetchRowRgb32(bitmap, y, visible.left, visible.right, firstOut + std::size_t(y - visible.top) * stride);
        return;
    }

    // Nearest neighbour: each view column reads the image column it shows;
    // view rows that show the same image row are copies of the first.
    const int ix0 = viewToImage(visible.left, zoom);
    const int ix1 = std::min(bitmap.width(), viewToImage(visible.right - 1, zoom) + 1);
    std::vector<std::uint32_t> source(std::size_t(ix1 - ix0));
    std::vector<int> column(columns);
    for (std::size_t i = 0; i < columns; ++i)
        column[i] = std::min(viewToImage(visible.left + int(i), zoom), ix1 - 1) - ix0;
    int previousRow = -1;
    std::uint32_t* previousOut = nullptr;
    for (int y = visible.top; y < visible.bottom; ++y) {
        std::uint32_t* o = firstOut + std::size_t(y - visible.top) * stride;
        const int iy = std::min(viewToImage(y, zoom), bitmap.height() - 1);
        if (iy == previousRow) {
            std::memcpy(o, previousOut, columns * sizeof(std::uint32_t));
            continue;
        }
        fetchRowRgb32(bitmap, iy, ix0, ix1, source.data());
        for (std::size_t i = 0; i < columns; ++i)
            o[i] = source[std::size_t(column[i])];
        previousRow = iy;
        previousOut = o;
    }
}

} // namespace px
