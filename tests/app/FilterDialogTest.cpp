// "Créer son filtre..." (TForm27): the ten fields, their key filter, the
// preview rules and the failures of a divisor of 0 or a field that is not a
// whole number.
#include "app/MainWindowFixture.h"
#include "effects/dialogs/CustomFilterDialog.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace px::test {
namespace {

class FilterDialogTest : public MainWindowFixture {
protected:
    CustomFilterDialog* dialog() { return qobject_cast<CustomFilterDialog*>(window->dialog("TForm27")); }

    // Identity kernel: the preview equals the source.
    static void setKernel(QDialog& d, const std::vector<const char*>& texts)
    {
        const char* names[] = {"e1", "e2", "e3", "e4", "e5", "e6", "e7", "e8", "e9", "ediv"};
        for (std::size_t i = 0; i < texts.size(); ++i)
            d.findChild<QLineEdit*>(QLatin1String(names[i]))->setText(QLatin1String(texts[i]));
    }
    static QLineEdit* field(QDialog& d, const char* name) { return d.findChild<QLineEdit*>(QLatin1String(name)); }
    static Colour previewPixel(QDialog& d) { return d.findChild<PreviewImage*>("Image2")->bitmap().pixel(0, 0); }

    std::size_t errors() const { return prompter.callsOf(Kind::Message).size(); }
};

const Colour kGrey = makeColour(100, 100, 100);
const std::vector<const char*> kIdentity = {"0", "0", "0", "0", "1", "0", "0", "0", "0", "1"};

TEST_F(FilterDialogTest, FieldsStartWithTheirTextsAndFilterKeys)
{
    create();
    CustomFilterDialog* d = dialog();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Créer son filtre...");
    const char* initial[] = {"2", "1", "1", "1", "-3", "-1", "1", "-1", "-1", "1"};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(d->field(i)->text(), initial[i]) << i;
    EXPECT_EQ(d->field(9)->objectName(), "ediv");

    QLineEdit* e1 = d->field(0);
    e1->clear();
    for (const QString& key : {QStringLiteral("7"), QStringLiteral("x"), QStringLiteral("-"), QStringLiteral(" "),
                               QStringLiteral("3"), QStringLiteral(",")}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, key);
        QCoreApplication::sendEvent(e1, &press);
    }
    EXPECT_EQ(e1->text(), "7-3");
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    QCoreApplication::sendEvent(e1, &backspace);
    EXPECT_EQ(e1->text(), "7-");
}

// The opening computes the preview with the fields as they are: the initial
// kernel sums to 0, so a uniform image previews black.
TEST_F(FilterDialogTest, PreviewOnOpeningAndOnUsableChanges)
{
    ImageWindow* image = open(uniformBitmap(3, 3, kGrey));
    onDialog(pressing("Button1", [this](QDialog& d) {
        EXPECT_EQ(previewPixel(d), kBlack);
        setKernel(d, kIdentity);
        EXPECT_EQ(previewPixel(d), kGrey);
        field(d, "e5")->setText("-");
        field(d, "e5")->clear();
        EXPECT_EQ(previewPixel(d), kGrey) << "neither empty nor '-' recomputes";
        EXPECT_EQ(errors(), 0u);
        field(d, "e5")->setText("-2");
        EXPECT_EQ(previewPixel(d), kBlack);
        field(d, "e5")->setText("2");
        EXPECT_EQ(previewPixel(d), makeColour(200, 200, 200));
    }));
    trigger("Filtre1");
    EXPECT_EQ(image->document(), uniformBitmap(3, 3, makeColour(200, 200, 200)));
    EXPECT_EQ(undoSteps(), 1);
    EXPECT_EQ(dialog()->field(4)->text(), "2") << "texts stay for the next opening";
}

// A divisor of 0, and "1-2" which gets through the key filter but is not a
// whole number: the error at the change and again at OK, image and preview
// left as they were. Annuler applies nothing.
TEST_F(FilterDialogTest, BadFieldsShowTheErrorAndLeaveImageAndPreview)
{
    const Bitmap before = uniformBitmap(2, 2, kGrey);
    ImageWindow* image = open(before);
    onDialog(pressing("Button1", [this](QDialog& d) {
        setKernel(d, kIdentity);
        field(d, "e5")->setText("2");
        const Colour shown = previewPixel(d);
        EXPECT_EQ(errors(), 0u);
        field(d, "ediv")->setText("0");
        EXPECT_EQ(errors(), 1u);
        EXPECT_EQ(prompter.last().messageKind, MessageKind::Error);
        EXPECT_EQ(previewPixel(d), shown);
    }));
    trigger("Filtre1");
    EXPECT_EQ(errors(), 2u) << "applying reports the error again";
    EXPECT_EQ(image->document(), before);
    EXPECT_EQ(undoSteps(), 1) << "the snapshot was taken before the filter ran";

    std::size_t base = 0; // the divisor 0 left in the field may be reported at the opening
    onDialog(pressing("Button1", [this, &base](QDialog& d) {
        setKernel(d, kIdentity);
        base = errors();
        field(d, "e3")->setText("1-2");
        EXPECT_EQ(errors(), base + 1);
        EXPECT_NE(prompter.last().text.find("1-2"), std::string::npos);
        EXPECT_EQ(previewPixel(d), kGrey);
    }));
    trigger("Filtre1");
    EXPECT_EQ(errors(), base + 2);
    EXPECT_EQ(image->document(), before);

    onDialog(pressing("Button2"));
    trigger("Filtre1");
    EXPECT_EQ(image->document(), before);
    EXPECT_EQ(undoSteps(), 2) << "Annuler takes no snapshot";
}

} // namespace
} // namespace px::test
