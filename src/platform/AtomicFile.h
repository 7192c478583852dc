#pragma once
// Writing a file so that it is either complete or untouched: the data goes
// to a temporary file in the target's folder, which is renamed over the
// target only after every byte was written and flushed. A failure, an
// exception or a crash mid-way leaves the old file as it was and no
// temporary file behind (the destructor removes it).
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace px {

// Raised when the file cannot be created, written or renamed; what() names the file.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class AtomicFileWriter {
public:
    // Creates the temporary file; throws FileWriteError when the folder refuses it.
    explicit AtomicFileWriter(std::filesystem::path target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Appends bytes; throws FileWriteError on a short write.
    void write(const void* data, std::size_t size);
    void write(const std::string& text) { write(text.data(), text.size()); }
    // The open temporary file, for libraries that write through a FILE*.
    std::FILE* stream() { return file_; }

    // Flushes, closes and renames over the target. Throws FileWriteError.
    void commit();

    const std::filesystem::path& target() const { return target_; }

private:
    void discard() noexcept;
    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
};

// Writes `size` bytes as the whole new content of `target`, atomically.
void writeFileAtomically(const std::filesystem::path& target, const void* data, std::size_t size);

} // namespace px
