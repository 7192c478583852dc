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
//    lines, unknown lines, order, a UTF-8 byte order mark, CRLF line ends,
//    and bytes that are not UTF-8;
//    Replacing a key keeps the line's own spelling of the key and its spacing
//    around '=', so a hand-edited file stays as its author wrote it. A value
//    with spaces at either end, or one wrapped in quotes, is written inside
//    one more pair of quotes so that it reads back unchanged (a file path may
//    end with a space);
//  - the file is read as bytes, line by line: a line with a NUL byte is an
//    unknown line; a value that is not valid UTF-8 (a file from an older
//    system, a path in an old encoding) is read in the locale's 8-bit
//    encoding, Latin-1 when in doubt, and returned as UTF-8.
// Writes go through a temporary file renamed over the old one, so a failed
// write leaves the previous file intact; a settings file that the user may
// not write (made read-only) is left untouched and the write refused.
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
    // `legacyEncoding` is the iconv name of the encoding that values which
    // are not UTF-8 are read in.
    explicit SettingsFile(std::filesystem::path path, std::string legacyEncoding = localeEightBitEncoding());

    // The 8-bit encoding of the user's locale ($LC_ALL, $LC_CTYPE, $LANG),
    // or "ISO-8859-1" when the locale's is UTF-8, ASCII or unknown.
    static std::string localeEightBitEncoding();

    // The file named by $PIXORAN3_INI when set and not empty, else
    // $XDG_CONFIG_HOME/Pixoran3.ini (an absolute $XDG_CONFIG_HOME only),
    // else ~/.config/Pixoran3.ini.
    static std::filesystem::path defaultPath();

    const std::filesystem::path& path() const { return path_; }

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue = std::string()) const;

    // Throws SettingsWriteError when the file or its folder cannot be written.
    // A section or key name that cannot be stored on one line (a line break,
    // a NUL byte, invalid UTF-8, ']' in a section name, '=' in a key name, an
    // empty key) is a programming error and raises std::invalid_argument; a
    // value with a line break or a NUL byte would not read back, and one that
    // is not valid UTF-8 would not read back as written: both are refused
    // with SettingsWriteError before anything is written.
    void writeString(const std::string& section, const std::string& key, const std::string& value);

private:
    std::filesystem::path path_;
    std::string legacyEncoding_;
};

} // namespace px
