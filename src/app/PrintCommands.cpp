// Printing: "A&perçu avant impression..." with TForm14, "&Imprimer..." and
// "&Configuration de l'impression...".
#include "app/MainWindow.h"
#include "app/OutputCommands.h"
#include "document/ImageWindow.h"
#include "output/OutputServices.h"
#include "output/PrintPreviewDialog.h"
#include "platform/Prompter.h"
#include "platform/qt/BusyCursor.h"

namespace px {

namespace {
bool printerInstalled(MainWindow& window)
{
    if (window.outputServices().printer->hasPrinters())
        return true;
    window.session().prompter.message(kNoPrinter, "Erreur", MessageKind::Error);
    return false;
}

PrintPreviewDialog* preview(MainWindow& window)
{
    return qobject_cast<PrintPreviewDialog*>(window.dialog("TForm14"));
}

// Steps 1 and 2 of the preview and print commands.
PrintPreviewDialog* preparePrint(MainWindow& window)
{
    ImageWindow* image = window.activeImageWindow();
    PrintPreviewDialog* dialog = preview(window);
    if (!image || !dialog)
        return nullptr;
    BusyCursor wait;
    dialog->prepare(image->document(), image->filePath());
    return dialog;
}

} // namespace

QDialog* createPrintPreview(MainWindow& owner)
{
    return new PrintPreviewDialog(owner.outputServices(), owner.session().prompter, &owner);
}

void registerPrintCommands(MainWindow& window)
{
    CommandTable& commands = window.commands();
    commands.setHandler("Aperuavantimpression1", [&window] {
        if (!printerInstalled(window))
            return;
        if (PrintPreviewDialog* dialog = preparePrint(window)) {
            dialog->setWindowState(dialog->windowState() | Qt::WindowMaximized);
            window.runModal(*dialog);
        }
    });
    // "&Imprimer..." (and its tool-bar button): the print dialog and the job
    // at the factors last set in the preview, without showing it.
    commands.setHandler("Imprimer1", [&window] {
        if (!printerInstalled(window))
            return;
        if (PrintPreviewDialog* dialog = preparePrint(window))
            dialog->print();
    });
    commands.setHandler("Configurationdelimpression1", [&window] {
        if (printerInstalled(window))
            window.outputServices().printer->runSetupDialog();
    });
}

} // namespace px
