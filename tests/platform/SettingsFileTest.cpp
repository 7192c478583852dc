#include "platform/SettingsFile.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

namespace px {
namespace {

namespace fs = std::filesystem;

const char* const kHandWritten = "; Réglages de Pixoran3\n"
                                 "[MRUS]\n"
                                 "mru1=C:\\Images\\chat.bmp\n"
                                 "MRU2 = /home/anne/fleurs, été.png \n"
                                 "\n"
                                 "[Nouveau]\n"
                                 "largeur=640\n"
                                 "Hauteur=\"480\"\n"
                                 "not a key line\n"
                                 "; fin du nouveau\n"
                                 "\n"
                                 "[Astuces]\n"
                                 "Demarrage=0\n";

class SettingsFileTest : public ::testing::Test {
protected:
    test::TempDir dir;
    SettingsFile ini{dir.file("Pixoran3.ini")};

    std::size_t files() const { return std::size_t(std::distance(fs::directory_iterator(dir.path()), {})); }

    void expectRefused(SettingsFile& file, const std::string& value = "x")
    {
        try {
            file.writeString("Nouveau", "largeur", value);
            FAIL() << "the write was not refused";
        } catch (const SettingsWriteError& e) {
            EXPECT_EQ(std::string(e.what()), "Impossible d'écrire dans " + file.path().string());
        }
    }
};

TEST_F(SettingsFileTest, ReadsValuesByTheProfileRules)
{
    EXPECT_EQ(ini.readString("Astuces", "Demarrage", "1"), "1"); // no file yet
    test::writeText(ini.path(), kHandWritten);
    EXPECT_EQ(ini.readString("mrus", "MRU1"), "C:\\Images\\chat.bmp");
    EXPECT_EQ(ini.readString("MRUS", "mru2"), "/home/anne/fleurs, été.png");
    EXPECT_EQ(ini.readString("NOUVEAU", "hauteur"), "480");
    EXPECT_EQ(ini.readString("Nouveau", "Fond", "Blanc"), "Blanc");
    EXPECT_EQ(ini.readString("Capture", "Temps", "5"), "5");
    EXPECT_EQ(ini.readString("Nouveau", "not a key line", "d"), "d");
    EXPECT_EQ(ini.readString("Astuces", "Demarrage", "1"), "0");

    // Each call reads the file as it is now, whoever wrote it.
    SettingsFile other(ini.path());
    other.writeString("Nouveau", "largeur", "800");
    EXPECT_EQ(ini.readString("Nouveau", "largeur"), "800");
    test::writeText(ini.path(), "[Nouveau]\nlargeur=12\n");
    EXPECT_EQ(other.readString("Nouveau", "largeur"), "12");
}

TEST_F(SettingsFileTest, WriteCreatesFolderFileSectionAndKey)
{
    SettingsFile nested(dir.path() / "config" / "Pixoran3.ini");
    nested.writeString("MRUS", "mru1", "/tmp/a.bmp");
    nested.writeString("Astuces", "Demarrage", "1");
    nested.writeString("MRUS", "mru2", "/tmp/b.bmp");
    EXPECT_EQ(test::readText(nested.path()), "[MRUS]\nmru1=/tmp/a.bmp\nmru2=/tmp/b.bmp\n\n[Astuces]\nDemarrage=1\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(nested.path().parent_path()), {}), 1); // no temporary left
}

struct EditCase {
    const char* name;
    const char* section;
    const char* key;
    const char* value;
    std::string expected; // whole file afterwards
};

class SettingsEdit : public SettingsFileTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(SettingsEdit, KeepsEveryOtherLineByteForByte)
{
    test::writeText(ini.path(), kHandWritten);
    ini.writeString(GetParam().section, GetParam().key, GetParam().value);
    EXPECT_EQ(test::readText(ini.path()), GetParam().expected);
}

std::string handWrittenWith(const std::string& from, const std::string& to)
{
    std::string s = kHandWritten;
    s.replace(s.find(from), from.size(), to);
    return s;
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsEdit,
                         ::testing::Values(
                             // The line keeps its own key spelling and spacing; only the value changes.
                             EditCase{"ReplaceSpacedKey", "mrus", "mru2", "/x.png",
                                      handWrittenWith("/home/anne/fleurs, été.png ", "/x.png")},
                             EditCase{"ReplaceQuoted", "Nouveau", "HAUTEUR", "200", handWrittenWith("\"480\"", "200")},
                             // A new key goes after the last key line, before the section's trailing lines.
                             EditCase{"AddKeyToSection", "NOUVEAU", "Fond", "Gris",
                                      handWrittenWith("Hauteur=\"480\"\n", "Hauteur=\"480\"\nFond=Gris\n")},
                             EditCase{"AddKeyToLastSection", "Astuces", "x", "1", std::string(kHandWritten) + "x=1\n"},
                             EditCase{"AddSection", "Capture", "Temps", "3",
                                      std::string(kHandWritten) + "\n[Capture]\nTemps=3\n"},
                             // Spaces at either end would be lost on reading: the value is quoted.
                             EditCase{"QuotePaddedValue", "Jpeg", "affichage", " 1",
                                      std::string(kHandWritten) + "\n[Jpeg]\naffichage=\" 1\"\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFileTest, KeepsCrlfLineEndsAndByteOrderMark)
{
    test::writeText(ini.path(), "\xEF\xBB\xBF[Formats]\r\nbmp=0\r\n\r\n[Nouveau]\r\nlargeur=1");
    ini.writeString("formats", "BMP", "1");
    ini.writeString("Nouveau", "Type", "256 couleurs");
    ini.writeString("Compression", "Jpeg", "90");
    EXPECT_EQ(test::readText(ini.path()),
              "\xEF\xBB\xBF[Formats]\r\nbmp=1\r\n\r\n[Nouveau]\r\nlargeur=1\r\nType=256 couleurs\r\n"
              "\r\n[Compression]\r\nJpeg=90\r\n");
    EXPECT_EQ(ini.readString("FORMATS", "bmp"), "1");
}

// The empty value reads back as itself, not as the caller's default.
TEST_F(SettingsFileTest, ValuesComeBackAsWritten)
{
    for (const std::string& v :
         {std::string("C:\\Images\\chat.bmp"), std::string("a,b;c=d"), std::string("/tmp/nom finissant par espace "),
          std::string("\"cité\""), std::string(), std::string(1 << 20, 'z')}) {
        ini.writeString("MRUS", "mru1", v);
        EXPECT_EQ(ini.readString("MRUS", "mru1", "défaut"), v);
    }
}

TEST_F(SettingsFileTest, FirstOfDuplicateSectionsAndKeysWins)
{
    test::writeText(ini.path(), "[A]\nk=1\nk=2\n[B]\nz=0\n[a]\nk=3\nonly=4\n");
    EXPECT_EQ(ini.readString("A", "k"), "1");
    EXPECT_EQ(ini.readString("A", "only"), "4");
    ini.writeString("a", "only", "5");
    ini.writeString("a", "new", "6");
    EXPECT_EQ(test::readText(ini.path()), "[A]\nk=1\nk=2\nnew=6\n[B]\nz=0\n[a]\nk=3\nonly=5\n");
}

struct ForeignBytesCase {
    const char* label;
    std::string file;
    std::string expected; // Demarrage as read, UTF-8
};

class ForeignBytes : public SettingsFileTest, public ::testing::WithParamInterface<ForeignBytesCase> {};

// Bytes that are not UTF-8 spoil nothing: values read in Latin-1 (the
// locale of the tests has no 8-bit encoding), and a write of another key
// keeps every other byte of the file.
TEST_P(ForeignBytes, ReadInLatin1AndKeptThroughAWrite)
{
    test::writeText(ini.path(), GetParam().file);
    EXPECT_EQ(ini.readString("Astuces", "Demarrage", "1"), GetParam().expected);
    EXPECT_EQ(ini.readString("Nouveau", "largeur", "320"), "640");
    ini.writeString("Nouveau", "largeur", "800");
    std::string after = GetParam().file;
    after.replace(after.find("largeur=640"), 11, "largeur=800");
    EXPECT_EQ(test::readText(ini.path()), after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ForeignBytes,
    ::testing::Values(
        ForeignBytesCase{"Latin1Value", "[Astuces]\nDemarrage=\xE9t\xE9\n[Nouveau]\nlargeur=640\n", "été"},
        ForeignBytesCase{"CutSequence", "[Astuces]\nDemarrage=\xC3\n[Nouveau]\nlargeur=640\n", "Ã"},
        ForeignBytesCase{"Overlong", "[Astuces]\nDemarrage=\xC0\xAF\n[Nouveau]\nlargeur=640\n", "À¯"},
        ForeignBytesCase{"Surrogate", "[Astuces]\nDemarrage=\xED\xA0\x80\n[Nouveau]\nlargeur=640\n",
                         "í\xC2\xA0\xC2\x80"},
        ForeignBytesCase{"ForeignComment", "; r\xE9glages\n[Astuces]\nDemarrage=0\n\xFF\xFE\n[Nouveau]\nlargeur=640",
                         "0"},
        // A line holding a NUL byte is not a key line, but it is kept.
        ForeignBytesCase{"NulByte", std::string("[Astuces]\nDemarrage=0\0\n[Nouveau]\nlargeur=640\n", 45), "1"}),
    [](const auto& info) { return std::string(info.param.label); });

// Values that are not UTF-8 are read in the encoding given, Latin-1 when
// the system does not know it.
TEST_F(SettingsFileTest, ForeignValuesFollowTheEightBitEncoding)
{
    test::writeText(ini.path(), "[MRUS]\nmru1=/img/\xA4\xBD.bmp\nmru2=/img/\xC0.bmp\n");
    EXPECT_EQ(SettingsFile(ini.path(), "ISO-8859-15").readString("MRUS", "mru1"), "/img/€œ.bmp");
    EXPECT_EQ(SettingsFile(ini.path(), "CP1251").readString("MRUS", "mru2"), "/img/А.bmp"); // Cyrillic A
    EXPECT_EQ(SettingsFile(ini.path(), "NO-SUCH-ENCODING").readString("MRUS", "mru1"), "/img/¤½.bmp");
    EXPECT_EQ(ini.readString("MRUS", "mru1"), "/img/¤½.bmp");
}

TEST_F(SettingsFileTest, RefusedWritesRaiseTheProgramMessage)
{
    test::writeText(dir.file("plain"), "a file, not a folder");
    SettingsFile underFile(dir.file("plain") / "Pixoran3.ini");
    expectRefused(underFile);

    fs::create_directory(dir.file("folder.ini"));
    SettingsFile folder(dir.file("folder.ini"));
    EXPECT_EQ(folder.readString("Nouveau", "largeur", "320"), "320");
    expectRefused(folder);
    EXPECT_TRUE(fs::is_directory(folder.path()));
}

TEST_F(SettingsFileTest, FailedWriteLeavesTheOldFileIntact)
{
    const std::string old = "[Nouveau]\nlargeur=320\n";
    test::writeText(ini.path(), old);

    // A line break would add lines of its own, a NUL byte would spoil the
    // line and bytes that are not UTF-8 would read back as other text:
    // refused before anything is written.
    for (const std::string& bad :
         {std::string("1\n[Formats]"), std::string("1\0", 2), std::string("/img/\xE9t\xE9.bmp")})
        expectRefused(ini, bad);
    EXPECT_EQ(test::readText(ini.path()), old);

    // A file size limit makes the system refuse the new content, even for root.
    std::optional<std::string> error;
    test::withFileSizeLimit(old.size() + 4, [&] {
        try {
            ini.writeString("Nouveau", "largeur", std::string(100, '9'));
        } catch (const SettingsWriteError& e) {
            error = e.what();
        }
    });
    EXPECT_EQ(error, "Impossible d'écrire dans " + ini.path().string());
    EXPECT_EQ(test::readText(ini.path()), old);
    EXPECT_EQ(files(), 1u);
}

// A settings file the user made read-only stays as it is: the write is
// refused with the program's message (as an ordinary user: root may write
// any file).
TEST_F(SettingsFileTest, ReadOnlyFileIsLeftUntouched)
{
    test::shareWithOrdinaryUser(dir.path());
    const std::string old = "[Nouveau]\nlargeur=320\n";
    test::writeText(ini.path(), old);
    ASSERT_EQ(::chown(ini.path().c_str(), test::ordinaryUserId(), test::ordinaryUserId()), 0);
    fs::permissions(ini.path(), fs::perms(0444));
    const std::string outcome = test::runAsOrdinaryUser([&]() -> std::string {
        try {
            ini.writeString("Nouveau", "largeur", "640");
            return "written";
        } catch (const SettingsWriteError& e) {
            return e.what();
        }
    });
    EXPECT_EQ(outcome, "Impossible d'écrire dans " + ini.path().string());
    EXPECT_EQ(test::readText(ini.path()), old);
    EXPECT_EQ(fs::status(ini.path()).permissions(), fs::perms(0444));
    EXPECT_EQ(files(), 1u);
}

TEST_F(SettingsFileTest, WritesThroughASymbolicLink)
{
    test::writeText(dir.file("real.ini"), "[A]\nk=1\n");
    fs::create_symlink("real.ini", ini.path());
    ini.writeString("A", "k", "2");
    EXPECT_TRUE(fs::is_symlink(ini.path()));
    EXPECT_EQ(test::readText(dir.file("real.ini")), "[A]\nk=2\n");
}

class EnvVar {
public:
    explicit EnvVar(const char* name) : name_(name)
    {
        if (const char* v = std::getenv(name))
            saved_ = v;
    }
    ~EnvVar() { saved_ ? setenv(name_, saved_->c_str(), 1) : unsetenv(name_); }
    void set(const char* v) { v ? setenv(name_, v, 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(SettingsFile, DefaultPathFollowsTheEnvironment)
{
    EnvVar ini("PIXORAN3_INI"), xdg("XDG_CONFIG_HOME"), home("HOME");
    home.set("/home/anne");
    ini.set(nullptr);
    xdg.set(nullptr);
    EXPECT_EQ(SettingsFile::defaultPath(), fs::path("/home/anne/.config/Pixoran3.ini"));
    xdg.set("relative/dir"); // ignored: not absolute
    EXPECT_EQ(SettingsFile::defaultPath(), fs::path("/home/anne/.config/Pixoran3.ini"));
    xdg.set("/etc/xdg-anne");
    EXPECT_EQ(SettingsFile::defaultPath(), fs::path("/etc/xdg-anne/Pixoran3.ini"));
    ini.set("/srv/partage/p3.ini");
    EXPECT_EQ(SettingsFile::defaultPath(), fs::path("/srv/partage/p3.ini"));
}

} // namespace
} // namespace px
