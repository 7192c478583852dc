// The class store file and the freedesktop half of the file-type store, on
// files in temporary folders.
#include "platform/ClassStoreFile.h"
#include "platform/XdgFileTypeStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace px {
namespace {

namespace fs = std::filesystem;

TEST(ClassStoreFileTest, KeysAreCreatedWithTheirParentsAndFoundWithoutCase)
{
    test::TempDir dir;
    ClassStoreFile store(dir.file("sous/Pixoran3.reg"));
    EXPECT_FALSE(store.value(".bmp")) << "no file: nothing is set";

    store.setValue(".Bmp\\shell\\open\\command", "", "\"/opt/p 3/pixoran3\" %f");
    store.setValue(".BMP", "", "Pixoran3.Image");
    store.setValue(".bmp", "Content Type", "a\\b\nc");

    EXPECT_EQ(store.value(".bmp\\SHELL\\open\\Command"), "\"/opt/p 3/pixoran3\" %f");
    EXPECT_EQ(store.value(".bmp"), "Pixoran3.Image");
    EXPECT_EQ(store.value(".bmp", "content type"), "a\\b\nc");
    EXPECT_TRUE(store.keyExists(".bmp\\shell")) << "created on the way down";
    EXPECT_FALSE(store.value(".bmp\\shell")) << "a created key has no default value";
    EXPECT_FALSE(store.keyExists(".gif"));

    EXPECT_EQ(test::readText(store.path()), "; Pixoran3: file-type classes\n"
                                            "\n[.Bmp]\n"
                                            "@=\"Pixoran3.Image\"\n"
                                            "\"Content Type\"=\"a\\\\b\\nc\"\n"
                                            "\n[.Bmp\\shell]\n"
                                            "\n[.Bmp\\shell\\open]\n"
                                            "\n[.Bmp\\shell\\open\\command]\n"
                                            "@=\"\\\"/opt/p 3/pixoran3\\\" %f\"\n");

    store.setValue(".bmp", "", "bmpfile");
    EXPECT_EQ(store.value(".bmp"), "bmpfile") << "replaced, not added";
    EXPECT_EQ(store.value(".bmp\\shell\\open\\command"), "\"/opt/p 3/pixoran3\" %f");
}

TEST(ClassStoreFileTest, MalformedLinesAreSkippedAndBadKeysRefused)
{
    test::TempDir dir;
    ClassStoreFile store(dir.file("c.reg"));
    test::writeText(store.path(), "@=\"before any key\"\n[.png]\r\n@=\"pngfile\"\r\nbroken\n@=\"no end\n\"x\"=\"1\"\n");
    EXPECT_EQ(store.value(".png"), "pngfile");
    EXPECT_EQ(store.value(".png", "x"), "1");

    for (const char* bad : {"", "\\.png", ".png\\", ".png\\\\shell", ".p\nng"})
        EXPECT_THROW(store.setValue(bad, "", "v"), std::invalid_argument) << bad;
    EXPECT_EQ(store.value(".png"), "pngfile");
}

class XdgFileTypeStoreTest : public ::testing::Test {
protected:
    test::TempDir dir;
    XdgFileTypeStore store{{dir.file("config/Pixoran3.reg"), dir.file("data/applications/pixoran3.desktop"),
                            dir.file("config/mimeapps.list")}};
    fs::path mimeApps() const { return store.paths().mimeApps; }
};

// Making the program the default puts it first and keeps what was chosen
// before behind it; restoring gives back the file as it was, byte for byte.
TEST_F(XdgFileTypeStoreTest, DefaultIsSetInFrontAndRestored)
{
    const std::string before = "# mes choix\r\n"
                               "[Added Associations]\r\n"
                               "image/png=eog.desktop;\r\n"
                               "\r\n"
                               "[Default Applications]\r\n"
                               "Image/PNG = gimp.desktop;eog.desktop;\r\n"
                               "text/plain=gedit.desktop;\r\n";
    test::writeText(mimeApps(), before);

    store.setDesktopDefault("image/png");
    store.setDesktopDefault("image/png");
    EXPECT_EQ(desktopDefaults(mimeApps(), "image/png"),
              (std::vector<std::string>{"pixoran3.desktop", "gimp.desktop", "eog.desktop"}));
    store.setDesktopDefault("image/gif");
    EXPECT_EQ(test::readText(mimeApps()), "# mes choix\r\n"
                                          "[Added Associations]\r\n"
                                          "image/png=eog.desktop;\r\n"
                                          "\r\n"
                                          "[Default Applications]\r\n"
                                          "Image/PNG =pixoran3.desktop;gimp.desktop;eog.desktop;\r\n"
                                          "text/plain=gedit.desktop;\r\n"
                                          "image/gif=pixoran3.desktop;\n");

    store.restoreDesktopDefault("image/gif");
    store.restoreDesktopDefault("image/png");
    EXPECT_EQ(desktopDefaults(mimeApps(), "image/png"), (std::vector<std::string>{"gimp.desktop", "eog.desktop"}));
    EXPECT_EQ(test::readText(mimeApps()), "# mes choix\r\n"
                                          "[Added Associations]\r\n"
                                          "image/png=eog.desktop;\r\n"
                                          "\r\n"
                                          "[Default Applications]\r\n"
                                          "Image/PNG =gimp.desktop;eog.desktop;\r\n"
                                          "text/plain=gedit.desktop;\r\n");
}

TEST_F(XdgFileTypeStoreTest, WithoutAFileTheSectionIsCreatedAndRestoringLeavesItEmpty)
{
    store.restoreDesktopDefault("image/tiff");
    EXPECT_FALSE(fs::exists(mimeApps())) << "nothing to restore, nothing written";

    store.setDesktopDefault("image/tiff");
    EXPECT_EQ(test::readText(mimeApps()), "[Default Applications]\nimage/tiff=pixoran3.desktop;\n");
    store.restoreDesktopDefault("image/tiff");
    EXPECT_EQ(test::readText(mimeApps()), "[Default Applications]\n");

    test::writeText(mimeApps(), "[Added Associations]\nimage/bmp=a.desktop;");
    store.setDesktopDefault("image/bmp");
    EXPECT_EQ(test::readText(mimeApps()), "[Added Associations]\nimage/bmp=a.desktop;\n"
                                          "[Default Applications]\nimage/bmp=pixoran3.desktop;\n");
}

TEST_F(XdgFileTypeStoreTest, DesktopEntryStartsTheCommandForItsTypes)
{
    const std::vector<std::string> types{"image/bmp", "image/png"};
    store.writeDesktopEntry("\"/opt/a\\\\b/pixoran3\" %f", types);
    const std::string entry = test::readText(store.paths().desktopEntry);
    EXPECT_TRUE(entry.starts_with("[Desktop Entry]\nType=Application\nName=Pixoran3\n")) << entry;
    EXPECT_NE(entry.find("\nExec=\"/opt/a\\\\\\\\b/pixoran3\" %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nMimeType=image/bmp;image/png;\n"), std::string::npos) << entry;

    store.setDefaultValue(".png", "Pixoran3.Image");
    EXPECT_EQ(ClassStoreFile(store.paths().classes).value(".png"), "Pixoran3.Image");
}

} // namespace
} // namespace px
