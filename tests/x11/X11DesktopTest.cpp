// The editor on a real X server (run by ctest through run-x11.sh, under Xvfb
// and openbox), driven by xdotool as a user would: the desktop's clipboard
// shared with another program (xclip) and between two image windows, by the
// menu items and by their shortcuts typed on the keyboard; a rectangle drawn
// by the real pointer; the wheel zoom and a stroke at 3x; files dropped from
// another program; the place of a reused dialog; the start of the real
// editor. A test skips when a program it needs is not installed.
#include "app/MainWindowFixture.h"
#include "document/DocumentView.h"
#include "document/SessionFixture.h"
#include "fileio/BmpFile.h"
#include "fileio/PngFile.h"
#include "platform/qt/DialogPlacement.h"
#include "platform/qt/QtClipboard.h"
#include "tools/ToolRegistry.h"

#include <QCursor>
#include <QDeadlineTimer>
#include <QMouseEvent>
#include <QProcess>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <sys/stat.h>

namespace px::test {
namespace {

// Lets the program run until `done` holds or `milliseconds` have passed.
bool waitFor(const std::function<bool()>& done, int milliseconds = 5000)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired())
        QTest::qWait(20);
    return done();
}

// Runs a program to its end while this one keeps answering the X server (the
// clipboard's owner must serve the other program's request).
bool run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(5000) || !waitFor([&] { return process.state() == QProcess::NotRunning; }))
        return false;
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Runs xdotool with these arguments, then lets the program take the input.
void xdo(const QStringList& arguments)
{
    ASSERT_TRUE(run(QStringLiteral("xdotool"), arguments)) << arguments.join(' ').toStdString();
    QTest::qWait(60);
}

void xdoMove(QPoint global)
{
    xdo({"mousemove", "--sync", QString::number(global.x()), QString::number(global.y())});
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
        ASSERT_TRUE(waitFor([this] { return window->isActiveWindow(); })) << "the window never got the focus";
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
        QTest::qWait(150);
        return image;
    }
    int windows() const { return int(window->mdiArea()->subWindowList().size()); }

    // The view's pixel (x, y) on the screen.
    static QPoint at(ImageWindow* image, int x, int y) { return image->view()->mapToGlobal(QPoint(x, y)); }
    // A key typed on the keyboard, to the main window, which has the focus.
    static void type(const char* keys) { xdo({QStringLiteral("key"), QLatin1String(keys)}); }

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
    const Bitmap first = noise(37, 21), second = noise(16, 9);
    for (const bool byShortcut : {false, true}) {
        open(byShortcut ? second : first);
        if (byShortcut)
            ASSERT_NO_FATAL_FAILURE(type("ctrl+c"));
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
    const Bitmap picture = noise(23, 14);
    savePngFile(dir.file("autre.png"), picture);
    for (const bool byShortcut : {false, true}) {
        clipboard.clear();
        window->editMenuOpening();
        ASSERT_FALSE(window->action("Coller1")->isEnabled());
        // xclip stays in the background and serves the clipboard until the
        // program takes it back.
        ASSERT_TRUE(QProcess::startDetached(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", "image/png",
                                                                      "-i", dir.file("autre.png").c_str()}));
        ASSERT_TRUE(waitFor([this] { return clipboard.hasImage(); }));
        const int before = windows();
        if (byShortcut) {
            ASSERT_NO_FATAL_FAILURE(type("ctrl+v"));
        } else {
            window->editMenuOpening();
            window->action("Coller1")->trigger();
        }
        ASSERT_TRUE(waitFor([&] { return windows() == before + 1; })) << (byShortcut ? "Ctrl+V" : "Co&ller");
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
    const Bitmap picture = noise(30, 20);
    ImageWindow* source = open(picture);
    Bitmap white(120, 80, 24);
    white.fill(kWhite);
    ImageWindow* target = open(white);
    window->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(source->parentWidget()));
    QTest::qWait(150);
    ASSERT_NO_FATAL_FAILURE(type("ctrl+c"));
    window->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(target->parentWidget()));
    QTest::qWait(150);
    ASSERT_NO_FATAL_FAILURE(type("ctrl+s"));
    ASSERT_TRUE(target->toolState().floating.shown);
    ASSERT_NO_FATAL_FAILURE(xdoMove(at(target, 10, 10)));
    ASSERT_NO_FATAL_FAILURE(xdo({"click", "3"}));
    ASSERT_TRUE(waitFor([&] { return !target->toolState().floating.shown; }));
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(target->document().pixel(x, y), x < 30 && y < 20 ? picture.pixel(x, y) : kWhite) << x << "," << y;

    const int before = windows();
    ASSERT_NO_FATAL_FAILURE(type("ctrl+v"));
    ASSERT_TRUE(waitFor([&] { return windows() == before + 1; }));
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
    ASSERT_NO_FATAL_FAILURE(xdoMove(at(image, 20, 30)));
    ASSERT_NO_FATAL_FAILURE(xdo({"mousedown", "1"}));
    for (const QPoint p : {QPoint(50, 50), QPoint(90, 70), QPoint(120, 90)})
        ASSERT_NO_FATAL_FAILURE(xdoMove(at(image, p.x(), p.y())));
    ASSERT_NO_FATAL_FAILURE(xdo({"mouseup", "1"}));
    ASSERT_TRUE(waitFor([&] { return image->document().pixel(119, 89) == kBlack; }));
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
            const bool inBox = x >= 20 && x <= 119 && y >= 30 && y <= 89;
            const bool outline = inBox && (x == 20 || x == 119 || y == 30 || y == 89);
            ASSERT_EQ(image->document().pixel(x, y), outline ? kBlack : kWhite) << x << "," << y;
        }
    EXPECT_EQ(session.history.undoHistory().count(), 1);
}

class X11DesktopTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        // No tip of the day: it would hold the start in its modal loop.
        std::ofstream(ini()) << "[Astuces]\nDemarrage=0\n";
        create();
        window->runModal = [this](QDialog& d) { return execCentred(d, *window); };
        window->showMaximized();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QTest::qWait(300);
    }
};

// Ctrl + two wheel notches over image pixel (100, 80) zoom to 3x with that
// pixel still under the pointer; a stroke then drawn with the crayon lands on
// the image pixels under the pointer, as the same stroke drawn at 1:1 would.
TEST_F(X11DesktopTest, WheelZoomThenAStrokeAtThreeTimes)
{
    // Larger than its window, so that the zoomed view scrolls.
    ImageWindow* image = open(uniformBitmap(700, 600, kWhite));
    QTest::qWait(300);
    xdoMove(image->view()->mapToGlobal(QPoint(100, 80)));
    xdo({"keydown", "ctrl", "click", "4", "click", "4", "keyup", "ctrl"});
    ASSERT_TRUE(waitFor([&] {
        return image->viewZoom() == ZoomFactor{3, 1};
    })) << "zoom "
        << image->viewZoom().num << "/" << image->viewZoom().den;
    QTest::qWait(100);
    EXPECT_EQ(image->view()->imagePosition(image->view()->mapFromGlobal(QCursor::pos())), QPoint(100, 80));

    session.currentTool = kCrayonTool;
    const Bitmap before = image->document();
    // Image pixel (100, 80) to (115, 87), at 3x.
    xdoMove(image->view()->mapToGlobal(QPoint(100 * 3 + 1, 80 * 3 + 1)));
    xdo({"mousedown", "1"});
    QTest::qWait(100);
    xdoMove(image->view()->mapToGlobal(QPoint(115 * 3 + 2, 87 * 3 + 1)));
    xdo({"mouseup", "1"});
    ASSERT_TRUE(waitFor([&] { return !(image->document() == before); })) << "the stroke drew nothing";
    QTest::qWait(100);

    ImageWindow plain(session);
    plain.setDocument(uniformBitmap(700, 600, kWhite));
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at) + QPointF(0.5, 0.5), plain.view()->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(plain.view(), &e);
    };
    send(QEvent::MouseButtonPress, QPoint(100, 80), Qt::LeftButton);
    send(QEvent::MouseMove, QPoint(115, 87), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, QPoint(115, 87), Qt::NoButton);
    EXPECT_TRUE(image->document() == plain.document())
        << dumpMismatch("x11_stroke_at_3x", image->document(), plain.document());
}

// Two images and a file that is not one, dragged from another program: on
// the main window, then on an image window. Each image opens in its own
// window; the other file gets the program's message.
TEST_F(X11DesktopTest, FilesDroppedFromAnotherProgramOpen)
{
    writeBmpFile(dir.file("un.bmp"), uniformBitmap(30, 20, kBlack));
    writeBmpFile(dir.file("deux.bmp"), uniformBitmap(20, 30, kWhite));
    std::ofstream(dir.file("notes.txt")) << "pas une image\n";
    QProcess source;
    source.start(QStringLiteral(PIXORAN3_DRAG_SOURCE),
                 {"1000", "600", q(dir.file("un.bmp")), q(dir.file("notes.txt")), q(dir.file("deux.bmp"))});
    ASSERT_TRUE(source.waitForReadyRead(10000)) << "the drag source did not start";
    QTest::qWait(700);

    auto dragTo = [&](QPoint target) {
        xdoMove(QPoint(1060, 650));
        xdo({"mousedown", "1"});
        for (QPoint p : {QPoint(1040, 640), QPoint(1000, 620), QPoint(900, 560), target + QPoint(10, 10), target})
            xdoMove(p);
        QTest::qWait(300);
        xdo({"mouseup", "1"});
    };
    dragTo(window->mdiArea()->mapToGlobal(window->mdiArea()->rect().center()));
    ASSERT_TRUE(waitFor([&] { return openWindows() == 2; })) << openWindows() << " windows";
    EXPECT_EQ(prompter.texts().size(), 1u);

    ImageWindow* target = window->imageWindows().back();
    dragTo(target->view()->mapToGlobal(target->view()->rect().center()));
    ASSERT_TRUE(waitFor([&] { return openWindows() == 4; })) << openWindows() << " windows";
    QStringList captions;
    for (ImageWindow* w : window->imageWindows())
        captions << w->windowTitle();
    EXPECT_EQ(captions, (QStringList{"un.bmp", "deux.bmp", "un.bmp", "deux.bmp"}));
    EXPECT_EQ(prompter.texts().size(), 2u);
    source.kill();
    source.waitForFinished();
}

// Under a window manager a reused dialog shows at the same place at every
// showing, centred over the main window.
TEST_F(X11DesktopTest, ADialogShowsAtOnePlace)
{
    for (const char* name : {"TForm10", "TForm4"}) {
        QDialog* dialog = window->dialog(name);
        ASSERT_NE(dialog, nullptr);
        std::vector<QRect> frames;
        for (int i = 0; i < 3; ++i) {
            QTimer::singleShot(700, dialog, [&] {
                frames.push_back(dialog->frameGeometry());
                dialog->reject();
            });
            window->runModal(*dialog);
            QTest::qWait(200);
        }
        ASSERT_EQ(frames.size(), 3u);
        EXPECT_EQ(frames[0], frames[1]) << name;
        EXPECT_EQ(frames[1], frames[2]) << name;
        EXPECT_LE((dialog->geometry().center() - window->geometry().center()).manhattanLength(), 2) << name;
    }
}

// The real editor started with two images prints nothing and opens both.
TEST(X11Editor, StartsWithTwoImagesAndPrintsNothing)
{
    TempDir dir;
    writeBmpFile(dir.file("un.bmp"), uniformBitmap(30, 20, kBlack));
    writeBmpFile(dir.file("deux.bmp"), uniformBitmap(20, 30, kWhite));
    std::ofstream(dir.file("Pixoran3.ini")) << "[Astuces]\nDemarrage=0\n";
    const std::string runtime = dir.file("run").string();
    ::mkdir(runtime.c_str(), 0700);
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PIXORAN3_INI", QString::fromStdString(dir.file("Pixoran3.ini").string()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime));
    env.remove("QT_QPA_PLATFORM");
    editor.setProcessEnvironment(env);
    editor.start(QStringLiteral(PIXORAN3_EDITOR), {QString::fromStdString(dir.file("un.bmp").string()),
                                                   QString::fromStdString(dir.file("deux.bmp").string())});
    ASSERT_TRUE(editor.waitForStarted());
    // The main window, then the second image's window title in it.
    auto shown = [](const char* name) {
        QProcess search;
        search.start(QStringLiteral("xdotool"), {"search", "--name", QString::fromLatin1(name)});
        search.waitForFinished();
        return search.exitCode() == 0;
    };
    EXPECT_TRUE(waitFor([&] { return shown("^Pixoran3"); }, 15000));
    QTest::qWait(1500);
    EXPECT_EQ(editor.state(), QProcess::Running);
    editor.terminate();
    editor.waitForFinished();
    EXPECT_EQ(editor.readAllStandardOutput().toStdString(), "");
    EXPECT_EQ(editor.readAllStandardError().toStdString(), "");
}

} // namespace
} // namespace px::test
