// "&Fermer..." and "&Quitter".
#include "app/MainWindow.h"
#include "app/ShellCommands.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace px {

void registerFileCommands(MainWindow& window)
{
    CommandTable& commands = window.commands();
    // Fermer1Click: the active image window's own close, with its save question.
    commands.setHandler("Fermer1", [&window] {
        if (QMdiSubWindow* sub = window.mdiArea()->activeSubWindow())
            sub->close();
        else if (QMdiSubWindow* current = window.mdiArea()->currentSubWindow())
            current->close();
    });
    // Quitter1Click: closes the main window as its close box does, so every
    // image window asks its save question and a Cancel keeps the program
    // running; ending at once would throw away unsaved images.
    commands.setHandler("Quitter1", [&window] { window.close(); });
}

} // namespace px
