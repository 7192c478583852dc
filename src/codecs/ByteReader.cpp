#include "codecs/ByteReader.h"

namespace px {

std::vector<Colour> greyRamp(int count)
{
    std::vector<Colour> palette(std::size_t(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        const int v = count > 1 ? (i * 255 + (count - 1) / 2) / (count - 1) : 0;
        palette[std::size_t(i)] = makeColour(v, v, v);
    }
    return palette;
}

} // namespace px
