// Undo and redo through the menu items, their enabled states, the number of
// levels (TForm50) and the histories emptied by every new image window.
#include "app/EditingCommands.h"
#include "app/MainWindowFixture.h"
#include "app/StatusBar.h"
#include "document/DocumentView.h"
#include "document/NewImageDialog.h"
#include "document/UndoLevelsDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

#include <algorithm>

namespace px::test {
namespace {

using UndoCommandsTest = MainWindowFixture;

// The menu items and buttons drive the histories (whose rules have their own
// tests) and follow them in their enabled states.
TEST_F(UndoCommandsTest, MenuItemsUndoAndRedoAndFollowTheHistories)
{
    const Bitmap start = fromAscii({"#.", ".."});
    ImageWindow* image = open(start);
    auto expectEnabled = [this](bool undo, bool redo) {
        EXPECT_EQ(enabled("Annuler1"), undo);
        EXPECT_EQ(enabled("Annulerbut"), undo);
        EXPECT_EQ(enabled("Rtablir1"), redo);
        EXPECT_EQ(enabled("Retablirbut"), redo);
    };
    trigger("Annuler1");
    trigger("Rtablir1");
    EXPECT_EQ(image->document(), start) << "empty histories do nothing";
    expectEnabled(false, false);

    // "&Luminosité" on one channel value k: k + (255 - k) * 50 div 255: 0 -> 50 -> 90.
    image->setDocument(uniformBitmap(1, 1, kBlack));
    trigger("Luminosite1");
    trigger("Luminosite1");
    EXPECT_EQ(image->document().pixel(0, 0), grey(90));
    expectEnabled(true, false);
    trigger("Annuler1");
    EXPECT_EQ(image->document().pixel(0, 0), grey(50));
    expectEnabled(true, true);
    trigger("Annuler1");
    EXPECT_EQ(image->document().pixel(0, 0), kBlack);
    expectEnabled(false, true);
    trigger("Rtablir1");
    trigger("Rtablir1");
    EXPECT_EQ(image->document().pixel(0, 0), grey(90));
    expectEnabled(true, false);

    // A command that replaces the document by one of another size (as
    // resizing does): the view follows the restored size.
    session.history.SaveUndoState(image->document());
    image->setDocument(uniformBitmap(7, 5, kBlack));
    syncUndoControls(*window);
    trigger("Annuler1");
    EXPECT_EQ(image->document(), uniformBitmap(1, 1, grey(90)));
    EXPECT_EQ(image->view()->size(), QSize(1, 1));
    trigger("Rtablir1");
    EXPECT_EQ(image->document(), uniformBitmap(7, 5, kBlack));
    EXPECT_EQ(image->view()->size(), QSize(7, 5));
}

TEST_F(UndoCommandsTest, NewImageWindowEmptiesTheHistoriesAndClosingDisablesTheButtons)
{
    ImageWindow* first = open(uniformBitmap(1, 1, kBlack));
    trigger("Ngative1");
    trigger("Ngative1");
    trigger("Annuler1");
    ASSERT_EQ(undoSteps(), 1);
    ASSERT_EQ(redoSteps(), 1);

    open(uniformBitmap(1, 1, kBlack));
    EXPECT_EQ(undoSteps(), 0);
    EXPECT_EQ(redoSteps(), 0);
    for (const char* name : {"Annuler1", "Annulerbut", "Rtablir1", "Retablirbut"})
        EXPECT_FALSE(enabled(name)) << name;
    EXPECT_EQ(first->document().pixel(0, 0), kWhite);

    trigger("Ngative1");
    ASSERT_TRUE(enabled("Annulerbut"));
    prompter.queueAnswer(Answer::No);
    prompter.queueAnswer(Answer::No);
    window->closeAllImageWindows();
    flush();
    ASSERT_EQ(openWindows(), 0);
    EXPECT_FALSE(enabled("Annulerbut"));
    EXPECT_FALSE(enabled("Retablirbut"));
}

// TForm50: OK applies the spin edit's value to both histories; Annuler puts
// back the value from program start, not the last accepted one.
TEST_F(UndoCommandsTest, LevelsDialog)
{
    MainWindow& w = create();
    auto* dialog = qobject_cast<UndoLevelsDialog*>(w.dialog("TForm50"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Annulation...");
    EXPECT_EQ(dialog->spinEdit()->minimum(), 1);
    EXPECT_EQ(dialog->spinEdit()->maximum(), 20);
    EXPECT_EQ(dialog->spinEdit()->value(), 5);

    onDialog(pressing("Button1", [](QDialog& d) { d.findChild<QSpinBox*>("SpinEdit1")->setValue(10); }));
    trigger("Annulation1");
    EXPECT_EQ(session.history.levels(), 10);
    EXPECT_EQ(session.history.redoHistory().levels(), 10);

    int shown = 0;
    onDialog(pressing("Button2", [&shown](QDialog& d) {
        shown = d.findChild<QSpinBox*>("SpinEdit1")->value();
        d.findChild<QSpinBox*>("SpinEdit1")->setValue(3);
    }));
    trigger("Annulation1");
    EXPECT_EQ(shown, 10);
    EXPECT_EQ(dialog->spinEdit()->value(), 5);
    EXPECT_EQ(session.history.levels(), 10);

    // Ten levels hold ten steps, also in the window created afterwards.
    ImageWindow* image = open(uniformBitmap(1, 1, kBlack));
    for (int i = 0; i < 11; ++i)
        trigger("Ngative1");
    EXPECT_EQ(undoSteps(), 10);
    EXPECT_EQ(image->document().pixel(0, 0), kWhite);
}

// "&Nouveau..." through the menu: the new window is FrmImage, its client
// area is the image plus 56 pixels, and it starts a fresh history.
TEST_F(UndoCommandsTest, NewImageCommandCreatesTheWindow)
{
    MainWindow& w = create();
    open(uniformBitmap(1, 1, kBlack));
    trigger("Ngative1");
    onDialog(pressing("Button1", [](QDialog& d) {
        d.show();
        d.findChild<QLineEdit*>("Edit1")->setText("40");
        d.findChild<QLineEdit*>("Edit2")->setText("30");
        d.findChild<QComboBox*>("ComboBox3")->setEditText("Jaune");
    }));
    trigger("Nouveaubut");
    ASSERT_EQ(w.dialog("TForm4")->result(), QDialog::Accepted);
    ImageWindow* image = w.activeImageWindow();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(session.frmImage, image);
    EXPECT_EQ(image->windowTitle(), "Image");
    EXPECT_EQ(image->document(), uniformBitmap(40, 30, makeColour(255, 255, 0)));
    // 40 pixels are narrower than a usable frame: the window is widened to it.
    EXPECT_EQ(image->height(), 30 + 56);
    EXPECT_EQ(image->width(),
              std::max(40, image->parentWidget()->minimumWidth() - image->parentWidget()->contentsMargins().left() -
                               image->parentWidget()->contentsMargins().right()));
    EXPECT_EQ(openWindows(), 2);
    EXPECT_EQ(undoSteps(), 0);

    // LabelIm names it too: the close question says "Image", and there is
    // no file for "&Restaurer..." to go back to.
    EXPECT_EQ(image->filePath(), "Image");
    EXPECT_EQ(w.statusPanels()->panelText(1), "Image");
    w.fileMenuOpening();
    EXPECT_FALSE(enabled("Restaurer1"));
    prompter.queueAnswer(Answer::No);
    trigger("Fermer1");
    flush();
    ASSERT_FALSE(prompter.callsOf(Kind::Ask).empty());
    EXPECT_EQ(prompter.callsOf(Kind::Ask).back().text, "Voulez-vous enregistrer les modifications de Image ?");
}

} // namespace
} // namespace px::test
