#pragma once
// TForm11, "Setup...": how "&Capturer" is triggered. "Capturer" closes the
// window with the OK result (the command then captures); "&OK" writes the
// delay to the settings file's [Capture] Temps key and closes; "&Annuler"
// closes. The controls keep their values between showings.
#include "output/CaptureSequence.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace px {

class Prompter;
class SettingsFile;

class CaptureSetupDialog : public QDialog {
    Q_OBJECT
public:
    CaptureSetupDialog(SettingsFile& settings, Prompter& prompter, QWidget* parent = nullptr);

    // The trigger as the controls say; a delay below 1 (an emptied edit)
    // counts as 1 second.
    CaptureOptions options() const;

private:
    void modeChanged();
    void step(int delta);
    void button1Click();

    SettingsFile& settings_;
    Prompter& prompter_;
    QRadioButton* mouse_ = nullptr;
    QRadioButton* key_ = nullptr;
    QRadioButton* delay_ = nullptr;
    QComboBox* keys_ = nullptr;
    QLineEdit* seconds_ = nullptr;
    QWidget* upDown_ = nullptr;
};

} // namespace px
