// The "&Aide" menu: the help pages, the tip of the day, the mail link, the
// web site and the About window.
#include "app/AboutDialog.h"
#include "app/MainWindow.h"
#include "app/ShellCommands.h"
#include "app/TipOfTheDayDialog.h"

#include "document/Session.h"
#include "platform/Prompter.h"
#include "platform/ShellServices.h"

#include <QDialog>
#include <QFileInfo>
#include <QUrl>

namespace px {

namespace {
// The help pages are installed beside the executable.
void openHelp(MainWindow& window)
{
    const QString index = window.options().programDir + "/aide/index.html";
    if (!QFileInfo::exists(index)) {
        window.session().prompter.error("Le fichier d'aide \"" + index.toStdString() + "\" est introuvable.");
        return;
    }
    window.session().shell.openUrl(QUrl::fromLocalFile(index).toString().toStdString());
}

void showDialog(MainWindow& window, const char* name)
{
    if (QDialog* dialog = window.dialog(name))
        window.runModal(*dialog);
}
} // namespace

void registerHelpCommands(MainWindow& window)
{
    CommandTable& commands = window.commands();
    commands.setHandler("Aideenligne1", [&window] { openHelp(window); });
    commands.setHandler("Astucedujour1", [&window] { showDialog(window, "TForm6"); });
    // The shell's answer is not looked at: without a mail program or a
    // browser nothing further happens.
    commands.setHandler("Envoyer1", [&window] { window.session().shell.openUrl(kMailLink); });
    commands.setHandler("SitePixoran31", [&window] { window.session().shell.openUrl(kWebSite); });
    commands.setHandler("Apropos1", [&window] { showDialog(window, "TForm10"); });
}

QDialog* createTipOfTheDay(MainWindow& owner)
{
    return new TipOfTheDayDialog(owner.session(), owner.settings(), owner.options().programDir + "/astuces.txt",
                                 &owner);
}

QDialog* createAbout(MainWindow& owner)
{
    return new AboutDialog(owner.session(), &owner);
}

} // namespace px
