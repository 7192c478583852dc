#pragma once
// Writing a file so that it is either complete or untouched: the data goes
// to a temporary file in the target's folder, which is renamed over the
// target only after every byte was written and flushed. A failure, an
// exception or a crash mid-way leaves the old file as it was and no
// temporary file behind (the destructor removes it; installInterruptCleanup
// covers the signals that end the program).
//
// The replacement respects the file it replaces:
//  - a symbolic link is followed (through every link of a chain) and its
//    final target is replaced, with the temporary file beside that target,
//    so the link stays a link;
//  - an existing target must be writable by the user as an ordinary write
//    would check it (mode, owner, access lists, read-only mounts); otherwise
//    the write is refused before anything is created;
//  - the new file gets the old one's permission bits and, where the system
//    allows it, its owner and group;
//  - a file with several hard links is replaced under the written name only:
//    the other names keep the old content.
// Temporary names are hidden, end in ".pixoran3-" and eight letters or
// digits, and are cut to fit the folder's file name limit whatever the
// target's length.
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

namespace px {

// Raised when the file cannot be created, written or renamed. what() is
// "Impossible d'écrire dans <file> (<system reason>)"; reason() is the
// system's text alone.
class FileWriteError : public std::runtime_error {
public:
    explicit FileWriteError(const std::string& message, std::string reason = std::string())
        : std::runtime_error(message), reason_(std::move(reason))
    {
    }
    const std::string& reason() const { return reason_; }

private:
    std::string reason_;
};

// Opens a file the caller reads and may then rewrite. False when it cannot
// be opened: a missing file reads as empty, but one that exists and cannot
// be read throws FileWriteError when `forWriting` (rewriting it would lose
// what could not be read).
bool openForRewrite(std::ifstream& in, const std::filesystem::path& path, bool forWriting);

class AtomicFileWriter {
public:
    // Checks the target and creates the temporary file; throws
    // FileWriteError when the target may not be written or the folder
    // refuses the temporary file.
    explicit AtomicFileWriter(std::filesystem::path target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Appends bytes; throws FileWriteError on a short write.
    void write(const void* data, std::size_t size);
    void write(const std::string& text) { write(text.data(), text.size()); }
    // The open temporary file, for libraries that write through a FILE*.
    std::FILE* stream() { return file_; }

    // Flushes, closes and renames over the destination. Throws FileWriteError.
    void commit();

    // The name given; the file really replaced (links followed).
    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& destination() const { return destination_; }
    const std::filesystem::path& temporaryPath() const { return temp_; }

private:
    void discard() noexcept;
    std::filesystem::path target_;
    std::filesystem::path destination_;
    std::filesystem::path temp_;
    std::FILE* file_ = nullptr;
    int slot_ = -1;
    bool committed_ = false;
};

// Writes `size` bytes as the whole new content of `target`, atomically.
void writeFileAtomically(const std::filesystem::path& target, const void* data, std::size_t size);

// The temporary name used for a file named `targetName` in a folder whose
// names may be `nameMax` bytes long, with `suffix` as its eight random
// characters: "." + the target name, cut at a UTF-8 character boundary when
// needed, + ".pixoran3-" + suffix.
std::string temporaryNameFor(std::string_view targetName, std::string_view suffix, std::size_t nameMax = 255);
// True for names of that form.
bool isTemporaryName(std::string_view name);

// Makes SIGINT, SIGTERM and SIGHUP remove the temporary files of the writers
// in progress before the program ends as the signal would have ended it.
// Signals that are ignored or already handled are left alone. Safe to call
// more than once.
void installInterruptCleanup();

// Removes, in `folder`, the temporary files of ours that a killed program
// left: regular files (not links) with a temporary name, owned by the user,
// last modified at least `minimumAge` ago. A younger one may belong to a save
// in progress in another copy of the program. Returns how many were removed;
// a folder that cannot be read counts as none.
int removeStaleTemporaryFiles(const std::filesystem::path& folder, std::chrono::seconds minimumAge);

} // namespace px
