#pragma once
// Helpers for the codec readers' tests: files assembled field by field, and
// pixels written out as text.
#include "graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace px::test {

using Bytes = std::vector<std::uint8_t>;

// A file under construction: fields appended in either byte order.
struct Builder {
    Bytes bytes;
    Builder& u8(std::initializer_list<int> values)
    {
        for (int v : values)
            bytes.push_back(std::uint8_t(v));
        return *this;
    }
    Builder& le16(int v) { return u8({v & 0xff, (v >> 8) & 0xff}); }
    Builder& be16(int v) { return u8({(v >> 8) & 0xff, v & 0xff}); }
    Builder& le32(std::uint32_t v) { return le16(int(v & 0xffff)).le16(int(v >> 16)); }
    Builder& be32(std::uint32_t v) { return be16(int(v >> 16)).be16(int(v & 0xffff)); }
    Builder& text(const std::string& s)
    {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    Builder& zeros(std::size_t n)
    {
        bytes.resize(bytes.size() + n);
        return *this;
    }
    Builder& pad(std::size_t size)
    {
        bytes.resize(size);
        return *this;
    }
    Builder& add(const Bytes& b)
    {
        bytes.insert(bytes.end(), b.begin(), b.end());
        return *this;
    }
    std::size_t size() const { return bytes.size(); }
};

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Every pixel as "rrggbb", columns separated by spaces, rows by '|'.
inline std::string hexPixels(const Bitmap& b)
{
    std::string s;
    char buffer[8];
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < b.width(); ++x) {
            const Colour c = b.pixel(x, y);
            std::snprintf(buffer, sizeof buffer, "%02x%02x%02x", redOf(c), greenOf(c), blueOf(c));
            s += (x > 0 ? " " : y > 0 ? "|" : "") + std::string(buffer);
        }
    }
    return s;
}

// A file made by hand and what its reader gives: the depth and the pixels
// as hexPixels writes them (the CodecDecode test), or a file it must refuse
// with the invalid-file error (CodecRefused).
struct DecodeCase {
    const char* name;
    Bitmap (*decode)(std::span<const std::uint8_t>);
    Bytes file;
    int bitsPerPixel;
    const char* pixels;
};

struct RefuseCase {
    const char* name;
    Bitmap (*decode)(std::span<const std::uint8_t>);
    Bytes file;
};

inline void PrintTo(const DecodeCase& d, std::ostream* os)
{
    *os << d.name;
}

inline void PrintTo(const RefuseCase& r, std::ostream* os)
{
    *os << r.name;
}

class CodecDecode : public ::testing::TestWithParam<DecodeCase> {};
class CodecRefused : public ::testing::TestWithParam<RefuseCase> {};

} // namespace px::test
