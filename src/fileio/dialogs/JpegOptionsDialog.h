#pragma once
// TForm17, "Options Jpeg...": the quality and the encoding (baseline or
// progressive) of the JPEG files the save commands write.
//
// The save commands read the controls themselves, whatever button closed the
// dialog last: the quality is the number shown in Label5, which follows the
// track bar. OK also writes both choices to the settings file (section
// Compression key Jpeg, section Jpeg key affichage); nothing reads them back,
// so every run starts at 90, "Standard".
#include <QDialog>

class QLabel;
class QRadioButton;
class QSlider;

namespace px {

class Prompter;
class SettingsFile;

class JpegOptionsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDefaultQuality = 90;

    JpegOptionsDialog(SettingsFile& settings, Prompter& prompter, QWidget* parent = nullptr);

    // The integer value of Label5's text.
    int quality() const;
    // True when "Progressif" is selected.
    bool progressive() const;

private:
    void okClicked();

    SettingsFile& settings_;
    Prompter& prompter_;
    QSlider* trackBar_ = nullptr;
    QLabel* value_ = nullptr;
    QRadioButton* standard_ = nullptr;
    QRadioButton* progressive_ = nullptr;
};

} // namespace px
