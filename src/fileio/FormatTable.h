#pragma once
// The format table: the one place in the program that knows file
// extensions. Two lists live here.
//
// The registered-format list is the process-wide registration of graphic
// classes, in registration order and with its duplicates; a lookup searches
// it from the last registration backwards. A class whose decoder is not
// written yet has a null decoder: giving it one is all a new read-only
// format needs.
//
// The file formats are the extensions the program handles itself, one row
// each, in the order of the open filter's "all supported files" pattern
// list: the row holds the reader of "Ouvrir..." (null: the registered list
// decides), the writer (null: nothing is saved), the text that refuses a
// save, whether the row has its own entry in the file dialogs' filters, and
// how "&Restaurer..." reads the file back. Every other name behaves as the
// row with an empty extension: registered list, no writer, default restore.
//
// A third list gives the type text that "&Informations..." shows for a
// file, by extension.
//
// Extensions are compared case-blind, without their dot, from the last dot
// of the file name.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace px {

class ImageRows;

// Decodes a whole file held in memory. Throws InvalidImageError.
using ImageDecoder = Bitmap (*)(std::span<const std::uint8_t>);
// The same for formats whose image also needs a file beside it (found from
// the file's name), such as a palette file.
using NamedImageDecoder = Bitmap (*)(std::span<const std::uint8_t>, const std::filesystem::path&);
// Reads an image file by name, taking from the file only the parts it needs
// when it needs them (no copy of the whole file). Throws InvalidImageError.
using ImageFileReader = Bitmap (*)(const std::filesystem::path&);

struct SaveOptions {
    int jpegQuality = 90;     // 1..99
    bool progressive = false; // JPEG: progressive instead of baseline
};

// Writes a bitmap to a file, atomically. Throws FileWriteError, BitmapError.
using ImageWriter = void (*)(const std::filesystem::path&, const Bitmap&, const SaveOptions&);
// The same file from 24-bit rows given one at a time, written as they come.
using ImageRowsWriter = void (*)(const std::filesystem::path&, ImageRows&, const SaveOptions&);

// One entry of the registered-format list: extension without dot (lower
// case), the description shown to the user, the name of the class that reads
// it, and its decoder (null while the format has none). A format that reads
// a file beside the image also has a named decoder, which loads by file name
// use instead; `decode` then reads the image without that file.
struct RegisteredFormat {
    std::string_view extension;
    std::string_view description;
    std::string_view className;
    ImageDecoder decode;
    NamedImageDecoder decodeNamed = nullptr;
};

// In registration order; lookups search it from the end.
const std::vector<RegisteredFormat>& registeredFormats();
// The entry used for `extension` (without dot, any case), or null.
const RegisteredFormat* findRegisteredFormat(std::string_view extension);
// The entry used for the file name's extension, or null.
const RegisteredFormat* registeredFormatFor(const std::filesystem::path& path);

// How "&Restaurer..." reads a file back.
struct RestoreRoute {
    bool ownReader = false;   // the reader of "Ouvrir...", else the registered list
    bool to24Bits = false;    // the image is drawn into a 24-bit bitmap of its size
    bool addsToRecent = true; // the file moves to the top of the recent list
};

struct FileFormat {
    std::string_view extension;          // lower case, without dot
    ImageDecoder read = nullptr;         // null: the registered list reads the file
    ImageFileReader readFile = nullptr;  // the same reader straight from the file, used when set
    bool filterEntry = false;            // own "Fichiers ..." entry in the open (and, with a writer, save) filter
    ImageWriter write = nullptr;         // null: nothing is written
    ImageRowsWriter writeRows = nullptr; // the writer from rows (set with `write`)
    bool jpegOptions = false;            // the writer takes the JPEG options
    bool lowerCaseSavedName = false;     // written under the name with its extension lower-cased
    std::string_view saveRefusal;        // not empty: saving under this extension shows this and writes nothing
    RestoreRoute restore;
};

// The rows, in the order of the open filter's pattern list.
std::span<const FileFormat> fileFormats();
// The row of the file name's extension; the empty-extension row for names
// without a row.
const FileFormat& fileFormatFor(const std::filesystem::path& path);

// The filters of the open and save dialogs: "description|patterns" pairs.
// The open filter starts with every row's pattern, then one entry per row
// with a filter entry; the save filter has the entries of the rows that have
// a writer. Entries are in alphabetical order of their extension.
const std::string& openFilter();
const std::string& saveFilter();
// 1-based index of the format's entry in saveFilter(), 0 when it has none.
int saveFilterIndex(const FileFormat& format);
// The row of the 1-based entry of saveFilter(), null outside the filter.
const FileFormat* saveFilterFormat(int index);

// The type text of "&Informations..." for an extension, and whether the
// report's depth follows the bitmap's pixel format (else it reads 24 bits,
// whatever the file holds).
struct InformationType {
    std::string_view extension; // lower case, without dot
    std::string_view text;
    bool depthOfBitmap = false;
};

// The information row of the file name's extension, or null.
const InformationType* informationTypeFor(const std::filesystem::path& path);

} // namespace px
