#pragma once
// The desktop services of the running program: addresses go to the desktop's
// default program, deleted files to the freedesktop trash of the user.
#include "platform/ShellServices.h"

namespace px {

class QtShell : public ShellServices {
public:
    // Accepts http(s):, mailto:, file: and other URLs with a scheme, and
    // local paths (made absolute). Returns false only for an address that is
    // not well-formed: the desktop's launcher gives no usable result, so a
    // well-formed address counts as opened.
    bool openUrl(const std::string& url) override;

    // Moves the file to the user's trash. The data folder holding the trash
    // is created first when missing; a move that did not land in that trash
    // is undone and reported as a failure. *error receives a French message.
    bool moveToTrash(const std::string& path, std::string* error) override;
};

} // namespace px
