// "&Informations...", "&Temps de téléchargements...", "&Formats associés...",
// "Aperç&u du navigateur..." and the "Compression Gif..." window, driven
// through the main window.
#include "app/MainWindowFixture.h"
#include "fileio/ImageFormats.h"
#include "platform/ClassStoreFile.h"
#include "platform/XdgFileTypeStore.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace px::test {
namespace {

namespace fs = std::filesystem;

class FileReportCommandsTest : public MainWindowFixture {
protected:
    std::string text(const char* form, const char* name) const
    {
        auto* label = window->dialog(form)->findChild<QLabel*>(QLatin1String(name));
        EXPECT_NE(label, nullptr) << name;
        return label ? label->text().toStdString() : std::string();
    }
    void expectLabels(const char* form, const std::vector<std::pair<const char*, const char*>>& expected) const
    {
        for (const auto& [name, value] : expected)
            EXPECT_EQ(text(form, name), value) << name;
    }
    QLineEdit* edit(const char* name) const
    {
        return window->dialog("TForm8")->findChild<QLineEdit*>(QLatin1String(name));
    }
    // A window on a file of `bytes` bytes (the reports read the file's size,
    // not its pixels).
    ImageWindow* fileWindow(const char* name, std::size_t bytes, int bitsPerPixel = 24)
    {
        std::ofstream(dir.file(name), std::ios::binary) << std::string(bytes, 'x');
        ImageWindow* w = addImage(QString::fromLatin1(name), q(dir.file(name)));
        w->document().setPixelFormat(bitsPerPixel);
        return w;
    }
};

// A new image has no format or file; each report sets what it knows: a
// ".tif" names its format from the registered list; an unknown extension
// leaves name, type and depth of the report before.
TEST_F(FileReportCommandsTest, InformationKeepsWhatAReportDoesNotSet)
{
    create();
    open(Bitmap(640, 480, 24));
    trigger("Infosbut");
    EXPECT_EQ(shownDialogs, std::vector<std::string>{"TForm16"});
    expectLabels("TForm16", {{"Label10", "Image"},
                             {"Label8", "Pas de format"},
                             {"Label2", "640"},
                             {"Label4", "480"},
                             {"Label12", "900 Ko"},
                             {"Label14", "Image non créée"},
                             {"Label16", "Image non créée"},
                             {"Label18", "24 (16.7 millions de couleurs)"},
                             {"Label6", "72"}});

    fileWindow("a.png", 1500, 8);
    trigger("Informationsimage1");
    expectLabels("TForm16", {{"Label10", "a.png"},
                             {"Label8", "Portable Network Graphic"},
                             {"Label18", "24 (16.7 millions de couleurs)"},
                             {"Label12", "1 Ko"}});
    EXPECT_NE(text("TForm16", "Label14"), "aucune information");

    const std::vector<std::pair<const char*, const char*>> tif = {
        {"Label10", "b.tif"}, {"Label8", "TIFF images"}, {"Label18", "1 (2 couleurs)"}, {"Label12", "1023 octets"}};
    fileWindow("b.tif", 1023, 1);
    trigger("Informationsimage1");
    expectLabels("TForm16", tif);

    fileWindow("c.xyz", 3000000);
    trigger("Informationsimage1");
    expectLabels("TForm16", {tif[0], tif[1], tif[2], {"Label12", "2 Mo"}});
}

// 2,000,000 bytes at 2, 5, 128 and 1024 Ko/s: 976, 390, 15 and 1 s.
TEST_F(FileReportCommandsTest, DownloadTimesFollowTheRates)
{
    create();
    fileWindow("gros.bmp", 2000000);
    trigger("Tempsdetelechargements1");
    EXPECT_EQ(shownDialogs, std::vector<std::string>{"TForm8"});
    expectLabels(
        "TForm8",
        {{"Label5", "976 s"}, {"Label6", "390 s"}, {"Label7", "15 s"}, {"Label8", "1 s"}, {"Label17", "2000000"}});
    EXPECT_FALSE(window->dialog("TForm8")->findChild<QLabel*>("Label17")->isVisibleTo(window->dialog("TForm8")));

    // Only digits reach the box.
    QLineEdit* rate = edit("Edit1");
    rate->clear();
    for (auto [key, typed] : {std::pair{Qt::Key_1, "1"}, {Qt::Key_A, "a"}, {Qt::Key_Minus, "-"}, {Qt::Key_0, "0"}}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromLatin1(typed));
        QCoreApplication::sendEvent(rate, &press);
    }
    EXPECT_EQ(rate->text(), "10");
    EXPECT_EQ(text("TForm8", "Label5"), "195 s");

    edit("Edit2")->setText("0");
    EXPECT_EQ(text("TForm8", "Label6"), "-");
    edit("Edit3")->clear();
    EXPECT_EQ(text("TForm8", "Label7"), "-");

    // The boxes keep their rates for the next report.
    open(Bitmap(640, 480, 24)); // 921,600 bytes
    trigger("Tempsdetelechargements1");
    EXPECT_EQ(text("TForm8", "Label5"), "90 s");
    EXPECT_EQ(text("TForm8", "Label6"), "-");
}

class AssociationCommandTest : public FileReportCommandsTest {
protected:
    void SetUp() override
    {
        FileReportCommandsTest::SetUp();
        setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
        setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
    }
    void TearDown() override
    {
        FileReportCommandsTest::TearDown();
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("XDG_DATA_HOME");
    }
    QListWidget* list() const { return window->dialog("TForm23")->findChild<QListWidget*>("CheckListBox1"); }
    std::vector<bool> ticks() const
    {
        std::vector<bool> t;
        for (int i = 0; i < list()->count(); ++i)
            t.push_back(list()->item(i)->checkState() == Qt::Checked);
        return t;
    }
    // Shows the window and ticks `row` before pressing `button`.
    void tickAndPress(int row, const char* button)
    {
        onDialog([this, row, button](QDialog& d) {
            list()->item(row)->setCheckState(Qt::Checked);
            click(d, button);
            return d.result();
        });
        trigger("Formatsassoci1");
    }
};

TEST_F(AssociationCommandTest, OkAssociatesAnnulerWritesNothing)
{
    settings.writeString("Formats", "gif", "1");
    create();
    QStringList items;
    onDialog(pressing("Button2", [&](QDialog&) {
        for (int i = 0; i < list()->count(); ++i)
            items << list()->item(i)->text();
        list()->setCurrentRow(9);
    }));
    trigger("Formatsassoci1");
    EXPECT_EQ(items.join(','), "Fichiers BMP,Fichiers GIF,Fichiers JPA,Fichiers JPE,Fichiers JPEG,Fichiers JPG,"
                               "Fichiers PNG,Fichiers TGA,Fichiers TIF,Fichiers TIFF");
    EXPECT_EQ(text("TForm23", "Label4"), "*.tiff");
    EXPECT_EQ(ticks(), (std::vector<bool>{false, true, false, false, false, false, false, false, false, false}));

    const std::string iniBefore = readText(ini());
    tickAndPress(6, "Button2");
    EXPECT_EQ(readText(ini()), iniBefore);
    EXPECT_FALSE(fs::exists(dir.file("config/Pixoran3.reg")));
    EXPECT_FALSE(fs::exists(dir.file("config/mimeapps.list")));

    // The next showing reads the ticks again: PNG is unticked.
    tickAndPress(6, "Button1");
    EXPECT_EQ(settings.readString("Formats", "png"), "1");
    EXPECT_EQ(settings.readString("Formats", "gif"), "1");
    const ClassStoreFile classes(dir.file("config/Pixoran3.reg"));
    const std::string command = "\"" + QCoreApplication::applicationFilePath().toStdString() + "\" %f";
    EXPECT_EQ(classes.value(".png"), "Pixoran3.Image");
    EXPECT_EQ(classes.value(".png\\shell\\open\\command"), command);
    EXPECT_EQ(desktopDefaults(dir.file("config/mimeapps.list"), "image/png"),
              std::vector<std::string>{"pixoran3.desktop"});
    // The test program's path holds no character that needs quotes.
    const std::string exec = "\nExec=" + QCoreApplication::applicationFilePath().toStdString() + " %F\n";
    EXPECT_NE(readText(dir.file("data/applications/pixoran3.desktop")).find(exec), std::string::npos);
}

TEST_F(AssociationCommandTest, AFailedWriteIsReportedAndTheWindowStaysOpen)
{
    std::ofstream(dir.file("config")) << "a file where the folder should be";
    create();
    tickAndPress(0, "Button1");
    ASSERT_EQ(messages(), 1u);
    EXPECT_EQ(prompter.last().messageKind, MessageKind::Error);
    EXPECT_NE(window->dialog("TForm23")->result(), int(QDialog::Accepted));
}

// The temporary folder is the test's own ($TMPDIR).
class PreviewCommandTest : public FileReportCommandsTest {
protected:
    fs::path page() const { return dir.file("tmp/pixoran3-" + std::to_string(::getuid())) / "pxrn3.html"; }
    void SetUp() override
    {
        FileReportCommandsTest::SetUp();
        fs::create_directory(dir.file("tmp"));
        const char* old = std::getenv("TMPDIR");
        oldTmpDir = old ? old : "";
        setenv("TMPDIR", dir.file("tmp").c_str(), 1);
    }
    void TearDown() override
    {
        FileReportCommandsTest::TearDown();
        oldTmpDir.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", oldTmpDir.c_str(), 1);
    }
    std::string oldTmpDir;
};

TEST_F(PreviewCommandTest, SavedImageIsShownOnTheBackgroundColour)
{
    create();
    open(uniformBitmap(2, 2, kBlack));
    session.backgroundColour = makeColour(255, 0, 0);
    prompter.queueAnswer(Answer::Ok);
    prompter.queueFile(dir.file("vue.png").string());
    trigger("Aperudunavigateur1");

    const auto asks = prompter.callsOf(Kind::Ask);
    ASSERT_EQ(asks.size(), 1u);
    EXPECT_EQ(asks[0].text, "Votre image doit être enregisté, Voulez-vous l'enregistrer ?");
    EXPECT_EQ(asks[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(prompter.callsOf(Kind::SaveFile)[0].fileRequest.title, "Enregistrer sous");
    EXPECT_TRUE(fs::exists(dir.file("vue.png")));
    const std::string html = readText(page());
    EXPECT_NE(html.find("<body bgcolor=\"#FF0000\">\n"), std::string::npos) << html;
    EXPECT_NE(html.find("<img src=\"file://" + dir.file("vue.png").string() + "\">\n"), std::string::npos) << html;
    EXPECT_EQ(shell.urls, std::vector<std::string>{page().string()});
}

TEST_F(PreviewCommandTest, NothingWithoutAFile)
{
    create();
    open(uniformBitmap(2, 2, kBlack));
    trigger("Aperudunavigateur1"); // Cancel to the question
    EXPECT_TRUE(prompter.callsOf(Kind::SaveFile).empty());

    prompter.queueAnswer(Answer::Ok);
    prompter.queueFileCancel();
    trigger("Aperudunavigateur1");
    prompter.queueAnswer(Answer::Ok);
    prompter.queueFile(dir.file("refus.gif").string());
    trigger("Aperudunavigateur1");
    EXPECT_EQ(prompter.callsOf(Kind::SaveFile).size(), 2u);
    EXPECT_FALSE(fs::exists(page()));
    EXPECT_TRUE(shell.urls.empty());
}

// A cancelled save keeps the window's file, which the page shows.
TEST_F(PreviewCommandTest, CancelledSaveShowsTheCurrentFile)
{
    create();
    addImage(QStringLiteral("ancien.bmp"), q(dir.file("ancien.bmp")));
    prompter.queueAnswer(Answer::Ok);
    prompter.queueFileCancel();
    trigger("Aperudunavigateur1");
    EXPECT_NE(readText(page()).find("\n" + dir.file("ancien.bmp").string() + "\n"), std::string::npos);
    EXPECT_EQ(shell.urls.size(), 1u);
}

TEST_F(FileReportCommandsTest, GifCompressionWindowWritesItsKeyOnOk)
{
    create();
    QDialog* gif = window->dialog("TForm24");
    ASSERT_NE(gif, nullptr);
    EXPECT_EQ(gif->windowTitle(), "Compression Gif...");
    EXPECT_TRUE(gif->findChild<QRadioButton*>("RadioButton1")->isChecked());
    gif->findChild<QRadioButton*>("RadioButton2")->setChecked(true);
    click(*gif, "Button2");
    EXPECT_EQ(settings.readString("Compression", "Gif", "none"), "none");
    click(*gif, "Button1");
    EXPECT_EQ(settings.readString("Compression", "Gif"), "1");
}

} // namespace
} // namespace px::test
