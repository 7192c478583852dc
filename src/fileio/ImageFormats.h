#pragma once
// Reading and writing an image by its file name, through the format table.
//
// Opening uses the reader of the name's row in the format table; any other
// name goes to the registered-format list. Registered formats whose decoder
// is not available yet raise InvalidImageError, as does a name without
// extension or with an unknown one.
//
// Saving uses the row's writer; names without one write nothing (the caller
// shows the row's refusal text when it has one).
#include "fileio/FormatTable.h"
#include "graphics/Bitmap.h"

#include <filesystem>

namespace px {

class ImageRows;

// Reads an image by its name. Throws InvalidImageError (or BitmapError).
// A PCX file that is not valid gives an empty bitmap; a Targa (.tga) file
// with an unknown image type or depth gives a 1 x 1 bitmap.
Bitmap readImageFile(const std::filesystem::path& path);

// Reads an image by the registered-format list alone (the picture's own
// load, which knows ".tga" through the strict Targa class). Throws
// InvalidImageError.
Bitmap readByRegisteredFormat(const std::filesystem::path& path);

// Reads an image back for "&Restaurer...", by the route of its row. Throws
// InvalidImageError (or BitmapError).
Bitmap readImageForRestore(const std::filesystem::path& path);

// The name the file is really written under: formats that lower-case their
// extension (".TIF", ".TIFF") get it so; other names are unchanged.
std::filesystem::path savedPathFor(const std::filesystem::path& path);

// Writes `bmp` by the writer of the name's row, to savedPathFor(path).
// Writes nothing for names without a writer. A failed write leaves any
// previous file intact. Throws FileWriteError, BitmapError for an empty bitmap.
void writeImageFile(const std::filesystem::path& path, const Bitmap& bmp, const SaveOptions& options);

// The same file from 24-bit rows given one at a time, without the whole
// image in memory. False (nothing written) for names whose row has no
// writer from rows. Throws FileWriteError, BitmapError.
bool writeImageRows(const std::filesystem::path& path, ImageRows& rows, const SaveOptions& options);

} // namespace px
