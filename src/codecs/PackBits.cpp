#include "codecs/PackBits.h"

#include "codecs/ShortRuns.h"

namespace px {

bool unpackBits(const std::uint8_t* src, std::size_t srcSize, std::uint8_t* dst, std::size_t dstSize)
{
    std::size_t in = 0, out = 0;
    while (out < dstSize) {
        if (in >= srcSize)
            return false;
        const int n = std::int8_t(src[in++]);
        if (n >= 0) {
            const std::size_t count = std::size_t(n) + 1;
            if (count > srcSize - in || count > dstSize - out)
                return false;
            copyRun(dst + out, src + in, count);
            in += count;
            out += count;
        } else if (n != -128) {
            const std::size_t count = std::size_t(1 - n);
            if (in >= srcSize || count > dstSize - out)
                return false;
            fillRun(dst + out, src[in++], count);
            out += count;
        }
    }
    return true;
}

} // namespace px
