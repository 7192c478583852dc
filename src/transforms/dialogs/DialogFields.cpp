#include "transforms/dialogs/DialogFields.h"

#include "effects/Effect.h"

#include <QKeyEvent>

#include <charconv>
#include <string>

namespace px {

int integerFromText(const QString& text)
{
    const std::string s = text.toStdString();
    const char* begin = s.data();
    const char* end = begin + s.size();
    if (begin != end && *begin == '+')
        ++begin;
    int value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (begin == end || ec != std::errc() || ptr != end)
        throw EffectError("'" + s + "' n'est pas une valeur entière correcte.");
    return value;
}

DigitSpinBox::DigitSpinBox(const QString& objectName, int minimum, int maximum, int value, QWidget* parent)
    : QSpinBox(parent)
{
    setObjectName(objectName);
    setRange(minimum, maximum);
    setValue(value);
}

void DigitSpinBox::stepBy(int steps)
{
    QSpinBox::stepBy(steps);
    emit stepped(steps);
}

// Backspace and the digits reach the field; every other character is
// swallowed. Keys without text (arrows, Delete) work as usual.
void DigitSpinBox::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    if (!text.isEmpty()) {
        const QChar c = text.front();
        const bool digit = c.unicode() >= '0' && c.unicode() <= '9';
        if (text.size() != 1 || !(digit || c == QLatin1Char('\b'))) {
            event->accept();
            return;
        }
    }
    QSpinBox::keyPressEvent(event);
}

} // namespace px
