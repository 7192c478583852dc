// The dialogs of the gradient, rotation, sizes, frames and margins, and the
// track-bar dialogs of the bevel and the blended border.
#include "app/MainWindowFixture.h"
#include "effects/dialogs/AdjustmentDialog.h"
#include "transforms/dialogs/AddBorderDialog.h"
#include "transforms/dialogs/DialogFields.h"
#include "transforms/dialogs/GradientDialog.h"
#include "transforms/dialogs/ImageSizeDialog.h"
#include "transforms/dialogs/RotationDialog.h"
#include "transforms/Resizing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

namespace px::test {
namespace {

class TransformDialogsTest : public MainWindowFixture {
protected:
    template <class D> D* dialog(const char* form) { return qobject_cast<D*>(window->dialog(form)); }

    static void type(QWidget* w, const QString& keys)
    {
        for (const QChar c : keys) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(w, &press);
        }
    }
    static void setText(QSpinBox* spin, const QString& text) { spin->findChild<QLineEdit*>()->setText(text); }
};

const Colour kRed = makeColour(255, 0, 0), kBlue = makeColour(0, 0, 255);

TEST_F(TransformDialogsTest, GradientDialogStylesColoursPreviewAndOk)
{
    session.mainColour = kRed;
    session.backgroundColour = kBlue;
    ImageWindow* image = open(uniformBitmap(256, 3, kWhite));
    auto* d = dialog<GradientDialog>("TForm5");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Construire degrader...");
    auto* combo = d->findChild<QComboBox*>("ComboBox1");
    ASSERT_NE(combo, nullptr);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    EXPECT_EQ(items, (QStringList{"Elliptic", "HorizCentre", "Horizontal", "Radial1", "Radial2", "Rectangle",
                                  "VertCentre", "Vertical"}));
    EXPECT_EQ(combo->currentText(), "Vertical");

    prompter.queueColour(makeColour(0, 255, 0));
    onDialog(pressing("Button1", [&](QDialog& dlg) {
        EXPECT_EQ(d->startColour(), kRed);
        EXPECT_EQ(d->endColour(), kBlue);
        EXPECT_EQ(d->preview().width(), 281);
        EXPECT_EQ(d->preview().height(), 249);
        EXPECT_EQ(d->preview().pixel(10, 0), gradientColour(kRed, kBlue, 1, 255)); // row 0 is band 1
        EXPECT_EQ(d->preview().pixel(10, 248), kBlue);
        combo->setCurrentText("Horizontal");
        EXPECT_EQ(d->preview().pixel(280, 10), kBlue);
        click(dlg, "Button4"); // "&Fond...": the end colour
        EXPECT_EQ(d->endColour(), makeColour(0, 255, 0));
        EXPECT_EQ(d->preview().pixel(280, 10), makeColour(0, 255, 0));
    }));
    trigger("Construiredegrader");
    EXPECT_EQ(prompter.callsOf(Kind::ChooseColour).at(0).initialColour, kBlue);
    EXPECT_EQ(image->document().pixel(0, 1), kRed);
    EXPECT_EQ(image->document().pixel(255, 1), makeColour(0, 255, 0));
    EXPECT_EQ(undoSteps(), 1);
    // The next opening starts again from the swatches.
    onDialog(pressing("Button2", [&](QDialog&) {
        EXPECT_EQ(d->endColour(), kBlue);
        EXPECT_EQ(combo->currentText(), "Horizontal");
    }));
    trigger("Construiredegrader");
    EXPECT_EQ(undoSteps(), 1);
}

TEST_F(TransformDialogsTest, RotationDialogChoicesAndTheFreeAngle)
{
    Bitmap ab(2, 1, 24);
    ab.setPixel(0, 0, kRed);
    ab.setPixel(1, 0, kBlue);
    ImageWindow* image = open(ab);
    auto* d = dialog<RotationDialog>("TForm18");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Rotation...");
    EXPECT_TRUE(d->directionButton(0)->isChecked());
    EXPECT_EQ(d->directionButton(1)->text(), "Gauche");
    EXPECT_TRUE(d->degreesButton(0)->isChecked());
    EXPECT_EQ(d->degreesButton(3)->text(), "&Libre");
    EXPECT_TRUE(d->angleGreyed());
    EXPECT_EQ(d->angleEdit()->text(), "");

    // Clicking the angle chooses "&Libre"; choosing "&180" clears and greys it.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(d->angleEdit(), &press);
    EXPECT_TRUE(d->degreesButton(3)->isChecked());
    EXPECT_FALSE(d->angleGreyed());
    d->angleEdit()->setText("12");
    d->degreesButton(1)->click();
    EXPECT_EQ(d->angleEdit()->text(), "");
    EXPECT_TRUE(d->angleGreyed());

    // "Gauche" "&90": B on top.
    onDialog(pressing("Button1", [&](QDialog&) {
        d->directionButton(1)->click();
        d->degreesButton(0)->click();
    }));
    trigger("Rotation3");
    ASSERT_EQ(image->document().height(), 2);
    EXPECT_EQ(image->document().pixel(0, 0), kBlue);

    // "&Libre" with a text that is not a whole number: the conversion error,
    // the picture as it was, the snapshot taken.
    const Bitmap before = image->document();
    onDialog(pressing("Button1", [&](QDialog&) {
        d->degreesButton(3)->click();
        d->angleEdit()->setText("4x5");
    }));
    trigger("Rotation3");
    EXPECT_EQ(prompter.last().text, "'4x5' n'est pas une valeur entière correcte.");
    EXPECT_EQ(image->document(), before);
    EXPECT_EQ(undoSteps(), 2);
}

TEST_F(TransformDialogsTest, ResizeDialogScalesAndFitsTheWindow)
{
    create();
    show();
    ImageWindow* image = open(uniformBitmap(40, 30, kRed));
    auto* d = dialog<ImageSizeDialog>("TForm31");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Redimensionner...");
    onDialog(pressing("Button1", [&](QDialog&) {
        EXPECT_EQ(d->widthEdit()->value(), 40);
        EXPECT_EQ(d->heightEdit()->value(), 30);
        setText(d->widthEdit(), "");
        type(d->widthEdit(), "6x0-0");
        EXPECT_EQ(d->widthEdit()->typedText(), "600");
        setText(d->heightEdit(), "500");
    }));
    trigger("Redimensionner1");
    EXPECT_EQ(image->document().width(), 600);
    EXPECT_EQ(image->document().height(), 500);
    EXPECT_EQ(image->document().pixel(599, 499), kRed);
    QCoreApplication::processEvents();
    EXPECT_EQ(image->size(), QSize(600, 500)) << "the client area takes the new size";

    // An empty edit is a conversion error; 0 is refused; both keep the picture.
    for (const char* width : {"", "0"}) {
        onDialog(pressing("Button1", [&](QDialog&) { setText(d->widthEdit(), QString::fromLatin1(width)); }));
        trigger("Redimensionner1");
        EXPECT_EQ(prompter.last().text,
                  *width ? std::string(kImageSizeRefused) : std::string("'' n'est pas une valeur entière correcte."));
        EXPECT_EQ(image->document().width(), 600);
    }
}

TEST_F(TransformDialogsTest, StretchEdgesTakesItsSnapshotBeforeTheDialog)
{
    ImageWindow* image = open(uniformBitmap(300, 200, kRed));
    auto* d = dialog<ImageSizeDialog>("TForm30");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Etirer image...");
    onDialog(pressing("Button2"));
    trigger("Etirerbords1");
    EXPECT_EQ(undoSteps(), 1) << "Annuler keeps the snapshot";
    EXPECT_EQ(image->document().width(), 300);

    onDialog(pressing("Button1", [&](QDialog&) {
        EXPECT_EQ(d->widthEdit()->value(), 300);
        setText(d->widthEdit(), "400");
    }));
    trigger("Etirerbords1");
    EXPECT_EQ(undoSteps(), 2);
    EXPECT_EQ(image->document().width(), 400);
    EXPECT_EQ(image->document().pixel(299, 0), kRed);
    EXPECT_EQ(image->document().pixel(300, 0), kBlack);

    // An empty edit counts as 0, which is refused.
    onDialog(pressing("Button1", [&](QDialog&) { setText(d->heightEdit(), ""); }));
    trigger("Etirerbords1");
    EXPECT_EQ(prompter.last().text, kImageSizeRefused);
    EXPECT_EQ(image->document().height(), 200);
}

TEST_F(TransformDialogsTest, FrameDialogsDrawWithTheWindowsCanvas)
{
    session.mainColour = kRed;
    ImageWindow* image = open(uniformBitmap(6, 6, kWhite));
    image->canvas().setBrushColour(kBlue);
    QDialog* simple = window->dialog("TForm12");
    ASSERT_NE(simple, nullptr);
    EXPECT_EQ(simple->windowTitle(), "Bordure simple...");
    EXPECT_EQ(simple->findChild<QComboBox*>("ComboBox1")->currentText(), "Transparent");
    EXPECT_EQ(simple->findChild<QSpinBox*>("Edit1")->value(), 1);
    onDialog(
        pressing("Button1", [](QDialog& dlg) { dlg.findChild<QComboBox*>("ComboBox1")->setCurrentText("Solide"); }));
    trigger("Bordure1");
    EXPECT_EQ(image->document().pixel(0, 3), kRed);
    EXPECT_EQ(image->document().pixel(3, 3), kBlue);

    QDialog* two = window->dialog("TForm28");
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->windowTitle(), "Bordure à deux couleurs...");
    EXPECT_EQ(two->findChild<QSpinBox*>("Edit1")->value(), 8);
    EXPECT_EQ(two->findChild<QComboBox*>("ComboBox2")->currentText(), "Principale - fond");
    onDialog(pressing("Button1", [](QDialog& dlg) {
        dlg.findChild<QSpinBox*>("Edit1")->setValue(1);
        dlg.findChild<QComboBox*>("ComboBox2")->setCurrentText("Fond - principale");
    }));
    trigger("Bordurecou1");
    EXPECT_EQ(image->document().pixel(3, 0), kWhite) << "the top line in the background colour";
    EXPECT_EQ(image->canvas().penColour(), kRed);
    EXPECT_EQ(undoSteps(), 2);
}

TEST_F(TransformDialogsTest, AddBorderLinksItsMarginsAndGrowsTheImage)
{
    session.backgroundColour = kBlue;
    ImageWindow* image = open(uniformBitmap(100, 50, kRed));
    auto* d = dialog<AddBorderDialog>("TForm32");
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->link()->isChecked());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(d->margin(i)->value(), 10);
    // "Lier" checked again takes the largest: 10, 3, 25, 7 -> 25.
    d->link()->setChecked(false);
    const int values[] = {10, 3, 25, 7};
    for (int i = 0; i < 4; ++i)
        d->margin(i)->setValue(values[i]);
    d->link()->setChecked(true);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(d->margin(i)->value(), 25) << i;
    // An arrow step moves all four while linked, one alone otherwise.
    d->margin(1)->stepBy(-1);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(d->margin(i)->value(), 24) << i;
    d->link()->setChecked(false);
    d->margin(0)->stepBy(1);
    EXPECT_EQ(d->margin(0)->value(), 25);
    EXPECT_EQ(d->margin(3)->value(), 24);
    type(d->margin(2), "a");
    EXPECT_EQ(d->margin(2)->typedText(), "24");

    onDialog(pressing("Button1", [&](QDialog&) {
        for (int i = 0; i < 4; ++i)
            d->margin(i)->setValue(10);
    }));
    trigger("Ajouterunebordure1");
    EXPECT_EQ(image->document().width(), 120);
    EXPECT_EQ(image->document().height(), 70);
    EXPECT_EQ(image->document().pixel(10, 10), kRed);
    EXPECT_EQ(image->document().pixel(9, 10), kBlue);
    EXPECT_EQ(image->canvas().penColour(), session.mainColour);

    // An empty margin: the conversion error after the snapshot.
    onDialog(pressing("Button1", [&](QDialog&) { setText(d->margin(3), ""); }));
    trigger("Ajouterunebordure1");
    EXPECT_EQ(prompter.last().text, "'' n'est pas une valeur entière correcte.");
    EXPECT_EQ(image->document().width(), 120);
    EXPECT_EQ(undoSteps(), 2);
}

TEST_F(TransformDialogsTest, BevelDialogAppliesOnlyWithATransparency)
{
    ImageWindow* image = open(uniformBitmap(20, 20, kWhite));
    auto* d = dialog<AdjustmentDialog>("TForm40");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Bouton...");
    EXPECT_EQ(d->trackBar(0)->maximum(), 250);
    EXPECT_EQ(d->trackBar(1)->maximum(), 100);
    EXPECT_EQ(d->valueLabel(0)->objectName(), "Label7");
    EXPECT_EQ(d->valueLabel(1)->objectName(), "Label10");
    onDialog(pressing("Button1", [&](QDialog&) {
        d->trackBar(1)->setValue(5);
        EXPECT_EQ(d->valueLabel(1)->text(), "5");
    }));
    trigger("Bouton3");
    EXPECT_EQ(undoSteps(), 0) << "a size alone applies nothing";
    onDialog(pressing("Button1", [&](QDialog&) {
        d->trackBar(1)->setValue(5);
        d->trackBar(0)->setValue(100);
        EXPECT_EQ(d->destination()->bitmap().pixel(10, 19), makeColour(155, 155, 155));
    }));
    trigger("Bouton3");
    EXPECT_EQ(undoSteps(), 1);
    EXPECT_EQ(image->document().pixel(10, 19), makeColour(155, 155, 155));
    EXPECT_EQ(d->trackBar(0)->value(), 0);
    EXPECT_EQ(d->trackBar(1)->value(), 0);
}

TEST_F(TransformDialogsTest, BlendDialogPositionOneIsNoBorder)
{
    Bitmap rows(3, 3, 24);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            rows.setPixel(x, y, makeColour(y * 50, x * 50, 0));
    ImageWindow* image = open(rows);
    auto* d = dialog<AdjustmentDialog>("TForm41");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Bordure décomposée...");
    EXPECT_EQ(d->trackBar(0)->minimum(), 1);
    EXPECT_EQ(d->trackBar(0)->value(), 1);
    EXPECT_EQ(d->valueLabel(0)->objectName(), "Label7");
    EXPECT_EQ(d->valueLabel(0)->text(), "0");
    onDialog(pressing("Button1"));
    trigger("Borduredcomposer2");
    EXPECT_EQ(undoSteps(), 0);
    EXPECT_EQ(image->document(), rows);
    onDialog(pressing("Button1", [&](QDialog&) {
        d->trackBar(0)->setValue(2);
        EXPECT_EQ(d->valueLabel(0)->text(), "2");
    }));
    trigger("Borduredcomposer2");
    EXPECT_EQ(undoSteps(), 1);
    EXPECT_EQ(image->document().pixel(0, 0), makeColour(100, 0, 0)) << "row 0 takes the bottom row";
    EXPECT_EQ(d->trackBar(0)->value(), 1);
    EXPECT_EQ(d->valueLabel(0)->text(), "0");
}

} // namespace
} // namespace px::test
