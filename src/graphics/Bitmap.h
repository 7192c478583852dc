#pragma once
// The document bitmap: a device-independent bitmap of 1, 4, 8 or 24 bits per
// pixel. Rows are stored top row first, each padded to a multiple of 4 bytes;
// 24-bit pixels are blue, green, red; indexed formats carry a palette.
#include "graphics/Colour.h"
#include "graphics/PixelBuffer.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace px {

// Raised for sizes the program refuses to allocate.
class BitmapError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Bitmap {
public:
    // Images larger than this are refused by every reader and by resizing.
    static constexpr int kMaxSide = 65535;
    static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 28;

    // True for 1 <= w, h <= kMaxSide and w * h <= kMaxPixels.
    static bool isAcceptableSize(std::int64_t width, std::int64_t height);
    static bool isValidDepth(int bitsPerPixel);
    // Bytes in one stored row: width * bpp bits rounded up to 4 bytes.
    static std::size_t strideFor(int width, int bitsPerPixel);

    // The palettes given to a bitmap converted to an indexed format:
    // 1 bit: black, white. 4 bits: the 16 standard colours in the usual order
    // (black, maroon, green, olive, navy, purple, teal, silver, grey, red,
    // lime, yellow, blue, fuchsia, aqua, white). 8 bits: the 6 x 6 x 6 colour
    // cube at levels 0, 51, ..., 255 (index 36 r + 6 g + b) followed by 40
    // greys, eight between each pair of neighbouring cube greys.
    static const std::vector<Colour>& standardPalette(int bitsPerPixel);

    Bitmap() = default;
    // A zero-filled bitmap (black, or palette index 0). Indexed formats get
    // their standard palette. Throws BitmapError for a depth other than
    // 1, 4, 8, 24 or a size over the limits; 0 x 0 is allowed (empty).
    Bitmap(int width, int height, int bitsPerPixel = 24);

    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return bpp_; }
    bool isEmpty() const { return width_ == 0 || height_ == 0; }
    bool isIndexed() const { return bpp_ < 24; }
    std::size_t stride() const { return stride_; }
    std::size_t byteSize() const { return stride_ * std::size_t(height_); }

    std::uint8_t* bits() { return pixels_.data(); }
    const std::uint8_t* bits() const { return pixels_.data(); }
    // Row y, 0 at the top. No bounds check: callers iterate 0..height-1.
    std::uint8_t* row(int y) { return pixels_.data() + stride_ * std::size_t(y); }
    const std::uint8_t* row(int y) const { return pixels_.data() + stride_ * std::size_t(y); }

    const std::vector<Colour>& palette() const { return palette_; }
    // At most 2^bpp entries are kept; indices past the end read as black.
    void setPalette(std::vector<Colour> palette);

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // Colour of a pixel (through the palette for indexed formats); black
    // outside the bitmap.
    Colour pixel(int x, int y) const;
    // Sets a pixel; indexed formats store the nearest palette entry. Ignored
    // outside the bitmap.
    void setPixel(int x, int y, Colour colour);
    int pixelIndex(int x, int y) const;
    void setPixelIndex(int x, int y, int index);

    // Nearest palette entry by squared RGB distance, lowest index on ties.
    int nearestIndex(Colour colour) const;

    // Every pixel := colour.
    void fill(Colour colour);

    // Changes width and height keeping the top-left pixels; new area is black.
    void resize(int width, int height);

    // Makes the bitmap width x height at the given depth with the standard
    // palette, reusing its memory when it is large enough (scratch and work
    // bitmaps). Pixel contents are unspecified afterwards.
    void reallocate(int width, int height, int bitsPerPixel = 24);

    // Converts to another depth: to 24 bits exactly, to 1, 4 or 8 bits with
    // the standard palette, each pixel mapped to its nearest palette colour.
    void setPixelFormat(int bitsPerPixel);

    // Same size, depth, palette (indexed) and pixels; row padding ignored.
    bool operator==(const Bitmap& other) const;

    void swap(Bitmap& other) noexcept;

private:
    int width_ = 0;
    int height_ = 0;
    int bpp_ = 24;
    std::size_t stride_ = 0;
    PixelBuffer pixels_;
    std::vector<Colour> palette_;
};

// `source` itself when it has 24 bits, otherwise a 24-bit copy made in
// `storage`: for writers and routines that read 24-bit rows of any bitmap.
const Bitmap& viewAs24(const Bitmap& source, Bitmap& storage);

} // namespace px
