// The editor on a real X server with a window manager (run by run-x11.sh
// under Xvfb and openbox), driven by xdotool as a user would: the wheel
// zoom, a stroke at 3x, files dropped from another program, the place of a
// reused dialog, and the start of the real editor.
#include "app/MainWindowFixture.h"
#include "document/DocumentView.h"
#include "fileio/BmpFile.h"
#include "platform/qt/DialogPlacement.h"
#include "tools/ToolRegistry.h"

#include <QCursor>
#include <QDeadlineTimer>
#include <QMouseEvent>
#include <QProcess>
#include <QScrollArea>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <sys/stat.h>

namespace px::test {
namespace {

// Runs xdotool with these arguments and waits for it.
void xdo(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    ASSERT_TRUE(process.waitForFinished(10000)) << arguments.join(' ').toStdString();
    ASSERT_EQ(process.exitCode(), 0) << arguments.join(' ').toStdString();
}

void xdoMove(QPoint global)
{
    xdo({"mousemove", "--sync", QString::number(global.x()), QString::number(global.y())});
    QTest::qWait(50);
}

bool waitFor(const std::function<bool()>& done, int milliseconds = 5000)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired())
        QTest::qWait(20);
    return done();
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

    static Bitmap whiteImage(int w, int h)
    {
        Bitmap b(w, h, 24);
        b.fill(kWhite);
        return b;
    }
};

// Ctrl + two wheel notches over image pixel (100, 80) zoom to 3x with that
// pixel still under the pointer; a stroke then drawn with the crayon lands on
// the image pixels under the pointer, as the same stroke drawn at 1:1 would.
TEST_F(X11DesktopTest, WheelZoomThenAStrokeAtThreeTimes)
{
    // Larger than its window, so that the zoomed view scrolls.
    ImageWindow* image = open(whiteImage(700, 600));
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
    plain.setDocument(whiteImage(700, 600));
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
