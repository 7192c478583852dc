// Block, column and row rearrangements that need no resampling: "Mosaïque",
// "Lamelle", "Triangle", "Décomposée" and "Cryptée".
#include "transforms/StripEffects.h"

#include "effects/Parallel.h"
#include "transforms/PixelVectors.h"
#include "transforms/StripKernels.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace px {

namespace {

inline void copyPixel(std::uint8_t* to, const std::uint8_t* from)
{
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

// Column x slid down by offsets[x] (0 .. L): row Y of the column takes row
// Y - k when k <= Y <= H-1-L+k. Destination rows are walked bottom-up, so
// every row is read before anything is written into it.
//
// Along a row the offsets rise or fall by one from column to column for long
// runs, so a pixel's source lies one pixel right and one row down or up from
// its left neighbour's: the rows where every column has a source are copied
// run by run with a running source pointer. Within a run each pixel is copied
// as four bytes, the fourth landing on the next pixel of the run, which is
// copied right after; a run never continues into a pixel with offset 0
// (whose source is the pixel itself).
struct SlideRun {
    int x;
    int length;
    int offset;    // of its first column
    int direction; // +1, -1 or 0 for a run of one column
};

// The runs of columns first .. end-1.
std::vector<SlideRun> slideRuns(const std::vector<int>& offsets, int first, int end)
{
    std::vector<SlideRun> runs;
    for (int x = first; x < end;) {
        SlideRun run{x, 1, offsets[std::size_t(x)], 0};
        if (x + 1 < end && offsets[std::size_t(x) + 1] != 0) {
            run.direction = offsets[std::size_t(x) + 1] - run.offset;
            if (run.direction != 1 && run.direction != -1)
                run.direction = 0;
        }
        if (run.direction != 0)
            while (x + run.length < end && offsets[std::size_t(x + run.length)] != 0 &&
                   offsets[std::size_t(x + run.length)] - offsets[std::size_t(x + run.length) - 1] == run.direction)
                ++run.length;
        runs.push_back(run);
        x += run.length;
    }
    return runs;
}

// Routines that walk a narrow strip of columns down or up the image ask for
// the strip's part of the row this many rows ahead: each row of a strip
// starts a new page, which the processor's own prefetching does not follow.
constexpr int kPrefetchRows = 4;

void prefetchSpan(const std::uint8_t* row, int first, int end)
{
    for (int byte = first * 3; byte < end * 3; byte += 64)
        __builtin_prefetch(row + byte);
}

#if defined(__x86_64__)
// Sixteen pixels of a run, whose sources lie `step` bytes apart: each
// source but the run's last has its row's next pixel after it.
PX_PIXEL_VECTORS void copySixteen(std::uint8_t* to, const std::uint8_t* from, std::ptrdiff_t step)
{
    pixelvectors::copySixteen(to, [&](int i) { return from + i * step; });
}
#else
void copySixteen(std::uint8_t*, const std::uint8_t*, std::ptrdiff_t) {}
#endif

void slideStrip(Bitmap& b, int L, const std::vector<int>& offsets, int first, int end,
                const std::vector<SlideRun>& runs, strips::SlideLanes lanes)
{
    const bool wide = lanes == strips::SlideLanes::Avx512;
    const int H = b.height();
    const std::ptrdiff_t stride = std::ptrdiff_t(b.stride());
    for (int Y = H - 1; Y >= 0; --Y) {
        std::uint8_t* row = b.row(Y);
        if (Y - L - kPrefetchRows >= 0)
            prefetchSpan(b.row(Y - L - kPrefetchRows), first, end);
        if (Y >= L && Y <= H - 1 - L) {
            for (const SlideRun& run : runs) {
                std::uint8_t* to = row + std::size_t(run.x) * 3;
                const std::uint8_t* from = to - run.offset * stride;
                const std::ptrdiff_t step = 3 - run.direction * stride;
                int i = 1;
                if (wide)
                    for (; i + 16 < run.length; i += 16, to += 48, from += 16 * step)
                        copySixteen(to, from, step);
                for (; i < run.length; ++i, to += 3, from += step)
                    std::memcpy(to, from, 4);
                copyPixel(to, from);
            }
            continue;
        }
        for (int x = first; x < end; ++x) {
            const int k = offsets[std::size_t(x)];
            if (Y >= k && Y - k <= H - 1 - L) {
                std::uint8_t* p = row + std::size_t(x) * 3;
                copyPixel(p, p - k * stride);
            }
        }
    }
}

// Columns are independent; the image is walked in strips of this many
// columns so that the source rows a strip reaches stay in cache from one
// destination row to the next.
constexpr int kStripWidth = 256;

// Strips touch only their own columns, so they are shared between threads.
void slideColumns(Bitmap& b, int L, const std::vector<int>& offsets, strips::SlideLanes lanes)
{
    const int W = b.width();
    const int strips = (W + kStripWidth - 1) / kStripWidth;
    forEachRowBand(
        strips, effectThreadCount(),
        [&](int firstStrip, int endStrip) {
            for (int strip = firstStrip; strip < endStrip; ++strip) {
                const int first = strip * kStripWidth, end = std::min(W, first + kStripWidth);
                slideStrip(b, L, offsets, first, end, slideRuns(offsets, first, end), lanes);
            }
        },
        1);
}

int slideLimit(const Bitmap& b, int a)
{
    return std::max(0, std::min(b.height() / 2, a));
}

} // namespace

void Mosaique(Bitmap& bitmap, int n)
{
    if (n <= 1 || bitmap.isEmpty())
        return;
    bitmap.setPixelFormat(24);
    const int W = bitmap.width(), H = bitmap.height();
    const std::size_t rowBytes = std::size_t(W) * 3;
    for (int top = 0; top < H; top += n) {
        std::uint8_t* first = bitmap.row(top);
        for (int left = 0; left < W; left += n) {
            std::uint8_t colour[3];
            copyPixel(colour, first + std::size_t(left) * 3);
            for (int x = left + 1, end = std::min(W, left + n); x < end; ++x)
                copyPixel(first + std::size_t(x) * 3, colour);
        }
        for (int y = top + 1, end = std::min(H, top + n); y < end; ++y)
            std::memcpy(bitmap.row(y), first, rowBytes);
    }
}

strips::SlideLanes strips::bestSlideLanes()
{
#if defined(__x86_64__)
    return pixelvectors::havePixelVectors() ? SlideLanes::Avx512 : SlideLanes::Plain;
#else
    return SlideLanes::Plain;
#endif
}

void Lamelle(Bitmap& bitmap, int a)
{
    strips::lamelleWith(bitmap, a, strips::bestSlideLanes());
}

void Triangle(Bitmap& bitmap, int a)
{
    strips::triangleWith(bitmap, a, strips::bestSlideLanes());
}

void strips::lamelleWith(Bitmap& bitmap, int a, SlideLanes lanes)
{
    bitmap.setPixelFormat(24);
    const int L = slideLimit(bitmap, a);
    if (L == 0)
        return;
    std::vector<int> offsets(std::size_t(bitmap.width()));
    for (int x = 0; x < bitmap.width(); ++x)
        offsets[std::size_t(x)] = x % (L + 1);
    slideColumns(bitmap, L, offsets, lanes);
}

void strips::triangleWith(Bitmap& bitmap, int a, SlideLanes lanes)
{
    bitmap.setPixelFormat(24);
    const int L = slideLimit(bitmap, a);
    if (L == 0)
        return;
    std::vector<int> offsets(std::size_t(bitmap.width()));
    for (int x = 0; x < bitmap.width(); ++x) {
        const int k = x % (2 * L);
        offsets[std::size_t(x)] = k > L ? 2 * L - k : k;
    }
    slideColumns(bitmap, L, offsets, lanes);
}

void Decomposee(Bitmap& bitmap, int a)
{
    if (a <= 0 || bitmap.isEmpty())
        return;
    bitmap.setPixelFormat(24);
    const int W = bitmap.width(), H = bitmap.height();
    const std::ptrdiff_t stride = std::ptrdiff_t(bitmap.stride());
    // The lift for every channel sum 0..765, as a byte offset up the image.
    std::ptrdiff_t up[766];
    int lift[766];
    for (int sum = 0; sum <= 765; ++sum) {
        lift[sum] = int(std::nearbyint(double(sum) / 3.0 / 255.0 * a));
        up[sum] = -lift[sum] * stride;
    }
    // Rows in scan-line order: a pixel only moves up, so row y still holds
    // its own pixels when it is reached; a later row's pixel overwrites an
    // earlier one's at the same place.
    const int top = std::min(H, lift[765]);
    for (int y = 0; y < top; ++y) {
        std::uint8_t* p = bitmap.row(y);
        for (int x = 0; x < W; ++x, p += 3) {
            const int sum = p[0] + p[1] + p[2];
            if (lift[sum] != 0 && lift[sum] <= y)
                copyPixel(p + up[sum], p);
        }
    }
    // From row lift[765] down every lift stays inside the image, and a pixel
    // that does not rise writes itself, unchanged: no test is needed.
    for (int y = top; y < H; ++y) {
        std::uint8_t* p = bitmap.row(y);
        // Four-byte reads, except for the last pixel of the bitmap.
        std::uint8_t* const last = p + std::size_t(W - 1) * 3;
        for (; p < last; p += 3) {
            std::uint32_t v;
            std::memcpy(&v, p, 4);
            std::uint8_t* to = p + up[(v & 0xff) + (v >> 8 & 0xff) + (v >> 16 & 0xff)];
            const std::uint16_t low = std::uint16_t(v);
            std::memcpy(to, &low, 2);
            to[2] = std::uint8_t(v >> 16);
        }
        copyPixel(p + up[p[0] + p[1] + p[2]], p);
    }
}

namespace {

// One row of Cryptée: a pixel takes a new sample where x mod s = 0 or
// x mod m = 1, and the pixels up to the next such one repeat it. Runs are
// filled two pixels at a time with eight-byte copies (the last two bytes
// land on the next pixel of the run), then with four-byte copies, the last
// pixel with three, so that nothing lands on the next sample before it is
// read.
void crypteeRow(std::uint8_t* row, int W, int s, int m)
{
    int nextS = 0, nextM = m == 1 ? W : 1; // next x with x mod s = 0, x mod m = 1
    for (int x = 0; x < W;) {
        const int sample = x;
        if (nextS == x)
            nextS += s;
        if (nextM == x)
            nextM += m;
        const int end = std::min({nextS, nextM, W});
        const std::uint8_t* held = row + std::size_t(sample) * 3;
        const std::uint32_t value = held[0] | std::uint32_t(held[1]) << 8 | std::uint32_t(held[2]) << 16;
        const std::uint64_t pair = value | std::uint64_t(value) << 24 | std::uint64_t(value) << 48;
        std::uint8_t* p = row + std::size_t(sample + 1) * 3;
        for (x = sample + 1; x + 2 < end; x += 2, p += 6)
            std::memcpy(p, &pair, 8);
        for (; x + 1 < end; ++x, p += 3)
            std::memcpy(p, &value, 4);
        if (x < end) {
            copyPixel(p, held);
            ++x;
        }
    }
}

#if defined(__x86_64__)
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif
// crypteeRow sixteen pixels at a time, for rows of short runs. Samples keep
// their own values, so pixel x takes the original pixel src(x), the last
// sample at or before x: max(x - x mod s, x - (x-1) mod m). Within a block
// of sixteen pixels a source is either in the block or the pixel held from
// before it, which is the last pixel the block before wrote; each block is
// then one byte permutation of its own 48 bytes and that pixel.
PX_PIXEL_VECTORS void crypteeRowWide(std::uint8_t* row, int W, int s, int m)
{
    const __m512i lanes = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    // Output byte j takes byte 3 p + j mod 3 of the table, p being the
    // source of pixel j div 3 within the block (16: the held pixel, placed
    // at bytes 48-50 from bytes 45-47 of the block before).
    const __m512i spread = _mm512_set_epi8(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 15, 15, 15, 14, 14, 14, 13,
                                           13, 13, 12, 12, 12, 11, 11, 11, 10, 10, 10, 9, 9, 9, 8, 8, 8, 7, 7, 7, 6, 6,
                                           6, 5, 5, 5, 4, 4, 4, 3, 3, 3, 2, 2, 2, 1, 1, 1, 0, 0, 0);
    const __m512i channel =
        _mm512_set_epi8(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2,
                        1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0);
    const __m512i lastPixel = _mm512_set1_epi32(0x2F2E2D);
    __m512i previous = _mm512_setzero_si512();
    // x mod s and (x - 1) mod m in every lane, each block adding 16. Pixel
    // 0 takes (0 - 1) mod m as m - 1, which puts its m-sample below 0, and
    // with m = 1 (no m-samples) the m-term stays far below every x.
    const __m512i sv = _mm512_set1_epi32(s), mv = _mm512_set1_epi32(m > 1 ? m : INT32_MAX);
    const __m512i stepS = _mm512_set1_epi32(16 % s), stepM = _mm512_set1_epi32(m > 1 ? 16 % m : 0);
    __m512i modS = pixelvectors::moduloLanes(lanes, s);
    __m512i modM = m > 1 ? pixelvectors::moduloLanes(_mm512_add_epi32(lanes, _mm512_set1_epi32(m - 1)), m)
                         : _mm512_set1_epi32(1 << 30);
    for (int x0 = 0; x0 < W; x0 += 16) {
        const int count = std::min(16, W - x0);
        const __m512i x = _mm512_add_epi32(_mm512_set1_epi32(x0), lanes);
        const __m512i src = _mm512_max_epi32(_mm512_sub_epi32(x, modS), _mm512_sub_epi32(x, modM));
        modS = _mm512_add_epi32(modS, stepS);
        modS = _mm512_mask_sub_epi32(modS, _mm512_cmpge_epi32_mask(modS, sv), modS, sv);
        modM = _mm512_add_epi32(modM, stepM);
        modM = _mm512_mask_sub_epi32(modM, _mm512_cmpge_epi32_mask(modM, mv), modM, mv);
        __m512i pixel = _mm512_sub_epi32(src, _mm512_set1_epi32(x0));
        pixel =
            _mm512_mask_mov_epi32(pixel, _mm512_cmplt_epi32_mask(pixel, _mm512_setzero_si512()), _mm512_set1_epi32(16));
        const __m512i index = _mm512_add_epi8(
            _mm512_permutexvar_epi8(
                spread, _mm512_castsi128_si512(_mm512_cvtepi32_epi8(_mm512_mullo_epi32(pixel, _mm512_set1_epi32(3))))),
            channel);
        std::uint8_t* p = row + std::size_t(x0) * 3;
        const __mmask64 bytes = (std::uint64_t(1) << (3 * count)) - 1;
        const __m512i table = _mm512_mask_blend_epi8(std::uint64_t(7) << 48, _mm512_maskz_loadu_epi8(bytes, p),
                                                     _mm512_permutexvar_epi8(lastPixel, previous));
        previous = _mm512_permutexvar_epi8(index, table);
        _mm512_mask_storeu_epi8(p, bytes, previous);
    }
}

// crypteeRow with each run written by masked stores of up to 21 pixels,
// for rows of longer runs: a run ends where the next sample begins, and the
// stores end there too, so every sample is still its own when it is read.
PX_PIXEL_VECTORS void crypteeRowRuns(std::uint8_t* row, int W, int s, int m)
{
    // Byte j of a store takes byte j mod 3 of the held pixel.
    const __m512i repeat =
        _mm512_set_epi8(0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2,
                        1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0);
    constexpr int kStore = 63; // 21 pixels
    const auto pixelAt = [row](int x) {
        const std::uint8_t* p = row + std::size_t(x) * 3;
        return int(p[0] | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16);
    };
    int nextS = s, nextM = m == 1 ? W : 1; // next x with x mod s = 0, x mod m = 1
    // Each run's sample is read before the run before it is written: a read
    // just past a masked store would wait for that store to finish.
    int sample = 0, held = pixelAt(0);
    while (sample < W) {
        const int end = std::min({nextS, nextM, W});
        nextS += nextS == end ? s : 0;
        nextM += nextM == end ? m : 0;
        const int next = pixelAt(std::min(end, W - 1));
        const __m512i fill = _mm512_permutexvar_epi8(repeat, _mm512_set1_epi32(held));
        std::uint8_t* p = row + std::size_t(sample + 1) * 3;
        int bytes = (end - sample - 1) * 3;
        for (; bytes > kStore; bytes -= kStore, p += kStore)
            _mm512_mask_storeu_epi8(p, (std::uint64_t(1) << kStore) - 1, fill);
        _mm512_mask_storeu_epi8(p, (std::uint64_t(1) << bytes) - 1, fill);
        sample = end;
        held = next;
    }
}
#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#else
void crypteeRowWide(std::uint8_t*, int, int, int) {}
void crypteeRowRuns(std::uint8_t*, int, int, int) {}
#endif

// Rows whose samples come at least this often (s below it) go sixteen
// pixels at a time: their runs are too short for the run stores to pay.
constexpr int kShortRuns = 8;

} // namespace

void Cryptee(Bitmap& bitmap, int a)
{
    strips::crypteeWith(bitmap, a, strips::bestSlideLanes());
}

void strips::crypteeWith(Bitmap& bitmap, int a, SlideLanes lanes)
{
    bitmap.setPixelFormat(24);
    const int P = a < 5 ? 4 : a & ~1;
    const int h = (P + 1) >> 1;
    const int W = bitmap.width();
    // Each row reads and writes only itself: bands of rows go to separate
    // threads.
    forEachRowBand(bitmap.height(), effectThreadCount(), [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            int s = y % P;
            if (s > h)
                s = P - s;
            if (s == 0)
                s = P + 1;
            const int m = std::abs(h - y % (P + 1)) + h;
            if (s == 1)
                continue; // every pixel takes itself
            if (lanes == SlideLanes::Avx512 && s < kShortRuns)
                crypteeRowWide(bitmap.row(y), W, s, m);
            else if (lanes == SlideLanes::Avx512)
                crypteeRowRuns(bitmap.row(y), W, s, m);
            else
                crypteeRow(bitmap.row(y), W, s, m);
        }
    });
}

} // namespace px
