// The page of "Aperç&u du navigateur...".
#include "fileio/BrowserPreview.h"
#include "platform/AtomicFile.h"
#include "platform/TemporaryFolder.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace px {
namespace {

namespace fs = std::filesystem;

// The colour's digits are red, green, blue in upper case.
TEST(BrowserPreviewTest, TwelveLinesOnTheBackgroundColour)
{
    EXPECT_EQ(ColorToHexRGB(makeColour(0x12, 0xAB, 0x0C)), "12AB0C");
    EXPECT_EQ(browserPreviewPage("/home/anne/chat.png", makeColour(255, 0, 0)),
              "<html>\n"
              "<head>\n"
              "<title>Pixoran3 - Aperçu du navigateur</title>\n"
              "</head>\n"
              "<body bgcolor=\"#FF0000\">\n"
              "<center>\n"
              "<img src=\"file:///home/anne/chat.png\">\n"
              "<br>\n"
              "/home/anne/chat.png\n"
              "</center>\n"
              "</body>\n"
              "</html>\n");
}

// The path is text: it cannot close the attribute or open an element.
TEST(BrowserPreviewTest, MarkupInTheFileNameStaysText)
{
    const std::string page = browserPreviewPage("/tmp/a\"><script>alert(1)</script>&b #1.png", kWhite);
    EXPECT_EQ(page.find("<script"), std::string::npos) << page;
    EXPECT_NE(page.find("<img src=\"file:///tmp/a%22%3E%3Cscript%3Ealert%281%29%3C/script%3E%26b%20%231.png\">\n"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("\n/tmp/a&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;&amp;b #1.png\n"), std::string::npos)
        << page;
}

TEST(BrowserPreviewTest, PageIsWrittenIntoTheUsersOwnTemporaryFolder)
{
    test::TempDir dir;
    const fs::path folder = privateTemporaryFolder(dir.path());
    EXPECT_EQ(folder, dir.file("pixoran3-" + std::to_string(::getuid())));
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);

    const fs::path page = writeBrowserPreview(folder, "/a.bmp", kBlack);
    writeBrowserPreview(folder, "/b.bmp", kBlack);
    EXPECT_EQ(page, folder / "pxrn3.html");
    EXPECT_EQ(test::readText(page), browserPreviewPage("/b.bmp", kBlack)) << "replaced";
    EXPECT_EQ(privateTemporaryFolder(dir.path()), folder) << "found again";
}

// Someone else's link or a folder others may enter is never written through.
TEST(BrowserPreviewTest, TemporaryFolderThatIsNotPrivateIsRefused)
{
    test::TempDir dir;
    test::TempDir elsewhere;
    const fs::path name = dir.file("pixoran3-" + std::to_string(::getuid()));
    fs::create_directory_symlink(elsewhere.path(), name);
    EXPECT_THROW(privateTemporaryFolder(dir.path()), FileWriteError);
    fs::remove(name);
    fs::create_directory(name);
    fs::permissions(name, fs::perms(0755));
    EXPECT_THROW(privateTemporaryFolder(dir.path()), FileWriteError);
}

} // namespace
} // namespace px
