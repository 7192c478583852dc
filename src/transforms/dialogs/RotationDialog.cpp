#include "transforms/dialogs/RotationDialog.h"

#include "platform/qt/DialogButtons.h"
#include "transforms/dialogs/DialogFields.h"
#include "transforms/Rotations.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace px {

namespace {

QGroupBox* radioGroup(const char* name, const QString& title, const std::vector<QString>& items, QButtonGroup*& buttons,
                      QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(group);
    buttons = new QButtonGroup(group);
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], group);
        buttons->addButton(radio, int(i));
        layout->addWidget(radio);
    }
    buttons->button(0)->setChecked(true);
    return group;
}

} // namespace

RotationDialog::RotationDialog(const EffectCommand& command, Prompter&, QWidget* parent) : EffectDialog(command, parent)
{
    setWindowTitle(QStringLiteral("Rotation..."));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(radioGroup("RadioGroup1", QStringLiteral("Direction"),
                                 {QStringLiteral("Droite"), QStringLiteral("Gauche")}, direction_, this));
    auto* degreesColumn = new QVBoxLayout;
    degreesColumn->addWidget(
        radioGroup("RadioGroup2", QStringLiteral("Degrés"),
                   {QStringLiteral("&90"), QStringLiteral("&180"), QStringLiteral("&270"), QStringLiteral("&Libre")},
                   degrees_, this));
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("Edit1"));
    edit_->installEventFilter(this);
    degreesColumn->addWidget(edit_);
    layout->addLayout(degreesColumn);
    auto* buttons = new QVBoxLayout;
    const auto [ok, cancel] = makeDialogButtons(this);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    setAngleGreyed(true);
    connect(degrees_, &QButtonGroup::idClicked, this, &RotationDialog::degreesChosen);
    resize(317, 116);
}

QRadioButton* RotationDialog::directionButton(int index) const
{
    return qobject_cast<QRadioButton*>(direction_->button(index));
}

QRadioButton* RotationDialog::degreesButton(int index) const
{
    return qobject_cast<QRadioButton*>(degrees_->button(index));
}

bool RotationDialog::angleGreyed() const
{
    return greyed_;
}

void RotationDialog::setAngleGreyed(bool greyed)
{
    greyed_ = greyed;
    QPalette p = edit_->palette();
    p.setColor(QPalette::Base, palette().color(greyed ? QPalette::Button : QPalette::Base));
    edit_->setPalette(p);
}

// "&90", "&180", "&270" clear the angle and grey it; "&Libre" ungreys it.
void RotationDialog::degreesChosen(int index)
{
    const bool free = index == int(RotationDegrees::Free);
    if (!free)
        edit_->clear();
    setAngleGreyed(!free);
}

bool RotationDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edit_ && event->type() == QEvent::MouseButtonPress) {
        degreesButton(int(RotationDegrees::Free))->setChecked(true);
        setAngleGreyed(false);
    }
    return EffectDialog::eventFilter(watched, event);
}

std::vector<int> RotationDialog::acceptedValues() const
{
    const int direction = direction_->checkedId();
    const int degrees = degrees_->checkedId();
    if (degrees != int(RotationDegrees::Free))
        return {direction, degrees};
    return {direction, degrees, integerFromText(edit_->text())};
}

} // namespace px
