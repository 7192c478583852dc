#include "fileio/FormatTable.h"

#include "codecs/CodecAutodesk.h"
#include "codecs/CodecCut.h"
#include "codecs/CodecPcd.h"
#include "codecs/CodecPcx.h"
#include "codecs/CodecPpm.h"
#include "codecs/CodecPsd.h"
#include "codecs/CodecRla.h"
#include "codecs/CodecSgi.h"
#include "codecs/CodecTarga.h"
#include "codecs/CodecTiff.h"
#include "codecs/GifImage.h"
#include "fileio/BmpFile.h"
#include "fileio/IconFile.h"
#include "fileio/ImageRows.h"
#include "fileio/JpegFile.h"
#include "fileio/MetafileFile.h"
#include "fileio/PcxFile.h"
#include "fileio/PngFile.h"
#include "fileio/TargaFile.h"
#include "fileio/TiffWriter.h"

#include <algorithm>
#include <cctype>

namespace px {

namespace {

namespace fs = std::filesystem;

std::string toLower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

std::string toUpper(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return out;
}

// The extension of the file name, from its last dot, without the dot and
// lower-cased; empty without a dot.
std::string extensionOf(const fs::path& path)
{
    const std::string name = path.filename().string();
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : toLower(std::string_view(name).substr(dot + 1));
}

// A Dr. Halo image without its palette file: a grey ramp.
Bitmap decodeCutImage(std::span<const std::uint8_t> data)
{
    return decodeCut(data);
}

// The registered-format list in registration order: the toolkit's own
// entries, the JPEG and GIF classes, the codec library's entries and last
// the program's PCX class. A null decoder marks a format that nothing reads
// (enhanced metafiles).
const std::vector<RegisteredFormat> kRegistered = {
    {"wmf", "Metafiles", "Metafile", decodeWindowsMetafile},
    {"emf", "Enhanced Metafiles", "Metafile", nullptr},
    {"ico", "Icons", "Icon", decodeIcon},
    {"bmp", "Bitmaps", "Bitmap", decodeBmp},
    {"jpeg", "JPEG Image File", "JpegImage", decodeJpeg},
    {"jpg", "JPEG Image File", "JpegImage", decodeJpeg},
    {"gif", "CompuServe GIF Image", "GifImage", decodeGif},
    {"win", "Truevision images", "CodecTarga", decodeCodecTarga},
    {"vst", "Truevision images", "CodecTarga", decodeCodecTarga},
    {"vda", "Truevision images", "CodecTarga", decodeCodecTarga},
    {"tiff", "TIFF images", "CodecTiff", decodeTiff},
    {"tif", "TIFF images", "CodecTiff", decodeTiff},
    {"tga", "Truevision images", "CodecTarga", decodeCodecTarga},
    {"sgi", "SGI true color images", "CodecSgi", decodeSgi},
    {"scr", "Word 5.x screen capture images", "CodecPcx", decodeCodecPcx},
    {"rpf", "SGI Wavefront images", "CodecRla", decodeRla},
    {"rle", "Windows bitmap", "Bitmap", decodeBmp},
    {"rla", "SGI Wavefront images", "CodecRla", decodeRla},
    {"rgba", "SGI true color images", "CodecSgi", decodeSgi},
    {"rgb", "SGI true color images", "CodecSgi", decodeSgi},
    {"psd", "Photoshop images", "CodecPsd", decodePsd},
    {"ppm", "Portable pixel map images", "CodecPpm", decodePpm},
    {"pgm", "Portable grayscale images", "CodecPpm", decodePpm},
    {"pbm", "Portable b&w images", "CodecPpm", decodePpm},
    {"pic", "Autodesk images", "CodecAutodesk", decodeAutodesk},
    {"pcx", "ZSoft PCX images", "CodecPcx", decodeCodecPcx},
    {"pdd", "Photoshop images", "CodecPsd", decodePsd},
    {"pcd", "Kodak Photo-CD images", "CodecPcd", decodePcd},
    {"pcc", "ZSoft PCC images", "CodecPcx", decodeCodecPcx},
    {"icb", "Truevision images", "CodecTarga", decodeCodecTarga},
    {"gif", "CompuServe images", "CodecGif", decodeGif},
    {"dib", "Windows bitmap", "Bitmap", decodeBmp},
    {"cut", "Dr. Halo images", "CodecCut", decodeCutImage, decodeCutFile},
    {"cel", "Autodesk images", "CodecAutodesk", decodeAutodesk},
    {"bw", "SGI black/white images", "CodecSgi", decodeSgi},
    {"pcx", "PCX", "TPCX", decodePcx},
};

// Each writer twice: from a bitmap and from rows (the same file).
template <typename Image> void writeBmp(const fs::path& path, Image& bmp, const SaveOptions&)
{
    writeBmpFile(path, bmp);
}

template <typename Image> void writeJpeg(const fs::path& path, Image& bmp, const SaveOptions& options)
{
    writeJpegFile(path, bmp, JpegOptions{options.jpegQuality, options.progressive});
}

template <typename Image> void writePng(const fs::path& path, Image& bmp, const SaveOptions&)
{
    savePngFile(path, bmp);
}

// An 8-bit image keeps its palette (colour-mapped file); every other depth
// is written in true colour.
template <typename Image> void writeTarga(const fs::path& path, Image& bmp, const SaveOptions&)
{
    saveTargaFile(path, bmp, bmp.bitsPerPixel() == 8 ? kTargaColourMapped : kTargaTrueColour);
}

template <typename Image> void writeTiff(const fs::path& path, Image& bmp, const SaveOptions&)
{
    saveTiffFile(path, bmp);
}

// BMP and TIFF come back through the registered list, PNG through its own
// reader, GIF and JPEG are drawn into a 24-bit bitmap; none of those touches
// the recent list. The rest, ".tga" included, takes the default route.
constexpr RestoreRoute kRestoreRegistered{.addsToRecent = false};
constexpr RestoreRoute kRestoreOwnReader{.ownReader = true, .addsToRecent = false};
constexpr RestoreRoute kRestoreIn24Bits{.ownReader = true, .to24Bits = true, .addsToRecent = false};

// A JPEG name: the program's reader and writer, the JPEG options.
constexpr FileFormat jpegFormat(std::string_view extension)
{
    return {.extension = extension,
            .read = decodeJpeg,
            .filterEntry = true,
            .write = writeJpeg<const Bitmap>,
            .writeRows = writeJpeg<ImageRows>,
            .jpegOptions = true,
            .restore = kRestoreIn24Bits};
}

// A TIFF name: the program's reader and writer, saved under a lower-case
// extension.
constexpr FileFormat tiffFormat(std::string_view extension)
{
    return {.extension = extension,
            .read = decodeTiff,
            .readFile = readTiffFile,
            .filterEntry = true,
            .write = writeTiff<const Bitmap>,
            .writeRows = writeTiff<ImageRows>,
            .lowerCaseSavedName = true,
            .restore = kRestoreRegistered};
}

const FileFormat kFormats[] = {
    {.extension = "bw"},
    {.extension = "cel"},
    {.extension = "cut"},
    {.extension = "bmp",
     .read = decodeBmp,
     .filterEntry = true,
     .write = writeBmp<const Bitmap>,
     .writeRows = writeBmp<ImageRows>,
     .restore = kRestoreRegistered},
    {.extension = "dib"},
    {.extension = "emf"},
    {.extension = "gif",
     .read = decodeGif,
     .filterEntry = true,
     .saveRefusal = "Vous ne pouvez pas enregistrer un fichier GIF.",
     .restore = kRestoreIn24Bits},
    {.extension = "icb"},
    jpegFormat("jpa"),
    jpegFormat("jpe"),
    jpegFormat("jpg"),
    jpegFormat("jpeg"),
    {.extension = "pbm"},
    {.extension = "pcc"},
    {.extension = "pcd"},
    {.extension = "pdd"},
    {.extension = "pic"},
    {.extension = "png",
     .read = decodePng,
     .readFile = readPngFile,
     .filterEntry = true,
     .write = writePng<const Bitmap>,
     .writeRows = writePng<ImageRows>,
     .restore = kRestoreOwnReader},
    {.extension = "psd"},
    {.extension = "rgb"},
    {.extension = "rgba"},
    {.extension = "rla"},
    {.extension = "rle"},
    {.extension = "rpf"},
    {.extension = "sgi"},
    // The program's own reader, lenient with unknown headers; "&Restaurer..."
    // goes through the registered list's strict class.
    {.extension = "tga",
     .read = decodeTarga,
     .filterEntry = true,
     .write = writeTarga<const Bitmap>,
     .writeRows = writeTarga<ImageRows>},
    tiffFormat("tif"),
    tiffFormat("tiff"),
    {.extension = "vda"},
    {.extension = "vst"},
    {.extension = "win"},
    {.extension = "wmf"},
};

// The type texts of "&Informations...", spelt as the program always showed
// them. Names with other extensions fall back on the registered list.
constexpr InformationType kInformationTypes[] = {
    {"bmp", "OS/2 ou Windows Bitmap", true},
    {"gif", "CompuServe GIF"},
    {"cel", "AutoDesk images"},
    {"cut", "Dr.Halo images"},
    {"dib", "Windows Bitmap"},
    {"emf", "Windows Enhanced Meta File"},
    {"jpa", "JPEG"},
    {"jpe", "JPEG"},
    {"jpeg", "JPEG"},
    {"jpg", "JPEG"},
    {"pcx", "ZSoft Paintbrush", true},
    {"pcc", "ZSoft PCC Images"},
    {"pcd", "Kodak Photo-CD images"},
    {"pdd", "Photoshop images"},
    {"pgm", "Portable Grayscale images"},
    {"ppm", "Portable Pixel Map images"},
    {"psd", "Photopshop images"},
    {"png", "Portable Network Graphic"},
    {"rgb", "SGI True color images"},
    {"rgba", "SGI True color images"},
    {"rla", "SGI Wavefront images"},
    {"rle", "Windows Bitmap"},
    {"rpf", "SGI Wavefront images"},
    {"sgi", "SGI True color images"},
    {"tga", "True Vision image"},
    {"vda", "Truevision images"},
    {"vst", "Truevision images"},
    {"win", "Truevision images"},
    {"wmf", "Windows Meta File"},
};

constexpr FileFormat kUnlisted{};

constexpr const char* kAllSupported = "Tous les fichiers supportés";
constexpr const char* kFilesOfType = "Fichiers ";

// The rows with a filter entry, in alphabetical order of their extension.
std::vector<const FileFormat*> filterEntries()
{
    std::vector<const FileFormat*> rows;
    for (const FileFormat& format : kFormats)
        if (format.filterEntry)
            rows.push_back(&format);
    std::sort(rows.begin(), rows.end(),
              [](const FileFormat* a, const FileFormat* b) { return a->extension < b->extension; });
    return rows;
}

std::string filterEntry(const FileFormat& format)
{
    return kFilesOfType + toUpper(format.extension) + "|*." + std::string(format.extension);
}

std::vector<const FileFormat*> saveEntries()
{
    std::vector<const FileFormat*> rows = filterEntries();
    std::erase_if(rows, [](const FileFormat* format) { return !format->write; });
    return rows;
}

} // namespace

const std::vector<RegisteredFormat>& registeredFormats()
{
    return kRegistered;
}

const RegisteredFormat* findRegisteredFormat(std::string_view extension)
{
    const std::string wanted = toLower(extension);
    for (auto it = kRegistered.rbegin(); it != kRegistered.rend(); ++it)
        if (it->extension == wanted)
            return &*it;
    return nullptr;
}

const RegisteredFormat* registeredFormatFor(const fs::path& path)
{
    const std::string extension = extensionOf(path);
    return extension.empty() ? nullptr : findRegisteredFormat(extension);
}

std::span<const FileFormat> fileFormats()
{
    return kFormats;
}

const FileFormat& fileFormatFor(const fs::path& path)
{
    const std::string extension = extensionOf(path);
    for (const FileFormat& format : kFormats)
        if (format.extension == extension)
            return format;
    return kUnlisted;
}

const std::string& openFilter()
{
    static const std::string filter = [] {
        std::string text = kAllSupported;
        char separator = '|';
        for (const FileFormat& format : kFormats) {
            text += separator;
            text += "*.";
            text += format.extension;
            separator = ';';
        }
        for (const FileFormat* format : filterEntries())
            text += '|' + filterEntry(*format);
        return text;
    }();
    return filter;
}

const std::string& saveFilter()
{
    static const std::string filter = [] {
        std::string text;
        for (const FileFormat* format : saveEntries())
            text += (text.empty() ? "" : "|") + filterEntry(*format);
        return text;
    }();
    return filter;
}

int saveFilterIndex(const FileFormat& format)
{
    const std::vector<const FileFormat*> rows = saveEntries();
    const auto it = std::find(rows.begin(), rows.end(), &format);
    return it == rows.end() ? 0 : int(it - rows.begin()) + 1;
}

const InformationType* informationTypeFor(const fs::path& path)
{
    const std::string extension = extensionOf(path);
    for (const InformationType& type : kInformationTypes)
        if (type.extension == extension)
            return &type;
    return nullptr;
}

const FileFormat* saveFilterFormat(int index)
{
    const std::vector<const FileFormat*> rows = saveEntries();
    return index >= 1 && index <= int(rows.size()) ? rows[std::size_t(index - 1)] : nullptr;
}

} // namespace px
