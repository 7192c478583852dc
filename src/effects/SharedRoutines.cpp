#include "effects/SharedRoutines.h"

#include <array>

namespace px {

namespace {

constexpr std::uint8_t greyOf(unsigned r, unsigned g) { return std::uint8_t((r + g + g) / 3); }

} // namespace

void GrisatreImage(Bitmap& bitmap)
{
    if (bitmap.bitsPerPixel() == 24) {
        for (int y = 0; y < bitmap.height(); ++y) {
            std::uint8_t* p = bitmap.row(y);
            for (int x = 0; x < bitmap.width(); ++x, p += 3) {
                const std::uint8_t grey = greyOf(p[2], p[1]);
                p[0] = p[1] = p[2] = grey;
            }
        }
        return;
    }
    // Indexed: the grey of a pixel depends only on its palette entry.
    std::array<int, 256> map{};
    const auto& palette = bitmap.palette();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const std::uint8_t grey = greyOf(redOf(palette[i]), greenOf(palette[i]));
        map[i] = bitmap.nearestIndex(makeColour(grey, grey, grey));
    }
    const int blackIndex = bitmap.nearestIndex(kBlack); // indices past the palette read as black
    for (std::size_t i = palette.size(); i < map.size(); ++i)
        map[i] = blackIndex;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            bitmap.setPixelIndex(x, y, map[bitmap.pixelIndex(x, y)]);
}

void XorWithBrush(Bitmap& bitmap, Colour brush)
{
    const std::uint8_t key[3] = {blueOf(brush), greenOf(brush), redOf(brush)};
    const std::size_t bytes = std::size_t(bitmap.width()) * 3;
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* p = bitmap.row(y);
        for (std::size_t i = 0; i < bytes; ++i)
            p[i] ^= key[i % 3];
    }
}

} // namespace px
