#include "tools/dialogs/ColourPanel.h"
#include "document/ImageWindow.h"
#include "document/SessionFixture.h"
#include "support/TestSupport.h"
#include "tools/dialogs/PaletteWindow.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

namespace px {
namespace {

void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton)
{
    QMouseEvent event(type, at, w->mapToGlobal(at), button, type == QEvent::MouseButtonPress ? button : Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void click(QWidget* w, Qt::MouseButton button = Qt::LeftButton, QPoint at = {1, 1})
{
    mouse(w, QEvent::MouseButtonPress, at, button);
    mouse(w, QEvent::MouseButtonRelease, at, button);
}

class ColourPanelTest : public test::SessionTest {
protected:
    ColourPanel panel{session};
    QWidget* child(const char* name) { return panel.findChild<QWidget*>(name); }
    QString text(const char* name) { return panel.findChild<QLabel*>(name)->text(); }
    QColor swatch(const char* name) { return child(name)->palette().color(QPalette::Window); }

    // Enables the swatches for an active image of the given depth.
    void activate(ImageWindow& window, int bitsPerPixel)
    {
        window.setDocument(Bitmap(2, 2, bitsPerPixel));
        panel.activeImage = [&window] { return &window; };
        panel.setSwatchesEnabled(true);
    }
};

TEST_F(ColourPanelTest, StartsBlackOnWhiteWithTheInitialReadOut)
{
    EXPECT_EQ(swatch("Panel7"), QColor(0, 0, 0));
    EXPECT_EQ(swatch("Panel8"), QColor(255, 255, 255));
    EXPECT_EQ(text("Label2"), "R :");
    EXPECT_EQ(text("Label9"), "#000000");
    EXPECT_FALSE(child("Panel7")->isEnabled());
    // The eye-dropper is our own picture, loaded from the resources.
    EXPECT_EQ(child("Palette")->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(child("Panel5")->cursor().shape(), Qt::BitmapCursor);
    panel.initialiseReadOut();
    EXPECT_EQ(text("Label2"), "R : 0\nV : 0\nB : 0");
}

TEST_F(ColourPanelTest, SwapTwiceGivesBackThePairAndResetGivesBlackAndWhite)
{
    const Colour a = makeColour(1, 2, 3), b = makeColour(200, 100, 50);
    panel.setMainColour(a);
    panel.setBackgroundColour(b);
    click(child("Label1"));
    EXPECT_EQ(session.mainColour, b);
    EXPECT_EQ(session.backgroundColour, a);
    EXPECT_EQ(swatch("Panel7"), QColor(200, 100, 50));
    click(child("Label8"));
    EXPECT_EQ(session.mainColour, a);
    EXPECT_EQ(session.backgroundColour, b);
    click(child("Imagenb"));
    EXPECT_EQ(session.mainColour, kBlack);
    EXPECT_EQ(session.backgroundColour, kWhite);
}

// Spectrum: row 64 is pure blue at column 22, row 32 pure green, row 16 yellow.
TEST_F(ColourPanelTest, SpectrumPressSetsMainOrBackgroundAndMoveFeedsTheReadOut)
{
    QWidget* spectrum = child("Palette");
    click(spectrum, Qt::LeftButton, {22, 64});
    EXPECT_EQ(session.mainColour, makeColour(0, 0, 255));
    EXPECT_EQ(session.backgroundColour, kWhite);
    click(spectrum, Qt::RightButton, {22, 32});
    EXPECT_EQ(session.backgroundColour, makeColour(0, 255, 0));
    EXPECT_EQ(session.mainColour, makeColour(0, 0, 255));
    EXPECT_EQ(swatch("Panel8"), QColor(0, 255, 0));

    mouse(spectrum, QEvent::MouseMove, {22, 16});
    EXPECT_EQ(text("Label2"), "R : 255\nV : 255\nB : 0");
    EXPECT_EQ(text("Label9"), "#FFFF00");
    EXPECT_EQ(swatch("Panel6"), QColor(255, 255, 0));
    panel.showReadOut(makeColour(0x0A, 0xB0, 0x01));
    EXPECT_EQ(text("Label9"), "#0AB001");
}

TEST_F(ColourPanelTest, SwatchHintsFollowTheColours)
{
    panel.setMainColour(makeColour(0, 255, 0));
    mouse(child("Panel5"), QEvent::MouseMove, {3, 3});
    EXPECT_EQ(child("Panel5")->toolTip(), "Couleur principale\nR : 0\nV : 255\nB : 0\n#00FF00");
    panel.setBackgroundColour(makeColour(18, 52, 86));
    mouse(child("Panel4"), QEvent::MouseMove, {20, 20});
    EXPECT_EQ(child("Panel4")->toolTip(), "Couleur de fond\nR : 18\nV : 52\nB : 86\n#123456");
}

TEST_F(ColourPanelTest, TrueColourImageUsesTheColourDialogOnceEnabled)
{
    click(child("Panel7"));
    EXPECT_TRUE(prompter.calls().empty()) << "disabled swatches ignore clicks";
    ImageWindow window(session);
    activate(window, 24);
    panel.setMainColour(makeColour(5, 6, 7));
    prompter.queueColour(makeColour(9, 9, 9));
    click(child("Panel7"));
    EXPECT_EQ(session.mainColour, makeColour(9, 9, 9));
    EXPECT_EQ(prompter.last().initialColour, makeColour(5, 6, 7));
    prompter.queueColour(std::nullopt);
    click(child("Panel8"));
    EXPECT_EQ(session.backgroundColour, kWhite);
    EXPECT_EQ(prompter.pending(), 0u);
}

// Clicking the background swatch of an 8-bit image opens the palette window;
// a left pick there and OK changes the main colour, not the background.
TEST_F(ColourPanelTest, IndexedImageUsesThePaletteWindow)
{
    ImageWindow window(session);
    activate(window, 8);
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* palette = qobject_cast<PaletteWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(palette, nullptr);
        opened = true;
        EXPECT_EQ(palette->objectName(), "TForm19");
        // Cell 249 (column 9, row 15) holds the system palette's red.
        palette->pickAt(QPoint(9 * 14 + 5, 15 * 14 + 5), Qt::LeftButton);
        palette->accept();
    });
    click(child("Panel8"));
    EXPECT_TRUE(opened);
    EXPECT_EQ(session.mainColour, makeColour(255, 0, 0));
    EXPECT_EQ(session.backgroundColour, kWhite);
}

class PaletteWindowTest : public ::testing::Test {
protected:
    ScriptedPrompter prompter;
    PaletteWindow window{prompter};
    test::TempDir dir;
};

TEST_F(PaletteWindowTest, CellsAre14PixelSquaresOutlinedInBlack)
{
    // Cell 1 (maroon) spans x 14..27; its outline is at x 14 and 27.
    EXPECT_EQ(window.colourAt({20, 5}), makeColour(128, 0, 0));
    EXPECT_EQ(window.colourAt({14, 5}), kBlack);
    EXPECT_EQ(window.colourAt({27, 5}), kBlack);
    EXPECT_EQ(window.colourAt({28 + 5, 5}), makeColour(0, 128, 0)); // cell 2
    // Cell 255 (white) is the last one, column 15, row 15.
    EXPECT_EQ(window.colourAt({15 * 14 + 6, 15 * 14 + 6}), kWhite);
}

TEST_F(PaletteWindowTest, ReadOutAndPicks)
{
    window.setColours(kBlack, kWhite);
    window.showColourAt({9 * 14 + 5, 15 * 14 + 5}); // entry 249: red
    EXPECT_EQ(window.findChild<QLabel*>("Label4")->text(), "255");
    EXPECT_EQ(window.findChild<QLabel*>("Label5")->text(), "0");
    EXPECT_EQ(window.findChild<QLabel*>("Label7")->text(), "#FF0000");
    window.pickAt({9 * 14 + 5, 15 * 14 + 5}, Qt::RightButton);
    EXPECT_EQ(window.backgroundColour(), makeColour(255, 0, 0));
    EXPECT_EQ(window.mainColour(), kBlack);
}

TEST_F(PaletteWindowTest, OpenedFileFillsTheFreeEntries)
{
    const auto path = dir.file("deux.pal");
    std::ofstream(path) << "2\n10 20 30\n40 50 60\n";
    prompter.queueFile(path.string());
    window.openPaletteFile();
    EXPECT_EQ(prompter.last().fileRequest.filter, "Palette(*.pal)|*.pal");
    // Entry 10 (column 10, row 0) and 11, then 12 repeats the first colour.
    EXPECT_EQ(window.colourAt({10 * 14 + 5, 5}), makeColour(10, 20, 30));
    EXPECT_EQ(window.colourAt({11 * 14 + 5, 5}), makeColour(40, 50, 60));
    EXPECT_EQ(window.colourAt({12 * 14 + 5, 5}), makeColour(10, 20, 30));
    EXPECT_EQ(window.logicalPalette().colours[245], makeColour(40, 50, 60));
    EXPECT_EQ(window.colourAt({9 * 14 + 5, 5}), makeColour(166, 202, 240)); // entry 9 stays
}

TEST_F(PaletteWindowTest, UnreadableFileIsReportedAndKeepsThePalette)
{
    const auto good = dir.file("un.pal");
    std::ofstream(good) << "1\n1 2 3\n";
    ASSERT_TRUE(window.loadPaletteFile(good.string()));
    const auto bad = dir.file("court.pal");
    std::ofstream(bad) << "5\n1 2 3\n";
    EXPECT_FALSE(window.loadPaletteFile(bad.string()));
    ASSERT_EQ(prompter.callsOf(ScriptedPrompter::CallKind::Message).size(), 1u);
    EXPECT_EQ(window.logicalPalette().colours[100], makeColour(1, 2, 3));
}

} // namespace
} // namespace px
