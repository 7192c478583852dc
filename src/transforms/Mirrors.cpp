#include "transforms/Mirrors.h"

#include "graphics/Canvas.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace px {

namespace {

void reversePixelsScalar(const std::uint8_t* src, std::uint8_t* dst, int from, int width)
{
    const std::uint8_t* in = src + std::size_t(width - 1 - from) * 3;
    std::uint8_t* out = dst + std::size_t(from) * 3;
    for (int x = from; x < width; ++x, in -= 3, out += 3) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
    }
}

#if defined(__x86_64__)
bool hasSsse3()
{
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    return ssse3;
}

// Four pixels (12 bytes) at a time: a 16-byte load that ends with the four
// source pixels, a shuffle that reverses them, and a 16-byte store whose
// last 4 bytes the next step overwrites. Both stay inside the row: the
// loop stops 6 pixels before its end and the rest goes pixel by pixel.
__attribute__((target("ssse3"))) int reversePixelsSsse3(const std::uint8_t* src, std::uint8_t* dst, int width)
{
    const __m128i order = _mm_setr_epi8(13, 14, 15, 10, 11, 12, 7, 8, 9, 4, 5, 6, -1, -1, -1, -1);
    int x = 0;
    for (; x + 6 <= width; x += 4) {
        const std::uint8_t* in = src + std::size_t(width - 4 - x) * 3 - 4;
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + std::size_t(x) * 3), _mm_shuffle_epi8(v, order));
    }
    return x;
}
#endif

} // namespace

void reversePixels(const std::uint8_t* src, std::uint8_t* dst, int width)
{
    int done = 0;
#if defined(__x86_64__)
    if (hasSsse3())
        done = reversePixelsSsse3(src, dst, width);
#endif
    reversePixelsScalar(src, dst, done, width);
}

void MirrorLeftRight(const Bitmap& source, Bitmap& target)
{
    for (int y = 0; y < source.height(); ++y)
        reversePixels(source.row(y), target.row(y), source.width());
}

void MirrorTopBottom(const Bitmap& source, Bitmap& target)
{
    const int h = source.height();
    const std::size_t bytes = std::size_t(source.width()) * 3;
    for (int y = 0; y < h; ++y)
        std::memcpy(target.row(y), source.row(h - 1 - y), bytes);
}

void MirrorDouble(const Bitmap& source, Bitmap& target, MirrorDoubling doubling)
{
    const int w = source.width(), h = source.height();
    const int nw = doubling == MirrorDoubling::Down ? w : 2 * w;
    const int nh = doubling == MirrorDoubling::Right ? h : 2 * h;
    target.reallocate(nw, nh, 24);
    Canvas canvas(target);
    const Rect whole{0, 0, w, h};
    // The unchanged image keeps its own size on an axis that is not
    // doubled. A destination rectangle given backwards on an axis receives
    // a copy mirrored on that axis: (NW - 1, ..., NW div 2 - 1, ...) covers
    // the columns NW div 2 .. NW - 1 from right to left.
    const int hw = doubling == MirrorDoubling::Down ? nw : nw / 2;
    const int hh = doubling == MirrorDoubling::Right ? nh : nh / 2;
    canvas.stretchCopy({0, 0, hw, hh}, source, whole);
    if (doubling != MirrorDoubling::Down)
        canvas.stretchCopy({nw - 1, 0, hw - 1, hh}, source, whole);
    if (doubling != MirrorDoubling::Right)
        canvas.stretchCopy({0, nh - 1, hw, hh - 1}, source, whole);
    if (doubling == MirrorDoubling::Both)
        canvas.stretchCopy({nw - 1, nh - 1, hw - 1, hh - 1}, source, whole);
}

} // namespace px
