#include "platform/qt/CharacterFilter.h"

#include <QKeyEvent>

namespace px {

bool typesRefusedCharacter(const QKeyEvent& event, const std::function<bool(QChar)>& accepts)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event.text();
    for (QChar c : text)
        // Control characters (Backspace, Tab, Enter, Escape) are editing keys.
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F && !accepts(c))
            return true;
    return false;
}

CharacterFilter::CharacterFilter(std::function<bool(QChar)> accepts, QObject* parent)
    : QObject(parent), accepts_(std::move(accepts))
{
}

bool CharacterFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && typesRefusedCharacter(*static_cast<QKeyEvent*>(event), accepts_))
        return true;
    return QObject::eventFilter(watched, event);
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isAsciiDigitOrMinus(QChar c)
{
    return isAsciiDigit(c) || c == QLatin1Char('-');
}

} // namespace px
