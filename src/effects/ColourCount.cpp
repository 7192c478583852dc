#include "effects/ColourCount.h"

#include "effects/Parallel.h"

#include <bit>
#include <cstdint>
#include <vector>

namespace px {

namespace {

// One bit per 24-bit colour (2 MiB): bit (R << 16 | G << 8 | B).
class ColourSet {
public:
    ColourSet() : words_(std::size_t(1) << 18, 0) {}
    void merge(const ColourSet& other)
    {
        for (std::size_t i = 0; i < words_.size(); ++i)
            words_[i] |= other.words_[i];
    }
    void add(std::uint32_t rgb) { words_[rgb >> 6] |= std::uint64_t(1) << (rgb & 63); }
    int size() const
    {
        int total = 0;
        for (const std::uint64_t w : words_)
            total += std::popcount(w);
        return total;
    }

private:
    std::vector<std::uint64_t> words_;
};

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
    forEachRowBand(starts, [&](int band, int first, int end) {
        ColourSet& set = sets[std::size_t(band)];
        for (int y = first; y < end; ++y) {
            const std::uint8_t* p = bitmap.row(y);
            for (int x = 0; x < bitmap.width(); ++x, p += 3)
                set.add(std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0]);
        }
    });
    for (std::size_t i = 1; i < sets.size(); ++i)
        sets[0].merge(sets[i]);
    return sets[0].size();
}

std::string colourCountMessage(int count)
{
    return "Le nombre de couleurs unique de cette image est de " + std::to_string(count) + ".";
}

} // namespace px
