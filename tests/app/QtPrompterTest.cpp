#include "platform/qt/QtPrompter.h"
#include "support/TestSupport.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

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

TEST_P(MessageBoxButtons, ShowFrenchTextsAndReportThePressedButton)
{
    const BoxCase& c = GetParam();
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
    EXPECT_EQ(seen, c.texts);
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

} // namespace
} // namespace px
