#pragma once
// A temporary folder of the user's own. The system's temporary folder is
// shared by every user, so a file with a fixed name there could be a link
// planted by someone else, and writing it would overwrite whatever the link
// names. The program's fixed-name temporary files go into a folder inside
// it that only the user may enter.
#include <filesystem>

namespace px {

// `<base>/pixoran3-<user id>`, created with mode 0700 when missing. Throws
// FileWriteError when it cannot be created, or when what stands at that
// name is not a folder (a link, a file) of the user with no access for
// others.
std::filesystem::path privateTemporaryFolder(const std::filesystem::path& base);

} // namespace px
