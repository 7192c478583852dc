#pragma once
// TIFF reading through libtiff: the first image of the file.
//
// Bilevel and grey images of 1 bit become 1-bit bitmaps, palette images of
// 1, 4 or 8 bits keep their indices and colour map, when they are stored in
// strips of contiguous samples. Every other layout that libtiff can decode
// (tiles, planes, 16-bit samples, CMYK, YCbCr, JPEG, LZW, ...) becomes a
// 24-bit bitmap, alpha dropped. libtiff's messages are silenced; a reading
// error of libtiff (the file cut short, a damaged directory, colour map,
// strip or code stream) raises InvalidImageError even where libtiff would
// carry on with a partial image; its warnings alone do not.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <span>

namespace px {

class ByteSource;

Bitmap decodeTiff(std::span<const std::uint8_t> data);
// The same, reusing `bmp`'s memory (repeated loads into one work bitmap);
// its previous content does not matter. After a failure `bmp` holds an
// unspecified image.
void decodeTiffInto(std::span<const std::uint8_t> data, Bitmap& bmp);
void decodeTiffInto(const ByteSource& data, Bitmap& bmp);
// The same read from the file as libtiff asks for its parts, with
// uncompressed rows read straight into the bitmap: no copy of the whole file.
Bitmap readTiffFile(const std::filesystem::path& path);

} // namespace px
