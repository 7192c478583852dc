#include "platform/AtomicFile.h"
#include "support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace px {
namespace {

std::string readAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// The old content stays until commit, a writer dropped without commit leaves
// no temporary file, and the replaced file keeps its permissions.
TEST(AtomicFile, ReplacesTheTargetOnlyOnCommitKeepingItsPermissions)
{
    test::TempDir dir;
    const auto target = dir.file("a.txt");
    const auto files = [&] { return std::distance(std::filesystem::directory_iterator(dir.path()), {}); };
    writeFileAtomically(target, "old", 3);
    ::chmod(target.c_str(), 0640);
    {
        AtomicFileWriter w(target);
        w.write("new content");
        EXPECT_EQ(readAll(target), "old");
    }
    EXPECT_EQ(readAll(target), "old");
    EXPECT_EQ(files(), 1);

    AtomicFileWriter w(target);
    w.write("new content");
    w.commit();
    EXPECT_EQ(readAll(target), "new content");
    EXPECT_EQ(files(), 1);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(AtomicFile, RefusedFolderRaisesWithTheFileName)
{
    test::TempDir dir;
    const auto target = dir.path() / "missing-folder" / "b.bmp";
    try {
        writeFileAtomically(target, "x", 1);
        FAIL() << "no error";
    } catch (const FileWriteError& e) {
        EXPECT_NE(std::string(e.what()).find("Impossible d'écrire dans " + target.string()), std::string::npos)
            << e.what();
    }
}

} // namespace
} // namespace px
