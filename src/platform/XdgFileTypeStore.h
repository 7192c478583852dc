#pragma once
// The file-type store of the running program, in the user's folders:
//  - the class store: $XDG_CONFIG_HOME/Pixoran3.reg (ClassStoreFile);
//  - the desktop entry: $XDG_DATA_HOME/applications/pixoran3.desktop;
//  - the default applications: the "Default Applications" section of
//    $XDG_CONFIG_HOME/mimeapps.list, where each MIME type lists desktop
//    entries, the first installed one being the default.
// $XDG_CONFIG_HOME defaults to ~/.config and $XDG_DATA_HOME to
// ~/.local/share (a relative value counts as unset). Every file is written
// atomically, its folder created when missing; mimeapps.list keeps every
// line it does not change byte for byte.
#include "platform/ClassStoreFile.h"
#include "platform/FileTypeStore.h"

#include <filesystem>
#include <string>
#include <vector>

namespace px {

struct XdgFileTypePaths {
    std::filesystem::path classes;
    std::filesystem::path desktopEntry;
    std::filesystem::path mimeApps;

    // The paths for the current environment.
    static XdgFileTypePaths fromEnvironment();
};

class XdgFileTypeStore : public FileTypeStore {
public:
    // The name of the program's desktop entry, as mimeapps.list lists it.
    static constexpr const char* kDesktopId = "pixoran3.desktop";

    explicit XdgFileTypeStore(XdgFileTypePaths paths) : paths_(std::move(paths)), classes_(paths_.classes) {}
    const XdgFileTypePaths& paths() const { return paths_; }

    void setDefaultValue(const std::string& key, const std::string& value) override;
    std::optional<std::string> defaultValue(const std::string& key) const override;
    void writeDesktopEntry(const std::string& command, std::span<const std::string> mimeTypes) override;
    void setDesktopDefault(const std::string& mimeType) override;
    void restoreDesktopDefault(const std::string& mimeType) override;

private:
    XdgFileTypePaths paths_;
    ClassStoreFile classes_;
};

// The applications listed for `mimeType` in the "Default Applications"
// section of a mimeapps.list file, in order; none when the file, section or
// key is missing.
std::vector<std::string> desktopDefaults(const std::filesystem::path& mimeApps, const std::string& mimeType);

// A desktop entry value: backslashes, line breaks and tabs escaped.
std::string desktopEntryValue(const std::string& text);

} // namespace px
