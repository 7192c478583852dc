// The "&Edition" menu's clipboard and clearing commands and the file menu's
// "Eff&acer...", run as their menu items on offscreen windows.
#include "app/MainWindowFixture.h"
#include "app/StatusBar.h"
#include "document/DocumentView.h"
#include "fileio/BmpFile.h"

#include <QApplication>
#include <QMouseEvent>

#include <fstream>

namespace px::test {
namespace {

constexpr Colour kRed = makeColour(255, 0, 0);
constexpr Colour kGreen = makeColour(0, 255, 0);

using ClipboardCommandsTest = MainWindowFixture;

// A window captioned "Image" whose client height is the picture's plus 56;
// creating it empties the undo history.
TEST_F(ClipboardCommandsTest, PasteAsNewImageOpensAWindowOfTheClipboardPicture)
{
    create();
    ImageWindow* first = open(noise(9, 6));
    trigger("Supprimer1");
    ASSERT_EQ(undoSteps(), 1);
    clipboard.setImage(noise(7, 5));
    trigger("Coller1");
    ASSERT_EQ(openWindows(), 2);
    ImageWindow* pasted = window->activeImageWindow();
    ASSERT_NE(pasted, first);
    EXPECT_EQ(pasted->document(), noise(7, 5));
    EXPECT_EQ(pasted->windowTitle(), "Image");
    EXPECT_EQ(pasted->filePath(), "Image");
    EXPECT_EQ(pasted->height(), 5 + 56);
    EXPECT_EQ(undoSteps(), 0);

    clipboard.clear();
    trigger("Coller1");
    EXPECT_EQ(openWindows(), 2) << "nothing to paste";
}

// "&Couper" then "&Annuler": the picture comes back, the clipboard keeps it.
// "Co&pier" takes no undo step.
TEST_F(ClipboardCommandsTest, CutThenUndoRestoresThePicture)
{
    create();
    ImageWindow* image = open(noise(9, 6));
    trigger("Copier1");
    EXPECT_EQ(clipboard.image(), noise(9, 6));
    EXPECT_EQ(undoSteps(), 0);
    clipboard.clear();

    trigger("Couper1");
    EXPECT_EQ(image->document(), uniformBitmap(9, 6, kWhite));
    EXPECT_EQ(clipboard.image(), noise(9, 6));
    EXPECT_EQ(undoSteps(), 1);
    EXPECT_TRUE(enabled("Annuler1"));
    EXPECT_TRUE(enabled("Annulerbut"));
    EXPECT_EQ(image->canvas().copyMode(), CopyMode::SrcCopy);
    trigger("Annuler1");
    EXPECT_EQ(image->document(), noise(9, 6));
    EXPECT_EQ(clipboard.image(), noise(9, 6));
}

struct ClearCase {
    const char* command;
    Colour expected; // with the background colour green
    const char* caption;
};

class ClearCommand : public ClipboardCommandsTest, public ::testing::WithParamInterface<ClearCase> {};

// "&Supprimer" black, "&Tout effacer" white, "Cla&ir" the background colour,
// even after a figure tool left a hollow brush and an inverting pen; each
// with an undo step, which the macro record has too (named, not replayable).
TEST_P(ClearCommand, FillsTheWholePicture)
{
    create();
    ImageWindow* image = open(noise(9, 6));
    session.backgroundColour = kGreen;
    image->canvas().setBrushHollow(true);
    image->canvas().setPenMode(MixMode::NotXor);
    image->canvas().setPenWidth(4);
    trigger(GetParam().command);
    EXPECT_EQ(image->document(), uniformBitmap(9, 6, GetParam().expected));
    EXPECT_EQ(undoSteps(), 1);
    ASSERT_EQ(image->macroRecord().steps().size(), 1u);
    EXPECT_EQ(image->macroRecord().steps()[0].command, nullptr);
    EXPECT_NE(image->macroRecord().steps()[0].note.find(GetParam().caption), std::string::npos);
    trigger("Annuler1");
    EXPECT_EQ(image->document(), noise(9, 6));
    EXPECT_TRUE(image->macroRecord().steps().empty());
}

INSTANTIATE_TEST_SUITE_P(Commands, ClearCommand,
                         ::testing::Values(ClearCase{"Supprimer1", kBlack, "« Supprimer »"},
                                           ClearCase{"Touteffacer1", kWhite, "« Tout effacer »"},
                                           ClearCase{"Clair1", kGreen, "« Clair »"}),
                         [](const auto& info) { return std::string(info.param.command); });

// "Co&ller" > "&Sélection": the picture floats at the top-left corner until
// a right click on it drops it there; the command took the undo step.
TEST_F(ClipboardCommandsTest, PasteAsSelectionFloatsUntilTheRightClick)
{
    MainWindow& w = create();
    show();
    ImageWindow* image = open(uniformBitmap(12, 8, kWhite));
    clipboard.setImage(uniformBitmap(3, 2, kRed));
    w.timerTick();
    ASSERT_TRUE(enabled("Slction1"));
    trigger("Slction1");
    EXPECT_TRUE(image->toolState().floating.shown);
    EXPECT_EQ(undoSteps(), 1);
    EXPECT_EQ(w.statusPanels()->panelText(0),
              QString::fromUtf8("Cliquez sur le bouton droit sur la sélection pour la coller"));
    EXPECT_EQ(image->document(), uniformBitmap(12, 8, kWhite)) << "floating, not yet in the picture";

    QWidget* view = image->view();
    sendMouse(view, QEvent::MouseButtonPress, {1, 1}, Qt::RightButton, Qt::RightButton);
    sendMouse(view, QEvent::MouseButtonRelease, {1, 1}, Qt::RightButton, Qt::NoButton);
    EXPECT_FALSE(image->toolState().floating.shown);
    EXPECT_EQ(toAscii(image->document(), {{'r', kRed}}), "rrr.........\n"
                                                         "rrr.........\n"
                                                         "............\n"
                                                         "............\n"
                                                         "............\n"
                                                         "............\n"
                                                         "............\n"
                                                         "............\n");
    EXPECT_EQ(undoSteps(), 1);
}

// "&Charger..." then "&Nouvelle image" opens a copy of the file; a file that
// cannot be read, or of another extension, is reported and the clipboard
// keeps its picture.
TEST_F(ClipboardCommandsTest, LoadIntoTheClipboardThenPaste)
{
    create();
    const Bitmap picture = noise(5, 4);
    writeBmpFile(dir.file("chat.bmp"), picture);
    prompter.queueFile(dir.file("chat.bmp").string());
    trigger("Charger1");
    const auto request = prompter.last().fileRequest;
    EXPECT_EQ(request.title, "Charger dans le presse-papier...");
    EXPECT_EQ(request.filter.substr(0, request.filter.find('|')), "Tous les fichiers supportés");
    EXPECT_EQ(clipboard.image(), picture);
    trigger("Coller1");
    ASSERT_EQ(openWindows(), 1);
    EXPECT_EQ(window->activeImageWindow()->document(), picture);

    std::ofstream(dir.file("faux.bmp")) << "BM pas une image";
    std::ofstream(dir.file("notes.txt")) << "texte";
    for (const char* name : {"faux.bmp", "notes.txt"}) {
        prompter.queueFile(dir.file(name).string());
        trigger("Charger1");
        EXPECT_EQ(prompter.last().text, "Le fichier est un fichier image non valide.") << name;
        EXPECT_EQ(clipboard.image(), picture) << name;
    }
    prompter.queueFileCancel();
    trigger("Charger1");
    EXPECT_EQ(clipboard.image(), picture);
}

// "&Vider" empties the clipboard: the paste button follows at the next tick
// of Timer1, the menu's paste items when the menu opens.
TEST_F(ClipboardCommandsTest, EmptyingTheClipboardDisablesPasteWithinOneTick)
{
    MainWindow& w = create();
    open(noise(3, 3));
    clipboard.setImage(noise(2, 2));
    w.timerTick();
    EXPECT_TRUE(enabled("Collerbut"));
    trigger("Vider1");
    EXPECT_FALSE(clipboard.hasImage());
    w.timerTick();
    EXPECT_FALSE(enabled("Collerbut"));
    w.editMenuOpening();
    for (const char* name : {"Coller1", "Slction1", "Vider1"})
        EXPECT_FALSE(enabled(name)) << name;
}

// Another program's picture beyond the sizes the program accepts: the
// clipboard holds an image the program cannot take.
class OversizeClipboard : public Clipboard {
public:
    bool hasImage() const override { return true; }
    Bitmap image() const override { return {}; }
    void setImage(const Bitmap&) override {}
    void clear() override {}
};

TEST_F(ClipboardCommandsTest, PictureTooLargeIsRefusedWithAMessage)
{
    OversizeClipboard huge;
    Session own{prompter, shell, huge};
    MainWindowOptions options;
    options.programDir = q(dir.path());
    MainWindow w(own, settings, options);
    w.commands().run("Coller1");
    EXPECT_TRUE(w.imageWindows().isEmpty());
    EXPECT_EQ(prompter.last().text, "L'image du presse-papier est trop grande.");

    auto* image = new ImageWindow(own);
    image->setDocument(noise(4, 4));
    w.addImageWindow(image);
    w.commands().run("Slction1");
    EXPECT_FALSE(image->toolState().floating.shown);
    EXPECT_TRUE(own.history.undoHistory().isEmpty());
    EXPECT_EQ(prompter.callsOf(Kind::Message).size(), 2u);
}

class TrashTest : public ClipboardCommandsTest {
protected:
    ImageWindow* openFile()
    {
        create();
        writeBmpFile(dir.file("chat.bmp"), noise(4, 4));
        return window->openImageFile(q(dir.file("chat.bmp")));
    }
    std::string path() const { return dir.file("chat.bmp").string(); }
};

struct TrashCase {
    const char* name;
    std::vector<Answer> answers; // trash question, then save question
    bool closed;
    bool trashed;
};

class TrashAnswers : public TrashTest, public ::testing::WithParamInterface<TrashCase> {};

// The file goes to the trash only once its window has really closed.
TEST_P(TrashAnswers, TrashesTheFileOnlyAfterTheWindowClosed)
{
    const TrashCase& c = GetParam();
    ASSERT_NE(openFile(), nullptr);
    for (const Answer a : c.answers)
        prompter.queueAnswer(a);
    trigger("Effacer1");
    flush();
    EXPECT_EQ(prompter.callsOf(Kind::Ask)[0].text, "Etes-vous sûr de vouloir envoyer ce fichier à la corbeille ?");
    EXPECT_EQ(openWindows(), c.closed ? 0 : 1);
    EXPECT_EQ(shell.trashed, c.trashed ? std::vector<std::string>{path()} : std::vector<std::string>{});
    EXPECT_EQ(messages(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Answers, TrashAnswers,
                         ::testing::Values(TrashCase{"Cancel", {Answer::Cancel}, false, false},
                                           TrashCase{"CancelTheSave", {Answer::Ok, Answer::Cancel}, false, false},
                                           TrashCase{"DoNotSave", {Answer::Ok, Answer::No}, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A new image has no file: the window closes and nothing is trashed or said.
// A file the trash refuses is reported.
TEST_F(TrashTest, NewImageTrashesNothingAndAFailureIsReported)
{
    create();
    addImage();
    prompter.queueAnswer(Answer::Ok);
    prompter.queueAnswer(Answer::No);
    trigger("Effacer1");
    flush();
    EXPECT_EQ(openWindows(), 0);
    EXPECT_TRUE(shell.trashed.empty());
    EXPECT_EQ(messages(), 0u);

    window.reset();
    ASSERT_NE(openFile(), nullptr);
    shell.trashError = "Impossible de mettre " + path() + " à la corbeille.";
    prompter.queueAnswer(Answer::Ok);
    prompter.queueAnswer(Answer::No);
    trigger("Effacer1");
    flush();
    EXPECT_EQ(prompter.last().text, shell.trashError);
}

} // namespace
} // namespace px::test
