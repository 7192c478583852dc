#include "fileio/FileAssociations.h"

#include "platform/FileTypeStore.h"
#include "platform/SettingsFile.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace px {

namespace {

// ".jpa" had no class of its own: it gets the class of ".jpg" back.
constexpr AssociationRow kRows[] = {
    {"bmp", true, "bmpfile", "image/bmp"},    {"gif", true, "giffile", "image/gif"},
    {"jpa", true, "jpgfile", "image/jpeg"},   {"jpe", true, "jpefile", "image/jpeg"},
    {"jpeg", true, "jpegfile", "image/jpeg"}, {"jpg", true, "jpgfile", "image/jpeg"},
    {"png", false, "pngfile", "image/png"},   {"tga", false, "tgafile", "image/x-tga"},
    {"tif", false, "tiffile", "image/tiff"},  {"tiff", false, "tifffile", "image/tiff"},
};

constexpr const char* kCommandKey = "\\shell\\open\\command";
constexpr const char* kIconKey = "\\DefaultIcon";

std::string settingsKey(const AssociationRow& row)
{
    return std::string(row.extension);
}

// The MIME types of the rows, each once, in row order.
std::vector<std::string> mimeTypes()
{
    std::vector<std::string> types;
    for (const AssociationRow& row : kRows)
        if (std::find(types.begin(), types.end(), row.mimeType) == types.end())
            types.emplace_back(row.mimeType);
    return types;
}

} // namespace

std::span<const AssociationRow> associationRows()
{
    return kRows;
}

std::string associationItemText(const AssociationRow& row)
{
    std::string upper(row.extension);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return "Fichiers " + upper;
}

std::string associationPattern(const AssociationRow& row)
{
    return "*." + std::string(row.extension);
}

std::string associationKey(const AssociationRow& row)
{
    return "." + std::string(row.extension);
}

std::string desktopCommand(const std::string& executable)
{
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    if (executable.find_first_of(kReserved) != std::string::npos)
        return openCommand(executable);
    std::string command;
    for (char c : executable)
        command += c == '%' ? std::string("%%") : std::string(1, c);
    return command + " %f";
}

std::string openCommand(const std::string& executable)
{
    std::string command = "\"";
    for (char c : executable) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            command += '\\';
        command += c;
        if (c == '%')
            command += '%';
    }
    return command + "\" %f";
}

std::vector<bool> associatedInSettings(const SettingsFile& settings)
{
    std::vector<bool> ticks;
    for (const AssociationRow& row : kRows)
        ticks.push_back(settings.readString(kFormatsSection, settingsKey(row), "0") != "0");
    return ticks;
}

void applyAssociations(std::span<const bool> ticked, const std::string& executable, SettingsFile& settings,
                       FileTypeStore& store)
{
    if (ticked.size() != std::size(kRows))
        throw std::invalid_argument("one tick per association row expected");
    const std::string command = openCommand(executable);
    const std::vector<std::string> types = mimeTypes();

    bool entryWritten = false;
    for (std::size_t i = 0; i < ticked.size(); ++i) {
        if (!ticked[i])
            continue;
        const AssociationRow& row = kRows[i];
        const std::string key = associationKey(row);
        store.setDefaultValue(key, kAssociationClass);
        store.setDefaultValue(key + kCommandKey, command);
        if (row.icon)
            store.setDefaultValue(key + kIconKey, executable + ",0");
        if (!entryWritten) {
            store.writeDesktopEntry(desktopCommand(executable), types);
            entryWritten = true;
        }
        store.setDesktopDefault(std::string(row.mimeType));
        settings.writeString(kFormatsSection, settingsKey(row), "1");
    }

    for (std::size_t i = 0; i < ticked.size(); ++i) {
        const AssociationRow& row = kRows[i];
        if (ticked[i] || settings.readString(kFormatsSection, settingsKey(row), "0") != "1")
            continue;
        store.setDefaultValue(associationKey(row), std::string(row.restoredClass));
        const bool mimeStillOurs = std::any_of(std::begin(kRows), std::end(kRows), [&](const AssociationRow& other) {
            return ticked[std::size_t(&other - kRows)] && other.mimeType == row.mimeType;
        });
        if (!mimeStillOurs)
            store.restoreDesktopDefault(std::string(row.mimeType));
        settings.writeString(kFormatsSection, settingsKey(row), "0");
    }
}

} // namespace px
