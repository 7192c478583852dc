#pragma once
// Where the program records which program opens a kind of file. Two halves:
//  - the class store, with the rules of the system registry's class root:
//    keys form a tree named by paths of backslash-separated names
//    (".bmp\shell\open\command"), found without regard to ASCII letter case
//    and kept as first written; setting a value creates the key and every
//    key above it; a key holds an unnamed default value, which is either a
//    string or not set at all;
//  - the desktop: the program's desktop entry and, per MIME type, the
//    desktop's choice of default application.
// XdgFileTypeStore is the real one, on files of the user's folders.
#include <optional>
#include <span>
#include <string>

namespace px {

class FileTypeStore {
public:
    virtual ~FileTypeStore() = default;

    // Sets the default value of `key`, creating what is missing. Throws
    // FileWriteError when the store cannot be written; std::invalid_argument
    // for a key path with an empty name or a line break.
    virtual void setDefaultValue(const std::string& key, const std::string& value) = 0;
    // The default value of `key`; nothing when the key or its value is not set.
    virtual std::optional<std::string> defaultValue(const std::string& key) const = 0;

    // Writes the program's desktop entry: it starts `command` (a desktop
    // command line, "%f" standing for the file) and opens `mimeTypes`.
    virtual void writeDesktopEntry(const std::string& command, std::span<const std::string> mimeTypes) = 0;
    // Makes the program the desktop's first choice for `mimeType`, ahead of
    // the applications chosen before, which stay behind it.
    virtual void setDesktopDefault(const std::string& mimeType) = 0;
    // Takes the program out of the choices for `mimeType`, so the
    // application chosen before becomes the default again.
    virtual void restoreDesktopDefault(const std::string& mimeType) = 0;
};

} // namespace px
