#pragma once
// The program's settings file, Pixoran3.ini: a text file of sections
// ("[Nouveau]") and key lines ("largeur=320").
//
// Every read and every write opens the file, does its one job and closes it;
// nothing is cached, so two windows (or two copies of the program) always see
// the latest value. The rules are those of the classic profile functions:
//  - sections and keys are found without regard to ASCII letter case; when a
//    name occurs twice, the first occurrence wins;
//  - a value is the text after the first '=', with surrounding spaces and tabs
//    removed and then one pair of surrounding double quotes removed;
//    backslashes and commas are ordinary characters;
//  - a missing file, section or key reads as the caller's default;
//  - a write creates the file, the section (appended at the end of the file)
//    and the key (appended after the last key line of its section) as needed.
//    Every other line is kept byte for byte: comments (';' or '#'), blank
//    lines, unknown lines, order, a UTF-8 byte order mark, CRLF line ends.
//    Replacing a key keeps the line's own spelling of the key and its spacing
//    around '=', so a hand-edited file stays as its author wrote it. A value
//    with spaces at either end, or one wrapped in quotes, is written inside
//    one more pair of quotes so that it reads back unchanged (a file path may
//    end with a space);
//  - a file that is not text (NUL bytes, invalid UTF-8) reads as all
//    defaults, and a write replaces it by a fresh file holding only the
//    written key: there is nothing in such a file worth keeping.
// Writes go through a temporary file renamed over the old one, so a failed
// write leaves the previous file intact.
#include "platform/AtomicFile.h"

#include <filesystem>
#include <string>

namespace px {

// A write the system refused; what() is exactly "Impossible d'écrire dans <path>".
class SettingsWriteError : public FileWriteError {
public:
    explicit SettingsWriteError(const std::filesystem::path& path);
};

class SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path path);

    // The file named by $PIXORAN3_INI when set and not empty, else
    // $XDG_CONFIG_HOME/Pixoran3.ini (an absolute $XDG_CONFIG_HOME only),
    // else ~/.config/Pixoran3.ini.
    static std::filesystem::path defaultPath();

    const std::filesystem::path& path() const { return path_; }

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue = std::string()) const;

    // Throws SettingsWriteError when the file or its folder cannot be written.
    // A section or key name that cannot be stored on one line (a line break,
    // ']' in a section name, '=' in a key name, an empty key) is a programming
    // error and raises std::invalid_argument; a value with a line break would
    // split into lines of its own and is refused with SettingsWriteError.
    void writeString(const std::string& section, const std::string& key, const std::string& value);

private:
    std::filesystem::path path_;
};

} // namespace px
