#include "codecs/CodecRla.h"

#include "codecs/ByteReader.h"
#include "codecs/RgbSwap.h"
#include "codecs/ShortRuns.h"

#include <vector>

namespace px {

namespace {

constexpr std::size_t kHeaderSize = 740;

// One channel of a line into `dst` (`width` samples).
void decodeChannel(const std::uint8_t* src, std::size_t length, std::uint8_t* dst, std::size_t width)
{
    std::size_t at = 0, x = 0;
    while (at < length) {
        const int count = std::int8_t(src[at++]);
        if (count >= 0) {
            const std::size_t n = std::size_t(count) + 1;
            if (at >= length || n > width - x)
                throw InvalidImageError("plage RLA incohérente");
            fillRun(dst + x, src[at++], n);
            x += n;
        } else {
            const std::size_t n = std::size_t(-count);
            if (n > length - at || n > width - x)
                throw InvalidImageError("plage RLA incohérente");
            copyRun(dst + x, src + at, n);
            at += n;
            x += n;
        }
    }
    if (x != width)
        throw InvalidImageError("ligne RLA incomplète");
}

} // namespace

void decodeRlaInto(std::span<const std::uint8_t> data, Bitmap& bmp)
{
    ByteReader in(data);
    if (data.size() < kHeaderSize)
        throw InvalidImageError("en-tête RLA tronqué");
    in.seek(8);
    const int left = in.s16be(), right = in.s16be(), bottom = in.s16be(), top = in.s16be();
    in.seek(20);
    const int channels = in.s16be();
    in.seek(658);
    const int channelBits = in.s16be();
    if (channels < 1 || (channelBits != 8 && channelBits != 0))
        throw InvalidImageError("canaux RLA non pris en charge");
    const std::int64_t width = std::int64_t(right) - left + 1, height = std::int64_t(top) - bottom + 1;
    checkImageSize(width, height);
    const int w = int(width), h = int(height);
    const bool colour = channels >= 3;
    in.seek(kHeaderSize);
    const std::uint8_t* offsets = in.take(std::uint64_t(h) * 4);
    bmp.reallocate(w, h, colour ? 24 : 8);
    if (!colour)
        bmp.setPalette(greyRamp(256));
    const int used = colour ? 3 : 1;
    const bool stream = streamsRows(bmp.byteSize());
    // Colour lines are decoded channel by channel and then interleaved.
    std::vector<std::uint8_t> planes(colour ? 3 * std::size_t(w) : 0);
    for (int line = 0; line < h; ++line) {
        const std::uint8_t* p = offsets + 4 * std::size_t(line);
        in.seek(std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3]);
        std::uint8_t* row = bmp.row(h - 1 - line);
        for (int c = 0; c < used; ++c) {
            const std::size_t length = in.u16be();
            decodeChannel(in.take(length), length, colour ? planes.data() + std::size_t(c) * w : row, std::size_t(w));
        }
        if (colour)
            interleaveBgr(planes.data(), planes.data() + w, planes.data() + 2 * std::size_t(w), row, std::size_t(w),
                          stream);
    }
}

Bitmap decodeRla(std::span<const std::uint8_t> data)
{
    Bitmap bmp;
    decodeRlaInto(data, bmp);
    return bmp;
}

} // namespace px
