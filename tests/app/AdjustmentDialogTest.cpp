// The adjustment dialogs through the menu: previews, the stretch rule, OK at
// position 0, Annuler, the mapping of the saturation dialog, the preview
// button of "Eclaircir..." and the three offsets of "Ajuster RVB...".
#include "effects/dialogs/AdjustmentDialog.h"
#include "app/MainWindowFixture.h"

#include <QLabel>
#include <QSlider>

namespace px::test {
namespace {

using AdjustmentDialogTest = MainWindowFixture;

Colour grey(int v)
{
    return makeColour(v, v, v);
}

QSlider* trackBar(QDialog& d, int n)
{
    return d.findChild<QSlider*>(QStringLiteral("TrackBar%1").arg(n));
}
const Bitmap& preview(QDialog& d, const char* name)
{
    return d.findChild<PreviewImage*>(QLatin1String(name))->bitmap();
}

struct DialogCase {
    const char* command;
    const char* dialog;
    const char* caption;
    int maximum;
    int tickFrequency;
};

class AdjustmentDialogLayout : public MainWindowFixture, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(AdjustmentDialogLayout, OneTrackBarFromZero)
{
    const DialogCase& c = GetParam();
    MainWindow& w = create();
    auto* dialog = qobject_cast<AdjustmentDialog*>(w.dialog(c.dialog));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle().toStdString(), c.caption);
    QSlider* bar = trackBar(*dialog, 1);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), c.maximum);
    EXPECT_EQ(bar->tickInterval(), c.tickFrequency);
    EXPECT_EQ(bar->value(), 0);
    QStringList texts;
    for (QLabel* l : dialog->findChildren<QLabel*>())
        texts << l->text();
    for (const QString& t : {QStringLiteral("Image originale"), QStringLiteral("Image de destination"),
                             QStringLiteral("Valeur :"), QString::number(c.maximum)})
        EXPECT_TRUE(texts.contains(t)) << t.toStdString();
    auto* image1 = dialog->findChild<PreviewImage*>("Image1");
    ASSERT_NE(image1, nullptr);
    EXPECT_EQ(image1->size(), QSize(121, 137));
}

INSTANTIATE_TEST_SUITE_P(Dialogs, AdjustmentDialogLayout,
                         ::testing::Values(DialogCase{"Luminosit1", "TForm9", "Luminosité...", 200, 10},
                                           DialogCase{"Contraste2", "TForm7", "Contraste...", 500, 18},
                                           DialogCase{"Saturation3", "TForm34", "Saturation...", 200, 10},
                                           DialogCase{"Eclipse3", "TForm35", "Eclipse...", 250, 9},
                                           DialogCase{"Eclaircir3", "TForm42", "Eclaircir...", 10, 1}));

TEST_F(AdjustmentDialogTest, OkAtPositionZeroAddsNoUndoStep)
{
    const Bitmap before = uniformBitmap(2, 2, grey(40));
    ImageWindow* image = open(before);
    onDialog(pressing("Button1"));
    trigger("Luminosit1");
    EXPECT_EQ(image->document(), before);
    EXPECT_EQ(undoSteps(), 0);
    EXPECT_FALSE(enabled("Annuler1"));
}

TEST_F(AdjustmentDialogTest, AnnulerLeavesEverythingAndResetsThePosition)
{
    MainWindow& w = create();
    ImageWindow* image = open(uniformBitmap(1, 1, kBlack));
    trigger("Ngative1");
    trigger("Annuler1");
    const Bitmap before = image->document();
    onDialog([](QDialog& d) {
        trackBar(d, 1)->setValue(120);
        click(d, "Button2");
        return d.result();
    });
    trigger("Luminosit1");
    EXPECT_EQ(image->document(), before);
    EXPECT_EQ(undoSteps(), 0);
    EXPECT_EQ(redoSteps(), 1);
    EXPECT_FALSE(enabled("Annuler1"));
    EXPECT_TRUE(enabled("Rtablir1"));
    EXPECT_EQ(trackBar(*w.dialog("TForm9"), 1)->value(), 0);
}

// Luminosité: k + (255 - k) * p div 255. For k = 0: p. For k = 100 and
// p = 50: 100 + 155 * 50 div 255 = 130.
TEST_F(AdjustmentDialogTest, PreviewStartsFromTheSourceAtEveryChange)
{
    MainWindow& w = create();
    ImageWindow* image = open(uniformBitmap(2, 1, kBlack));
    std::vector<Colour> seen;
    onDialog([&seen](QDialog& d) {
        seen.push_back(preview(d, "Image2").pixel(0, 0));
        trackBar(d, 1)->setValue(100);
        seen.push_back(preview(d, "Image2").pixel(0, 0));
        trackBar(d, 1)->setValue(50);
        seen.push_back(preview(d, "Image2").pixel(0, 0));
        trackBar(d, 1)->setValue(0);
        seen.push_back(preview(d, "Image2").pixel(0, 0));
        seen.push_back(preview(d, "Image1").pixel(0, 0));
        EXPECT_EQ(d.findChild<QLabel*>("Label4")->text(), "0");
        trackBar(d, 1)->setValue(50);
        EXPECT_EQ(d.findChild<QLabel*>("Label4")->text(), "50");
        click(d, "Button1");
        return d.result();
    });
    trigger("Luminosit1");
    EXPECT_EQ(seen, (std::vector<Colour>{kBlack, grey(100), grey(50), kBlack, kBlack}));
    EXPECT_EQ(image->document(), uniformBitmap(2, 1, grey(50)));
    EXPECT_EQ(undoSteps(), 1);
    EXPECT_TRUE(enabled("Annuler1"));
    EXPECT_EQ(trackBar(*w.dialog("TForm9"), 1)->value(), 0) << "back at 0 after applying";

    // The next opening works on the new image.
    onDialog([](QDialog& d) {
        trackBar(d, 1)->setValue(50);
        EXPECT_EQ(preview(d, "Image2").pixel(0, 0), grey(90)); // 50 + 205 * 50 div 255
        click(d, "Button1");
        return d.result();
    });
    trigger("Luminosit1");
    EXPECT_EQ(image->document().pixel(1, 0), grey(90));
}

// Saturation amount = 200 - position: m + (k - m) * a div 255 with m the
// mean of (200, 100, 0) = 100. Position 45 (a = 155): red 100 + 15500 div
// 255 = 160, blue 100 - 60 = 40 (truncated toward zero). Position 200: grey.
TEST_F(AdjustmentDialogTest, SaturationMapsThePosition)
{
    ImageWindow* image = open(uniformBitmap(1, 1, makeColour(200, 100, 0)));
    onDialog([](QDialog& d) {
        trackBar(d, 1)->setValue(200);
        EXPECT_EQ(preview(d, "Image2").pixel(0, 0), grey(100));
        trackBar(d, 1)->setValue(45);
        click(d, "Button1");
        return d.result();
    });
    trigger("Saturation3");
    EXPECT_EQ(image->document().pixel(0, 0), makeColour(160, 100, 40));
}

struct StretchCase {
    int width;
    int height;
    bool stretched;
};

class PreviewStretch : public MainWindowFixture, public ::testing::WithParamInterface<StretchCase> {};

TEST_P(PreviewStretch, StretchedOnlyWhenLargerThanThePreview)
{
    create();
    open(uniformBitmap(GetParam().width, GetParam().height, grey(9)));
    std::vector<bool> stretch;
    const int width = GetParam().width;
    onDialog([&stretch, width](QDialog& d) {
        for (const char* name : {"Image1", "Image2"}) {
            auto* p = d.findChild<PreviewImage*>(QLatin1String(name));
            stretch.push_back(p->stretch());
            EXPECT_EQ(p->bitmap().width(), width) << "the preview holds the whole image";
        }
        click(d, "Button2");
        return d.result();
    });
    trigger("Eclipse3");
    EXPECT_EQ(stretch, std::vector<bool>(2, GetParam().stretched));
}

INSTANTIATE_TEST_SUITE_P(Sizes, PreviewStretch,
                         ::testing::Values(StretchCase{121, 137, false}, StretchCase{122, 137, true},
                                           StretchCase{121, 138, true}));

// Eclaircir: each pass k := round(sin(k / 255 * pi / 2) * 255): 128 -> 181
// -> 229. The track bar alone does not recompute the preview.
TEST_F(AdjustmentDialogTest, BrightenPreviewsOnItsButtonOnly)
{
    ImageWindow* image = open(uniformBitmap(1, 1, grey(128)));
    onDialog([](QDialog& d) {
        auto* button = d.findChild<QPushButton*>("Button3");
        EXPECT_EQ(button->text(), "Aplliquer effet");
        trackBar(d, 1)->setValue(2);
        EXPECT_EQ(d.findChild<QLabel*>("Label4")->text(), "2");
        EXPECT_EQ(preview(d, "Image2").pixel(0, 0), grey(128));
        button->click();
        EXPECT_EQ(preview(d, "Image2").pixel(0, 0), grey(229));
        click(d, "Button1");
        return d.result();
    });
    trigger("Eclaircir3");
    EXPECT_EQ(image->document().pixel(0, 0), grey(229));
}

// Ajuster RVB: k + d limited to 255 (d > 0) or 0. OK applies even at 0.
TEST_F(AdjustmentDialogTest, RgbOffsets)
{
    MainWindow& w = create();
    ImageWindow* image = open(uniformBitmap(1, 1, makeColour(250, 3, 100)));
    onDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Ajuster RVB...");
        trackBar(d, 1)->setValue(10);
        trackBar(d, 2)->setValue(-5);
        EXPECT_EQ(d.findChild<QLabel*>("RedValueLbl")->text(), "+10");
        EXPECT_EQ(d.findChild<QLabel*>("GreenValueLbl")->text(), "-5");
        EXPECT_EQ(d.findChild<QLabel*>("BlueValueLbl")->text(), "0");
        EXPECT_EQ(preview(d, "Image2").pixel(0, 0), makeColour(255, 0, 100));
        click(d, "Button1");
        return d.result();
    });
    trigger("Ajusterrvbbut");
    EXPECT_EQ(image->document().pixel(0, 0), makeColour(255, 0, 100));
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(trackBar(*w.dialog("TForm38"), n)->minimum(), -255);
    EXPECT_EQ(trackBar(*w.dialog("TForm38"), 1)->value(), 0);

    onDialog(pressing("Button1"));
    trigger("AjusterRVB1");
    EXPECT_EQ(undoSteps(), 2) << "an unchanged step enters the history";
    EXPECT_EQ(image->document().pixel(0, 0), makeColour(255, 0, 100));
}

} // namespace
} // namespace px::test
