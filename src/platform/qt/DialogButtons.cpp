#include "platform/qt/DialogButtons.h"

#include <QDialog>
#include <QPushButton>

namespace px {

DialogButtons makeDialogButtons(QDialog* dialog, const QString& okText, const QString& cancelText, bool okAccepts)
{
    auto* ok = new QPushButton(okText, dialog);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    if (okAccepts)
        QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    auto* cancel = new QPushButton(cancelText, dialog);
    cancel->setObjectName(QStringLiteral("Button2"));
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return {ok, cancel};
}

} // namespace px
