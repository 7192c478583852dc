#pragma once
// ZSoft PCX files.
//
// Reading accepts version 1 to 5 run-length files with one plane of 1, 4 or
// 8 bits (8 bits: the 769-byte palette trailer, marker 12, is required) or
// three planes of 8 bits. Palette information 2 gives a grey ramp. A file
// that is not valid gives an empty bitmap, not an error: that is how the
// program has always shown a bad PCX. Runs continue across plane and line
// ends; bytes past the last line are ignored and data that stops early
// leaves the remaining lines black (index 0), as do the columns past a
// line length shorter than the image.
//
// Writing produces a version 5 file, each plane line run-length encoded by
// itself, and for 8-bit images the palette trailer.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace px {

// Format codes of a decoded or written image.
enum class PcxFormat : std::uint8_t {
    Mono = 0,
    MonoGrey = 1,
    Colour16 = 2,
    Grey16 = 3,
    Colour256 = 4,
    Grey256 = 5,
    TrueColour = 6,
    FourPlanes = 7,
    None = 8,
};

struct PcxImage {
    Bitmap bitmap; // empty when the file was not valid
    PcxFormat format = PcxFormat::None;
};

PcxImage decodePcxImage(std::span<const std::uint8_t> data);
Bitmap decodePcx(std::span<const std::uint8_t> data);
// A file that cannot be read raises InvalidImageError; one that is not a
// valid PCX gives an empty bitmap.
Bitmap readPcxFile(const std::filesystem::path& path);

// Appends the run-length encoding of one plane line to `out`.
void encodePcxLine(const std::uint8_t* line, std::size_t length, std::vector<std::uint8_t>& out);
// Throws BitmapError for an empty bitmap.
std::vector<std::uint8_t> encodePcx(const Bitmap& bmp);
// Writes through a temporary file renamed over the target. Throws FileWriteError.
void writePcxFile(const std::filesystem::path& path, const Bitmap& bmp);

} // namespace px
