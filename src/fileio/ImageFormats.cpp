#include "fileio/ImageFormats.h"

#include "codecs/CodecTiff.h"
#include "codecs/GifImage.h"
#include "fileio/BmpFile.h"
#include "fileio/ImageFileError.h"
#include "fileio/JpegFile.h"
#include "fileio/PcxFile.h"
#include "fileio/PngFile.h"
#include "fileio/TargaFile.h"
#include "fileio/TiffWriter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sys/stat.h>
#include <memory>

namespace px {

namespace {

std::string toUpper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return s;
}

std::string toLower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

Bitmap decodePcxAsRead(std::span<const std::uint8_t> data) { return decodePcx(data); }

// The registered-format list in registration order: the toolkit's own
// entries, the JPEG and GIF classes, the codec library's entries and last
// the program's PCX class. A null decoder marks a format whose reader is not
// available yet.
const std::vector<RegisteredFormat> kRegistered = {
    {"wmf", "Metafiles", "Metafile", nullptr},
    {"emf", "Enhanced Metafiles", "Metafile", nullptr},
    {"ico", "Icons", "Icon", nullptr},
    {"bmp", "Bitmaps", "Bitmap", decodeBmp},
    {"jpeg", "JPEG Image File", "JpegImage", decodeJpeg},
    {"jpg", "JPEG Image File", "JpegImage", decodeJpeg},
    {"gif", "CompuServe GIF Image", "GifImage", decodeGif},
    {"win", "Truevision images", "CodecTarga", decodeTargaStrict},
    {"vst", "Truevision images", "CodecTarga", decodeTargaStrict},
    {"vda", "Truevision images", "CodecTarga", decodeTargaStrict},
    {"tiff", "TIFF images", "CodecTiff", decodeTiff},
    {"tif", "TIFF images", "CodecTiff", decodeTiff},
    {"tga", "Truevision images", "CodecTarga", decodeTargaStrict},
    {"sgi", "SGI true color images", "CodecSgi", nullptr},
    {"scr", "Word 5.x screen capture images", "CodecPcx", nullptr},
    {"rpf", "SGI Wavefront images", "CodecRla", nullptr},
    {"rle", "Windows bitmap", "Bitmap", decodeBmp},
    {"rla", "SGI Wavefront images", "CodecRla", nullptr},
    {"rgba", "SGI true color images", "CodecSgi", nullptr},
    {"rgb", "SGI true color images", "CodecSgi", nullptr},
    {"psd", "Photoshop images", "CodecPsd", nullptr},
    {"ppm", "Portable pixel map images", "CodecPpm", nullptr},
    {"pgm", "Portable grayscale images", "CodecPpm", nullptr},
    {"pbm", "Portable b&w images", "CodecPpm", nullptr},
    {"pic", "Autodesk images", "CodecAutodesk", nullptr},
    {"pcx", "ZSoft PCX images", "CodecPcx", nullptr},
    {"pdd", "Photoshop images", "CodecPsd", nullptr},
    {"pcd", "Kodak Photo-CD images", "CodecPcd", nullptr},
    {"pcc", "ZSoft PCC images", "CodecPcx", nullptr},
    {"icb", "Truevision images", "CodecTarga", decodeTargaStrict},
    {"gif", "CompuServe images", "CodecGif", decodeGif},
    {"dib", "Windows bitmap", "Bitmap", decodeBmp},
    {"cut", "Dr. Halo images", "CodecCut", nullptr},
    {"cel", "Autodesk images", "CodecAutodesk", nullptr},
    {"bw", "SGI black/white images", "CodecSgi", nullptr},
    {"pcx", "PCX", "TPCX", decodePcxAsRead},
};

} // namespace

const std::vector<RegisteredFormat>& registeredFormats() { return kRegistered; }

const RegisteredFormat* findRegisteredFormat(std::string_view extension)
{
    const std::string wanted = toLower(std::string(extension));
    for (auto it = kRegistered.rbegin(); it != kRegistered.rend(); ++it)
        if (it->extension == wanted)
            return &*it;
    return nullptr;
}

std::string upperExtension(const std::filesystem::path& path)
{
    const std::string name = path.filename().string();
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : toUpper(name.substr(dot));
}

std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path)
{
    // No image the program accepts needs more: 2^28 pixels of 16-bit RGBA.
    constexpr std::uint64_t kLargestFile = std::uint64_t(4) << 30;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        throw InvalidImageError("fichier illisible : " + path.string());
    // Only regular files: a folder opens, but its "size" is meaningless and
    // reading it fails; a device or a pipe has no size at all.
    struct stat st {};
    if (::fstat(::fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode))
        throw InvalidImageError("pas un fichier ordinaire : " + path.string());
    if (std::uint64_t(st.st_size) > kLargestFile)
        throw InvalidImageError("fichier trop grand : " + path.string());
    std::vector<std::uint8_t> data(static_cast<std::size_t>(st.st_size));
    std::size_t got = data.empty() ? 0 : std::fread(data.data(), 1, data.size(), file.get());
    if (std::ferror(file.get()))
        throw InvalidImageError("fichier illisible : " + path.string());
    data.resize(got); // the file may have shrunk since fstat
    // ... or grown: read whatever follows.
    std::uint8_t chunk[65536];
    while (!std::feof(file.get())) {
        const std::size_t more = std::fread(chunk, 1, sizeof chunk, file.get());
        if (std::ferror(file.get()))
            throw InvalidImageError("fichier illisible : " + path.string());
        if (data.size() + more > kLargestFile)
            throw InvalidImageError("fichier trop grand : " + path.string());
        data.insert(data.end(), chunk, chunk + more);
        if (more == 0)
            break;
    }
    return data;
}

Bitmap readImageFile(const std::filesystem::path& path)
{
    const std::string ext = upperExtension(path);
    if (ext == ".BMP")
        return readBmpFile(path);
    if (ext == ".GIF")
        return decodeGif(readFileBytes(path));
    if (ext == ".JPA" || ext == ".JPE" || ext == ".JPG" || ext == ".JPEG")
        return decodeJpeg(readFileBytes(path));
    if (ext == ".PNG")
        return decodePng(readFileBytes(path));
    if (ext == ".TGA")
        return decodeTarga(readFileBytes(path));
    if (ext == ".TIF" || ext == ".TIFF")
        return decodeTiff(readFileBytes(path));
    const RegisteredFormat* format = ext.size() > 1 ? findRegisteredFormat(ext.substr(1)) : nullptr;
    if (!format)
        throw InvalidImageError("extension inconnue");
    if (!format->decode)
        throw InvalidImageError("format non pris en charge : " + std::string(format->className));
    return format->decode(readFileBytes(path));
}

SaveFormat saveFormatFor(const std::filesystem::path& path)
{
    const std::string ext = upperExtension(path);
    if (ext == ".BMP")
        return SaveFormat::Bmp;
    if (ext == ".JPA" || ext == ".JPE" || ext == ".JPEG" || ext == ".JPG")
        return SaveFormat::Jpeg;
    if (ext == ".PNG")
        return SaveFormat::Png;
    if (ext == ".TGA")
        return SaveFormat::Targa;
    if (ext == ".TIF" || ext == ".TIFF")
        return SaveFormat::Tiff;
    if (ext == ".GIF")
        return SaveFormat::Gif;
    return SaveFormat::None;
}

std::filesystem::path savedPathFor(const std::filesystem::path& path)
{
    const std::string ext = upperExtension(path);
    if (ext != ".TIF" && ext != ".TIFF")
        return path;
    std::filesystem::path out = path;
    out.replace_extension(toLower(ext));
    return out;
}

void writeImageFile(const std::filesystem::path& path, const Bitmap& bmp, const SaveOptions& options)
{
    switch (saveFormatFor(path)) {
    case SaveFormat::Bmp:
        writeBmpFile(path, bmp);
        break;
    case SaveFormat::Jpeg:
        writeJpegFile(path, bmp, JpegOptions{options.jpegQuality, options.progressive});
        break;
    case SaveFormat::Png:
        savePngFile(path, bmp);
        break;
    case SaveFormat::Targa:
        saveTargaFile(path, bmp, bmp.bitsPerPixel() == 8 ? kTargaColourMapped : kTargaTrueColour);
        break;
    case SaveFormat::Tiff:
        saveTiffFile(savedPathFor(path), bmp);
        break;
    case SaveFormat::Gif:
    case SaveFormat::None:
        break;
    }
}

} // namespace px
