#pragma once
// The program's TIFF writer: little-endian, one uncompressed strip, 877/10
// pixels per inch, Software "Talpe soft" (10 characters, no terminating
// zero). 1-bit images are written black-is-zero; 4- and 8-bit images with
// their colour map (4-bit images narrower than 4 pixels are written as 8-bit
// so that they keep a width; wider ones lose their last width % 4 columns);
// 24-bit images as RGB. Rows are written top row first without padding, and
// the directory comes last.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace px {

class ImageRows;

inline constexpr char kTiffSoftware[] = "Talpe soft";

// Throws BitmapError for an empty bitmap.
void encodeTiff(const Bitmap& bmp, std::vector<std::uint8_t>& out);
// Writes through a temporary file renamed over the target. Throws FileWriteError.
void saveTiffFile(const std::filesystem::path& path, const Bitmap& bmp);
// The same from rows given one at a time (top row first), written as they
// come; a 4-bit image must be at least 4 pixels wide.
void saveTiffFile(const std::filesystem::path& path, ImageRows& rows);

} // namespace px
