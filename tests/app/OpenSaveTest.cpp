// Opening, restoring and saving image files through the file menu, with
// files written by the program's own writers into a temporary folder.
#include "app/MainWindowFixture.h"
#include "app/RecentFiles.h"
#include "app/StatusBar.h"
#include "fileio/FileTestSupport.h"
#include "fileio/ImageFormats.h"

#include <QLabel>
#include <QRadioButton>
#include <QSlider>

namespace px::test {
namespace {

constexpr const char* kInvalid = "Le fichier est un fichier image non valide.";

// Red, green / blue, white: four distinct colours, so a swap of channels or
// rows shows.
Bitmap sample()
{
    return fromAscii(
        {"rg", "b."},
        {{'r', makeColour(255, 0, 0)}, {'g', makeColour(0, 255, 0)}, {'b', makeColour(0, 0, 255)}, {'.', kWhite}});
}

// A 2 x 1 GIF written out by hand: palette white, black; pixels 0, 1. The
// LZW codes (3 bits, least significant first) are clear 4, 0, 1, end 5.
void writeTinyGif(const std::filesystem::path& path)
{
    const unsigned char gif[] = {'G',  'I',  'F',  '8',  '9', 'a', 2, 0, 1, 0, 0x80, 0, 0, // screen, 2-entry table
                                 0xFF, 0xFF, 0xFF, 0,    0,   0,                           // white, black
                                 0x2C, 0,    0,    0,    0,   2,   0, 1, 0, 0,             // image 2 x 1
                                 2,    2,    0x44, 0x0A, 0,                                // min code 2, data
                                 0x3B};
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(gif), sizeof gif);
}

bool near(Colour a, Colour b)
{
    auto d = [](int x, int y) { return std::abs(x - y) <= 40; };
    return d(redOf(a), redOf(b)) && d(greenOf(a), greenOf(b)) && d(blueOf(a), blueOf(b));
}

class OpenSaveTest : public MainWindowFixture {
protected:
    bool recentMenuShows(int item, const std::string& path)
    {
        QAction* a = window->action("mru" + std::to_string(item));
        return a->isVisible() && a->text().toStdString() == path;
    }

    // Opens through "&Ouvrir..." as a user picking `path` would.
    ImageWindow* openThroughMenu(const std::filesystem::path& path)
    {
        prompter.queueFile(path.string());
        trigger("Ouvrir1");
        QCoreApplication::processEvents();
        return window->activeImageWindow();
    }
    std::string panel1() const { return window->statusPanels()->panelText(1).toStdString(); }
};

// ---- Opening ---------------------------------------------------------------

struct OpenCase {
    const char* name; // file name, any case
    bool lossless;
};

class OpenEachFormat : public OpenSaveTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenEachFormat, OpensIntoANewWindowWithItsNameAndPath)
{
    const OpenCase& c = GetParam();
    const std::filesystem::path file = dir.file(c.name);
    // JPEG shares one chroma sample between neighbours: the lossy formats
    // get a plain colour, which survives within a few levels.
    const Bitmap written = c.lossless ? sample() : uniformBitmap(2, 2, makeColour(200, 100, 50));
    writeImageFile(file, written, SaveOptions{});
    MainWindow& w = create();

    ImageWindow* image = openThroughMenu(file);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(messages(), 0u) << prompter.last().text;
    EXPECT_EQ(image->windowTitle().toStdString(), c.name);
    EXPECT_EQ(image->filePath().toStdString(), file.string());
    EXPECT_EQ(panel1(), file.string());
    EXPECT_TRUE(recentMenuShows(1, file.string()));
    EXPECT_TRUE(w.action("Mrudiv")->isVisible());
    Bitmap doc = image->document();
    ASSERT_EQ(doc.width(), 2);
    ASSERT_EQ(doc.height(), 2);
    doc.setPixelFormat(24);
    if (c.lossless)
        EXPECT_EQ(doc, written) << dumpMismatch(std::string("open_") + c.name, doc, written);
    else
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                EXPECT_TRUE(near(doc.pixel(x, y), written.pixel(x, y))) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Formats, OpenEachFormat,
                         ::testing::Values(OpenCase{"a.bmp", true}, OpenCase{"b.png", true}, OpenCase{"c.tga", true},
                                           OpenCase{"d.tif", true}, OpenCase{"photo.JpG", false},
                                           OpenCase{"i.jpa", false}, OpenCase{"j.jpe", false}),
                         [](const auto& info) { return testName(info.param.name); });

TEST_F(OpenSaveTest, OpenDialogHasTheProgramsFilterAndNoTitle)
{
    create();
    prompter.queueFileCancel();
    trigger("Ouvrir1");
    ASSERT_EQ(prompter.callsOf(Kind::OpenFile).size(), 1u);
    const FileDialogRequest& r = prompter.last().fileRequest;
    EXPECT_EQ(r.filter, openFilter()) << "the filter itself is checked with the format table";
    EXPECT_EQ(r.filterIndex, 1);
    EXPECT_EQ(r.title, "");
    EXPECT_EQ(openWindows(), 0) << "a cancelled dialog opens nothing";

    prompter.queueFileCancel();
    trigger("Ouvrirbut");
    EXPECT_EQ(prompter.callsOf(Kind::OpenFile).size(), 2u) << "the tool-bar button runs the same command";
}

// A GIF opens in its own palette format; restoring it gives a 24-bit copy.
TEST_F(OpenSaveTest, GifOpensWithItsPaletteAndRestoresIn24Bit)
{
    writeTinyGif(dir.file("petit.gif"));
    MainWindow& w = create();
    ImageWindow* image = openThroughMenu(dir.file("petit.gif"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->document().bitsPerPixel(), 8);
    EXPECT_EQ(toAscii(image->document()), ".#\n");

    prompter.queueAnswer(Answer::Ok);
    trigger("Restaurer1");
    flush();
    ImageWindow* restored = w.activeImageWindow();
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->document().bitsPerPixel(), 24);
    EXPECT_EQ(toAscii(restored->document()), ".#\n");
}

class OpenFailure : public OpenSaveTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(OpenFailure, ShowsTheMessageAndLeavesNothingBehind)
{
    const std::filesystem::path file = dir.file(GetParam());
    std::ofstream(file) << "pas une image";
    MainWindow& w = create();
    ImageWindow* other = addImage(QStringLiteral("autre.bmp"), q(dir.file("autre.bmp")));

    openThroughMenu(file);
    flush();
    ASSERT_EQ(messages(), 1u);
    EXPECT_EQ(prompter.last().text, kInvalid);
    EXPECT_EQ(prompter.last().caption, "Erreur");
    EXPECT_EQ(prompter.last().messageKind, MessageKind::Error);
    EXPECT_EQ(openWindows(), 1) << "no window is left for the bad file";
    EXPECT_EQ(w.activeImageWindow(), other);
    EXPECT_FALSE(w.action("mru1")->isVisible());
    EXPECT_FALSE(w.recentFiles().changed());

    // The other window still asks before closing: the failed open must not
    // leave the no-question flag set behind it.
    prompter.queueAnswer(Answer::Cancel);
    trigger("Fermer1");
    flush();
    EXPECT_EQ(prompter.callsOf(Kind::Ask).size(), 1u);
    EXPECT_EQ(openWindows(), 1);
}

INSTANTIATE_TEST_SUITE_P(Files, OpenFailure, ::testing::Values("corrompu.jpg", "sansextension", "calque.psd"),
                         [](const auto& info) { return testName(info.param); });

TEST_F(OpenSaveTest, OpeningTheSameFileTwiceGivesTwoWindowsAndOneRecentEntry)
{
    const std::filesystem::path file = dir.file("deux.bmp");
    writeImageFile(file, sample(), SaveOptions{});
    MainWindow& w = create();
    ImageWindow* first = openThroughMenu(file);
    ImageWindow* second = openThroughMenu(file);
    EXPECT_NE(first, second);
    EXPECT_EQ(openWindows(), 2);
    second->document().setPixel(0, 0, kBlack);
    EXPECT_EQ(first->document().pixel(0, 0), makeColour(255, 0, 0)) << "independent documents";
    EXPECT_EQ(w.recentFiles().entries(), QStringList{q(file)});
}

// ---- Restoring -------------------------------------------------------------

TEST_F(OpenSaveTest, RestoreReloadsTheFileAfterConfirmation)
{
    const std::filesystem::path file = dir.file("retour.png");
    writeImageFile(file, sample(), SaveOptions{});
    MainWindow& w = create();
    ImageWindow* image = openThroughMenu(file);
    image->document().fill(kBlack);
    prompter.clearCalls();

    prompter.queueAnswer(Answer::Cancel);
    trigger("Restaurer1");
    flush();
    EXPECT_EQ(w.activeImageWindow(), image);
    EXPECT_EQ(image->document().pixel(0, 0), kBlack) << "Annuler changes nothing";

    prompter.queueAnswer(Answer::Ok);
    trigger("Restaurer1");
    flush();
    ASSERT_EQ(prompter.callsOf(Kind::Ask).size(), 2u);
    EXPECT_EQ(prompter.last().text, "Etes-vous sûr de vouloir restaurer cette image ?");
    EXPECT_EQ(prompter.last().buttons, Buttons::OkCancel);
    ASSERT_EQ(openWindows(), 1) << "the old window closed without a save question";
    ImageWindow* restored = w.activeImageWindow();
    EXPECT_EQ(restored->document(), sample());
    EXPECT_EQ(restored->windowTitle(), "retour.png");
    EXPECT_EQ(restored->filePath().toStdString(), file.string());
    EXPECT_EQ(panel1(), file.string());
}

// A window that cannot be read back keeps its unsaved image: a new image
// without a file, and a file deleted since it was opened.
TEST_F(OpenSaveTest, RestoreKeepsTheWindowWhenThereIsNothingToReadBack)
{
    MainWindow& w = create();
    ImageWindow* fresh = addImage();
    prompter.queueAnswer(Answer::Ok);
    trigger("Restaurer1");
    flush();
    EXPECT_EQ(openWindows(), 1);
    EXPECT_EQ(w.activeImageWindow(), fresh);
    EXPECT_EQ(prompter.last().text, kInvalid);
    EXPECT_EQ(prompter.last().caption, "Erreur");

    const std::filesystem::path file = dir.file("efface.bmp");
    writeImageFile(file, sample(), SaveOptions{});
    ImageWindow* opened = openThroughMenu(file);
    opened->document().fill(kBlack);
    std::filesystem::remove(file);
    prompter.queueAnswer(Answer::Ok);
    trigger("Restaurer1");
    flush();
    EXPECT_EQ(openWindows(), 2);
    EXPECT_EQ(w.activeImageWindow(), opened);
    EXPECT_EQ(opened->document().pixel(1, 1), kBlack) << "the edited image is still there";
    EXPECT_EQ(prompter.last().text, kInvalid);
}

// ---- Saving ----------------------------------------------------------------

struct FilterCase {
    const char* caption;
    int expectedIndex; // 0: the index the dialog had before
};

class SaveAsFilterIndex : public OpenSaveTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(SaveAsFilterIndex, FollowsTheCaptionsExtension)
{
    create();
    // The previous save-as left the dialog on "Fichiers TGA" (7).
    addImage(QStringLiteral("avant.bmp"), q(dir.file("avant.bmp")));
    prompter.queueFile(dir.file("avant.tga").string(), 7);
    trigger("Enregistrersous1");

    addImage(QString::fromLatin1(GetParam().caption), q(dir.file(GetParam().caption)));
    prompter.queueFileCancel();
    trigger("Enregistrersous1");
    const auto saves = prompter.callsOf(Kind::SaveFile);
    ASSERT_EQ(saves.size(), 2u);
    const int expected = GetParam().expectedIndex ? GetParam().expectedIndex : 7;
    EXPECT_EQ(saves[1].fileRequest.filterIndex, expected);
    EXPECT_EQ(saves[1].fileRequest.filter, saveFilter());
    EXPECT_EQ(saves[1].fileRequest.title, "Enregistrer sous");
    EXPECT_EQ(saves[1].fileRequest.defaultExtension, "tga");
}

INSTANTIATE_TEST_SUITE_P(Captions, SaveAsFilterIndex,
                         ::testing::Values(FilterCase{"a.bmp", 1}, FilterCase{"a.jpa", 2}, FilterCase{"a.JPE", 3},
                                           FilterCase{"a.jpg", 5}, FilterCase{"a.png", 6}, FilterCase{"a.Tiff", 9},
                                           FilterCase{"a.gif", 0}, FilterCase{"Image", 0}),
                         [](const auto& info) { return testName(info.param.caption); });

TEST_F(OpenSaveTest, FirstSaveAsStartsOnBmpAndDefaultExtensionFollowsTheLastFormat)
{
    create();
    addImage();
    prompter.queueFile(dir.file("un.png").string(), 6);
    trigger("Enregistrersous1");
    prompter.queueFile(dir.file("deux.gif").string(), 1);
    trigger("Enregistrerlacopiesous1");
    prompter.queueFileCancel();
    trigger("Enregistrerlacopiesous1");

    const auto saves = prompter.callsOf(Kind::SaveFile);
    ASSERT_EQ(saves.size(), 3u);
    EXPECT_EQ(saves[0].fileRequest.filterIndex, 1);
    EXPECT_EQ(saves[0].fileRequest.defaultExtension, "bmp");
    EXPECT_EQ(saves[1].fileRequest.title, "Enregistrer la copie sous");
    EXPECT_EQ(saves[1].fileRequest.filterIndex, 6) << "caption un.png";
    EXPECT_EQ(saves[1].fileRequest.defaultExtension, "png");
    EXPECT_EQ(saves[2].fileRequest.defaultExtension, "png") << "a refused GIF name changes no default";
}

struct SaveCase {
    const char* command;
    const char* name;
};

class SaveAsWrites : public OpenSaveTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveAsWrites, TheFileBecomesTheWindowsDocument)
{
    const std::filesystem::path file = dir.file(GetParam().name);
    create();
    ImageWindow* image = open(sample());
    prompter.queueFile(file.string());
    trigger(GetParam().command);

    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(readImageFile(file), sample());
    EXPECT_EQ(image->windowTitle().toStdString(), GetParam().name);
    EXPECT_EQ(image->filePath().toStdString(), file.string());
    EXPECT_EQ(panel1(), file.string());
    EXPECT_TRUE(recentMenuShows(1, file.string()));

    // "&Enregistrer" now writes to that file.
    image->document().fill(kBlack);
    trigger("Enregistrer1");
    EXPECT_EQ(readImageFile(file).pixel(0, 0), kBlack);
    EXPECT_EQ(prompter.callsOf(Kind::SaveFile).size(), 1u) << "no dialog for a document with a file";
}

INSTANTIATE_TEST_SUITE_P(Commands, SaveAsWrites,
                         ::testing::Values(SaveCase{"Enregistrersous1", "sous.bmp"},
                                           SaveCase{"Enregistrersous1", "sous.tga"},
                                           SaveCase{"Enregistrerlacopiesous1", "copie.png"}),
                         [](const auto& info) { return testName(info.param.name); });

TEST_F(OpenSaveTest, RefusedOrFailedSaveAsKeepsTheOldNameEverywhere)
{
    MainWindow& w = create();
    ImageWindow* image = addImage(QStringLiteral("garde.bmp"), q(dir.file("garde.bmp")));
    prompter.queueFile(dir.file("photo.gif").string());
    trigger("Enregistrersous1");
    EXPECT_FALSE(std::filesystem::exists(dir.file("photo.gif")));
    ASSERT_EQ(messages(), 1u);
    EXPECT_EQ(prompter.last().text, "Vous ne pouvez pas enregistrer un fichier GIF.");
    EXPECT_EQ(prompter.last().buttons, Buttons::Ok);
    EXPECT_EQ(image->windowTitle(), "garde.bmp");
    EXPECT_EQ(image->filePath().toStdString(), dir.file("garde.bmp").string());
    EXPECT_FALSE(w.action("mru1")->isVisible());

    prompter.queueFile(dir.file("photo.pcx").string());
    trigger("Enregistrersous1");
    EXPECT_FALSE(std::filesystem::exists(dir.file("photo.pcx")));
    EXPECT_EQ(messages(), 1u) << "silent for an extension without writer";
    EXPECT_EQ(image->windowTitle(), "garde.bmp");

    // A folder that does not exist: the error, and the old name everywhere.
    w.statusPanels()->setPanelText(1, q(dir.file("garde.bmp")));
    prompter.queueFile(dir.file("parti/nouveau.bmp").string());
    trigger("Enregistrersous1");
    ASSERT_EQ(messages(), 2u);
    EXPECT_EQ(prompter.last().caption, "Erreur");
    EXPECT_EQ(image->windowTitle(), "garde.bmp");
    EXPECT_EQ(image->filePath().toStdString(), dir.file("garde.bmp").string());
    EXPECT_EQ(panel1(), dir.file("garde.bmp").string());
    EXPECT_FALSE(w.action("mru1")->isVisible());
}

TEST_F(OpenSaveTest, TifNamesAreWrittenInLowerCaseButShownAsChosen)
{
    create();
    ImageWindow* image = open(sample());
    prompter.queueFile(dir.file("scan.TIF").string());
    trigger("Enregistrersous1");
    EXPECT_FALSE(std::filesystem::exists(dir.file("scan.TIF")));
    EXPECT_EQ(readImageFile(dir.file("scan.tif")), sample());
    EXPECT_EQ(image->windowTitle(), "scan.TIF");
    EXPECT_EQ(image->filePath().toStdString(), dir.file("scan.TIF").string());
    EXPECT_EQ(panel1(), dir.file("scan.TIF").string());
}

// A write that fails midway (here: the file-size limit, as a full disk would)
// shows the writer's message and leaves the previous file as it was, with
// no temporary file beside it.
TEST_F(OpenSaveTest, FailedWriteKeepsTheOldFileAndTellsTheUser)
{
    const std::filesystem::path file = dir.file("grand.bmp");
    writeImageFile(file, sample(), SaveOptions{});
    const auto before = readAll(file);
    create();
    ImageWindow* image = openThroughMenu(file);
    image->setDocument(Bitmap(300, 300));
    prompter.clearCalls();

    withFileSizeLimit(4096, [&] { trigger("Enregistrer1"); });

    ASSERT_EQ(messages(), 1u);
    EXPECT_EQ(prompter.last().caption, "Erreur");
    EXPECT_EQ(prompter.last().messageKind, MessageKind::Error);
    EXPECT_EQ(prompter.last().text.rfind("Impossible d'écrire dans " + file.string(), 0), 0u) << prompter.last().text;
    EXPECT_EQ(readAll(file), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3) << "aide, astuces.txt, grand.bmp";
}

// The save question of a closing window goes through "&Enregistrer", which
// asks a new image for a name.
TEST_F(OpenSaveTest, CloseQuestionYesSavesAndACancelledNameKeepsTheWindow)
{
    MainWindow& w = create();
    ImageWindow* image = addImage();
    prompter.queueAnswer(Answer::Yes);
    prompter.queueFileCancel();
    trigger("Fermer1");
    flush();
    EXPECT_EQ(prompter.last().fileRequest.title, "Enregistrer sous");
    EXPECT_EQ(openWindows(), 1) << "the unsaved image is not lost";
    EXPECT_EQ(image->windowTitle(), "Image");
    EXPECT_FALSE(w.recentFiles().changed());

    prompter.queueAnswer(Answer::Yes);
    prompter.queueFile(dir.file("ferme.png").string());
    trigger("Fermer1");
    flush();
    EXPECT_EQ(openWindows(), 0);
    EXPECT_EQ(readImageFile(dir.file("ferme.png")), fromAscii({"#.", ".#"}));
}

// ---- JPEG options ----------------------------------------------------------

// The first value of the first quantisation table: libjpeg scales the base
// value 16 by 5000 / q percent below 50 and by 200 - 2q percent from 50 up,
// rounded: q = 40 gives 20, q = 90 gives 3.
int firstQuantiser(const std::vector<std::uint8_t>& jpeg)
{
    for (std::size_t i = 0; i + 5 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDB)
            return jpeg[i + 5];
    return -1;
}

bool hasMarker(const std::vector<std::uint8_t>& jpeg, std::uint8_t marker)
{
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == marker)
            return true;
    return false;
}

// Saves use the dialog's controls even after Annuler; OK writes both keys.
TEST_F(OpenSaveTest, JpegOptions)
{
    MainWindow& w = create();
    trigger("CompressionJpeg1");
    EXPECT_EQ(shownDialogs, std::vector<std::string>{"TForm17"});
    QDialog* d = w.dialog("TForm17");
    auto* quality = d->findChild<QSlider*>("TrackBar1");
    auto* progressiveBox = d->findChild<QRadioButton*>("RadioButton4");
    quality->setValue(40);
    EXPECT_EQ(d->findChild<QLabel*>("Label5")->text(), "40");
    progressiveBox->setChecked(true);
    click(*d, "Button2");
    EXPECT_EQ(settings.readString("Compression", "Jpeg", "absent"), "absent") << "Annuler writes nothing";

    ImageWindow* image = addImage();
    prompter.queueFile(dir.file("q40.jpg").string());
    trigger("Enregistrersous1");
    const auto progressive = readAll(dir.file("q40.jpg"));
    EXPECT_EQ(firstQuantiser(progressive), 20);
    EXPECT_TRUE(hasMarker(progressive, 0xC2)) << "progressive frame";
    EXPECT_EQ(image->jpegQuality(), 40);

    quality->setValue(90);
    d->findChild<QRadioButton*>("RadioButton3")->setChecked(true);
    prompter.queueFile(dir.file("q90.jpeg").string());
    trigger("Enregistrersous1");
    const auto baseline = readAll(dir.file("q90.jpeg"));
    EXPECT_EQ(firstQuantiser(baseline), 3);
    EXPECT_TRUE(hasMarker(baseline, 0xC0)) << "baseline frame";
    EXPECT_FALSE(hasMarker(baseline, 0xC2));

    click(*d, "Button1");
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(settings.readString("Compression", "Jpeg"), "90");
    EXPECT_EQ(settings.readString("Jpeg", "affichage"), "0");
    progressiveBox->setChecked(true);
    click(*d, "Button1");
    EXPECT_EQ(settings.readString("Jpeg", "affichage"), "1");
}

} // namespace
} // namespace px::test
