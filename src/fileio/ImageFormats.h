#pragma once
// Choosing a reader or a writer by file name.
//
// Opening takes the extension with its dot, upper-cased: .BMP, .GIF, the JPEG
// names, .PNG, .TGA, .TIF and .TIFF have their own readers; any other name is
// looked up without its dot, case-blind, in the registered-format list,
// searched from the last registration backwards. Registered formats whose
// decoder is not available yet raise InvalidImageError, as does a name
// without extension or with an unknown one.
//
// Saving takes the upper-cased extension too: BMP, the four JPEG names, PNG,
// TGA, TIF and TIFF are written; GIF and anything else write nothing (the
// caller tells the user about GIF).
#include "graphics/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace px {

// One entry of the registered-format list: extension without dot (lower
// case), the description shown to the user, the name of the class that reads
// it, and its decoder (null while the format has none).
struct RegisteredFormat {
    std::string_view extension;
    std::string_view description;
    std::string_view className;
    Bitmap (*decode)(std::span<const std::uint8_t>);
};

// In registration order; lookups search it from the end.
const std::vector<RegisteredFormat>& registeredFormats();
// The entry used for `extension` (without dot, any case), or null.
const RegisteredFormat* findRegisteredFormat(std::string_view extension);

// ".JpG" from "photo.JpG", upper-cased: ".JPG"; empty without a dot.
std::string upperExtension(const std::filesystem::path& path);

// The whole content of a file. Throws InvalidImageError when it cannot be read.
std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path);

// Reads an image by its name. Throws InvalidImageError (or BitmapError).
// A PCX file that is not valid gives an empty bitmap; a Targa (.tga) file
// with an unknown image type or depth gives a 1 x 1 bitmap.
Bitmap readImageFile(const std::filesystem::path& path);

enum class SaveFormat { None, Bmp, Jpeg, Png, Targa, Tiff, Gif };

struct SaveOptions {
    int jpegQuality = 90;      // 1..99
    bool progressive = false;  // JPEG: progressive instead of baseline
};

// The writer for a name. Gif means: refuse with the program's message.
SaveFormat saveFormatFor(const std::filesystem::path& path);
// The name the file is really written under: ".TIF" and ".TIFF" names get
// their extension in lower case; other names are unchanged.
std::filesystem::path savedPathFor(const std::filesystem::path& path);

// Writes `bmp` in the format of the name's extension, to savedPathFor(path).
// Writes nothing for GIF and unknown extensions. A failed write leaves any
// previous file intact. Throws FileWriteError, BitmapError for an empty bitmap.
void writeImageFile(const std::filesystem::path& path, const Bitmap& bmp, const SaveOptions& options);

} // namespace px
