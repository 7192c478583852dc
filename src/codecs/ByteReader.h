#pragma once
// Bounds-checked reading of a file held in memory, shared by the codec
// readers. Every read past the end raises InvalidImageError, so a reader
// written with it cannot step outside its data whatever the file says.
#include "codecs/ImageFileError.h"
#include "graphics/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace px {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t size() const { return data_.size(); }
    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return data_.size() - pos_; }
    std::span<const std::uint8_t> data() const { return data_; }

    // Moves to an absolute offset, which may be the end but not past it.
    void seek(std::uint64_t offset)
    {
        if (offset > data_.size())
            throw InvalidImageError("position hors du fichier");
        pos_ = std::size_t(offset);
    }
    void skip(std::uint64_t count)
    {
        if (count > remaining())
            throw InvalidImageError("fichier tronqué");
        pos_ += std::size_t(count);
    }
    // `count` bytes from the current position, which then moves past them.
    const std::uint8_t* take(std::uint64_t count)
    {
        const std::uint8_t* at = data_.data() + pos_;
        skip(count);
        return at;
    }

    std::uint8_t u8() { return *take(1); }
    std::int8_t s8() { return std::int8_t(u8()); }
    std::uint16_t u16le()
    {
        const std::uint8_t* p = take(2);
        return std::uint16_t(p[0] | p[1] << 8);
    }
    std::uint16_t u16be()
    {
        const std::uint8_t* p = take(2);
        return std::uint16_t(p[0] << 8 | p[1]);
    }
    std::int16_t s16be() { return std::int16_t(u16be()); }
    std::uint32_t u32le()
    {
        const std::uint8_t* p = take(4);
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
    }
    std::uint32_t u32be()
    {
        const std::uint8_t* p = take(4);
        return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | std::uint32_t(p[3]);
    }
    std::uint64_t u64be()
    {
        const std::uint64_t high = u32be();
        return high << 32 | u32be();
    }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

// Raises InvalidImageError unless width x height is a size every reader
// accepts (1..65535 a side, at most 2^28 pixels).
inline void checkImageSize(std::int64_t width, std::int64_t height)
{
    if (!Bitmap::isAcceptableSize(width, height))
        throw InvalidImageError("dimensions refusées : " + std::to_string(width) + " x " + std::to_string(height));
}

// Raises InvalidImageError when `available` bytes cannot hold what an
// image needs at the least (`needed` bytes): checked before the image is
// allocated, so that a small damaged file cannot ask for a huge one.
inline void checkEnoughData(std::uint64_t needed, std::uint64_t available)
{
    if (needed > available)
        throw InvalidImageError("données trop courtes pour l'image");
}

// Palette of `count` greys from black to white.
std::vector<Colour> greyRamp(int count);

} // namespace px
