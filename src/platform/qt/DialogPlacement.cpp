#include "platform/qt/DialogPlacement.h"

#include <QDialog>
#include <QScreen>

namespace px {

void centreOver(QDialog& dialog, const QWidget& owner)
{
    // A dialog laid out by its layout takes its size at its first showing.
    if (!dialog.testAttribute(Qt::WA_Resized))
        dialog.adjustSize();
    const QWidget* top = owner.window();
    QRect placed(QPoint(0, 0), dialog.size());
    placed.moveCenter(top->geometry().center());
    if (const QScreen* screen = top->screen()) {
        const QRect available = screen->availableGeometry();
        placed.moveRight(std::min(placed.right(), available.right()));
        placed.moveBottom(std::min(placed.bottom(), available.bottom()));
        placed.moveLeft(std::max(placed.left(), available.left()));
        placed.moveTop(std::max(placed.top(), available.top()));
    }
    // The client area's position, not the frame's: the window manager puts
    // the frame around it the same way at every showing.
    dialog.setGeometry(placed);
}

int execCentred(QDialog& dialog, const QWidget& owner)
{
    centreOver(dialog, owner);
    return dialog.exec();
}

} // namespace px
