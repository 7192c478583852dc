#pragma once
// Windows and OS/2 bitmap files (.bmp, .dib, .rle).
//
// Reading accepts the file header followed by an OS/2 1.x core header (12
// bytes, 3-byte palette entries), an OS/2 2.x header (16 to 64 bytes), or a
// Windows info header (40, 52, 56, 108 or 124 bytes). 1, 4, 8 and 24-bit
// images keep their depth and palette; 2-bit images become 4-bit with the
// same indices; 16 and 32-bit images (default 5-5-5 / 8-8-8 layouts or
// explicit channel masks) become 24-bit, every channel scaled exactly to
// 0..255 and alpha dropped. RLE8 and RLE4 streams decode to 8 and 4 bits.
//
// Palettes: the header's colour count (0 meaning 2^bpp, more than 2^bpp read
// as 2^bpp) is read from the colour table; entries that the pixel data offset
// cuts off, and entries up to 2^bpp, are black. A declared colour table that
// would run past the end of the file is refused.
//
// RLE streams are decoded leniently, as damaged files are common: runs that
// pass the right edge are cut at it, moves below the last row end the image,
// and a stream that stops early (no end-of-bitmap mark, cut absolute run)
// leaves the rest of the image at index 0. Uncompressed pixel data must be
// complete up to the last pixel (the final row's padding may be missing).
//
// Writing produces an uncompressed bottom-up file with a 40-byte info
// header in the bitmap's own depth, a full 2^bpp colour table (black past
// the bitmap's palette, colour count 0) and a resolution of 96 dpi (3780
// pixels per metre), so other programs show the image at screen size.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace px {

class ImageRows;

// Decodes a complete BMP file held in memory. Throws InvalidImageError.
Bitmap decodeBmp(std::span<const std::uint8_t> data);

// Reads and decodes a BMP file. A file that cannot be read at all also
// raises InvalidImageError.
Bitmap readBmpFile(const std::filesystem::path& path);

// Encodes a bitmap as a BMP file in memory. `out` is resized to the file's
// length and keeps its capacity, so a caller encoding repeatedly reuses it.
// Throws BitmapError for an empty bitmap.
void encodeBmp(const Bitmap& bmp, std::vector<std::uint8_t>& out);
std::vector<std::uint8_t> encodeBmp(const Bitmap& bmp);

// Writes a bitmap as a BMP file through a temporary file renamed over the
// target, so a failed save leaves the old file intact. Throws FileWriteError
// when the file cannot be written, BitmapError for an empty bitmap.
void writeBmpFile(const std::filesystem::path& path, const Bitmap& bmp);
// The same from rows given one at a time (bottom row first).
void writeBmpFile(const std::filesystem::path& path, ImageRows& rows);

} // namespace px
