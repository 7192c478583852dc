// The view options of the "&Image" menu and the full-screen view. The ticks
// of the menu are the only copy of the options: the handlers tick their item
// and apply the option to the active image window; the other windows take
// it when they are next activated.
#include "app/MainWindow.h"
#include "app/ShellCommands.h"
#include "app/StatusBar.h"
#include "document/ImageWindow.h"

#include <QAction>

namespace px {

namespace {
using Setter = void (ImageWindow::*)(bool);

// A radio item: tick it (its group unticks the other) and apply its value.
void radioOption(MainWindow& window, const char* item, Setter setter, bool value)
{
    window.commands().setHandler(item, [&window, item, setter, value] {
        window.action(item)->setChecked(true);
        if (ImageWindow* w = window.activeImageWindow())
            (w->*setter)(value);
    });
}

// A tick item: Qt has already inverted the tick; apply the new state.
void tickOption(MainWindow& window, const char* item, Setter setter)
{
    window.commands().setHandler(item, [&window, item, setter] {
        if (ImageWindow* w = window.activeImageWindow())
            (w->*setter)(window.action(item)->isChecked());
    });
}
} // namespace

void registerViewCommands(MainWindow& window)
{
    radioOption(window, "Droite1", &ImageWindow::setPanelRight, true);
    radioOption(window, "Gauche1", &ImageWindow::setPanelRight, false);
    radioOption(window, "Blanc1", &ImageWindow::setWhiteCrossHair, true);
    radioOption(window, "Noir1", &ImageWindow::setWhiteCrossHair, false);
    radioOption(window, "Curseuraxial1", &ImageWindow::setCrossCursor, true);
    radioOption(window, "Curseurflche1", &ImageWindow::setCrossCursor, false);
    tickOption(window, "Vuedensemble1", &ImageWindow::setOverviewVisible);
    tickOption(window, "Visible1", &ImageWindow::setPanelVisible);

    window.commands().setHandler("Pleinecran1", [&window] {
        if (ImageWindow* w = window.activeImageWindow())
            ImageWindow::showFullScreen(w->document(), &window);
    });
    // "&Nouvelle fenêtre": a copy of the active document in a window of its own.
    window.commands().setHandler("Nouvellefentre1", [&window] {
        ImageWindow* w = window.activeImageWindow();
        if (!w)
            return;
        ImageWindow* copy = w->duplicate();
        window.addImageWindow(copy);
        window.statusPanels()->setPanelText(1, copy->filePath());
    });
}

} // namespace px
