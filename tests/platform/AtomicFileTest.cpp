#include "platform/AtomicFile.h"
#include "support/TestSupport.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace px {
namespace {

namespace fs = std::filesystem;

std::size_t entries(const fs::path& dir)
{
    return std::size_t(std::distance(fs::directory_iterator(dir), {}));
}

// The old content stays until commit, a writer dropped without commit leaves
// no temporary file, and the replaced file keeps its permissions.
TEST(AtomicFile, ReplacesTheTargetOnlyOnCommitKeepingItsPermissions)
{
    test::TempDir dir;
    const auto target = dir.file("a.txt");
    writeFileAtomically(target, "old", 3);
    ::chmod(target.c_str(), 0640);
    {
        AtomicFileWriter w(target);
        w.write("new content");
        EXPECT_EQ(test::readText(target), "old");
    }
    EXPECT_EQ(test::readText(target), "old");
    EXPECT_EQ(entries(dir.path()), 1u);

    AtomicFileWriter w(target);
    w.write("new content");
    w.commit();
    EXPECT_EQ(test::readText(target), "new content");
    EXPECT_EQ(entries(dir.path()), 1u);
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

std::string repeated(const std::string& part, int times)
{
    std::string s;
    for (int i = 0; i < times; ++i)
        s += part;
    return s;
}

struct NameCase {
    const char* label;
    std::string target;
    std::string expected;
};

class TemporaryName : public ::testing::TestWithParam<NameCase> {};

// Hidden, the target's name, the mark and the suffix; a long target name is
// cut so that the whole fits 255 bytes, never inside a UTF-8 character.
TEST_P(TemporaryName, FitsTheNameLimit)
{
    const std::string name = temporaryNameFor(GetParam().target, "AbCd0123");
    EXPECT_EQ(name, GetParam().expected);
    EXPECT_LE(name.size(), 255u);
    EXPECT_TRUE(isTemporaryName(name));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TemporaryName,
    ::testing::Values(
        NameCase{"Short", "chat.png", ".chat.png.pixoran3-AbCd0123"},
        // 236 bytes of the target fit beside the 19 of the dot, mark and suffix.
        NameCase{"Longest", std::string(236, 'a'), "." + std::string(236, 'a') + ".pixoran3-AbCd0123"},
        NameCase{"Cut", std::string(250, 'b') + ".png", "." + std::string(236, 'b') + ".pixoran3-AbCd0123"},
        // "x" then 2-byte characters: byte 236 is the second half of one, so 235 are kept.
        NameCase{"CutBeforeACharacter", "x" + repeated("é", 120), ".x" + repeated("é", 117) + ".pixoran3-AbCd0123"}),
    [](const auto& info) { return std::string(info.param.label); });

// Names of 248 to 255 bytes used to need a temporary name past the limit.
TEST(AtomicFile, SavesUnderNamesUpToTheLimit)
{
    test::TempDir dir;
    for (std::size_t length : {247u, 248u, 251u, 255u}) {
        const auto target = dir.file(std::string(length - 4, 'n') + ".bmp");
        writeFileAtomically(target, "abc", 3);
        EXPECT_EQ(test::readText(target), "abc") << length;
        fs::remove(target);
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// The link stays, its final target gets the content; the temporary file is
// made beside the target, so nothing ever appears beside the link.
TEST(AtomicFile, WritesThroughSymbolicLinks)
{
    test::TempDir dir;
    fs::create_directories(dir.path() / "real" / "deep");
    fs::create_directories(dir.path() / "links");
    const auto real = dir.path() / "real" / "deep" / "image.bmp";
    std::ofstream(real) << "old";
    fs::create_symlink("../real/deep/image.bmp", dir.path() / "links" / "one.bmp");         // relative
    fs::create_symlink(dir.path() / "links" / "one.bmp", dir.path() / "links" / "two.bmp"); // a chain
    AtomicFileWriter w(dir.path() / "links" / "two.bmp");
    EXPECT_TRUE(fs::equivalent(w.temporaryPath().parent_path(), real.parent_path()));
    EXPECT_EQ(w.destination(), dir.path() / "links" / ".." / "real" / "deep" / "image.bmp");
    w.write("new");
    w.commit();
    EXPECT_TRUE(fs::is_symlink(dir.path() / "links" / "one.bmp"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "links" / "two.bmp"));
    EXPECT_EQ(test::readText(real), "new");
    EXPECT_EQ(entries(dir.path() / "links"), 2u);
    EXPECT_EQ(entries(real.parent_path()), 1u);

    // A dangling link: the file it names is created, as an ordinary write would.
    fs::create_symlink("../real/nouveau.bmp", dir.path() / "links" / "three.bmp");
    writeFileAtomically(dir.path() / "links" / "three.bmp", "x", 1);
    EXPECT_EQ(test::readText(dir.path() / "real" / "nouveau.bmp"), "x");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "links" / "three.bmp"));

    // A loop is refused with the system's reason.
    fs::create_symlink("loop-b", dir.path() / "loop-a");
    fs::create_symlink("loop-a", dir.path() / "loop-b");
    try {
        writeFileAtomically(dir.path() / "loop-a", "x", 1);
        FAIL() << "no error";
    } catch (const FileWriteError& e) {
        EXPECT_EQ(e.reason(), std::strerror(ELOOP));
    }
}

// A hard-linked file is replaced as a new file under the name written: the
// other name keeps the old content.
TEST(AtomicFile, HardLinksAreReplacedAsANewFile)
{
    test::TempDir dir;
    std::ofstream(dir.file("a.bmp")) << "old";
    fs::create_hard_link(dir.file("a.bmp"), dir.file("b.bmp"));
    writeFileAtomically(dir.file("a.bmp"), "new", 3);
    EXPECT_EQ(test::readText(dir.file("a.bmp")), "new");
    EXPECT_EQ(test::readText(dir.file("b.bmp")), "old");
}

struct PermissionCase {
    const char* label;
    bool ownedByTheUser; // else by root, in a folder everyone may write
    fs::perms mode;
    bool allowed;
};

class AtomicFilePermission : public ::testing::TestWithParam<PermissionCase> {};

// The save is decided as an ordinary write to the file would be; a refused
// one leaves the file, its owner and its mode as they were and no temporary
// file behind. An allowed one keeps the mode, and the owner where the system
// lets the writer give the file away: only root may, so a file of someone
// else that everyone may write becomes the writer's.
TEST_P(AtomicFilePermission, FollowsTheRightToWriteTheFile)
{
    const PermissionCase& c = GetParam();
    if (!c.ownedByTheUser && ::geteuid() != 0)
        GTEST_SKIP() << "needs root to make a file owned by someone else";
    test::TempDir dir;
    test::shareWithOrdinaryUser(dir.path());
    const auto target = dir.file("image.bmp");
    std::ofstream(target) << "old";
    const uid_t owner = c.ownedByTheUser ? uid_t(test::ordinaryUserId()) : 0;
    ASSERT_EQ(::chown(target.c_str(), owner, c.ownedByTheUser ? gid_t(test::ordinaryUserId()) : 0), 0);
    fs::permissions(target, c.mode);

    const std::string outcome = test::runAsOrdinaryUser([&]() -> std::string {
        try {
            writeFileAtomically(target, "new", 3);
            return "written";
        } catch (const FileWriteError& e) {
            return e.what();
        }
    });
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, unsigned(c.mode));
    EXPECT_EQ(st.st_uid, c.allowed ? uid_t(test::ordinaryUserId()) : owner);
    EXPECT_EQ(entries(dir.path()), 1u);
    if (c.allowed) {
        EXPECT_EQ(outcome, "written");
        EXPECT_EQ(test::readText(target), "new");
    } else {
        EXPECT_EQ(outcome, "Impossible d'écrire dans " + target.string() + " (Permission denied)");
        EXPECT_EQ(test::readText(target), "old");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, AtomicFilePermission,
                         ::testing::Values(PermissionCase{"OwnReadOnly", true, fs::perms(0444), false},
                                           PermissionCase{"OwnWritable", true, fs::perms(0640), true},
                                           PermissionCase{"OthersReadable", false, fs::perms(0644), false},
                                           PermissionCase{"OthersWritableByAll", false, fs::perms(0666), true}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(AtomicFile, RootKeepsTheOwnerOfTheFileItReplaces)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may give a file away";
    test::TempDir dir;
    const auto target = dir.file("image.bmp");
    std::ofstream(target) << "old";
    ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
    fs::permissions(target, fs::perms(0604));
    writeFileAtomically(target, "new", 3);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(test::readText(target), "new");
}

// Only our own temporary files, left for a day, plain files of the user.
TEST(AtomicFile, StaleTemporaryFilesAreRemovedAfterADay)
{
    test::TempDir dir;
    const auto age = [&](const char* name, std::chrono::hours hours) {
        const auto when = fs::file_time_type::clock::now() - hours;
        fs::last_write_time(dir.file(name), when);
    };
    for (const char* name : {".a.bmp.pixoran3-OLDOLD01", ".b.bmp.pixoran3-NEWNEW01", ".c.bmp.XYZ123", "notes.txt"})
        std::ofstream(dir.file(name)) << "x";
    fs::create_directory(dir.file(".d.bmp.pixoran3-FOLDER01"));
    fs::create_symlink("notes.txt", dir.file(".e.bmp.pixoran3-LINKLI01"));
    age(".a.bmp.pixoran3-OLDOLD01", std::chrono::hours(25));
    age(".b.bmp.pixoran3-NEWNEW01", std::chrono::hours(23));
    age(".c.bmp.XYZ123", std::chrono::hours(48));
    age("notes.txt", std::chrono::hours(48));
    age(".d.bmp.pixoran3-FOLDER01", std::chrono::hours(48));

    EXPECT_EQ(removeStaleTemporaryFiles(dir.path(), std::chrono::hours(24)), 1);
    EXPECT_FALSE(fs::exists(dir.file(".a.bmp.pixoran3-OLDOLD01")));
    for (const char* kept : {".b.bmp.pixoran3-NEWNEW01", ".c.bmp.XYZ123", "notes.txt", ".d.bmp.pixoran3-FOLDER01"})
        EXPECT_TRUE(fs::exists(dir.file(kept))) << kept;
    EXPECT_TRUE(fs::is_symlink(dir.file(".e.bmp.pixoran3-LINKLI01")));
    EXPECT_EQ(removeStaleTemporaryFiles(dir.path() / "missing", std::chrono::hours(24)), 0);

    // Someone else's file of that name is not ours to remove.
    if (::geteuid() == 0) {
        std::ofstream(dir.file(".f.bmp.pixoran3-OTHERS01")) << "x";
        age(".f.bmp.pixoran3-OTHERS01", std::chrono::hours(48));
        test::shareWithOrdinaryUser(dir.path());
        EXPECT_EQ(test::runAsOrdinaryUser(
                      [&] { return std::to_string(removeStaleTemporaryFiles(dir.path(), std::chrono::hours(24))); }),
                  "0");
        EXPECT_TRUE(fs::exists(dir.file(".f.bmp.pixoran3-OTHERS01")));
    }
}

} // namespace
} // namespace px
