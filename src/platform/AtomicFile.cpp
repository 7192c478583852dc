#include "platform/AtomicFile.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace px {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryMark = ".pixoran3-";
constexpr std::size_t kSuffixLength = 8;
constexpr int kMaxLinkHops = 40; // the system's own limit for a path lookup

std::string failure(const fs::path& target, int err)
{
    return "Impossible d'écrire dans " + target.string() + " (" + std::strerror(err) + ")";
}

[[noreturn]] void fail(const fs::path& target, int err)
{
    throw FileWriteError(failure(target, err), std::strerror(err));
}

// The temporary files of the writers in progress, for the signal handler.
// A slot is claimed (1) while its name is copied in and armed (2) once the
// file exists; the handler only reads armed slots, with lock-free atomics and
// unlink(), which are safe in a signal handler.
struct Slot {
    std::atomic<int> state{0};
    char path[PATH_MAX];
};
std::array<Slot, 16> g_slots;

int claimSlot(const std::string& path)
{
    if (path.size() >= PATH_MAX)
        return -1;
    for (std::size_t i = 0; i < g_slots.size(); ++i) {
        int expected = 0;
        if (g_slots[i].state.compare_exchange_strong(expected, 1)) {
            std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
            return int(i);
        }
    }
    return -1; // more writers at once than slots: that one is not covered
}

void armSlot(int slot)
{
    if (slot >= 0)
        g_slots[std::size_t(slot)].state.store(2);
}

void releaseSlot(int slot)
{
    if (slot >= 0)
        g_slots[std::size_t(slot)].state.store(0);
}

extern "C" void removeTemporariesAndDie(int sig)
{
    for (Slot& s : g_slots)
        if (s.state.load() == 2)
            ::unlink(s.path);
    // The handler was installed with SA_RESETHAND | SA_NODEFER: the signal
    // now takes its default action, ending the program as it would have.
    ::raise(sig);
}

// Eight letters or digits for a temporary name, from the system's random
// source; without one, from the process id, the clock and a counter (the
// exclusive creation catches any name already taken).
std::string randomSuffix()
{
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[kSuffixLength];
    if (::getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != ssize_t(sizeof bytes)) {
        static std::atomic<std::uint64_t> counter{0};
        std::uint64_t v = (std::uint64_t(::getpid()) << 32) ^ std::uint64_t(std::time(nullptr)) ^
                          (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
        for (unsigned char& b : bytes) {
            v = v * 6364136223846793005ull + 1442695040888963407ull;
            b = static_cast<unsigned char>(v >> 56);
        }
    }
    std::string s;
    for (unsigned char b : bytes)
        s += kAlphabet[b % (sizeof kAlphabet - 1)];
    return s;
}

// The file a write to `path` really changes: symbolic links followed one by
// one, a relative link read from its own folder. A dangling link gives the
// path it names (an ordinary write would create that file).
fs::path followLinks(const fs::path& path)
{
    fs::path p = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return p;
        std::string buffer(std::size_t(PATH_MAX), '\0');
        const ssize_t n = ::readlink(p.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            fail(path, errno);
        buffer.resize(std::size_t(n));
        const fs::path link(buffer);
        p = link.is_absolute() ? link : p.parent_path() / link;
    }
    fail(path, ELOOP);
}

std::size_t nameMaxOf(const fs::path& folder)
{
    const long n = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return n > 0 ? std::size_t(n) : 255;
}

bool isAlnum(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

} // namespace

std::string temporaryNameFor(std::string_view targetName, std::string_view suffix, std::size_t nameMax)
{
    const std::size_t fixed = 1 + kTemporaryMark.size() + suffix.size();
    std::size_t keep = targetName.size();
    if (fixed + keep > nameMax) {
        keep = nameMax > fixed ? nameMax - fixed : 0;
        // Do not cut a UTF-8 sequence in two: back up to the start of the
        // character that would be cut.
        while (keep > 0 && (static_cast<unsigned char>(targetName[keep]) & 0xC0) == 0x80)
            --keep;
    }
    std::string name = ".";
    name += targetName.substr(0, keep);
    name += kTemporaryMark;
    name += suffix;
    return name;
}

bool isTemporaryName(std::string_view name)
{
    const std::size_t tail = kTemporaryMark.size() + kSuffixLength;
    if (name.size() < 1 + tail || name[0] != '.')
        return false;
    const std::string_view end = name.substr(name.size() - tail);
    if (!end.starts_with(kTemporaryMark))
        return false;
    for (char c : end.substr(kTemporaryMark.size()))
        if (!isAlnum(c))
            return false;
    return true;
}

AtomicFileWriter::AtomicFileWriter(fs::path target) : target_(std::move(target))
{
    destination_ = followLinks(target_);

    // The permission an ordinary write would need, as the system decides it
    // for the effective user (mode, access lists, read-only mounts, immutable
    // files), without opening the file: an open for writing would tell file
    // watchers it changed and break leases.
    struct stat st {};
    const bool exists = ::stat(destination_.c_str(), &st) == 0;
    if (exists && S_ISREG(st.st_mode) && ::faccessat(AT_FDCWD, destination_.c_str(), W_OK, AT_EACCESS) != 0)
        fail(target_, errno);

    fs::path dir = destination_.parent_path();
    if (dir.empty())
        dir = ".";
    const std::size_t nameMax = nameMaxOf(dir);
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        fs::path temp = dir / temporaryNameFor(destination_.filename().string(), randomSuffix(), nameMax);
        std::error_code ec;
        const fs::path absolute = fs::absolute(temp, ec);
        slot_ = claimSlot(ec ? temp.string() : absolute.string());
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            armSlot(slot_);
            temp_ = std::move(temp);
            break;
        }
        const int err = errno;
        releaseSlot(slot_);
        slot_ = -1;
        if (err != EEXIST || attempt >= 100)
            fail(target_, err);
    }

    // The new file takes the old one's owner, group (where the system lets
    // us) and permission bits, or the usual bits for a new file. The mode
    // goes last: a change of owner clears the set-id bits.
    mode_t mode;
    if (exists) {
        if (::fchown(fd, st.st_uid, st.st_gid) != 0)
            (void)::fchown(fd, uid_t(-1), st.st_gid);
        mode = st.st_mode & 07777;
    } else {
        const mode_t umaskNow = ::umask(0);
        ::umask(umaskNow);
        mode = 0666 & ~umaskNow;
    }
    ::fchmod(fd, mode);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        const int err = errno;
        ::close(fd);
        discard();
        fail(target_, err);
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
        fail(target_, EBADF);
    if (size && std::fwrite(data, 1, size, file_) != size)
        fail(target_, errno ? errno : EIO);
}

void AtomicFileWriter::commit()
{
    if (!file_)
        fail(target_, EBADF);
    int err = 0;
    if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0)
        err = errno ? errno : EIO;
    if (std::fclose(file_) != 0 && !err)
        err = errno ? errno : EIO;
    file_ = nullptr;
    if (!err && std::rename(temp_.c_str(), destination_.c_str()) != 0)
        err = errno;
    if (err) {
        discard();
        fail(target_, err);
    }
    releaseSlot(slot_);
    slot_ = -1;
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
    releaseSlot(slot_);
    slot_ = -1;
}

void writeFileAtomically(const fs::path& target, const void* data, std::size_t size)
{
    AtomicFileWriter writer(target);
    writer.write(data, size);
    writer.commit();
}

void installInterruptCleanup()
{
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old {};
        if (::sigaction(sig, nullptr, &old) != 0)
            continue;
        if ((old.sa_flags & SA_SIGINFO) || old.sa_handler != SIG_DFL)
            continue; // ignored (nohup) or someone else's handler, or ours already
        struct sigaction sa {};
        sa.sa_handler = removeTemporariesAndDie;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESETHAND | SA_NODEFER;
        ::sigaction(sig, &sa, nullptr);
    }
}

int removeStaleTemporaryFiles(const fs::path& folder, std::chrono::seconds minimumAge)
{
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return 0;
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return 0;
    }
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryName(entry->d_name))
            continue;
        struct stat st {};
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || now - st.st_mtime < minimumAge.count())
            continue;
        if (::unlinkat(dirFd, entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

bool openForRewrite(std::ifstream& in, const fs::path& path, bool forWriting)
{
    in.open(path, std::ios::binary);
    if (in)
        return true;
    const int err = errno ? errno : EACCES;
    std::error_code ec;
    if (forWriting && fs::exists(path, ec))
        fail(path, err);
    return false;
}

} // namespace px
