#pragma once
// The bytes of an image file as a reader sees them: either held in memory
// already, or read from the open file only where and when the reader asks,
// straight into the reader's buffer (the bitmap's rows, for uncompressed
// data). Reading a large file that way needs no copy of the whole file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace px {

class ByteSource {
public:
    // The largest file any reader accepts: 2^28 pixels of 16-bit RGBA.
    static constexpr std::uint64_t kLargestFile = std::uint64_t(4) << 30;

    explicit ByteSource(std::span<const std::uint8_t> memory);
    // Opens a regular file for reading. Throws InvalidImageError when it
    // cannot be opened, is not a regular file or is larger than kLargestFile.
    explicit ByteSource(const std::filesystem::path& path);
    ~ByteSource();
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;

    std::uint64_t size() const { return size_; }
    // The `n` bytes at `offset` into `buffer`; false when the file holds
    // fewer (the buffer's content is then unspecified) or a read fails.
    bool read(std::uint64_t offset, void* buffer, std::size_t n) const;
    // The bytes at [offset, offset + n) where they are in memory already;
    // null for a file, or a range beyond the end.
    const std::uint8_t* view(std::uint64_t offset, std::size_t n) const;

private:
    const std::uint8_t* memory_ = nullptr;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

} // namespace px
