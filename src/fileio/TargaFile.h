#pragma once
// Truevision Targa files.
//
// Reading accepts image types 1, 2, 3 (colour-mapped, true-colour, black and
// white) and their run-length forms 9, 10, 11, at 1, 8, 15, 16, 24 or 32 bits
// per pixel, stored bottom-up or top-down, left to right or right to left. 1
// and 8-bit images stay indexed; 15, 16, 24 and 32-bit images become 24-bit
// (alpha dropped; 15-bit pixels have the 16-bit layout). Colour maps and the
// default grey ramp pass through a 6-bit stage (each channel keeps its top
// six bits), as the program always did, so an 8-bit image shows colour c as
// (c >> 2) * 4.
//
// A header of another image type or depth is not an error: the result is a
// 1 x 1 image. A truncated file, a zero or oversized image, or a 4-bit image
// raise InvalidImageError. Run-length packets that cross a row end carry on
// into the next row.
//
// Writing produces image type 1 (colour map of 256 24-bit entries, one index
// byte per pixel) or type 2 (24 bits, B G R), top row first, with a 46-byte
// identification text.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace px {

class ImageRows;

inline constexpr int kTargaColourMapped = 1;
inline constexpr int kTargaTrueColour = 2;

// The identification field every written file carries (46 bytes, ending in 26).
inline constexpr char kTargaIdentification[] = "Quillmark(LUM-TARN) produced this TARGA file!\x1a";

Bitmap decodeTarga(std::span<const std::uint8_t> data);
// The same, reusing `bmp`'s memory (repeated loads into one work bitmap);
// its previous content does not matter. After a failure `bmp` holds an
// unspecified image.
void decodeTargaInto(std::span<const std::uint8_t> data, Bitmap& bmp);
Bitmap loadTargaFile(const std::filesystem::path& path);

// `imageType` is kTargaColourMapped or kTargaTrueColour. A colour-mapped file
// needs an indexed bitmap; a 24-bit bitmap is always written as true colour.
void encodeTarga(const Bitmap& bmp, int imageType, std::vector<std::uint8_t>& out);
// Writes through a temporary file renamed over the target. Throws FileWriteError.
void saveTargaFile(const std::filesystem::path& path, const Bitmap& bmp, int imageType);
// The same from rows given one at a time (top row first), written as they
// come.
void saveTargaFile(const std::filesystem::path& path, ImageRows& rows, int imageType);

} // namespace px
