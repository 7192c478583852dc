#pragma once
// JPEG files through libjpeg.
//
// Reading gives a 24-bit bitmap for colour, grey and CMYK/YCCK files (Adobe
// inverted CMYK is assumed for four-channel files). A file whose scan data
// stops early decodes as far as the data goes, the rest grey, as libjpeg
// does; anything libjpeg refuses raises InvalidImageError.
//
// Writing takes a quality of 1 to 99 and baseline or progressive encoding;
// indexed bitmaps are written through their colours.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <vector>

namespace px {

class ImageRows;

struct JpegOptions {
    int quality = 90; // clamped to 1..99
    bool progressive = false;
};

Bitmap decodeJpeg(std::span<const std::uint8_t> data);
// The same, reusing `bmp`'s memory (repeated loads into one work bitmap);
// its previous content does not matter. After a failure `bmp` holds an
// unspecified image.
void decodeJpegInto(std::span<const std::uint8_t> data, Bitmap& bmp);
Bitmap readJpegFile(const std::filesystem::path& path);

// Throws FileWriteError when libjpeg fails, BitmapError for an empty bitmap.
void encodeJpeg(const Bitmap& bmp, const JpegOptions& options, std::FILE* stream);
std::vector<std::uint8_t> encodeJpeg(const Bitmap& bmp, const JpegOptions& options);
// Encodes into `out`, which ends up the file's length; its memory is reused,
// so a caller encoding repeatedly allocates once. Emptied on failure.
void encodeJpeg(const Bitmap& bmp, const JpegOptions& options, std::vector<std::uint8_t>& out);
// Writes through a temporary file renamed over the target.
void writeJpegFile(const std::filesystem::path& path, const Bitmap& bmp, const JpegOptions& options);
// The same from 24-bit rows given one at a time (top row first). Throws
// BitmapError for rows of another depth.
void writeJpegFile(const std::filesystem::path& path, ImageRows& rows, const JpegOptions& options);

} // namespace px
