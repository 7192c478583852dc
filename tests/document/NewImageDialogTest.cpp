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

TEST_F(NewImageDialogTest, EmptyFieldShowsTheMessageAndKeepsTheDialogOpen)
{
    dialog->resolutionEdit()->clear();
    EXPECT_EQ(dialog->okClicked(), nullptr);
    EXPECT_TRUE(windows.empty());
    EXPECT_EQ(prompter.last().text, "Pour créer une nouvelle image, vous devez remplir tous les champs.");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(std::filesystem::exists(settings->path()));
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

TEST_F(NewImageDialogTest, ZeroWidthMakesAnEmptyImage)
{
    setFields("0", "200", "Blanc", k24Bit);
    ImageWindow* image = dialog->okClicked();
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->document().isEmpty());
}

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

} // namespace
} // namespace px
