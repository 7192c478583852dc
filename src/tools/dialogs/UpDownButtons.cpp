#include "tools/dialogs/UpDownButtons.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace px {

bool parseInteger(const QString& text, int& value)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (ok)
        value = v;
    return ok;
}

UpDownButtons::UpDownButtons(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), buddy_(buddy), minimum_(minimum), maximum_(maximum), last_(minimum)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const int delta : {1, -1}) {
        auto* arrow = new QToolButton(this);
        arrow->setArrowType(delta > 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setAutoRepeat(true);
        arrow->setFixedSize(16, 11);
        arrow->setObjectName(delta > 0 ? QStringLiteral("Up") : QStringLiteral("Down"));
        connect(arrow, &QToolButton::clicked, this, [this, delta] { step(delta); });
        layout->addWidget(arrow);
    }
    // The position follows every integer typed into the edit.
    connect(buddy_, &QLineEdit::textChanged, this, [this] { position(); });
    position();
}

int UpDownButtons::position() const
{
    int v = 0;
    if (parseInteger(buddy_->text(), v))
        last_ = std::clamp(v, minimum_, maximum_);
    return last_;
}

void UpDownButtons::setPosition(int value)
{
    last_ = std::clamp(value, minimum_, maximum_);
    buddy_->setText(QString::number(last_));
}

void UpDownButtons::step(int delta)
{
    setPosition(position() + delta);
}

} // namespace px
