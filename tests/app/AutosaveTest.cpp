// Timed autosave: the dialog TForm49, the command that sets the timer
// Tpssave1 from it, and what one tick of the timer does.
#include "app/Autosave.h"
#include "app/AutosaveDialog.h"
#include "app/MainWindowFixture.h"
#include "fileio/ImageFormats.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

namespace px::test {
namespace {

class AutosaveTest : public MainWindowFixture {
protected:
    QTimer* timer() const { return window->findChild<QTimer*>("Tpssave1"); }
    QDialog* dialog() const { return window->dialog("TForm49"); }
    QCheckBox* box() const { return dialog()->findChild<QCheckBox*>("CheckBox1"); }
    QSpinBox* spin() const { return dialog()->findChild<QSpinBox*>("SpinEdit1"); }

    // Runs "&Enregistrement automatique..." with the user setting the dialog
    // and leaving it with OK (or Annuler).
    void runCommand(bool ticked, int minutes, bool ok = true)
    {
        window->runModal = [=, this](QDialog& d) {
            box()->setChecked(ticked);
            if (ticked)
                spin()->setValue(minutes);
            (ok ? d.findChild<QPushButton*>("Button1") : d.findChild<QPushButton*>("Button2"))->click();
            return d.result();
        };
        window->action("Enregistauto1")->trigger();
    }
};

TEST_F(AutosaveTest, DialogStartsOffAtFiveMinutesAndSetsTheTimerInMinutes)
{
    create();
    ASSERT_NE(dialog(), nullptr);
    ASSERT_NE(timer(), nullptr);
    EXPECT_FALSE(timer()->isActive());
    EXPECT_FALSE(box()->isChecked());
    EXPECT_EQ(spin()->value(), 5);
    EXPECT_FALSE(spin()->isEnabled());
    const QColor off = spin()->palette().color(QPalette::Base);
    box()->setChecked(true);
    EXPECT_TRUE(spin()->isEnabled());
    EXPECT_NE(spin()->palette().color(QPalette::Base), off) << "drawn in the window colour once usable";
    box()->setChecked(false);
    EXPECT_FALSE(spin()->isEnabled());
    EXPECT_EQ(spin()->palette().color(QPalette::Base), off);

    runCommand(true, 2);
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(timer()->interval(), 2 * 60 * 1000);
    runCommand(true, 7, false);
    EXPECT_TRUE(timer()->isActive()) << "Annuler changes nothing";
    EXPECT_EQ(timer()->interval(), 2 * 60 * 1000);
    runCommand(false, 0);
    EXPECT_FALSE(timer()->isActive());
    EXPECT_FALSE(box()->isChecked()) << "the dialog keeps its state for the next opening";
}

TEST_F(AutosaveTest, TickSavesTheActiveImageToItsFileOrAsksForAName)
{
    MainWindow& w = create();
    autosaveTick(w);
    EXPECT_TRUE(prompter.calls().empty()) << "no image: nothing to do";

    const std::filesystem::path first = dir.file("premier.png");
    const std::filesystem::path active = dir.file("actif.bmp");
    addImage(QStringLiteral("premier.png"), q(first));
    ImageWindow* image = addImage(QStringLiteral("actif.bmp"), q(active));
    image->setDocument(fromAscii({"#.#", "..#"}));
    autosaveTick(w);
    EXPECT_EQ(readImageFile(active), fromAscii({"#.#", "..#"}));
    EXPECT_FALSE(std::filesystem::exists(first)) << "only the active window is saved";
    EXPECT_TRUE(prompter.calls().empty());

    // A new image asks for a name at every tick.
    addImage();
    autosaveTick(w);
    autosaveTick(w);
    const auto saves = prompter.callsOf(Kind::SaveFile);
    ASSERT_EQ(saves.size(), 2u);
    EXPECT_EQ(saves[1].fileRequest.title, "Enregistrer sous");
}

// A tick that comes while the save-as dialog of the previous tick is still
// open must not open a second dialog over it.
class ReenteringPrompter : public ScriptedPrompter {
public:
    std::optional<FileChoice> saveFileName(const FileDialogRequest& request) override
    {
        if (whileOpen)
            whileOpen();
        return ScriptedPrompter::saveFileName(request);
    }
    std::function<void()> whileOpen;
};

TEST(AutosaveReentry, ATickDuringTheNameDialogIsSkipped)
{
    TempDir dir;
    setenv("PIXORAN3_INI", (dir.path() / "Pixoran3.ini").c_str(), 1);
    ReenteringPrompter prompter;
    RecordingShell shell;
    MemoryClipboard clipboard;
    Session session{prompter, shell, clipboard};
    SettingsFile settings{SettingsFile::defaultPath()};
    {
        MainWindow w(session, settings, MainWindowOptions{});
        w.addImageWindow(new ImageWindow(session));
        int nested = 0;
        prompter.whileOpen = [&] {
            if (nested++ == 0)
                autosaveTick(w);
        };
        autosaveTick(w);
        EXPECT_EQ(prompter.callsOf(Kind::SaveFile).size(), 1u);
        autosaveTick(w);
        EXPECT_EQ(prompter.callsOf(Kind::SaveFile).size(), 2u) << "the next tick runs again";
    }
    unsetenv("PIXORAN3_INI");
}

} // namespace
} // namespace px::test
