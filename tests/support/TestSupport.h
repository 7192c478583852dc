#pragma once
// Helpers shared by every test executable.
#include "graphics/Bitmap.h"

#include <filesystem>
#include <functional>
#include <string>

namespace px::test {

// Folder of the real-world image corpus, or empty when PIXORAN3_CORPUS is unset
// (tests that need it call GTEST_SKIP()).
std::filesystem::path corpusDir();

// A fresh, empty folder under the system temporary folder, removed by the
// destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Runs `body` in a forked child as an ordinary user: when the tests run as
// root the child takes the identity of `nobody` (uid and gid 65534), so that
// file permissions apply to it; otherwise it keeps the test's own identity.
// Returns what `body` returned, or a text starting with "child:" when the
// child did not finish normally.
std::string runAsOrdinaryUser(const std::function<std::string()>& body);
// The user runAsOrdinaryUser's child runs as.
unsigned ordinaryUserId();
// Lets that user create and remove files in `folder` (mode 0777).
void shareWithOrdinaryUser(const std::filesystem::path& folder);

// The whole file as bytes in a string (empty when it cannot be read), and
// the file made of `text`, its folders created.
std::string readText(const std::filesystem::path& path);
void writeText(const std::filesystem::path& path, const std::string& text);

// Runs `body` with the process's file size limit at `bytes` (SIGXFSZ
// ignored), so that writes past it fail as on a full disk, even for root.
void withFileSizeLimit(std::size_t bytes, const std::function<void()>& body);

// Writes both images as BMP files into the build folder so that a pixel
// mismatch can be looked at; returns a message naming them.
std::string dumpMismatch(const std::string& name, const Bitmap& actual, const Bitmap& expected);

// A binary grey or colour pixel map (P5 or P6, comments allowed, samples of
// one byte) as a 24-bit bitmap; empty when the text is not one. Other
// programs' decodings come back in this form.
Bitmap parsePnm(const std::string& bytes);

// A 24-bit bitmap of random bytes (the same for the same seed), whose
// pixels differ from their neighbours, so that a shifted, mirrored or
// skipped pixel shows.
Bitmap noise(int width, int height, unsigned seed = 1);

// A test name made from any text (a file name, a caption): letters and
// digits kept, every other character '_'.
std::string testName(std::string text);

// Builds a 24-bit bitmap from rows of characters; each character is looked
// up in `legend` ("." -> white, "#" -> black by default).
Bitmap fromAscii(std::initializer_list<const char*> rows, std::initializer_list<std::pair<char, Colour>> legend = {});

// The inverse of fromAscii for error messages and expectations.
std::string toAscii(const Bitmap& bmp, std::initializer_list<std::pair<char, Colour>> legend = {});

} // namespace px::test
