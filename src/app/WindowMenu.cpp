// The "Fe&nêtre" menu: new window, next and previous, cascade, the two
// tilings, closing all windows, and the list of open windows.
#include "app/WindowMenu.h"

#include "app/MainWindow.h"
#include "app/ShellCommands.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace px {

namespace {
const char* const kListProperty = "pixoran3WindowList";

QList<QMdiSubWindow*> arrangeable(QMdiArea* area)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder))
        if (sub->isVisible() && !sub->isMinimized())
            windows.append(sub);
    return windows;
}

void tile(QMdiArea* area, bool rows)
{
    const QList<QMdiSubWindow*> windows = arrangeable(area);
    if (windows.isEmpty())
        return;
    const QRect r = area->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* sub = windows[i];
        if (sub->isMaximized())
            sub->showNormal();
        // Integer shares that add up to the whole area.
        if (rows) {
            const int top = r.height() * i / n, bottom = r.height() * (i + 1) / n;
            sub->setGeometry(0, top, r.width(), bottom - top);
        } else {
            const int left = r.width() * i / n, right = r.width() * (i + 1) / n;
            sub->setGeometry(left, 0, right - left, r.height());
        }
    }
}
} // namespace

void cascade(QMdiArea* area)
{
    const QList<QMdiSubWindow*> windows = arrangeable(area);
    const QRect r = area->viewport()->rect();
    // One title bar's height between two windows.
    const int step = windows.isEmpty() ? 0 : windows.first()->height() - windows.first()->contentsRect().height();
    int offset = 0;
    for (QMdiSubWindow* sub : windows) {
        if (sub->isMaximized())
            sub->showNormal();
        if (offset + step * 2 > r.height() || offset + step * 2 > r.width())
            offset = 0;
        const QSize size = sub->size().boundedTo(QSize(r.width() - offset, r.height() - offset));
        sub->setGeometry(QRect(QPoint(offset, offset), size));
        sub->raise();
        offset += step;
    }
    if (QMdiSubWindow* active = area->activeSubWindow())
        active->raise();
}

void tileHorizontally(QMdiArea* area) { tile(area, true); }
void tileVertically(QMdiArea* area) { tile(area, false); }

void refreshWindowList(QMenu* menu, QMdiArea* area)
{
    for (QAction* a : menu->actions())
        if (a->property(kListProperty).toBool()) {
            menu->removeAction(a);
            a->deleteLater();
        }
    const QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    QAction* separator = menu->addSeparator();
    separator->setProperty(kListProperty, true);
    QMdiSubWindow* active = area->activeSubWindow() ? area->activeSubWindow() : area->currentSubWindow();
    int number = 1;
    for (QMdiSubWindow* sub : windows) {
        const QString title = sub->widget() ? sub->widget()->windowTitle() : sub->windowTitle();
        QAction* a = menu->addAction(number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(title)
                                                 : QStringLiteral("%1 %2").arg(number).arg(title));
        a->setObjectName(QStringLiteral("WindowListItem%1").arg(number));
        a->setProperty(kListProperty, true);
        a->setCheckable(true);
        a->setChecked(sub == active);
        QObject::connect(a, &QAction::triggered, area, [area, sub] { area->setActiveSubWindow(sub); });
        ++number;
    }
}

void registerWindowCommands(MainWindow& window)
{
    CommandTable& commands = window.commands();
    QMdiArea* area = window.mdiArea();
    commands.setHandler("Suivante1", [area] { area->activateNextSubWindow(); });
    commands.setHandler("Prcdente1", [area] { area->activatePreviousSubWindow(); });
    commands.setHandler("Cascade1", [area] { cascade(area); });
    commands.setHandler("Horizontale1", [area] { tileHorizontally(area); });
    commands.setHandler("Verticale1", [area] { tileVertically(area); });
    // A Cancel in one window's save question ends the command silently.
    commands.setHandler("Toutfermer1", [&window] { window.closeAllImageWindows(); });

    QMenu* menu = window.menu("Window1");
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, area] { refreshWindowList(menu, area); });
}

} // namespace px
