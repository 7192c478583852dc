#include "document/ImageWindow.h"
#include "document/DocumentView.h"
#include "document/FullScreenView.h"
#include "document/SessionFixture.h"
#include "support/TestSupport.h"
#include "tools/ToolRegistry.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSlider>

#include <gtest/gtest.h>

namespace px {
namespace {

class ImageWindowTest : public test::SessionTest {
protected:
    // Shows `doc` at the top left of the screen and points the magnifier at
    // document point `at`.
    void magnify(ImageWindow& window, const Bitmap& doc, int step, QPoint at)
    {
        window.move(0, 0);
        window.setDocument(doc);
        window.setZoomStep(step);
        window.show();
        QApplication::processEvents();
        window.updateMagnifier(window.view()->mapToGlobal(at));
    }
};

const Colour kGrey = makeColour(128, 128, 128);

TEST_F(ImageWindowTest, CreationClearsNoSavePromptAndBecomesFrmImageUntilDestroyed)
{
    session.noSavePrompt = true;
    {
        ImageWindow window(session);
        EXPECT_FALSE(session.noSavePrompt);
        EXPECT_EQ(session.frmImage, &window);
        EXPECT_EQ(window.objectName(), "TFrmImage");
        EXPECT_EQ(window.windowTitle(), "Image");
        EXPECT_EQ(window.size(), QSize(501, 409));
        auto* label = window.findChild<QLabel*>("LabelIm");
        ASSERT_NE(label, nullptr);
        window.show();
        EXPECT_FALSE(label->isVisible());
    }
    EXPECT_EQ(session.frmImage, nullptr);
}

struct CloseCase {
    const char* path;
    Answer answer;
    bool saveSucceeds;
    int saves;
    bool closes;
};

class CloseQuestion : public ImageWindowTest, public ::testing::WithParamInterface<CloseCase> {};

// Yes saves and closes unless the save fails or is cancelled, No closes
// without saving, Cancel keeps the window. An empty path leaves two spaces.
TEST_P(CloseQuestion, AnswerDecidesSavingAndClosing)
{
    const CloseCase& c = GetParam();
    ImageWindow window(session);
    window.setFilePath(c.path);
    int saves = 0;
    window.saveHandler = [&] { return ++saves, c.saveSucceeds; };
    bool closed = false;
    QObject::connect(&window, &ImageWindow::closed, [&] { closed = true; });
    window.show();
    prompter.queueAnswer(c.answer);
    EXPECT_EQ(window.close(), c.closes);
    EXPECT_EQ(closed, c.closes);
    EXPECT_EQ(window.isVisible(), !c.closes);
    EXPECT_EQ(saves, c.saves);
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{std::string("Voulez-vous enregistrer les modifications de ") + c.path + " ?"});
    EXPECT_EQ(prompter.last().buttons, Buttons::YesNoCancel);
}

INSTANTIATE_TEST_SUITE_P(Answers, CloseQuestion,
                         ::testing::Values(CloseCase{"Image", Answer::No, true, 0, true},
                                           CloseCase{"/tmp/chat.bmp", Answer::Yes, true, 1, true},
                                           CloseCase{"/tmp/chat.bmp", Answer::Yes, false, 1, false},
                                           CloseCase{"", Answer::Cancel, true, 0, false}));

TEST_F(ImageWindowTest, DuplicateCopiesTheDocumentUnderTheNameImage)
{
    ImageWindow window(session);
    window.setFilePath("/tmp/chat.bmp");
    window.setWindowTitle("chat.bmp");
    window.setDocument(test::fromAscii({"#.", ".#"}));
    session.noSavePrompt = true;
    std::unique_ptr<ImageWindow> copy(window.duplicate());
    EXPECT_EQ(copy->filePath(), "Image");
    EXPECT_EQ(copy->windowTitle(), "Image");
    EXPECT_EQ(copy->height(), 409 + 56);
    EXPECT_EQ(session.frmImage, copy.get());
    EXPECT_FALSE(session.noSavePrompt);
    EXPECT_EQ(copy->document(), window.document());
    copy->document().setPixel(0, 0, kWhite);
    EXPECT_EQ(window.document().pixel(0, 0), kBlack);
}

// A 4 x 4 document seen at zoom step 7 (h = 5): the 10 x 10 square from
// (-3, -3) fills the magnifier, each source pixel 15 x 15, so document pixel
// (x, y) covers magnifier pixels 45 + 15 x .. 59 + 15 x. The cross-hair lies
// on row 82 and column 82 from 40 to 119.
TEST_F(ImageWindowTest, MagnifierShowsTheStretchedSquareAndTheCrossHair)
{
    const Colour red = makeColour(255, 0, 0), blue = makeColour(0, 0, 255);
    ImageWindow window(session);
    magnify(window, test::fromAscii({"r.b#", "#r.b", "b#r.", ".b#r"}, {{'r', red}, {'b', blue}}), 7, {2, 2});

    Bitmap expected(150, 150, 24);
    expected.fill(kGrey);
    for (int y = 45; y < 105; ++y)
        for (int x = 45; x < 105; ++x)
            expected.setPixel(x, y, window.document().pixel((x - 45) / 15, (y - 45) / 15));
    for (int i = 40; i < 120; ++i) {
        expected.setPixel(i, 82, kBlack);
        expected.setPixel(82, i, kBlack);
    }
    EXPECT_TRUE(window.magnifierImage() == expected)
        << test::dumpMismatch("magnifier_step7", window.magnifierImage(), expected);
    EXPECT_EQ(window.magnifierImage().pixel(45, 45), red);
    EXPECT_EQ(window.magnifierImage().pixel(60, 45), kWhite);

    window.setWhiteCrossHair(true);
    window.updateMagnifier(window.view()->mapToGlobal(QPoint(2, 2)));
    EXPECT_EQ(window.magnifierImage().pixel(82, 40), kWhite);
    EXPECT_EQ(window.magnifierImage().pixel(40, 82), kWhite);
    EXPECT_EQ(window.magnifierImage().pixel(39, 82), kGrey);
}

TEST_F(ImageWindowTest, MagnifierIsGreyWithTheMouseRightOfTheRegion)
{
    ImageWindow window(session);
    Bitmap doc(600, 300, 24);
    doc.fill(makeColour(10, 200, 30));
    magnify(window, doc, 1, {0, 0});
    // Step 1 (h = 38): magnifier pixel (60, 100) shows source (Q.x - 8, Q.y + 12).
    window.updateMagnifier(QPoint(window.width() - 180, 20));
    EXPECT_EQ(window.magnifierImage().pixel(60, 100), makeColour(10, 200, 30));
    window.updateMagnifier(QPoint(window.width() - 179, 20));
    Bitmap grey(150, 150, 24);
    grey.fill(kGrey);
    EXPECT_TRUE(window.magnifierImage() == grey);
}

TEST_F(ImageWindowTest, SliderColoursTheCurrentZoomLabelBlue)
{
    ImageWindow window(session);
    auto colourOf = [&](int i) {
        return window.findChild<QLabel*>(QString("Label%1").arg(i))->palette().color(QPalette::WindowText);
    };
    EXPECT_EQ(colourOf(1), QColor(0, 0, 255));
    window.findChild<QSlider*>("Slider")->setValue(4);
    for (int i = 1; i <= 7; ++i)
        EXPECT_EQ(colourOf(i), i == 4 ? QColor(0, 0, 255) : QColor(0, 0, 0)) << i;
    EXPECT_EQ(window.findChild<QLabel*>("Label5")->text(), "10x");
}

// Activation applies the Visible option by hiding the panel only; the item
// itself also stops the magnifier timer.
TEST_F(ImageWindowTest, PanelVisibilitySideAndOverview)
{
    ImageWindow window(session);
    window.show();
    QApplication::processEvents();
    ViewOptions options;
    options.panelVisible = false;
    window.applyViewOptions(options);
    EXPECT_FALSE(window.panelVisible());
    EXPECT_TRUE(window.magnifierRunning());
    window.setPanelVisible(false);
    EXPECT_FALSE(window.magnifierRunning());
    window.setPanelVisible(true);
    EXPECT_TRUE(window.panelVisible());
    EXPECT_TRUE(window.magnifierRunning());

    auto* panel = window.findChild<QWidget*>("Panel1");
    EXPECT_GT(panel->x(), 200);
    window.setPanelRight(false);
    QApplication::processEvents();
    EXPECT_EQ(panel->x(), 0);
    window.setOverviewVisible(false);
    EXPECT_FALSE(window.findChild<QWidget*>("GroupBox2")->isVisible());
    window.setOverviewVisible(true);
    EXPECT_TRUE(window.findChild<QWidget*>("GroupBox2")->isVisible());
}

TEST_F(ImageWindowTest, PopupCopiesTheMainTicksAndForwardsItsItems)
{
    ImageWindow window(session);
    ViewOptions options;
    options.panelRight = false;
    options.whiteCrossHair = true;
    options.overview = false;
    window.setViewOptionsSource([&] { return options; });
    auto* popup = window.findChild<QMenu*>("PopupMenu1");
    ASSERT_NE(popup, nullptr);
    emit popup->aboutToShow();
    auto action = [&](const char* name) { return window.findChild<QAction*>(name); };
    EXPECT_FALSE(action("Droite1")->isChecked());
    EXPECT_TRUE(action("Gauche1")->isChecked());
    EXPECT_TRUE(action("Blanc1")->isChecked());
    EXPECT_FALSE(action("Noir1")->isChecked());
    EXPECT_FALSE(action("VuedensemblePan1")->isChecked());
    EXPECT_TRUE(action("VisiblePan1")->isChecked());

    QStringList forwarded;
    QObject::connect(&window, &ImageWindow::popupOptionTriggered, [&](const QString& n) { forwarded << n; });
    for (const char* name : {"Droite1", "Gauche1", "Blanc1", "Noir1", "VuedensemblePan1", "VisiblePan1"})
        action(name)->trigger();
    EXPECT_EQ(forwarded, QStringList({"Droite1", "Gauche1", "Blanc1", "Noir1", "Vuedensemble1", "Visible1"}));
}

// The floating text shows the hand over itself until it is written; the
// rest of the picture keeps the cursor of the view options.
TEST_F(ImageWindowTest, FloatingTextShowsTheHandOverItself)
{
    ImageWindow window(session);
    Bitmap white(60, 40, 24);
    white.fill(kWhite);
    window.setDocument(white);
    window.setCrossCursor(false);
    session.currentTool = kTextTool;
    session.toolOptions.text = "abc";
    const auto event = [](int x, int y, ToolEvent::Button b, unsigned held) { return ToolEvent{x, y, b, held}; };
    window.toolPress(event(5, 5, ToolEvent::Left, ToolEvent::Left));
    window.toolRelease(event(5, 5, ToolEvent::Left, 0));
    const Rect text = window.toolState().text.area();
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(window.view()->cursor().shape(), Qt::PointingHandCursor);
    window.toolMove(event(50, 35, ToolEvent::NoButton, 0)); // the text follows, centred on the pointer
    EXPECT_EQ(window.view()->cursor().shape(), Qt::PointingHandCursor);
    window.toolPress(event(50, 35, ToolEvent::Left, ToolEvent::Left));
    EXPECT_FALSE(window.toolState().text.shown);
    EXPECT_EQ(window.view()->cursor().shape(), Qt::ArrowCursor);
}

// The full-screen view shows the picture on black and closes on any key or
// mouse press; presses on the picture go through to the window.
TEST(FullScreenView, ClosesOnAKeyOrAMousePress)
{
    const Bitmap doc = test::fromAscii({"#..", "..#"});
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(0, 0), QPointF(0, 0), QPointF(0, 0), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    for (QEvent* event : {static_cast<QEvent*>(&key), static_cast<QEvent*>(&press)}) {
        FullScreenView view(doc);
        view.show();
        EXPECT_EQ(view.objectName(), "TForm13");
        EXPECT_TRUE(view.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(view.palette().color(QPalette::Window), QColor(Qt::black));
        EXPECT_TRUE(view.bitmap() == doc);
        EXPECT_TRUE(view.findChild<QWidget*>("Image1")->testAttribute(Qt::WA_TransparentForMouseEvents));
        QApplication::sendEvent(&view, event);
        EXPECT_EQ(view.result(), QDialog::Accepted) << event->type();
        EXPECT_FALSE(view.isVisible());
    }
}

} // namespace
} // namespace px
