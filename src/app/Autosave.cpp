#include "app/Autosave.h"

#include "app/AutosaveDialog.h"
#include "app/MainWindow.h"
#include "app/ShellCommands.h"

#include <QAction>
#include <QDialog>
#include <QTimer>

namespace px {

namespace {
constexpr int kMillisecondsPerMinute = 60 * 1000;
constexpr const char* kTimerName = "Tpssave1";
// Set on the window while a tick's save runs.
constexpr const char* kBusyProperty = "autosaveRunning";
} // namespace

void registerAutosave(MainWindow& window)
{
    auto* timer = new QTimer(&window);
    timer->setObjectName(QLatin1String(kTimerName));
    QObject::connect(timer, &QTimer::timeout, &window, [&window] { autosaveTick(window); });

    window.commands().setHandler("Enregistauto1", [&window, timer] {
        auto* dialog = qobject_cast<AutosaveDialog*>(window.dialog("TForm49"));
        if (!dialog || window.runModal(*dialog) != QDialog::Accepted)
            return;
        if (dialog->autosaveOn()) {
            timer->setInterval(dialog->minutes() * kMillisecondsPerMinute);
            timer->start();
        } else {
            timer->stop();
        }
    });
}

void autosaveTick(MainWindow& window)
{
    QAction* close = window.action("Fermer1");
    if (!close || !close->isVisible() || window.property(kBusyProperty).toBool())
        return;
    window.setProperty(kBusyProperty, true);
    window.commands().run("Enregistrer1");
    window.setProperty(kBusyProperty, false);
}

QDialog* createAutosave(MainWindow& owner)
{
    return new AutosaveDialog(&owner);
}

} // namespace px
