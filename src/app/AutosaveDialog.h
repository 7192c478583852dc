#pragma once
// TForm49, "Enregistrement automatique...": whether the active image is saved
// at a fixed period, and that period in minutes. The dialog keeps its state
// for the whole run; nothing of it is stored in the settings file.
#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace px {

class AutosaveDialog : public QDialog {
    Q_OBJECT
public:
    explicit AutosaveDialog(QWidget* parent = nullptr);

    bool autosaveOn() const;
    int minutes() const;

private:
    // CheckBox1Click: the spin edit is usable, and drawn as such, only
    // while the box is ticked.
    void checkBoxClicked(bool ticked);

    QCheckBox* enable_ = nullptr;
    QSpinBox* minutes_ = nullptr;
};

} // namespace px
