// "Enregistrer la &macro...": the effect commands applied to the active
// image since it was opened or created (undone ones left out) go to a text
// file that `pixoran3 --macro FILE INPUT OUTPUT` replays.
#include "app/MainWindow.h"
#include "app/ShellCommands.h"
#include "batch/Macro.h"
#include "document/ImageWindow.h"
#include "platform/AtomicFile.h"
#include "platform/Prompter.h"

namespace px {

void registerMacroCommands(MainWindow& window)
{
    window.commands().setHandler("Enregistrerlamacro1", [&window] {
        ImageWindow* image = window.activeImageWindow();
        if (!image)
            return;
        Prompter& prompter = window.session().prompter;
        FileDialogRequest request;
        request.title = "Enregistrer la macro";
        request.filter = "Fichiers macro|*.txt|Tous les fichiers|*";
        request.defaultExtension = "txt";
        const std::optional<FileChoice> choice = prompter.saveFileName(request);
        if (!choice)
            return;
        const std::string text =
            macroText(image->macroRecord().steps(), "Pixoran3 : macro de " + image->filePath().toStdString());
        try {
            writeFileAtomically(choice->path, text.data(), text.size());
        } catch (const FileWriteError& e) {
            prompter.error(e.what());
        }
    });
}

} // namespace px
