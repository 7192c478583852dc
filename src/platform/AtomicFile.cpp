#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace px {

namespace {

std::string failure(const std::filesystem::path& target, int err)
{
    return "Impossible d'écrire dans " + target.string() + " (" + std::strerror(err) + ")";
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target_(std::move(target))
{
    std::filesystem::path dir = target_.parent_path();
    if (dir.empty())
        dir = ".";
    std::string pattern = (dir / ("." + target_.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw FileWriteError(failure(target_, errno));
    temp_ = pattern;
    // Keep the permissions of the file being replaced, or the usual ones.
    struct stat st {};
    const mode_t umaskNow = ::umask(0);
    ::umask(umaskNow);
    const mode_t mode = ::stat(target_.c_str(), &st) == 0 ? (st.st_mode & 07777) : (0666 & ~umaskNow);
    ::fchmod(fd, mode);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        const int err = errno;
        ::close(fd);
        discard();
        throw FileWriteError(failure(target_, err));
    }
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (!committed_)
        discard();
}

void AtomicFileWriter::write(const void* data, std::size_t size)
{
    if (!file_)
        throw FileWriteError(failure(target_, EBADF));
    if (size && std::fwrite(data, 1, size, file_) != size)
        throw FileWriteError(failure(target_, errno ? errno : EIO));
}

void AtomicFileWriter::commit()
{
    if (!file_)
        throw FileWriteError(failure(target_, EBADF));
    int err = 0;
    if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0)
        err = errno ? errno : EIO;
    if (std::fclose(file_) != 0 && !err)
        err = errno ? errno : EIO;
    file_ = nullptr;
    if (!err && std::rename(temp_.c_str(), target_.c_str()) != 0)
        err = errno;
    if (err) {
        discard();
        throw FileWriteError(failure(target_, err));
    }
    committed_ = true;
}

void AtomicFileWriter::discard() noexcept
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

void writeFileAtomically(const std::filesystem::path& target, const void* data, std::size_t size)
{
    AtomicFileWriter writer(target);
    writer.write(data, size);
    writer.commit();
}

} // namespace px
