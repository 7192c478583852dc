#include "output/CaptureSetupDialog.h"

#include "platform/Prompter.h"
#include "platform/SettingsFile.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace px {

namespace {
constexpr int kMaxDelay = 32767;

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}
} // namespace

CaptureSetupDialog::CaptureSetupDialog(SettingsFile& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent), settings_(settings), prompter_(prompter)
{
    setWindowTitle(QStringLiteral("Setup..."));

    auto* group = new QGroupBox(QStringLiteral("Activation de la capture"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    mouse_ = new QRadioButton(QStringLiteral("Clique droit de la souris"), group);
    mouse_->setObjectName(QStringLiteral("RadioButton1"));
    mouse_->setChecked(true);
    key_ = new QRadioButton(QStringLiteral("Clavier"), group);
    key_->setObjectName(QStringLiteral("RadioButton2"));
    keys_ = new QComboBox(group);
    keys_->setObjectName(QStringLiteral("ComboBox1"));
    for (int i = 1; i <= 12; ++i)
        keys_->addItem(QStringLiteral("F%1").arg(i));
    delay_ = new QRadioButton(QStringLiteral("Délai"), group);
    delay_->setObjectName(QStringLiteral("RadioButton3"));
    seconds_ = new QLineEdit(QStringLiteral("1"), group);
    seconds_->setObjectName(QStringLiteral("Edit1"));
    seconds_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), seconds_));
    seconds_->setMaximumWidth(60);
    upDown_ = new QWidget(group);
    upDown_->setObjectName(QStringLiteral("UpDown1"));
    auto* arrows = new QVBoxLayout(upDown_);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    for (auto [name, type, delta] : {std::tuple{"Up", Qt::UpArrow, 1}, std::tuple{"Down", Qt::DownArrow, -1}}) {
        auto* arrow = new QToolButton(upDown_);
        arrow->setObjectName(QLatin1String(name));
        arrow->setArrowType(type);
        arrow->setAutoRepeat(true);
        arrow->setFixedSize(16, 11);
        arrows->addWidget(arrow);
        connect(arrow, &QToolButton::clicked, this, [this, d = delta] { step(d); });
    }
    auto* unit = new QLabel(QStringLiteral("(secondes)"), group);
    unit->setObjectName(QStringLiteral("Label1"));

    auto* grid = new QGridLayout(group);
    grid->addWidget(mouse_, 0, 0, 1, 4);
    grid->addWidget(key_, 1, 0);
    grid->addWidget(keys_, 1, 1, 1, 3);
    grid->addWidget(delay_, 2, 0);
    grid->addWidget(seconds_, 2, 1);
    grid->addWidget(upDown_, 2, 2);
    grid->addWidget(unit, 2, 3);

    auto* capture = button("Button3", QStringLiteral("Capturer"), this);
    auto* ok = button("Button1", QStringLiteral("&OK"), this);
    auto* cancel = button("Button2", QStringLiteral("&Annuler"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(capture);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    for (QRadioButton* radio : {mouse_, key_, delay_})
        connect(radio, &QRadioButton::toggled, this, &CaptureSetupDialog::modeChanged);
    connect(capture, &QPushButton::clicked, this, &QDialog::accept);
    connect(ok, &QPushButton::clicked, this, &CaptureSetupDialog::button1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    modeChanged();
}

// The chosen trigger's own controls are enabled, the others greyed.
void CaptureSetupDialog::modeChanged()
{
    keys_->setEnabled(key_->isChecked());
    seconds_->setEnabled(delay_->isChecked());
    upDown_->setEnabled(delay_->isChecked());
}

void CaptureSetupDialog::step(int delta)
{
    const int value = std::clamp(seconds_->text().toInt() + delta, 1, kMaxDelay);
    seconds_->setText(QString::number(value));
}

// "&OK" keeps the delay in the settings file and closes without capturing.
void CaptureSetupDialog::button1Click()
{
    try {
        settings_.writeString("Capture", "Temps", seconds_->text().toStdString());
    } catch (const std::exception& e) {
        prompter_.error(e.what());
    }
    reject();
}

CaptureOptions CaptureSetupDialog::options() const
{
    CaptureOptions o;
    if (key_->isChecked())
        o.mode = CaptureOptions::Mode::FunctionKey;
    else if (delay_->isChecked())
        o.mode = CaptureOptions::Mode::Delay;
    o.functionKey = keys_->currentIndex() + 1;
    o.delaySeconds = std::max(1, seconds_->text().toInt());
    return o;
}

} // namespace px
