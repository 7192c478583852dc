#include "transforms/dialogs/AddBorderDialog.h"

#include "platform/qt/DialogButtons.h"
#include "transforms/dialogs/DialogFields.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <cstdlib>

namespace px {

AddBorderDialog::AddBorderDialog(const EffectCommand& command, Prompter&, QWidget* parent)
    : EffectDialog(command, parent)
{
    setWindowTitle(QStringLiteral("Ajouter une bordure..."));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Taille de la bordure"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(group);
    const char* captions[] = {"Haut", "Bas", "Gauche", "Droite"};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(QLatin1String(captions[i]), group);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        auto* edit = new DigitSpinBox(QStringLiteral("Edit%1").arg(i + 1), 0, 5000, 10, group);
        connect(edit, &DigitSpinBox::stepped, this, [this, edit](int steps) { stepped(edit, steps); });
        margins_[std::size_t(i)] = edit;
        grid->addWidget(label, i / 2, (i % 2) * 2);
        grid->addWidget(edit, i / 2, (i % 2) * 2 + 1);
    }
    link_ = new QCheckBox(QStringLiteral("Lier"), group);
    link_->setObjectName(QStringLiteral("CheckBox1"));
    link_->setChecked(true);
    connect(link_, &QCheckBox::toggled, this, &AddBorderDialog::linkToggled);
    grid->addWidget(link_, 2, 0, 1, 4);
    layout->addWidget(group);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const auto [ok, cancel] = makeDialogButtons(this, QStringLiteral("&OK"), QStringLiteral("&Annuler"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AddBorderDialog::linkToggled(bool checked)
{
    if (!checked)
        return;
    const DigitSpinBox* largest = margins_[0];
    for (const DigitSpinBox* m : margins_)
        if (std::abs(m->value()) > std::abs(largest->value()))
            largest = m;
    const int value = largest->value();
    for (DigitSpinBox* m : margins_)
        m->setValue(value);
}

void AddBorderDialog::stepped(DigitSpinBox* source, int steps)
{
    if (stepping_ || !link_->isChecked())
        return;
    stepping_ = true;
    for (DigitSpinBox* m : margins_)
        if (m != source)
            m->stepBy(steps);
    stepping_ = false;
}

std::vector<int> AddBorderDialog::acceptedValues() const
{
    std::vector<int> values;
    for (const DigitSpinBox* m : margins_)
        values.push_back(integerFromText(m->typedText()));
    return values;
}

} // namespace px
