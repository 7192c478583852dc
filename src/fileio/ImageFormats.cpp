#include "fileio/ImageFormats.h"

#include "codecs/ImageFileError.h"
#include "fileio/FileBytes.h"

#include <string>

namespace px {

Bitmap readImageFile(const std::filesystem::path& path)
{
    const FileFormat& format = fileFormatFor(path);
    if (format.readFile)
        return format.readFile(path);
    if (format.read)
        return format.read(readFileBytes(path));
    return readByRegisteredFormat(path);
}

Bitmap readByRegisteredFormat(const std::filesystem::path& path)
{
    const RegisteredFormat* format = registeredFormatFor(path);
    if (!format)
        throw InvalidImageError("extension inconnue");
    if (!format->decode)
        throw InvalidImageError("format non pris en charge : " + std::string(format->className));
    if (format->decodeNamed)
        return format->decodeNamed(readFileBytes(path), path);
    return format->decode(readFileBytes(path));
}

Bitmap readImageForRestore(const std::filesystem::path& path)
{
    const RestoreRoute& route = fileFormatFor(path).restore;
    if (!route.ownReader)
        return readByRegisteredFormat(path);
    Bitmap bitmap = readImageFile(path);
    if (route.to24Bits)
        bitmap.setPixelFormat(24);
    return bitmap;
}

std::filesystem::path savedPathFor(const std::filesystem::path& path)
{
    const FileFormat& format = fileFormatFor(path);
    if (!format.lowerCaseSavedName)
        return path;
    std::filesystem::path out = path;
    out.replace_extension("." + std::string(format.extension));
    return out;
}

void writeImageFile(const std::filesystem::path& path, const Bitmap& bmp, const SaveOptions& options)
{
    if (const ImageWriter write = fileFormatFor(path).write)
        write(savedPathFor(path), bmp, options);
}

bool writeImageRows(const std::filesystem::path& path, ImageRows& rows, const SaveOptions& options)
{
    const ImageRowsWriter write = fileFormatFor(path).writeRows;
    if (!write)
        return false;
    write(savedPathFor(path), rows, options);
    return true;
}

} // namespace px
