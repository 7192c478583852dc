// "&Formats associés...": what OK writes into the class store, the desktop's
// default applications and the settings file, with the real store on
// temporary folders.
#include "fileio/FileAssociations.h"
#include "platform/ClassStoreFile.h"
#include "platform/SettingsFile.h"
#include "platform/XdgFileTypeStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>

namespace px {
namespace {

namespace fs = std::filesystem;

constexpr const char* kExe = "/opt/pixoran3/pixoran3";
constexpr const char* kCommand = "\"/opt/pixoran3/pixoran3\" %f";
enum Row { Bmp, Gif, Jpa, Jpe, Jpeg, Jpg, Png, Tga };

class FileAssociationsTest : public ::testing::Test {
protected:
    // Ticks the given rows and presses OK.
    void apply(std::initializer_list<Row> rows)
    {
        std::array<bool, 10> ticks{};
        for (Row r : rows)
            ticks[r] = true;
        applyAssociations(ticks, kExe, settings, store);
    }
    std::optional<std::string> value(const std::string& key) const { return classes.value(key); }
    std::string formats(const char* key) const { return settings.readString("Formats", key, "missing"); }
    std::vector<std::string> defaults(const char* mime) const { return desktopDefaults(paths.mimeApps, mime); }

    test::TempDir dir;
    XdgFileTypePaths paths{dir.file("config/Pixoran3.reg"), dir.file("data/applications/pixoran3.desktop"),
                           dir.file("config/mimeapps.list")};
    XdgFileTypeStore store{paths};
    ClassStoreFile classes{paths.classes};
    SettingsFile settings{dir.file("Pixoran3.ini")};
};

TEST_F(FileAssociationsTest, TickingPngWritesDefaultAndCommandButNoIcon)
{
    apply({Png, Bmp});
    EXPECT_EQ(value(".bmp\\DefaultIcon"), "/opt/pixoran3/pixoran3,0") << "the six first rows have an icon";
    EXPECT_EQ(value(".png"), "Pixoran3.Image");
    EXPECT_EQ(value(".png\\shell\\open\\command"), kCommand);
    EXPECT_FALSE(classes.keyExists(".png\\DefaultIcon"));
    EXPECT_EQ(formats("png"), "1");
    EXPECT_EQ(defaults("image/png"), std::vector<std::string>{"pixoran3.desktop"});
    EXPECT_TRUE(fs::exists(paths.desktopEntry));
    EXPECT_EQ(formats("gif"), "missing") << "unticked and never associated: not written";
    EXPECT_FALSE(classes.keyExists(".gif"));
}

// ".jpa" gets the class of ".jpg" back; image/jpeg stays the program's while
// another JPEG extension is ticked, and goes back to the previous
// application with the last one.
TEST_F(FileAssociationsTest, UntickingRestoresTheStandardClassAndThePreviousApplication)
{
    fs::create_directories(paths.mimeApps.parent_path());
    std::ofstream(paths.mimeApps) << "[Default Applications]\nimage/jpeg=gimp.desktop;\n";
    store.setDefaultValue(".gif", "custom");

    apply({Jpa, Jpg});
    EXPECT_EQ(defaults("image/jpeg"), (std::vector<std::string>{"pixoran3.desktop", "gimp.desktop"}));
    apply({Jpg});
    EXPECT_EQ(value(".jpa"), "jpgfile");
    EXPECT_EQ(value(".jpa\\shell\\open\\command"), kCommand) << "the command stays";
    EXPECT_EQ(formats("jpa"), "0");
    EXPECT_EQ(defaults("image/jpeg"), (std::vector<std::string>{"pixoran3.desktop", "gimp.desktop"}));

    apply({});
    EXPECT_EQ(value(".jpg"), "jpgfile");
    EXPECT_EQ(formats("jpg"), "0");
    EXPECT_EQ(defaults("image/jpeg"), std::vector<std::string>{"gimp.desktop"});
    EXPECT_EQ(value(".gif"), "custom") << "never associated here: untouched";
    EXPECT_EQ(formats("gif"), "missing");

    apply({});
    EXPECT_EQ(value(".jpa"), "jpgfile") << "recorded as 0: nothing more to restore";
}

TEST_F(FileAssociationsTest, TicksComeFromTheSettingsFile)
{
    settings.writeString("Formats", "bmp", "1");
    settings.writeString("Formats", "GIF", "oui");
    settings.writeString("Formats", "png", "0");
    const std::vector<bool> expected{true, true, false, false, false, false, false, false, false, false};
    EXPECT_EQ(associatedInSettings(settings), expected);
}

TEST(AssociationTextTest, ItemsPatternsAndCommand)
{
    const auto rows = associationRows();
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(associationItemText(rows[4]), "Fichiers JPEG");
    EXPECT_EQ(associationPattern(rows[9]), "*.tiff");
    EXPECT_EQ(associationKey(rows[7]), ".tga");
    EXPECT_EQ(openCommand("/usr/bin/pixoran3"), "\"/usr/bin/pixoran3\" %f");
    EXPECT_EQ(openCommand("/o\"p/$a`b\\c 100%"), "\"/o\\\"p/\\$a\\`b\\\\c 100%%\" %f");
    EXPECT_EQ(desktopCommand("/usr/bin/pixoran3"), "/usr/bin/pixoran3 %f");
    EXPECT_EQ(desktopCommand("/opt/100%/p3"), "/opt/100%%/p3 %f");
    EXPECT_EQ(desktopCommand("/opt/mes outils/p3"), "\"/opt/mes outils/p3\" %f");
    EXPECT_EQ(desktopCommand("/opt/a(1)/p3"), "\"/opt/a(1)/p3\" %f");
}

// The real folders of a user: HOME alone names them.
TEST(FileAssociationsHomeTest, MimeappsDefaultSetAndRestoredInTheHomeFolder)
{
    test::TempDir home;
    const auto saved = [](const char* name) { return std::getenv(name) ? std::string(std::getenv(name)) : ""; };
    const std::string oldHome = saved("HOME"), config = saved("XDG_CONFIG_HOME"), data = saved("XDG_DATA_HOME");
    setenv("HOME", home.path().c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
    XdgFileTypeStore store(XdgFileTypePaths::fromEnvironment());
    for (const auto& [name, value] : {std::pair{"HOME", oldHome}, {"XDG_CONFIG_HOME", config}, {"XDG_DATA_HOME", data}})
        value.empty() ? unsetenv(name) : setenv(name, value.c_str(), 1);

    SettingsFile settings(home.file("Pixoran3.ini"));
    const fs::path mimeApps = home.file(".config/mimeapps.list");
    std::array<bool, 10> ticks{};
    ticks[Tga] = true;
    applyAssociations(ticks, kExe, settings, store);
    EXPECT_EQ(desktopDefaults(mimeApps, "image/x-tga"), std::vector<std::string>{"pixoran3.desktop"});
    EXPECT_TRUE(fs::exists(home.file(".local/share/applications/pixoran3.desktop")));
    EXPECT_EQ(ClassStoreFile(home.file(".config/Pixoran3.reg")).value(".tga"), "Pixoran3.Image");

    ticks[Tga] = false;
    applyAssociations(ticks, kExe, settings, store);
    EXPECT_TRUE(desktopDefaults(mimeApps, "image/x-tga").empty());
}

} // namespace
} // namespace px
