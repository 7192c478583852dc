#include "graphics/PixelBuffer.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define PX_HAS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define PX_HAS_ASAN 1
#endif
#endif

namespace px {

namespace {

// Under the address sanitizer, the bytes between the buffer's size and its
// rounded allocation are marked unaddressable, so that a routine reading or
// writing past an image's last row is caught even in a small image.
void guardSlack([[maybe_unused]] std::uint8_t* data, [[maybe_unused]] std::size_t size,
                [[maybe_unused]] std::size_t capacity)
{
#ifdef PX_HAS_ASAN
    if (data) {
        const std::size_t rounded = (capacity + 63) / 64 * 64;
        ASAN_UNPOISON_MEMORY_REGION(data, rounded);
        ASAN_POISON_MEMORY_REGION(data + size, rounded - size);
    }
#endif
}

constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kSmallAlign = 64;

std::uint8_t* allocate(std::size_t size)
{
    if (size == 0)
        return nullptr;
    const bool large = size >= kHugePage;
    const std::size_t align = large ? kHugePage : kSmallAlign;
    const std::size_t rounded = (size + align - 1) / align * align;
    void* p = std::aligned_alloc(align, rounded);
    if (!p)
        throw std::bad_alloc();
    if (large)
        madvise(p, rounded, MADV_HUGEPAGE);
    return static_cast<std::uint8_t*>(p);
}

} // namespace

PixelBuffer::PixelBuffer(std::size_t size) : data_(allocate(size)), size_(size), capacity_(size)
{
    if (size)
        std::memset(data_, 0, size);
    guardSlack(data_, size_, capacity_);
}

PixelBuffer::~PixelBuffer() { release(); }

PixelBuffer::PixelBuffer(const PixelBuffer& other) : data_(allocate(other.size_)), size_(other.size_), capacity_(other.size_)
{
    if (size_)
        std::memcpy(data_, other.data_, size_);
    guardSlack(data_, size_, capacity_);
}

PixelBuffer& PixelBuffer::operator=(const PixelBuffer& other)
{
    if (this != &other) {
        resize(other.size_, false);
        if (size_)
            std::memcpy(data_, other.data_, size_);
    }
    return *this;
}

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0))
{
}

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept
{
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

void PixelBuffer::resize(std::size_t size, bool zero)
{
    if (size > capacity_) {
        std::uint8_t* fresh = allocate(size);
        release();
        data_ = fresh;
        capacity_ = size;
    }
    size_ = size;
    guardSlack(data_, size_, capacity_);
    if (zero && size)
        std::memset(data_, 0, size);
}

void PixelBuffer::release()
{
    std::free(data_);
    data_ = nullptr;
    size_ = capacity_ = 0;
}

} // namespace px
