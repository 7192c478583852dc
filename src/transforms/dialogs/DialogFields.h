#pragma once
// Fields shared by the geometry and border dialogs: a spin edit that takes
// only digits and backspace from the keyboard and reports its arrow steps,
// and the reading of a typed whole number.
#include <QSpinBox>
#include <QString>

class QKeyEvent;

namespace px {

// A whole decimal number (optional sign) in the 32-bit range; anything
// else raises EffectError with the conversion message the user sees.
int integerFromText(const QString& text);

class DigitSpinBox : public QSpinBox {
    Q_OBJECT
public:
    DigitSpinBox(const QString& objectName, int minimum, int maximum, int value, QWidget* parent);

    // The text as typed (without the spin box's own correction).
    QString typedText() const { return cleanText(); }

    void stepBy(int steps) override;

signals:
    // An arrow click or arrow key moved the value by `steps`.
    void stepped(int steps);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace px
