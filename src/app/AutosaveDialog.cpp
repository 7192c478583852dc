#include "app/AutosaveDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/qt/DialogButtons.h"

namespace px {

AutosaveDialog::AutosaveDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm49"));
    setWindowTitle(QStringLiteral("Enregistrement automatique..."));

    auto* frame = new QGroupBox(QStringLiteral("Options"), this);
    frame->setObjectName(QStringLiteral("GroupBox1"));
    enable_ = new QCheckBox(QStringLiteral("Activer l'enregistrement auto"), frame);
    enable_->setObjectName(QStringLiteral("CheckBox1"));
    auto* label = new QLabel(QStringLiteral("Minutes :"), frame);
    label->setObjectName(QStringLiteral("Label1"));
    minutes_ = new QSpinBox(frame);
    minutes_->setObjectName(QStringLiteral("SpinEdit1"));
    minutes_->setRange(1, 100);
    minutes_->setValue(5);
    connect(enable_, &QCheckBox::toggled, this, &AutosaveDialog::checkBoxClicked);
    checkBoxClicked(false);

    auto* frameLayout = new QGridLayout(frame);
    frameLayout->addWidget(enable_, 0, 0, 1, 2);
    frameLayout->addWidget(label, 1, 0);
    frameLayout->addWidget(minutes_, 1, 1);

    const auto [ok, cancel] = makeDialogButtons(this);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(289, 100)));
}

bool AutosaveDialog::autosaveOn() const
{
    return enable_->isChecked();
}

int AutosaveDialog::minutes() const
{
    return minutes_->value();
}

void AutosaveDialog::checkBoxClicked(bool ticked)
{
    minutes_->setEnabled(ticked);
    QPalette palette = minutes_->palette();
    const QPalette standard = QApplication::palette();
    palette.setColor(QPalette::Base, ticked ? standard.color(QPalette::Base) : standard.color(QPalette::Button));
    minutes_->setPalette(palette);
}

} // namespace px
