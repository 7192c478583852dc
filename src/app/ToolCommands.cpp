// The tool options window, the text tool's button and window, and the
// spray's timer.
#include "app/DrawingCommands.h"
#include "app/MainWindow.h"
#include "app/StatusBar.h"
#include "app/ToolBarRows.h"
#include "document/ImageWindow.h"
#include "tools/dialogs/TextDialog.h"
#include "tools/dialogs/ToolOptionsDialog.h"
#include "tools/SprayTool.h"
#include "tools/ToolRegistry.h"

#include <QAction>
#include <QTimer>

namespace px {

namespace {
// The spray paints its bursts by the time elapsed, whatever ticks it; this
// timer ticks often enough for the dots to follow the pointer smoothly while
// the spray is the selected tool, and stops when another tool is chosen.
constexpr int kSprayTimerInterval = 1000 / SprayTool::kBurstsPerSecond;
} // namespace

QDialog* createToolOptionsDialog(MainWindow& owner)
{
    Session& session = owner.session();
    return new ToolOptionsDialog(session.toolOptions, session.clipboard, session.prompter, &owner);
}

QDialog* createTextDialog(MainWindow& owner)
{
    return new TextDialog(owner.session(), &owner);
}

void registerToolCommands(MainWindow& window)
{
    // Optionsdoutils1Click, also for Optionsdoutils2 and Optioutilsbut.
    window.commands().setHandler("Optionsdoutils1", [&window] {
        if (QDialog* dialog = window.dialog("TForm22"))
            window.runModal(*dialog);
    });

    // TextebutClick: the text tool is selected only when the text window
    // returns OK. Otherwise the palette and the status bar show again the
    // tool that stays selected.
    window.setToolHandler("Textebut", [&window] {
        window.statusPanels()->setPanelText(2, QStringLiteral("Texte actif"));
        QDialog* dialog = window.dialog("TForm20");
        if (dialog && window.runModal(*dialog) == QDialog::Accepted) {
            window.session().currentTool = kTextTool;
            return;
        }
        const int current = window.session().currentTool;
        window.selectTool(current);
        for (const DrawingToolRow& row : drawingToolRows())
            if (row.id == current)
                window.action(row.objectName)->setChecked(true);
    });

    auto* spray = new QTimer(&window);
    spray->setObjectName(QStringLiteral("SprayTimer"));
    spray->setInterval(kSprayTimerInterval);
    QObject::connect(spray, &QTimer::timeout, &window, [&window, spray] {
        if (window.session().currentTool != kSprayTool) {
            spray->stop();
            return;
        }
        if (ImageWindow* image = window.activeImageWindow())
            image->toolTimerTick();
    });
    window.setToolHandler("Spraybut", [&window, spray] {
        window.selectTool(kSprayTool);
        spray->start();
    });
}

} // namespace px
