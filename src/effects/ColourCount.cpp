#include "effects/ColourCount.h"

#include "effects/Parallel.h"
#include "graphics/PixelBuffer.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace px {

namespace {

// One bit per 24-bit colour (2 MiB): bit (R << 16 | G << 8 | B). The
// words live in a pixel buffer, which asks for one huge page: no run of page
// faults on the fresh set, and no TLB misses on its scattered updates.
class ColourSet {
public:
    ColourSet() : buffer_(kWords * sizeof(std::uint64_t)) {}
    void merge(const ColourSet& other)
    {
        for (std::size_t i = 0; i < kWords; ++i)
            words()[i] |= other.words()[i];
    }
    void add(std::uint32_t rgb) { words()[rgb >> 6] |= std::uint64_t(1) << (rgb & 63); }
    int size() const
    {
        int total = 0;
        for (std::size_t i = 0; i < kWords; ++i)
            total += std::popcount(words()[i]);
        return total;
    }

private:
    static constexpr std::size_t kWords = std::size_t(1) << 18;
    std::uint64_t* words() { return reinterpret_cast<std::uint64_t*>(buffer_.data()); }
    const std::uint64_t* words() const { return reinterpret_cast<const std::uint64_t*>(buffer_.data()); }
    PixelBuffer buffer_;
};

// The pixel's colour as the set indexes it.
inline std::uint32_t colourAt3(const std::uint8_t* p)
{
    return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

// The same from one four-byte read, so the caller must not use it on the
// last pixel of the last row.
inline std::uint32_t colourAt4(const std::uint8_t* p)
{
    if constexpr (std::endian::native != std::endian::little)
        return colourAt3(p);
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v & 0xFFFFFFu; // bytes B, G, R: B lands in the low bits
}

void addRow(ColourSet& set, const std::uint8_t* p, int width)
{
    for (int x = 0; x < width; ++x, p += 3)
        set.add(colourAt3(p));
}

// Rows first..end-1 into one set. Neighbouring pixels of a photo often
// fall in the same word of the set, and a chain of read-modify-writes of one
// word waits on each store; four rows far apart are visited in turn so that
// consecutive updates rarely touch the same word.
void addRows(ColourSet& set, const Bitmap& bitmap, int first, int end)
{
    const int w = bitmap.width();
    const int quarter = (end - first) / 4;
    for (int r = 0; r < quarter; ++r) {
        const std::uint8_t* p0 = bitmap.row(first + r);
        const std::uint8_t* p1 = bitmap.row(first + quarter + r);
        const std::uint8_t* p2 = bitmap.row(first + 2 * quarter + r);
        const std::uint8_t* p3 = bitmap.row(first + 3 * quarter + r);
        // the last pixel is read byte by byte: four bytes could run past the
        // end of the last row
        for (int x = 0; x + 1 < w; ++x) {
            const std::size_t at = std::size_t(x) * 3;
            set.add(colourAt4(p0 + at));
            set.add(colourAt4(p1 + at));
            set.add(colourAt4(p2 + at));
            set.add(colourAt4(p3 + at));
        }
        const std::size_t last = std::size_t(w - 1) * 3;
        for (const std::uint8_t* p : {p0, p1, p2, p3})
            set.add(colourAt3(p + last));
    }
    for (int y = first + 4 * quarter; y < end; ++y)
        addRow(set, bitmap.row(y), w);
}

} // namespace

int countColours(const Bitmap& bitmap, int threads)
{
    if (bitmap.isEmpty())
        return 0;
    if (bitmap.bitsPerPixel() != 24) {
        Bitmap copy = bitmap;
        copy.setPixelFormat(24);
        return countColours(copy, threads);
    }
    const std::vector<int> starts = rowBandStarts(bitmap.height(), threads, 64);
    std::vector<ColourSet> sets(starts.size() - 1);
    forEachRowBand(starts, [&](int band, int first, int end) { addRows(sets[std::size_t(band)], bitmap, first, end); });
    for (std::size_t i = 1; i < sets.size(); ++i)
        sets[0].merge(sets[i]);
    return sets[0].size();
}

std::string colourCountMessage(int count)
{
    return "Le nombre de couleurs unique de cette image est de " + std::to_string(count) + ".";
}

} // namespace px
