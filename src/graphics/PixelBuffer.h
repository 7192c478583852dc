#pragma once
// Storage for pixel rows. Large buffers are 2 MiB aligned and asked to use
// transparent huge pages: a fresh multi-megabyte allocation otherwise costs
// several memcpy times in page faults alone.
#include <cstddef>
#include <cstdint>

namespace px {

class PixelBuffer {
public:
    PixelBuffer() = default;
    // `size` bytes, zero-filled.
    explicit PixelBuffer(std::size_t size);
    ~PixelBuffer();
    PixelBuffer(const PixelBuffer& other);
    PixelBuffer& operator=(const PixelBuffer& other);
    PixelBuffer(PixelBuffer&& other) noexcept;
    PixelBuffer& operator=(PixelBuffer&& other) noexcept;

    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

    // Makes the buffer `size` bytes; keeps its memory when it is already
    // large enough (scratch buffers and undo slots are reused this way).
    // Contents are unspecified afterwards unless `zero` is set.
    void resize(std::size_t size, bool zero = true);

private:
    void release();
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace px
