// The tip of the day: whether it comes at start, which tip it shows, and
// what "&Fermer" writes to the settings file.
#include "app/MainWindowFixture.h"
#include "app/TipOfTheDayDialog.h"

#include <QCheckBox>
#include <QPushButton>

namespace px::test {
namespace {

struct StartSetting {
    const char* name;
    const char* value; // nullptr: the key is missing
    bool shown;
    bool ticked; // the check box after start-up
};

class TipAtStartTest : public MainWindowFixture, public ::testing::WithParamInterface<StartSetting> {};

TEST_P(TipAtStartTest, DemarrageDecidesAtTheFirstPaint)
{
    const StartSetting& s = GetParam();
    if (s.value)
        settings.writeString("Astuces", "Demarrage", s.value);
    MainWindow& w = create();
    show();
    QCoreApplication::processEvents();
    EXPECT_EQ(shownDialogs, s.shown ? std::vector<std::string>{"TForm6"} : std::vector<std::string>{});
    auto* tip = qobject_cast<TipOfTheDayDialog*>(w.dialog("TForm6"));
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->showAtStartup(), s.ticked);

    w.hide();
    show();
    EXPECT_EQ(shownDialogs.size(), s.shown ? 1u : 0u) << "only the first paint shows it";
}

INSTANTIATE_TEST_SUITE_P(Settings, TipAtStartTest,
                         ::testing::Values(StartSetting{"Missing", nullptr, true, true},
                                           StartSetting{"One", "1", true, true},
                                           StartSetting{"Zero", "0", false, false},
                                           // Anything else changes neither the box nor the start.
                                           StartSetting{"Other", "oui", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

using TipDialogTest = MainWindowFixture;

TEST_F(TipDialogTest, FermerWritesTheCheckBoxAndTheCloseBoxWritesNothing)
{
    MainWindow& w = create();
    auto* tip = qobject_cast<TipOfTheDayDialog*>(w.dialog("TForm6"));
    ASSERT_NE(tip, nullptr);
    auto* box = tip->findChild<QCheckBox*>("CheckBox1");
    auto* close = tip->findChild<QPushButton*>("Button1");
    ASSERT_TRUE(box && close);
    EXPECT_EQ(close->text(), "&Fermer");
    EXPECT_EQ(box->text(), "Voir l'astuce au démarrage");

    tip->show();
    tip->reject(); // the close box
    EXPECT_EQ(settings.readString("Astuces", "Demarrage", "absent"), "absent");

    tip->show();
    box->setChecked(false);
    close->click();
    EXPECT_EQ(settings.readString("Astuces", "Demarrage"), "0");
    EXPECT_FALSE(tip->isVisible());

    tip->show();
    box->setChecked(true);
    close->click();
    EXPECT_EQ(settings.readString("Astuces", "Demarrage"), "1");
}

TEST_F(TipDialogTest, ARefusedWriteIsReportedAndTheWindowStaysOpen)
{
    std::filesystem::create_directories(ini()); // a folder where the file should be
    MainWindow& w = create();
    auto* tip = qobject_cast<TipOfTheDayDialog*>(w.dialog("TForm6"));
    tip->show();
    tip->findChild<QPushButton*>("Button1")->click();
    EXPECT_TRUE(tip->isVisible());
    ASSERT_EQ(prompter.callsOf(ScriptedPrompter::CallKind::Message).size(), 1u);
    EXPECT_EQ(prompter.last().text, "Impossible d'écrire dans " + ini());
    tip->hide();
}

TEST_F(TipDialogTest, ShowingDrawsATipAndAutreWrapsRound)
{
    // The generator is seeded when the window is created. With the seed
    // 0x10000000 the first draw sets the state to 0x10000000 * 134775813 + 1
    // = 0x50000001 (mod 2^32); Random(4) = 4 * 0x50000001 >> 32 = 1.
    session.random.setFixedSeed(0x10000000u);
    MainWindow& w = create();
    auto* tip = qobject_cast<TipOfTheDayDialog*>(w.dialog("TForm6"));
    ASSERT_EQ(tip->tips().size(), 4);
    EXPECT_EQ(tip->tipIndex(), 1);
    tip->show();
    EXPECT_EQ(tip->tipIndex(), 1);
    EXPECT_EQ(tip->shownTip(), "Astuce un");
    auto* other = tip->findChild<QPushButton*>("Button2");
    EXPECT_EQ(other->text(), "&Autre");
    other->click();
    other->click();
    EXPECT_EQ(tip->shownTip(), "Astuce trois");
    other->click();
    EXPECT_EQ(tip->tipIndex(), 0);
    EXPECT_EQ(tip->shownTip(), "Astuce zéro");
    tip->hide();
}

TEST_F(TipDialogTest, WindowsLineEndsAreNotPartOfATip)
{
    std::ofstream(dir.file("astuces.txt"), std::ios::binary) << "Premier\r\nSecond\r\n";
    MainWindow& w = create();
    auto* tip = qobject_cast<TipOfTheDayDialog*>(w.dialog("TForm6"));
    EXPECT_EQ(tip->tips(), QStringList({"Premier", "Second"}));
}

TEST_F(TipDialogTest, AMissingTipsFileIsReportedAndLeavesAnEmptyList)
{
    std::filesystem::remove(dir.file("astuces.txt"));
    MainWindow& w = create();
    ASSERT_EQ(prompter.callsOf(ScriptedPrompter::CallKind::Message).size(), 1u);
    EXPECT_EQ(prompter.last().messageKind, MessageKind::Error);
    auto* tip = qobject_cast<TipOfTheDayDialog*>(w.dialog("TForm6"));
    ASSERT_NE(tip, nullptr) << "start-up goes on";
    tip->show();
    tip->findChild<QPushButton*>("Button2")->click();
    EXPECT_EQ(tip->shownTip(), "");
    tip->hide();
}

} // namespace
} // namespace px::test
