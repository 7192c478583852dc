#pragma once
// The class store of FileTypeStore kept in one text file, in the layout of
// registry export files:
//
//     [.bmp\shell\open\command]
//     @="\"/usr/bin/pixoran3\" %f"
//
// one bracketed line per key, then its values: "@" is the unnamed default
// value, other names are quoted; values are quoted, with backslash escapes
// for the backslash, the double quote and line breaks. Keys are found
// without regard to ASCII letter case and keep the spelling of their first
// writing; setting a value creates the key and every key above it.
//
// Like the settings file, every call reads the file and a write replaces it
// atomically; nothing is cached. Lines that are neither a key nor a value
// are skipped when read and not written back.
#include <filesystem>
#include <optional>
#include <string>

namespace px {

class ClassStoreFile {
public:
    explicit ClassStoreFile(std::filesystem::path path) : path_(std::move(path)) {}
    const std::filesystem::path& path() const { return path_; }

    // Sets the value `name` ("" for the default value) of `key`. Throws
    // std::invalid_argument for a key path with an empty name, a line break
    // or a NUL byte, and FileWriteError when the file cannot be read back or
    // written (the file is then left as it was).
    void setValue(const std::string& key, const std::string& name, const std::string& value);
    // The value `name` of `key`; nothing when either is not set (or the file
    // cannot be read).
    std::optional<std::string> value(const std::string& key, const std::string& name = std::string()) const;
    bool keyExists(const std::string& key) const;

private:
    std::filesystem::path path_;
};

} // namespace px
