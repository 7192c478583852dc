// The recent-files list: its rules, its menu items, the MRUS keys of the
// settings file and the commands mru1..mru4.
#include "app/RecentFiles.h"
#include "app/MainWindowFixture.h"
#include "app/StatusBar.h"
#include "fileio/ImageFormats.h"

#include <QAction>

#include <chrono>
#include <fstream>

namespace px::test {
namespace {

QStringList list(std::initializer_list<const char*> paths)
{
    QStringList out;
    for (const char* p : paths)
        out.append(QString::fromUtf8(p));
    return out;
}

struct AddCase {
    const char* label;
    std::vector<const char*> added; // in order
    std::vector<const char*> expected;
};

class RecentRules : public ::testing::TestWithParam<AddCase> {};

TEST_P(RecentRules, AddKeepsFourNewestFirstWithoutDuplicates)
{
    RecentFiles recent;
    for (const char* p : GetParam().added)
        recent.add(QString::fromUtf8(p));
    QStringList expected;
    for (const char* p : GetParam().expected)
        expected.append(QString::fromUtf8(p));
    EXPECT_EQ(recent.entries(), expected);
    EXPECT_TRUE(recent.changed());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecentRules,
    ::testing::Values(AddCase{"FiveDropTheFirst",
                              {"/i/1.bmp", "/i/2.bmp", "/i/3.bmp", "/i/4.bmp", "/i/5.bmp"},
                              {"/i/5.bmp", "/i/4.bmp", "/i/3.bmp", "/i/2.bmp"}},
                      AddCase{"ThirdMovesToTheTop",
                              {"/i/1.bmp", "/i/2.bmp", "/i/3.bmp", "/i/4.bmp", "/i/2.bmp"},
                              {"/i/2.bmp", "/i/4.bmp", "/i/3.bmp", "/i/1.bmp"}},
                      AddCase{"CaseBlindDuplicateKeepsItsFirstSpelling",
                              {"/i/Chat.BMP", "/i/b.bmp", "/i/chat.bmp"},
                              {"/i/Chat.BMP", "/i/b.bmp"}},
                      AddCase{
                          "AccentedCaseBlind", {"/i/Été.bmp", "/i/x.bmp", "/i/ÉTÉ.BMP"}, {"/i/Été.bmp", "/i/x.bmp"}},
                      AddCase{"TopAgainChangesNothingButTheFlag", {"/i/a.bmp", "/i/a.bmp"}, {"/i/a.bmp"}}),
    [](const auto& info) { return std::string(info.param.label); });

class RecentFilesTest : public MainWindowFixture {
protected:
    void writeIni(const std::string& text) { std::ofstream(ini(), std::ios::binary) << text; }
    std::vector<std::string> menuCaptions() const
    {
        std::vector<std::string> out;
        for (int i = 1; i <= 4; ++i)
            if (QAction* a = window->action("mru" + std::to_string(i)); a->isVisible())
                out.push_back(a->text().toStdString());
        return out;
    }
    std::filesystem::path image(const std::string& name)
    {
        const auto path = dir.file(name);
        writeImageFile(path, fromAscii({"#."}), SaveOptions{});
        return path;
    }
};

// Empty keys are skipped, key names read without regard to case, and an
// ampersand is doubled so it is not taken as a mnemonic.
TEST_F(RecentFilesTest, LoadSkipsEmptyKeysAndReadsKeysWithoutRegardToCase)
{
    writeIni("[MRUS]\nMRU1=/img/a.bmp\nMRU2=\nmru3=/img/chat & chien.png\nMru4=/img/d.jpg\n");
    MainWindow& w = create();
    EXPECT_EQ(menuCaptions(), (std::vector<std::string>{"/img/a.bmp", "/img/chat && chien.png", "/img/d.jpg"}));
    EXPECT_TRUE(w.action("Mrudiv")->isVisible());
    EXPECT_FALSE(w.action("mru4")->isVisible());
    EXPECT_EQ(w.recentFiles().entries(), list({"/img/a.bmp", "/img/chat & chien.png", "/img/d.jpg"}));
}

TEST_F(RecentFilesTest, OnlyAChangedListIsWrittenAtDestructionKeepingLaterKeys)
{
    const std::string text = "; mes réglages\n[MRUS]\nMRU1=/img/a.bmp\nMRU2=\nMRU3=/img/c.bmp\nMRU4=/img/vieux.bmp\n";
    writeIni(text);
    create();
    window.reset();
    EXPECT_EQ(readText(ini()), text) << "an unchanged list leaves the settings file alone";
    const auto file = image("neuf.bmp");
    MainWindow& w = create();
    // The list read is a, c; after the open it is neuf, a, c.
    ASSERT_NE(w.openImageFile(QString::fromStdString(file.string())), nullptr);
    EXPECT_EQ(settings.readString("MRUS", "MRU1"), "/img/a.bmp") << "nothing written before the end";
    window.reset();
    EXPECT_EQ(settings.readString("MRUS", "mru1"), file.string());
    EXPECT_EQ(settings.readString("MRUS", "mru2"), "/img/a.bmp");
    EXPECT_EQ(settings.readString("MRUS", "mru3"), "/img/c.bmp");
    EXPECT_EQ(settings.readString("MRUS", "mru4"), "/img/vieux.bmp") << "a key past the count is left alone";
}

TEST_F(RecentFilesTest, ChoosingAnEntryOpensItAgainAndMovesItToTheTop)
{
    const auto a = image("a.bmp");
    const auto b = image("b.bmp");
    MainWindow& w = create();
    EXPECT_TRUE(menuCaptions().empty());
    EXPECT_FALSE(w.action("Mrudiv")->isVisible()) << "no items, no separator";
    w.openImageFile(QString::fromStdString(a.string()));
    w.openImageFile(QString::fromStdString(b.string()));
    w.action("mru2")->trigger(); // a.bmp
    flush();
    EXPECT_EQ(openWindows(), 3);
    ImageWindow* reopened = w.activeImageWindow();
    EXPECT_EQ(reopened->filePath().toStdString(), a.string());
    EXPECT_EQ(reopened->windowTitle(), "a.bmp");
    EXPECT_EQ(w.statusPanels()->panelText(1).toStdString(), a.string());
    EXPECT_EQ(menuCaptions(), (std::vector<std::string>{a.string(), b.string()}));
}

// A missing file, a folder by that name and a file that cannot be decoded
// are refused and keep their place in the list.
TEST_F(RecentFilesTest, AnEntryThatCannotBeOpenedStaysInTheList)
{
    const std::string gone = dir.file("parti.bmp").string(), bad = dir.file("abime.png").string();
    std::ofstream(bad) << "abîmé";
    writeIni("[MRUS]\nMRU1=" + bad + "\nMRU2=" + gone + "\n");
    MainWindow& w = create();
    w.action("mru2")->trigger();
    EXPECT_EQ(openWindows(), 0);
    ASSERT_EQ(messages(), 1u);
    EXPECT_EQ(prompter.last().text, "Le fichier n'existe pas.");
    EXPECT_EQ(prompter.last().messageKind, MessageKind::Error);
    std::filesystem::create_directory(gone);
    w.action("mru2")->trigger();
    EXPECT_EQ(prompter.last().text, "Le fichier n'existe pas.");

    w.action("mru1")->trigger();
    flush();
    EXPECT_EQ(openWindows(), 0);
    EXPECT_EQ(prompter.last().text, "Le fichier est un fichier image non valide.");
    EXPECT_EQ(menuCaptions(), (std::vector<std::string>{bad, gone}));
    EXPECT_FALSE(w.recentFiles().changed());
}

// A save killed mid-way leaves a hidden temporary file beside its target;
// the next start removes those of the recent files' folders once they are a
// day old (a younger one may be a save in progress elsewhere).
TEST_F(RecentFilesTest, StartRemovesDayOldTemporaryFilesBesideTheEntries)
{
    namespace fs = std::filesystem;
    const fs::path photos = dir.path() / "photos";
    fs::create_directories(photos);
    const fs::path old = photos / ".chat.bmp.pixoran3-AbCd1234", young = photos / ".chien.bmp.pixoran3-EfGh5678";
    for (const fs::path& p : {old, young})
        std::ofstream(p) << "x";
    fs::last_write_time(old, fs::file_time_type::clock::now() - std::chrono::hours(25));
    fs::last_write_time(young, fs::file_time_type::clock::now() - std::chrono::hours(1));
    writeIni("[MRUS]\nMRU1=" + (photos / "chat.bmp").string() + "\n");
    create();
    EXPECT_FALSE(fs::exists(old));
    EXPECT_TRUE(fs::exists(young));
}

} // namespace
} // namespace px::test
