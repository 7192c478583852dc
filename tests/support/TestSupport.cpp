#include "support/TestSupport.h"

#include "fileio/BmpFile.h"

#include <atomic>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <grp.h>
#include <iterator>
#include <map>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace px::test {

namespace fs = std::filesystem;

fs::path corpusDir()
{
    const char* dir = std::getenv("PIXORAN3_CORPUS");
    return dir && *dir ? fs::path(dir) : fs::path();
}

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    path_ =
        fs::temp_directory_path() / ("pixoran3-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

unsigned ordinaryUserId()
{
    return ::geteuid() == 0 ? 65534u : unsigned(::geteuid());
}

void shareWithOrdinaryUser(const fs::path& folder)
{
    fs::permissions(folder, fs::perms::all);
}

std::string runAsOrdinaryUser(const std::function<std::string()>& body)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return "child: no pipe";
    const pid_t pid = ::fork();
    if (pid < 0)
        return "child: no fork";
    if (pid == 0) {
        ::close(fds[0]);
        std::string result;
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            result = "child: could not become nobody";
        else
            result = body();
        const char* p = result.data();
        std::size_t left = result.size();
        while (left > 0) {
            const ssize_t n = ::write(fds[1], p, left);
            if (n <= 0)
                break;
            p += n;
            left -= std::size_t(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, std::size_t(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child: ended abnormally";
    return result;
}

std::string readText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeText(const fs::path& path, const std::string& text)
{
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

void withFileSizeLimit(std::size_t bytes, const std::function<void()>& body)
{
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &small);
    body();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
}

std::string testName(std::string text)
{
    for (char& ch : text)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return text;
}

Bitmap noise(int width, int height, unsigned seed)
{
    std::mt19937 rng(seed);
    Bitmap b(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x)
            b.row(y)[x] = std::uint8_t(rng());
    return b;
}

Bitmap parsePnm(const std::string& bytes)
{
    std::size_t at = 2;
    const auto number = [&] {
        while (at < bytes.size() && (std::isspace(static_cast<unsigned char>(bytes[at])) || bytes[at] == '#'))
            at = bytes[at] == '#' ? bytes.find('\n', at) : at + 1;
        int v = 0;
        for (; at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at])); ++at)
            v = v * 10 + (bytes[at] - '0');
        return v;
    };
    const bool colour = bytes.starts_with("P6");
    const int w = number(), h = number(), maxval = number();
    const std::size_t channels = colour ? 3 : 1;
    if ((!colour && !bytes.starts_with("P5")) || w <= 0 || h <= 0 || maxval != 255 ||
        bytes.size() < at + 1 + std::size_t(w) * std::size_t(h) * channels)
        return {};
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data()) + at + 1;
    Bitmap b(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x, p += channels)
            b.setPixel(x, y, colour ? makeColour(p[0], p[1], p[2]) : makeColour(p[0], p[0], p[0]));
    return b;
}

namespace {

std::map<char, Colour> legendMap(std::initializer_list<std::pair<char, Colour>> legend)
{
    std::map<char, Colour> m{{'.', kWhite}, {'#', kBlack}};
    for (auto [ch, c] : legend)
        m[ch] = c;
    return m;
}

} // namespace

std::string dumpMismatch(const std::string& name, const Bitmap& actual, const Bitmap& expected)
{
    const fs::path dir = PIXORAN3_TEST_OUTPUT_DIR;
    fs::create_directories(dir);
    const fs::path a = dir / (name + "-actual.bmp");
    const fs::path e = dir / (name + "-expected.bmp");
    // An empty bitmap has no file form; its absence tells as much.
    if (!actual.isEmpty())
        writeBmpFile(a, actual);
    if (!expected.isEmpty())
        writeBmpFile(e, expected);
    return "images written to " + a.string() + " and " + e.string();
}

Bitmap fromAscii(std::initializer_list<const char*> rows, std::initializer_list<std::pair<char, Colour>> legend)
{
    const auto m = legendMap(legend);
    const int h = int(rows.size());
    const int w = h ? int(std::char_traits<char>::length(*rows.begin())) : 0;
    Bitmap bmp(w, h, 24);
    int y = 0;
    for (const char* r : rows) {
        for (int x = 0; x < w; ++x) {
            auto it = m.find(r[x]);
            bmp.setPixel(x, y, it == m.end() ? kBlack : it->second);
        }
        ++y;
    }
    return bmp;
}

std::string toAscii(const Bitmap& bmp, std::initializer_list<std::pair<char, Colour>> legend)
{
    const auto m = legendMap(legend);
    std::string s;
    for (int y = 0; y < bmp.height(); ++y) {
        for (int x = 0; x < bmp.width(); ++x) {
            const Colour c = bmp.pixel(x, y);
            char ch = '?';
            for (auto [k, v] : m)
                if (v == c) {
                    ch = k;
                    break;
                }
            s += ch;
        }
        s += '\n';
    }
    return s;
}

} // namespace px::test
