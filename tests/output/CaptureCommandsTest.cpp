// "&Setup..." and "&Capturer" with a scripted trigger and a fake screen;
// the capture sequence's order of steps with a recording host.
#include "output/CaptureSequence.h"
#include "output/CaptureSetupDialog.h"
#include "OutputDoubles.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace px::test {
namespace {

class CaptureCommands : public OutputFixture {
protected:
    void SetUp() override
    {
        OutputFixture::SetUp();
        createWithDoubles();
        // The first showing's own dialogs (the tip of the day) come now,
        // not when the capture brings the window back.
        show();
    }
    QDialog& setup() { return *window->dialog("TForm11"); }
    template <typename T> T* control(const char* name) { return setup().findChild<T*>(QLatin1String(name)); }
};

TEST_F(CaptureCommands, ChoosingATriggerEnablesItsOwnControls)
{
    auto* keys = control<QComboBox>("ComboBox1");
    auto* seconds = control<QLineEdit>("Edit1");
    auto* upDown = control<QWidget>("UpDown1");
    ASSERT_TRUE(keys && seconds && upDown);
    EXPECT_TRUE(control<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_EQ(keys->count(), 12);
    EXPECT_EQ(keys->currentText(), QStringLiteral("F1"));
    EXPECT_EQ(seconds->text(), QStringLiteral("1"));
    struct Row {
        const char* radio;
        bool keys, seconds;
    };
    for (Row row :
         {Row{"RadioButton2", true, false}, Row{"RadioButton3", false, true}, Row{"RadioButton1", false, false}}) {
        control<QRadioButton>(row.radio)->setChecked(true);
        EXPECT_EQ(keys->isEnabled(), row.keys) << row.radio;
        EXPECT_EQ(seconds->isEnabled(), row.seconds) << row.radio;
        EXPECT_EQ(upDown->isEnabled(), row.seconds) << row.radio;
    }
}

TEST_F(CaptureCommands, OkWritesTheDelayWithoutCapturing)
{
    onDialog(pressing("Button1", [](QDialog& d) {
        d.findChild<QRadioButton*>(QStringLiteral("RadioButton3"))->setChecked(true);
        d.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("7"));
    }));
    trigger("Setup1");
    EXPECT_EQ(settings.readString("Capture", "Temps"), "7");
    EXPECT_EQ(screen->grabs, 0);
    EXPECT_EQ(openWindows(), 0);

    onDialog(pressing("Button2"));
    trigger("Setup1");
    EXPECT_EQ(screen->grabs, 0);
}

TEST_F(CaptureCommands, CapturerInSetupCapturesOnTheChosenKey)
{
    triggers->presses = {false, false, true};
    onDialog(pressing("Button3", [](QDialog& d) {
        d.findChild<QRadioButton*>(QStringLiteral("RadioButton2"))->setChecked(true);
        d.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(4);
    }));
    bool minimisedAtGrab = false;
    screen->onGrab = [&] { minimisedAtGrab = window->isMinimized(); };
    trigger("Setup1");
    ASSERT_EQ(triggers->armed.size(), 1u);
    EXPECT_EQ(triggers->armed[0].kind, CaptureTrigger::Kind::FunctionKey);
    EXPECT_EQ(triggers->armed[0].functionKey, 5);
    EXPECT_EQ(triggers->polls, 3);
    EXPECT_EQ(triggers->disarms, 1);
    EXPECT_TRUE(minimisedAtGrab);
    EXPECT_FALSE(window->isMinimized());
    ASSERT_EQ(openWindows(), 1);
    ImageWindow* shot = window->activeImageWindow();
    EXPECT_EQ(shot->document(), screen->screen);
    EXPECT_EQ(shot->windowTitle(), QStringLiteral("Image"));
    EXPECT_EQ(shot->filePath(), QStringLiteral("Image"));
}

// The order of the steps, with a host that records them.
class RecordingCaptureHost : public CaptureHost {
public:
    void minimise() override { steps += "minimise "; }
    void restore() override { steps += "restore"; }
    bool wait(int milliseconds) override
    {
        steps += "wait" + std::to_string(milliseconds) + " ";
        return --turnsLeft >= 0;
    }
    void showCapture(Bitmap) override { steps += "window "; }
    void message(const std::string&) override { steps += "message "; }
    std::string steps;
    int turnsLeft = 1000;
};

struct SequenceCase {
    const char* name;
    CaptureOptions::Mode mode;
    int functionKey, delaySeconds;
    bool canPoll;
    const char* presses; // one a poll: '1' pressed, '0' not
    int turns;
    bool screenReadable;
    const char* steps;
    bool made;
};

void PrintTo(const SequenceCase& c, std::ostream* os)
{
    *os << c.name;
}

class CaptureSequenceSteps : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(CaptureSequenceSteps, InOrder)
{
    const SequenceCase& c = GetParam();
    RecordingCaptureHost host;
    host.turnsLeft = c.turns;
    FakeScreen screen;
    if (!c.screenReadable)
        screen.screen = Bitmap();
    ScriptedTrigger trigger;
    trigger.canPoll = c.canPoll;
    for (const char* p = c.presses; *p; ++p)
        trigger.presses.push_back(*p == '1');
    EXPECT_EQ(runCapture(CaptureOptions{c.mode, c.functionKey, c.delaySeconds}, host, screen, trigger), c.made);
    EXPECT_EQ(host.steps, c.steps);
}

using Mode = CaptureOptions::Mode;
INSTANTIATE_TEST_SUITE_P(Cases, CaptureSequenceSteps,
                         ::testing::Values(SequenceCase{"RightButton", Mode::RightButton, 1, 1, true, "01", 1000, true,
                                                        "minimise wait0 wait10 wait10 window restore", true},
                                           SequenceCase{"Delay", Mode::Delay, 1, 3, true, "", 1000, true,
                                                        "minimise wait3000 window restore", true},
                                           SequenceCase{"FallbackToDelay", Mode::FunctionKey, 5, 2, false, "", 1000,
                                                        true, "message minimise wait2000 window restore", true},
                                           // The program quits while waiting: no capture.
                                           SequenceCase{"QuitWhileWaiting", Mode::RightButton, 1, 1, true, "", 3, true,
                                                        "minimise wait0 wait10 wait10 wait10 restore", false},
                                           SequenceCase{"QuitDuringDelay", Mode::Delay, 1, 1, true, "", 0, true,
                                                        "minimise wait1000 restore", false},
                                           SequenceCase{"ScreenUnreadable", Mode::Delay, 1, 1, true, "", 1000, false,
                                                        "minimise wait1000 restoremessage ", false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace px::test
