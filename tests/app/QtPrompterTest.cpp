#include "platform/qt/QtPrompter.h"
#include "platform/qt/QtTranslations.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

namespace px {
namespace {

// Runs `step` on the first visible modal dialog of type T that shows up
// (polling, since the dialog is opened by exec() inside the call under test).
// A dialog that never appears is a failure, and any modal window still open
// after five seconds is closed so the test cannot hang.
template <typename T> void whenModal(std::function<void(T*)> step)
{
    auto* timer = new QTimer(qApp);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, ticks, step] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()); dialog && dialog->isVisible()) {
            timer->deleteLater();
            timer->stop();
            step(dialog);
        } else if (++*ticks > 500) {
            timer->deleteLater();
            timer->stop();
            ADD_FAILURE() << "the expected dialog did not appear";
            if (QWidget* w = QApplication::activeModalWidget())
                w->close();
        }
    });
    timer->start(10);
}

struct FilterCase {
    const char* program;
    QStringList qt;
};

class NameFilters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(NameFilters, ConvertsTheProgramFilter)
{
    EXPECT_EQ(qtNameFilters(GetParam().program), GetParam().qt);
}

INSTANTIATE_TEST_SUITE_P(Cases, NameFilters,
                         ::testing::Values(FilterCase{"Fichiers BMP|*.bmp", {"Fichiers BMP (*.bmp)"}},
                                           FilterCase{"Tous|*.bmp;*.gif;*.jpg|Fichiers PNG|*.png",
                                                      {"Tous (*.bmp *.gif *.jpg)", "Fichiers PNG (*.png)"}},
                                           FilterCase{"Fichiers BMP |*.bmp", {"Fichiers BMP (*.bmp)"}},
                                           FilterCase{"Palette(*.pal)|*.pal", {"Palette(*.pal) (*.pal)"}},
                                           FilterCase{"Tous les fichiers|*.*|Sans motif", {"Tous les fichiers (*)"}},
                                           FilterCase{"", {}}));

TEST(QtPrompter, DefaultExtensionOnlyForNamesWithoutOne)
{
    EXPECT_EQ(withDefaultExtension("/tmp/chat", "bmp"), "/tmp/chat.bmp");
    EXPECT_EQ(withDefaultExtension("/tmp/chat.TIF", "bmp"), "/tmp/chat.TIF");
    EXPECT_EQ(withDefaultExtension("/tmp/v1.2/chat", "png"), "/tmp/v1.2/chat.png");
    EXPECT_EQ(withDefaultExtension("/tmp/chat", ""), "/tmp/chat");
    EXPECT_EQ(filterExtension("Fichiers PNG (*.png)"), "png");
    EXPECT_EQ(filterExtension("Tous (*)"), "");
    EXPECT_EQ(filterExtension("Images (*.tar.gz)"), "");
}

struct BoxCase {
    Buttons buttons;
    QStringList texts; // in the order Oui, Non, Annuler, OK where present
    QMessageBox::StandardButton press;
    Answer expected;
};

class MessageBoxButtons : public ::testing::TestWithParam<BoxCase> {};

// With Qt's French translations the texts are Qt's own; without them the
// program's stand-ins give the same French texts.
TEST_P(MessageBoxButtons, ShowFrenchTextsAndReportThePressedButton)
{
    const BoxCase& c = GetParam();
    for (bool translated : {false, true}) {
        std::optional<QtFrenchTranslations> translations;
        if (translated)
            translations.emplace();
        QtPrompter prompter;
        QStringList seen;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            for (auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel, QMessageBox::Ok})
                if (box->button(b))
                    seen << box->button(b)->text();
            EXPECT_EQ(box->windowTitle(), "Fermeture");
            EXPECT_EQ(box->text(), "Enregistrer les modifications de chat.bmp ?");
            box->button(c.press)->click();
        });
        EXPECT_EQ(prompter.ask("Enregistrer les modifications de chat.bmp ?", "Fermeture", c.buttons), c.expected);
        EXPECT_EQ(seen, c.texts) << "translated: " << translated;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageBoxButtons,
    ::testing::Values(BoxCase{Buttons::YesNoCancel, {"&Oui", "&Non", "Annuler"}, QMessageBox::Cancel, Answer::Cancel},
                      BoxCase{Buttons::YesNo, {"&Oui", "&Non"}, QMessageBox::Yes, Answer::Yes},
                      BoxCase{Buttons::OkCancel, {"Annuler", "OK"}, QMessageBox::Ok, Answer::Ok}));

TEST(QtPrompter, SaveDialogMapsFiltersAddsTheExtensionAndConfirmsReplacing)
{
    test::TempDir dir;
    std::ofstream(dir.file("scan.png")) << "old";
    QtPrompter prompter;
    FileDialogRequest req;
    req.title = "Enregistrer sous";
    req.filter = "Fichiers BMP|*.bmp|Fichiers JPA|*.jpa|Fichiers PNG|*.png";
    req.filterIndex = 2;
    req.initialDir = dir.path().string();
    req.defaultExtension = "bmp";

    QString preselected;
    QString question;
    whenModal<QFileDialog>([&](QFileDialog* d) {
        preselected = d->selectedNameFilter();
        d->selectNameFilter("Fichiers PNG (*.png)");
        d->selectFile("scan");
        whenModal<QMessageBox>([&](QMessageBox* box) {
            question = box->text();
            box->button(QMessageBox::Yes)->click();
        });
        static_cast<QDialog*>(d)->accept(); // QFileDialog::accept, which checks the typed name
    });
    const auto choice = prompter.saveFileName(req);
    EXPECT_EQ(preselected, "Fichiers JPA (*.jpa)");
    EXPECT_EQ(question, "scan.png existe déjà.\nVoulez-vous le remplacer ?");
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->path, dir.file("scan.png").string());
    EXPECT_EQ(choice->filterIndex, 3);
}

// The texts a dialog shows: its labels and buttons.
QStringList shownTexts(QWidget* dialog)
{
    QStringList texts;
    for (QLabel* l : dialog->findChildren<QLabel*>())
        texts << l->text();
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
        texts << b->text();
    return texts;
}

// Processes events until `done` holds or five seconds pass.
bool waitFor(const std::function<bool()>& done)
{
    const QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// The size, type and date columns stay as wide as their texts, also when a
// size grows after the folder was listed (the file list fills its sizes in
// later, from another thread).
TEST(QtPrompter, FileDialogSpeaksFrenchAndShowsWholeSizesAndDates)
{
    QtFrenchTranslations translations;
    ASSERT_TRUE(translations.loaded()) << "Qt's French translations are not installed";
    test::TempDir dir;
    const auto file = dir.file("chat.bmp");
    std::ofstream(file) << "x";
    QtPrompter prompter;
    FileDialogRequest req;
    req.filter = "Fichiers BMP|*.bmp";
    req.initialDir = dir.path().string();

    whenModal<QFileDialog>([&](QFileDialog* d) {
        const QStringList texts = shownTexts(d);
        for (const char* french : {"Voir dans :", "&Nom de fichier :", "Fichiers de type :", "&Ouvrir", "Annuler"})
            EXPECT_TRUE(texts.contains(QString::fromUtf8(french))) << french << " in " << texts.join('|').toStdString();
        for (const char* english : {"Look in:", "File &name:", "Files of type:", "&Open", "Cancel"})
            EXPECT_FALSE(texts.contains(QLatin1String(english))) << english;

        // The places at the left ("Ordinateur"...).
        auto* sidebar = d->findChild<QListView*>("sidebar");
        ASSERT_TRUE(sidebar);
        ASSERT_TRUE(waitFor([&] { return sidebar->model()->rowCount() > 0; }));
        QApplication::processEvents();
        for (int row = 0; row < sidebar->model()->rowCount(); ++row) {
            const QModelIndex place = sidebar->model()->index(row, 0);
            EXPECT_GE(sidebar->viewport()->width(), sidebar->sizeHintForIndex(place).width())
                << "the side bar cuts " << place.data().toString().toStdString();
        }

        d->setViewMode(QFileDialog::Detail);
        auto* tree = d->findChild<QTreeView*>("treeView");
        ASSERT_TRUE(tree);
        QAbstractItemModel* model = tree->model();
        auto sizeCell = [&] {
            const QModelIndex root = tree->rootIndex();
            for (int row = 0; row < model->rowCount(root); ++row)
                if (model->index(row, 0, root).data().toString() == "chat.bmp")
                    return model->index(row, 1, root);
            return QModelIndex();
        };
        ASSERT_TRUE(waitFor([&] { return sizeCell().isValid(); })) << "the folder was not listed";
        // The widest size text there is: "1023.99 KiB" (or "1023,99 Kio"...).
        std::filesystem::resize_file(file, 1'048'565);
        ASSERT_TRUE(waitFor([&] { return sizeCell().data().toString().startsWith('1'); }))
            << sizeCell().data().toString().toStdString();
        QApplication::processEvents();
        for (int column = 1; column <= 3; ++column) {
            const QModelIndex cell = sizeCell().siblingAtColumn(column);
            EXPECT_GE(tree->header()->sectionSize(column), tree->sizeHintForIndex(cell).width())
                << "column " << column << " cuts \"" << cell.data().toString().toStdString() << '"';
        }
        // The dialog is as wide as the columns: the dates are not hidden
        // past its right edge.
        const QModelIndex date = sizeCell().siblingAtColumn(3);
        EXPECT_TRUE(waitFor([&] { return tree->visualRect(date).right() < tree->viewport()->width(); }))
            << "the date ends at " << tree->visualRect(date).right() << ", the view at " << tree->viewport()->width();
        EXPECT_GE(tree->header()->sectionSize(3), tree->sizeHintForIndex(date).width());
        d->reject();
    });
    EXPECT_FALSE(prompter.openFileName(req));
}

TEST(QtPrompter, ColourDialogSpeaksFrench)
{
    QtFrenchTranslations translations;
    ASSERT_TRUE(translations.loaded()) << "Qt's French translations are not installed";
    QtPrompter prompter;
    whenModal<QColorDialog>([&](QColorDialog* d) {
        const QStringList texts = shownTexts(d);
        for (const char* french : {"Couleurs de &base", "&Sélectionner une couleur à l'écran",
                                   "&Couleurs personnalisées", "&Teinte :", "Annuler"})
            EXPECT_TRUE(texts.contains(QString::fromUtf8(french))) << french << " in " << texts.join('|').toStdString();
        for (const char* english : {"&Basic colors", "&Pick Screen Color", "&Custom colors", "Hu&e:", "Cancel"})
            EXPECT_FALSE(texts.contains(QLatin1String(english))) << english;
        d->reject();
    });
    EXPECT_FALSE(prompter.chooseColour(makeColour(1, 2, 3)));
}

} // namespace
} // namespace px
