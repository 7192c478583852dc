#pragma once
// An up-down control attached to a line edit: its two arrows step the
// integer the edit holds within a range and write it back into the edit. The
// edit stays free text; the position is the last integer typed into it
// (clamped to the range).
#include <QString>
#include <QWidget>

class QLineEdit;

namespace px {

class UpDownButtons : public QWidget {
    Q_OBJECT
public:
    UpDownButtons(QLineEdit* buddy, int minimum, int maximum, QWidget* parent = nullptr);

    int position() const;
    void setPosition(int value);
    // One step up (+1) or down (-1), as the arrows do.
    void step(int delta);

private:
    QLineEdit* buddy_;
    int minimum_;
    int maximum_;
    mutable int last_;
};

// The integer a text holds ("15", " 15", "+15", "-3"), or false.
bool parseInteger(const QString& text, int& value);

} // namespace px
