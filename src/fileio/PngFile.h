#pragma once
// PNG files through libpng.
//
// Reading gives a 24-bit bitmap whatever the file's layout: palettes, grey
// and low bit depths are expanded, 16-bit samples reduced to 8, grey made
// RGB. Pixels with alpha are blended over what the bitmap held before
// (its earlier content where it overlaps, black elsewhere): alpha 255 takes
// the file's colour, alpha 0 keeps the old pixel, alpha a in between gives
// (old * (255 - a) + a * new) div 255 per channel.
//
// Writing gives an 8-bit RGB file (RGBA when a transparent colour is given:
// alpha 0 where a pixel has that colour), zlib level 6 looking for runs
// only, every row filtered by the average of the left and upper neighbours,
// with the text entry "Software" = "Pixoran3".
#include "graphics/Bitmap.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <vector>

namespace px {

class ImageRows;

// No transparent colour (the value the save commands pass).
inline constexpr Colour kNoTransparentColour = 0x1FFFFFFF;

// Decodes into `bmp`, blending over its previous content as described
// above; `bmp` ends up 24-bit at the file's size. Throws InvalidImageError.
void decodePngInto(std::span<const std::uint8_t> data, Bitmap& bmp);
Bitmap decodePng(std::span<const std::uint8_t> data);
// The same read from the file a chunk at a time (no copy of the whole file).
Bitmap readPngFile(const std::filesystem::path& path);
void loadPngFile(const std::filesystem::path& path, Bitmap& bmp);

// Encodes to an open stream. Throws FileWriteError ("Error Writing PNG File!").
void encodePng(const Bitmap& bmp, std::FILE* stream, Colour transparent = kNoTransparentColour);
std::vector<std::uint8_t> encodePng(const Bitmap& bmp, Colour transparent = kNoTransparentColour);
// Encodes into `out`, which ends up the file's length; its memory is reused,
// so a caller encoding repeatedly allocates once. Emptied on failure.
void encodePng(const Bitmap& bmp, std::vector<std::uint8_t>& out, Colour transparent = kNoTransparentColour);
// Writes through a temporary file renamed over the target. A file that
// cannot be created raises FileWriteError "Error Opening File <path>!", a
// failure while writing "Error Writing PNG File!", each followed by the
// system's reason in parentheses.
void savePngFile(const std::filesystem::path& path, const Bitmap& bmp, Colour transparent = kNoTransparentColour);
// The same from 24-bit rows given one at a time (top row first), without a
// transparent colour. Throws BitmapError for rows of another depth.
void savePngFile(const std::filesystem::path& path, ImageRows& rows);

} // namespace px
