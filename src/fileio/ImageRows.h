#pragma once
// An image as a file writer takes it: its size, depth and palette, and its
// rows one at a time, so that the rows may be made as they are written
// instead of existing all at once.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <vector>

namespace px {

class ImageRows {
public:
    ImageRows(int width, int height, int bitsPerPixel, std::vector<Colour> palette = {})
        : width_(width), height_(height), bpp_(bitsPerPixel), palette_(std::move(palette))
    {
    }
    virtual ~ImageRows() = default;
    ImageRows(const ImageRows&) = delete;
    ImageRows& operator=(const ImageRows&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return bpp_; }
    bool isEmpty() const { return width_ == 0 || height_ == 0; }
    bool isIndexed() const { return bpp_ < 24; }
    // Bytes of a row as a Bitmap of this size and depth stores it.
    std::size_t stride() const { return Bitmap::strideFor(width_, bpp_); }
    const std::vector<Colour>& palette() const { return palette_; }

    // Row y (0 at the top), laid out as a Bitmap row of this depth; only its
    // pixels' bits count. Valid until the next call. Rows may be asked for
    // in any order (writers go down or up the image).
    virtual const std::uint8_t* row(int y) = 0;

private:
    int width_;
    int height_;
    int bpp_;
    std::vector<Colour> palette_;
};

// The rows of a bitmap as they are.
class BitmapRows final : public ImageRows {
public:
    explicit BitmapRows(const Bitmap& bmp)
        : ImageRows(bmp.width(), bmp.height(), bmp.bitsPerPixel(), bmp.palette()), bmp_(bmp)
    {
    }
    const std::uint8_t* row(int y) override { return bmp_.row(y); }

private:
    const Bitmap& bmp_;
};

} // namespace px
