// The editor on a real X server (run by ctest through xvfb-run): the
// desktop's clipboard shared with another program (xclip) and between two
// image windows, by the menu items and by their shortcuts typed on the
// keyboard, and a rectangle drawn by the real pointer (xdotool). Each test
// skips when the program it needs is not installed.
#include "app/MainWindow.h"
#include "document/DocumentView.h"
#include "document/ImageWindow.h"
#include "fileio/PngFile.h"
#include "platform/qt/QtClipboard.h"
#include "platform/ScriptedPrompter.h"
#include "platform/SettingsFile.h"
#include "platform/ShellServices.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace px::test {
namespace {

class NoShell : public ShellServices {
public:
    bool openUrl(const std::string&) override { return false; }
    bool moveToTrash(const std::string&, std::string*) override { return false; }
};

// Lets the program run until `done` holds or `ms` milliseconds have passed.
bool waitUntil(const std::function<bool()>& done, int ms = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void settle(int ms = 150)
{
    waitUntil([] { return false; }, ms);
}

// Runs a program to its end while this one keeps answering the X server (the
// clipboard's owner must serve the other program's request).
bool run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(5000) || !waitUntil([&] { return process.state() == QProcess::NotRunning; }))
        return false;
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool xdotool(const QStringList& arguments)
{
    const bool ok = run(QStringLiteral("xdotool"), arguments);
    settle(60);
    return ok;
}

// A picture whose pixels all differ, so that a shifted or mirrored copy shows.
Bitmap pattern(int w, int h)
{
    Bitmap b(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, makeColour(x * 17 % 256, y * 29 % 256, (x * y + 40) % 256));
    return b;
}

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr || QGuiApplication::platformName() != QStringLiteral("xcb"))
            GTEST_SKIP() << "needs an X server (QT_QPA_PLATFORM=xcb)";
        setenv("PIXORAN3_INI", (dir.path() / "Pixoran3.ini").c_str(), 1);
        settings = std::make_unique<SettingsFile>(SettingsFile::defaultPath());
        MainWindowOptions options;
        options.programDir = QString::fromStdString(dir.path().string());
        window = std::make_unique<MainWindow>(session, *settings, options);
        window->runModal = [](QDialog&) { return int(QDialog::Rejected); };
        window->setGeometry(0, 0, 1100, 900);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(waitUntil([this] { return window->isActiveWindow(); })) << "the window never got the focus";
    }
    void TearDown() override
    {
        if (window)
            clipboard.clear();
        window.reset();
        unsetenv("PIXORAN3_INI");
    }

    static void requireProgram(const char* name)
    {
        if (QStandardPaths::findExecutable(QLatin1String(name)).isEmpty())
            GTEST_SKIP() << name << " is not installed";
    }

    ImageWindow* open(Bitmap document)
    {
        auto* image = new ImageWindow(session);
        image->setDocument(std::move(document));
        window->addImageWindow(image)->move(0, 0);
        settle();
        return image;
    }
    int windows() const { return int(window->mdiArea()->subWindowList().size()); }

    // The view's pixel (x, y) on the screen.
    static QStringList at(ImageWindow* image, int x, int y)
    {
        const QPoint p = image->view()->mapToGlobal(QPoint(x, y));
        return {QString::number(p.x()), QString::number(p.y())};
    }
    // A key typed on the keyboard, to the main window, which has the focus.
    static bool type(const char* keys) { return xdotool({QStringLiteral("key"), QLatin1String(keys)}); }

    TempDir dir;
    ScriptedPrompter prompter;
    NoShell shell;
    QtClipboard clipboard;
    Session session{prompter, shell, clipboard};
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<MainWindow> window;
};

// "Co&pier" (the menu item, then Ctrl+C): another program reads the picture
// as a PNG of the same pixels.
TEST_F(DesktopTest, CopiedPictureIsReadByAnotherProgramAsPng)
{
    requireProgram("xclip");
    requireProgram("xdotool");
    const Bitmap first = pattern(37, 21), second = pattern(16, 9);
    for (const bool byShortcut : {false, true}) {
        open(byShortcut ? second : first);
        if (byShortcut)
            ASSERT_TRUE(type("ctrl+c"));
        else
            window->action("Copier1")->trigger();
        QByteArray png;
        ASSERT_TRUE(run(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", "image/png", "-o"}, &png));
        const Bitmap read =
            decodePng(std::span(reinterpret_cast<const std::uint8_t*>(png.constData()), std::size_t(png.size())));
        EXPECT_EQ(read, byShortcut ? second : first) << (byShortcut ? "Ctrl+C" : "Co&pier");
    }
}

// A PNG put on the clipboard by another program becomes a new image window,
// by "Co&ller" > "&Nouvelle image" (the menu opened, then the item) and by
// Ctrl+V, even though the item was greyed when the menu was last opened
// with an empty clipboard.
TEST_F(DesktopTest, PictureFromAnotherProgramPastesAsNewImage)
{
    requireProgram("xclip");
    requireProgram("xdotool");
    const Bitmap picture = pattern(23, 14);
    savePngFile(dir.file("autre.png"), picture);
    for (const bool byShortcut : {false, true}) {
        clipboard.clear();
        window->editMenuOpening();
        ASSERT_FALSE(window->action("Coller1")->isEnabled());
        // xclip stays in the background and serves the clipboard until the
        // program takes it back.
        ASSERT_TRUE(QProcess::startDetached(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", "image/png",
                                                                      "-i", dir.file("autre.png").c_str()}));
        ASSERT_TRUE(waitUntil([this] { return clipboard.hasImage(); }));
        const int before = windows();
        if (byShortcut) {
            ASSERT_TRUE(type("ctrl+v"));
        } else {
            window->editMenuOpening();
            window->action("Coller1")->trigger();
        }
        ASSERT_TRUE(waitUntil([&] { return windows() == before + 1; })) << (byShortcut ? "Ctrl+V" : "Co&ller");
        ImageWindow* pasted = window->activeImageWindow();
        ASSERT_NE(pasted, nullptr);
        EXPECT_EQ(pasted->document(), picture);
        EXPECT_EQ(pasted->windowTitle(), "Image");
    }
}

// Ctrl+C in one window, Ctrl+S in another: the picture floats over the
// second window's top-left corner, and a right click on it drops it there.
// Then Ctrl+V makes a third window of it.
TEST_F(DesktopTest, CopyAndPasteBetweenTwoWindows)
{
    requireProgram("xdotool");
    const Bitmap picture = pattern(30, 20);
    ImageWindow* source = open(picture);
    Bitmap white(120, 80, 24);
    white.fill(kWhite);
    ImageWindow* target = open(white);
    window->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(source->parentWidget()));
    settle();
    ASSERT_TRUE(type("ctrl+c"));
    window->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(target->parentWidget()));
    settle();
    ASSERT_TRUE(type("ctrl+s"));
    ASSERT_TRUE(target->toolState().floating.shown);
    ASSERT_TRUE(xdotool(QStringList{"mousemove"} + at(target, 10, 10)));
    ASSERT_TRUE(xdotool({"click", "3"}));
    ASSERT_TRUE(waitUntil([&] { return !target->toolState().floating.shown; }));
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(target->document().pixel(x, y), x < 30 && y < 20 ? picture.pixel(x, y) : kWhite) << x << "," << y;

    const int before = windows();
    ASSERT_TRUE(type("ctrl+v"));
    ASSERT_TRUE(waitUntil([&] { return windows() == before + 1; }));
    EXPECT_EQ(window->activeImageWindow()->document(), picture);
}

// "Rectangle" dragged by the pointer from (20, 30) to (120, 90): a black
// outline with corners (20, 30) and (119, 89), nothing else.
TEST_F(DesktopTest, RealPointerDragDrawsARectangle)
{
    requireProgram("xdotool");
    Bitmap white(200, 150, 24);
    white.fill(kWhite);
    ImageWindow* image = open(white);
    window->action("Rectanglebut")->trigger();
    ASSERT_TRUE(xdotool(QStringList{"mousemove"} + at(image, 20, 30)));
    ASSERT_TRUE(xdotool({"mousedown", "1"}));
    for (const QPoint p : {QPoint(50, 50), QPoint(90, 70), QPoint(120, 90)})
        ASSERT_TRUE(xdotool(QStringList{"mousemove"} + at(image, p.x(), p.y())));
    ASSERT_TRUE(xdotool({"mouseup", "1"}));
    ASSERT_TRUE(waitUntil([&] { return image->document().pixel(119, 89) == kBlack; }));
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
            const bool inBox = x >= 20 && x <= 119 && y >= 30 && y <= 89;
            const bool outline = inBox && (x == 20 || x == 119 || y == 30 || y == 89);
            ASSERT_EQ(image->document().pixel(x, y), outline ? kBlack : kWhite) << x << "," << y;
        }
    EXPECT_EQ(session.history.undoHistory().count(), 1);
}

} // namespace
} // namespace px::test
