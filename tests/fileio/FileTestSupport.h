#pragma once
// Helpers shared by the file format tests: byte buffers, little-endian
// fields, whole-file reads and writes, and indices written out as text.
#include "graphics/Bitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace px::test {

using Bytes = std::vector<std::uint8_t>;

inline void putLE(Bytes& b, std::size_t at, std::uint32_t v, int bytes = 4)
{
    for (int i = 0; i < bytes; ++i)
        b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes readAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::filesystem::path& p, const Bytes& data)
{
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

// Everything `write` puts into a memory stream.
inline Bytes throughStream(const std::function<void(std::FILE*)>& write)
{
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* f = open_memstream(&buffer, &size);
    write(f);
    std::fclose(f);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// Palette indices, one hexadecimal digit a pixel, rows separated by '|'.
inline std::string indicesOf(const Bitmap& b)
{
    std::string s;
    for (int y = 0; y < b.height(); ++y) {
        if (y > 0)
            s += '|';
        for (int x = 0; x < b.width(); ++x)
            s += "0123456789abcdef"[b.pixelIndex(x, y) & 15];
    }
    return s;
}

// The largest difference of any channel between two images of one size.
inline int largestDifference(const Bitmap& a, const Bitmap& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const Colour p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(redOf(p) - redOf(q)), std::abs(greenOf(p) - greenOf(q)),
                              std::abs(blueOf(p) - blueOf(q))});
        }
    return worst;
}

inline std::size_t fileCount(const std::filesystem::path& dir)
{
    return std::size_t(std::distance(std::filesystem::directory_iterator(dir), {}));
}

} // namespace px::test
