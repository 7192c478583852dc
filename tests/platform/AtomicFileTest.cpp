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

TEST(AtomicFile, ReplacesTheTargetOnlyOnCommit)
{
    test::TempDir dir;
    const auto target = dir.file("a.txt");
    writeFileAtomically(target, "old", 3);
    {
        AtomicFileWriter w(target);
        w.write("new content");
        EXPECT_EQ(readAll(target), "old"); // not yet
    } // destroyed without commit: discarded
    EXPECT_EQ(readAll(target), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1); // no temp file left

    AtomicFileWriter w(target);
    w.write("new content");
    w.commit();
    EXPECT_EQ(readAll(target), "new content");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
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

TEST(AtomicFile, KeepsThePermissionsOfTheReplacedFile)
{
    test::TempDir dir;
    const auto target = dir.file("c.txt");
    writeFileAtomically(target, "1", 1);
    ::chmod(target.c_str(), 0640);
    writeFileAtomically(target, "2", 1);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

} // namespace
} // namespace px
