#include "codecs/RowStore.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace px {

void storeRow(std::uint8_t* dst, const std::uint8_t* src, std::size_t n, bool stream)
{
#if defined(__x86_64__)
    if (stream && n >= 64) {
        // Bytes up to the first 16-byte boundary of dst, whole 16-byte
        // blocks streamed, then the rest.
        const std::size_t head = (16 - reinterpret_cast<std::uintptr_t>(dst) % 16) % 16;
        std::memcpy(dst, src, head);
        std::size_t i = head;
        for (; i + 16 <= n; i += 16)
            _mm_stream_si128(reinterpret_cast<__m128i*>(dst + i),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)));
        _mm_sfence();
        std::memcpy(dst + i, src + i, n - i);
        return;
    }
#else
    (void)stream;
#endif
    std::memcpy(dst, src, n);
}

} // namespace px
