// The main window as a desktop program: files dropped and named on the
// command line, sharp icons and tool bars that fit a screen scaled to 2, a
// usable frame for the smallest image, dialogs at one place, a silent start.
#include "app/MainWindowFixture.h"
#include "app/RecentFiles.h"
#include "app/StatusBar.h"
#include "app/ToolBarRows.h"
#include "codecs/ImageFileError.h"
#include "document/DocumentView.h"
#include "fileio/BmpFile.h"
#include "platform/MemoryRelease.h"
#include "platform/qt/DialogPlacement.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QSvgRenderer>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace px::test {
namespace {

class DesktopTest : public MainWindowFixture {
protected:
    // Two BMP files and a file that is not an image, in the test folder.
    QList<QUrl> files()
    {
        writeBmpFile(dir.file("un.bmp"), uniformBitmap(3, 2, kBlack));
        writeBmpFile(dir.file("deux.bmp"), uniformBitmap(5, 4, kWhite));
        std::ofstream(dir.file("notes.txt")) << "pas une image\n";
        return {QUrl::fromLocalFile(q(dir.file("un.bmp"))), QUrl::fromLocalFile(q(dir.file("notes.txt"))),
                QUrl::fromLocalFile(q(dir.file("deux.bmp")))};
    }

    QStringList captions() const
    {
        QStringList result;
        for (ImageWindow* w : window->imageWindows())
            result << w->windowTitle();
        return result;
    }
};

// Each image opens in its own window as "&Ouvrir..." opens it; the file that
// is not an image gets the same message and no window. A drop over an image
// window reaches the main window: Qt gives a drop to the first widget up from
// the pointer that accepts drops, and nothing between the picture and the
// main window does.
TEST_F(DesktopTest, DroppedFilesOpenOneWindowEach)
{
    create();
    show();
    ImageWindow* image = addImage();
    for (QWidget* w = image->view(); w != window.get(); w = w->parentWidget()) {
        ASSERT_NE(w, nullptr);
        EXPECT_FALSE(w->acceptDrops()) << w->metaObject()->className() << " " << w->objectName().toStdString();
    }
    QMimeData data;
    data.setUrls(files() << QUrl(QStringLiteral("https://exemple.fr/chat.bmp")));
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    QCoreApplication::processEvents();
    EXPECT_EQ(captions(), (QStringList{"Image", "un.bmp", "deux.bmp"}));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{InvalidImageError::kMessage});
    EXPECT_EQ(window->imageWindows().back()->filePath(), q(dir.file("deux.bmp")));

    // A drag without local files is refused.
    QMimeData text;
    text.setText(QStringLiteral("chat.bmp"));
    QDragEnterEvent refused(QPoint(200, 200), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QCoreApplication::sendEvent(window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(DesktopTest, EveryCommandLineFileOpensInItsOwnWindow)
{
    const QList<QUrl> urls = files();
    MainWindowOptions options;
    options.programDir = q(dir.path());
    for (const QUrl& url : urls)
        options.startupFiles << url.toLocalFile();
    window = std::make_unique<MainWindow>(session, settings, options);
    window->runModal = [](QDialog&) { return int(QDialog::Rejected); };
    EXPECT_EQ(openWindows(), 0) << "not before the window is first shown";
    show();
    QCoreApplication::processEvents();
    EXPECT_EQ(captions(), (QStringList{"un.bmp", "deux.bmp"}));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{InvalidImageError::kMessage});
    ImageWindow* last = window->activeImageWindow();
    EXPECT_EQ(last->document(), uniformBitmap(5, 4, kWhite));
    EXPECT_EQ(last->filePath(), q(dir.file("deux.bmp")));
    EXPECT_EQ(window->statusPanels()->panelText(1), q(dir.file("deux.bmp")));
    EXPECT_EQ(window->recentFiles().entries(), (QStringList{q(dir.file("deux.bmp")), q(dir.file("un.bmp"))}));
}

// A "Nouveau..." image 0 pixels wide still gets a frame whose title bar and
// buttons can be reached.
TEST_F(DesktopTest, ImageWindowsKeepAUsableFrame)
{
    create();
    show();
    auto* dialog = window->dialog("TForm4");
    ASSERT_NE(dialog, nullptr);
    const QMdiSubWindow* sub = nullptr;
    onDialog(pressing("Button1", [&](QDialog& d) {
        d.findChild<QLineEdit*>("Edit1")->setText("0");
        d.findChild<QLineEdit*>("Edit2")->setText("0");
    }));
    trigger("Nouveau1");
    ASSERT_EQ(openWindows(), 1);
    sub = window->mdiArea()->subWindowList().front();
    const int titleBar = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
    // Icon, three buttons and the start of the caption.
    EXPECT_GE(sub->width(), 5 * titleBar);
    EXPECT_GE(sub->height(), titleBar);
    // The user cannot make it smaller either.
    EXPECT_GE(sub->minimumWidth(), 5 * titleBar);
}

// At a scale of 2 a screen 1280 pixels wide is 640 wide for the toolkit: the
// drawing tools then get a row of their own instead of hiding behind "»", and
// the status panels keep their widths on a wide window and give way only on
// a narrow one.
TEST_F(DesktopTest, TheWindowFitsAScreenScaledToTwo)
{
    create();
    show();
    addImage();
    for (int width : {1280, 640}) {
        window->resize(width, 480);
        QCoreApplication::processEvents();
        for (QToolBar* bar : {window->mainToolBar(), window->toolPalette()}) {
            auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
            EXPECT_TRUE(!more || !more->isVisible()) << bar->objectName().toStdString() << " at " << width;
            EXPECT_GE(bar->width(), bar->sizeHint().width()) << bar->objectName().toStdString() << " at " << width;
        }
        const bool sameRow = window->toolPalette()->y() == window->mainToolBar()->y();
        EXPECT_EQ(sameRow, width == 1280) << width;
        EXPECT_LE(window->minimumSizeHint().width(), 640);
        EXPECT_EQ(window->width(), width);
        QStatusBar* bar = window->statusBar();
        for (int i = 0; i < StatusBar::kPanelCount; ++i) {
            const QWidget* panel = bar->findChild<QWidget*>(QStringLiteral("StatusPanel%1").arg(i));
            ASSERT_NE(panel, nullptr);
            EXPECT_TRUE(panel->isVisible());
            EXPECT_LE(panel->geometry().right(), bar->width()) << i << " at " << width;
            const int wanted[] = {275, 295, 120, 50};
            if (width == 1280) {
                EXPECT_GE(panel->width(), wanted[i]) << i;
            }
        }
    }
    window->resize(1280, 480);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->toolPalette()->y(), window->mainToolBar()->y()) << "the row is shared again";
}

// The program's icons come from their SVG sources at every scale: the pixmap
// of a 22-pixel icon at 1.5 and 2 is the SVG drawn at 33 and 44 pixels, not
// a 22-pixel picture stretched.
TEST_F(DesktopTest, IconsAreDrawnFromTheirSourcesAtEveryScale)
{
    create();
    std::vector<std::pair<std::string, const char*>> icons;
    for (const ToolButtonRow& row : mainToolBarRows())
        if (!*row.themeIcon || !QIcon::hasThemeIcon(QLatin1String(row.themeIcon)))
            icons.emplace_back(row.objectName, row.iconFile);
    for (const DrawingToolRow& row : drawingToolRows())
        icons.emplace_back(row.objectName, row.iconFile);
    ASSERT_GE(icons.size(), 18u);
    for (const auto& [name, file] : icons) {
        QSvgRenderer svg(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(file)));
        ASSERT_TRUE(svg.isValid()) << file;
        for (qreal scale : {1.0, 1.5, 2.0}) {
            const int side = int(22 * scale);
            const QImage shown = window->action(name)
                                     ->icon()
                                     .pixmap(QSize(22, 22), scale)
                                     .toImage()
                                     .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QImage drawn(side, side, QImage::Format_ARGB32_Premultiplied);
            drawn.fill(Qt::transparent);
            QPainter painter(&drawn);
            svg.render(&painter);
            painter.end();
            ASSERT_EQ(shown.size(), drawn.size()) << file << " at " << scale;
            EXPECT_TRUE(shown == drawn) << file << " at " << scale;
        }
    }
}

// A reused dialog shows at the same place every time, centred over the
// main window.
TEST_F(DesktopTest, DialogsAppearCentredAtOnePlace)
{
    create();
    window->resize(1000, 700);
    window->move(40, 30);
    show();
    for (const char* name : {"TForm4", "TForm6", "TForm10"}) {
        QDialog* dialog = window->dialog(name);
        ASSERT_NE(dialog, nullptr) << name;
        std::vector<QRect> shown;
        for (int i = 0; i < 2; ++i) {
            QTimer::singleShot(0, dialog, [&] {
                shown.push_back(dialog->geometry());
                dialog->reject();
            });
            execCentred(*dialog, *window);
        }
        ASSERT_EQ(shown.size(), 2u) << name;
        EXPECT_EQ(shown[0], shown[1]) << name;
        EXPECT_LE((shown[0].center() - window->geometry().center()).manhattanLength(), 2) << name;
    }
}

// Closing a window gives its memory back: after a 9999 x 9999 image (300 MB)
// has been created and closed, the program is back
// within 30 MB of its size before.
TEST_F(DesktopTest, ClosingAHugeImageGivesItsMemoryBack)
{
    create();
    show();
    QCoreApplication::processEvents();
    returnFreedMemory();
    const std::size_t before = residentBytes();
    ASSERT_GT(before, 0u);
    onDialog(pressing("Button1", [&](QDialog& d) {
        d.findChild<QLineEdit*>("Edit1")->setText("9999");
        d.findChild<QLineEdit*>("Edit2")->setText("9999");
    }));
    trigger("Nouveau1");
    ASSERT_EQ(openWindows(), 1);
    QCoreApplication::processEvents();
    EXPECT_GT(residentBytes(), before + 250'000'000) << "the image is not in memory";

    session.noSavePrompt = true;
    EXPECT_TRUE(window->closeAllImageWindows());
    session.noSavePrompt = false;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_EQ(openWindows(), 0);
    const std::size_t after = residentBytes();
    EXPECT_LT(after, before + 30'000'000)
        << "before " << before / 1'000'000 << " MB, after " << after / 1'000'000 << " MB";
}

// Starting prints nothing (the test platform's own notices aside).
TEST_F(DesktopTest, AStartPrintsNothing)
{
    static QStringList printed;
    printed.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
            if (!m.contains(QLatin1String("This plugin does not support")))
                printed << m;
        });
    create();
    show();
    QCoreApplication::processEvents();
    window.reset();
    qInstallMessageHandler(previous);
    EXPECT_TRUE(printed.isEmpty()) << printed.join('\n').toStdString();
}

} // namespace
} // namespace px::test
