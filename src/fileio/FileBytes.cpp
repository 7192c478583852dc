#include "fileio/FileBytes.h"

#include "codecs/ImageFileError.h"

#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace px {

std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path)
{
    // No image the program accepts needs more: 2^28 pixels of 16-bit RGBA.
    constexpr std::uint64_t kLargestFile = std::uint64_t(4) << 30;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        throw InvalidImageError("fichier illisible : " + path.string());
    // Only regular files: a folder opens, but its "size" is meaningless and
    // reading it fails; a device or a pipe has no size at all.
    struct stat st {};
    if (::fstat(::fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode))
        throw InvalidImageError("pas un fichier ordinaire : " + path.string());
    if (std::uint64_t(st.st_size) > kLargestFile)
        throw InvalidImageError("fichier trop grand : " + path.string());
    std::vector<std::uint8_t> data(static_cast<std::size_t>(st.st_size));
    std::size_t got = data.empty() ? 0 : std::fread(data.data(), 1, data.size(), file.get());
    if (std::ferror(file.get()))
        throw InvalidImageError("fichier illisible : " + path.string());
    data.resize(got); // the file may have shrunk since fstat
    // ... or grown: read whatever follows.
    std::uint8_t chunk[65536];
    while (!std::feof(file.get())) {
        const std::size_t more = std::fread(chunk, 1, sizeof chunk, file.get());
        if (std::ferror(file.get()))
            throw InvalidImageError("fichier illisible : " + path.string());
        if (data.size() + more > kLargestFile)
            throw InvalidImageError("fichier trop grand : " + path.string());
        data.insert(data.end(), chunk, chunk + more);
        if (more == 0)
            break;
    }
    return data;
}

} // namespace px
