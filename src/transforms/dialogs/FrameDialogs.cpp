#include "transforms/dialogs/FrameDialogs.h"

#include "platform/qt/DialogButtons.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace px {

namespace {

QComboBox* combo(const char* name, const QStringList& items, const QString& initial, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(items);
    box->setCurrentText(initial);
    return box;
}

// Edit1 with its up-down: one spin edit.
QSpinBox* thickness(int minimum, int maximum, int value, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QStringLiteral("Edit1"));
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    return spin;
}

// The fields above the "&OK" and "&Annuler" buttons.
QFormLayout* frameLayout(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const auto [ok, cancel] = makeDialogButtons(dialog, QStringLiteral("&OK"), QStringLiteral("&Annuler"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return form;
}

} // namespace

SimpleFrameDialog::SimpleFrameDialog(const EffectCommand& command, Prompter&, QWidget* parent)
    : EffectDialog(command, parent)
{
    setWindowTitle(QStringLiteral("Bordure simple..."));
    QFormLayout* form = frameLayout(this);
    style_ = combo("ComboBox1", {QStringLiteral("Solide"), QStringLiteral("Transparent")},
                   QStringLiteral("Transparent"), this);
    thickness_ = thickness(0, 100, 1, this);
    form->addRow(QStringLiteral("Style"), style_);
    form->addRow(QStringLiteral("Epaisseur"), thickness_);
}

std::vector<int> SimpleFrameDialog::acceptedValues() const
{
    return {style_->currentIndex(), thickness_->value()};
}

TwoColourFrameDialog::TwoColourFrameDialog(const EffectCommand& command, Prompter&, QWidget* parent)
    : EffectDialog(command, parent)
{
    setWindowTitle(QStringLiteral("Bordure à deux couleurs..."));
    QFormLayout* form = frameLayout(this);
    style_ = combo("ComboBox1", {QStringLiteral("Transparent"), QStringLiteral("Solide")},
                   QStringLiteral("Transparent"), this);
    thickness_ = thickness(1, 100, 8, this);
    colours_ = combo("ComboBox2", {QStringLiteral("Principale - fond"), QStringLiteral("Fond - principale")},
                     QStringLiteral("Principale - fond"), this);
    form->addRow(QStringLiteral("Style"), style_);
    form->addRow(QStringLiteral("Epaisseur"), thickness_);
    form->addRow(QStringLiteral("Couleurs"), colours_);
}

std::vector<int> TwoColourFrameDialog::acceptedValues() const
{
    return {style_->currentIndex(), thickness_->value(), colours_->currentIndex()};
}

} // namespace px
