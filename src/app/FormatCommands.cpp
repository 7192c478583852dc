// "&Formats associés..." (TForm23) and the "Compression Gif..." window
// (TForm24), which no command shows.
#include "app/MainWindow.h"
#include "app/ShellCommands.h"
#include "fileio/dialogs/FileAssociationsDialog.h"
#include "fileio/dialogs/GifCompressionDialog.h"
#include "platform/XdgFileTypeStore.h"

#include <QCoreApplication>

namespace px {

void registerFormatCommands(MainWindow& window)
{
    window.commands().setHandler("Formatsassoci1", [&window] {
        auto* dialog = qobject_cast<FileAssociationsDialog*>(window.dialog("TForm23"));
        if (!dialog)
            return;
        dialog->formShow();
        window.runModal(*dialog);
    });
}

// The associations start this very executable, in the user's folders as
// the environment names them when the program starts.
QDialog* createFileAssociations(MainWindow& owner)
{
    return new FileAssociationsDialog(
        owner.settings(), std::make_unique<XdgFileTypeStore>(XdgFileTypePaths::fromEnvironment()),
        owner.session().prompter, QCoreApplication::applicationFilePath().toStdString(), &owner);
}

QDialog* createGifCompression(MainWindow& owner)
{
    return new GifCompressionDialog(owner.settings(), owner.session().prompter, &owner);
}

} // namespace px
