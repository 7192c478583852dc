#include "platform/TemporaryFolder.h"

#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace px {

std::filesystem::path privateTemporaryFolder(const std::filesystem::path& base)
{
    const std::filesystem::path folder = base / ("pixoran3-" + std::to_string(::getuid()));
    auto refuse = [&folder](int err) {
        throw FileWriteError("Impossible d'écrire dans " + folder.string() + " (" + std::strerror(err) + ")",
                             std::strerror(err));
    };
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        refuse(errno);
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0)
        refuse(errno);
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid() || (st.st_mode & 077) != 0)
        refuse(EPERM);
    return folder;
}

} // namespace px
