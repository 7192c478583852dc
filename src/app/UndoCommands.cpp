// "&Annuler", "&Rétablir l'annulation" and "&Annulation...": the commands of
// the undo and redo histories, and the state of their controls.
#include "app/EditingCommands.h"
#include "app/MainWindow.h"
#include "document/ImageWindow.h"
#include "document/UndoLevelsDialog.h"
#include "platform/qt/BusyCursor.h"

#include <QAction>

namespace px {

namespace {
void setEnabled(MainWindow& window, const char* name, bool enabled)
{
    if (QAction* a = window.action(name))
        a->setEnabled(enabled);
}

// Undo or redo on the active window: the document and the newest snapshot
// of `step`'s history change places through the other history.
void historyStep(MainWindow& window, bool (EditHistory::*step)(Bitmap&))
{
    ImageWindow* image = window.activeImageWindow();
    if (!image)
        return;
    const BusyCursor busy;
    const bool moved = (window.session().history.*step)(image->document());
    syncUndoControls(window);
    if (moved) {
        if (step == &EditHistory::Undo)
            image->macroRecord().undone();
        else
            image->macroRecord().redone();
        refreshAfterEdit(*image);
    }
}
} // namespace

void syncUndoControls(MainWindow& window)
{
    const EditHistory& history = window.session().history;
    const bool undo = !history.undoHistory().isEmpty();
    const bool redo = !history.redoHistory().isEmpty();
    setEnabled(window, "Annuler1", undo);
    setEnabled(window, "Rtablir1", redo);
    // Without an image window the buttons stay disabled; activation copies
    // the items' states onto them.
    setEnabled(window, "Annulerbut", undo && window.imageOpen());
    setEnabled(window, "Retablirbut", redo && window.imageOpen());
}

void refreshAfterEdit(ImageWindow& image)
{
    image.documentChanged();
}

QDialog* createUndoLevelsDialog(MainWindow& owner)
{
    return new UndoLevelsDialog(&owner);
}

void registerUndoCommands(MainWindow& window)
{
    CommandTable& commands = window.commands();
    commands.setHandler("Annuler1", [&window] { historyStep(window, &EditHistory::Undo); });
    commands.setHandler("Rtablir1", [&window] { historyStep(window, &EditHistory::Redo); });
    // The level count applies to both histories from now on; it is not saved.
    commands.setHandler("Annulation1", [&window] {
        auto* dialog = qobject_cast<UndoLevelsDialog*>(window.dialog("TForm50"));
        if (dialog && window.runModal(*dialog) == QDialog::Accepted)
            window.session().history.setLevels(dialog->levels());
    });
}

} // namespace px
