// The track-bar dialogs of the colour adjustments and the deformations
// through the menu: layout, previews and the stretch rule, OK at position 0,
// Annuler, the mapping of the saturation dialog, the preview button of
// "Eclaircir...", the three offsets of "Ajuster RVB..." and the twist's
// preview at 0.
#include "app/MainWindowFixture.h"
#include "effects/dialogs/AdjustmentDialog.h"

#include <QLabel>
#include <QSlider>

namespace px::test {
namespace {

using TrackBarDialogsTest = MainWindowFixture;

QSlider* trackBar(QDialog& d, int n = 1)
{
    return d.findChild<QSlider*>(QStringLiteral("TrackBar%1").arg(n));
}
const Bitmap& preview(QDialog& d, const char* name)
{
    return d.findChild<PreviewImage*>(QLatin1String(name))->bitmap();
}

struct DialogCase {
    const char* dialog;
    const char* caption;
    int maximum;
    int tickFrequency;
    QSize preview;
};

class TrackBarDialogLayout : public MainWindowFixture, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(TrackBarDialogLayout, OneTrackBarFromZero)
{
    const DialogCase& c = GetParam();
    MainWindow& w = create();
    auto* dialog = qobject_cast<AdjustmentDialog*>(w.dialog(c.dialog));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle().toStdString(), c.caption);
    QSlider* bar = trackBar(*dialog);
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
    for (const char* name : {"Image1", "Image2"})
        EXPECT_EQ(dialog->findChild<PreviewImage*>(name)->size(), c.preview) << name;
}

INSTANTIATE_TEST_SUITE_P(Dialogs, TrackBarDialogLayout,
                         ::testing::Values(DialogCase{"TForm9", "Luminosité...", 200, 10, QSize(121, 137)},
                                           DialogCase{"TForm7", "Contraste...", 500, 18, QSize(121, 137)},
                                           DialogCase{"TForm34", "Saturation...", 200, 10, QSize(121, 137)},
                                           DialogCase{"TForm35", "Eclipse...", 250, 9, QSize(121, 137)},
                                           DialogCase{"TForm42", "Eclaircir...", 10, 1, QSize(121, 137)},
                                           DialogCase{"TForm45", "Tordre...", 300, 12, QSize(119, 135)},
                                           DialogCase{"TForm44", "Mirage...", 20, 1, QSize(121, 137)},
                                           DialogCase{"TForm39", "Hallucination...", 200, 10, QSize(121, 137)},
                                           DialogCase{"TForm43", "Mosaïque...", 50, 2, QSize(121, 137)}));

// OK at 0 applies nothing; Annuler leaves image and histories and puts the
// track bar back at 0.
TEST_F(TrackBarDialogsTest, OkAtZeroAndAnnulerLeaveEverything)
{
    MainWindow& w = create();
    ImageWindow* image = open(uniformBitmap(1, 1, kBlack));
    onDialog(pressing("Button1"));
    trigger("Luminosit1");
    EXPECT_EQ(image->document(), uniformBitmap(1, 1, kBlack));
    EXPECT_EQ(undoSteps(), 0);
    EXPECT_FALSE(enabled("Annuler1"));

    trigger("Ngative1");
    trigger("Annuler1");
    const Bitmap before = image->document();
    onDialog(pressing("Button2", [](QDialog& d) { trackBar(d)->setValue(120); }));
    trigger("Luminosit1");
    EXPECT_EQ(image->document(), before);
    EXPECT_EQ(undoSteps(), 0);
    EXPECT_EQ(redoSteps(), 1);
    EXPECT_FALSE(enabled("Annuler1"));
    EXPECT_TRUE(enabled("Rtablir1"));
    EXPECT_EQ(trackBar(*w.dialog("TForm9"))->value(), 0);
}

// Luminosité: k + (255 - k) * p div 255. For k = 0: p. For k = 100 and
// p = 50: 100 + 155 * 50 div 255 = 130.
TEST_F(TrackBarDialogsTest, PreviewStartsFromTheSourceAtEveryChange)
{
    MainWindow& w = create();
    ImageWindow* image = open(uniformBitmap(2, 1, kBlack));
    std::vector<Colour> seen;
    onDialog(pressing("Button1", [&seen](QDialog& d) {
        seen.push_back(preview(d, "Image2").pixel(0, 0));
        trackBar(d)->setValue(100);
        seen.push_back(preview(d, "Image2").pixel(0, 0));
        trackBar(d)->setValue(50);
        seen.push_back(preview(d, "Image2").pixel(0, 0));
        trackBar(d)->setValue(0);
        seen.push_back(preview(d, "Image2").pixel(0, 0));
        seen.push_back(preview(d, "Image1").pixel(0, 0));
        EXPECT_EQ(d.findChild<QLabel*>("Label4")->text(), "0");
        trackBar(d)->setValue(50);
        EXPECT_EQ(d.findChild<QLabel*>("Label4")->text(), "50");
    }));
    trigger("Luminosit1");
    EXPECT_EQ(seen, (std::vector<Colour>{kBlack, grey(100), grey(50), kBlack, kBlack}));
    EXPECT_EQ(image->document(), uniformBitmap(2, 1, grey(50)));
    EXPECT_EQ(undoSteps(), 1);
    EXPECT_TRUE(enabled("Annuler1"));
    EXPECT_EQ(trackBar(*w.dialog("TForm9"))->value(), 0) << "back at 0 after applying";

    // The next opening works on the new image.
    onDialog(pressing("Button1", [](QDialog& d) {
        trackBar(d)->setValue(50);
        EXPECT_EQ(preview(d, "Image2").pixel(0, 0), grey(90)); // 50 + 205 * 50 div 255
    }));
    trigger("Luminosit1");
    EXPECT_EQ(image->document().pixel(1, 0), grey(90));
}

// Saturation amount = 200 - position: m + (k - m) * a div 255 with m the
// mean of (200, 100, 0) = 100. Position 45 (a = 155): red 100 + 15500 div
// 255 = 160, blue 100 - 60 = 40 (truncated toward zero). Position 200: grey.
TEST_F(TrackBarDialogsTest, SaturationMapsThePosition)
{
    ImageWindow* image = open(uniformBitmap(1, 1, makeColour(200, 100, 0)));
    onDialog(pressing("Button1", [](QDialog& d) {
        trackBar(d)->setValue(200);
        EXPECT_EQ(preview(d, "Image2").pixel(0, 0), grey(100));
        trackBar(d)->setValue(45);
    }));
    trigger("Saturation3");
    EXPECT_EQ(image->document().pixel(0, 0), makeColour(160, 100, 40));
}

struct StretchCase {
    const char* command;
    int width;
    int height;
    bool stretched;
};

class PreviewStretch : public MainWindowFixture, public ::testing::WithParamInterface<StretchCase> {};

// The previews hold the whole image and stretch only beyond 121 x 137, also
// the smaller ones of "Tordre...".
TEST_P(PreviewStretch, StretchedOnlyWhenLargerThanThePreview)
{
    const StretchCase& c = GetParam();
    open(uniformBitmap(c.width, c.height, grey(9)));
    std::vector<bool> stretch;
    onDialog(pressing("Button2", [&](QDialog& d) {
        for (const char* name : {"Image1", "Image2"}) {
            auto* p = d.findChild<PreviewImage*>(QLatin1String(name));
            stretch.push_back(p->stretch());
            EXPECT_EQ(p->bitmap().width(), c.width) << "the preview holds the whole image";
        }
    }));
    trigger(c.command);
    EXPECT_EQ(stretch, std::vector<bool>(2, c.stretched));
}

INSTANTIATE_TEST_SUITE_P(Sizes, PreviewStretch,
                         ::testing::Values(StretchCase{"Eclipse3", 121, 137, false},
                                           StretchCase{"Eclipse3", 122, 137, true},
                                           StretchCase{"Eclipse3", 121, 138, true},
                                           StretchCase{"Tordre3", 121, 137, false},
                                           StretchCase{"Tordre3", 122, 137, true}));

// Eclaircir: each pass k := round(sin(k / 255 * pi / 2) * 255): 128 -> 181
// -> 229. The track bar alone does not recompute the preview.
TEST_F(TrackBarDialogsTest, BrightenPreviewsOnItsButtonOnly)
{
    ImageWindow* image = open(uniformBitmap(1, 1, grey(128)));
    onDialog(pressing("Button1", [](QDialog& d) {
        auto* button = d.findChild<QPushButton*>("Button3");
        EXPECT_EQ(button->text(), "Aplliquer effet");
        trackBar(d)->setValue(2);
        EXPECT_EQ(d.findChild<QLabel*>("Label4")->text(), "2");
        EXPECT_EQ(preview(d, "Image2").pixel(0, 0), grey(128));
        button->click();
        EXPECT_EQ(preview(d, "Image2").pixel(0, 0), grey(229));
    }));
    trigger("Eclaircir3");
    EXPECT_EQ(image->document().pixel(0, 0), grey(229));
}

// Ajuster RVB: k + d limited to 255 (d > 0) or 0. OK applies even at 0.
TEST_F(TrackBarDialogsTest, RgbOffsets)
{
    MainWindow& w = create();
    ImageWindow* image = open(uniformBitmap(1, 1, makeColour(250, 3, 100)));
    onDialog(pressing("Button1", [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Ajuster RVB...");
        trackBar(d, 1)->setValue(10);
        trackBar(d, 2)->setValue(-5);
        EXPECT_EQ(d.findChild<QLabel*>("RedValueLbl")->text(), "+10");
        EXPECT_EQ(d.findChild<QLabel*>("GreenValueLbl")->text(), "-5");
        EXPECT_EQ(d.findChild<QLabel*>("BlueValueLbl")->text(), "0");
        EXPECT_EQ(preview(d, "Image2").pixel(0, 0), makeColour(255, 0, 100));
    }));
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

// 3 x 3 under a twist of 90: the pixel right of the centre shows 0.98883 of
// the pixel below it and 0.01111 of its right neighbour: 199. Back at 0 the
// destination keeps that picture; "Hallucination..." shows the source again.
TEST_F(TrackBarDialogsTest, TwirlPreviewStaysAsItWasAtZero)
{
    const Bitmap start = greys({{0, 0, 0}, {0, 50, 0}, {0, 200, 110}});
    ImageWindow* image = open(start);
    std::vector<Colour> seen;
    onDialog(pressing("Button1", [&seen](QDialog& d) {
        trackBar(d)->setValue(90);
        seen.push_back(preview(d, "Image2").pixel(2, 1));
        trackBar(d)->setValue(0);
        seen.push_back(preview(d, "Image2").pixel(2, 1));
        EXPECT_EQ(d.findChild<QLabel*>("Label4")->text(), "0");
    }));
    trigger("Tordre3");
    EXPECT_EQ(seen, (std::vector<Colour>{grey(199), grey(199)}));
    EXPECT_EQ(image->document(), start) << "OK at 0 applies nothing";
    EXPECT_EQ(undoSteps(), 0);

    seen.clear();
    onDialog(pressing("Button2", [&seen](QDialog& d) {
        trackBar(d)->setValue(1);
        seen.push_back(preview(d, "Image2").pixel(1, 1));
        trackBar(d)->setValue(0);
        seen.push_back(preview(d, "Image2").pixel(1, 1));
    }));
    trigger("Allucination2");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[0], grey(50));
    EXPECT_EQ(seen[1], grey(50));
}

} // namespace
} // namespace px::test
