#include "document/UndoLevelsDialog.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "platform/qt/DialogButtons.h"

namespace px {

UndoLevelsDialog::UndoLevelsDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Annulation..."));
    auto* layout = new QVBoxLayout(this);

    auto* frame = new QGroupBox(QStringLiteral("Choix de l'annulation"), this);
    frame->setObjectName(QStringLiteral("GroupBox1"));
    auto* row = new QHBoxLayout(frame);
    auto* label = new QLabel(QStringLiteral("Nombre d'annulation"), frame);
    label->setObjectName(QStringLiteral("Label1"));
    spinEdit_ = new QSpinBox(frame);
    spinEdit_->setObjectName(QStringLiteral("SpinEdit1"));
    spinEdit_->setRange(kMinimum, kMaximum);
    spinEdit_->setValue(kStart);
    row->addWidget(label);
    row->addWidget(spinEdit_);
    layout->addWidget(frame);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const auto [ok, cancel] = makeDialogButtons(this);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    setFixedSize(qMax(228, sizeHint().width()), qMax(115, sizeHint().height()));
    savedLevels_ = spinEdit_->value();
}

int UndoLevelsDialog::levels() const
{
    return spinEdit_->value();
}

void UndoLevelsDialog::reject()
{
    spinEdit_->setValue(savedLevels_);
    QDialog::reject();
}

} // namespace px
