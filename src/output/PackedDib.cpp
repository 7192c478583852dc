#include "output/PackedDib.h"

#include "codecs/ImageFileError.h"
#include "fileio/BmpFile.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace px {

namespace {
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitfields = 3;
constexpr std::size_t kFileHeaderSize = 14;

std::uint32_t u32(const void* dib, std::size_t offset)
{
    std::uint8_t b[4];
    std::memcpy(b, static_cast<const std::uint8_t*>(dib) + offset, 4);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
}
std::uint16_t u16(const void* dib, std::size_t offset)
{
    const auto* p = static_cast<const std::uint8_t*>(dib) + offset;
    return std::uint16_t(p[0] | p[1] << 8);
}

// Header size, masks and colour table: where the rows start.
std::size_t pixelOffset(const void* dib)
{
    const std::uint32_t headerSize = u32(dib, 0);
    const int bitCount = u16(dib, 14);
    const std::uint32_t compression = u32(dib, 16);
    const std::uint32_t used = u32(dib, 32);
    std::size_t colours = used;
    if (used == 0)
        colours = bitCount <= 8 ? std::size_t(1) << bitCount : 0;
    const std::size_t masks = headerSize == 40 && compression == kBitfields ? 12 : 0;
    return headerSize + masks + colours * 4;
}
} // namespace

int dibWidth(const void* dib)
{
    return std::abs(std::int32_t(u32(dib, 4)));
}

int dibHeight(const void* dib)
{
    const auto height = std::int32_t(u32(dib, 8));
    return height == INT32_MIN ? INT32_MAX : std::abs(height);
}

std::size_t packedDibSize(const void* dib)
{
    const std::uint32_t headerSize = u32(dib, 0);
    if (headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 && headerSize != 124)
        return 0;
    const int bitCount = u16(dib, 14);
    if (!Bitmap::isAcceptableSize(dibWidth(dib), dibHeight(dib)) || u32(dib, 32) > 256 || bitCount == 0 ||
        bitCount > 32)
        return 0;
    const std::uint32_t compression = u32(dib, 16);
    std::size_t pixels = 0;
    if (compression == kRgb || compression == kBitfields)
        pixels = (std::size_t(dibWidth(dib)) * std::size_t(bitCount) + 31) / 32 * 4 * std::size_t(dibHeight(dib));
    else
        pixels = u32(dib, 20); // run-length data: the header gives its length
    return pixelOffset(dib) + pixels;
}

// The bitmap reader takes files: the packed bitmap gets a file header.
Bitmap decodePackedDib(const void* dib)
{
    const std::size_t size = packedDibSize(dib);
    if (size == 0)
        throw InvalidImageError("en-tête d'image native non pris en charge");
    std::vector<std::uint8_t> file(kFileHeaderSize + size);
    const std::size_t fileSize = file.size();
    const std::size_t offset = kFileHeaderSize + pixelOffset(dib);
    const std::uint8_t header[kFileHeaderSize] = {'B',
                                                  'M',
                                                  std::uint8_t(fileSize),
                                                  std::uint8_t(fileSize >> 8),
                                                  std::uint8_t(fileSize >> 16),
                                                  std::uint8_t(fileSize >> 24),
                                                  0,
                                                  0,
                                                  0,
                                                  0,
                                                  std::uint8_t(offset),
                                                  std::uint8_t(offset >> 8),
                                                  std::uint8_t(offset >> 16),
                                                  std::uint8_t(offset >> 24)};
    std::memcpy(file.data(), header, kFileHeaderSize);
    std::memcpy(file.data() + kFileHeaderSize, dib, size);
    Bitmap bitmap = decodeBmp(file);
    bitmap.setPixelFormat(24);
    return bitmap;
}

} // namespace px
