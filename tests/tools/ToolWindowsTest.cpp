// The tool options window (TForm22) and the text window (TForm20): their
// controls write the tool options at once and follow each other as the
// window's handlers say.
#include "document/SessionFixture.h"
#include "fileio/BmpFile.h"
#include "support/TestSupport.h"
#include "tools/AirbrushTool.h"
#include "tools/dialogs/TextDialog.h"
#include "tools/dialogs/ToolOptionsDialog.h"
#include "tools/dialogs/UpDownButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace px::test {
namespace {

class ToolOptionsTest : public SessionTest {
protected:
    template <typename T = QWidget> T* child(const char* name)
    {
        T* w = dialog.findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QComboBox* combo(const char* name) { return child<QComboBox>(name); }
    void choose(const char* box, const char* item) { combo(box)->setCurrentText(QString::fromUtf8(item)); }

    // Image2's black pixels, relative to its centre (44, 28).
    std::set<std::pair<int, int>> previewPixels()
    {
        std::set<std::pair<int, int>> pixels;
        const Bitmap& p = dialog.previewPicture();
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                if (p.pixel(x, y) == kBlack)
                    pixels.insert({x - 44, y - 28});
        return pixels;
    }

    ToolOptions& options = session.toolOptions;
    ToolOptionsDialog dialog{session.toolOptions, clipboard, prompter};
};

TEST_F(ToolOptionsTest, TwelvePagesStartingWithTheAirbrush)
{
    auto* pages = child<QTabWidget>("PageControl1");
    const char* titles[] = {"Aérographe", "Carré",     "Cercle",       "Crayon",      "Ellipse", "Gomme",
                            "Ligne",      "Rectangle", "Rect arrondi", "Remplissage", "Spray",   "Tampon"};
    ASSERT_EQ(pages->count(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(pages->tabText(i), QString::fromUtf8(titles[i]));
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Options d'outils..."));
    EXPECT_EQ(child<QPushButton>("Button1")->text(), "&OK");
    EXPECT_EQ(child<QPushButton>("Button2")->text(), "&Annuler");
}

struct FigurePageCase {
    const char* track;
    const char* value;
    const char* type;
    const char* typeCaption;
    const char* fill;
    const char* bicolour;
    FigureOptions ToolOptions::*options;
};

class FigurePage : public ToolOptionsTest, public ::testing::WithParamInterface<FigurePageCase> {};

// A width over 1 forces "Continu" and greys the type and its caption; back at
// 1 both are enabled again and the earlier type is not given back. The fill
// box greys "Bicolore" on "Transparent" without changing its tick.
TEST_P(FigurePage, WidthForcesContinuAndFillEnablesBicolore)
{
    const FigurePageCase& c = GetParam();
    FigureOptions& figure = options.*(c.options);
    EXPECT_EQ(child<QLabel>(c.value)->text(), "1");
    EXPECT_EQ(combo(c.fill)->currentText(), "Transparent");
    EXPECT_FALSE(child<QCheckBox>(c.bicolour)->isEnabled());

    choose(c.type, "Pointillé");
    EXPECT_EQ(figure.penStyle, PenStyle::Dot);
    child<QSlider>(c.track)->setValue(5);
    EXPECT_EQ(child<QLabel>(c.value)->text(), "5");
    EXPECT_EQ(figure.penWidth, 5);
    EXPECT_EQ(combo(c.type)->currentText(), "Continu");
    EXPECT_EQ(figure.penStyle, PenStyle::Solid);
    EXPECT_FALSE(combo(c.type)->isEnabled());
    QLabel* caption = nullptr;
    for (QLabel* l : dialog.findChildren<QLabel*>())
        if (l->text() == QString::fromUtf8(c.typeCaption))
            caption = l;
    ASSERT_NE(caption, nullptr);
    EXPECT_FALSE(caption->isEnabled());
    child<QSlider>(c.track)->setValue(1);
    EXPECT_TRUE(combo(c.type)->isEnabled());
    EXPECT_TRUE(caption->isEnabled());
    EXPECT_EQ(combo(c.type)->currentText(), "Continu");

    auto* bicolour = child<QCheckBox>(c.bicolour);
    choose(c.fill, "Solide");
    EXPECT_TRUE(figure.solidFill);
    EXPECT_TRUE(bicolour->isEnabled());
    bicolour->setChecked(true);
    EXPECT_TRUE(figure.bicolour);
    choose(c.fill, "Transparent");
    EXPECT_FALSE(bicolour->isEnabled());
    EXPECT_TRUE(bicolour->isChecked());
    EXPECT_FALSE(figure.solidFill);
}

INSTANTIATE_TEST_SUITE_P(Pages, FigurePage,
                         ::testing::Values(FigurePageCase{"TrackBar2", "Label13", "ComboBox12", "Type de carré",
                                                          "ComboBox11", "CheckBox6", &ToolOptions::square},
                                           FigurePageCase{"TrackBar6", "Label46", "ComboBox17", "Type de cercle",
                                                          "ComboBox16", "CheckBox7", &ToolOptions::circle},
                                           FigurePageCase{"TrackBar4", "Label28", "ComboBox9", "Type d'ellipse",
                                                          "ComboBox5", "CheckBox3", &ToolOptions::ellipse},
                                           FigurePageCase{"TrackBar3", "Label24", "ComboBox2", "Type de rectangle",
                                                          "ComboBox4", "CheckBox2", &ToolOptions::rectangle},
                                           FigurePageCase{"TrackBar5", "Label32", "ComboBox10", "Type de rect arrondi",
                                                          "ComboBox6", "CheckBox4", &ToolOptions::roundRect}));

// Typing 15 greys the line type, 1 enables it, other text changes nothing;
// the width is the up-down's position.
TEST_F(ToolOptionsTest, LineSizeEditGreysTheLineType)
{
    auto* edit = child<QLineEdit>("Edit1");
    choose("ComboBox1", "Mixte");
    edit->setText("15");
    EXPECT_EQ(options.lineWidth, 15);
    EXPECT_FALSE(combo("ComboBox1")->isEnabled());
    EXPECT_FALSE(child<QLabel>("Label1")->isEnabled());
    EXPECT_EQ(combo("ComboBox1")->currentText(), "Continu");
    edit->setText("1");
    EXPECT_TRUE(combo("ComboBox1")->isEnabled());
    EXPECT_TRUE(child<QLabel>("Label1")->isEnabled());
    edit->setText("abc");
    EXPECT_TRUE(combo("ComboBox1")->isEnabled());
    EXPECT_EQ(options.lineWidth, 1);
    edit->setText("250");
    EXPECT_EQ(options.lineWidth, 200) << "the up-down's range";
    child<UpDownButtons>("UpDown1")->findChild<QToolButton*>("Down")->click();
    EXPECT_EQ(edit->text(), "199");
}

TEST_F(ToolOptionsTest, LineTypeShowsItsDescription)
{
    EXPECT_EQ(child<QLabel>("Label3")->text(), "Ligne de cote, hachures, aretes fictives. ");
    const std::pair<const char*, const char*> descriptions[] = {
        {"Interrompu", "Contours cachés, aretes cachées."},
        {"Pointillé", "Trait pointillé."},
        {"Mixte", "Axes de révolution, plan de symétrie."},
        {"Mixte à deux tirets", "Lignes des centres de gravités. Demi-rabattement."},
        {"Continu", "Ligne de cote, hachures, aretes fictives."}};
    for (const auto& [type, text] : descriptions) {
        choose("ComboBox1", type);
        EXPECT_EQ(child<QLabel>("Label3")->text(), QString::fromUtf8(text)) << type;
    }
    EXPECT_EQ(options.lineStyle, PenStyle::Solid);
}

struct PreviewCase {
    int style;
    std::set<std::pair<int, int>> pixels;
};

class AirbrushPreview : public ToolOptionsTest, public ::testing::WithParamInterface<PreviewCase> {};

// The preview shows the painted pattern, except where the window always
// differed: "Style 5" shows (-2, 2), "Style 8" one pixel less, "Style 9"
// goes right.
TEST_P(AirbrushPreview, ShowsTheStylesPixels)
{
    const PreviewCase& c = GetParam();
    choose("ComboBox3", "Personnalisé");
    combo("ComboBox3")->setCurrentIndex(c.style - 1);
    EXPECT_EQ(options.airbrushStyle, c.style);
    EXPECT_EQ(previewPixels(), c.pixels);
}

INSTANTIATE_TEST_SUITE_P(Styles, AirbrushPreview,
                         ::testing::Values(PreviewCase{5, {{0, 0}, {0, 2}, {0, -2}, {2, 0}, {-2, 0}, {-2, 2}}},
                                           PreviewCase{8, {{0, 0}, {0, -1}, {0, -2}, {0, -3}}},
                                           PreviewCase{9, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
                                           PreviewCase{6, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}}));

// "Style 3" then "Personnalisé": the grid comes back with its ticks and the
// preview stays blank until a box is clicked.
TEST_F(ToolOptionsTest, CustomAirbrushEnablesTheGrid)
{
    EXPECT_EQ(previewPixels(), (std::set<std::pair<int, int>>{{0, 0}, {0, 2}, {0, -2}, {2, 0}, {-2, 0}, {-2, 2}}));
    for (int k = 1; k <= 25; ++k)
        EXPECT_FALSE(child<QCheckBox>(QString("Chec%1").arg(k).toLatin1())->isEnabled());
    choose("ComboBox3", "Personnalisé");
    child<QCheckBox>("Chec7")->click();
    choose("ComboBox3", "Style 3");
    EXPECT_FALSE(child<QCheckBox>("Chec7")->isEnabled());
    EXPECT_EQ(previewPixels().size(), 9u);
    choose("ComboBox3", "Personnalisé");
    EXPECT_TRUE(child<QCheckBox>("Chec7")->isEnabled());
    EXPECT_TRUE(child<QCheckBox>("Chec7")->isChecked());
    EXPECT_TRUE(previewPixels().empty());
    child<QCheckBox>("Chec25")->click();
    // Chec7: row 1, column 1, at (40 + 2, 24 + 2); Chec25 at (40 + 8, 24 + 8).
    EXPECT_EQ(previewPixels(), (std::set<std::pair<int, int>>{{-2, -2}, {4, 4}}));
    EXPECT_EQ(options.airbrushStyle, ToolOptions::kCustomAirbrushStyle);
    EXPECT_EQ(airbrushOffsets(options), (std::vector<AirbrushOffset>{{-2, -2}, {4, 4}}));
}

// FormActivate: "Séléction" follows the clipboard; the "Bicolore" boxes of
// "Rectangle", "Ellipse" and "Rect arrondi" follow their fill boxes, those
// of "Carré" and "Cercle" are left as they are.
TEST_F(ToolOptionsTest, ActivationFollowsClipboardAndFills)
{
    dialog.activate();
    EXPECT_FALSE(child<QPushButton>("Button4")->isEnabled());
    clipboard.setImage(fromAscii({"#"}));
    choose("ComboBox4", "Solide");
    choose("ComboBox11", "Solide");
    for (const char* name : {"CheckBox2", "CheckBox6"})
        child<QCheckBox>(name)->setEnabled(false);
    dialog.activate();
    EXPECT_TRUE(child<QPushButton>("Button4")->isEnabled());
    EXPECT_TRUE(child<QCheckBox>("CheckBox2")->isEnabled());
    EXPECT_FALSE(child<QCheckBox>("CheckBox6")->isEnabled());
    EXPECT_FALSE(child<QCheckBox>("CheckBox3")->isEnabled());
}

// The default stamp, one from the clipboard, one from a file; a large one
// makes Imagetamp shrink its picture from then on; a file that cannot be
// read is reported and changes nothing.
TEST_F(ToolOptionsTest, StampComesFromTheClipboardOrABitmapFile)
{
    EXPECT_EQ(options.stamp.width(), 20);
    EXPECT_EQ(options.stamp.height(), 20);
    clipboard.setImage(fromAscii({"#.", ".#"}));
    child<QPushButton>("Button4")->click();
    EXPECT_EQ(options.stamp, fromAscii({"#.", ".#"}));
    EXPECT_FALSE(dialog.stampStretched());

    TempDir dir;
    Bitmap wide(100, 30, 24);
    wide.fill(kWhite);
    writeBmpFile(dir.file("wide.bmp"), wide);
    prompter.queueFile(dir.file("wide.bmp").string());
    child<QPushButton>("Button3")->click();
    EXPECT_EQ(prompter.last().fileRequest.filter, "Fichiers BMP |*.bmp");
    EXPECT_EQ(options.stamp, wide);
    EXPECT_TRUE(dialog.stampStretched());
    clipboard.setImage(fromAscii({"#"}));
    child<QPushButton>("Button4")->click();
    EXPECT_TRUE(dialog.stampStretched()) << "never switched back";

    std::ofstream(dir.file("bad.bmp")) << "not a bitmap";
    prompter.queueFile(dir.file("bad.bmp").string());
    child<QPushButton>("Button3")->click();
    EXPECT_EQ(prompter.callsOf(ScriptedPrompter::CallKind::Message).size(), 1u);
    EXPECT_EQ(options.stamp, fromAscii({"#"}));
}

TEST_F(ToolOptionsTest, OtherPagesWriteTheirOptions)
{
    child<QSlider>("TrackBar1")->setValue(42);
    EXPECT_EQ(options.crayonWidth, 42);
    EXPECT_EQ(child<QLabel>("Label11")->text(), "42");
    choose("ComboBox15", "Carré");
    EXPECT_EQ(options.eraser, EraserShape::Square);
    choose("ComboBox19", "Bordure");
    EXPECT_EQ(options.fillMode, FloodFillMode::Border);
    choose("ComboBox18", "Carré");
    EXPECT_EQ(options.sprayShape, SprayShape::Square);
    auto* diameter = child<QLineEdit>("Edit3");
    EXPECT_EQ(diameter->text(), "20");
    diameter->setText("35");
    EXPECT_EQ(options.sprayDiameter, 35);
    diameter->setText("trente");
    EXPECT_FALSE(options.sprayDiameter.has_value());
    EXPECT_EQ(options.sprayDiameterText, "trente");
    child<UpDownButtons>("UpDown2")->findChild<QToolButton*>("Up")->click();
    EXPECT_EQ(diameter->text(), "36") << "the up-down steps from its last position";
}

class TextDialogTest : public SessionTest {
protected:
    TextDialog dialog{session};
};

// What is typed goes to the preview and the options; the font dialog's
// choice becomes the font; the preview is always in the main colour.
TEST_F(TextDialogTest, PreviewFollowsTextFontAndColour)
{
    session.mainColour = makeColour(200, 10, 20);
    dialog.findChild<QLineEdit*>("Edit1")->setText("abc");
    EXPECT_EQ(dialog.previewText(), "abc");
    EXPECT_EQ(session.toolOptions.text, "abc");
    FontSpec chosen;
    chosen.family = "DejaVu Serif";
    chosen.pointSize = 20;
    chosen.bold = true;
    prompter.queueFont(chosen);
    dialog.findChild<QPushButton*>("Button3")->click();
    EXPECT_EQ(session.toolOptions.font.family, "DejaVu Serif");
    EXPECT_EQ(session.toolOptions.font.pointSize, 20);
    EXPECT_EQ(session.toolOptions.font.colour, makeColour(200, 10, 20));
    prompter.queueFont(std::nullopt);
    session.mainColour = kWhite;
    dialog.findChild<QPushButton*>("Button3")->click();
    EXPECT_EQ(session.toolOptions.font.family, "DejaVu Serif") << "a cancelled choice keeps the font";
    EXPECT_EQ(session.toolOptions.font.colour, kWhite);

    auto* background = dialog.findChild<QComboBox*>("ComboBox1");
    EXPECT_EQ(background->currentText(), "Normal");
    background->setCurrentText("Noir");
    EXPECT_EQ(dialog.previewBackground(), QColor(Qt::black));
    background->setCurrentText("Blanc");
    EXPECT_EQ(dialog.previewBackground(), QColor(Qt::white));
}

} // namespace
} // namespace px::test
