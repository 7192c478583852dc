#include "codecs/ByteSource.h"

#include "codecs/ImageFileError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace px {

ByteSource::ByteSource(std::span<const std::uint8_t> memory) : memory_(memory.data()), size_(memory.size()) {}

ByteSource::ByteSource(const std::filesystem::path& path)
{
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        throw InvalidImageError("fichier illisible : " + path.string());
    // Only regular files: a folder opens, but its "size" is meaningless; a
    // device or a pipe has no size at all.
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        throw InvalidImageError("pas un fichier ordinaire : " + path.string());
    }
    if (std::uint64_t(st.st_size) > kLargestFile) {
        ::close(fd_);
        throw InvalidImageError("fichier trop grand : " + path.string());
    }
    size_ = std::uint64_t(st.st_size);
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

ByteSource::~ByteSource()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool ByteSource::read(std::uint64_t offset, void* buffer, std::size_t n) const
{
    if (offset > size_ || size_ - offset < n)
        return false;
    if (memory_) {
        if (n)
            std::memcpy(buffer, memory_ + offset, n);
        return true;
    }
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (n > 0) {
        const ssize_t got = ::pread(fd_, out, n, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) // an error, or the file shrank since it was opened
            return false;
        out += got;
        offset += std::uint64_t(got);
        n -= std::size_t(got);
    }
    return true;
}

const std::uint8_t* ByteSource::view(std::uint64_t offset, std::size_t n) const
{
    if (!memory_ || offset > size_ || size_ - offset < n)
        return nullptr;
    return memory_ + offset;
}

} // namespace px
