// "&Capturer" on a real X server (run by run-on-x11.sh; skipped on other
// platforms): the right button and F5 pressed by xdotool (down, a pause,
// up, since a click is shorter than the polling period), a press held from
// before the command that does not count, and the delay, whose capture
// equals the screen as another program reads it.
#include "fileio/ImageFormats.h"
#include "OutputDoubles.h"
#include "platform/qt/QtScreenGrabber.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>

#include <cstdlib>

namespace px::test {
namespace {

void runShell(const std::string& command)
{
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// The real grabber, noting what the desktop looked like at that moment.
class SpyGrabber : public ScreenGrabber {
public:
    SpyGrabber(MainWindow& window, std::filesystem::path shot) : window_(window), shot_(std::move(shot)) {}
    Bitmap grabScreen() override
    {
        ++grabs;
        elapsed = clock.elapsed();
        mainWindowMapped =
            std::system(("xwininfo -id " + std::to_string(window_.winId()) + " | grep -q IsViewable").c_str()) == 0;
        Bitmap b = QtScreenGrabber().grabScreen();
        std::system(("import -window root '" + shot_.string() + "'").c_str());
        return b;
    }
    QElapsedTimer clock;
    int grabs = 0;
    qint64 elapsed = 0;
    bool mainWindowMapped = true;

private:
    MainWindow& window_;
    std::filesystem::path shot_;
};

class X11Capture : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server (tests/output/run-on-x11.sh)";
        create();
        window->resize(600, 400);
        show();
        auto spy = std::make_unique<SpyGrabber>(*window, dir.file("root.png"));
        grabber = spy.get();
        window->outputServices().screen = std::move(spy);
        marker = dir.file("second-press").string();
        runShell("xdotool mousemove 900 700");
    }
    void TearDown() override
    {
        if (window)
            std::system("xdotool mouseup 3 keyup F5 key Escape >/dev/null 2>&1");
        MainWindowFixture::TearDown();
    }
    QDialog& setup() { return *window->dialog("TForm11"); }
    // The command starts with the trigger held down; it is released, then
    // `marker` is made and the trigger pressed again.
    void captureWithTriggerHeld(const std::string& down, const std::string& up)
    {
        runShell("xdotool " + down);
        runShell("(sleep 0.5; xdotool " + up + "; sleep 0.5; touch '" + marker + "'; xdotool " + down +
                 "; sleep 0.2; xdotool " + up + ") >/dev/null 2>&1 &");
        grabber->clock.start();
        trigger("Capturer1");
    }
    void expectScreenWindow()
    {
        ASSERT_EQ(grabber->grabs, 1);
        EXPECT_TRUE(std::filesystem::exists(marker)) << "captured before the second press";
        EXPECT_GE(grabber->elapsed, 1000);
        ASSERT_EQ(openWindows(), 1);
        const Bitmap& shot = window->activeImageWindow()->document();
        EXPECT_EQ(shot.width(), 1024);
        EXPECT_EQ(shot.height(), 768);
        EXPECT_FALSE(window->isMinimized());
    }

    SpyGrabber* grabber = nullptr;
    std::string marker;
};

TEST_F(X11Capture, RightButtonPressedAfterTheCommand)
{
    captureWithTriggerHeld("mousedown 3", "mouseup 3");
    expectScreenWindow();
}

TEST_F(X11Capture, FunctionKeyPressedAfterTheCommand)
{
    setup().findChild<QRadioButton*>(QStringLiteral("RadioButton2"))->setChecked(true);
    setup().findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(4);
    captureWithTriggerHeld("keydown F5", "keyup F5");
    expectScreenWindow();
}

TEST_F(X11Capture, DelayCapturesTheScreenWithoutTheProgram)
{
    // Something on the screen besides the program: a window of stripes.
    QPixmap stripes(300, 200);
    QPainter painter(&stripes);
    for (int i = 0; i < 6; ++i)
        painter.fillRect(i * 50, 0, 50, 200, QColor::fromHsv(i * 60, 255, 255));
    painter.end();
    QLabel other;
    other.setPixmap(stripes);
    other.move(650, 500);
    other.show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        QCoreApplication::processEvents();

    setup().findChild<QRadioButton*>(QStringLiteral("RadioButton3"))->setChecked(true);
    setup().findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("1"));
    grabber->clock.start();
    trigger("Capturer1");
    ASSERT_EQ(grabber->grabs, 1);
    EXPECT_GE(grabber->elapsed, 1000);
    EXPECT_FALSE(grabber->mainWindowMapped);
    ASSERT_EQ(openWindows(), 1);
    const Bitmap& shot = window->activeImageWindow()->document();
    const Bitmap screen = readImageFile(dir.file("root.png"));
    EXPECT_TRUE(shot == screen) << dumpMismatch("capture", shot, screen);
    EXPECT_FALSE(window->isMinimized());
}

} // namespace
} // namespace px::test
