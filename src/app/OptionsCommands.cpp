// The Options menu: showing and hiding the tool bars, the colour panel and
// the status bar, the flat button style and the side of the colour panel.
#include "app/MainWindow.h"
#include "app/ShellCommands.h"
#include "app/StatusBar.h"

#include <QAction>
#include <QDockWidget>
#include <QToolBar>
#include <QToolButton>

namespace px {

namespace {
// Qt ticks a checkable item before its handler runs, so each toggle only
// makes its object follow the new tick.
void followTick(MainWindow& window, const char* item, QWidget* target)
{
    QAction* a = window.action(item);
    window.commands().setHandler(item, [a, target] { target->setVisible(a->isChecked()); });
}

void setFlatButtons(MainWindow& window, bool flat)
{
    for (QToolBar* bar : {window.mainToolBar(), window.toolPalette()})
        for (QAction* a : bar->actions())
            if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a)))
                button->setAutoRaise(flat);
}

void dockColourPanel(MainWindow& window, Qt::DockWidgetArea area)
{
    QDockWidget* dock = window.colourDock();
    const bool hidden = dock->isHidden();
    window.addDockWidget(area, dock);
    dock->setHidden(hidden);
}
} // namespace

void registerOptionsCommands(MainWindow& window)
{
    followTick(window, "Paletteprincipale1", window.mainToolBar());
    followTick(window, "Palettedoutils1", window.toolPalette());
    followTick(window, "Palettedecouleurs1", window.colourDock());
    followTick(window, "Statusbar2", window.statusPanels());

    CommandTable& commands = window.commands();
    commands.setHandler("Bouton3D1", [&window] { setFlatButtons(window, window.action("Bouton3D1")->isChecked()); });
    commands.setHandler("Emplacementdroite1", [&window] {
        window.action("Emplacementdroite1")->setChecked(true);
        dockColourPanel(window, Qt::RightDockWidgetArea);
    });
    commands.setHandler("Emplacementgauche1", [&window] {
        window.action("Emplacementgauche1")->setChecked(true);
        dockColourPanel(window, Qt::LeftDockWidgetArea);
    });
}

} // namespace px
