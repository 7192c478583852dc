#pragma once
// Copies and fills for the runs of run-length formats: a few bytes to a
// few hundred. Done inline in 16-byte moves (the last one overlapping the
// one before), exactly `n` bytes, nothing written or read past them. A
// library call, or the string instructions a compiler emits for a copy
// whose size it knows to be small, costs more than such a run itself.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace px {

// dst[0..n) = src[0..n); the ranges do not overlap.
inline void copyRun(std::uint8_t* dst, const std::uint8_t* src, std::size_t n)
{
    if (n >= 16) {
        for (std::size_t i = 0; i + 16 < n; i += 16)
            std::memcpy(dst + i, src + i, 16);
        std::memcpy(dst + n - 16, src + n - 16, 16);
    } else if (n >= 8) {
        std::uint64_t a, b;
        std::memcpy(&a, src, 8);
        std::memcpy(&b, src + n - 8, 8);
        std::memcpy(dst, &a, 8);
        std::memcpy(dst + n - 8, &b, 8);
    } else if (n >= 4) {
        std::uint32_t a, b;
        std::memcpy(&a, src, 4);
        std::memcpy(&b, src + n - 4, 4);
        std::memcpy(dst, &a, 4);
        std::memcpy(dst + n - 4, &b, 4);
    } else if (n > 0) {
        dst[0] = src[0];
        dst[n / 2] = src[n / 2];
        dst[n - 1] = src[n - 1];
    }
}

// The bytes a copy by copyRunOver may read and write past its `n`.
constexpr std::size_t kRunSlack = 128;

// dst[0..n) = src[0..n), in 128-byte steps that may read and write up to
// kRunSlack bytes past n, for buffers with that much room after them. Most
// runs then take a single step whatever their length, where exact copies
// take a step count that varies from run to run and cannot be predicted.
inline void copyRunOver(std::uint8_t* dst, const std::uint8_t* src, std::size_t n)
{
    std::size_t i = 0;
    do {
        std::memcpy(dst + i, src + i, 128);
        i += 128;
    } while (i < n);
}

// dst[0..n) = value.
inline void fillRun(std::uint8_t* dst, std::uint8_t value, std::size_t n)
{
    if (n >= 16) {
        std::uint8_t chunk[16];
        std::memset(chunk, value, 16);
        for (std::size_t i = 0; i + 16 < n; i += 16)
            std::memcpy(dst + i, chunk, 16);
        std::memcpy(dst + n - 16, chunk, 16);
    } else if (n >= 8) {
        const std::uint64_t v = value * 0x0101010101010101ull;
        std::memcpy(dst, &v, 8);
        std::memcpy(dst + n - 8, &v, 8);
    } else if (n >= 4) {
        const std::uint32_t v = value * 0x01010101u;
        std::memcpy(dst, &v, 4);
        std::memcpy(dst + n - 4, &v, 4);
    } else if (n > 0) {
        dst[0] = value;
        dst[n / 2] = value;
        dst[n - 1] = value;
    }
}

} // namespace px
