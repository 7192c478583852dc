// TForm4 "Nouveau..." through its own widgets: settings read at every
// showing, the colour lists, the key filter, the memory estimate, the empty
// field message and the image that OK creates.
#include "document/NewImageDialog.h"
#include "document/ImageWindow.h"
#include "document/SessionFixture.h"
#include "platform/SettingsFile.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <vector>

namespace px {
namespace {

const char* const k24Bit = "16.7 millions de couleurs (24 bit)";

class NewImageDialogTest : public test::SessionTest {
protected:
    void SetUp() override { build(dir.file("Pixoran3.ini")); }

    void build(const std::filesystem::path& ini)
    {
        dialog.reset();
        settings = std::make_unique<SettingsFile>(ini);
        dialog = std::make_unique<NewImageDialog>(session, *settings);
        dialog->createWindow = [this](int w, int h) {
            auto window = std::make_unique<ImageWindow>(session);
            window->setDocument(Bitmap(w, h, 24));
            windows.push_back(std::move(window));
            return windows.back().get();
        };
        dialog->show();
    }

    void type(QLineEdit* edit, const QString& keys)
    {
        for (QChar c : keys) {
            const int key = c == QLatin1Char('\b') ? int(Qt::Key_Backspace) : 0;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(edit, &press);
        }
    }

    void setFields(const char* width, const char* height, const char* colour, const char* type)
    {
        dialog->widthEdit()->setText(QLatin1String(width));
        dialog->heightEdit()->setText(QLatin1String(height));
        dialog->typeBox()->setEditText(QString::fromUtf8(type));
        dialog->colourBox()->setEditText(QString::fromUtf8(colour));
    }

    test::TempDir dir;
    std::unique_ptr<SettingsFile> settings;
    std::vector<std::unique_ptr<ImageWindow>> windows;
    std::unique_ptr<NewImageDialog> dialog;
};

TEST_F(NewImageDialogTest, DefaultsWithoutASettingsFileAndTheTimerEstimate)
{
    EXPECT_EQ(dialog->windowTitle(), "Nouveau...");
    EXPECT_EQ(dialog->widthEdit()->text(), "320");
    EXPECT_EQ(dialog->heightEdit()->text(), "200");
    EXPECT_EQ(dialog->resolutionEdit()->text(), "72");
    EXPECT_EQ(dialog->colourBox()->currentText(), "Blanc");
    EXPECT_EQ(dialog->typeBox()->currentText(), k24Bit);
    EXPECT_EQ(dialog->timer()->interval(), 100);
    EXPECT_TRUE(dialog->timer()->isActive());

    QElapsedTimer clock;
    clock.start();
    while (dialog->memoryLabel()->text().isEmpty() && clock.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(dialog->memoryLabel()->text(), "187 Ko"); // 320 * 200 * 3 = 192000 bytes
}

// Pasted text counts as 0; an unknown type leaves the last estimate.
TEST_F(NewImageDialogTest, MemoryLabelFollowsTheFieldsAtEachTick)
{
    setFields("18", "19", "Blanc", k24Bit);
    dialog->timerTick();
    EXPECT_EQ(dialog->memoryLabel()->text(), "1 Ko"); // 1026 bytes
    dialog->widthEdit()->setText("1a");
    dialog->timerTick();
    EXPECT_EQ(dialog->memoryLabel()->text(), "0 octets");
    dialog->typeBox()->setEditText("32 bit");
    dialog->widthEdit()->setText("1");
    dialog->timerTick();
    EXPECT_EQ(dialog->memoryLabel()->text(), "0 octets");
}

TEST_F(NewImageDialogTest, ColourListsFollowTheType)
{
    QComboBox* colours = dialog->colourBox();
    EXPECT_EQ(colours->count(), 18);
    colours->setEditText("Rouge");
    dialog->typeBox()->setEditText("2 couleurs (1 bit)");
    ASSERT_EQ(colours->count(), 2);
    EXPECT_EQ(colours->itemText(1), "Noir");
    EXPECT_EQ(colours->currentText(), "Blanc");

    colours->setEditText("Principale");
    dialog->typeBox()->setEditText("16 couleurs (4 bit)");
    EXPECT_EQ(colours->itemText(0), "Aqua");
    EXPECT_EQ(colours->currentText(), "Principale") << "kept though not offered";
    dialog->typeBox()->setEditText("pas un type");
    EXPECT_EQ(colours->count(), 16) << "an unknown type leaves the list";
}

TEST_F(NewImageDialogTest, SizeFieldsTakeDigitsAndBackspaceOnly)
{
    QLineEdit* width = dialog->widthEdit();
    width->clear();
    type(width, "1a2-b 3");
    EXPECT_EQ(width->text(), "123");
    type(width, "\b");
    EXPECT_EQ(width->text(), "12");
    EXPECT_EQ(width->maxLength(), 4);
    EXPECT_EQ(dialog->resolutionEdit()->maxLength(), 2);
    type(dialog->resolutionEdit(), "x");
    EXPECT_EQ(dialog->resolutionEdit()->text(), "72");
}

TEST_F(NewImageDialogTest, EmptyFieldShowsTheMessageAndZeroWidthMakesAnEmptyImage)
{
    dialog->resolutionEdit()->clear();
    EXPECT_EQ(dialog->okClicked(), nullptr);
    EXPECT_TRUE(windows.empty());
    EXPECT_EQ(prompter.last().text, "Pour créer une nouvelle image, vous devez remplir tous les champs.");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(std::filesystem::exists(settings->path()));
    // A width of 0 is no empty field: it makes an empty image.
    dialog->resolutionEdit()->setText("72");
    setFields("0", "200", "Blanc", k24Bit);
    ImageWindow* image = dialog->okClicked();
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->document().isEmpty());
}

struct FillCase {
    const char* colour;
    const char* type;
    int bitsPerPixel;
    Colour expected;
};

class NewImageFill : public NewImageDialogTest, public ::testing::WithParamInterface<FillCase> {};

TEST_P(NewImageFill, OkCreatesTheFilledImage)
{
    session.mainColour = makeColour(12, 34, 56);
    session.backgroundColour = makeColour(200, 100, 50);
    setFields("5", "3", GetParam().colour, GetParam().type);
    ImageWindow* image = dialog->okClicked();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    const Bitmap& b = image->document();
    EXPECT_EQ(b.width(), 5);
    EXPECT_EQ(b.height(), 3);
    EXPECT_EQ(b.bitsPerPixel(), GetParam().bitsPerPixel);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(b.pixel(x, y), GetParam().expected) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Colours, NewImageFill,
                         ::testing::Values(FillCase{"Rouge", "16 couleurs (4 bit)", 4, makeColour(255, 0, 0)},
                                           FillCase{"Noir", "2 couleurs (1 bit)", 1, makeColour(0, 0, 0)},
                                           FillCase{"Principale", k24Bit, 24, makeColour(12, 34, 56)},
                                           FillCase{"Fond", k24Bit, 24, makeColour(200, 100, 50)},
                                           FillCase{"Turquoise", k24Bit, 24, kBlack}, // unknown: left black
                                           // The 8-bit cube has no (0, 0, 128): the nearest entry is (0, 0, 153).
                                           FillCase{"Bleu marrine", "256 couleurs (8 bit)", 8, makeColour(0, 0, 153)}));

TEST_F(NewImageDialogTest, OkSavesTheValuesAndTheNextShowingReadsThem)
{
    setFields("64", "48", "Gris", "256 couleurs (8 bit)");
    ASSERT_NE(dialog->okClicked(), nullptr);
    EXPECT_EQ(settings->readString("Nouveau", "largeur"), "64");
    EXPECT_EQ(settings->readString("Nouveau", "Hauteur"), "48");
    EXPECT_EQ(settings->readString("Nouveau", "Fond"), "Gris");
    EXPECT_EQ(settings->readString("Nouveau", "Type"), "256 couleurs (8 bit)");
    setFields("1", "1", "Noir", k24Bit);
    dialog->show();
    EXPECT_EQ(dialog->widthEdit()->text(), "64");
    EXPECT_EQ(dialog->heightEdit()->text(), "48");
    EXPECT_EQ(dialog->colourBox()->currentText(), "Gris");
    EXPECT_EQ(dialog->typeBox()->currentText(), "256 couleurs (8 bit)");
}

TEST_F(NewImageDialogTest, RefusedSettingsWriteIsShownAndTheDialogStaysOpen)
{
    std::ofstream(dir.file("fichier")) << "x";
    build(dir.file("fichier") / "Pixoran3.ini");
    setFields("2", "2", "Blanc", k24Bit);
    EXPECT_NE(dialog->okClicked(), nullptr) << "the window is created before the write";
    EXPECT_EQ(windows.size(), 1u);
    EXPECT_EQ(prompter.last().text.rfind("Impossible d'écrire dans ", 0), 0u) << prompter.last().text;
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(dialog->isVisible());
}

// The rectangle of a widget in the dialog's coordinates.
QRect inDialog(const QWidget* w, const QWidget* dialog)
{
    return QRect(w->mapTo(dialog, QPoint(0, 0)), w->size());
}

class NewImageDialogLayout : public test::SessionTest, public ::testing::WithParamInterface<double> {};

// With the platform's font at its size and at twice it: every text has the
// room it asks for, no two controls touch, every control keeps a margin
// inside its frame and inside the dialog, and the memory estimate stands
// apart from its caption and from the buttons.
TEST_P(NewImageDialogLayout, NothingTouchesOrIsCut)
{
    const QFont original = QApplication::font();
    QFont font = original;
    font.setPointSizeF(original.pointSizeF() * GetParam());
    QApplication::setFont(font);
    test::TempDir dir;
    SettingsFile settings(dir.file("Pixoran3.ini"));
    {
        NewImageDialog dialog(session, settings);
        dialog.show();
        dialog.memoryLabel()->setText(QStringLiteral("1023 octets")); // the longest estimate
        QApplication::processEvents();

        std::vector<QWidget*> controls;
        for (QWidget* w : dialog.findChildren<QWidget*>())
            if (w->isVisible() && !qobject_cast<QComboBox*>(w->parentWidget()) &&
                (qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                 qobject_cast<QPushButton*>(w)))
                controls.push_back(w);
        ASSERT_EQ(controls.size(), 19u); // 12 labels, 3 fields, 2 lists, 2 buttons
        const int margin = 2;
        for (QWidget* w : controls) {
            const std::string name = w->objectName().toStdString();
            const QRect r = inDialog(w, &dialog);
            if (auto* edit = qobject_cast<QLineEdit*>(w))
                // Its longest number, with the frame and the text margins.
                EXPECT_GE(w->width(), w->fontMetrics().horizontalAdvance(QString(edit->maxLength(), '0')) + 8)
                    << name << " is cut";
            else
                EXPECT_GE(w->width(), w->sizeHint().width()) << name << " is cut";
            EXPECT_GE(w->height(), w->minimumSizeHint().height()) << name << " is cut";
            EXPECT_TRUE(dialog.rect().adjusted(margin, margin, -margin, -margin).contains(r)) << name;
            if (auto* frame = qobject_cast<QFrame*>(w->parentWidget())) {
                EXPECT_TRUE(frame->contentsRect()
                                .adjusted(margin, margin, -margin, -margin)
                                .contains(QRect(w->pos(), w->size())))
                    << name << " touches its frame";
            }
            for (QWidget* other : controls) {
                if (other != w && !w->isAncestorOf(other) && !other->isAncestorOf(w)) {
                    EXPECT_FALSE(r.intersects(inDialog(other, &dialog)))
                        << name << " overlaps " << other->objectName().toStdString();
                }
            }
        }
        auto* label8 = dialog.findChild<QLabel*>("Label8");
        const QRect caption = inDialog(label8, &dialog);
        const QRect estimate = inDialog(dialog.memoryLabel(), &dialog);
        EXPECT_GE(estimate.left() - caption.right(), 3) << "the estimate sticks to its caption";
        const QRect ok = inDialog(dialog.findChild<QWidget*>("Button1"), &dialog);
        EXPECT_GE(ok.top() - estimate.bottom(), 3) << "the estimate sits against OK";
    }
    QApplication::setFont(original);
}

INSTANTIATE_TEST_SUITE_P(FontScales, NewImageDialogLayout, ::testing::Values(1.0, 2.0));

} // namespace
} // namespace px
