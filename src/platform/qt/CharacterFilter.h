#pragma once
// The key filter of the number fields: it refuses the characters a field
// does not take, never the editing keys and shortcuts. Arrows, Home, End,
// Delete, Backspace, Tab, Enter and every key pressed with Ctrl, Alt or Meta
// (Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+Z...) reach the field as usual.
#include <QObject>

#include <functional>

class QKeyEvent;

namespace px {

// Whether the key would type a character that `accepts` refuses.
bool typesRefusedCharacter(const QKeyEvent& event, const std::function<bool(QChar)>& accepts);

class CharacterFilter : public QObject {
public:
    // Install with widget->installEventFilter(filter); `parent` owns it.
    CharacterFilter(std::function<bool(QChar)> accepts, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool(QChar)> accepts_;
};

// The usual tests: the ASCII digits; the digits and the minus sign.
bool isAsciiDigit(QChar c);
bool isAsciiDigitOrMinus(QChar c);

} // namespace px
