#pragma once
// Desktop services: opening an address in the default program, moving a
// file to the desktop's trash. The GUI implementation is platform/qt/QtShell.
#include <string>

namespace px {

class ShellServices {
public:
    virtual ~ShellServices() = default;
    // Opens a web address, a mailto: link or a local file (file:// URL or
    // path) with the desktop's default program.
    virtual bool openUrl(const std::string& url) = 0;
    // Moves the file to the trash; on failure returns false and sets *error.
    virtual bool moveToTrash(const std::string& path, std::string* error) = 0;
};

} // namespace px
